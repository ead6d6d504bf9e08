// The Env of POSIX systems (Linux): the driver's Windows view of the machine
// laid over environment variables, the file system and dlopen.
#include <dlfcn.h>
#include <limits.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "platform/env.h"
#include "platform/path_spelling.h"
#include "platform/posix_files.h"
#include "platform/serial_port_posix.h"

namespace zel {
namespace {

std::string EnvironmentVariable(const std::string& name) {
  const char* value = std::getenv(name.c_str());
  return value != nullptr ? std::string(value) : std::string();
}

std::string DirectoryPart(const std::string& file) {
  const std::size_t slash = file.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : file.substr(0, slash);
}

std::string DlError() {
  const char* reason = ::dlerror();
  return reason != nullptr ? reason : "unknown reason";
}

// The directories of ZEL_LIBRARY_PATH, as given.
std::vector<std::string> ConfiguredLibraryDirectories() {
  std::vector<std::string> directories;
  const std::string configured = EnvironmentVariable("ZEL_LIBRARY_PATH");
  std::size_t start = 0;
  while (start <= configured.size()) {
    std::size_t end = configured.find(':', start);
    if (end == std::string::npos) end = configured.size();
    if (end > start) directories.push_back(configured.substr(start, end - start));
    start = end + 1;
  }
  return directories;
}

// Why the last library call of this thread failed, as dlerror() keeps it.
thread_local std::string last_library_error;

LibraryHandle FailLibrary(std::string reason) {
  last_library_error = std::move(reason);
  return nullptr;
}

class PosixEnv : public Env {
 public:
  DateTime Now() override {
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    tm local{};
    ::localtime_r(&now.tv_sec, &local);
    DateParts parts;
    parts.year = local.tm_year + 1900;
    parts.month = local.tm_mon + 1;
    parts.day = local.tm_mday;
    parts.hour = local.tm_hour;
    parts.minute = local.tm_min;
    parts.second = std::min(local.tm_sec, 59);  // a leap second is not a valid time of day
    parts.millisecond = static_cast<int>(now.tv_nsec / 1000000);
    return EncodeDateTime(parts);
  }

  void SleepFor(std::chrono::milliseconds duration) override {
    std::this_thread::sleep_for(duration);
  }

  std::string SystemDirectory() override {
    const std::string configured = EnvironmentVariable("ZEL_SYSTEM_DIR");
    if (!configured.empty()) return MapPath(configured);
    return MapPath("C:\\Windows\\System32");
  }

  std::string HostExecutableDirectory() override {
    std::string buffer(PATH_MAX, '\0');
    for (;;) {
      const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
      if (length < 0) {
        throw Error("Cannot find the program file of this process: " +
                    std::system_category().message(errno));
      }
      if (static_cast<std::size_t>(length) < buffer.size()) {
        buffer.resize(static_cast<std::size_t>(length));
        return DirectoryPart(buffer);
      }
      buffer.resize(buffer.size() * 2);  // the name may have been cut
    }
  }

  std::string CurrentDirectory() override {
    std::string buffer(PATH_MAX, '\0');
    while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
      if (errno != ERANGE) {
        throw Error("Cannot find the current directory: " + std::system_category().message(errno));
      }
      buffer.resize(buffer.size() * 2);
    }
    buffer.resize(buffer.find('\0'));
    return buffer;
  }

  std::string MapPath(std::string_view path) override {
    return ResolveNameCase(SpellRealPath(
        path, [this](char letter) { return DriveRoot(letter); },
        [this] { return CurrentDirectory(); }));
  }

