// The simulated fiscal printer: one per process, shared by every entry.
//
// Each exported entry is a thin shell that calls Run() with its name, its
// arguments (for the journal) and the command itself. Run() serialises the
// commands, loads the printer's memory on first use, applies the conditions
// set through the control API (faults, paper, latency, power), runs the
// command, composes the three status bytes (ACK, ST1, ST2) of the command and
// saves the memory. The command works on the Printer: the state, the clock,
// the fiscal-day rules and the paper.
//
// Threading: Run() and the control API hold one lock; a command must not
// call Run() again.
#ifndef ECFSIM_PRINTER_H_
#define ECFSIM_PRINTER_H_

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "port_lock.h"
#include "printer_state.h"
#include "tape.h"

namespace ecfsim {

// Bits of the status bytes this printer raises. The others of the protocol
// (ST1 16 printer error, 8 syntax error; ST2 8 rate table full, 2 owner not
// programmed) never arise in the simulation except through the control API.
namespace st1 {
inline constexpr int kPaperOut = 128;
inline constexpr int kPaperLow = 64;
inline constexpr int kClockError = 32;
inline constexpr int kUnknownCommand = 4;
inline constexpr int kCouponOpen = 2;
inline constexpr int kParameterCount = 1;
}  // namespace st1

namespace st2 {
inline constexpr int kParameterType = 128;
inline constexpr int kMemoryFull = 64;
inline constexpr int kMemoryError = 32;  // the memory file could not be written
inline constexpr int kRateNotProgrammed = 16;
inline constexpr int kCancelNotAllowed = 4;
inline constexpr int kNotExecuted = 1;
}  // namespace st2

inline constexpr int kAck = 6;
inline constexpr int kNak = 21;

// What an entry returns.
enum ReturnCode : int {
  kOk = 1,                        // carried out
  kNoReply = 0,                   // the host heard no reply
  kBadParameter = -2,             // refused by the library: an argument is malformed
  kRateNotProgrammed = -3,        // the tax rate is not programmed (ST2 16 too)
  kPortInUse = -5,                // the port is open in another process
  kPrinterOff = -6,               // the printer is switched off
  kCannotOpenFile = -18,          // a file could not be opened or written
  kFormNotProgrammed = -24,       // the payment form is not programmed
  kTotalizerNotProgrammed = -25,  // the non-fiscal totalizer is not programmed
  kRefused = -27,                 // the printer refused; the status bytes say why
};

// The result of one command: its return code and the error bits it raised.
// The informative bits (coupon open, paper) are added by Run().
struct Outcome {
  int code = kOk;
  int st1 = 0;
  int st2 = 0;
};
inline Outcome Done() { return {}; }
inline Outcome BadParameter() { return {kBadParameter, 0, 0}; }
inline Outcome Refuse(int st1_bits, int st2_bits, int code = kRefused) {
  return {code, st1_bits, st2_bits};
}
// A command the printer cannot carry out in its present state.
inline Outcome NotNow() { return Refuse(0, st2::kNotExecuted); }

// The status of the last command, as both interfaces report it.
struct StatusBytes {
  bool replied = true;
  int ack = kAck;
  int st1 = 0;
  int st2 = 0;
};

enum class CommandKind {
  kQuery,       // reads or programs; runs without paper
  kPrinting,    // prints; refused without paper
  kStatusRead,  // only reads the status of the last command
};

// Conditions the control API sets for tests and demos. Not persisted.
struct Harness {
  struct Fault {
    int remaining = 0;  // commands still affected; -1 = always
    int code = 0;
    StatusBytes status;
  };
  std::map<std::string, Fault> forced_codes;     // entry -> code, command not carried out
  std::map<std::string, Fault> forced_status;    // entry -> status bytes reported
  std::map<std::string, Fault> dropped_replies;  // entry -> reply lost after the command
  std::vector<std::string> journal;              // "Entry|arg1|arg2..."
  int latency_ms = 0;
  bool powered_off = false;
};

class Printer {
 public:
  PrinterState& state() { return state_; }
  const PrinterState& state() const { return state_; }
  const std::string& directory() const { return directory_; }
  const Tape& tape() const { return tape_; }
  Harness& harness() { return harness_; }
  StatusBytes& last_status() { return last_status_; }
  // The older interface's reply variables of its last frame.
  std::string& last_reply() { return last_reply_; }

  // The printer clock: the computer's clock plus the printer's offset.
  std::int64_t Now() const;
  int Today() const;

  // The fiscal day. A document that moves money needs a day that is open or
  // can be opened today: no Z reduction pending from an earlier day, no Z
  // already made today, and a clock not behind the last movement.
  Outcome CheckDay() const;
  void OpenDayIfNeeded();

  bool CouponOpen() const;
  bool DocumentOpen() const { return state_.document != DocumentState::kIdle; }

  // Starts a document: takes the next COO, prints the header and `title`.
  // The last coupon can no longer be cancelled and no linked receipt can be
  // opened on the payments of the previous document.
  void StartDocument(const std::string& kind, const std::string& title);
  // Prints text (Windows-1252) into the open document, wrapping at 48 columns.
  void Print(const std::string& text);
  void PrintLines(const std::vector<std::string>& lines);
  // Prints the footer and closes the document.
  void FinishDocument();

  // Loads the memory of the directory named by ECFSIM_DIR, once. A memory
  // that does not load (damaged, or missing from a printer that has printed)
  // leaves the printer refusing every command until Reset.
  void EnsureLoaded();
  // Why the memory did not load; empty when it did.
  const std::string& memory_problem() const { return memory_problem_; }
  // Forgets the memory held in this process and lets the port go, as when
  // the process ends; the next command reloads it.
  void Restart();
  // A new printer: its memory, paper, detail tape and journal file are wiped.
  void Reset();
  // Writes the memory to its file; false when that failed. A memory that did
  // not load is never overwritten.
  bool Save();

  // Takes the port for this process (see port_lock.h); false when another
  // process has it.
  bool TakePort();
  void ReleasePort() { port_lock_.reset(); }

 private:
  PrinterState state_;
  std::string directory_;
  Tape tape_{""};
  Harness harness_;
  StatusBytes last_status_;
  std::string last_reply_;
  std::string memory_problem_;
  std::unique_ptr<PortLock> port_lock_;
  bool loaded_ = false;
};

// Runs one entry on the process's printer; see the file comment. When the
// reply is lost (printer off, dropped reply) the entry returns `no_reply`.
int Run(const char* entry, const std::vector<std::string>& args, CommandKind kind,
        const std::function<Outcome(Printer&)>& command, int no_reply = kNoReply);

// Runs a query that only writes its out-values.
int Query(const char* entry, const std::function<void(Printer&)>& fill);

// Runs `action` on the process's printer under the lock (control API).
void WithPrinter(const std::function<void(Printer&)>& action);

}  // namespace ecfsim

#endif  // ECFSIM_PRINTER_H_
