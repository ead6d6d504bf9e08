// Fuzz target of the Z-reduction export's reader of "Retorno.txt", a file
// the printer library writes and anything may have touched: whatever the
// bytes, the reader returns figures or raises ReadingFormatError, and never
// reads out of bounds, loops or crashes.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "closing/reduction_reading.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start <= bytes.size()) {
    std::size_t end = bytes.find('\n', start);
    if (end == std::string_view::npos) end = bytes.size();
    lines.emplace_back(bytes.substr(start, end - start));
    start = end + 1;
  }
  try {
    zel::ParseReductionReading(lines);
  } catch (const zel::ReadingFormatError&) {
    // A reading that does not read is refused with its place named.
  }
  return 0;
}
