// The product report: the products the host sold, as a linked receipt,
// either as a plain list or grouped by tax situation and rate with the
// total of each group.
#include "nonfiscal/product_report.h"

#include <string>

#include "core/data_module.h"
#include "core/dialogs.h"
#include "host/number_format.h"
#include "host/string_functions.h"
#include "nonfiscal/report_input.h"
#include "nonfiscal/report_layout.h"
#include "nonfiscal/text_pieces.h"
#include "zel/driver_state.h"
#include "zel/operations.h"

namespace zel {
namespace {

constexpr char kTaxIndex[] = "idxTributacao";

struct ProductSums {
  double values = 0;
  double surcharges = 0;
  double discounts = 0;
  double quantities = 0;

  void Add(const Dataset& products) {
    values += products.AsDouble("VRTOTAL");
    surcharges += products.AsDouble("VRACRE");
    discounts += products.AsDouble("VRDESC");
    quantities += products.AsDouble("QTPRODVEND");
  }
};

// A blank line, the title, a blank line and the column header.
void AddTitle(ReportText& text) {
  text.BlankLine();
  text.Line(Centraliza(MsgPadrao("RelProdutos"), 47));
  text.BlankLine();
  text.Line(TamFixo(MsgPadrao("Codigo"), 12) + TamFixo(MsgPadrao("Nome"), 20) +
            TamFixoR(MsgPadrao("Qtde_"), 6) + TamFixoR(MsgPadrao("Valor2"), 10));
}

std::string ProductLine(const Dataset& products) {
  return TamFixo(products.AsText("CDPRODUTO"), 11) + " " +
         TamFixo(products.AsText("NMPRODUTO"), 19) + " " +
         AmountColumn(products.AsDouble("QTPRODVEND"), 6) +
         AmountColumn(products.AsDouble("VRTOTAL"), 10);
}

std::string LabelledAmount(const char* key, double amount) {
  return TamFixo(MsgPadrao(key), 35) + AmountColumn(amount, 13);
}

std::string QuantityAndValue(const char* key, const ProductSums& sums) {
  return TamFixo(MsgPadrao(key), 29) + AmountColumn(sums.quantities, 9) +
         AmountColumn(sums.values, 10);
}

// The closing lines of both layouts: surcharges, discounts and totals,
// then two blank lines.
void AddTotals(ReportText& text, const ProductSums& sums) {
  text.Line(LabelledAmount("Tot_Acre", sums.surcharges));
  text.BlankLine();
  text.Line(LabelledAmount("Tot_Desc", sums.discounts));
  text.BlankLine();
  text.Line(QuantityAndValue("Tot_Valor", sums));
  text.BlankLine();
  text.BlankLine();
}

// The name of an untaxed situation: tax substitution, not levied, exempt;
// empty for the taxed ones.
std::string SituationName(std::string_view situation) {
  if (situation == "F") return MsgPadrao("SubTrib");
  if (situation == "N") return MsgPadrao("NIncide");
  if (situation == "I") return MsgPadrao("Isento");
  return "";
}

void PrintPlainList(Dataset& products, const std::string& colour_scheme) {
  ReportText text;
  AddTitle(text);
  text.BlankLine();
  text.Send();

  ProductSums sums;
  for (products.First(); !products.Eof(); products.Next()) {
    text.Line(ProductLine(products));
    text.Send();
    sums.Add(products);
  }
  products.Close();

  text.BlankLine();
  AddTotals(text, sums);
  text.Send();
  Zel00101::FechRelatGerenc(colour_scheme, true, true);
}

// Adds `value` to the group of (situation, rate), creating it at the end
// when it is new, so the groups keep the order they were first met in.
void AddToTaxGroup(Dataset& groups, const std::string& situation, double rate, double value) {
  if (groups.Locate("IDTPIMPOSFIS;VRPERCSITTRIB", Variant(VariantArray{situation, rate}))) {
    groups.Edit();
    groups.SetValue("VRTOTALALIQ", groups.AsDouble("VRTOTALALIQ") + value);
  } else {
    groups.Append();
    groups.SetValue("IDTPIMPOSFIS", situation);
    groups.SetValue("VRPERCSITTRIB", rate);
    groups.SetValue("VRTOTALALIQ", value);
  }
  groups.Post();
}

// A rated group is named by its rate; an untaxed one by its situation. A
// group of rate zero in a taxed situation is named by its rate too ("0,00")
// rather than by whichever group came before it.
std::string TaxGroupLabel(const Dataset& groups) {
  const double rate = groups.AsDouble("VRPERCSITTRIB");
  const std::string name = SituationName(RTrim(groups.AsText("IDTPIMPOSFIS")));
  return rate != 0 || name.empty() ? ReportAmount(rate) : name;
}

void PrintGroupedByTax(Dataset& products, Dataset& groups, const std::string& colour_scheme) {
  groups.CreateDataSet();
  ReportText text;
  AddTitle(text);
  text.Send();

  products.SetIndexName(kTaxIndex);
  ProductSums sums;
  std::string last_rate;
  std::string last_situation;
  for (products.First(); !products.Eof(); products.Next()) {
    const std::string rate_text = products.AsText("VRPEALIMPFIS");
    const std::string situation = RTrim(products.AsText("IDTPIMPOSFIS"));
    const double rate = products.AsDouble("VRPEALIMPFIS");
    if (rate_text != last_rate || situation != last_situation) {
      last_rate = rate_text;
      if (rate != 0) {
        text.Line(MsgPadrao("TRIBUTACAO") + "  " + rate_text);
        last_situation = situation;
      } else if (situation != last_situation) {
        const std::string name = SituationName(situation);
        if (!name.empty()) text.Line(name);
        last_situation = situation;
      }
      text.Send();
    }
    text.Line(ProductLine(products));
    text.Send();
    sums.Add(products);
    AddToTaxGroup(groups, situation, rate, products.AsDouble("VRTOTAL"));
  }
  products.Close();

  text.Line(QuantityAndValue("Valor_", sums));
  text.BlankLine();
  text.Send();
  text.Line(TamFixo(MsgPadrao("TRIBUTADOS"), 35));
  text.Send();
  for (groups.First(); !groups.Eof(); groups.Next()) {
    text.Line(TamFixo(TaxGroupLabel(groups), 35) +
              AmountColumn(groups.AsDouble("VRTOTALALIQ"), 13));
  }
  text.Send();
  AddTotals(text, sums);
  text.Send();
  Zel00101::FechRelatGerenc(colour_scheme, true, true);
}

}  // namespace

bool ProductReportMayPrint(const std::string& mode) { return mode == "N" || mode == "S"; }

void CheckProducts(Dataset& products, std::string_view what, bool grouped) {
  if (products.IsEmpty()) return;
  RequireFields(products, what, {"CDPRODUTO", "NMPRODUTO"});
  RequireNumbers(products, what, {"QTPRODVEND", "VRTOTAL", "VRACRE", "VRDESC"});
  if (grouped) {
    RequireFields(products, what, {"IDTPIMPOSFIS"});
    RequireNumbers(products, what, {"VRPEALIMPFIS"});
  }
}

}  // namespace zel

