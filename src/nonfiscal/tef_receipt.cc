// The card-payment (TEF) receipts: the slips the card-transaction client
// produced, printed right after the fiscal coupon, normally as a linked
// receipt on the card payment, otherwise as a management report.
//
// A card slip that does not come out must be printed again or the card
// transaction undone by the host, so this is the one place where the
// printing itself sits in an operator retry loop: every failure asks
// Imp_N_Resp and a yes closes what is open and prints every slip again, from
// the first, in a management report. The operation returns only once the
// slips are printed and the document closed, or the operator said no.
#include <string>
#include <vector>

#include "core/data_module.h"
#include "core/dialogs.h"
#include "host/string_functions.h"
#include "nonfiscal/text_pieces.h"
#include "zel/driver_state.h"
#include "zel/host_services.h"
#include "zel/operations.h"

namespace zel {
namespace {

// Seconds the operator gets to tear off one copy before the next prints.
constexpr int kSecondCopyDelay = 4;
constexpr std::size_t kPaymentFormLength = 16;
// The mode argument that asks for a management report from the start.
constexpr int kManagementReportMode = 2;

const std::vector<std::string> kNoTexts;

const std::vector<std::string>& TextsOrNone(const std::vector<std::string>* texts) {
  return texts == nullptr ? kNoTexts : *texts;
}

class TefReceipt {
 public:
  TefReceipt(const std::string& scheme, const std::vector<std::string>& first,
             const std::vector<std::string>& second, bool print_first)
      : scheme_(scheme), first_(first), second_(second), print_first_(print_first) {}

  bool AskRetry() const { return AskYesNo(MsgPadrao("Imp_N_Resp"), scheme_, kStartDialog); }

  // Opens a management report; marks the document open when it did.
  bool OpenReport() {
    open_ = Zel00101::Relatorio_Gerencial_Imp(scheme_, "", "", "");
    return open_;
  }

  bool OpenLinkedReceipt(const std::string& payment_form, const std::string& value,
                         const std::string& number) {
    open_ = Zel00101::Abre_Comp_NFiscalVinc(scheme_, payment_form, value, number);
    return open_;
  }

  // Closes the open document; true when it is closed.
  bool Close() {
    if (open_) open_ = !Zel00101::FechRelatGerenc(scheme_, true, false);
    return !open_;
  }

  // Prints every slip of the transactions into the open document and closes
  // it; false at the first step the printer refused.
  bool PrintPass() {
    for (std::size_t k = 0; k < first_.size(); ++k) {
      if (print_first_ && !PrintText(first_[k])) return false;
      if (k < second_.size()) {
        Host().Delay(kSecondCopyDelay);
        if (!PrintText(second_[k])) return false;
      }
    }
    return Close();
  }

  bool open() const { return open_; }

 private:
  // Line by line, each with its line feed; a last line the slip did not end
  // with one is printed too, ended for it, so no text of the slip is lost.
  static bool PrintText(const std::string& text) {
    for (std::string line : SplitLineByLine(text)) {
      if (!line.ends_with('\n')) line += '\n';
      if (!Zel00101::Usa_CompNFis("", line)) return false;
    }
    return true;
  }

  const std::string& scheme_;
  const std::vector<std::string>& first_;
  const std::vector<std::string>& second_;
  const bool print_first_;
  bool open_ = false;
};

}  // namespace
}  // namespace zel

namespace Zel00101 {

bool ImprimeTef(const std::string& EsquemaCor, const std::vector<std::string>* Textos1,
                const std::vector<std::string>* Textos2,
                const std::vector<std::string>* /*Reservado1*/,
                const std::vector<std::string>* /*Reservado2*/, const std::string& NrDocumento,
                const std::string& FormaPgto, const std::string& /*Reservado3*/, double Valor,
                double /*Reservado4*/, std::int32_t Modo, const std::string& Vinculado) {
  using namespace zel;
  // Bad input is refused before anything reaches the printer.
  const std::string value = ReceiptValueText(Valor);
  while (!Estado_Imp(EsquemaCor, true, false)) {
    if (!AskYesNo(MsgPadrao("Imp_N_Resp"), EsquemaCor, kStartDialog)) return false;
  }
  const std::vector<std::string>& first = TextsOrNone(Textos1);
  if (first.empty()) return false;

  const bool linked = Vinculado == "N";
  TefReceipt receipt(EsquemaCor, first, TextsOrNone(Textos2), linked);
  std::string number = NrDocumento;
  bool opened = false;
  if (Modo == kManagementReportMode) {
    opened = receipt.OpenReport();
  } else {
    number = Nr_Cupom("", EsquemaCor);
    stRetorno = number;
    opened = linked
                 ? receipt.OpenLinkedReceipt(FormaPgto.substr(0, kPaymentFormLength), value, number)
                 : receipt.OpenReport();
  }
  while (!opened) {
    if (!receipt.AskRetry()) return false;
    opened = receipt.OpenReport();
  }

  // A retry closes what is open and prints everything again in a new
  // management report; while closing or reopening fails nothing is
  // printed and the operator is asked again.
  bool printed = receipt.PrintPass();
  while (!printed && receipt.AskRetry()) {
    printed = receipt.Close() && receipt.OpenReport() && receipt.PrintPass();
  }
  receipt.Close();
  // Nr_Cupom answers "ERRO" when it could not read the number: no number
  // is known then.
  return printed && !EmptyString(number) && number != "ERRO";
}

}  // namespace Zel00101

ZEL_EXPORT_PLAIN_NAME(bool, ImprimeTef,
                      (const std::string& EsquemaCor, const std::vector<std::string>* Textos1,
                       const std::vector<std::string>* Textos2,
                       const std::vector<std::string>* Reservado1,
                       const std::vector<std::string>* Reservado2, const std::string& NrDocumento,
                       const std::string& FormaPgto, const std::string& Reservado3, double Valor,
                       double Reservado4, std::int32_t Modo, const std::string& Vinculado),
                      (EsquemaCor, Textos1, Textos2, Reservado1, Reservado2, NrDocumento, FormaPgto,
                       Reservado3, Valor, Reservado4, Modo, Vinculado))
