#include "platform/posix_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <optional>
#include <system_error>

#include "platform/env.h"
#include "platform/path_spelling.h"

namespace zel {
namespace {

constexpr int kWinTooManyOpenFiles = 4;
constexpr int kWinWriteProtect = 19;
constexpr int kWinSharingViolation = 32;
constexpr int kWinInvalidParameter = 87;
constexpr int kWinAlreadyExists = 183;
constexpr int kWinFilenameTooLong = 206;

std::string ParentOf(const std::string& real) {
  const std::size_t slash = real.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : real.substr(0, slash);
}

// What Windows' GetLastError would say for the same failure. A missing file
// in an existing directory is "file not found"; a missing directory on the
// way is "path not found".
int WindowsCodeFor(int error_number, const std::string& real) {
  switch (error_number) {
    case ENOENT:
      return RealDirectoryExists(ParentOf(real)) ? kWinFileNotFound : kWinPathNotFound;
    case ENOTDIR:
      return kWinPathNotFound;
    case EACCES:
    case EPERM:
    case EISDIR:
      return kWinAccessDenied;
    case EROFS:
      return kWinWriteProtect;
    case EEXIST:
      return kWinAlreadyExists;
    case ENOSPC:
    case EDQUOT:
      return kWinDiskFull;
    case EMFILE:
    case ENFILE:
      return kWinTooManyOpenFiles;
    case EBUSY:
    case ETXTBSY:
      return kWinSharingViolation;
    case EINVAL:
      return kWinInvalidParameter;
    case ENAMETOOLONG:
      return kWinFilenameTooLong;
    default:
      return kWinGeneralFailure;
  }
}

// "given" (real) when they differ, else just "given".
std::string Describe(std::string_view given, const std::string& real) {
  std::string text = "\"" + std::string(given) + "\"";
  if (given != real) text += " (" + real + ")";
  return text;
}

[[noreturn]] void Fail(const std::string& what, int error_number, const std::string& real,
                       int windows_code = 0) {
  throw FileError(what + ": " + std::system_category().message(error_number),
                  windows_code != 0 ? windows_code : WindowsCodeFor(error_number, real));
}

// Closes on every path out; a failed close after writing is reported by
// CloseChecked, since it can mean the data never reached the disk.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  // Hands the descriptor over: it is no longer closed here.
  void Release() { fd_ = -1; }
  // Returns 0 or the errno of a failed close.
  int CloseChecked() {
    const int result = ::close(fd_);
    fd_ = -1;
    return result == 0 ? 0 : errno;
  }

 private:
  int fd_;
};

int OpenFile(const std::string& real, int flags) {
  for (;;) {
    const int fd = ::open(real.c_str(), flags | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EINTR) return fd;
  }
}

// Returns 0 or the errno of the failure.
int WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return 0;
}

// Reads the rest of an open file into `out`; returns 0 or the errno.
int ReadAll(int fd, std::string& out) {
  char buffer[64 * 1024];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n == 0) return 0;
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    out.append(buffer, static_cast<std::size_t>(n));
  }
}

int SyncFile(int fd) {
  while (::fsync(fd) != 0) {
    if (errno != EINTR) return errno;
  }
  return 0;
}

// `durable`: the bytes are on the disk before the call returns.
void WriteWithFlags(const std::string& what, const std::string& real, std::string_view bytes,
                    int flags, bool durable) {
  FileDescriptor file(OpenFile(real, O_WRONLY | O_CREAT | flags));
  if (!file.valid()) Fail(what, errno, real);
  if (const int error = WriteAll(file.get(), bytes)) Fail(what, error, real);
  if (durable) {
    if (const int error = SyncFile(file.get())) Fail(what, error, real);
  }
  if (const int error = file.CloseChecked()) Fail(what, error, real);
}

class PosixFileLock : public FileLock {
 public:
  explicit PosixFileLock(int fd) : file_(fd) {}

 private:
  FileDescriptor file_;  // closing the descriptor releases the lock
};

// The name in `directory` equal to `name` but for letter case; the first in
// byte order when several are, so the choice does not depend on the listing.
std::optional<std::string> FindNameIgnoringCase(const std::string& directory,
                                                std::string_view name) {
  DIR* listing = ::opendir(directory.c_str());
  if (listing == nullptr) return std::nullopt;
  std::optional<std::string> found;
  while (const dirent* entry = ::readdir(listing)) {
    const std::string_view candidate = entry->d_name;
    if (EqualsIgnoringCase(candidate, name) && (!found || candidate < *found)) {
      found = std::string(candidate);
    }
  }
  ::closedir(listing);
  return found;
}

bool Exists(const std::string& real) {
  struct stat info;
  return ::lstat(real.c_str(), &info) == 0;
}

}  // namespace

std::string ResolveNameCase(const std::string& path) {
  if (path.empty() || path[0] != '/' || Exists(path)) return path;
  std::string resolved;
  bool parent_exists = true;  // once a component is missing, nothing below it can exist
  std::size_t start = 1;
  while (start <= path.size()) {
    std::size_t end = path.find('/', start);
    if (end == std::string::npos) end = path.size();
    const std::string component = path.substr(start, end - start);
    start = end + 1;
    if (component.empty()) continue;
    std::string candidate = resolved + "/" + component;
    if (parent_exists && !Exists(candidate)) {
      const std::optional<std::string> other_case =
          FindNameIgnoringCase(resolved.empty() ? "/" : resolved, component);
      if (other_case) {
        candidate = resolved + "/" + *other_case;
      } else {
        parent_exists = false;
      }
    }
    resolved = std::move(candidate);
  }
  return resolved.empty() ? "/" : resolved;
}

