// GeraReciboSangria: the cashier's withdrawal receipt, the operator's
// closing report and, once the operator confirms, the general closing
// report, with the closing questions in between.
//
// The general closing report is titled "RELATORIO DE FECHAMENTO GERAL":
// the message tables hold no text for it, and a missing key would print
// the table's "message not found" sentence as the title.
#include <cstdint>
#include <string>

#include "core/data_module.h"
#include "core/dialogs.h"
#include "host/string_functions.h"
#include "nonfiscal/closing_documents.h"
#include "nonfiscal/product_report.h"
#include "nonfiscal/report_input.h"
#include "nonfiscal/report_layout.h"
#include "zel/operations.h"

namespace zel {
namespace {

constexpr char kGeneralClosingTitle[] = "RELATORIO DE FECHAMENTO GERAL";

// The arguments the closing reports pass on to Relatorio_Produto.
struct ProductReportArguments {
  const std::string& text2;
  const std::string& text3;
  const std::string& text4;
  const std::string& mode;
  const std::string& grouping;
};

bool Ask(const char* key, const ClosingCall& call) {
  return AskYesNo(MsgPadrao(key), call.colour_scheme, kClosingQuestionDialog);
}

void CheckMovements(Dataset& movements, std::string_view what) {
  if (movements.IsEmpty()) return;
  RequireFields(movements, what, {"IDTIPOREG", "NMTIPORECE"});
  RequireNumbers(movements, what, {"VRSAIDA"});
}

void CheckProductsToSum(Dataset& host_products, std::string_view what,
                        const ProductReportArguments& report) {
  Dataset products = CopyOf(host_products, "products");
  if (ProductReportMayPrint(report.mode)) CheckProducts(products, what, report.grouping == "S");
  if (!products.IsEmpty()) RequireNumbers(products, what, {"VRTOTAL"});
}

// One closing: the product report (which closes a document still open
// once it is confirmed), then, when there are movement totals, the closing
// report in a linked receipt of its own.
void PrintClosing(ClosingCall& call, const char* kind, Dataset& host_products,
                  const ProductReportArguments& report, bool receipt_flag, const std::string& title,
                  Dataset* movements, ClosingFigures figures) {
  TdtmBematech10& module = EnsureDataModule();
  std::string product_report_number;
  Zel00101::Relatorio_Produto("", kind, report.text2, report.text3, report.text4,
                              product_report_number, host_products, report.mode, report.grouping,
                              call.colour_scheme, receipt_flag);
  if (EmptyString(*call.document_number)) *call.document_number = product_report_number;
  // A report past its confirmation closed our receipt; else it is still
  // open and takes the closing report, unless none was ever opened.
  if (receipt_flag) call.document_open = false;
  if (module.cdsMovTot.IsEmpty()) return;
  if (!call.document_open) OpenClosingReceipt(call);

  Dataset sold = CopyOf(host_products, "products");
  figures.sales = SumOf(sold, "VRTOTAL");
  PrintClosingReport(title, movements, figures);
  Zel00101::FechRelatGerenc(call.colour_scheme, true, true);
  call.document_open = false;
}

}  // namespace
}  // namespace zel

