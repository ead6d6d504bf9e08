#include "platform/serial_port_posix.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <system_error>
#include <utility>

namespace zel {
namespace {

using Clock = std::chrono::steady_clock;

std::string Reason(int error_number) { return std::system_category().message(error_number); }

// Open for reading and writing, never as the controlling terminal, without
// waiting for carrier; an advisory lock keeps a second opener out, as the
// exclusive open of Windows does. Returns -1 with errno set on failure.
int OpenExclusive(const std::string& device) {
  const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return -1;
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int saved = errno;
    ::close(fd);
    errno = saved;
    return -1;
  }
  return fd;
}

// Milliseconds left until `deadline`, for poll(): -1 waits without limit.
int MillisecondsLeft(const std::optional<Clock::time_point>& deadline) {
  if (!deadline) return -1;
  const auto left =
      std::chrono::duration_cast<std::chrono::milliseconds>(*deadline - Clock::now()).count();
  return left > 0 ? static_cast<int>(left) : 0;
}

bool Passed(const std::optional<Clock::time_point>& deadline) {
  return deadline && Clock::now() >= *deadline;
}

std::optional<Clock::time_point> Earlier(const std::optional<Clock::time_point>& a,
                                         const std::optional<Clock::time_point>& b) {
  if (!a) return b;
  if (!b) return a;
  return std::min(*a, *b);
}

std::optional<Clock::time_point> DeadlineAfter(int milliseconds) {
  if (milliseconds <= 0) return std::nullopt;
  return Clock::now() + std::chrono::milliseconds(milliseconds);
}

class PosixSerialPort : public SerialPort {
 public:
  PosixSerialPort(int fd, std::string name, const SerialTimeouts& timeouts)
      : fd_(fd), name_(std::move(name)), timeouts_(timeouts) {}
  ~PosixSerialPort() override { ::close(fd_); }
  PosixSerialPort(const PosixSerialPort&) = delete;
  PosixSerialPort& operator=(const PosixSerialPort&) = delete;

  std::size_t Write(std::string_view bytes) override {
    const auto deadline = DeadlineAfter(timeouts_.write_total_ms);
    std::size_t written = 0;
    while (written < bytes.size()) {
      const ssize_t n = ::write(fd_, bytes.data() + written, bytes.size() - written);
      if (n > 0) {
        written += static_cast<std::size_t>(n);
        continue;
      }
      if (n < 0 && errno != EAGAIN && errno != EINTR) Fail("write to", errno);
      // poll() may call the port writable while write() still refuses, so
      // the deadline is checked here too.
      if (Passed(deadline) || !WaitFor(POLLOUT, MillisecondsLeft(deadline))) break;
    }
    return written;
  }

  std::string Read(std::size_t max_bytes) override {
    const auto total_deadline = DeadlineAfter(timeouts_.read_total_ms);
    std::optional<Clock::time_point> interval_deadline;  // set by each byte that comes
    std::string received;
    char buffer[256];
    while (received.size() < max_bytes) {
      const auto deadline = Earlier(total_deadline, interval_deadline);
      if (Passed(deadline) || !WaitFor(POLLIN, MillisecondsLeft(deadline))) break;
      const std::size_t wanted = std::min(sizeof buffer, max_bytes - received.size());
      const ssize_t n = ::read(fd_, buffer, wanted);
      if (n > 0) {
        received.append(buffer, static_cast<std::size_t>(n));
        interval_deadline = DeadlineAfter(timeouts_.read_interval_ms);
      } else if (n == 0 || errno == EIO) {
        break;  // the other end hung up
      } else if (errno != EAGAIN && errno != EINTR) {
        Fail("read from", errno);
      }
    }
    return received;
  }

 private:
  // True when the port is ready for `events` within `timeout_ms` (-1: no
  // limit); false on time-out. A hung-up port counts as ready so that the
  // following read or write reports it.
  bool WaitFor(short events, int timeout_ms) {
    for (;;) {
      pollfd request{fd_, events, 0};
      const int ready = ::poll(&request, 1, timeout_ms);
      if (ready > 0) return true;
      if (ready == 0) return false;
      if (errno != EINTR) Fail("wait for", errno);
    }
  }

  [[noreturn]] void Fail(const char* action, int error_number) {
    throw Error("Cannot " + std::string(action) + " serial port " + name_ + ": " +
                Reason(error_number));
  }

  int fd_;
  std::string name_;
  SerialTimeouts timeouts_;
};

// 19200 baud, 8 data bits, no parity, one stop bit, bytes passed unchanged.
// Reads and writes never block in the driver: time-outs come from poll().
void ApplyLineSettings(int fd) {
  termios settings{};
  if (::tcgetattr(fd, &settings) != 0) throw std::system_error(errno, std::system_category());
  ::cfmakeraw(&settings);
  settings.c_cflag &= ~(CSIZE | PARENB | CSTOPB);
  settings.c_cflag |= CS8 | CLOCAL | CREAD;
  settings.c_cc[VMIN] = 0;
  settings.c_cc[VTIME] = 0;
  if (::cfsetispeed(&settings, B19200) != 0 || ::cfsetospeed(&settings, B19200) != 0 ||
      ::tcsetattr(fd, TCSANOW, &settings) != 0) {
    throw std::system_error(errno, std::system_category());
  }
}

}  // namespace

std::optional<std::string> SerialDevicePath(std::string_view port_name) {
  if (port_name.find('/') != std::string_view::npos) return std::string(port_name);
  if (!port_name.empty() && port_name.back() == ':') port_name.remove_suffix(1);
  if (port_name.size() < 4 || port_name.size() > 6) return std::nullopt;
  std::string upper;
  for (char c : port_name) upper += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
  if (upper.compare(0, 3, "COM") != 0) return std::nullopt;
  int number = 0;
  for (char c : upper.substr(3)) {
    if (c < '0' || c > '9') return std::nullopt;
    number = number * 10 + (c - '0');
  }
  if (number < 1) return std::nullopt;
  const std::string variable = "ZEL_" + upper;
  const char* configured = std::getenv(variable.c_str());
  if (configured != nullptr && *configured != '\0') return std::string(configured);
  return "/dev/ttyS" + std::to_string(number - 1);
}

std::unique_ptr<SerialPort> OpenPosixSerialPort(std::string_view port_name,
                                                const SerialTimeouts& timeouts) {
  const std::string name(port_name);
  const std::optional<std::string> device = SerialDevicePath(port_name);
  if (!device) throw Error("Unknown serial port name \"" + name + "\"");
  const std::string described = name + " (" + *device + ")";
  const int fd = OpenExclusive(*device);
  if (fd < 0) throw Error("Cannot open serial port " + described + ": " + Reason(errno));
  try {
    ApplyLineSettings(fd);
  } catch (const std::system_error& error) {
    ::close(fd);
    throw Error("Cannot set up serial port " + described + ": " + error.code().message());
  }
  return std::make_unique<PosixSerialPort>(fd, described, timeouts);
}

bool CanOpenPosixSerialPort(std::string_view port_name) {
  const std::optional<std::string> device = SerialDevicePath(port_name);
  if (!device) return false;
  const int fd = OpenExclusive(*device);
  if (fd < 0) return false;
  ::close(fd);
  return true;
}

}  // namespace zel
