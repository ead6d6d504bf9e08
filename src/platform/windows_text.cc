#include "platform/windows_text.h"

#include <windows.h>

#include <cstdlib>

#include "platform/path_spelling.h"
#include "zel/codepage.h"

namespace zel {

std::wstring Widen(std::string_view text) {
  const std::string utf8 = IsValidUtf8(text) ? std::string(text) : Cp1252ToUtf8(text);
  if (utf8.empty()) return {};
  const int length =
      ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(),
                        length);
  return wide;
}

std::string Narrow(std::wstring_view text) {
  if (text.empty()) return {};
  const int length = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                           nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<std::size_t>(length), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), narrow.data(),
                        length, nullptr, nullptr);
  return narrow;
}

std::string SystemReason(unsigned long code) {
  wchar_t* buffer = nullptr;
  const DWORD length = ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, MAKELANGID(LANG_ENGLISH, SUBLANG_DEFAULT), reinterpret_cast<LPWSTR>(&buffer),
      0, nullptr);
  std::string reason = length > 0 ? Narrow(std::wstring_view(buffer, length)) : std::string();
  if (buffer != nullptr) ::LocalFree(buffer);
  while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' ||
                             reason.back() == ' ' || reason.back() == '.')) {
    reason.pop_back();
  }
  return reason.empty() ? "error " + std::to_string(code) : reason;
}

std::string EnvironmentVariable(const std::string& name) {
  // The C runtime's copy, which is what SetEnvironmentVariable below (and
  // the stand-in libraries' getenv) keep in step.
  const char* value = std::getenv(name.c_str());
  return value != nullptr ? std::string(value) : std::string();
}

}  // namespace zel
