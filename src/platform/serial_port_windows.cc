#include "platform/serial_port_windows.h"

#include <windows.h>

#include <algorithm>

#include "platform/windows_text.h"

namespace zel {
namespace {

// Opened for reading and writing with no sharing: Windows lets one user
// have a port at a time.
HANDLE OpenExclusive(const std::string& device) {
  return ::CreateFileW(Widen(device).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                       OPEN_EXISTING, 0, nullptr);
}

// 19200 baud, 8 data bits, no parity, one stop bit, no flow control, and
// the caller's time-outs (a zero read interval is no interval limit; both
// read limits zero waits for every wanted byte, as on Windows itself).
bool ApplySettings(HANDLE port, const SerialTimeouts& timeouts) {
  DCB settings{};
  settings.DCBlength = sizeof settings;
  if (!::GetCommState(port, &settings)) return false;
  settings.BaudRate = CBR_19200;
  settings.ByteSize = 8;
  settings.Parity = NOPARITY;
  settings.StopBits = ONESTOPBIT;
  settings.fBinary = TRUE;
  settings.fParity = FALSE;
  settings.fOutxCtsFlow = FALSE;
  settings.fOutxDsrFlow = FALSE;
  settings.fDtrControl = DTR_CONTROL_ENABLE;
  settings.fRtsControl = RTS_CONTROL_ENABLE;
  settings.fOutX = FALSE;
  settings.fInX = FALSE;
  if (!::SetCommState(port, &settings)) return false;
  COMMTIMEOUTS limits{};
  limits.ReadIntervalTimeout = static_cast<DWORD>(std::max(timeouts.read_interval_ms, 0));
  limits.ReadTotalTimeoutConstant = static_cast<DWORD>(std::max(timeouts.read_total_ms, 0));
  limits.WriteTotalTimeoutConstant = static_cast<DWORD>(std::max(timeouts.write_total_ms, 0));
  return ::SetCommTimeouts(port, &limits) != 0;
}

class WindowsSerialPort : public SerialPort {
 public:
  WindowsSerialPort(HANDLE port, std::string name) : port_(port), name_(std::move(name)) {}
  ~WindowsSerialPort() override { ::CloseHandle(port_); }
  WindowsSerialPort(const WindowsSerialPort&) = delete;
  WindowsSerialPort& operator=(const WindowsSerialPort&) = delete;

  std::size_t Write(std::string_view bytes) override {
    DWORD written = 0;
    if (!::WriteFile(port_, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)) {
      Fail("write to");
    }
    return written;
  }

  std::string Read(std::size_t max_bytes) override {
    std::string bytes(max_bytes, '\0');
    DWORD read = 0;
    if (!::ReadFile(port_, bytes.data(), static_cast<DWORD>(max_bytes), &read, nullptr)) {
      Fail("read from");
    }
    bytes.resize(read);
    return bytes;
  }

 private:
  [[noreturn]] void Fail(const char* action) {
    throw Error("Cannot " + std::string(action) + " serial port " + name_ + ": " +
                SystemReason(::GetLastError()));
  }

  HANDLE port_;
  std::string name_;
};

}  // namespace

std::optional<std::string> WindowsSerialDevice(std::string_view port_name) {
  if (port_name.find_first_of("/\\") != std::string_view::npos) return std::string(port_name);
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
  const std::string configured = EnvironmentVariable("ZEL_" + upper);
  if (!configured.empty()) return configured;
  return "\\\\.\\COM" + std::to_string(number);
}

std::unique_ptr<SerialPort> OpenWindowsSerialPort(std::string_view port_name,
                                                  const SerialTimeouts& timeouts) {
  const std::string name(port_name);
  const std::optional<std::string> device = WindowsSerialDevice(port_name);
  if (!device) throw Error("Unknown serial port name \"" + name + "\"");
  const std::string described = name + " (" + *device + ")";
  const HANDLE port = OpenExclusive(*device);
  if (port == INVALID_HANDLE_VALUE) {
    throw Error("Cannot open serial port " + described + ": " + SystemReason(::GetLastError()));
  }
  if (!ApplySettings(port, timeouts)) {
    const DWORD error = ::GetLastError();
    ::CloseHandle(port);
    throw Error("Cannot set up serial port " + described + ": " + SystemReason(error));
  }
  return std::make_unique<WindowsSerialPort>(port, described);
}

bool CanOpenWindowsSerialPort(std::string_view port_name) {
  const std::optional<std::string> device = WindowsSerialDevice(port_name);
  if (!device) return false;
  const HANDLE port = OpenExclusive(*device);
  if (port == INVALID_HANDLE_VALUE) return false;
  ::CloseHandle(port);
  return true;
}

}  // namespace zel
