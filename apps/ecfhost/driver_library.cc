#include "driver_library.h"

#include "zel/error.h"

namespace ecfhost {

DriverLibrary::DriverLibrary(const std::string& path)
    : path_(path), handle_(zel::Env::Default()->OpenLibrary(path)) {
  if (handle_ == nullptr) {
    throw zel::Error("não foi possível carregar o driver " + path + ": " +
                     zel::Env::Default()->LastLibraryError());
  }
}

void* DriverLibrary::Symbol(const std::string& name) const {
  void* symbol = zel::Env::Default()->GetSymbol(handle_, name);
  if (symbol == nullptr) throw zel::Error("o driver " + path_ + " não exporta " + name);
  return symbol;
}

std::string& DriverLibrary::TextVariable(const std::string& name) const {
  // The unit's variables live in namespace Zel00101; a std::string one
  // carries the library's ABI tag in its symbol.
  const std::string symbol = "_ZN8Zel00101" + std::to_string(name.size()) + name + "B5cxx11E";
  return *static_cast<std::string*>(Symbol(symbol));
}

std::string DefaultDriverPath() {
  const std::string program_directory = zel::Env::Default()->HostExecutableDirectory();
  // ECFHOST_LIBRARY_DIR is the library folder as seen from the program
  // folder ("../lib"), the same in the build and in an installation.
  const std::string library_directory = program_directory + "/" + ECFHOST_LIBRARY_DIR;
  const std::string path = zel::FindLibrary("zel00100.dll", {program_directory, library_directory});
  if (path.empty()) {
    throw zel::Error("o driver zel00100 não foi encontrado em ZEL_LIBRARY_PATH, em " +
                     program_directory + " nem em " + library_directory);
  }
  return path;
}

}  // namespace ecfhost
