// The body of the operator's and the general closing report: what was
// sold, what left the till, and whether the cash handed in is short.
#include <string>

#include "core/data_module.h"
#include "host/string_functions.h"
#include "nonfiscal/closing_documents.h"
#include "nonfiscal/report_layout.h"

namespace zel {
namespace {

// Movement kinds (IDTIPOREG): withdrawals, listed and summed; and the
// three whose last value stands for the period.
constexpr char kWithdrawal[] = "1";
constexpr char kLateWithdrawal[] = "5";
constexpr char kVoucherIssued[] = "2";
constexpr char kSupply[] = "3";
constexpr char kVoucherReceived[] = "4";

std::string Labelled(const std::string& label, double amount) {
  return TamFixo(label, 33) + AmountColumn(amount, 15);
}

// The message texts here are plain ASCII.
std::string UpperAscii(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

void ApplyMovements(Dataset& movements, ClosingFigures& figures, ReportText& text) {
  for (movements.First(); !movements.Eof(); movements.Next()) {
    const std::string kind = RTrim(movements.AsText("IDTIPOREG"));
    const double amount = movements.AsDouble("VRSAIDA");
    if (kind == kWithdrawal || kind == kLateWithdrawal) {
      text.Line(Labelled(movements.AsText("NMTIPORECE"), amount));
      text.Send();
      figures.withdrawals += amount;
    } else if (kind == kVoucherIssued) {
      figures.voucher_issued = amount;
    } else if (kind == kSupply) {
      figures.supply = amount;
    } else if (kind == kVoucherReceived) {
      figures.voucher_received = amount;
    }
  }
}

}  // namespace

void PrintClosingReport(const std::string& title, Dataset* movements, ClosingFigures figures) {
  ReportText text;
  text.Line(Centraliza(title, 47));
  text.BlankLine();
  text.Line(TamFixo(MsgPadrao("Vendas"), 35) + AmountColumn(figures.sales, 13));
  text.Line(std::string(kReportWidth, '-'));
  text.Send();

  if (movements != nullptr) ApplyMovements(*movements, figures, text);

  const double handed_in =
      figures.withdrawals + figures.voucher_received - figures.supply - figures.voucher_issued;
  // Compared in cents: binary crumbs must not turn an even day into a
  // shortage of -0,00.
  const double difference = RoundDec(handed_in - figures.sales, 2);
  text.Line(Labelled(MsgPadrao("CV-RECEBIDO") + "(+)", figures.voucher_received));
  text.Line(Labelled(MsgPadrao("CV-EMITIDO") + "(-)", figures.voucher_issued));
  text.Line(Labelled(UpperAscii(MsgPadrao("Suprimento")) + "(-)", figures.supply));
  text.Line(std::string(kReportWidth, '-'));
  text.Line(Labelled(MsgPadrao("Sangrias"), handed_in));
  text.BlankLine();
  text.Line(Labelled(MsgPadrao(difference >= 0 ? "Sobra" : "Falta"), difference));
  text.Send();
}

}  // namespace zel
