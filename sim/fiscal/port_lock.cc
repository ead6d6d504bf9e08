#include "port_lock.h"

#include <filesystem>
#include <system_error>

#include "zel/env.h"
#include "zel/error.h"

namespace ecfsim {
namespace {

// Holds the host SDK's lock on the folder's port.lock: an exclusive lock of
// the system (flock on Linux, a file opened without sharing on Windows) that
// the process's end lets go of too.
class FilePortLock : public PortLock {
 public:
  explicit FilePortLock(std::unique_ptr<zel::FileLock> lock) : lock_(std::move(lock)) {}

 private:
  std::unique_ptr<zel::FileLock> lock_;
};

}  // namespace

std::unique_ptr<PortLock> TryLockPort(const std::string& directory) {
  std::error_code ec;
  std::filesystem::create_directories(directory, ec);
  // The system's own Env, never a host's or a test's replacement: the lock
  // is the printer's, not the driver's.
  std::unique_ptr<zel::FileLock> lock;
  try {
    lock = zel::Env::Default()->TryLockFile(directory + "/port.lock");
  } catch (const zel::Error&) {
    // No lock file can be made where no memory can be written either: the
    // printer goes on and reports its memory error.
    return std::make_unique<PortLock>();
  }
  if (!lock) return nullptr;
  return std::make_unique<FilePortLock>(std::move(lock));
}

}  // namespace ecfsim
