#include "printer_fixture.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace ecfsim_test {

void PrinterTest::SetUp() {
  char pattern[] = "/tmp/ecfsim_test_XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  dir_ = pattern;
  setenv("ECFSIM_DIR", (dir_ + "/printer").c_str(), 1);
  setenv("ZEL_DRIVE_C", (dir_ + "/c").c_str(), 1);
  unsetenv("ZEL_SYSTEM_DIR");
  unsetenv("ECFSIM_LATENCY_MS");
  EcfSim_Reset();
}

void PrinterTest::TearDown() {
  EcfSim_Reset();
  std::filesystem::remove_all(dir_);
}

Status PrinterTest::LastStatus() {
  Status s;
  EXPECT_EQ(Bematech_FI_RetornoImpressora(&s.ack, &s.st1, &s.st2), 1);
  return s;
}

std::vector<std::string> PrinterTest::Journal() {
  std::vector<std::string> calls;
  for (int i = 0; i < EcfSim_JournalCount(); ++i) {
    int length = EcfSim_JournalGet(i, nullptr, 0);
    std::string call(length + 1, '\0');
    EcfSim_JournalGet(i, call.data(), length + 1);
    call.resize(length);
    calls.push_back(call);
  }
  return calls;
}

std::string PrinterTest::Out(int (*entry)(char*), int width) {
  std::string buffer(width, ' ');
  EXPECT_EQ(entry(buffer.data()), 1);
  return buffer;
}

std::string PrinterTest::ReadFile(const std::string& name) const {
  std::ifstream in(dir_ + "/printer/" + name, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void PrinterTest::OpenCoupon() {
  ASSERT_EQ(Bematech_FI_AbreCupomMFD(nullptr, nullptr, nullptr), 1);
}

void PrinterTest::Sell(const char* rate, const char* price, const char* quantity,
                       const char* discount) {
  ASSERT_EQ(Bematech_FI_VendeItemDepartamento("789", "PRODUTO", rate, price, quantity, "00",
                                              discount, "01", "UN"),
            1);
}

void PrinterTest::CloseWithCash(const char* amount, const char* discount) {
  ASSERT_EQ(Bematech_FI_IniciaFechamentoCupom("d", "$", discount), 1);
  ASSERT_EQ(Bematech_FI_EfetuaFormaPagamento("Dinheiro", amount), 1);
  ASSERT_EQ(Bematech_FI_TerminaFechamentoCupom("Obrigado"), 1);
}

}  // namespace ecfsim_test
