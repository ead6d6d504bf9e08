// The master side of a pseudo-terminal; its slave is the device a serial
// port name is mapped to (ZEL_COMn), so a test reads what the driver sent.
// Linux has them (pseudo_terminal_posix.cc); a Windows program has none,
// even under wine, so there (pseudo_terminal_windows.cc) none is available
// and the tests that need one say so and skip.
#ifndef ZEL_TESTS_INTEGRATION_PSEUDO_TERMINAL_H_
#define ZEL_TESTS_INTEGRATION_PSEUDO_TERMINAL_H_

#include <chrono>
#include <string>

namespace zel {

class PseudoTerminal {
 public:
  PseudoTerminal();
  ~PseudoTerminal();
  PseudoTerminal(const PseudoTerminal&) = delete;
  PseudoTerminal& operator=(const PseudoTerminal&) = delete;

  // False where the system offers no pseudo-terminal; then nothing arrives.
  bool available() const { return master_ >= 0; }
  const std::string& slave_name() const { return slave_name_; }
  // Whether the line is set to 19200 baud, 8 data bits, no parity, one
  // stop bit (as the last opener of the slave left it).
  bool Is19200EightNoneOne() const;
  // What arrived until nothing more came for `quiet`.
  std::string ReceiveAll(std::chrono::milliseconds quiet = std::chrono::milliseconds(300));

 private:
  int master_ = -1;
  std::string slave_name_;
};

}  // namespace zel

#endif  // ZEL_TESTS_INTEGRATION_PSEUDO_TERMINAL_H_
