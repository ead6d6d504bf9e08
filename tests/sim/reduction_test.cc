// Readings and the fiscal day: X reading, Z reduction, movement date, clock.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "printer_fixture.h"

namespace ecfsim_test {
namespace {

using ReductionTest = PrinterTest;

constexpr long long kDay = 86400;

void SellAndClose(const char* price) {
  ASSERT_EQ(Bematech_FI_AbreCupomMFD(nullptr, nullptr, nullptr), 1);
  ASSERT_EQ(
      Bematech_FI_VendeItemDepartamento("1", "X", "01", price, "1,000", "00", "0000", "01", "UN"),
      1);
  ASSERT_EQ(Bematech_FI_IniciaFechamentoCupom("d", "$", "0"), 1);
  ASSERT_EQ(Bematech_FI_EfetuaFormaPagamento("Dinheiro", price), 1);
  ASSERT_EQ(Bematech_FI_TerminaFechamentoCupom(nullptr), 1);
}

std::string Today() {
  std::string date(6, ' '), time(6, ' ');
  EXPECT_EQ(Bematech_FI_DataHoraImpressora(date.data(), time.data()), 1);
  return date;
}

TEST_F(ReductionTest, ZeroesTheDayAndCountsTheReduction) {
  EXPECT_EQ(Out(Bematech_FI_DataMovimento, 6), "000000");
  SellAndClose("12,500");
  EXPECT_EQ(Out(Bematech_FI_DataMovimento, 6), Today());
  ASSERT_EQ(Bematech_FI_ReducaoZ(nullptr, nullptr), 1);
  EXPECT_EQ(Figure("crz"), 1);
  EXPECT_EQ(Out(Bematech_FI_NumeroReducoes, 4), "0001");
  EXPECT_EQ(Figure("gross_sales"), 0);
  EXPECT_EQ(Out(Bematech_FI_VendaBruta, 18), std::string(18, '0'));
  EXPECT_EQ(Out(Bematech_FI_DataMovimento, 6), "000000");
  EXPECT_EQ(Figure("grand_total"), 1250);
  EXPECT_EQ(Figure("reductions"), 1);
  std::string forms = Out(Bematech_FI_VerificaFormasPagamento, 3016);
  EXPECT_EQ(forms.substr(16, 20), std::string(20, '0'));
  std::string data = Out(Bematech_FI_DadosUltimaReducaoMFD, 1278);
  EXPECT_EQ(data.substr(0, 4), "0001");
  EXPECT_NE(ReadFile("tape.txt").find("REDUÇÃO Z"), std::string::npos);
}

TEST_F(ReductionTest, SecondReductionOnTheSameDateIsRefused) {
  SellAndClose("1,000");
  ASSERT_EQ(Bematech_FI_ReducaoZ(nullptr, nullptr), 1);
  EXPECT_EQ(Bematech_FI_ReducaoZ(nullptr, nullptr), -27);
  EXPECT_EQ(LastStatus().st2, 1);
  EXPECT_EQ(Figure("crz"), 1);
  // The day is closed: no more sales until tomorrow.
  EXPECT_EQ(Bematech_FI_AbreCupomMFD(nullptr, nullptr, nullptr), -27);
  int flags = 0;
  ASSERT_EQ(Bematech_FI_FlagsFiscais(&flags), 1);
  EXPECT_EQ(flags & 8, 8);
  EcfSim_SetClockOffset(kDay);
  SellAndClose("1,000");
  ASSERT_EQ(Bematech_FI_ReducaoZ(nullptr, nullptr), 1);
  EXPECT_EQ(Figure("crz"), 2);
}

TEST_F(ReductionTest, ReductionWithACouponOpenIsRefused) {
  ASSERT_EQ(Bematech_FI_AbreCupomMFD(nullptr, nullptr, nullptr), 1);
  EXPECT_EQ(Bematech_FI_ReducaoZ(nullptr, nullptr), -27);
  EXPECT_EQ(LastStatus().st1 & 2, 2);
  EXPECT_EQ(Figure("crz"), 0);
  ASSERT_EQ(Bematech_FI_CancelaCupom(), 1);
  EXPECT_EQ(Bematech_FI_ReducaoZ(nullptr, nullptr), 1);
}

TEST_F(ReductionTest, PendingReductionBlocksSalesAndClosesTheOldDay) {
  SellAndClose("2,000");
  long long yesterday = Figure("movement_date");
  EcfSim_SetClockOffset(kDay);
  EXPECT_EQ(Bematech_FI_AbreCupomMFD(nullptr, nullptr, nullptr), -27);
  ASSERT_EQ(Bematech_FI_LeituraX(), 1);  // readings still work
  ASSERT_EQ(Bematech_FI_ReducaoZ(nullptr, nullptr), 1);
  EXPECT_EQ(Figure("last_reduced_date"), yesterday);
  SellAndClose("3,000");
  EXPECT_GT(Figure("movement_date"), yesterday);
}

TEST_F(ReductionTest, ReductionWithoutMovementIsAllowedOncePerDay) {
  ASSERT_EQ(Bematech_FI_ReducaoZ(nullptr, nullptr), 1);
  EXPECT_EQ(Bematech_FI_ReducaoZ(nullptr, nullptr), -27);
  EXPECT_EQ(Figure("crz"), 1);
  EXPECT_EQ(Figure("grand_total"), 0);
}

TEST_F(ReductionTest, XReadingKeepsTheDay) {
  SellAndClose("4,000");
  long long coo = Figure("coo");
  long long gnf = Figure("gnf");
  ASSERT_EQ(Bematech_FI_LeituraX(), 1);
  EXPECT_EQ(Figure("coo"), coo + 1);
  EXPECT_EQ(Figure("gnf"), gnf + 1);
  EXPECT_EQ(Figure("gross_sales"), 400);
  EXPECT_NE(ReadFile("tape.txt").find("LEITURA X"), std::string::npos);
}

TEST_F(ReductionTest, ReductionDateAndTimeSetTheClock) {
  EXPECT_EQ(Bematech_FI_ReducaoZ("01/02/2031", nullptr), -2);
  ASSERT_EQ(Bematech_FI_ReducaoZ("01/02/31", "10:20:30"), 1);
  std::string date(6, ' '), time(6, ' ');
  ASSERT_EQ(Bematech_FI_DataHoraImpressora(date.data(), time.data()), 1);
  EXPECT_EQ(date, "010231");
  EXPECT_EQ(time.substr(0, 3), "102");  // a few seconds may pass
  EXPECT_EQ(Figure("last_reduced_date"), 20310201);
}

TEST_F(ReductionTest, ClockBehindTheLastReductionIsAnError) {
  SellAndClose("1,000");
  ASSERT_EQ(Bematech_FI_ReducaoZ(nullptr, nullptr), 1);
  EcfSim_SetClockOffset(-2 * kDay);
  EXPECT_EQ(Bematech_FI_AbreCupomMFD(nullptr, nullptr, nullptr), -27);
  EXPECT_EQ(LastStatus().st1, 32);
}

TEST_F(ReductionTest, FiscalMemoryReadingsPrintOrWriteTheReductions) {
  SellAndClose("1,000");
  ASSERT_EQ(Bematech_FI_ReducaoZ(nullptr, nullptr), 1);
  ASSERT_EQ(Bematech_FI_LeituraMemoriaFiscalReducao("0001", "0001"), 1);
  EXPECT_NE(ReadFile("tape.txt").find("LEITURA DA MEMÓRIA FISCAL"), std::string::npos);
  EXPECT_EQ(Bematech_FI_LeituraMemoriaFiscalDataMFD("xx", "010199", "c"), -2);
  EXPECT_EQ(Bematech_FI_LeituraMemoriaFiscalSerialReducaoMFD("1", "1", "C"), 1);
  EXPECT_EQ(Bematech_FI_LeArquivoRetorno(), 1);
}

TEST_F(ReductionTest, DetailTapeDownloadAndMirror) {
  SellAndClose("1,000");
  std::filesystem::create_directories(dir() + "/c");  // the root of drive C exists
  ASSERT_EQ(Bematech_FI_DownloadMFD("C:\\download.mfd", "2", "1", "1", "1"), 1);
  std::ifstream download(dir() + "/c/download.mfd", std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(download)), std::istreambuf_iterator<char>());
  EXPECT_NE(text.find("DOC=000001;CF;"), std::string::npos);
  ASSERT_EQ(
      Bematech_FI_FormatoDadosMFD("C:\\download.mfd", "C:\\espelho.txt", "0", "2", "1", "1", "1"),
      1);
  EXPECT_TRUE(std::filesystem::exists(dir() + "/c/espelho.txt"));
  EXPECT_EQ(Bematech_FI_FormatoDadosMFD("C:\\nada.mfd", "C:\\e.txt", "0", "2", "1", "1", "1"), -18);
  EXPECT_EQ(Bematech_FI_DownloadMFD("C:\\d.mfd", "7", "1", "1", "1"), -2);
}

}  // namespace
}  // namespace ecfsim_test