bool RealFileExists(const std::string& real) {
  struct stat info;
  return !real.empty() && ::stat(real.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

bool RealDirectoryExists(const std::string& real) {
  struct stat info;
  return !real.empty() && ::stat(real.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string ReadRealFile(std::string_view given, const std::string& real) {
  const std::string what = "Cannot read file " + Describe(given, real);
  FileDescriptor file(OpenFile(real, O_RDONLY));
  if (!file.valid()) Fail(what, errno, real);
  std::string bytes;
  if (const int error = ReadAll(file.get(), bytes)) Fail(what, error, real);
  return bytes;
}

void WriteRealFile(std::string_view given, const std::string& real, std::string_view bytes) {
  WriteWithFlags("Cannot write file " + Describe(given, real), real, bytes, O_TRUNC, true);
}

void AppendRealFile(std::string_view given, const std::string& real, std::string_view bytes) {
  WriteWithFlags("Cannot append to file " + Describe(given, real), real, bytes, O_APPEND, false);
}

void RenameRealFile(std::string_view given_from, const std::string& real_from,
                    std::string_view given_to, const std::string& real_to) {
  if (::rename(real_from.c_str(), real_to.c_str()) != 0) {
    Fail("Cannot rename file " + Describe(given_from, real_from) + " to " +
             Describe(given_to, real_to),
         errno, real_to);
  }
  // The new name is only safe from a power loss once the folder is on disk.
  FileDescriptor folder(OpenFile(ParentOf(real_to), O_RDONLY | O_DIRECTORY));
  if (folder.valid()) SyncFile(folder.get());
}

std::unique_ptr<FileLock> LockRealFile(std::string_view given, const std::string& real) {
  FileDescriptor file(OpenFile(real, O_RDWR | O_CREAT));
  if (!file.valid()) Fail("Cannot open lock file " + Describe(given, real), errno, real);
  while (::flock(file.get(), LOCK_EX | LOCK_NB) != 0) {
    if (errno == EWOULDBLOCK) return nullptr;
    if (errno != EINTR) Fail("Cannot lock file " + Describe(given, real), errno, real);
  }
  const int fd = file.get();
  file.Release();
  return std::make_unique<PosixFileLock>(fd);
}

void CopyRealFile(std::string_view given_from, const std::string& real_from,
                  std::string_view given_to, const std::string& real_to) {
  const std::string what =
      "Cannot copy file " + Describe(given_from, real_from) + " to " + Describe(given_to, real_to);
  FileDescriptor source(OpenFile(real_from, O_RDONLY));
  if (!source.valid()) Fail(what + " (opening the source)", errno, real_from);
  struct stat source_info;
  struct stat target_info;
  if (::fstat(source.get(), &source_info) != 0) Fail(what, errno, real_from);
  if (S_ISDIR(source_info.st_mode)) Fail(what + " (the source)", EISDIR, real_from);
  // Truncating the target would wipe the source when both are one file.
  if (::stat(real_to.c_str(), &target_info) == 0 && target_info.st_dev == source_info.st_dev &&
      target_info.st_ino == source_info.st_ino) {
    throw FileError(what + ": source and target are the same file", kWinSharingViolation);
  }
  std::string bytes;
  if (const int error = ReadAll(source.get(), bytes)) Fail(what, error, real_from);
  FileDescriptor target(OpenFile(real_to, O_WRONLY | O_CREAT | O_TRUNC));
  if (!target.valid()) Fail(what + " (creating the target)", errno, real_to);
  if (const int error = WriteAll(target.get(), bytes)) Fail(what, error, real_to);
  if (const int error = target.CloseChecked()) Fail(what, error, real_to);
}

bool RemoveRealFile(std::string_view given, const std::string& real) {
  if (::unlink(real.c_str()) == 0) return true;
  if (errno == ENOENT || errno == ENOTDIR) return false;
  Fail("Cannot remove file " + Describe(given, real), errno, real);
}

void CreateRealDirectories(std::string_view given, const std::string& real) {
  if (real.empty())
    throw FileError("Cannot create a directory with an empty name", kWinPathNotFound);
  // Each prefix in turn, from the root down.
  std::size_t end = 0;
  do {
    end = real.find('/', end + 1);
    const std::string prefix = real.substr(0, end);
    if (prefix.empty() || RealDirectoryExists(prefix)) continue;
    if (::mkdir(prefix.c_str(), 0777) != 0 && !(errno == EEXIST && RealDirectoryExists(prefix))) {
      const int error = errno == EEXIST ? ENOTDIR : errno;  // a file stands in the way
      Fail("Cannot create directory " + Describe(given, real), error, prefix);
    }
  } while (end != std::string::npos);
}

std::vector<std::string> ListRealFiles(std::string_view given, const std::string& real,
                                       std::string_view pattern) {
  DIR* listing = ::opendir(real.c_str());
  if (listing == nullptr) {
    const int error = errno;
    // Whatever is missing, the directory is part of the path, not a file.
    Fail("Cannot list directory " + Describe(given, real), error, real,
         error == ENOENT ? kWinPathNotFound : 0);
  }
  std::vector<std::string> names;
  while (const dirent* entry = ::readdir(listing)) {
    const std::string name = entry->d_name;
    if (MatchesWildcard(name, pattern) && RealFileExists(real + "/" + name)) names.push_back(name);
  }
  ::closedir(listing);
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace zel
