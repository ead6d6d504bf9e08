#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "core/data_module.h"
#include "fake_fiscal_entries.h"
#include "fake_start_entries.h"
#include "host/cipher.h"
#include "host/codepage.h"
#include "support/host_config_file.h"
#include "support/recording_host.h"
#include "support/test_env.h"
#include "zel/dataset.h"
#include "zel/driver_state.h"
#include "zel/format_settings.h"
#include "zel/operations.h"

namespace zel {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr char kScheme[] = "009";
constexpr char kSerial[] = "BE0910101000112";

struct ConfigRow {
  std::string branch = "0001", cash_register = "002", serial_plain = kSerial;
  std::string site = "A", check = "S", total_cipher;
};

class GrandTotalTest : public ::testing::Test {
 protected:
  GrandTotalTest() {
    EnsureDataModule();
    Zel00101::dsDirCad = env_.root() + "/host\\";
    Zel00101::stAtuFili = "0001";
    Zel00101::stAtuCaixa = "002";
    Zel00101::stSerieAtu = kSerial;
  }
  ~GrandTotalTest() override {
    Zel00101::dsDirCad.clear();
    Zel00101::stAtuFili.clear();
    Zel00101::stAtuCaixa.clear();
    Zel00101::stSerieAtu.clear();
  }

  static std::string Enciphered(const std::string& text) { return Cripto(text, kCipherKey); }

  // Writes a configuration file in the host directory with the rows given.
  void WriteConfig(const std::string& name, const std::vector<ConfigRow>& rows) {
    std::vector<HostConfigRow> stored;
    for (const ConfigRow& row : rows) {
      stored.push_back({row.branch, row.cash_register, Enciphered(row.serial_plain), row.site,
                        row.check, row.total_cipher});
    }
    WriteHostConfigFile(HostFile(name), stored);
  }
  std::string HostFile(const std::string& name) { return env_.root() + "/host/" + name; }
  std::string FileBytes(const std::string& name) { return env_.ReadFile(HostFile(name)); }
  // The deciphered CAMPO02 of the row of `branch`.
  std::string StoredTotal(const std::string& name, const std::string& branch = "0001") {
    Dataset table("check");
    table.LoadFromFile(HostFile(name));
    EXPECT_TRUE(table.Locate("CDFILIAL", branch));
    return Uncripto(table.AsText("CAMPO02"), kCipherKey);
  }

  bool Check(const std::string& validate) {
    return Zel00101::Atu_TotGeral(MakeParams({{"CDFILIAL", "0001"},
                                              {"CDCAIXA", "002"},
                                              {"NRSERIEIMP", kSerial},
                                              {"ESQUEMACOR", kScheme},
                                              {"IDVALIDA", validate}}));
  }
  RecordedDialog Dialog(const std::string& text) {
    return RecordedDialog{text, "", "N", "N", 3, "", kScheme, 0, false};
  }
  RecordedDialog WrongTotal(const std::string& file) {
    return Dialog(Utf8ToCp1252("Arquivo (" + file +
                               ") está inválido. Valor do totalizador geral da impressora fiscal "
                               "está incorreto."));
  }

