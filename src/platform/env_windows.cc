// The Env of Windows: the driver's paths are the system's own, with the
// same environment overrides as on Linux (ZEL_DRIVE_X, ZEL_SYSTEM_DIR,
// ZEL_LIBRARY_PATH, ZEL_COMn) so tests and the demo keep their files in one
// folder; libraries load with LoadLibrary's search.
#include <io.h>
#include <stdio.h>
#include <windows.h>
// Our zel::SetEnvironmentVariable, not Windows' macro of that name.
#undef SetEnvironmentVariable

#include <algorithm>
#include <cctype>
#include <thread>

#include "platform/path_spelling.h"
#include "platform/serial_port_windows.h"
#include "platform/windows_files.h"
#include "platform/windows_text.h"
#include "zel/env.h"

namespace zel {
namespace {

// Why the last library call of this thread failed.
thread_local std::string last_library_error;

LibraryHandle FailLibrary(std::string reason) {
  last_library_error = std::move(reason);
  return nullptr;
}

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

std::string DirectoryPart(const std::string& file) {
  const std::size_t separator = file.find_last_of("\\/");
  return separator == std::string::npos ? "." : file.substr(0, separator);
}

// The directories of ZEL_LIBRARY_PATH, as given.
std::vector<std::string> ConfiguredLibraryDirectories() {
  std::vector<std::string> directories;
  const std::string configured = EnvironmentVariable("ZEL_LIBRARY_PATH");
  std::size_t start = 0;
  while (start <= configured.size()) {
    std::size_t end = configured.find(';', start);
    if (end == std::string::npos) end = configured.size();
    if (end > start) directories.push_back(configured.substr(start, end - start));
    start = end + 1;
  }
  return directories;
}

// A file name of a module of this process (the program for null).
std::string ModuleFileName(HMODULE module) {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = ::GetModuleFileNameW(module, buffer.data(), buffer.size());
    if (length == 0) {
      throw Error("Cannot find the program file of this process: " +
                  SystemReason(::GetLastError()));
    }
    if (length < buffer.size()) return Narrow(std::wstring_view(buffer.data(), length));
    buffer.resize(buffer.size() * 2);
  }
}

// True when the first folder of the drive path `path` ("C:\users\...")
// exists on the real drive.
bool LeadsToRealFolder(std::string_view path) {
  std::string_view rest = path.substr(2);
  while (!rest.empty() && IsSeparator(rest.front())) rest.remove_prefix(1);
  const std::size_t end = rest.find_first_of("\\/");
  if (rest.empty()) return false;
  return RealDirectoryExists(std::string(path.substr(0, 2)) + "\\" +
                             std::string(rest.substr(0, end)));
}

class WindowsEnv : public Env {
 public:
  DateTime Now() override {
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    DateParts parts;
    parts.year = now.wYear;
    parts.month = now.wMonth;
    parts.day = now.wDay;
    parts.hour = now.wHour;
    parts.minute = now.wMinute;
    parts.second = now.wSecond;
    parts.millisecond = now.wMilliseconds;
    return EncodeDateTime(parts);
  }

  void SleepFor(std::chrono::milliseconds duration) override {
    std::this_thread::sleep_for(duration);
  }

  std::string SystemDirectory() override {
    const std::string configured = EnvironmentVariable("ZEL_SYSTEM_DIR");
    if (!configured.empty()) return MapPath(configured);
    if (!EnvironmentVariable("ZEL_DRIVE_C").empty()) return MapPath("C:\\Windows\\System32");
    wchar_t buffer[MAX_PATH];
    const UINT length = ::GetSystemDirectoryW(buffer, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
      throw Error("Cannot find the system directory: " + SystemReason(::GetLastError()));
    }
    return Narrow(std::wstring_view(buffer, length));
  }

  std::string HostExecutableDirectory() override { return DirectoryPart(ModuleFileName(nullptr)); }

  std::string CurrentDirectory() override {
    const DWORD size = ::GetCurrentDirectoryW(0, nullptr);
    std::wstring buffer(size, L'\0');
    const DWORD length = ::GetCurrentDirectoryW(size, buffer.data());
    if (length == 0 || length >= size) {
      throw Error("Cannot find the current directory: " + SystemReason(::GetLastError()));
    }
    std::string directory = Narrow(std::wstring_view(buffer.data(), length));
    if (directory.size() > 3 && IsSeparator(directory.back())) directory.pop_back();
    return directory;
  }

