// Linux always has pseudo-terminals: failing to get one fails the test.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include "pseudo_terminal.h"

namespace zel {

PseudoTerminal::PseudoTerminal() {
  master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
  if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) {
    ADD_FAILURE() << "no pseudo-terminal";
    if (master_ >= 0) ::close(master_);
    master_ = -1;
    return;
  }
  slave_name_ = ::ptsname(master_);
}

PseudoTerminal::~PseudoTerminal() {
  if (master_ >= 0) ::close(master_);
}

bool PseudoTerminal::Is19200EightNoneOne() const {
  termios settings{};
  if (::tcgetattr(master_, &settings) != 0) return false;
  return ::cfgetospeed(&settings) == B19200 && ::cfgetispeed(&settings) == B19200 &&
         (settings.c_cflag & CSIZE) == CS8 && (settings.c_cflag & (PARENB | CSTOPB)) == 0;
}

std::string PseudoTerminal::ReceiveAll(std::chrono::milliseconds quiet) {
  std::string received;
  for (;;) {
    pollfd request{master_, POLLIN, 0};
    if (::poll(&request, 1, static_cast<int>(quiet.count())) <= 0) break;
    char buffer[512];
    const ssize_t n = ::read(master_, buffer, sizeof buffer);
    if (n <= 0) break;
    received.append(buffer, static_cast<std::size_t>(n));
  }
  return received;
}

}  // namespace zel