  std::string ShortPath(std::string_view path) override { return std::string(path); }

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
    const std::string file =
        LibraryFileName(separator == std::string_view::npos ? name : name.substr(separator + 1));
    std::vector<std::string> directories;
    if (separator != std::string_view::npos) {
      directories.push_back(MapPath(name.substr(0, separator + 1)));
    } else {
      directories = LibrarySearchDirectories();
    }
    for (const std::string& directory : directories) {
      const std::string candidate = ResolveNameCase(directory + "/" + file);
      if (!RealFileExists(candidate)) continue;
      if (void* handle = ::dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL)) return handle;
      return FailLibrary(DlError());
    }
    if (separator != std::string_view::npos) {
      return FailLibrary("Library " + std::string(name) + " not found in " + directories.front());
    }
    if (void* handle = ::dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL)) return handle;
    std::string searched;
    for (const std::string& directory : directories) searched += " " + directory;
    return FailLibrary("Library " + std::string(name) + " (" + file + ") not found in" + searched +
                       " nor by the system search: " + DlError());
  }

  void* GetSymbol(LibraryHandle library, std::string_view name) override {
    const std::string symbol(name);
    if (library == nullptr) return FailLibrary("No library to look up " + symbol + " in");
    ::dlerror();
    if (void* address = ::dlsym(library, symbol.c_str())) return address;
    const char* reason = ::dlerror();
    return FailLibrary(reason != nullptr ? reason : "Symbol " + symbol + " is null");
  }

  std::string LastLibraryError() override { return last_library_error; }

  std::unique_ptr<SerialPort> OpenSerialPort(std::string_view name,
                                             const SerialTimeouts& timeouts) override {
    return OpenPosixSerialPort(name, timeouts);
  }

  bool CanOpenSerialPort(std::string_view name) override { return CanOpenPosixSerialPort(name); }

  std::unique_ptr<FileLock> TryLockFile(std::string_view path) override {
    return LockRealFile(path, MapPath(path));
  }

 private:
  // A configured directory relative to the current one is taken from there.
  std::string Absolute(const std::string& directory) {
    return directory.front() == '/' ? directory : CurrentDirectory() + "/" + directory;
  }

  std::string DriveRoot(char letter) {
    const std::string configured = EnvironmentVariable(std::string("ZEL_DRIVE_") + letter);
    if (!configured.empty()) return Absolute(configured);
    return CurrentDirectory() + "/drive_" + static_cast<char>(letter - 'A' + 'a');
  }

  // Existence checks answer "no" rather than raise when even the current
  // directory cannot be found.
  std::optional<std::string> MapPathQuietly(std::string_view path) {
    try {
      return MapPath(path);
    } catch (const Error&) {
      return std::nullopt;
    }
  }

  // ZEL_LIBRARY_PATH's directories, the one holding this code, then the
  // program's.
  std::vector<std::string> LibrarySearchDirectories() {
    std::vector<std::string> directories;
    for (const std::string& directory : ConfiguredLibraryDirectories()) {
      directories.push_back(Absolute(directory));
    }
    directories.push_back(OwnDirectory());
    // As Windows searches the program's folder, so do we.
    try {
      const std::string program_directory = HostExecutableDirectory();
      if (program_directory != directories.back()) directories.push_back(program_directory);
    } catch (const Error&) {
      // Without /proc the program's folder is unknown; the others remain.
    }
    return directories;
  }

  // The directory of the shared library (zelhost, beside the driver) or program that this
  // code was linked into.
  std::string OwnDirectory() {
    Dl_info info{};
    if (::dladdr(reinterpret_cast<const void*>(&EnvironmentVariable), &info) != 0 &&
        info.dli_fname != nullptr) {
      char resolved[PATH_MAX];
      if (std::string_view(info.dli_fname).find('/') != std::string_view::npos &&
          ::realpath(info.dli_fname, resolved) != nullptr) {
        return DirectoryPart(resolved);
      }
    }
    return HostExecutableDirectory();  // dladdr names the main program only vaguely
  }
};

}  // namespace

Env* Env::Default() {
  static Env* const env = new PosixEnv();
  return env;
}

bool StandardInputIsTerminal() { return isatty(STDIN_FILENO) == 1; }

void ChangeCurrentDirectory(std::string_view path) {
  const std::string real = Env::Default()->MapPath(path);
  if (chdir(real.c_str()) != 0) {
    throw Error("cannot change to directory " + real + ": " + std::strerror(errno));
  }
}

void SetEnvironmentVariable(const std::string& name, const std::string& value) {
  if (setenv(name.c_str(), value.c_str(), 1) != 0) {
    throw Error("cannot set " + name + ": " + std::strerror(errno));
  }
}

void UnsetEnvironmentVariable(const std::string& name) {
  if (unsetenv(name.c_str()) != 0) {
    throw Error("cannot unset " + name + ": " + std::strerror(errno));
  }
}

std::string FindLibrary(std::string_view windows_name,
                        const std::vector<std::string>& more_directories) {
  try {
    std::vector<std::string> directories = ConfiguredLibraryDirectories();
    directories.insert(directories.end(), more_directories.begin(), more_directories.end());
    const std::string file = LibraryFileName(windows_name);
    for (const std::string& directory : directories) {
      const std::string candidate =
          ResolveNameCase(Env::Default()->MapPath(directory) + "/" + file);
      if (RealFileExists(candidate)) return candidate;
    }
  } catch (const Error&) {
    // A directory that cannot be mapped holds nothing.
  }
  return "";
}

}  // namespace zel
