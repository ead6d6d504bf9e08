#include "core/driver_state.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "core/data_module.h"
#include "platform/env.h"
#include "zel/dataset.h"
#include "zel/driver_state.h"

namespace zel {
namespace {

// Everything a test here may change, put back afterwards so the tests do
// not depend on their order.
class DriverStateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (std::string* text : DriverStateTexts()) saved_texts_.push_back(*text);
  }
  void TearDown() override {
    std::size_t i = 0;
    for (std::string* text : DriverStateTexts()) *text = saved_texts_[i++];
    Zel00101::ImpFisDLLHandle = nullptr;
    Zel00101::boImpFiscalOK = false;
    Zel00101::dtmBematech10 = nullptr;
    Zel00101::inRetorno = 0;
    Zel00101::boComando = false;
    Zel00101::cdsAuxExtSimp = nullptr;
    Zel00101::Rev_idTipoImpfis = 0;
  }

 private:
  std::vector<std::string> saved_texts_;
};

// Reports a host directory and a short form of our own, to see that both
// take part.
class FixedHostEnv : public EnvWrapper {
 public:
  explicit FixedHostEnv(std::string directory)
      : EnvWrapper(Env::Default()), directory_(std::move(directory)) {}
  std::string HostExecutableDirectory() override { return directory_; }
  std::string ShortPath(std::string_view path) override {
    return "short<" + std::string(path) + ">";
  }

 private:
  std::string directory_;
};

class FailingHostEnv : public EnvWrapper {
 public:
  FailingHostEnv() : EnvWrapper(Env::Default()) {}
  std::string HostExecutableDirectory() override { throw Error("no /proc here"); }
};

TEST_F(DriverStateTest, StartsWithTheInitialValues) {
  EXPECT_EQ(Zel00101::ImpFisDLLHandle, nullptr);
  EXPECT_FALSE(Zel00101::boImpFiscalOK);
  EXPECT_EQ(Zel00101::dtmBematech10, nullptr);
  EXPECT_EQ(Zel00101::inRetorno, 0);
  EXPECT_FALSE(Zel00101::boComando);
  EXPECT_EQ(Zel00101::cdsAuxExtSimp, nullptr);
  EXPECT_EQ(Zel00101::Rev_idTipoImpfis, 0);
  for (std::string* text : DriverStateTexts()) {
    if (text != &Zel00101::dsDirCad) {
      EXPECT_EQ(*text, "");
    }
  }
}

TEST_F(DriverStateTest, LoadingRecordsTheHostDirectoryWithATrailingBackslash) {
  // Set when this test program started, as when a host loads the library.
  EXPECT_EQ(Zel00101::dsDirCad, Env::Default()->HostExecutableDirectory() + "\\");
}

TEST_F(DriverStateTest, InitializationTakesTheShortFormOfDirectoryAndBackslash) {
  FixedHostEnv env("/srv/pdv/bin");
  Env::SetCurrent(&env);
  Zel00101::stRetorno = "kept";
  InitializeDriverState();
  Env::SetCurrent(nullptr);
  EXPECT_EQ(Zel00101::dsDirCad, "short</srv/pdv/bin\\>");
  EXPECT_EQ(Zel00101::stRetorno, "kept");
  EXPECT_EQ(Zel00101::dtmBematech10, nullptr);
  EXPECT_EQ(Zel00101::ImpFisDLLHandle, nullptr);
}

TEST_F(DriverStateTest, InitializationReportsAnUnknownHostDirectory) {
  FailingHostEnv env;
  Env::SetCurrent(&env);
  Zel00101::dsDirCad = "before\\";
  EXPECT_THROW(InitializeDriverState(), Error);
  Env::SetCurrent(nullptr);
  EXPECT_EQ(Zel00101::dsDirCad, "before\\");
}

TEST_F(DriverStateTest, TextListHoldsEveryTextVariableOnce) {
  const auto texts = DriverStateTexts();
  EXPECT_EQ(texts.size(), 48u);
  const std::set<std::string*> distinct(texts.begin(), texts.end());
  EXPECT_EQ(distinct.size(), texts.size());
  for (std::string* expected :
       {&Zel00101::stImpDebug, &Zel00101::stRetorno, &Zel00101::IdTotRelatorio,
        &Zel00101::stAliquotaIss, &Zel00101::stDataCat, &Zel00101::dsDirCad, &Zel00101::ECF,
        &Zel00101::IdTotCompCred, &Zel00101::stAtuFili, &Zel00101::stAtuCaixa,
        &Zel00101::stSerieAtu, &Zel00101::IdTotParcCV, &Zel00101::stcdPortaDisp,
        &Zel00101::stVersaoSoftwareBasico}) {
    EXPECT_TRUE(distinct.contains(expected));
  }
}

TEST_F(DriverStateTest, FinalizationEmptiesTextsAndLeavesTheRest) {
  for (std::string* text : DriverStateTexts()) *text = "valor";
  TdtmBematech10 module;
  Dataset statement("cdsAuxExtSimp");
  int library = 0;
  Zel00101::ImpFisDLLHandle = &library;
  Zel00101::boImpFiscalOK = true;
  Zel00101::dtmBematech10 = &module;
  Zel00101::inRetorno = -5;
  Zel00101::boComando = true;
  Zel00101::cdsAuxExtSimp = &statement;
  Zel00101::Rev_idTipoImpfis = 3;

  FinalizeDriverState();

  for (std::string* text : DriverStateTexts()) EXPECT_EQ(*text, "");
  EXPECT_EQ(Zel00101::stRetorno, "");
  EXPECT_EQ(Zel00101::dsDirCad, "");
  EXPECT_EQ(Zel00101::stVersaoSoftwareBasico, "");
  EXPECT_EQ(Zel00101::ImpFisDLLHandle, &library);
  EXPECT_TRUE(Zel00101::boImpFiscalOK);
  EXPECT_EQ(Zel00101::dtmBematech10, &module);
  EXPECT_EQ(Zel00101::inRetorno, -5);
  EXPECT_TRUE(Zel00101::boComando);
  EXPECT_EQ(Zel00101::cdsAuxExtSimp, &statement);
  EXPECT_EQ(Zel00101::Rev_idTipoImpfis, 3);
  // The module itself is untouched: its tables are still there.
  EXPECT_EQ(module.msgPadrao.Msg("Relatorio"), "Relatorios");
}

}  // namespace
}  // namespace zel
