// Credit purchase (deposit) receipts: on the fiscal printer as a linked
// receipt, or on the non-fiscal receipt printer through its library or,
// for one model, straight through the serial port.
#include <string>
#include <vector>

#include "core/data_module.h"
#include "credit/credit_text.h"
#include "credit/receipt_printer.h"
#include "host/date_format.h"
#include "host/string_functions.h"
#include "nonfiscal/text_pieces.h"
#include "platform/env.h"
#include "zel/credit_operations.h"
#include "zel/dataset.h"
#include "zel/driver_state.h"
#include "zel/operations.h"

namespace zel {
namespace {

constexpr char kAmountField[] = "VRMOVIVEND";
constexpr char kPaymentNameField[] = "NMTIPORECE";
constexpr int kFiscalCopies = 2;
constexpr int kBlankLinesAfterFirstCopy = 4;
constexpr std::size_t kPaymentFormLength = 16;
constexpr int kLabelWidth = 12;
constexpr int kFeedAfterCopy = 6;
constexpr int kFeedAfterSerialText = 10;
// The model written to straight through the serial port.
constexpr char kSerialModel[] = "7";

struct Deposit {
  std::string consumer;
  std::string number;
  std::string family;
  double before = 0;
  double total = 0;
};

std::string Line(std::string_view text) { return std::string(text) + "\n"; }

// The receipt body of the fiscal printer and of the plain receipt printer.
std::string DepositBody(const Deposit& d) {
  return "\n" + Line(Centraliza(MsgPadrao("ComprCredito"), kCreditWidth)) + Line(Rule()) + "\n" +
         Line(CutTo(MsgPadrao("Nr_Deposito") + d.number)) + Line(std::string(kCreditWidth, ' ')) +
         Line(CutTo(MsgPadrao("NmCons") + d.consumer)) +
         Line(CutTo(MsgPadrao("NmFami") + d.family)) +
         Line(CutTo(MsgPadrao("VrCupom") + Money(d.total))) +
         Line(CutTo(MsgPadrao("VrSaldo") + Money(d.before + d.total)));
}

struct ShopHeader {
  std::string lines[4];
  std::string registration;
  std::string serial;
  std::string coupon;
  std::string closing_line;
};

// Builds the text of one layout line by line, each line ending as the
// printer model wants.
class LayoutText {
 public:
  explicit LayoutText(const ReceiptPrinterModel& model) : model_(model) {}
  void Add(std::string_view line) { text_ += std::string(line) + model_.line_end; }
  void Centred(std::string_view line) { Add(Centraliza(line, model_.width)); }
  void Cut(std::string_view line) { Add(CutTo(line, model_.width)); }
  void Rule() { Add(zel::Rule(model_.width)); }
  void Feed(int lines) {
    for (int i = 0; i < lines; ++i) text_ += model_.line_end;
  }
  const std::string& text() const { return text_; }

