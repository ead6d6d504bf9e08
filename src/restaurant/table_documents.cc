// The table documents whose text the host composes (check, exchange
// receipt) and those the driver lays out from the host's items (the
// table-opening receipt and the sales record). All are linked receipts.
#include <exception>
#include <string>
#include <vector>

#include "core/data_module.h"
#include "host/codepage.h"
#include "host/string_functions.h"
#include "nonfiscal/text_pieces.h"
#include "restaurant/document_text.h"
#include "zel/dataset.h"
#include "zel/host_services.h"
#include "zel/operations.h"

namespace zel {
namespace {

// A table number has exactly this many characters; any other is an order
// pad's.
constexpr std::size_t kTableNumberLength = 4;

std::string OpeningHeading(const std::string& table, const std::string& issued) {
  return BlankLine() + BlankLine() + DashLine() + BlankLine() + std::string(15, ' ') +
         MsgPadrao("Aber_mesa") + "\n" + BlankLine() + MsgPadrao("Mesa") + ": " + table + "\n" +
         MsgPadrao("Emissao") + ": " + issued + "\n" + DashLine();
}

// Two lines per product: code and name; quantity, unit price and the line
// total cut to cents.
std::string OpeningItem(const Dataset& items) {
  const double quantity = items.AsDouble("QTPRODCOMVEN");
  const double price = items.AsDouble("VRPRECCOMVEN");
  return items.AsText("CDARVPROD") + " " + items.AsText("NMPRODUTO") + "\n" +
         DocumentAmount(quantity, 3) + "   X " + DocumentAmount(price) + "     " +
         PadL(DocumentAmount(Trunc2(quantity * price)), 27) + "\n";
}

// The labelled amount, right-aligned in `width`, only when above zero.
std::string AdjustmentLine(const char* key, double value, int width) {
  if (!(value > 0)) return "";
  return MsgPadrao(key) + ": " + PadL(DocumentAmount(value), width) + "\n";
}

std::string SalesRecordTitle(const std::string& number) {
  if (number.size() == kTableNumberLength) {
    return Utf8ToCp1252("       Relatório de abertura da mesa ") + number;
  }
  return Utf8ToCp1252("   Relatório de abertura da comanda ") + number;
}

std::string SalesRecordItem(const Dataset& items) {
  const double quantity = items.AsDouble("STQTDE");
  const std::string price = items.AsText("STVALOR");
  return items.AsText("CDPROD") + " " + items.AsText("NMPROD") + "\n" + DocumentAmount(quantity) +
         "   X " + price + "     " +
         PadL(DocumentAmount(RoundDec(items.AsDouble("STVALOR") * quantity, 2)), 29) + "\n";
}

}  // namespace
}  // namespace zel

