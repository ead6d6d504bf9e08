// TestEnv: an Env for tests that pins the clock, keeps every directory the
// driver uses inside one temporary directory, and makes chosen operations
// fail on demand. Everything else goes to the wrapped Env (by default the
// real one), so files are real files.
//
//   TestEnv env;                      // clock pinned, folders made
//   ScopedCurrentEnv use_env(&env);   // the driver now sees env
//   env.InjectFailure(EnvOperation::kAppendFile, 1, "impdebug");  // the next log write fails
//
// Layout under root(): host/ (host executable directory), current/ (current
// directory), drive_c/ (C:\, other letters drive_x/, made on first need by
// the test) and drive_c/Windows/System32 (system directory). Paths are mapped
// here, then handed to the wrapped Env as real paths, so error messages name
// the real path; a real path below root() (such as the directories above, in
// the system's spelling) is left where it is. Not thread-safe; one test
// thread.
#ifndef ZEL_TESTS_SUPPORT_TEST_ENV_H_
#define ZEL_TESTS_SUPPORT_TEST_ENV_H_

#include <chrono>
#include <map>
#include <string>
#include <string_view>

#include "platform/env.h"
#include "support/temp_dir.h"

namespace zel {

// The operations whose failure a test can ask for. Existence checks and the
// directory queries never fail.
enum class EnvOperation {
  kReadFile,   // also ReadLines
  kWriteFile,  // also WriteLines
  kAppendFile,
  kCopyFile,
  kRemoveFile,
  kRenameFile,
  kCreateDirectories,
  kListFiles,
  kOpenLibrary,     // fails by returning nullptr, with the reason in LastLibraryError
  kOpenSerialPort,  // also makes CanOpenSerialPort answer false
};

class TestEnv : public EnvWrapper {
 public:
  explicit TestEnv(Env* target = Env::Default());

  const std::string& root() const { return root_.path(); }
  std::string DriveRoot(char letter) const;
  // Another real directory as the current one (for instance a drive root).
  void set_current_directory(std::string real_path) { current_ = std::move(real_path); }

  // The clock stands still at `when` until set or advanced; SleepFor advances
  // it instead of waiting. Starts at 7 December 2026 10:05:07.
  void SetNow(DateTime when) { now_ = when; }
  void AdvanceClock(std::chrono::milliseconds step);

  static constexpr int kEveryCall = -1;
  // Makes the next `times` calls of the operation (kEveryCall: all of them)
  // fail, counting only calls whose path (as given or mapped) or port name
  // contains `path_contains` when that is not empty. The raised FileError
  // carries `windows_code`; a WriteFile failing with kWinDiskFull first
  // writes half the bytes, as a disk that fills up mid-write does. Replaces
  // what was asked before for the operation.
  void InjectFailure(EnvOperation operation, int times, std::string path_contains = {},
                     int windows_code = kWinAccessDenied);
  void ClearFailures() { failures_.clear(); }

  DateTime Now() override { return now_; }
  void SleepFor(std::chrono::milliseconds duration) override { AdvanceClock(duration); }
  std::string SystemDirectory() override { return system_; }
  std::string HostExecutableDirectory() override { return host_; }
  std::string CurrentDirectory() override { return current_; }
  std::string MapPath(std::string_view path) override;
  bool FileExists(std::string_view path) override;
  bool DirectoryExists(std::string_view path) override;
  std::string ReadFile(std::string_view path) override;
  void WriteFile(std::string_view path, std::string_view bytes) override;
  void AppendFile(std::string_view path, std::string_view bytes) override;
  void CopyFileTo(std::string_view from, std::string_view to) override;
  void RenameFile(std::string_view from, std::string_view to) override;
  bool RemoveFile(std::string_view path) override;
  void CreateDirectories(std::string_view path) override;
  std::vector<std::string> ListFiles(std::string_view directory, std::string_view pattern) override;
  LibraryHandle OpenLibrary(std::string_view name) override;
  std::string LastLibraryError() override;
  std::unique_ptr<SerialPort> OpenSerialPort(std::string_view name,
                                             const SerialTimeouts& timeouts) override;
  bool CanOpenSerialPort(std::string_view name) override;

 private:
  // True (and one fewer to go) when the call should fail.
  bool ShouldFail(EnvOperation operation, std::string_view given, std::string_view real);
  // Raises the injected FileError when the call should fail.
  void MaybeFail(EnvOperation operation, std::string_view given, std::string_view real);

  TempDir root_;
  std::string host_, current_, system_;
  DateTime now_;
  struct Failure {
    int times;
    std::string path_contains;
    int windows_code;
  };
  std::map<EnvOperation, Failure> failures_;
  std::string injected_library_error_;  // empty unless the last OpenLibrary was failed here
};

// Makes an Env the current one for its own lifetime, then puts back the one
// that was current before.
class ScopedCurrentEnv {
 public:
  explicit ScopedCurrentEnv(Env* env) : previous_(Env::Current()) { Env::SetCurrent(env); }
  ~ScopedCurrentEnv() { Env::SetCurrent(previous_); }
  ScopedCurrentEnv(const ScopedCurrentEnv&) = delete;
  ScopedCurrentEnv& operator=(const ScopedCurrentEnv&) = delete;

 private:
  Env* previous_;
};

}  // namespace zel

#endif  // ZEL_TESTS_SUPPORT_TEST_ENV_H_
