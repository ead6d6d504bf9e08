// zel::Env is the driver's one door to the operating system: the clock, the
// well-known directories, files, shared libraries and serial ports. Nothing
// else in the driver includes an OS header, so a port to another system means
// one new implementation of this interface, and tests can wrap it to pin the
// clock, redirect directories and inject failures.
//
// Part of the host SDK (the zelhost library): a host may use Env::Default()
// for its own files and libraries, and may hand the driver an Env of its own
// (an EnvWrapper that pins the clock, say) with ZelDefineEnv, declared in
// zel/host_services.h. Env::Current() is shared by the host and the driver,
// since both reach it through zelhost.
//
// Paths. The driver keeps paths in their Windows spelling ("C:\MenuFiscal\x",
// "Dados\Reduções", "c:\Download.MFD") and every call that takes a path maps
// it with MapPath first:
//   - a drive root "X:\" (any letter, either case) is the directory named by
//     the environment variable ZEL_DRIVE_X when it is set; otherwise, on
//     Linux, "drive_x" under the current directory, and on Windows the real
//     drive; a path that starts with "\" is on drive C (on Windows, on the
//     current directory's drive, as the system has it);
//   - on Linux backslashes become '/' (on Windows '/' becomes '\'), runs of
//     separators collapse, a trailing one is dropped;
//   - a relative path is taken from the current directory;
//   - a real path of the system passes unchanged, and on Linux a path may mix
//     both spellings: "/tmp/x\impdebug1226.txt" is /tmp/x/impdebug1226.txt;
//   - a name that is not valid UTF-8 is taken as Windows-1252 (the driver's
//     own text) and converted, so "Reduções" is stored as the file system
//     shows it;
//   - names match case-insensitively (ASCII letters), as on Windows: when a
//     component does not exist as spelled, an existing entry of the same name
//     in another case is used, so "Bemafi32.ini" finds "BemaFI32.ini".
// Mapping a mapped path again gives the same path. Paths returned by Env
// (directories, listings) are real paths and may be passed back in.
//
// Errors. File operations raise zel::FileError, whose message names the path
// as given, the real path when it differs, and the system's reason, and which
// carries the Windows error code of the same failure for messages that show
// one. Existence checks never raise. OpenLibrary reports failure by nullptr.
//
// Ownership. Env::Default() lives as long as the process; an Env given to
// SetCurrent or ZelDefineEnv stays the caller's and must outlive its use.
//
// Threads. Env::Default() keeps no state of its own beyond the per-thread
// reason of the last library failure and may be used from any thread; the
// driver itself is called from one host thread at a time. The current Env
// (Current/SetCurrent) is a process-wide pointer, swapped by tests.
#ifndef ZEL_ENV_H_
#define ZEL_ENV_H_

#include <chrono>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "zel/date_time.h"
#include "zel/error.h"

namespace zel {

// Windows error codes for the failures a file operation reports.
inline constexpr int kWinFileNotFound = 2;
inline constexpr int kWinPathNotFound = 3;
inline constexpr int kWinAccessDenied = 5;
inline constexpr int kWinGeneralFailure = 31;
inline constexpr int kWinDiskFull = 112;

// A file operation that failed. windows_code() is what Windows' last-error
// code would be for the same failure (2 file not found, 3 path not found,
// 5 access denied, ...), since some messages of the driver show it.
class FileError : public Error {
 public:
  FileError(const std::string& message, int windows_code)
      : Error(message), windows_code_(windows_code) {}
  int windows_code() const { return windows_code_; }

 private:
  int windows_code_;
};

// Time-outs of a serial port, in milliseconds; 0 means "no limit" for each.
// A read ends when the wanted bytes came, when read_total_ms passed since it
// began, or when read_interval_ms passed between two bytes after the first.
// With both read limits 0 a read waits for all the wanted bytes.
struct SerialTimeouts {
  int read_interval_ms = 0;
  int read_total_ms = 1000;
  int write_total_ms = 1000;
};

// An open serial port, set to 19200 baud, 8 data bits, no parity, one stop
// bit, raw. The destructor closes it. Used from one thread at a time.
class SerialPort {
 public:
  virtual ~SerialPort() = default;
  // Writes the bytes within the write time-out and returns how many went out
  // (fewer than asked only on time-out). Raises zel::Error on a device error.
  virtual std::size_t Write(std::string_view bytes) = 0;
  // Returns up to max_bytes, fewer (possibly none) when a time-out ends the
  // read. Raises zel::Error on a device error.
  virtual std::string Read(std::size_t max_bytes) = 0;
};

// An exclusive lock on a file, held until the object is destroyed or the
// process ends (a process killed releases it too).
class FileLock {
 public:
  virtual ~FileLock() = default;
};

// What OpenLibrary returns: opaque, never released, nullptr for "not loaded".
using LibraryHandle = void*;

class Env {
 public:
  virtual ~Env() = default;

