// Starting the loaded driver against the simulated printer.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "core/vendor_table.h"
#include "host/codepage.h"
#include "support/driver_fixture.h"
#include "zel/variant.h"

namespace zel {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Not;

using ParamsOp = bool(const Variant&);
using DataOp = bool(Variant&);

const char kDataDif[] =
    "Data da impressora fiscal difere da data do sistema em mais de 15 minutos.";

class StartIntegrationTest : public DriverFixture {
 protected:
  void SetUp() override {
    DriverFixture::SetUp();
    // The printer keeps real time; the driver's clock is pinned to it.
    env_.SetNow(Env::Default()->Now());
  }
  Variant Params() {
    return MakeParams({{"CDFILIAL", "0001"},
                       {"CDCAIXA", "002"},
                       {"NRSERIE", "X"},
                       {"NRSERIEIMP", "X"},
                       {"ESQUEMA", "001"},
                       {"ESQUEMACOR", "006"},
                       {"PORTAIMPFIS", "COM1"},
                       {"CDPORTAIMPFIS", "COM1"}});
  }
  bool Start() { return Op<ParamsOp>("StartImpFiscal")(Params()); }
  void SetClockOffset(long long seconds) { Sim<void(long long)>("EcfSim_SetClockOffset")(seconds); }
  bool EntryBound() {
    return Var<Zel00101::TBematech_FI_AbrePortaSerial>("Bematech_FI_AbrePortaSerial") != nullptr;
  }
};

TEST_F(StartIntegrationTest, StartsAndStartsAgainAfterStopWithoutLoadingTwice) {
  Var<bool>("boImpFiscalOK") = false;
  ASSERT_TRUE(Start());
  EXPECT_TRUE(Var<bool>("boImpFiscalOK"));
  EXPECT_TRUE(EntryBound());
  void* handle = Var<void*>("ImpFisDLLHandle");
  ASSERT_NE(handle, nullptr);
  EXPECT_THAT(SimJournal(), Contains("Bematech_FI_AbrePortaSerial"));
  EXPECT_THAT(SimJournal(), Contains("Bematech_FI_FechaRelatorioGerencial"));
  EXPECT_THAT(host_.dialogs, IsEmpty());

  Op<void()>("StopImpFiscal")();
  EXPECT_FALSE(EntryBound());
  env_.InjectFailure(EnvOperation::kOpenLibrary, TestEnv::kEveryCall);  // a load would fail
  EXPECT_TRUE(Start());
  EXPECT_EQ(Var<void*>("ImpFisDLLHandle"), handle);
}

TEST_F(StartIntegrationTest, FailedPortOpeningEmptiesTheTableAndKeepsTheFlag) {
  Sim<void(const char*, int, int)>("EcfSim_FailEntry")("Bematech_FI_AbrePortaSerial", -5, 1);
  Var<bool>("boImpFiscalOK") = false;
  EXPECT_FALSE(Start());
  EXPECT_FALSE(Var<bool>("boImpFiscalOK"));
  EXPECT_FALSE(EntryBound());
  const std::string text = "Erro ao abrir porta de comunicação.";
  EXPECT_THAT(host_.DialogTexts(), ElementsAre(Utf8ToCp1252(text), Utf8ToCp1252(text)));
  EXPECT_THAT(LogEntries(), ElementsAre("", "ERRO!!! " + text, "ERRO!!! Abrindo porta COM1",
                                        "Descarregando DLL Impressora Fiscal"));

  Var<bool>("boImpFiscalOK") = true;
  Sim<void(const char*, int, int)>("EcfSim_FailEntry")("Bematech_FI_AbrePortaSerial", -5, 1);
  EXPECT_FALSE(Start());
  EXPECT_TRUE(Var<bool>("boImpFiscalOK"));
}

TEST_F(StartIntegrationTest, ClockFifteenMinutesOffIsAcceptedSixteenBehindIsNot) {
  SetClockOffset(15 * 60);
  EXPECT_TRUE(Start());
  SetClockOffset(-15 * 60);
  EXPECT_TRUE(Start());
  EXPECT_THAT(host_.dialogs, IsEmpty());

  SetClockOffset(-16 * 60);
  EXPECT_FALSE(Start());
  EXPECT_THAT(host_.DialogTexts(), ElementsAre(Utf8ToCp1252(kDataDif)));
  EXPECT_EQ(host_.dialogs[0].colour_scheme, "006");
}

TEST_F(StartIntegrationTest, ClockADayAheadFails) {
  SetClockOffset(24 * 3600);
  EXPECT_FALSE(Start());
  EXPECT_THAT(host_.DialogTexts(), ElementsAre(Utf8ToCp1252(kDataDif)));
  EXPECT_THAT(SimJournal(), Not(Contains("Bematech_FI_VerificaImpressoraLigada")));
}

TEST_F(StartIntegrationTest, UnreadableParametersShowOneDialogThenTheOpeningFails) {
  EXPECT_FALSE(Op<ParamsOp>("StartImpFiscal")(Variant()));
  ASSERT_EQ(host_.dialogs.size(), 2u);
  EXPECT_TRUE(host_.dialogs[0].text.ends_with(Utf8ToCp1252(
      "Erro no recebimento dos parâmetros da função: StartImpFiscal - Zel_00100.bpl")));
  EXPECT_FALSE(EntryBound());
}

TEST_F(StartIntegrationTest, PrinterDataAfterRepairingTheIni) {
  WriteBemaIni({"[Sistema]", "Porta=COM1", "Impressora=1", "Path=C:\\"});
  BindPrinterEntries();
  Variant params = MakeParams({{"ESQUEMA", "001"},
                               {"DATAATUIMP", ""},
                               {"ECFIMP", ""},
                               {"REDIMP", "7"},
                               {"SERIEIMP", ""},
                               {"DATAIMP", ""}});
  EXPECT_TRUE(Op<DataOp>("Carrega_Dados_Impressora")(params));
  EXPECT_EQ(host_.terminate_requests, 1);
  EXPECT_THAT(env_.ReadLines(env_.SystemDirectory() + "/BemaFI32.ini"), Contains("Impressora=0"));
  const VariantArray& pairs = params.AsArray();
  ASSERT_EQ(pairs.size(), 5u);
  EXPECT_EQ(pairs[2].AsArray()[1], Variant("7"));
  EXPECT_EQ(pairs[0].AsArray()[1].AsText().size(), 12u);
  EXPECT_EQ(pairs[3].AsArray()[1].AsText().size(), 15u);
  EXPECT_THAT(SimJournal(),
              ElementsAre("Bematech_FI_DataMovimento", "Bematech_FI_RetornoImpressora",
                          "Bematech_FI_DataHoraImpressora", "Bematech_FI_RetornoImpressora",
                          "Bematech_FI_NumeroCaixa", "Bematech_FI_RetornoImpressora",
                          "Bematech_FI_NumeroSerieMFD", "Bematech_FI_RetornoImpressora"));
}

}  // namespace
}  // namespace zel
