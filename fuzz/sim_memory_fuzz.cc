// The simulated printer's memory file, read back as the printer does when
// its port opens. Any file either loads or is refused; none may crash the
// printer or make it allocate without bound (a count in the file is only a
// claim about the lines that follow it).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

#include "state_store.h"

namespace {

// One folder per process, like a printer's ECFSIM_DIR.
const std::string& Folder() {
  static const std::string folder = [] {
    char name[] = "/tmp/sim_memory_fuzz.XXXXXX";
    if (mkdtemp(name) == nullptr) std::abort();
    return std::string(name);
  }();
  return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  {
    std::ofstream out(ecfsim::MemoryPath(Folder()), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  ecfsim::PrinterState state;
  ecfsim::LoadState(Folder(), state);
  return 0;
}
