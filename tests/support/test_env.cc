#include "support/test_env.h"

#include <utility>

#include "platform/path_spelling.h"

namespace zel {
namespace {

const char* OperationName(EnvOperation operation) {
  switch (operation) {
    case EnvOperation::kReadFile:
      return "ReadFile";
    case EnvOperation::kWriteFile:
      return "WriteFile";
    case EnvOperation::kAppendFile:
      return "AppendFile";
    case EnvOperation::kCopyFile:
      return "CopyFileTo";
    case EnvOperation::kRemoveFile:
      return "RemoveFile";
    case EnvOperation::kRenameFile:
      return "RenameFile";
    case EnvOperation::kCreateDirectories:
      return "CreateDirectories";
    case EnvOperation::kListFiles:
      return "ListFiles";
    case EnvOperation::kOpenLibrary:
      return "OpenLibrary";
    case EnvOperation::kOpenSerialPort:
      return "OpenSerialPort";
  }
  return "?";
}

// True when `path` is `directory` or lies below it, separators of either
// kind and ASCII letters of either case being alike (as Windows has them).
bool IsWithin(std::string_view path, std::string_view directory) {
  if (path.size() < directory.size()) return false;
  for (std::size_t i = 0; i < directory.size(); ++i) {
    const char a = path[i] == '\\' ? '/' : path[i];
    const char b = directory[i] == '\\' ? '/' : directory[i];
    if (!EqualsIgnoringCase(std::string_view(&a, 1), std::string_view(&b, 1))) return false;
  }
  return path.size() == directory.size() || path[directory.size()] == '/' ||
         path[directory.size()] == '\\';
}

std::string InjectedMessage(EnvOperation operation, std::string_view given) {
  return std::string("Injected failure of ") + OperationName(operation) + " on \"" +
         std::string(given) + "\"";
}

}  // namespace

TestEnv::TestEnv(Env* target)
    : EnvWrapper(target),
      host_(target->MapPath(root_.Join("host"))),
      current_(target->MapPath(root_.Join("current"))),
      system_(target->MapPath(root_.Join("drive_c/Windows/System32"))),
      now_(EncodeDateTime(
          {.year = 2026, .month = 12, .day = 7, .hour = 10, .minute = 5, .second = 7})) {
  for (const std::string& directory : {host_, current_, system_}) {
    target->CreateDirectories(directory);
  }
}

std::string TestEnv::DriveRoot(char letter) const {
  return target()->MapPath(root_.Join(std::string("drive_") + static_cast<char>(letter | 0x20)));
}

void TestEnv::AdvanceClock(std::chrono::milliseconds step) {
  now_.value += static_cast<double>(step.count()) / (24.0 * 60 * 60 * 1000);
}

void TestEnv::InjectFailure(EnvOperation operation, int times, std::string path_contains,
                            int windows_code) {
  failures_[operation] = Failure{times, std::move(path_contains), windows_code};
}

bool TestEnv::ShouldFail(EnvOperation operation, std::string_view given, std::string_view real) {
  const auto found = failures_.find(operation);
  if (found == failures_.end()) return false;
  Failure& failure = found->second;
  const std::string& text = failure.path_contains;
  if (!text.empty() && given.find(text) == std::string_view::npos &&
      real.find(text) == std::string_view::npos) {
    return false;
  }
  if (failure.times != kEveryCall && --failure.times == 0) {
    failures_.erase(found);
  }
  return true;
}

void TestEnv::MaybeFail(EnvOperation operation, std::string_view given, std::string_view real) {
  const auto found = failures_.find(operation);
  const int code = found != failures_.end() ? found->second.windows_code : 0;
  if (ShouldFail(operation, given, real)) throw FileError(InjectedMessage(operation, given), code);
}

std::string TestEnv::MapPath(std::string_view path) {
  // A real path under the test's own folder (one this Env gave out) is
  // already mapped; on Windows it starts with a drive letter that must not
  // be redirected again.
  if (IsWithin(path, root())) return target()->MapPath(path);
  return target()->MapPath(SpellRealPath(
      path, [this](char letter) { return DriveRoot(letter); }, [this] { return current_; }));
}

bool TestEnv::FileExists(std::string_view path) { return target()->FileExists(MapPath(path)); }

bool TestEnv::DirectoryExists(std::string_view path) {
  return target()->DirectoryExists(MapPath(path));
}

std::string TestEnv::ReadFile(std::string_view path) {
  const std::string real = MapPath(path);
  MaybeFail(EnvOperation::kReadFile, path, real);
  return target()->ReadFile(real);
}

void TestEnv::WriteFile(std::string_view path, std::string_view bytes) {
  const std::string real = MapPath(path);
  const auto found = failures_.find(EnvOperation::kWriteFile);
  const int code = found != failures_.end() ? found->second.windows_code : 0;
  if (ShouldFail(EnvOperation::kWriteFile, path, real)) {
    // A disk that fills up half-way leaves what fitted, as a real one does.
    if (code == kWinDiskFull) target()->WriteFile(real, bytes.substr(0, bytes.size() / 2));
    throw FileError(InjectedMessage(EnvOperation::kWriteFile, path), code);
  }
  target()->WriteFile(real, bytes);
}

void TestEnv::AppendFile(std::string_view path, std::string_view bytes) {
  const std::string real = MapPath(path);
  MaybeFail(EnvOperation::kAppendFile, path, real);
  target()->AppendFile(real, bytes);
}

void TestEnv::CopyFileTo(std::string_view from, std::string_view to) {
  const std::string real_from = MapPath(from);
  const std::string real_to = MapPath(to);
  const std::string given = std::string(from) + " -> " + std::string(to);
  MaybeFail(EnvOperation::kCopyFile, given, real_from + " -> " + real_to);
  target()->CopyFileTo(real_from, real_to);
}

void TestEnv::RenameFile(std::string_view from, std::string_view to) {
  const std::string real_from = MapPath(from);
  const std::string real_to = MapPath(to);
  const std::string given = std::string(from) + " -> " + std::string(to);
  MaybeFail(EnvOperation::kRenameFile, given, real_from + " -> " + real_to);
  target()->RenameFile(real_from, real_to);
}

bool TestEnv::RemoveFile(std::string_view path) {
  const std::string real = MapPath(path);
  MaybeFail(EnvOperation::kRemoveFile, path, real);
  return target()->RemoveFile(real);
}

void TestEnv::CreateDirectories(std::string_view path) {
  const std::string real = MapPath(path);
  MaybeFail(EnvOperation::kCreateDirectories, path, real);
  target()->CreateDirectories(real);
}

std::vector<std::string> TestEnv::ListFiles(std::string_view directory, std::string_view pattern) {
  const std::string real = MapPath(directory);
  MaybeFail(EnvOperation::kListFiles, directory, real);
  return target()->ListFiles(real, pattern);
}

LibraryHandle TestEnv::OpenLibrary(std::string_view name) {
  injected_library_error_.clear();
  const std::size_t separator = name.find_last_of("/\\");
  // A library named with its directory is looked for in the redirected one.
  const std::string real =
      separator == std::string_view::npos
          ? std::string(name)
          : MapPath(name.substr(0, separator + 1)) + "/" + std::string(name.substr(separator + 1));
  if (ShouldFail(EnvOperation::kOpenLibrary, name, real)) {
    injected_library_error_ = InjectedMessage(EnvOperation::kOpenLibrary, name);
    return nullptr;
  }
  return target()->OpenLibrary(real);
}

std::string TestEnv::LastLibraryError() {
  return injected_library_error_.empty() ? target()->LastLibraryError() : injected_library_error_;
}

std::unique_ptr<SerialPort> TestEnv::OpenSerialPort(std::string_view name,
                                                    const SerialTimeouts& timeouts) {
  MaybeFail(EnvOperation::kOpenSerialPort, name, name);
  return target()->OpenSerialPort(name, timeouts);
}

bool TestEnv::CanOpenSerialPort(std::string_view name) {
  return !ShouldFail(EnvOperation::kOpenSerialPort, name, name) &&
         target()->CanOpenSerialPort(name);
}

}  // namespace zel