 private:
  const ReceiptPrinterModel& model_;
  std::string text_;
};

std::string Labelled(std::string_view label, std::string_view value) {
  return PadR(label, kLabelWidth) + " " + std::string(value);
}

void BrazilianLayout(LayoutText& t, const Deposit& d, const ShopHeader& h) {
  for (const std::string& line : h.lines) t.Centred(line);
  t.Centred(MsgPadrao2("INSCMUNICIPAL") + " " + h.registration);
  t.Rule();
  t.Cut(Labelled(MsgPadrao2("NRSERIE"), h.serial));
  t.Cut(Labelled(MsgPadrao2("DATA"), NowDateTimeText()));
  t.Cut(Labelled(MsgPadrao2("NRCUPOM"), h.coupon));
  t.Cut(Labelled(MsgPadrao2("NRDEPOSITO"), d.number));
  t.Rule();
  t.Cut("Recarga " + d.family);
  t.Cut(MsgPadrao("NmCons") + d.consumer);
  t.Cut(MsgPadrao("VrCupom") + Money(d.total));
  t.Cut(MsgPadrao("VrSaldo") + Money(d.before + d.total));
  t.Rule();
  if (!h.closing_line.empty()) t.Centred(h.closing_line);
  t.Centred(FooterLine());
}

void SpanishLayout(LayoutText& t, const Deposit& d, const ShopHeader& h) {
  const DateTime now = Env::Current()->Now();
  t.Centred(h.lines[0]);
  t.Centred("RUC: " + h.registration);
  t.Centred(h.lines[2]);
  t.Centred("PUNTO DE VENTA: " + h.lines[0]);
  t.Rule();
  t.Add("NR.SERIE...: " + h.serial + " CAJA: " + Zel00101::stAtuCaixa);
  t.Cut("NR.TICKET..: " + h.coupon);
  t.Cut("FECHA......: " + DateToText(now) + " HORA: " + TimeToText(now));
  t.Cut("NR.DEPOSITO: " + d.number);
  t.Rule();
  t.Cut("RECARGA " + d.family);
  t.Cut("CONSUMIDOR..: " + d.consumer);
  t.Cut("VALOR ......: " + Money(d.total));
  t.Cut("SALDO FINAL.: " + Money(d.before + d.total));
  t.Rule();
  if (!h.closing_line.empty()) t.Add(h.closing_line);
  t.Centred(FooterLine());
}

void GenericLayout(LayoutText& t, const Deposit& d, int width) {
  t.Add("");
  t.Centred(MsgPadrao("ComprCredito"));
  t.Rule();
  t.Cut(MsgPadrao("Nr_Deposito") + d.number);
  t.Add(std::string(static_cast<std::size_t>(width), ' '));
  t.Cut(MsgPadrao("NmCons") + d.consumer);
  t.Cut(MsgPadrao("NmFami") + d.family);
  t.Cut(MsgPadrao("VrCupom") + Money(d.total));
  t.Cut(MsgPadrao("VrSaldo") + Money(d.before + d.total));
  t.Rule();
  t.Centred(CutTo(MsgPadrao2("Data") + " " + NowDateTimeText()));
  t.Centred(FooterLine());
}

// The deposit's payments as the printer takes them, each checked before
// anything is printed: a negative or oversized amount raises here.
struct PaymentReceipt {
  std::string value;
  std::string form;
};

std::vector<PaymentReceipt> PaymentReceipts(Dataset& payments) {
  std::vector<PaymentReceipt> receipts;
  for (payments.First(); !payments.Eof(); payments.Next()) {
    receipts.push_back({ReceiptValueText(payments.AsDouble(kAmountField)),
                        payments.AsText(kPaymentNameField).substr(0, kPaymentFormLength)});
  }
  return receipts;
}

}  // namespace
}  // namespace zel

