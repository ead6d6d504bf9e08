// The harness itself: the driver and the simulated printer load by path,
// operations and variables resolve by name, and the driver works inside the
// test's directories with the test's host.
#include "support/driver_fixture.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "host/codepage.h"
#include "zel/error.h"

namespace zel {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

// Zel00101::AnalisaRetorno is exported under its unit-qualified name only.
constexpr char kAnalisaRetornoSymbol[] =
    "_ZN8Zel0010114AnalisaRetornoERKNSt7__cxx1112basic_stringIcSt11char_traitsIcESaIcEEEibbb";
using AnalisaRetornoFn = bool(const std::string&, std::int32_t, bool, bool, bool);

class DriverFixtureTest : public DriverFixture {};

TEST(UnitVariableSymbolTest, ManglesTheNameInsideTheUnitNamespace) {
  EXPECT_EQ(UnitVariableSymbol("boComando"), "_ZN8Zel001019boComandoE");
  EXPECT_EQ(UnitVariableSymbol("ImpFisDLLHandle"), "_ZN8Zel0010115ImpFisDLLHandleE");
  EXPECT_EQ(UnitVariableSymbol("stImpDebug", true), "_ZN8Zel0010110stImpDebugB5cxx11E");
}

TEST_F(DriverFixtureTest, AMissingOperationFailsNamingIt) {
  try {
    Op<void()>("NoSuchOperation");
    FAIL() << "a missing operation resolved";
  } catch (const Error& error) {
    EXPECT_THAT(error.what(), HasSubstr("\"NoSuchOperation\""));
    EXPECT_THAT(error.what(), HasSubstr("libzel00100.so"));
  }
}

TEST_F(DriverFixtureTest, ThePrinterKeepsItsMemoryInTheTestDirectory) {
  char directory[4096] = {};
  Sim<int(char*, int)>("EcfSim_Directory")(directory, sizeof directory);
  EXPECT_EQ(std::string(directory), env_.root() + "/ecfsim");
  EXPECT_EQ(SimFigure("coo"), 0) << "a reset printer has issued no document";
  EXPECT_TRUE(env_.FileExists(env_.SystemDirectory() + "/BemaFI32.ini"));
}

TEST_F(DriverFixtureTest, APendingLineSetByTheHostReachesTheLogInTheHostDirectory) {
  BindPrinterEntries();
  Var<std::string>("stImpDebug") = "linha pendente";
  auto* analisa = Symbol<AnalisaRetornoFn>(kAnalisaRetornoSymbol);

  EXPECT_TRUE(analisa("001", 1, true, false, false));

  EXPECT_THAT(LogEntries(), ElementsAre("linha pendente"));
  EXPECT_TRUE(Var<std::string>("stImpDebug").empty());
  // The pinned clock says December 2026 and the host directory is the test's.
  EXPECT_TRUE(env_.FileExists(env_.root() + "/host/impdebug1226.txt"));
  EXPECT_THAT(SimJournal(), ElementsAre("Bematech_FI_RetornoImpressora"));
}

TEST_F(DriverFixtureTest, DialogsGoToTheRegisteredHost) {
  auto* analisa = Symbol<AnalisaRetornoFn>(kAnalisaRetornoSymbol);
  // Nothing bound: the status read fails like a printer that does not answer.
  EXPECT_FALSE(analisa("009", 1, true, false, false));

  ASSERT_EQ(host_.dialogs.size(), 1u);
  EXPECT_EQ(Cp1252ToUtf8(host_.dialogs[0].text), "Impressora fiscal com erro.");
  EXPECT_EQ(host_.dialogs[0].colour_scheme, "009");
  EXPECT_THAT(LogEntries(), ElementsAre("", "ERRO!!! Ret recebido"));
}

TEST_F(DriverFixtureTest, OperationsResolveByPlainNameAndReachThePrinter) {
  BindPrinterEntries();
  // The printer's own side sends a status request; its reply variables are
  // what the driver then reads.
  const std::string status_request = "\x1b|19|\x1b";
  ASSERT_EQ(Sim<int(const char*)>("BemaFormataTX")(status_request.c_str()), 0);
  auto* retorno = Op<std::string(const std::string&, bool)>("RetornoImpFiscal");

  EXPECT_EQ(retorno("19", true), "06000000");

  EXPECT_THAT(LogEntries(), ElementsAre("Retorno da Impressora 06000000"));
  EXPECT_THAT(SimJournal(), Contains("BemaLe_Variaveis"));
}

TEST_F(DriverFixtureTest, TearDownEmptiesTheEntryTable) {
  BindPrinterEntries();
  EXPECT_NE(Var<void*>("Bematech_FI_RetornoImpressora"), nullptr);
  TearDown();
  EXPECT_EQ(Var<void*>("Bematech_FI_RetornoImpressora"), nullptr);
  SetUp();  // GoogleTest runs TearDown once more
}

}  // namespace
}  // namespace zel
