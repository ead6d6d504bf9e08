#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "core/data_module.h"
#include "fake_fiscal_entries.h"
#include "fake_start_entries.h"
#include "host/codepage.h"
#include "support/recording_host.h"
#include "support/test_env.h"
#include "zel/driver_state.h"
#include "zel/operations.h"

namespace zel {
namespace {

using ::testing::Each;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::StartsWith;

constexpr char kScheme[] = "005";

class StartTest : public ::testing::Test {
 protected:
  StartTest() { EnsureDataModule(); }

  Variant PortParams() {
    return MakeParams({{"CDFILIAL", "0001"},
                       {"CDCAIXA", "002"},
                       {"NRSERIE", "BE0910101000112"},
                       {"ESQUEMACOR", kScheme},
                       {"PORTAIMPFIS", "COM2"}});
  }
  RecordedDialog Dialog(const std::string& utf8, int kind, const std::string& scheme = kScheme) {
    return RecordedDialog{Utf8ToCp1252(utf8), "", "N", "N", kind, "", scheme, 0, false};
  }

  TestEnv env_;
  ScopedCurrentEnv use_env_{&env_};
  JournalingHost host_;
  ScopedHost use_host_{&host_};
  FakeFiscalPrinter printer_;
  FakeStartPrinter start_;
};

TEST_F(StartTest, OpensChecksAndClosesDocumentsLeftOpen) {
  EXPECT_TRUE(Zel00101::AbrePorta(PortParams()));
  EXPECT_THAT(
      printer_.journal,
      ElementsAre("AbrePortaSerial", "RetornoImpressora", "DataHoraImpressora", "RetornoImpressora",
                  "VerificaImpressoraLigada", "FechaComprovanteNaoFiscalVinculado",
                  "FechaRelatorioGerencial", "RetornoImpressora"));
  EXPECT_THAT(printer_.status_presets.back(), "0,0,0");
  EXPECT_THAT(host_.dialogs, IsEmpty());
}

TEST_F(StartTest, PortThatDoesNotOpenIsReportedTwice) {
  start_.port_result = -5;
  EXPECT_FALSE(Zel00101::AbrePorta(PortParams()));
  const std::string text = "Erro ao abrir porta de comunicação.";
  EXPECT_THAT(host_.dialogs, ElementsAre(Dialog(text, 0), Dialog(text, 3)));
  EXPECT_THAT(DebugLogEntries(env_),
              ElementsAre("", "ERRO!!! " + text, "ERRO!!! Abrindo porta COM2"));
  EXPECT_THAT(printer_.journal.back(), "Mensagem: " + text);
}

TEST_F(StartTest, WrongClockStopsTheOpening) {
  start_.time = "120000";
  EXPECT_FALSE(Zel00101::AbrePorta(PortParams()));
  EXPECT_THAT(host_.dialogs,
              ElementsAre(Dialog("Data da impressora fiscal difere da data do sistema em mais de "
                                 "15 minutos.",
                                 3)));
  EXPECT_EQ(printer_.journal.back(),
            "Mensagem: Data da impressora fiscal difere da data do "
            "sistema em mais de 15 minutos.");
}

TEST_F(StartTest, PrinterSwitchedOffIsLoggedAndShown) {
  start_.power_result = -6;
  EXPECT_FALSE(Zel00101::AbrePorta(PortParams()));
  const std::string text = "Impressora desligada ou desconectada.";
  EXPECT_THAT(host_.dialogs, ElementsAre(Dialog(text, 3)));
  EXPECT_EQ(DebugLogEntries(env_).back(), "ERRO!!! " + text);
}

TEST_F(StartTest, CouponLeftOpenIsCancelledAndTheTotalRefreshed) {
  printer_.ScriptStatuses({{}, {}, {.st1 = 2}, {}});
  Zel00101::dsDirCad = env_.root() + "/host\\";  // no configuration there
  EXPECT_TRUE(Zel00101::AbrePorta(PortParams()));
  EXPECT_EQ(printer_.journal[7], "RetornoImpressora");
  EXPECT_EQ(printer_.journal[8], "CancelaCupom");
  // Atu_TotGeral ran (IDVALIDA "N") and found no configuration file; the
  // operator is told the coupon was cancelled.
  ASSERT_EQ(host_.dialogs.size(), 2u);
  EXPECT_NE(host_.dialogs[0].text.find("qrv"), std::string::npos);
  EXPECT_EQ(host_.dialogs[0].colour_scheme, kScheme);
  EXPECT_NE(host_.dialogs[1].text.find("foi cancelado"), std::string::npos);
  Zel00101::dsDirCad.clear();
}

TEST_F(StartTest, OnlyACouponOpenAloneIsCancelled) {
  for (int st1 : {3, 66, 130}) {
    printer_.journal.clear();
    printer_.ScriptStatuses({{}, {}, {.st1 = st1}, {}});
    EXPECT_TRUE(Zel00101::AbrePorta(PortParams()));
    EXPECT_EQ(printer_.journal.back(), "RetornoImpressora") << st1;
  }
}

TEST_F(StartTest, UnreadableParametersFailTheOpeningWithOneDialog) {
  for (const Variant& params :
       {Variant(), Variant(VariantArray{}), MakeParams({{"CDFILIAL", "1"}}), Variant(3)}) {
    host_.dialogs.clear();
    EXPECT_FALSE(Zel00101::AbrePorta(params));
    ASSERT_EQ(host_.dialogs.size(), 1u);
    EXPECT_TRUE(host_.dialogs[0].text.ends_with(
        Utf8ToCp1252("\rErro no recebimento dos parâmetros da função: AbrePorta - Zel_00100.bpl")));
  }
  // The printer was never called: the journal holds the four dialogs only.
  EXPECT_EQ(printer_.journal.size(), 4u);
  EXPECT_THAT(printer_.journal, Each(StartsWith("Mensagem: ")));
}

// --- Printer data --------------------------------------------------------------

class PrinterDataTest : public StartTest {
 protected:
  Variant DataParams() {
    return MakeParams({{"ESQUEMA", kScheme},
                       {"DATAATUIMP", ""},
                       {"ECFIMP", ""},
                       {"REDIMP", 17},
                       {"SERIEIMP", ""},
                       {"DATAIMP", ""}});
  }
  std::string IniPath() { return env_.SystemDirectory() + "/BemaFI32.ini"; }
};

TEST_F(PrinterDataTest, ReadsEveryTextInOrder) {
  start_.time = "101112";
  Variant params = DataParams();
  EXPECT_TRUE(Zel00101::Carrega_Dados_Impressora(params));
  EXPECT_EQ(params, MakeParams({{"DATAATUIMP", "071226101112"},
                                {"ECFIMP", "0001"},
                                {"REDIMP", 17},
                                {"SERIEIMP", "BE0910101000112"},
                                {"DATAIMP", "071226"}}));
  EXPECT_THAT(
      DebugLogEntries(env_),
      ElementsAre("Bematech_FI_DataMovimento\r\nRetorno da Impressora : 071226", "",
                  "Bematech_FI_DataHoraImpressora\r\nRetorno da Impressora : 071226101112", "",
                  "Bematech_FI_NumeroCaixa\r\nRetorno da Impressora : 0001", "",
                  "Bematech_FI_NumeroSerieMFD : \r\nRetorno da Impressora : BE0910101000112", ""));
  EXPECT_THAT(host_.dialogs, IsEmpty());
}

TEST_F(PrinterDataTest, NoFiscalDayYetGivesToday) {
  start_.movement_date = "000000";
  env_.SetNow(EncodeDateTime({.year = 2027, .month = 3, .day = 4, .hour = 10}));
  start_.date = "040327";
  start_.time = "100000";
  Variant params = DataParams();
  EXPECT_TRUE(Zel00101::Carrega_Dados_Impressora(params));
  EXPECT_EQ(RecebeParams(params, "DATAIMP"), Variant("040327"));
}

TEST_F(PrinterDataTest, ABlankAnswerEndsTheReadingsAndFails) {
  start_.register_number = "";
  Variant params = DataParams();
  EXPECT_FALSE(Zel00101::Carrega_Dados_Impressora(params));
  EXPECT_EQ(RecebeParams(params, "ECFIMP"), Variant("    "));
  EXPECT_EQ(RecebeParams(params, "SERIEIMP"), Variant(""));
  EXPECT_EQ(printer_.journal.back(), "RetornoImpressora");
  EXPECT_EQ(std::count(printer_.journal.begin(), printer_.journal.end(), "NumeroSerieMFD"), 0);

  start_.movement_date = "";
  params = DataParams();
  EXPECT_FALSE(Zel00101::Carrega_Dados_Impressora(params));
  EXPECT_EQ(RecebeParams(params, "DATAIMP"), Variant("      "));
  EXPECT_EQ(RecebeParams(params, "DATAATUIMP"), Variant(""));
}

TEST_F(PrinterDataTest, WrongImpressoraKeyIsRepairedAndTheHostToldToClose) {
  env_.WriteLines(IniPath(), {"[Sistema]", "Porta=COM2", "impressora=1", "Path=C:\\"});
  Variant params = DataParams();
  EXPECT_TRUE(Zel00101::Carrega_Dados_Impressora(params));
  EXPECT_THAT(env_.ReadLines(IniPath()),
              ElementsAre("[Sistema]", "Porta=COM2", "impressora=0", "Path=C:\\"));
  EXPECT_EQ(host_.terminate_requests, 1);
  ASSERT_EQ(host_.dialogs.size(), 1u);
  EXPECT_EQ(host_.dialogs[0], Dialog("O parâmetro Impressora no arquivo BemaFI32.ini encontra-se "
                                     "com o valor errado.O sistema irá alterar este parâmetro "
                                     "automaticamente e será fechado.",
                                     0));
  EXPECT_EQ(RecebeParams(params, "ECFIMP"), Variant("0001"));  // still read
}

TEST_F(PrinterDataTest, RightImpressoraKeyIsLeftAlone) {
  env_.WriteLines(IniPath(), {"Impressora=0"});
  Variant params = DataParams();
  EXPECT_TRUE(Zel00101::Carrega_Dados_Impressora(params));
  EXPECT_EQ(host_.terminate_requests, 0);
  EXPECT_THAT(host_.dialogs, IsEmpty());
}

TEST_F(PrinterDataTest, UnreadableParametersShowOneDialogAndGoOn) {
  Variant params;
  EXPECT_TRUE(Zel00101::Carrega_Dados_Impressora(params));
  ASSERT_EQ(host_.dialogs.size(), 1u);
  EXPECT_TRUE(host_.dialogs[0].text.ends_with(
      Utf8ToCp1252("\rErro no recebimento dos parâmetros da função: Carrega_Dados_Impressora - "
                   "Zel_00100.bpl")));
  EXPECT_EQ(host_.dialogs[0].colour_scheme, "001");
  EXPECT_EQ(RecebeParams(params, "ECFIMP"), Variant("0001"));
  EXPECT_EQ(RecebeParams(params, "REDIMP"), Variant());
}

TEST(NationalCodeTest, Model20VersionsAndOtherModels) {
  const std::pair<const char*, const char*> rows[] = {
      {"VER0300", "030501"}, {"0305", "030502"},    {"0310", "030503"},    {"VER0315", "030504"},
      {"VER0322", "030505"}, {"VER0325", "030506"}, {"VER0326", "030507"}, {"VER0331", "030508"},
      {"VER0330", "030509"}, {"VER9999", "030509"}, {"", "030509"}};
  for (const auto& [version, code] : rows) {
    EXPECT_EQ(Zel00101::Codigo_Nacional_ECF(20, version), code) << version;
  }
  EXPECT_EQ(Zel00101::Codigo_Nacional_ECF(19, "VER0300"), "000000");
  EXPECT_EQ(Zel00101::Codigo_Nacional_ECF(0, "0305"), "000000");
}

TEST(FixedAnswersTest, LeaveTheirTextsAlone) {
  std::string a = "a", b = "b", c = "c";
  EXPECT_TRUE(Zel00101::Modelo_Impressora("001", a, b, c));
  EXPECT_FALSE(Zel00101::InfImpTerm(a, b, c));
  EXPECT_TRUE(Zel00101::Versao_Software_Basico(a));
  EXPECT_EQ(a + b + c, "abc");
  Zel00101::IdTotCompCred = "  ";
  EXPECT_FALSE(Zel00101::VerificaTotalizador());
  Zel00101::IdTotCompCred = "05";
  EXPECT_TRUE(Zel00101::VerificaTotalizador());
  Zel00101::IdTotCompCred.clear();
}

}  // namespace
}  // namespace zel
