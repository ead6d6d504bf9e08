// Fake entries of the fiscal library for unit tests of the vendor-call
// pattern and the return analysis: plain functions that the test puts in
// the vendor entry table, answering from a script and writing every call
// into one journal, together with the dialogs the driver shows, so a test
// can check what happened in which order.
//
//   FakeFiscalPrinter printer;           // installs the fakes
//   printer.SetStatus({.st1 = 2});       // what RetornoImpressora answers
//   ... AnalisaRetorno(...) ...
//   EXPECT_THAT(printer.journal, ElementsAre("RetornoImpressora", ...));
//
// One instance at a time (the entries are plain functions); the destructor
// empties the whole table. One test thread.
#ifndef ZEL_TESTS_CORE_FAKE_FISCAL_ENTRIES_H_
#define ZEL_TESTS_CORE_FAKE_FISCAL_ENTRIES_H_

#include <deque>
#include <string>
#include <vector>

#include "platform/env.h"
#include "support/recording_host.h"

namespace zel {

// What Bematech_FI_RetornoImpressora delivers for one call.
struct FakeStatus {
  int result = 1;  // the entry's own return: 1 when it could read the status
  int ack = 6;
  int st1 = 0;
  int st2 = 0;
};

class FakeFiscalPrinter {
 public:
  // Installs Bematech_FI_RetornoImpressora, _CancelaCupom, _FinalizaModoTEF
  // and BemaLe_Variaveis.
  FakeFiscalPrinter();
  ~FakeFiscalPrinter();
  FakeFiscalPrinter(const FakeFiscalPrinter&) = delete;
  FakeFiscalPrinter& operator=(const FakeFiscalPrinter&) = delete;

  // The status of every later read...
  void SetStatus(FakeStatus status);
  // ...or, for the next reads in order, these (then the last one again).
  void ScriptStatuses(std::initializer_list<FakeStatus> statuses);

  // "RetornoImpressora", "FinalizaModoTEF", "CancelaCupom", "Le_Variaveis",
  // and "Mensagem: <text>" for each dialog when the host is a JournalingHost.
  std::vector<std::string> journal;
  // Out-values RetornoImpressora found on entry ("ack,st1,st2"), per call.
  std::vector<std::string> status_presets;
  int cancel_result = 1;
  // What BemaLe_Variaveis writes at the start of its buffer, and the
  // buffer it received.
  std::string reply_variables;
  std::string reply_buffer_received;

  // Used by the fake entries.
  static FakeFiscalPrinter* current();
  FakeStatus NextStatus();

 private:
  std::deque<FakeStatus> statuses_;
  FakeStatus last_status_;
};

// A RecordingHost that also notes each dialog in the current fake printer's
// journal, so dialogs and printer calls can be checked in one sequence.
class JournalingHost : public RecordingHost {
 public:
  bool Mensagem(const std::string& text, const std::string& caption, const std::string& letter_n,
                const std::string& question, int kind, const std::string& extra,
                const std::string& colour_scheme, int number, Dataset* dataset) override;
};

// The texts of this month's debug-log entries, in order and in UTF-8, with
// the date and time in front taken off. Reads the log of env's clock; an
// absent file gives no entries. Every entry must carry the clock's current
// date and time, so pin the clock.
std::vector<std::string> DebugLogEntries(Env& env);

}  // namespace zel

#endif  // ZEL_TESTS_CORE_FAKE_FISCAL_ENTRIES_H_
