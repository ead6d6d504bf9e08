// Consumer debit receipts (a sale paid from a prepaid account) and the
// receipt of a cancelled credit purchase, on the fiscal printer.
#include <string>
#include <vector>

#include "core/data_module.h"
#include "core/messages.h"
#include "credit/credit_text.h"
#include "host/codepage.h"
#include "host/date_format.h"
#include "host/number_format.h"
#include "host/string_functions.h"
#include "nonfiscal/text_pieces.h"
#include "platform/env.h"
#include "zel/credit_operations.h"
#include "zel/dataset.h"
#include "zel/debug_log.h"
#include "zel/driver_state.h"
#include "zel/operations.h"

namespace zel {
namespace {

constexpr std::size_t kPaymentFormLength = 16;
// Not a coupon number: what Nr_Cupom answers when it could not read one.
constexpr char kNoCouponNumber[] = "ERRO";

std::string Line(std::string_view text) { return std::string(text) + "\n"; }

std::string ProductLine(const Dataset& products) {
  const double quantity = products.AsDouble("QTPRODCOMVEN");
  const double price = products.AsDouble("VRPRECCOMVEN");
  return Line(TamFixo(products.AsText("CDARVPROD").substr(0, 10) + " " +
                          products.AsText("NMPRODUTO").substr(0, 12) + "  " +
                          FormatFloat("0.00#", quantity),
                      30) +
              "  " + PadL(FormatFloat("0.00", price), 8) +
              PadL(FormatFloat("0.00", Trunc2(quantity * price)), 8));
}

struct DebitReceipt {
  std::string consumer_code;
  std::string consumer_name;
  std::string client_code;
  std::string client_line2;
};

std::string DebitHeading(const DebitReceipt& r) {
  return "\n" + Line(Centraliza(MsgPadrao("ComprDebito"), kCreditWidth)) + Line(Rule()) +
         Line(CutTo(MsgPadrao("CDCLIE") + r.client_code)) +
         Line(CutTo(std::string(9, ' ') + r.client_line2)) + Line(Rule()) +
         Line(CutTo(MsgPadrao("CDCons") + r.consumer_code)) +
         Line(CutTo(MsgPadrao("NmCons") + r.consumer_name)) + Line(Rule()) +
         Line(Centraliza(MsgPadrao("ProdVend"), kCreditWidth)) +
         Line(std::string(kCreditWidth, ' ')) + Line(MsgPadrao("Cabecalho"));
}

}  // namespace
}  // namespace zel

