#include "platform/windows_files.h"

#include <windows.h>

#include <algorithm>

#include "platform/path_spelling.h"
#include "platform/windows_text.h"
#include "zel/env.h"

namespace zel {
namespace {

// "given" (real) when they differ, else just "given".
std::string Describe(std::string_view given, const std::string& real) {
  std::string text = "\"" + std::string(given) + "\"";
  if (given != real) text += " (" + real + ")";
  return text;
}

[[noreturn]] void Fail(const std::string& what, DWORD code) {
  throw FileError(what + ": " + SystemReason(code), static_cast<int>(code));
}

DWORD Attributes(const std::string& real) {
  return real.empty() ? INVALID_FILE_ATTRIBUTES : ::GetFileAttributesW(Widen(real).c_str());
}

// Closes on every path out.
class Handle {
 public:
  explicit Handle(HANDLE handle) : handle_(handle) {}
  ~Handle() {
    if (valid()) ::CloseHandle(handle_);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  HANDLE get() const { return handle_; }
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE handle_;
};

HANDLE OpenForWriting(const std::string& real, DWORD disposition) {
  return ::CreateFileW(Widen(real).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, disposition,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Returns 0 or the error code of the failure.
DWORD WriteAll(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1 << 30));
    DWORD written = 0;
    if (!::WriteFile(file, bytes.data(), chunk, &written, nullptr)) return ::GetLastError();
    bytes.remove_prefix(written);
  }
  return 0;
}

void WriteWithDisposition(const std::string& what, const std::string& real, std::string_view bytes,
                          bool append) {
  Handle file(OpenForWriting(real, append ? OPEN_ALWAYS : CREATE_ALWAYS));
  if (!file.valid()) Fail(what, ::GetLastError());
  if (append && ::SetFilePointer(file.get(), 0, nullptr, FILE_END) == INVALID_SET_FILE_POINTER &&
      ::GetLastError() != NO_ERROR) {
    Fail(what, ::GetLastError());
  }
  if (const DWORD error = WriteAll(file.get(), bytes)) Fail(what, error);
  if (!::FlushFileBuffers(file.get())) Fail(what, ::GetLastError());
}

}  // namespace

bool RealFileExists(const std::string& real) {
  const DWORD attributes = Attributes(real);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool RealDirectoryExists(const std::string& real) {
  const DWORD attributes = Attributes(real);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::string ReadRealFile(std::string_view given, const std::string& real) {
  const std::string what = "Cannot read file " + Describe(given, real);
  Handle file(::CreateFileW(Widen(real).c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) Fail(what, ::GetLastError());
  std::string bytes;
  char buffer[64 * 1024];
  for (;;) {
    DWORD read = 0;
    if (!::ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr)) {
      Fail(what, ::GetLastError());
    }
    if (read == 0) return bytes;
    bytes.append(buffer, read);
  }
}

void WriteRealFile(std::string_view given, const std::string& real, std::string_view bytes) {
  WriteWithDisposition("Cannot write file " + Describe(given, real), real, bytes, false);
}

void AppendRealFile(std::string_view given, const std::string& real, std::string_view bytes) {
  WriteWithDisposition("Cannot append to file " + Describe(given, real), real, bytes, true);
}

void CopyRealFile(std::string_view given_from, const std::string& real_from,
                  std::string_view given_to, const std::string& real_to) {
  const std::string what =
      "Cannot copy file " + Describe(given_from, real_from) + " to " + Describe(given_to, real_to);
  if (RealDirectoryExists(real_from)) Fail(what + " (the source)", ERROR_ACCESS_DENIED);
  if (!::CopyFileW(Widen(real_from).c_str(), Widen(real_to).c_str(), FALSE)) {
    Fail(what, ::GetLastError());
  }
}

void RenameRealFile(std::string_view given_from, const std::string& real_from,
                    std::string_view given_to, const std::string& real_to) {
  if (!::MoveFileExW(Widen(real_from).c_str(), Widen(real_to).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    Fail("Cannot rename file " + Describe(given_from, real_from) + " to " +
             Describe(given_to, real_to),
         ::GetLastError());
  }
}

namespace {

// The lock is the file opened with no sharing: closing it lets it go.
class WindowsFileLock : public FileLock {
 public:
  explicit WindowsFileLock(HANDLE handle) : handle_(handle) {}
  ~WindowsFileLock() override { ::CloseHandle(handle_); }
  WindowsFileLock(const WindowsFileLock&) = delete;
  WindowsFileLock& operator=(const WindowsFileLock&) = delete;

 private:
  HANDLE handle_;
};

}  // namespace

std::unique_ptr<FileLock> LockRealFile(std::string_view given, const std::string& real) {
  const HANDLE handle = ::CreateFileW(Widen(real).c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                                      nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    const DWORD error = ::GetLastError();
    if (error == ERROR_SHARING_VIOLATION) return nullptr;
    Fail("Cannot lock file " + Describe(given, real), error);
  }
  return std::make_unique<WindowsFileLock>(handle);
}

bool RemoveRealFile(std::string_view given, const std::string& real) {
  if (::DeleteFileW(Widen(real).c_str())) return true;
  const DWORD error = ::GetLastError();
  if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return false;
  Fail("Cannot remove file " + Describe(given, real), error);
}

void CreateRealDirectories(std::string_view given, const std::string& real) {
  if (real.empty()) {
    throw FileError("Cannot create a directory with an empty name", kWinPathNotFound);
  }
  // Each prefix in turn, from the root down; a drive root or a share exists.
  std::size_t end = real.rfind(':') != std::string::npos ? real.find('\\') : 0;
  do {
    end = real.find('\\', end + 1);
    const std::string prefix = real.substr(0, end);
    if (prefix.empty() || RealDirectoryExists(prefix)) continue;
    if (!::CreateDirectoryW(Widen(prefix).c_str(), nullptr)) {
      const DWORD error = ::GetLastError();
      if (error == ERROR_ALREADY_EXISTS && RealDirectoryExists(prefix)) continue;
      Fail("Cannot create directory " + Describe(given, real),
           error == ERROR_ALREADY_EXISTS ? ERROR_PATH_NOT_FOUND : error);
    }
  } while (end != std::string::npos);
}

std::vector<std::string> ListRealFiles(std::string_view given, const std::string& real,
                                       std::string_view pattern) {
  if (!RealDirectoryExists(real)) {
    Fail("Cannot list directory " + Describe(given, real), ERROR_PATH_NOT_FOUND);
  }
  std::vector<std::string> names;
  WIN32_FIND_DATAW entry;
  HANDLE search = ::FindFirstFileW(Widen(real + "\\*").c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) {
    const DWORD error = ::GetLastError();
    if (error == ERROR_FILE_NOT_FOUND) return names;
    Fail("Cannot list directory " + Describe(given, real), error);
  }
  do {
    if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) continue;
    const std::string name = Narrow(entry.cFileName);
    if (MatchesWildcard(name, pattern)) names.push_back(name);
  } while (::FindNextFileW(search, &entry));
  ::FindClose(search);
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace zel