namespace Zel00101 {

bool Compr_CredPessoal(const std::string& /*Reservado1*/, const std::string& IdTotCompra,
                       const std::string& /*Reservado3*/, const std::string& /*Reservado4*/,
                       const std::string& /*Reservado5*/, const std::string& EsquemaCor,
                       std::string& /*Reservado7*/, std::string& /*Reservado8*/,
                       zel::Dataset& Pagamentos, double SaldoAnterior,
                       const std::string& NmConsumidor, const std::string& NrDeposito,
                       const std::string& /*Reservado13*/, const std::string& /*Reservado14*/,
                       const std::string& /*Reservado15*/, const std::string& /*Reservado16*/,
                       const std::string& /*Reservado17*/, const std::string& /*Reservado18*/,
                       const std::string& /*Reservado19*/, const std::string& /*Reservado20*/,
                       const std::string& /*Reservado21*/, const std::string& /*Reservado22*/,
                       const std::string& /*Reservado23*/, const std::string& /*Reservado24*/,
                       bool /*Reservado25*/, const std::string& NmFamilia,
                       const std::string& /*Reservado27*/) {
  using namespace zel;
  EnsureDataModule();
  RequireFields(Pagamentos, {kAmountField, kPaymentNameField});
  const Deposit deposit{NmConsumidor, NrDeposito, NmFamilia, SaldoAnterior,
                        SumField(Pagamentos, kAmountField)};
  const std::vector<PaymentReceipt> payments = PaymentReceipts(Pagamentos);

  const bool opened = OpenReportFrame(EsquemaCor);
  if (opened) {
    for (int copy = 1; copy <= kFiscalCopies; ++copy) {
      std::string text = DepositBody(deposit);
      if (copy == 1) {
        for (int i = 0; i < kBlankLinesAfterFirstCopy; ++i) {
          text += Line(std::string(kCreditWidth, ' '));
        }
      }
      SendText(text);
      if (copy == 1) Guilhotina(1);
    }
  }
  CloseNonFiscalDocument(EsquemaCor);
  if (!opened) return false;

  // Every payment is registered even after a refusal, and the answer is
  // true only when all were: one refused payment is money not accounted for.
  bool all_registered = !payments.empty();
  for (const PaymentReceipt& payment : payments) {
    if (!Cupom_NFiscNVinc("", IdTotCompra, payment.value, payment.form)) all_registered = false;
  }
  return all_registered;
}

bool Compr_Cred_Bematech_MP100(std::string& /*Reservado1*/, zel::Dataset& Pagamentos,
                               double SaldoAnterior, const std::string& NmConsumidor,
                               const std::string& NrDeposito, const std::string& NmFamilia,
                               const std::string& Copias, const std::string& /*Reservado8*/,
                               const std::string& Porta, const std::string& /*Reservado10*/,
                               bool /*Reservado11*/) {
  using namespace zel;
  EnsureDataModule();
  const int copies = ParseCopies(Copias);
  CheckReceiptPortName(Porta);
  RequireFields(Pagamentos, {kAmountField});
  const Deposit deposit{NmConsumidor, NrDeposito, NmFamilia, SaldoAnterior,
                        SumField(Pagamentos, kAmountField)};
  const std::string body = DepositBody(deposit) + "\n\r";
  std::string feed;
  for (int i = 0; i < kFeedAfterCopy; ++i) feed += "\n\r";

  if (!ReceiptPortAvailable(Porta)) return false;
  ReceiptPrinterSession printer;
  if (!printer.Open(Porta)) return false;
  bool printed = true;
  for (int copy = 1; copy <= copies; ++copy) {
    if (!printer.Print(body)) printed = false;
    if (!printer.Print(feed)) printed = false;
  }
  return printed;
}

bool Compr_Cred_Bematech_NFISC(std::string& /*Reservado1*/, zel::Dataset& Pagamentos,
                               double SaldoAnterior, const std::string& NmConsumidor,
                               const std::string& NrDeposito, const std::string& NmFamilia,
                               const std::string& Copias, const std::string& Layout,
                               const std::string& Modelo, const std::string& Porta,
                               const std::string& NrCupom, const std::string& Cabecalho1,
                               const std::string& Cabecalho2, const std::string& Cabecalho3,
                               const std::string& Cabecalho4, const std::string& InscricaoMunicipal,
                               const std::string& NrSerie, const std::string& LinhaFinal,
                               bool /*Reservado19*/) {
  using namespace zel;
  EnsureDataModule();
  const int copies = ParseCopies(Copias);
  const ReceiptPrinterModel model = ModelFor(Modelo);
  CheckReceiptPortName(Porta);
  RequireFields(Pagamentos, {kAmountField});
  const Deposit deposit{NmConsumidor, NrDeposito, NmFamilia, SaldoAnterior,
                        SumField(Pagamentos, kAmountField)};
  const ShopHeader header{{Cabecalho1, Cabecalho2, Cabecalho3, Cabecalho4},
                          InscricaoMunicipal,
                          NrSerie,
                          NrCupom,
                          LinhaFinal};

  LayoutText text(model);
  if (Layout == "01") {
    BrazilianLayout(text, deposit, header);
  } else if (Layout == "02") {
    SpanishLayout(text, deposit, header);
  } else {
    GenericLayout(text, deposit, model.width);
  }

  if (Modelo == kSerialModel) {
    // This model takes one copy, written as it is, with room to tear it off.
    text.Feed(kFeedAfterSerialText);
    return WriteToReceiptPort(text.text(), Porta);
  }
  if (!ReceiptPortAvailable(Porta)) return false;
  ReceiptPrinterSession printer;
  if (!printer.Open(Porta)) return false;
  text.Feed(kFeedAfterCopy);
  bool printed = true;
  for (int copy = 1; copy <= copies; ++copy) {
    if (!printer.Print(text.text())) printed = false;
  }
  printer.Command(model.cut_command);
  return printed;
}

}  // namespace Zel00101

ZEL_EXPORT_PLAIN_NAME(
    bool, Compr_CredPessoal,
    (const std::string& Reservado1, const std::string& IdTotCompra, const std::string& Reservado3,
     const std::string& Reservado4, const std::string& Reservado5, const std::string& EsquemaCor,
     std::string& Reservado7, std::string& Reservado8, zel::Dataset& Pagamentos,
     double SaldoAnterior, const std::string& NmConsumidor, const std::string& NrDeposito,
     const std::string& Reservado13, const std::string& Reservado14, const std::string& Reservado15,
     const std::string& Reservado16, const std::string& Reservado17, const std::string& Reservado18,
     const std::string& Reservado19, const std::string& Reservado20, const std::string& Reservado21,
     const std::string& Reservado22, const std::string& Reservado23, const std::string& Reservado24,
     bool Reservado25, const std::string& NmFamilia, const std::string& Reservado27),
    (Reservado1, IdTotCompra, Reservado3, Reservado4, Reservado5, EsquemaCor, Reservado7,
     Reservado8, Pagamentos, SaldoAnterior, NmConsumidor, NrDeposito, Reservado13, Reservado14,
     Reservado15, Reservado16, Reservado17, Reservado18, Reservado19, Reservado20, Reservado21,
     Reservado22, Reservado23, Reservado24, Reservado25, NmFamilia, Reservado27))
