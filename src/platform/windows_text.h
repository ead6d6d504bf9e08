// Text and error reports for the Windows Env: the driver's texts (UTF-8, or
// Windows-1252 where a name is not valid UTF-8) to and from the UTF-16 of
// the Win32 API, and the system's reason for an error code. Internal to
// src/platform.
#ifndef ZEL_PLATFORM_WINDOWS_TEXT_H_
#define ZEL_PLATFORM_WINDOWS_TEXT_H_

#include <string>
#include <string_view>

namespace zel {

std::wstring Widen(std::string_view text);
std::string Narrow(std::wstring_view text);

// The system's one-line reason for a Win32 error code.
std::string SystemReason(unsigned long code);

// An environment variable of the process, empty when unset.
std::string EnvironmentVariable(const std::string& name);

}  // namespace zel

#endif  // ZEL_PLATFORM_WINDOWS_TEXT_H_
