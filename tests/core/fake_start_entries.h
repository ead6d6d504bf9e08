// Fake entries for the start and validation operations: the port, the
// power check, the clock, the identification readings and the grand total,
// each answering from fields a test sets and noting its call (entry name
// without the "Bematech_FI_" prefix) in the FakeFiscalPrinter's journal.
//
//   FakeFiscalPrinter printer;
//   FakeStartPrinter start;          // installs the entries below
//   start.date = "071226";            // what DataHoraImpressora answers
//
// Out-buffers get the reply cut or padded to the entry's width. One
// instance at a time, after the FakeFiscalPrinter; one test thread.
#ifndef ZEL_TESTS_CORE_FAKE_START_ENTRIES_H_
#define ZEL_TESTS_CORE_FAKE_START_ENTRIES_H_

#include <string>

namespace zel {

struct FakeStartPrinter {
  FakeStartPrinter();
  ~FakeStartPrinter();
  FakeStartPrinter(const FakeStartPrinter&) = delete;
  FakeStartPrinter& operator=(const FakeStartPrinter&) = delete;

  int port_result = 1;
  int power_result = 1;
  std::string date = "071226";  // DDMMYY
  std::string time = "100507";  // hhnnss
  int clock_result = 1;
  std::string movement_date = "071226";
  int movement_result = 1;
  std::string register_number = "0001";
  std::string serial = "BE0910101000112";
  std::string grand_total = "000000000000123456";
  int grand_total_result = 1;
};

}  // namespace zel

#endif  // ZEL_TESTS_CORE_FAKE_START_ENTRIES_H_