  std::string MapPath(std::string_view path) override {
    if (path.empty()) return "";
    std::string root;
    std::string_view rest = path;
    if (path.size() >= 2 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':') {
      root = DriveRoot(path[0]);
      // A redirected drive takes the driver's own folders there
      // (C:\MenuFiscal); a path whose first folder exists on the real drive
      // (a real path given back, such as the redirect folder itself) stays
      // where it is, so mapping a mapped path again does not move it.
      if (root.size() != 2 && LeadsToRealFolder(path)) root = path.substr(0, 2);
      rest.remove_prefix(2);
    } else if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
      // A share (\\server\share\...) or a device (\\.\COM1) is left alone.
      root = "\\";
      rest.remove_prefix(1);
    } else if (IsSeparator(path[0])) {
      // As on Windows itself: the root of the current directory's drive.
      root = CurrentDirectory().substr(0, 2);
    } else {
      root = CurrentDirectory();
    }
    std::string real = root;
    std::size_t start = 0;
    while (start <= rest.size()) {
      std::size_t end = rest.find_first_of("\\/", start);
      if (end == std::string_view::npos) end = rest.size();
      if (end > start) {
        if (real.empty() || !IsSeparator(real.back())) real += '\\';
        real += rest.substr(start, end - start);
      }
      start = end + 1;
    }
    if (real.size() == 2 && real[1] == ':') real += '\\';  // the root of a drive keeps its '\'
    return real;
  }

  std::string ShortPath(std::string_view path) override {
    const std::wstring wide = Widen(path);
    const DWORD size = ::GetShortPathNameW(wide.c_str(), nullptr, 0);
    if (size == 0) return std::string(path);
    std::wstring buffer(size, L'\0');
    const DWORD length = ::GetShortPathNameW(wide.c_str(), buffer.data(), size);
    if (length == 0 || length >= size) return std::string(path);
    return Narrow(std::wstring_view(buffer.data(), length));
  }

  bool FileExists(std::string_view path) override {
    const std::optional<std::string> real = MapPathQuietly(path);
    return real && RealFileExists(*real);
  }

  bool DirectoryExists(std::string_view path) override {
    const std::optional<std::string> real = MapPathQuietly(path);
    return real && RealDirectoryExists(*real);
  }

  std::string ReadFile(std::string_view path) override { return ReadRealFile(path, MapPath(path)); }

  void WriteFile(std::string_view path, std::string_view bytes) override {
    WriteRealFile(path, MapPath(path), bytes);
  }

  void AppendFile(std::string_view path, std::string_view bytes) override {
    AppendRealFile(path, MapPath(path), bytes);
  }

  void CopyFileTo(std::string_view from, std::string_view to) override {
    CopyRealFile(from, MapPath(from), to, MapPath(to));
  }

  void RenameFile(std::string_view from, std::string_view to) override {
    RenameRealFile(from, MapPath(from), to, MapPath(to));
  }

  bool RemoveFile(std::string_view path) override { return RemoveRealFile(path, MapPath(path)); }

  void CreateDirectories(std::string_view path) override {
    CreateRealDirectories(path, MapPath(path));
  }

  std::vector<std::string> ListFiles(std::string_view directory,
                                     std::string_view pattern) override {
    return ListRealFiles(directory, MapPath(directory), pattern);
  }

  LibraryHandle OpenLibrary(std::string_view name) override {
    const std::size_t separator = name.find_last_of("/\\");
    const std::string file(separator == std::string_view::npos ? name : name.substr(separator + 1));
    std::vector<std::string> directories;
    if (separator != std::string_view::npos) {
      directories.push_back(MapPath(name.substr(0, separator + 1)));
    } else {
      for (const std::string& directory : ConfiguredLibraryDirectories()) {
        directories.push_back(MapPath(directory));
      }
      directories.push_back(OwnDirectory());
    }
    for (const std::string& directory : directories) {
      const std::string candidate = directory + "\\" + file;
      if (!RealFileExists(candidate)) continue;
      // The library's own folder is searched first for what it needs.
      if (HMODULE module =
              ::LoadLibraryExW(Widen(candidate).c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH)) {
        return module;
      }
      return FailLibrary("Cannot load " + candidate + ": " + SystemReason(::GetLastError()));
    }
    if (separator != std::string_view::npos) {
      return FailLibrary("Library " + std::string(name) + " not found in " + directories.front());
    }
    // The system's search: the program's folder, the system directory, the
    // Windows directory, the current directory and PATH.
    if (HMODULE module = ::LoadLibraryW(Widen(file).c_str())) return module;
    std::string searched;
    for (const std::string& directory : directories) searched += " " + directory;
    return FailLibrary("Library " + file + " not found in" + searched +
                       " nor by the system search: " + SystemReason(::GetLastError()));
  }

