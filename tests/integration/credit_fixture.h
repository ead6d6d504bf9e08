// CreditFixture: a DriverFixture that also has the simulated non-fiscal
// receipt printer (Mp2032.dll, libMp2032.so on Linux) and, where the system
// has one, a pseudo-terminal standing in for the receipt printer's serial
// port COM5 (port_.available(); not under wine).
//
// The fiscal printer is ready for reports: totalizer 02 "Rel Gerencial"
// (IdTotRelatorio), 03 "Compra Credito" and 04 "Canc Credito", and payment
// forms "Rel Gerencial" and "Cartao" that take linked receipts. Journals
// are cleared at the end of SetUp. One test thread.
#ifndef ZEL_TESTS_INTEGRATION_CREDIT_FIXTURE_H_
#define ZEL_TESTS_INTEGRATION_CREDIT_FIXTURE_H_

#include <chrono>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "pseudo_terminal.h"
#include "support/driver_fixture.h"
#include "zel/dataset.h"
#include "zel/variant.h"

namespace zel {

// A host dataset with the given fields and rows (values in field order),
// open on its first row.
Dataset MakeTable(const std::string& name, std::initializer_list<FieldDef> fields,
                  std::initializer_list<std::vector<Variant>> rows = {});
void AddRow(Dataset& table, const std::vector<Variant>& values);

class CreditFixture : public DriverFixture {
 protected:
  static constexpr char kReceiptPort[] = "COM5";

  void SetUp() override;
  void TearDown() override;

  // A function of the simulated receipt printer ("NfSim_Reset").
  template <typename Signature>
  Signature* Receipt(std::string_view name) {
    return reinterpret_cast<Signature*>(RequireSymbol(receipt_printer_, "libMp2032.so", name));
  }
  std::vector<std::string> ReceiptJournal();
  // The receipt printer's paper, UTF-8 lines.
  std::vector<std::string> ReceiptTape();
  // The fiscal printer's paper, UTF-8 lines.
  std::vector<std::string> FiscalTape();
  // What the fiscal printer was given to print (each text sent to a linked
  // receipt or management report, joined), Windows-1252.
  std::string PrintedText();
  // Every Usa_CompNFis piece, in order.
  std::vector<std::string> PrintedPieces();
  // Journal calls of the fiscal printer that start with `prefix`.
  std::vector<std::string> FiscalCalls(std::string_view prefix);

  PseudoTerminal port_;

 private:
  void SetEnvironment(const char* name, const std::string& value);

  LibraryHandle receipt_printer_ = nullptr;
  bool ready_ = false;
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

}  // namespace zel

#endif  // ZEL_TESTS_INTEGRATION_CREDIT_FIXTURE_H_