namespace Zel00101 {

bool GeraReciboSangria(const std::string& /*Reservado1*/, const std::string& Texto2,
                       const std::string& Texto3, const std::string& Texto4,
                       const std::string& /*Reservado5*/, std::int32_t /*Reservado6*/,
                       std::string& NrDocumento, zel::Dataset& MovFecha, zel::Dataset& Sangrias,
                       zel::Dataset& Produtos, zel::Dataset& OperadorSup, zel::Dataset& MovTot,
                       zel::Dataset& MovAbertura, zel::Dataset& ProdutosGeral,
                       zel::DateTime /*Reservado15*/, bool ImprimeRecibo, bool ConfirmaReducao,
                       bool /*Reservado18*/, zel::Dataset& RedZ, zel::Dataset& FormRedZ,
                       zel::Dataset& ImpostoRedZ, zel::Dataset& TotNFis, bool& ReducaoConfirmada,
                       zel::Dataset& TiposRece, const std::string& ConfirmaProdutos,
                       const std::string& AgrupaProdutos, const std::string& LeituraX,
                       const std::string& ComEnvelope, const std::string& EsquemaCor,
                       bool SoSangria, bool Continuacao, bool PedeReducao) {
  using namespace zel;
  TdtmBematech10& module = EnsureDataModule();
  ReducaoConfirmada = false;
  if (!Continuacao) {
    CopyInto(MovFecha, module.cdsMovFecha);
    CopyInto(Sangrias, module.cdsSangria);
    CopyInto(OperadorSup, module.cdsOperadorSup);
    CopyInto(TiposRece, module.cdsTipoReceAux);
    CopyInto(MovAbertura, module.cdsMovAbertura);
  } else {
    // A continuation keeps what an earlier call copied in; in a process
    // where none did, there is nothing.
    for (Dataset* kept : {&module.cdsMovFecha, &module.cdsSangria, &module.cdsOperadorSup,
                          &module.cdsTipoReceAux, &module.cdsMovAbertura}) {
      OpenIfClosed(*kept);
    }
  }
  CopyInto(MovTot, module.cdsMovTot);

  // Everything the documents read is checked before the first is printed.
  const ProductReportArguments report{Texto2, Texto3, Texto4, ConfirmaProdutos, AgrupaProdutos};
  const bool general_closing_possible = Continuacao || (ConfirmaReducao && PedeReducao);
  const bool opening_movements = !MovAbertura.IsEmpty();
  if (ImprimeRecibo) {
    constexpr char kMovements[] = "GeraReciboSangria: the closing movements (cdsMovFecha)";
    constexpr char kPeople[] = "GeraReciboSangria: the operator and supervisor (cdsOperadorSup)";
    RequireFields(module.cdsMovFecha, kMovements, {"NRENVELOPE", "NMTIPORECE"});
    RequireNumbers(module.cdsMovFecha, kMovements, {WithdrawalAmountField(SoSangria)});
    RequireRecord(module.cdsOperadorSup, kPeople);
    RequireFields(module.cdsOperadorSup, kPeople,
                  {"CDSUPERVISOR", "NMSUPERVISOR", "CDOPERADOR", "NMOPERADOR"});
  }
  if (!SoSangria) {
    CheckProductsToSum(Produtos, "GeraReciboSangria: the products sold (argument 10)", report);
    if (general_closing_possible) {
      CheckProductsToSum(ProdutosGeral, "GeraReciboSangria: the day's products (argument 14)",
                         report);
    }
    CheckMovements(module.cdsMovTot, "GeraReciboSangria: the movement totals (cdsMovTot)");
    if (opening_movements) {
      CheckMovements(module.cdsMovAbertura,
                     "GeraReciboSangria: the opening-period movements (cdsMovAbertura)");
    }
  }

  ClosingCall call{EsquemaCor, &NrDocumento};
  ClosingFigures operator_figures;
  if (ImprimeRecibo) {
    // The cash handed in counts in the operator's closing whether or not
    // the printer took its receipt.
    operator_figures.withdrawals = SumOf(module.cdsMovFecha, WithdrawalAmountField(SoSangria));
    if (LeituraX == "S" && Leitura_X_Imp("", "", "")) NrDocumento = Nr_Cupom("", EsquemaCor);
    if (OpenClosingReceipt(call)) {
      PrintWithdrawalCopies(module.cdsMovFecha, module.cdsOperadorSup, ComEnvelope == "S",
                            SoSangria);
    }
  }
  if (SoSangria) {
    FechRelatGerenc(EsquemaCor, true, true);
    return false;
  }

  PrintClosing(call, "A", Produtos, report, false, MsgPadrao("RelFechamento"),
               opening_movements ? &module.cdsMovAbertura : nullptr, operator_figures);
  // Without movement totals there is no closing report to end the
  // withdrawal receipt: it is closed here rather than left open.
  CloseClosingReceipt(call);

  bool reduction_confirmed = false;
  if (!Continuacao) {
    if (Ask("AbreCaixa", call)) return true;
    if (!(ConfirmaReducao && PedeReducao) || !Ask("ConfReducao", call)) return false;
    reduction_confirmed = true;
  }
  if (Ask("ConfRelFechamento", call)) {
    PrintClosing(call, "D", ProdutosGeral, report, true, kGeneralClosingTitle, &module.cdsMovTot,
                 ClosingFigures{});
  }
  if (reduction_confirmed) {
    RedZ.SetData(module.cdsRedzAux01.Data());
    FormRedZ.SetData(module.cdsFormRedzAux01.Data());
    ImpostoRedZ.SetData(module.cdsImpostoRedzAux01.Data());
    TotNFis.SetData(module.cdsTotNFisAux01.Data());
    ReducaoConfirmada = true;
  }
  return false;
}

}  // namespace Zel00101

ZEL_EXPORT_PLAIN_NAME(
    bool, GeraReciboSangria,
    (const std::string& Reservado1, const std::string& Texto2, const std::string& Texto3,
     const std::string& Texto4, const std::string& Reservado5, std::int32_t Reservado6,
     std::string& NrDocumento, zel::Dataset& MovFecha, zel::Dataset& Sangrias,
     zel::Dataset& Produtos, zel::Dataset& OperadorSup, zel::Dataset& MovTot,
     zel::Dataset& MovAbertura, zel::Dataset& ProdutosGeral, zel::DateTime Reservado15,
     bool ImprimeRecibo, bool ConfirmaReducao, bool Reservado18, zel::Dataset& RedZ,
     zel::Dataset& FormRedZ, zel::Dataset& ImpostoRedZ, zel::Dataset& TotNFis,
     bool& ReducaoConfirmada, zel::Dataset& TiposRece, const std::string& ConfirmaProdutos,
     const std::string& AgrupaProdutos, const std::string& LeituraX, const std::string& ComEnvelope,
     const std::string& EsquemaCor, bool SoSangria, bool Continuacao, bool PedeReducao),
    (Reservado1, Texto2, Texto3, Texto4, Reservado5, Reservado6, NrDocumento, MovFecha, Sangrias,
     Produtos, OperadorSup, MovTot, MovAbertura, ProdutosGeral, Reservado15, ImprimeRecibo,
     ConfirmaReducao, Reservado18, RedZ, FormRedZ, ImpostoRedZ, TotNFis, ReducaoConfirmada,
     TiposRece, ConfirmaProdutos, AgrupaProdutos, LeituraX, ComEnvelope, EsquemaCor, SoSangria,
     Continuacao, PedeReducao))
