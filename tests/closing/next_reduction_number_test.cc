// NumeroReducoes turns the printer's count of reductions into the number of
// the next one; here the count is whatever a fake entry answers.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/data_module.h"
#include "core/fake_fiscal_entries.h"
#include "core/vendor_table.h"
#include "support/recording_host.h"
#include "support/test_env.h"
#include "zel/driver_state.h"
#include "zel/error.h"
#include "zel/operations.h"

namespace zel {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

// What the fake entry writes into its 4 columns, and what it returns.
std::string g_count;
int g_result = 1;

int FakeNumeroReducoes(char* crz4) {
  std::memcpy(crz4, g_count.data(), std::min<std::size_t>(g_count.size(), 4));
  return g_result;
}

class NextReductionNumberTest : public ::testing::Test {
 protected:
  NextReductionNumberTest() {
    EnsureDataModule();
    Zel00101::Bematech_FI_NumeroReducoes = FakeNumeroReducoes;
    g_result = 1;
  }

  std::string Next(const std::string& printer_count) {
    g_count = printer_count;
    std::string value;
    EXPECT_TRUE(Zel00101::NumeroReducoes("001", value));
    return value;
  }

  TestEnv env_;
  ScopedCurrentEnv use_env_{&env_};
  JournalingHost host_;
  ScopedHost use_host_{&host_};
  FakeFiscalPrinter printer_;
};

TEST_F(NextReductionNumberTest, CountPlusOneRightAlignedInFourColumns) {
  EXPECT_EQ(Next("0041"), "  42");
  EXPECT_EQ(Next("9998"), "9999");
  EXPECT_EQ(Next("0000"), "   1");
  EXPECT_EQ(Next(" 41 "), "  42");
}

TEST_F(NextReductionNumberTest, BlankAnswerGivesZeroNotOne) {
  EXPECT_EQ(Next("    "), "   0");
  EXPECT_EQ(Next(""), "   0") << "an entry that wrote nothing leaves the blanks";
}

TEST_F(NextReductionNumberTest, LogShowsTheRewrittenNumberAndTheReturnIsKept) {
  g_result = -1;
  g_count = "0041";
  std::string value;

  EXPECT_FALSE(Zel00101::NumeroReducoes("001", value));

  EXPECT_EQ(Zel00101::inRetorno, -1);
  EXPECT_THAT(DebugLogEntries(env_),
              ElementsAre("Bematech_FI_NumeroReducoes\r\nRetorno da Impressora :   42", "",
                          "ERRO!!! Erro de execução na função."));
  EXPECT_TRUE(host_.dialogs.empty()) << "the counters never show a dialog";
}

TEST_F(NextReductionNumberTest, TextThatIsNoNumberRaisesNamingIt) {
  g_count = "00A1";
  std::string value;
  try {
    Zel00101::NumeroReducoes("001", value);
    FAIL() << "no error for a count that is not a number";
  } catch (const Error& error) {
    EXPECT_THAT(error.what(), HasSubstr("\"00A1\""));
  }
  EXPECT_EQ(Zel00101::inRetorno, 1) << "the return is kept before the conversion";
}

}  // namespace
}  // namespace zel
