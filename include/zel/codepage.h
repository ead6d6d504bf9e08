// Text inside the driver is bytes in the Windows-1252 code page, as the host
// passes it. Source files are UTF-8, so literal texts with accents are turned
// into Windows-1252 once where they are built; displays (the paper tape, the
// command-line host) turn them back into UTF-8.
#ifndef ZEL_CODEPAGE_H_
#define ZEL_CODEPAGE_H_

#include <string>
#include <string_view>

namespace zel {

// A character that Windows-1252 lacks, or a malformed UTF-8 sequence,
// becomes '?'.
std::string Utf8ToCp1252(std::string_view utf8);
// Every Windows-1252 byte has a UTF-8 form; the five undefined bytes map to
// U+FFFD.
std::string Cp1252ToUtf8(std::string_view text);

}  // namespace zel

#endif  // ZEL_CODEPAGE_H_