  // The process-wide implementation for this system. Never destroyed.
  static Env* Default();
  // The Env the driver uses: the one last given to SetCurrent, or Default().
  // SetCurrent(nullptr) restores Default(). The caller keeps ownership and
  // keeps the Env alive while it is current.
  static Env* Current();
  static void SetCurrent(Env* env);

  // Local date and time.
  virtual DateTime Now() = 0;
  // Pauses the calling thread.
  virtual void SleepFor(std::chrono::milliseconds duration) = 0;

  // Real paths, without a trailing separator. SystemDirectory is Windows'
  // system directory: ZEL_SYSTEM_DIR, by default "C:\Windows\System32" mapped
  // as above. HostExecutableDirectory holds the program file of the running
  // process (not the library this code is in). Raise zel::Error when the
  // system cannot tell.
  virtual std::string SystemDirectory() = 0;
  virtual std::string HostExecutableDirectory() = 0;
  virtual std::string CurrentDirectory() = 0;

  // The real path for a path in either spelling (see the top of this file).
  // An empty path stays empty.
  virtual std::string MapPath(std::string_view path) = 0;
  // The short (8.3) form of an existing path on Windows (the path as it is
  // when the volume keeps no short names, or the path does not exist); on
  // Linux names have no short form, so it is the path itself.
  virtual std::string ShortPath(std::string_view path) = 0;

  // True for an existing file that is not a directory / for a directory.
  virtual bool FileExists(std::string_view path) = 0;
  virtual bool DirectoryExists(std::string_view path) = 0;
  // The whole file, as bytes.
  virtual std::string ReadFile(std::string_view path) = 0;
  // Creates or truncates the file and writes the bytes, which have reached
  // the disk when the call returns.
  virtual void WriteFile(std::string_view path, std::string_view bytes) = 0;
  // Replaces the file with the bytes so that a failure at any moment (disk
  // full, power lost) leaves either the old file whole or the new one: the
  // bytes go to a temporary file of a unique name in the same folder, which
  // is then renamed over the old one. Raises like WriteFile.
  void ReplaceFile(std::string_view path, std::string_view bytes);
  // Appends the bytes, creating the file when it does not exist.
  virtual void AppendFile(std::string_view path, std::string_view bytes) = 0;
  // Copies a file, replacing the target. The target's directory must exist.
  virtual void CopyFileTo(std::string_view from, std::string_view to) = 0;
  // Renames a file, replacing `to` in one step when it exists (both in the
  // same folder, or at least on the same disk).
  virtual void RenameFile(std::string_view from, std::string_view to) = 0;
  // Removes a file; false when there was none, an error for other failures.
  virtual bool RemoveFile(std::string_view path) = 0;
  // Creates a directory and its missing parents; an existing one is fine.
  virtual void CreateDirectories(std::string_view path) = 0;
  // Names (not paths) of the files in a directory that match a Windows
  // wildcard pattern ('*' any run, '?' one character, letters in any case),
  // sorted. Directories are left out. Raises when the directory is missing.
  virtual std::vector<std::string> ListFiles(std::string_view directory,
                                             std::string_view pattern) = 0;

  // The file split into lines at LF, a CR before the LF dropped; a last line
  // without line break counts, an empty file has no lines.
  std::vector<std::string> ReadLines(std::string_view path);
  // Writes each line followed by CR LF, replacing the file as ReplaceFile
  // does.
  void WriteLines(std::string_view path, const std::vector<std::string>& lines);

  // Loads a shared library by its Windows name: "X.dll" is looked up (on
  // Linux as "libX.so", name in any case) in each directory of
  // ZEL_LIBRARY_PATH (separated by ':' on Linux, ';' on Windows), then beside
  // the library holding this code (zelhost, installed beside the driver),
  // then (on Linux) in the host program's folder, then by the system's own
  // search (on Windows the host program's folder, the system directory and
  // PATH). A name with a directory is loaded from
  // that directory only. The first file found is the one loaded. Returns
  // nullptr when the library cannot be loaded; LastLibraryError() then says
  // why. Libraries are never unloaded.
  virtual LibraryHandle OpenLibrary(std::string_view name) = 0;
  // The address of an exported symbol, or nullptr (also for a null handle).
  virtual void* GetSymbol(LibraryHandle library, std::string_view name) = 0;
  // Why the last failed OpenLibrary or GetSymbol of this thread failed.
  virtual std::string LastLibraryError() = 0;

