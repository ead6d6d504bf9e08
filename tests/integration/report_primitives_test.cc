// The management report and linked receipt primitives, through the loaded
// driver against the simulated printer: what the printer saw, the log
// lines, the dialogs and the host's record of issued reports.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "host/codepage.h"
#include "support/driver_fixture.h"

namespace zel {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

using CloseFn = bool(const std::string&, bool, bool);
using FourTextsFn = bool(const std::string&, const std::string&, const std::string&,
                         const std::string&);
using TextFn = bool(const std::string&, const std::string&);

constexpr char kScheme[] = "006";
constexpr char kOneCent[] = "00000000000001";
// Numbers the simulated printer reports for its documents.
constexpr int kManagementReportOpen = 4;
constexpr int kLinkedReceiptOpen = 3;

class ReportPrimitivesTest : public DriverFixture {
 protected:
  void SetUp() override {
    DriverFixture::SetUp();
    BindPrinterEntries();
  }

  void FailEntry(const char* entry, int code, int times = 1) {
    Sim<void(const char*, int, int)>("EcfSim_FailEntry")(entry, code, times);
  }
  int ExtendedStatus() {
    int status = -1;
    Sim<int(int*)>("Bematech_FI_StatusEstendidoMFD")(&status);
    return status;
  }
  // Totalizer 02 and a payment form that accepts linked receipts, both
  // named for reports, as the host's programming leaves them.
  void ProgramReportTotalizerAndForm() {
    ASSERT_EQ(Sim<int(int, const char*)>("Bematech_FI_NomeiaTotalizadorNaoSujeitoIcms")(
                  2, "Rel Gerencial"),
              1);
    ASSERT_EQ(Sim<int(const char*, const char*)>("Bematech_FI_ProgramaFormaPagamentoMFD")(
                  "Rel Gerencial", "1"),
              1);
    ClearSimJournal();
  }
  std::vector<std::string> Dialogs() {
    std::vector<std::string> texts;
    for (const std::string& text : host_.DialogTexts()) texts.push_back(Cp1252ToUtf8(text));
    return texts;
  }
  // The movement date as the driver's DataMoviFiscal gives it, in the
  // short date format: the printer's day, or the pinned clock's when none
  // is open.
  std::string MovementDateText() {
    const long long yyyymmdd = SimFigure("movement_date");
    if (yyyymmdd == 0) return "07/12/2026";
    char text[64];
    std::snprintf(text, sizeof text, "%02lld/%02lld/%04lld", yyyymmdd % 100, yyyymmdd / 100 % 100,
                  yyyymmdd / 10000);
    return text;
  }
};

TEST_F(ReportPrimitivesTest, RelatorioGerencialOpensWithOneBlankAndRecordsTheIssue) {
  EXPECT_TRUE(Op<FourTextsFn>("Relatorio_Gerencial_Imp")(kScheme, "K1", "K2", "ignored"));

  EXPECT_EQ(ExtendedStatus(), kManagementReportOpen);
  EXPECT_THAT(SimJournal(),
              ElementsAre("Bematech_FI_StatusEstendidoMFD", "Bematech_FI_RelatorioGerencial| ",
                          "Bematech_FI_RetornoImpressora", "Bematech_FI_DataMovimento",
                          "Bematech_FI_RetornoImpressora", "Bematech_FI_StatusEstendidoMFD"));
  ASSERT_EQ(host_.cer_records.size(), 1u);
  EXPECT_THAT(host_.cer_records[0], ElementsAre("K1", "K2", MovementDateText()));
  EXPECT_THAT(LogEntries(), Contains("Bematech_FI_RelatorioGerencial"));
  EXPECT_THAT(host_.dialogs, IsEmpty());
}

TEST_F(ReportPrimitivesTest, AReportAlreadyOpenIsClosedBeforeTheNewOne) {
  ASSERT_EQ(Sim<int(const char*)>("Bematech_FI_RelatorioGerencial")("left open\n"), 1);
  const long long reports = SimFigure("grg");
  ClearSimJournal();

  EXPECT_TRUE(Op<FourTextsFn>("Relatorio_Gerencial_Imp")(kScheme, "", "", ""));

  const std::vector<std::string> journal = SimJournal();
  ASSERT_GE(journal.size(), 4u);
  EXPECT_THAT(std::vector<std::string>(journal.begin(), journal.begin() + 4),
              ElementsAre("Bematech_FI_StatusEstendidoMFD", "Bematech_FI_FechaRelatorioGerencial",
                          "Bematech_FI_RetornoImpressora", "Bematech_FI_RelatorioGerencial| "));
  EXPECT_EQ(SimFigure("grg"), reports + 1) << "a second report was opened";
  EXPECT_EQ(ExtendedStatus(), kManagementReportOpen);
  EXPECT_EQ(host_.cer_records.size(), 1u);
}

TEST_F(ReportPrimitivesTest, GravaCerIsCalledOnlyAfterASuccessfulOpening) {
  FailEntry("Bematech_FI_RelatorioGerencial", -2);

  EXPECT_FALSE(Op<FourTextsFn>("Relatorio_Gerencial_Imp")(kScheme, "K1", "K2", ""));

  EXPECT_THAT(host_.cer_records, IsEmpty());
  EXPECT_THAT(SimJournal(), ::testing::Not(Contains("Bematech_FI_DataMovimento")));
  EXPECT_THAT(Dialogs(), ElementsAre("Parâmetro inválido."));
  EXPECT_EQ(host_.dialogs[0].colour_scheme, kScheme);
}

TEST_F(ReportPrimitivesTest, LinkedReceiptSequenceOnThePrinter) {
  ProgramReportTotalizerAndForm();
  const long long linked_receipts = SimFigure("cdc");

  EXPECT_TRUE(Op<FourTextsFn>("Cupom_NFiscNVinc")("", "02", kOneCent, "Rel Gerencial"));
  EXPECT_TRUE(Op<FourTextsFn>("Abre_Comp_NFiscalVinc")("", "Rel Gerencial", kOneCent, "000123"));
  EXPECT_EQ(ExtendedStatus(), kLinkedReceiptOpen);
  EXPECT_TRUE(Op<TextFn>("Usa_CompNFis")("", "Linha 1\nLinha 2\n"));
  EXPECT_TRUE(Op<CloseFn>("FechRelatGerenc")(kScheme, true, false));

  EXPECT_EQ(ExtendedStatus(), 0);
  EXPECT_EQ(SimFigure("cdc"), linked_receipts + 1);
  EXPECT_THAT(
      SimJournal(),
      ElementsAre(std::string("Bematech_FI_RecebimentoNaoFiscal|02|") + kOneCent + "|Rel Gerencial",
                  "Bematech_FI_RetornoImpressora",
                  // value and number are not sent, whatever the host gave
                  "Bematech_FI_AbreComprovanteNaoFiscalVinculado|Rel Gerencial||",
                  "Bematech_FI_RetornoImpressora", "Bematech_FI_StatusEstendidoMFD",
                  "Bematech_FI_UsaComprovanteNaoFiscalVinculado|Linha 1\nLinha 2\n",
                  "Bematech_FI_RetornoImpressora", "Bematech_FI_FechaRelatorioGerencial",
                  "Bematech_FI_RetornoImpressora", "Bematech_FI_StatusEstendidoMFD"));
  EXPECT_THAT(LogEntries(),
              ElementsAre(std::string("Bematech_FI_RecebimentoNaoFiscal : 02 - ") + kOneCent +
                              " - Rel Gerencial",
                          "", "Bematech_FI_AbreComprovanteNaoFiscalVinculado : Rel Gerencial -  - ",
                          "",  // (the log is read back by physical lines, rejoined with CR LF)
                          "Bematech_FI_UsaComprovanteNaoFiscalVinculado: Linha 1\r\nLinha 2\r\n",
                          "", "Bematech_FI_FechaRelatorioGerencial", ""));
  EXPECT_THAT(host_.dialogs, IsEmpty());
}

TEST_F(ReportPrimitivesTest, FechRelatGerencShowsProblemsOnlyWhenAsked) {
  FailEntry("Bematech_FI_FechaRelatorioGerencial", 0, 2);

  EXPECT_FALSE(Op<CloseFn>("FechRelatGerenc")(kScheme, false, false));
  EXPECT_THAT(host_.dialogs, IsEmpty());

  EXPECT_FALSE(Op<CloseFn>("FechRelatGerenc")(kScheme, true, false));
  EXPECT_THAT(Dialogs(), ElementsAre("Erro de comunicação."));
}

TEST_F(ReportPrimitivesTest, FechRelatGerencCancelsAnOpenCouponWhenAsked) {
  ASSERT_EQ(Sim<int(int, int, int)>("EcfSim_SetTaxRate")(1, 1800, 0), 1);
  ASSERT_EQ(Sim<int(const char*)>("Bematech_FI_AbreCupom")(""), 1);
  ClearSimJournal();

  Op<CloseFn>("FechRelatGerenc")(kScheme, true, true);

  EXPECT_THAT(SimJournal(), Contains("Bematech_FI_CancelaCupom"));
  EXPECT_EQ(SimFigure("document"), 0);
}

}  // namespace
}  // namespace zel