namespace Zel00101 {

bool Comp_DebitoCons(const std::string& EsquemaCor, const zel::Variant& Produtos, double Total,
                     const std::string& FormaPgto, const std::string& CdConsumidor,
                     const std::string& NmConsumidor, const std::string& CdCliente,
                     const std::string& Cliente2, const std::string& SenhaPedido,
                     double SaldoParte1, double PrecoSubsidiado, double Complemento,
                     const std::string& Modo) {
  using namespace zel;
  TdtmBematech10& module = EnsureDataModule();
  Dataset& products = module.cdsProdDeb;
  products.SetData(Produtos);
  RequireFields(products, {"CDARVPROD", "NMPRODUTO", "QTPRODCOMVEN", "VRPRECCOMVEN"});
  const double new_balance = SaldoParte1 + PrecoSubsidiado + Complemento - Total;
  if (!(RoundDec(Total, 2) > 0)) return true;
  const std::string value = ReceiptValueText(Total);
  // Laid out before the printer is asked anything: a product whose
  // quantity or price is no number raises with nothing printed.
  std::vector<std::string> product_lines;
  for (products.First(); !products.Eof(); products.Next()) {
    product_lines.push_back(ProductLine(products));
  }
  const std::string form = FormaPgto.substr(0, kPaymentFormLength);
  const std::string ticket_line =
      SenhaPedido.empty() ? "" : MsgPadrao("SEN_PED") + SenhaPedido + "\r\n";

  const bool receipt = Cupom_NFiscNVinc("", IdTotRelatorio, OneCentReceiptValue(), form);
  const std::string number = Nr_Cupom("", EsquemaCor);
  // "ERRO" is Nr_Cupom's failure, not a number to open the receipt against.
  if (!receipt && (number.empty() || number == kNoCouponNumber)) return false;

  if (!Abre_Comp_NFiscalVinc("", form, value, number)) return false;
  bool printed = SendText(DebitHeading({CdConsumidor, NmConsumidor, CdCliente, Cliente2}));
  for (std::size_t i = 0; printed && i < product_lines.size(); ++i) {
    printed = SendText(product_lines[i]);
  }
  if (printed) {
    std::string closing =
        Line(std::string(kCreditWidth, ' ')) +
        Line(TamFixo(MsgPadrao("Total").substr(0, 40), 15) + PadL(FormatFloat("0.00", Total), 33)) +
        Line(Rule()) + Line(CutTo(ticket_line));
    if (Modo != "2") closing += Line(FillPlaceholder(MsgPadrao2("SALDO_FIN"), Money(new_balance)));
    if (PrecoSubsidiado > 0) closing += MsgPadrao("PRECO_SUBSIDIO") + " " + Money(PrecoSubsidiado);
    if (Complemento > 0) closing += MsgPadrao("VR_COMPLEMENTO") + " " + Money(Complemento);
    printed = SendText(closing);
  }
  // A receipt left open would hold the printer until the next start: it is
  // closed even when a line was refused, and the answer stays false.
  const bool closed = FechRelatGerenc(EsquemaCor, true, false);
  return printed && closed;
}

void ImpDebito_Consumidor(const std::string& /*Reservado1*/, const std::string& /*Reservado2*/,
                          const std::string& EsquemaCor, const std::string& SenhaPedido,
                          const std::string& NmConsumidor, const std::string& LinhaCaixa,
                          const std::string& Observacao, double SaldoAnterior,
                          double ValorAcrescido, zel::Dataset& Itens) {
  using namespace zel;
  EnsureDataModule();
  RequireFields(Itens, {"QTPRODCOMVEN", "VRPRECCOMVEN", "VRDESCCOMVEN", "NMPRODUTO"});
  // The items are laid out before the report opens: one whose quantity,
  // price or discount is no number raises with nothing printed.
  std::vector<std::string> item_lines;
  double total = 0;
  for (Itens.First(); !Itens.Eof(); Itens.Next()) {
    const double quantity = Itens.AsDouble("QTPRODCOMVEN");
    const double net = Itens.AsDouble("VRPRECCOMVEN") - Itens.AsDouble("VRDESCCOMVEN");
    const double value = Trunc2(net * quantity);
    total += value;
    item_lines.push_back(Line(TamFixo(FloatToText(quantity), 5) +
                              TamFixo(Itens.AsText("NMPRODUTO"), 29) + "  " +
                              TamFixoR(FloatToText(value), 10)));
  }
  OpenManagementReport(EsquemaCor);
  ImpFisDebug("Inicia - Debito_Consumidor");

  std::string text = "\n";
  for (const std::string& line : item_lines) {
    SendText(text + line, kDebitReceiptPieceLength);
    text.clear();
    ImpFisDebug("imprimindo Produto Venda_Item");
  }

  text += Line(TamFixoR("Total", 20) + "  " + TamFixoR(FloatToText(total), 24)) + "\n";
  ImpFisDebug("imprime o total da venda" + text);
  const DateTime now = Env::Current()->Now();
  text += Line("Fecha: " + DateToText(now) + " Hora: " + TimeToText(now));
  ImpFisDebug("imprime a data e hora debito consumidor " + text);
  text += Line(Rule()) + Line(MsgPadrao("Consumidor") + "  : " + NmConsumidor);
  ImpFisDebug("Nome do consumidor ImpDebito_Consumidor" + text);
  const double balance = SaldoAnterior - total + ValorAcrescido;
  text += Line(MsgPadrao("Sald_Cons") + " " + FloatToText(balance));
  ImpFisDebug("Saldo do consumidor ImpDebito_Consumidor" + text);
  text += Line(LinhaCaixa) + "\n";
  ImpFisDebug("Cajero: ImpDebito_Consumidor" + text);
  if (!SenhaPedido.empty()) {
    text += Line(Utf8ToCp1252("seña: ") + SenhaPedido);
    ImpFisDebug("imprime a senha do cupom" + text);
  }
  SendText(text, kDebitReceiptPieceLength);

  ImpFisDebug("Obs cupom - Isent_Simpl");
  SendText(Line(Rule()) + Line(Observacao) + "\n", kDebitReceiptPieceLength);
  ImpFisDebug("Fim - ImpDebito_Consumidor");
  SendText(Line(FooterLine()), kDebitReceiptPieceLength);
  CloseNonFiscalDocument(EsquemaCor);
}

bool Cancela_Cred_Pessoal(const std::string& IdTotCanc, const std::string& /*Reservado2*/,
                          const std::string& /*Reservado3*/, const std::string& /*Reservado4*/,
                          const std::string& EsquemaCor, std::string& NrCupom,
                          const std::string& NrDeposito, const std::string& CdCliente,
                          const std::string& NmConsumidor, const std::string& /*Reservado10*/,
                          const std::string& FormaPgto, double Valor, double SaldoFinal,
                          const std::string& NmFamilia) {
  using namespace zel;
  EnsureDataModule();
  // Checked first: an amount the printer cannot take stops the operation
  // before anything is printed.
  const std::string amount = ReceiptValueText(Valor);
  const std::string cent = OneCentReceiptValue();
  if (!Cupom_NFiscNVinc("", IdTotRelatorio, cent, MsgPadrao("RelGerencial"))) return false;
  NrCupom = Nr_Cupom("", EsquemaCor);
  if (Abre_Comp_NFiscalVinc("", ReportPaymentForm(), cent, NrCupom)) {
    SendText("\n" + Line(Centraliza(MsgPadrao("Canc_ComprCredito"), kCreditWidth)) + Line(Rule()) +
             "\n" + Line(CutTo(MsgPadrao("Canc_Deposito") + ": " + NrDeposito)) +
             Line(std::string(kCreditWidth, ' ')) + Line(CutTo(MsgPadrao("CDCLIE") + CdCliente)) +
             Line(CutTo(MsgPadrao("Consumidor") + ": " + NmConsumidor)) +
             Line(CutTo(MsgPadrao("NmFami") + NmFamilia)) +
             Line(CutTo(MsgPadrao("VrCupom") + Money(Valor))) +
             Line(CutTo(MsgPadrao("Sald_Cons") + Money(SaldoFinal))));
  }
  CloseNonFiscalDocument(EsquemaCor);
  return Cupom_NFiscNVinc("", IdTotCanc, amount, FormaPgto);
}

}  // namespace Zel00101