namespace Zel00101 {

bool Conferencia(const std::string& EsquemaCor, std::string& NumeroCupom,
                 const std::string& Texto) {
  zel::EnsureDataModule();
  return zel::PrintHostText(EsquemaCor, "", Texto, NumeroCupom);
}

bool Conferencia_Formatada(const std::string& EsquemaCor, const std::string& /*Reservado1*/,
                           const std::string& /*Reservado2*/, const std::string& Chave,
                           std::string& NumeroCupom, const std::string& Texto) {
  using namespace zel;
  try {
    EnsureDataModule();
    if (!PrintHostText(EsquemaCor, EsquemaCor, Texto, NumeroCupom)) return false;
    Host().GravaDocumentosNaoFiscais(Chave, EsquemaCor, "CM", 0, 0);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

bool Cupom_Troca(const std::string& EsquemaCor, const std::string& /*Reservado1*/,
                 const std::string& /*Reservado2*/, const std::string& Texto) {
  zel::EnsureDataModule();
  std::string number;
  return zel::PrintHostText(EsquemaCor, EsquemaCor, Texto, number);
}

bool Abertura_Mesa(const std::string& EsquemaCor, const std::string& /*Reservado1*/,
                   const std::string& Mesa, const std::string& /*Reservado2*/,
                   const std::string& Emissao, const zel::Variant& Itens, double Desconto,
                   double /*Reservado3*/, double /*Reservado4*/, double TaxaServico,
                   double /*Reservado5*/, double Total, double Acrescimo) {
  using namespace zel;
  Dataset& items = EnsureDataModule().cdsParcProdutos;
  items.SetData(Itens);

  const LinkedReceipt receipt = OpenLinkedReceipt(EsquemaCor);
  std::vector<std::string> pieces = {OpeningHeading(Mesa, Emissao), ColumnHeader() + "\n"};
  for (items.First(); !items.Eof(); items.Next()) pieces.push_back(OpeningItem(items));
  pieces.push_back(BlankLine() + AdjustmentLine("Tx_Serv", TaxaServico, 30) +
                   AdjustmentLine("Acrescimo", Acrescimo, 35) +
                   AdjustmentLine("Desconto", Desconto, 37));
  pieces.push_back(DashLine() + MsgPadrao("Total") + ": " +
                   PadL(DocumentAmount(Trunc2(Total)), 35) + "\n" + BlankLine() + VendorFooter());
  SendCutPieces("", pieces);
  CloseNonFiscalDocument(EsquemaCor);
  return receipt.opened;
}

bool RegistroVenda(const std::string& EsquemaCor, const std::string& /*Reservado1*/,
                   const std::string& /*Reservado2*/, zel::Dataset& Itens,
                   const std::string& Numero) {
  using namespace zel;
  Dataset& items = EnsureDataModule().cdsItemsReg;
  items.SetData(Itens.Data());

  OpenLinkedReceipt(EsquemaCor);
  std::vector<std::string> pieces = {BlankLine() + SalesRecordTitle(Numero) + "\n" + BlankLine() +
                                     DashLine() + std::string(15, ' ') + MsgPadrao("RegVen") +
                                     "\n" + DashLine() + "\n" + ColumnHeader() + "\n"};
  for (items.First(); !items.Eof(); items.Next()) pieces.push_back(SalesRecordItem(items));
  pieces.push_back(BlankLine() + DashLine() + VendorFooter());
  SendCutPieces("", pieces);
  CloseNonFiscalDocument(EsquemaCor);
  return true;
}

}  // namespace Zel00101

ZEL_EXPORT_PLAIN_NAME(bool, Conferencia,
                      (const std::string& EsquemaCor, std::string& NumeroCupom,
                       const std::string& Texto),
                      (EsquemaCor, NumeroCupom, Texto))
ZEL_EXPORT_PLAIN_NAME(bool, Conferencia_Formatada,
                      (const std::string& EsquemaCor, const std::string& Reservado1,
                       const std::string& Reservado2, const std::string& Chave,
                       std::string& NumeroCupom, const std::string& Texto),
                      (EsquemaCor, Reservado1, Reservado2, Chave, NumeroCupom, Texto))
ZEL_EXPORT_PLAIN_NAME(bool, Cupom_Troca,
                      (const std::string& EsquemaCor, const std::string& Reservado1,
                       const std::string& Reservado2, const std::string& Texto),
                      (EsquemaCor, Reservado1, Reservado2, Texto))
ZEL_EXPORT_PLAIN_NAME(bool, Abertura_Mesa,
                      (const std::string& EsquemaCor, const std::string& Reservado1,
                       const std::string& Mesa, const std::string& Reservado2,
                       const std::string& Emissao, const zel::Variant& Itens, double Desconto,
                       double Reservado3, double Reservado4, double TaxaServico, double Reservado5,
                       double Total, double Acrescimo),
                      (EsquemaCor, Reservado1, Mesa, Reservado2, Emissao, Itens, Desconto,
                       Reservado3, Reservado4, TaxaServico, Reservado5, Total, Acrescimo))
ZEL_EXPORT_PLAIN_NAME(bool, RegistroVenda,
                      (const std::string& EsquemaCor, const std::string& Reservado1,
                       const std::string& Reservado2, zel::Dataset& Itens,
                       const std::string& Numero),
                      (EsquemaCor, Reservado1, Reservado2, Itens, Numero))
