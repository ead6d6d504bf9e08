#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <filesystem>

#include "port_lock.h"

namespace ecfsim {
namespace {

class PosixPortLock : public PortLock {
 public:
  explicit PosixPortLock(int fd) : fd_(fd) {}
  ~PosixPortLock() override { ::close(fd_); }  // closing releases the lock
  PosixPortLock(const PosixPortLock&) = delete;
  PosixPortLock& operator=(const PosixPortLock&) = delete;

 private:
  int fd_;
};

}  // namespace

std::unique_ptr<PortLock> TryLockPort(const std::string& directory) {
  std::error_code ec;
  std::filesystem::create_directories(directory, ec);
  const std::string path = directory + "/port.lock";
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  // No lock file can be made where no memory can be written either: the
  // printer goes on and reports its memory error.
  if (fd < 0) return std::make_unique<PortLock>();
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return nullptr;
  }
  return std::make_unique<PosixPortLock>(fd);
}

}  // namespace ecfsim
