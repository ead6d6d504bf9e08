// The simulated printer's port admits one user at a time, as a serial port
// does: whoever opens it holds an exclusive lock on "port.lock" in the
// printer's folder until it closes the port or its process ends (a killed
// process releases it too). Another process on the same folder is refused.
#ifndef ECFSIM_PORT_LOCK_H_
#define ECFSIM_PORT_LOCK_H_

#include <memory>
#include <string>

namespace ecfsim {

class PortLock {
 public:
  virtual ~PortLock() = default;
};

// Takes the lock of `directory` (made when missing) without waiting; nullptr
// when another user holds it. Where the lock file cannot be made (the folder
// cannot be created) the lock is a token that guards nothing.
std::unique_ptr<PortLock> TryLockPort(const std::string& directory);

}  // namespace ecfsim

#endif  // ECFSIM_PORT_LOCK_H_
