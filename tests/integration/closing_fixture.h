// ClosingFixture: a DriverFixture whose printer is programmed for report
// receipts (totalizer 02 and a payment form "Rel Gerencial" that takes
// linked receipts, IdTotRelatorio "02"), with the host's datasets of the
// closing and product reports and readers of what the printer received.
// One test thread.
#ifndef ZEL_TESTS_INTEGRATION_CLOSING_FIXTURE_H_
#define ZEL_TESTS_INTEGRATION_CLOSING_FIXTURE_H_

#include <string>
#include <vector>

#include "support/driver_fixture.h"
#include "zel/dataset.h"

namespace zel {

// One sold product as the host lists it.
struct SoldProduct {
  std::string code, name;
  double quantity = 1, value = 0, surcharge = 0, discount = 0;
  std::string situation = "T";
  double rate = 18;
};

// One closing movement per payment type, as handed in.
struct HandedIn {
  std::string envelope, payment_type;
  double informed = 0, counted = 0;
};

// One movement of the period: kind ("1" withdrawal ... "5"), name, value.
struct TillMovement {
  std::string kind, name;
  double value = 0;
};

Dataset Products(const std::vector<SoldProduct>& products);
Dataset ClosingMovements(const std::vector<HandedIn>& rows);
Dataset TillMovements(const std::vector<TillMovement>& rows);
// Operator "07 ANA" and supervisor "01 BRUNO"; `with_row` false gives the
// structure only.
Dataset OperatorAndSupervisor(bool with_row = true);

class ClosingFixture : public DriverFixture {
 protected:
  void SetUp() override;

  // The texts the printer received for linked receipts, in order, as sent
  // (Windows-1252).
  std::vector<std::string> Pieces();
  // The document steps the printer saw, in order: "receipt" (a
  // RecebimentoNaoFiscal), "open", "piece", "close", "x" (an X reading).
  std::vector<std::string> Steps();
  // The dialogs shown, in UTF-8.
  std::vector<std::string> Dialogs();
  // 4 while a management report is open, 3 a linked receipt, 0 none.
  int ExtendedStatus();
};

// A document number as the printer gives it: "000042".
std::string SixDigits(long long number);

// `text` in Windows-1252 (the tests write UTF-8).
std::string Cp(const std::string& text);

}  // namespace zel

#endif  // ZEL_TESTS_INTEGRATION_CLOSING_FIXTURE_H_
