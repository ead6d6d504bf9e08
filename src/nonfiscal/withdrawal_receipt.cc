// The withdrawal receipt: two copies of the list of what the cashier hands
// in, and the linked receipt the closing documents are printed in.
#include <string>

#include "core/data_module.h"
#include "host/string_functions.h"
#include "nonfiscal/closing_documents.h"
#include "nonfiscal/report_layout.h"
#include "nonfiscal/text_pieces.h"
#include "zel/driver_state.h"
#include "zel/operations.h"

namespace zel {
namespace {

// The one-cent receipt of the closing documents is paid in this form,
// written out rather than taken from the message table.
constexpr char kClosingReceiptForm[] = "Rel Gerencial";

std::string Rule() { return std::string(kReportWidth, '-'); }

std::string Header(bool envelope_column) {
  std::string header =
      TamFixo(MsgPadrao("Modalidade"), 25) + " " + TamFixoR(MsgPadrao("Valor_"), 15);
  return envelope_column ? MsgPadrao("Envelope") + " " + header : header;
}

std::string Signature(Dataset& people, bool supervisor) {
  people.First();
  const std::string line = supervisor
                               ? MsgPadrao("Superv") + " : " + people.AsText("CDSUPERVISOR") + " " +
                                     people.AsText("NMSUPERVISOR")
                               : MsgPadrao("Operador") + " : " + people.AsText("CDOPERADOR") + " " +
                                     people.AsText("NMOPERADOR");
  return line.substr(0, kReportWidth);
}

}  // namespace

bool OpenClosingReceipt(ClosingCall& call) {
  const std::string value = OneCentReceiptValue();
  Zel00101::Cupom_NFiscNVinc("", Zel00101::IdTotRelatorio, value, kClosingReceiptForm);
  Zel00101::stRetorno = Zel00101::Nr_Cupom("", call.colour_scheme);
  const std::string number = Zel00101::stRetorno;
  const bool opened = Zel00101::Abre_Comp_NFiscalVinc("", ReportPaymentForm(), value, number);
  if (EmptyString(*call.document_number)) *call.document_number = number;
  call.document_open = opened;
  return opened;
}

void CloseClosingReceipt(ClosingCall& call) {
  if (!call.document_open) return;
  Zel00101::FechRelatGerenc(call.colour_scheme, true, true);
  call.document_open = false;
}

const char* WithdrawalAmountField(bool withdrawal_only) {
  return withdrawal_only ? "VRFECHADIG" : "VRFECHAINF";
}

void PrintWithdrawalCopies(Dataset& movements, Dataset& people, bool envelope_column,
                           bool withdrawal_only) {
  const char* amount_field = WithdrawalAmountField(withdrawal_only);
  ReportText text;
  // Lines printed so far, the leading blank line included: every tenth
  // line past the header gets a blank line more before the signatures.
  int lines = 1;
  text.BlankLine();
  for (int copy = 1; copy <= 2; ++copy) {
    text.Line(Centraliza(MsgPadrao(copy == 1 ? "RecSangria3" : "RecSangria1"), kReportWidth));
    text.Line(Rule());
    text.Line(Header(envelope_column));
    lines += 3;
    text.Send();

    double total = 0;
    for (movements.First(); !movements.Eof(); movements.Next()) {
      const double amount = movements.AsDouble(amount_field);
      text.Line(movements.AsText("NRENVELOPE") + " " + TamFixo(movements.AsText("NMTIPORECE"), 25) +
                " " + AmountColumn(amount, 15));
      text.Send();
      total += amount;
      ++lines;
    }

    text.Line(TamFixo(MsgPadrao("Sangrias"), 27) + AmountColumn(total, 15));
    text.BlankLine();
    lines += 2;
    if ((lines - 3) % 10 == 0) {
      text.BlankLine();
      ++lines;
    }
    text.Line(Rule());
    text.Line(Signature(people, copy == 1));
    text.Send();
    lines += 2;
  }
}

}  // namespace zel
