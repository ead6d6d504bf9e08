// Serial ports, on a pseudo-terminal standing in for the printer's port.
#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <fstream>

#include "platform/env.h"
#include "platform/scoped_environment.h"
#include "platform/serial_port_posix.h"
#include "support/temp_dir.h"

namespace zel {
namespace {

using ::testing::HasSubstr;
using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// The master side of a pseudo-terminal; its slave is the "COM7" device.
class PseudoTerminal {
 public:
  PseudoTerminal() {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) {
      ADD_FAILURE() << "no pseudo-terminal";
      return;
    }
    slave_name_ = ::ptsname(master_);
  }
  ~PseudoTerminal() {
    if (master_ >= 0) ::close(master_);
  }
  PseudoTerminal(const PseudoTerminal&) = delete;
  PseudoTerminal& operator=(const PseudoTerminal&) = delete;

  const std::string& slave_name() const { return slave_name_; }

  void Send(std::string_view bytes) {
    ASSERT_EQ(::write(master_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  }

  // What arrived within the time given, up to `size` bytes.
  std::string Receive(std::size_t size, milliseconds within = milliseconds(1000)) {
    std::string received;
    const auto deadline = Clock::now() + within;
    while (received.size() < size && Clock::now() < deadline) {
      pollfd request{master_, POLLIN, 0};
      if (::poll(&request, 1, 50) <= 0) continue;
      char buffer[256];
      const ssize_t n = ::read(master_, buffer, std::min(sizeof buffer, size - received.size()));
      if (n > 0) received.append(buffer, static_cast<std::size_t>(n));
    }
    return received;
  }

 private:
  int master_ = -1;
  std::string slave_name_;
};

class SerialPortTest : public ::testing::Test {
 protected:
  PseudoTerminal terminal_;
  ScopedEnvironmentVariable com7_{"ZEL_COM7", terminal_.slave_name()};
  Env* env_ = Env::Default();
};

TEST_F(SerialPortTest, BytesWrittenReachTheOtherEndUnchanged) {
  auto port = env_->OpenSerialPort("COM7", {});
  using namespace std::string_literals;
  const std::string bytes =
      "\x1B\x1C"
      "A\n\r\0\xFF fim"s;  // raw: no CR added, nothing eaten
  EXPECT_EQ(port->Write(bytes), bytes.size());
  EXPECT_EQ(terminal_.Receive(bytes.size()), bytes);
}

TEST_F(SerialPortTest, TheLineIs19200BaudEightDataBitsNoParityOneStopBitRaw) {
  auto port = env_->OpenSerialPort("com7:", {});
  const int slave = ::open(terminal_.slave_name().c_str(), O_RDWR | O_NOCTTY);
  ASSERT_GE(slave, 0);
  termios settings{};
  ASSERT_EQ(::tcgetattr(slave, &settings), 0);
  ::close(slave);
  EXPECT_EQ(::cfgetospeed(&settings), B19200);
  EXPECT_EQ(::cfgetispeed(&settings), B19200);
  EXPECT_EQ(settings.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
  EXPECT_EQ(settings.c_cflag & PARENB, 0u);
  EXPECT_EQ(settings.c_cflag & CSTOPB, 0u);
  EXPECT_EQ(settings.c_lflag & (ICANON | ECHO | ISIG), 0u);
  EXPECT_EQ(settings.c_oflag & OPOST, 0u);
  EXPECT_EQ(settings.c_iflag & (ICRNL | IXON), 0u);
}

TEST_F(SerialPortTest, ReadReturnsWhatCameUpToTheSizeAsked) {
  auto port = env_->OpenSerialPort("COM7", {.read_total_ms = 500});
  terminal_.Send("\x06status");
  EXPECT_EQ(port->Read(3), "\x06st");
  EXPECT_EQ(port->Read(100), "atus");  // the rest, then the total time-out ends the read
}

TEST_F(SerialPortTest, AReadTimesOutAboutWhenAsked) {
  auto port = env_->OpenSerialPort("COM7", {.read_total_ms = 200});
  const auto start = Clock::now();
  EXPECT_EQ(port->Read(10), "");
  const auto elapsed = Clock::now() - start;
  EXPECT_GE(elapsed, milliseconds(190));
  EXPECT_LT(elapsed, milliseconds(1000));
}

TEST_F(SerialPortTest, TheIntervalTimeOutEndsAReadAfterTheLastByte) {
  auto port = env_->OpenSerialPort("COM7", {.read_interval_ms = 100, .read_total_ms = 5000});
  terminal_.Send("ab");
  const auto start = Clock::now();
  EXPECT_EQ(port->Read(10), "ab");
  EXPECT_LT(Clock::now() - start, milliseconds(1000));  // well before the total time-out
}

TEST_F(SerialPortTest, AWriteNobodyReadsStopsAtTheWriteTimeOut) {
  auto port = env_->OpenSerialPort("COM7", {.write_total_ms = 200});
  const std::string flood(4 * 1024 * 1024, 'x');  // far more than the terminal buffers
  const auto start = Clock::now();
  const std::size_t written = port->Write(flood);
  const auto elapsed = Clock::now() - start;
  EXPECT_LT(written, flood.size());
  EXPECT_GE(elapsed, milliseconds(190));
  EXPECT_LT(elapsed, milliseconds(2000));
}

TEST_F(SerialPortTest, AnOpenPortIsExclusiveUntilClosed) {
  EXPECT_TRUE(env_->CanOpenSerialPort("COM7:"));
  {
    auto port = env_->OpenSerialPort("COM7", {});
    EXPECT_FALSE(env_->CanOpenSerialPort("COM7:"));
    EXPECT_THROW(env_->OpenSerialPort("COM7", {}), Error);
  }
  EXPECT_TRUE(env_->CanOpenSerialPort("com7"));
}

TEST_F(SerialPortTest, FailuresNameThePortAndTheReason) {
  ScopedEnvironmentVariable com8("ZEL_COM8", "/nonexistent/ttyX");
  try {
    env_->OpenSerialPort("COM8", {});
    ADD_FAILURE() << "opened a missing device";
  } catch (const Error& error) {
    EXPECT_THAT(error.what(), HasSubstr("COM8 (/nonexistent/ttyX)"));
    EXPECT_THAT(error.what(), HasSubstr("No such file or directory"));
  }
  EXPECT_FALSE(env_->CanOpenSerialPort("COM8"));
  EXPECT_THROW(env_->OpenSerialPort("LPT1", {}), Error);
  EXPECT_FALSE(env_->CanOpenSerialPort("LPT1"));
}

TEST_F(SerialPortTest, AFileThatIsNotATerminalCannotBeSetUp) {
  TempDir temp;
  std::ofstream(temp.Join("plain")) << "x";
  ScopedEnvironmentVariable com9("ZEL_COM9", temp.Join("plain"));
  try {
    env_->OpenSerialPort("COM9", {});
    ADD_FAILURE() << "set up a plain file as a port";
  } catch (const Error& error) {
    EXPECT_THAT(error.what(), HasSubstr("Cannot set up serial port COM9"));
  }
}

TEST(SerialDevicePathTest, PortNamesMapToDevices) {
  ScopedEnvironmentVariable com3("ZEL_COM3", std::nullopt);
  ScopedEnvironmentVariable com12("ZEL_COM12", "/dev/ttyUSB0");
  EXPECT_EQ(SerialDevicePath("COM3"), "/dev/ttyS2");
  EXPECT_EQ(SerialDevicePath("com3:"), "/dev/ttyS2");
  EXPECT_EQ(SerialDevicePath("COM12"), "/dev/ttyUSB0");
  EXPECT_EQ(SerialDevicePath("/dev/ttyACM0"), "/dev/ttyACM0");
  EXPECT_EQ(SerialDevicePath("COM0"), std::nullopt);
  EXPECT_EQ(SerialDevicePath("COMX"), std::nullopt);
  EXPECT_EQ(SerialDevicePath("LPT1"), std::nullopt);
  EXPECT_EQ(SerialDevicePath(""), std::nullopt);
}

}  // namespace
}  // namespace zel