ZEL_EXPORT_PLAIN_NAME(
    bool, Comp_DebitoCons,
    (const std::string& EsquemaCor, const zel::Variant& Produtos, double Total,
     const std::string& FormaPgto, const std::string& CdConsumidor, const std::string& NmConsumidor,
     const std::string& CdCliente, const std::string& Cliente2, const std::string& SenhaPedido,
     double SaldoParte1, double PrecoSubsidiado, double Complemento, const std::string& Modo),
    (EsquemaCor, Produtos, Total, FormaPgto, CdConsumidor, NmConsumidor, CdCliente, Cliente2,
     SenhaPedido, SaldoParte1, PrecoSubsidiado, Complemento, Modo))
ZEL_EXPORT_PLAIN_NAME(void, ImpDebito_Consumidor,
                      (const std::string& Reservado1, const std::string& Reservado2,
                       const std::string& EsquemaCor, const std::string& SenhaPedido,
                       const std::string& NmConsumidor, const std::string& LinhaCaixa,
                       const std::string& Observacao, double SaldoAnterior, double ValorAcrescido,
                       zel::Dataset& Itens),
                      (Reservado1, Reservado2, EsquemaCor, SenhaPedido, NmConsumidor, LinhaCaixa,
                       Observacao, SaldoAnterior, ValorAcrescido, Itens))
ZEL_EXPORT_PLAIN_NAME(
    bool, Cancela_Cred_Pessoal,
    (const std::string& IdTotCanc, const std::string& Reservado2, const std::string& Reservado3,
     const std::string& Reservado4, const std::string& EsquemaCor, std::string& NrCupom,
     const std::string& NrDeposito, const std::string& CdCliente, const std::string& NmConsumidor,
     const std::string& Reservado10, const std::string& FormaPgto, double Valor, double SaldoFinal,
     const std::string& NmFamilia),
    (IdTotCanc, Reservado2, Reservado3, Reservado4, EsquemaCor, NrCupom, NrDeposito, CdCliente,
     NmConsumidor, Reservado10, FormaPgto, Valor, SaldoFinal, NmFamilia))
