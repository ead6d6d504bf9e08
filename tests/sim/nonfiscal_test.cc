// Non-fiscal documents: receipts on totalizers, supply and withdrawal, linked
// receipts and management reports, in the sequences the driver uses.
#include <string>

#include "printer_fixture.h"

namespace ecfsim_test {
namespace {

class NonFiscalTest : public PrinterTest {
 protected:
  void SetUp() override {
    PrinterTest::SetUp();
    ASSERT_EQ(Bematech_FI_NomeiaTotalizadorNaoSujeitoIcms(1, "Relatorios"), 1);
    ASSERT_EQ(Bematech_FI_ProgramaFormaPagamentoMFD("Rel Gerencial", "1"), 1);
  }
};

TEST_F(NonFiscalTest, LinkedReceiptOnAOneCentReceipt) {
  long long coo = Figure("coo");
  ASSERT_EQ(Bematech_FI_RecebimentoNaoFiscal("01", "00000000000001", "Rel Gerencial"), 1);
  ASSERT_EQ(Bematech_FI_AbreComprovanteNaoFiscalVinculado("Rel Gerencial", nullptr, nullptr), 1);
  int status = 0;
  ASSERT_EQ(Bematech_FI_StatusEstendidoMFD(&status), 1);
  EXPECT_EQ(status, 3);
  ASSERT_EQ(Bematech_FI_UsaComprovanteNaoFiscalVinculado("linha 1\nlinha 2\n"), 1);
  ASSERT_EQ(Bematech_FI_FechaRelatorioGerencial(), 1);
  EXPECT_EQ(Figure("coo"), coo + 2);
  EXPECT_EQ(Figure("cdc"), 1);
  std::string receipts = Out(Bematech_FI_VerificaRecebimentoNaoFiscal, 1319);
  EXPECT_EQ(receipts.substr(0, 24), "0001" + std::string("00000000000000000001"));
  // One receipt per payment.
  EXPECT_EQ(Bematech_FI_AbreComprovanteNaoFiscalVinculado("Rel Gerencial", nullptr, nullptr), -27);
  EXPECT_NE(ReadFile("tape.txt").find("linha 2"), std::string::npos);
}

TEST_F(NonFiscalTest, LinkedReceiptNeedsAFormThatAllowsIt) {
  OpenCoupon();
  Sell("01", "5,000", "1,000");
  CloseWithCash("5,00");  // "Dinheiro" allows no linked receipt
  EXPECT_EQ(Bematech_FI_AbreComprovanteNaoFiscalVinculado("Dinheiro", nullptr, nullptr), -27);
  EXPECT_EQ(Bematech_FI_AbreComprovanteNaoFiscalVinculado("Cheque", nullptr, nullptr), -24);
  ASSERT_EQ(Bematech_FI_ProgramaFormaPagamentoMFD("Cartao", "1"), 1);
  OpenCoupon();
  Sell("01", "5,000", "1,000");
  ASSERT_EQ(Bematech_FI_IniciaFechamentoCupom("d", "$", "0"), 1);
  ASSERT_EQ(Bematech_FI_EfetuaFormaPagamento("Cartao", "5,00"), 1);
  ASSERT_EQ(Bematech_FI_TerminaFechamentoCupom(nullptr), 1);
  std::string coo = Out(Bematech_FI_NumeroCupom, 6);
  EXPECT_EQ(Bematech_FI_AbreComprovanteNaoFiscalVinculado("Cartao", "", "999999"), -27);
  ASSERT_EQ(Bematech_FI_AbreComprovanteNaoFiscalVinculado("Cartao", "5,00", coo.c_str()), 1);
  EXPECT_EQ(Bematech_FI_UsaComprovanteNaoFiscalVinculado("TEF\n"), 1);
  ASSERT_EQ(Bematech_FI_FechaComprovanteNaoFiscalVinculado(), 1);
  EXPECT_EQ(Bematech_FI_UsaComprovanteNaoFiscalVinculado("tarde demais\n"), -27);
}

TEST_F(NonFiscalTest, ManagementReportOpensOnceAndCloses) {
  ASSERT_EQ(Bematech_FI_RelatorioGerencial(" "), 1);
  ASSERT_EQ(Bematech_FI_UsaComprovanteNaoFiscalVinculado("texto\n"), 1);
  ASSERT_EQ(Bematech_FI_RelatorioGerencial("mais\n"), 1);
  EXPECT_EQ(Figure("grg"), 1);
  EXPECT_EQ(Bematech_FI_FechaComprovanteNaoFiscalVinculado(), -27);  // not a linked receipt
  EXPECT_EQ(Bematech_FI_AbreCupomMFD(nullptr, nullptr, nullptr), -27);
  ASSERT_EQ(Bematech_FI_FechaRelatorioGerencial(), 1);
  EXPECT_EQ(Figure("document"), 0);
  ASSERT_EQ(Bematech_FI_FechaRelatorioGerencial(), 1);  // nothing open is fine
  EXPECT_EQ(Figure("grg"), 1);
}

TEST_F(NonFiscalTest, ClosingNothingLeavesTheCouponBitAlone) {
  // What the driver does when it opens the port: close what may be open,
  // then cancel a coupon only when ST1 is exactly 2.
  OpenCoupon();
  Bematech_FI_FechaComprovanteNaoFiscalVinculado();
  Bematech_FI_FechaRelatorioGerencial();
  EXPECT_EQ(LastStatus().st1, 2);
  EcfSim_SetPaperLow(1);
  Bematech_FI_FechaRelatorioGerencial();
  EXPECT_EQ(LastStatus().st1, 66);
}

TEST_F(NonFiscalTest, SupplyAndWithdrawalMoveTheCash) {
  ASSERT_EQ(Bematech_FI_Suprimento("100,00", "Dinheiro"), 1);
  ASSERT_EQ(Bematech_FI_RecebimentoNaoFiscal("SA", "00000000002550", nullptr), 1);
  ASSERT_EQ(Bematech_FI_Sangria("4,50"), 1);
  std::string forms = Out(Bematech_FI_VerificaFormasPagamento, 3016);
  EXPECT_EQ(forms.substr(16, 20), "00000000000000007000");
  EXPECT_EQ(Bematech_FI_Suprimento("0,00", "Dinheiro"), -2);
  EXPECT_EQ(Bematech_FI_RecebimentoNaoFiscal("02", "1,00", nullptr), -25);
  EXPECT_EQ(LastStatus().st2, 1);
  EXPECT_EQ(Bematech_FI_RecebimentoNaoFiscal("01", "1,00", "Vale"), -24);
  EXPECT_EQ(Figure("gnf"), 3);
}

TEST_F(NonFiscalTest, BarcodesPrintOnlyInsideADocument) {
  EXPECT_EQ(Bematech_FI_CodigoBarrasEAN13MFD("7891234567895"), -27);
  ASSERT_EQ(Bematech_FI_RelatorioGerencial(" "), 1);
  ASSERT_EQ(Bematech_FI_CodigoBarrasEAN13MFD("7891234567895"), 1);
  EXPECT_EQ(Bematech_FI_CodigoBarrasCODE128MFD(nullptr), -2);
  ASSERT_EQ(Bematech_FI_FechaRelatorioGerencial(), 1);
  EXPECT_NE(ReadFile("tape.txt").find("7891234567895"), std::string::npos);
}

}  // namespace
}  // namespace ecfsim_test