  TestEnv env_;
  ScopedCurrentEnv use_env_{&env_};
  JournalingHost host_;
  ScopedHost use_host_{&host_};
  FakeFiscalPrinter printer_;
  FakeStartPrinter start_;
};

// --- GetValue and BuscaTotGer --------------------------------------------------

TEST_F(GrandTotalTest, GetValueReadsTwoImpliedDecimals) {
  EXPECT_DOUBLE_EQ(Zel00101::GetValue("000000000000123456"), 1234.56);
  EXPECT_DOUBLE_EQ(Zel00101::GetValue("  1.234,56 "), 1234.56);
  EXPECT_DOUBLE_EQ(Zel00101::GetValue("7"), 0.07);
  EXPECT_DOUBLE_EQ(Zel00101::GetValue("000000000000000000"), 0.0);
  EXPECT_THROW(Zel00101::GetValue("                  "), Error);
  EXPECT_THROW(Zel00101::GetValue("12A4"), Error);
}

TEST_F(GrandTotalTest, GetValueFollowsTheDecimalSeparator) {
  FormatSettings dot;
  dot.decimal_separator = '.';
  dot.thousand_separator = ',';
  SetFormatSettings(dot);
  EXPECT_DOUBLE_EQ(Zel00101::GetValue("000000000000123456"), 1234.56);
  std::string total;
  EXPECT_TRUE(Zel00101::BuscaTotGer(kScheme, total));
  EXPECT_EQ(total, "1234.56");
  SetFormatSettings(FormatSettings{});
}

TEST_F(GrandTotalTest, BuscaTotGerLogsTheReplyAndGivesANumberText) {
  start_.grand_total = "000000000001000010";
  std::string total;
  EXPECT_TRUE(Zel00101::BuscaTotGer(kScheme, total));
  EXPECT_EQ(total, "10000,1");
  EXPECT_THAT(printer_.journal, ElementsAre("GrandeTotal", "RetornoImpressora"));
  EXPECT_THAT(
      DebugLogEntries(env_),
      ElementsAre("Bematech_FI_GrandeTotal\r\nRetorno da Impressora : 000000000001000010", ""));
}

// --- Atu_TotGeral ------------------------------------------------------------

TEST_F(GrandTotalTest, EqualTotalsPassWithoutWriting) {
  WriteConfig("Ploteva.cds", {{.total_cipher = Enciphered("1234,56")}});
  const std::string before = FileBytes("Ploteva.cds");
  EXPECT_TRUE(Check("S"));
  EXPECT_THAT(host_.dialogs, IsEmpty());
  EXPECT_EQ(FileBytes("Ploteva.cds"), before);
}

TEST_F(GrandTotalTest, DifferentTotalsFailAndLeaveTheFileUnchanged) {
  WriteConfig("Ploteva.cds", {{.total_cipher = Enciphered("1234,55")}});
  const std::string before = FileBytes("Ploteva.cds");
  EXPECT_FALSE(Check("S"));
  EXPECT_THAT(host_.dialogs, ElementsAre(WrongTotal(Zel00101::dsDirCad + "Ploteva.cds")));
  EXPECT_EQ(FileBytes("Ploteva.cds"), before);
}

TEST_F(GrandTotalTest, ResetMarkerTakesThePrinterTotalWhateverItIs) {
  start_.grand_total = "000000000009876543";
  WriteConfig("Ploteva.cds", {{.branch = "0009", .total_cipher = Enciphered("5,00")},
                              {.total_cipher = Enciphered("10,10")}});
  EXPECT_TRUE(Check("S"));
  EXPECT_THAT(host_.dialogs, IsEmpty());
  EXPECT_EQ(StoredTotal("Ploteva.cds"), "98765,43");
  EXPECT_EQ(StoredTotal("Ploteva.cds", "0009"), "5,00");  // other rows kept
}

TEST_F(GrandTotalTest, WithoutValidationTheStoredTotalIsRefreshedNeverCompared) {
  WriteConfig("Ploteva.cds", {{.total_cipher = Enciphered("1,00")}});
  EXPECT_TRUE(Check("N"));
  EXPECT_THAT(host_.dialogs, IsEmpty());
  EXPECT_EQ(StoredTotal("Ploteva.cds"), "1234,56");
}

TEST_F(GrandTotalTest, NoStoredTotalFails) {
  WriteConfig("Ploteva.cds", {{.total_cipher = ""}});
  const std::string before = FileBytes("Ploteva.cds");
  EXPECT_FALSE(Check("S"));
  EXPECT_THAT(host_.dialogs, ElementsAre(WrongTotal(Zel00101::dsDirCad + "Ploteva.cds")));
  EXPECT_EQ(FileBytes("Ploteva.cds"), before);
}

TEST_F(GrandTotalTest, RowsWithoutTheCheckOrOfOtherRegistersPass) {
  WriteConfig("Ploteva.cds", {{.check = "N", .total_cipher = Enciphered("1,00")},
                              {.cash_register = "003", .total_cipher = Enciphered("1,00")}});
  EXPECT_TRUE(Check("S"));
  EXPECT_THAT(host_.dialogs, IsEmpty());
  EXPECT_THAT(printer_.journal, IsEmpty());  // the printer was not even asked
}

TEST_F(GrandTotalTest, HostSerialMayBeEnciphered) {
  Zel00101::stSerieAtu = Enciphered(kSerial);
  WriteConfig("Ploteva.cds", {{.total_cipher = Enciphered("1,00")}});
  EXPECT_FALSE(Check("S"));
  EXPECT_EQ(host_.dialogs.size(), 1u);
}

TEST_F(GrandTotalTest, AlternativeFileIsUsedWhenPlotevaIsMissing) {
  WriteConfig("qrv0020001.cds", {{.site = "I", .total_cipher = Enciphered("1,00")},
                                 {.site = "A", .total_cipher = Enciphered("2,00")}});
  EXPECT_FALSE(Check("S"));
  EXPECT_THAT(host_.dialogs, ElementsAre(WrongTotal(Zel00101::dsDirCad + "qrv0020001.cds")));

  host_.dialogs.clear();
  WriteConfig("qrv0020001.cds", {{.site = "I", .total_cipher = Enciphered("1,00")},
                                 {.site = "A", .total_cipher = Enciphered("1234,56")}});
  EXPECT_TRUE(Check("S"));
  EXPECT_THAT(host_.dialogs, IsEmpty());
}

TEST_F(GrandTotalTest, NoConfigurationFileFailsWithTheReason) {
  EXPECT_FALSE(Check("S"));
  ASSERT_EQ(host_.dialogs.size(), 1u);
  EXPECT_NE(host_.dialogs[0].text.find("qrv0020001.cds"), std::string::npos);
  EXPECT_EQ(host_.dialogs[0].kind, 3);
  EXPECT_FALSE(env_.FileExists(HostFile("Ploteva.cds")));
}

TEST_F(GrandTotalTest, AStoredTotalThatDoesNotDecipherFailsAndChangesNothing) {
  WriteConfig("Ploteva.cds", {{.total_cipher = "0123456789"}});
  const std::string before = FileBytes("Ploteva.cds");
  EXPECT_FALSE(Check("N"));
  EXPECT_EQ(host_.dialogs.size(), 1u);
  EXPECT_EQ(FileBytes("Ploteva.cds"), before);
}

TEST_F(GrandTotalTest, BadParametersFailWithOneDialog) {
  WriteConfig("Ploteva.cds", {{.total_cipher = Enciphered("1234,56")}});
  for (const Variant& params :
       {Variant(), Variant(VariantArray{}), Variant("x"), MakeParams({{"CDFILIAL", "0001"}})}) {
    host_.dialogs.clear();
    EXPECT_FALSE(Zel00101::Atu_TotGeral(params));
    ASSERT_EQ(host_.dialogs.size(), 1u);
    EXPECT_EQ(host_.dialogs[0].colour_scheme, "001");
  }
}

// --- VerificaSerialImp -----------------------------------------------------------

class SerialCheckTest : public GrandTotalTest {
 protected:
  bool CheckSerial(const Variant& uses, const std::string& host_serial) {
    return Zel00101::VerificaSerialImp(MakeParams({{"UTILIZAIMPFIS", uses},
                                                   {"DSDIRCAD", env_.root() + "/host"},
                                                   {"ESQUEMACOR", kScheme},
                                                   {"REV_NRSERIE_IMP", host_serial}}));
  }
  RecordedDialog WrongPrinter() {
    return Dialog(Utf8ToCp1252(
        "Operação bloqueada. ECF ou Número de série da Impressora fiscal está incorreto. O "
        "sistema ficará bloqueado até que esta situação seja regularizada."));
  }
};

TEST_F(SerialCheckTest, MatchingSerialPasses) {
  WriteConfig("Ploteva.cds", {{}});
  EXPECT_TRUE(CheckSerial(true, kSerial));
  EXPECT_THAT(host_.dialogs, IsEmpty());
  EXPECT_THAT(
      DebugLogEntries(env_),
      ElementsAre(
          "Bematech_FI_NumeroSerieMFD : \r\nRetorno da Impressora : " + std::string(kSerial), ""));
}

TEST_F(SerialCheckTest, EachMismatchShowsItsOwnDialog) {
  WriteConfig("Ploteva.cds", {{.serial_plain = "OTHER", .total_cipher = ""}});
  EXPECT_FALSE(CheckSerial(true, kSerial));
  EXPECT_THAT(host_.dialogs, ElementsAre(WrongPrinter()));
  host_.dialogs.clear();
  EXPECT_FALSE(CheckSerial(true, "OTHER"));
  EXPECT_THAT(host_.dialogs, ElementsAre(WrongPrinter(), WrongPrinter()));
}

TEST_F(SerialCheckTest, NotUsingThePrinterPassesAtOnce) {
  EXPECT_TRUE(CheckSerial(false, "whatever"));
  EXPECT_THAT(printer_.journal, IsEmpty());
  EXPECT_THAT(host_.dialogs, IsEmpty());
}

TEST_F(SerialCheckTest, PrinterNotAnsweringFailsWithErroComEcf) {
  WriteConfig("Ploteva.cds", {{}});
  printer_.SetStatus({.result = 0});
  EXPECT_FALSE(CheckSerial(true, kSerial));
  ASSERT_EQ(host_.dialogs.size(), 1u);
  EXPECT_EQ(host_.dialogs[0].text, MsgPadrao("ERRO_COM_ECF"));
}

TEST_F(SerialCheckTest, MissingFileFailsWithPlotevaNaoEncontrado) {
  EXPECT_FALSE(CheckSerial(true, kSerial));
  EXPECT_THAT(host_.dialogs,
              ElementsAre(Dialog(Utf8ToCp1252("Arquivo de configuração da impressora fiscal não "
                                              "encontrado. O sistema será bloqueado."))));
}

TEST_F(SerialCheckTest, BadInputFailsWithoutCrashing) {
  EXPECT_FALSE(Zel00101::VerificaSerialImp(Variant()));
  EXPECT_FALSE(CheckSerial(VariantArray{}, kSerial));
  WriteConfig("Ploteva.cds", {{}});
  EXPECT_TRUE(CheckSerial("True", kSerial));
}

}  // namespace
}  // namespace zel