namespace Zel00101 {

void Relatorio_Produto(const std::string& /*Reservado1*/, const std::string& /*Reservado2*/,
                       const std::string& /*Reservado3*/, const std::string& /*Reservado4*/,
                       const std::string& /*Reservado5*/, std::string& NrCupom,
                       zel::Dataset& Produtos, const std::string& Confirma,
                       const std::string& Agrupa, const std::string& EsquemaCor,
                       bool& ReciboAberto) {
  using namespace zel;
  TdtmBematech10& module = EnsureDataModule();
  Dataset& products = module.cdsProdVend;
  // The plain list keeps the host's order, whatever an earlier grouped
  // report left chosen; the tax index is chosen only once the fields it
  // needs have been checked.
  products.SetIndexName("");
  CopyInto(Produtos, products);
  const bool grouped = Agrupa == "S";

  if (!ProductReportMayPrint(Confirma)) return;
  CheckProducts(products, "Relatorio_Produto: the products dataset", grouped);
  if (Confirma == "S" && !AskYesNo(MsgPadrao("ConfRelProds"), EsquemaCor, kClosingQuestionDialog)) {
    return;
  }

  // The caller's document still open would take this report's text.
  if (!ReciboAberto) FechRelatGerenc(EsquemaCor, true, true);
  ReciboAberto = true;
  if (products.IsEmpty()) return;

  const LinkedReceipt receipt = OpenLinkedReceipt(EsquemaCor);
  stRetorno = receipt.number;
  NrCupom = receipt.number;
  if (grouped) {
    PrintGroupedByTax(products, module.cdsAliqProduto, EsquemaCor);
  } else {
    PrintPlainList(products, EsquemaCor);
  }
}

}  // namespace Zel00101

ZEL_EXPORT_PLAIN_NAME(void, Relatorio_Produto,
                      (const std::string& Reservado1, const std::string& Reservado2,
                       const std::string& Reservado3, const std::string& Reservado4,
                       const std::string& Reservado5, std::string& NrCupom, zel::Dataset& Produtos,
                       const std::string& Confirma, const std::string& Agrupa,
                       const std::string& EsquemaCor, bool& ReciboAberto),
                      (Reservado1, Reservado2, Reservado3, Reservado4, Reservado5, NrCupom,
                       Produtos, Confirma, Agrupa, EsquemaCor, ReciboAberto))