  void* GetSymbol(LibraryHandle library, std::string_view name) override {
    const std::string symbol(name);
    if (library == nullptr) return FailLibrary("No library to look up " + symbol + " in");
    if (FARPROC address = ::GetProcAddress(static_cast<HMODULE>(library), symbol.c_str())) {
      return reinterpret_cast<void*>(address);
    }
    return FailLibrary("Symbol " + symbol + " not found: " + SystemReason(::GetLastError()));
  }

  std::string LastLibraryError() override { return last_library_error; }

  std::unique_ptr<SerialPort> OpenSerialPort(std::string_view name,
                                             const SerialTimeouts& timeouts) override {
    return OpenWindowsSerialPort(name, timeouts);
  }

  bool CanOpenSerialPort(std::string_view name) override { return CanOpenWindowsSerialPort(name); }

  std::unique_ptr<FileLock> TryLockFile(std::string_view path) override {
    return LockRealFile(path, MapPath(path));
  }

 private:
  // "X:" itself, or the directory ZEL_DRIVE_X names (a relative one taken
  // from the current directory).
  std::string DriveRoot(char letter) {
    const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
    std::string configured = EnvironmentVariable(std::string("ZEL_DRIVE_") + upper);
    if (configured.empty()) return std::string(1, upper) + ":";
    std::replace(configured.begin(), configured.end(), '/', '\\');
    while (configured.size() > 3 && configured.back() == '\\') configured.pop_back();
    const bool absolute =
        (configured.size() >= 2 && configured[1] == ':') || configured.rfind("\\\\", 0) == 0;
    return absolute ? configured : CurrentDirectory() + "\\" + configured;
  }

  // Existence checks answer "no" rather than raise.
  std::optional<std::string> MapPathQuietly(std::string_view path) {
    try {
      return MapPath(path);
    } catch (const Error&) {
      return std::nullopt;
    }
  }

  // The folder of the module holding this code (zelhost.dll).
  std::string OwnDirectory() {
    HMODULE module = nullptr;
    if (::GetModuleHandleExW(
            GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
            reinterpret_cast<LPCWSTR>(&FailLibrary), &module)) {
      return DirectoryPart(ModuleFileName(module));
    }
    return HostExecutableDirectory();
  }
};

}  // namespace

Env* Env::Default() {
  static Env* const env = new WindowsEnv();
  return env;
}

bool StandardInputIsTerminal() { return _isatty(_fileno(stdin)) != 0; }

void ChangeCurrentDirectory(std::string_view path) {
  const std::string real = Env::Default()->MapPath(path);
  if (!::SetCurrentDirectoryW(Widen(real).c_str())) {
    throw Error("cannot change to directory " + real + ": " + SystemReason(::GetLastError()));
  }
}

void SetEnvironmentVariable(const std::string& name, const std::string& value) {
  // The C runtime's copy and the process's own change together.
  if (_putenv_s(name.c_str(), value.c_str()) != 0) {
    throw Error("cannot set " + name + ": " + SystemReason(::GetLastError()));
  }
}

void UnsetEnvironmentVariable(const std::string& name) {
  // An empty value removes the variable.
  if (_putenv_s(name.c_str(), "") != 0) {
    throw Error("cannot unset " + name + ": " + SystemReason(::GetLastError()));
  }
}

std::string FindLibrary(std::string_view windows_name,
                        const std::vector<std::string>& more_directories) {
  try {
    std::vector<std::string> directories = ConfiguredLibraryDirectories();
    directories.insert(directories.end(), more_directories.begin(), more_directories.end());
    for (const std::string& directory : directories) {
      const std::string candidate =
          Env::Default()->MapPath(directory) + "\\" + std::string(windows_name);
      if (RealFileExists(candidate)) return candidate;
    }
  } catch (const Error&) {
    // A directory that cannot be mapped holds nothing.
  }
  return "";
}

}  // namespace zel
