// The printer's memory survives a restart; a reset starts a new printer; the
// paper tape is readable text.
#include <stdlib.h>

#include <fstream>
#include <string>

#include "printer_fixture.h"

namespace ecfsim_test {
namespace {

using PersistenceTest = PrinterTest;

TEST_F(PersistenceTest, RestartedPrinterHasTheSameFigures) {
  ASSERT_EQ(Bematech_FI_NomeiaTotalizadorNaoSujeitoIcms(1, "Relatorios"), 1);
  OpenCoupon();
  Sell("01", "10,000", "3,000", "00000100");
  CloseWithCash("40,00");
  ASSERT_EQ(Bematech_FI_ReducaoZ(nullptr, nullptr), 1);
  EcfSim_SetClockOffset(86400);
  OpenCoupon();
  Sell("02", "2,500", "1,000");  // left open across the restart
  const char* figures[] = {
      "grand_total",   "gross_sales",       "coo",        "crz",         "ccf", "gnf", "document",
      "movement_date", "last_reduced_date", "reductions", "clock_offset"};
  std::vector<long long> before;
  for (const char* name : figures) before.push_back(Figure(name));
  std::string totalizers = Out(Bematech_FI_VerificaTotalizadoresNaoFiscais, 179);
  std::string last_reduction = Out(Bematech_FI_DadosUltimaReducaoMFD, 1278);

  EcfSim_Restart();
  for (std::size_t i = 0; i < before.size(); ++i) {
    EXPECT_EQ(Figure(figures[i]), before[i]) << figures[i];
  }
  EXPECT_EQ(Out(Bematech_FI_VerificaTotalizadoresNaoFiscais, 179), totalizers);
  EXPECT_EQ(Out(Bematech_FI_DadosUltimaReducaoMFD, 1278), last_reduction);
  // The open coupon goes on where it stopped.
  ASSERT_EQ(Bematech_FI_CancelaItemGenerico("1"), 1);
  Sell("01", "1,000", "1,000");
  CloseWithCash("1,00");
  EXPECT_EQ(Figure("cancellations"), 250);
  EXPECT_EQ(Figure("grand_total"), 3000 + 250 + 100);
}

TEST_F(PersistenceTest, MemoryIsAReadableKeyValueFile) {
  OpenCoupon();
  ASSERT_EQ(Bematech_FI_VendeItemDepartamento("1",
                                              "A\xc7\xda"
                                              "CAR",
                                              "01", "1,000", "1,000", "00", "0000", "01", "KG"),
            1);
  std::string memory = ReadFile("memory.txt");
  EXPECT_NE(memory.find("\ncounters.coo=1\n"), std::string::npos);
  EXPECT_NE(memory.find("coupon.item.0001.description=A\xc3\x87\xc3\x9a"
                        "CAR\n"),
            std::string::npos);
  for (std::size_t start = 0; start < memory.size();) {
    std::size_t end = memory.find('\n', start);
    std::string line = memory.substr(start, end - start);
    EXPECT_TRUE(line.empty() || line[0] == '#' || line.find('=') != std::string::npos) << line;
    start = end + 1;
  }
  EcfSim_Restart();
  ASSERT_EQ(Bematech_FI_IniciaFechamentoCupom("d", "$", "0"), 1);
  ASSERT_EQ(Bematech_FI_EfetuaFormaPagamento("Dinheiro", "1,00"), 1);
  ASSERT_EQ(Bematech_FI_TerminaFechamentoCupom(nullptr), 1);
  // The description came back in Windows-1252 and printed in UTF-8.
  std::string tape = ReadFile("tape.txt");
  EXPECT_EQ(tape.find("A\xc7\xda"), std::string::npos);
  EXPECT_NE(tape.find("001 1 A\xc3\x87\xc3\x9a"
                      "CAR"),
            std::string::npos);
}

TEST_F(PersistenceTest, ResetStartsANewPrinter) {
  OpenCoupon();
  Sell("01", "1,000", "1,000");
  EcfSim_Reset();
  EXPECT_EQ(Figure("coo"), 0);
  EXPECT_EQ(Figure("grand_total"), 0);
  EXPECT_EQ(Figure("document"), 0);
  EXPECT_EQ(ReadFile("tape.txt"), "");
  EXPECT_EQ(Out(Bematech_FI_RetornoAliquotas, 79).substr(0, 24), "1800,1200,0700,2500,0500");
}

TEST_F(PersistenceTest, TapeLinesFitFortyEightColumns) {
  OpenCoupon();
  ASSERT_EQ(Bematech_FI_VendeItemDepartamento("7891234567890",
                                              "DESCRICAO MUITO LONGA DE UM PRODUTO \xc9 AQUI", "01",
                                              "1234,560", "12,000", "00", "00000100", "01", "UN"),
            1);
  CloseWithCash("20000,00");
  ASSERT_EQ(Bematech_FI_LeituraX(), 1);
  std::string tape = ReadFile("tape.txt");
  ASSERT_FALSE(tape.empty());
  for (std::size_t start = 0; start < tape.size();) {
    std::size_t end = tape.find('\n', start);
    std::string line = tape.substr(start, end - start);
    int columns = 0;
    for (unsigned char c : line) columns += (c & 0xC0) != 0x80;  // UTF-8 lead bytes
    EXPECT_LE(columns, 48) << line;
    start = end + 1;
  }
  EXPECT_NE(tape.find("TROCO R$"), std::string::npos);
}

TEST_F(PersistenceTest, UnwritableMemoryIsReportedAsAMemoryError) {
  std::string blocker = dir() + "/blocker";
  std::ofstream(blocker) << "a file where the directory should be";
  setenv("ECFSIM_DIR", (blocker + "/printer").c_str(), 1);
  EcfSim_Restart();
  EXPECT_EQ(Bematech_FI_LeituraX(), 1);
  EXPECT_EQ(LastStatus().st2, 32);
}

}  // namespace
}  // namespace ecfsim_test