  // Opens a serial port exclusively; the caller owns the port. "COMn" (any
  // case, an optional trailing ':') is the device named by ZEL_COMn, else
  // on Linux /dev/ttyS<n-1> and on Windows the port itself; a name with a
  // '/' is a device path. Raises zel::Error
  // naming the port and the reason (unknown name, missing or busy device,
  // not a terminal).
  virtual std::unique_ptr<SerialPort> OpenSerialPort(std::string_view name,
                                                     const SerialTimeouts& timeouts) = 0;
  // Whether the port could now be opened exclusively for reading and
  // writing; the port is closed again at once. Never raises.
  virtual bool CanOpenSerialPort(std::string_view name) = 0;
  // Takes the exclusive lock of a file (created when missing) without
  // waiting: nullptr when someone else holds it, in this process or another.
  // Raises zel::FileError when the file cannot be created or opened.
  virtual std::unique_ptr<FileLock> TryLockFile(std::string_view path) = 0;
};

// Forwards every call to another Env, so a variant overrides only what it
// changes. Does not own the target.
class EnvWrapper : public Env {
 public:
  explicit EnvWrapper(Env* target) : target_(target) {}
  Env* target() const { return target_; }

  DateTime Now() override { return target_->Now(); }
  void SleepFor(std::chrono::milliseconds duration) override { target_->SleepFor(duration); }
  std::string SystemDirectory() override { return target_->SystemDirectory(); }
  std::string HostExecutableDirectory() override { return target_->HostExecutableDirectory(); }
  std::string CurrentDirectory() override { return target_->CurrentDirectory(); }
  std::string MapPath(std::string_view path) override { return target_->MapPath(path); }
  std::string ShortPath(std::string_view path) override { return target_->ShortPath(path); }
  bool FileExists(std::string_view path) override { return target_->FileExists(path); }
  bool DirectoryExists(std::string_view path) override { return target_->DirectoryExists(path); }
  std::string ReadFile(std::string_view path) override { return target_->ReadFile(path); }
  void WriteFile(std::string_view path, std::string_view bytes) override {
    target_->WriteFile(path, bytes);
  }
  void AppendFile(std::string_view path, std::string_view bytes) override {
    target_->AppendFile(path, bytes);
  }
  void CopyFileTo(std::string_view from, std::string_view to) override {
    target_->CopyFileTo(from, to);
  }
  void RenameFile(std::string_view from, std::string_view to) override {
    target_->RenameFile(from, to);
  }
  bool RemoveFile(std::string_view path) override { return target_->RemoveFile(path); }
  void CreateDirectories(std::string_view path) override { target_->CreateDirectories(path); }
  std::vector<std::string> ListFiles(std::string_view directory,
                                     std::string_view pattern) override {
    return target_->ListFiles(directory, pattern);
  }
  LibraryHandle OpenLibrary(std::string_view name) override { return target_->OpenLibrary(name); }
  void* GetSymbol(LibraryHandle library, std::string_view name) override {
    return target_->GetSymbol(library, name);
  }
  std::string LastLibraryError() override { return target_->LastLibraryError(); }
  std::unique_ptr<SerialPort> OpenSerialPort(std::string_view name,
                                             const SerialTimeouts& timeouts) override {
    return target_->OpenSerialPort(name, timeouts);
  }
  bool CanOpenSerialPort(std::string_view name) override {
    return target_->CanOpenSerialPort(name);
  }
  std::unique_ptr<FileLock> TryLockFile(std::string_view path) override {
    return target_->TryLockFile(path);
  }

 private:
  Env* target_;
};

// True when the program's standard input is a terminal a person can answer
// at (a command-line host asks its questions there).
bool StandardInputIsTerminal();

// For a host setting up its process before it loads the driver: the
// current directory and the process's environment variables. Raise
// zel::Error with the reason on failure.
void ChangeCurrentDirectory(std::string_view path);
void SetEnvironmentVariable(const std::string& name, const std::string& value);
// Removes the variable from the process's environment; one that is not set
// is fine.
void UnsetEnvironmentVariable(const std::string& name);

// For a host looking for a library before it loads it: the real path of the
// library `windows_name` ("zel00100.dll", as OpenLibrary names it) in the
// first of the directories of ZEL_LIBRARY_PATH and then of `more_directories`
// that holds it; empty when none does. Never raises.
std::string FindLibrary(std::string_view windows_name,
                        const std::vector<std::string>& more_directories);

}  // namespace zel

#endif  // ZEL_ENV_H_
