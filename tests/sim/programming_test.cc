// Tax rates, non-fiscal totalizers, payment forms and daylight saving.
#include <string>

#include "printer_fixture.h"

namespace ecfsim_test {
namespace {

using ProgrammingTest = PrinterTest;

TEST_F(ProgrammingTest, RateListsKeepPositions) {
  EXPECT_EQ(Out(Bematech_FI_RetornoAliquotas, 79),
            "1800,1200,0700,2500,0500" + std::string(55, ' '));
  EXPECT_EQ(Out(Bematech_FI_VerificaAliquotasIss, 79), "0500" + std::string(75, ' '));
  EcfSim_SetTaxRate(3, 0, 0);
  EcfSim_SetTaxRate(7, 300, 1);
  EXPECT_EQ(Out(Bematech_FI_RetornoAliquotas, 79).substr(0, 34),
            "1800,1200,0000,2500,0500,0000,0300");
  EXPECT_EQ(Out(Bematech_FI_VerificaAliquotasIss, 79).substr(0, 10), "0500,0300 ");
  EXPECT_EQ(EcfSim_SetTaxRate(17, 100, 0), 0);
}

TEST_F(ProgrammingTest, TotalizersAreNamedOncePerPosition) {
  std::string nine_free;
  for (int i = 0; i < 9; ++i) nine_free += (i > 0 ? "," : "") + std::string(19, ' ');
  EXPECT_EQ(Out(Bematech_FI_VerificaTotalizadoresNaoFiscais, 179), nine_free);
  ASSERT_EQ(Bematech_FI_NomeiaTotalizadorNaoSujeitoIcms(2, "CONTRA-VALE EMITIDO"), 1);
  EXPECT_EQ(Bematech_FI_NomeiaTotalizadorNaoSujeitoIcms(2, "contra-vale emitido "), 1);
  EXPECT_EQ(Bematech_FI_NomeiaTotalizadorNaoSujeitoIcms(2, "OUTRO"), -27);
  EXPECT_EQ(Bematech_FI_NomeiaTotalizadorNaoSujeitoIcms(3, "CONTRA-VALE EMITIDO"), -27);
  EXPECT_EQ(Bematech_FI_NomeiaTotalizadorNaoSujeitoIcms(31, "X"), -2);
  EXPECT_EQ(Bematech_FI_NomeiaTotalizadorNaoSujeitoIcms(4, "NOME COM MAIS DE 19 LETRAS"), -2);
  EXPECT_EQ(Bematech_FI_NomeiaTotalizadorNaoSujeitoIcms(4, nullptr), -2);
  std::string list = Out(Bematech_FI_VerificaTotalizadoresNaoFiscais, 179);
  EXPECT_EQ(list.substr(0, 40), std::string(19, ' ') + ",CONTRA-VALE EMITIDO,");
}

TEST_F(ProgrammingTest, PaymentFormsAreFoundIgnoringCase) {
  ASSERT_EQ(Bematech_FI_ProgramaFormaPagamentoMFD("Cartao Credito", "1"), 1);
  ASSERT_EQ(Bematech_FI_ProgramaFormaPagamentoMFD("CARTAO CREDITO", "1"), 1);
  EXPECT_EQ(Bematech_FI_ProgramaFormaPagamentoMFD("Nome de forma longo", "1"), -2);
  EXPECT_EQ(Bematech_FI_ProgramaFormaPagamentoMFD("Vale", "2"), -2);
  std::string forms = Out(Bematech_FI_VerificaFormasPagamento, 3016);
  EXPECT_EQ(forms.substr(37, 38), ",Cartao Credito  " + std::string(20, '0') + "1");
  EXPECT_EQ(forms.find("CARTAO"), std::string::npos);
  OpenCoupon();
  EXPECT_EQ(Bematech_FI_ProgramaFormaPagamentoMFD("Vale", "0"), -27);  // not during a coupon
}

TEST_F(ProgrammingTest, DaylightSavingMovesTheClockAnHour) {
  int flags = 0;
  ASSERT_EQ(Bematech_FI_FlagsFiscais(&flags), 1);
  EXPECT_EQ(flags & 4, 0);
  ASSERT_EQ(Bematech_FI_ProgramaHorarioVerao(), 1);
  ASSERT_EQ(Bematech_FI_FlagsFiscais(&flags), 1);
  EXPECT_EQ(flags & 4, 4);
  EXPECT_EQ(Figure("clock_offset"), 3600);
  ASSERT_EQ(Bematech_FI_ProgramaHorarioVerao(), 1);
  EXPECT_EQ(Figure("clock_offset"), 0);
  EXPECT_EQ(Figure("daylight_saving"), 0);
}

TEST_F(ProgrammingTest, IdentityAnswers) {
  EXPECT_EQ(Out(Bematech_FI_NumeroSerieMFD, 15), "BE0912SIM000001");
  EXPECT_EQ(Out(Bematech_FI_NumeroCaixa, 4), "0001");
  std::string user(20, ' '), software(20, ' '), additional(5, ' ');
  ASSERT_EQ(Bematech_FI_DataHoraGravacaoUsuarioSWBasicoMFAdicional(user.data(), software.data(),
                                                                   additional.data()),
            1);
  EXPECT_EQ(software, "15/11/2023 09:30:00 ");
}

}  // namespace
}  // namespace ecfsim_test
