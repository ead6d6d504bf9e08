// The grand-total and serial-number checks against the host's fiscal
// configuration file (Ploteva.cds, written here as the host writes it), and
// the start of a driver that finds a coupon left open, through the loaded
// driver against the simulated printer.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "host/cipher.h"
#include "host/codepage.h"
#include "support/driver_fixture.h"
#include "support/host_config_file.h"
#include "support/sale_builders.h"
#include "zel/dataset.h"
#include "zel/variant.h"

namespace zel {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

using ParamsOp = bool(const Variant&);

constexpr char kScheme[] = "031";
constexpr char kBranch[] = "0001";
constexpr char kRegister[] = "002";
constexpr char kCancelCoupon[] = "Bematech_FI_CancelaCupom";
constexpr char kGrandTotal[] = "Bematech_FI_GrandeTotal";
const char kWrongSerial[] =
    "Operação bloqueada. ECF ou Número de série da Impressora fiscal está incorreto. O sistema "
    "ficará bloqueado até que esta situação seja regularizada.";

// A start dialog: no question, kind 3, the caller's colours.
RecordedDialog StartDialog(const std::string& utf8_text) {
  return RecordedDialog{Utf8ToCp1252(utf8_text), "", "N", "N", 3, "", kScheme, 0, false};
}

std::string Enciphered(const std::string& text) { return Cripto(text, kCipherKey); }

struct ConfigRow {
  std::string branch = kBranch, cash_register = kRegister;
  std::string serial;        // plain; enciphered into NRSERIEECF
  std::string site = "A";    // IDSITECFIMPF
  std::string check = "S";   // CAMPO01
  std::string stored_total;  // plain; enciphered into CAMPO02 unless empty
};

class GrandTotalConfigTest : public DriverFixture {
 protected:
  void SetUp() override {
    DriverFixture::SetUp();
    // The printer keeps real time; the start's clock check needs the same.
    env_.SetNow(Env::Default()->Now());
    BindPrinterEntries();
    for (const char* name : kHostTexts) saved_[name] = Var<std::string>(name);
    Var<std::string>("dsDirCad") = env_.HostExecutableDirectory() + "\\";
    Var<std::string>("stAtuFili") = kBranch;
    Var<std::string>("stAtuCaixa") = kRegister;
    serial_ = PrinterSerial();
    // The host keeps the serial as its configuration file does, enciphered.
    Var<std::string>("stSerieAtu") = Enciphered(serial_);
    ClearSimJournal();
  }
  void TearDown() override {
    for (const auto& [name, value] : saved_) Var<std::string>(name) = value;
    DriverFixture::TearDown();
  }

  std::string ConfigPath(const std::string& file = "Ploteva.cds") {
    return env_.HostExecutableDirectory() + "/" + file;
  }
  // What the driver names in its messages: its own directory and the file.
  std::string ConfigPathAsShown(const std::string& file) {
    return env_.HostExecutableDirectory() + "\\" + file;
  }

  void WriteConfig(const std::vector<ConfigRow>& rows, const std::string& file = "Ploteva.cds") {
    std::vector<HostConfigRow> stored;
    for (const ConfigRow& row : rows) {
      stored.push_back({row.branch, row.cash_register, Enciphered(row.serial), row.site, row.check,
                        Enciphered(row.stored_total)});
    }
    WriteHostConfigFile(ConfigPath(file), stored);
  }
  ConfigRow OurRow(const std::string& stored_total) {
    return ConfigRow{.serial = serial_, .stored_total = stored_total};
  }
  std::string ConfigBytes(const std::string& file = "Ploteva.cds") {
    return env_.ReadFile(ConfigPath(file));
  }
  // The deciphered CAMPO02 of this register's active row in Ploteva.cds,
  // as a number.
  double StoredTotal() {
    Dataset table("check");
    table.LoadFromFile(ConfigPath());
    EXPECT_TRUE(
        table.Locate("CDFILIAL;CDCAIXA;IDSITECFIMPF",
                     Variant(VariantArray{Variant(kBranch), Variant(kRegister), Variant("A")})));
    std::string text = Uncripto(table.AsText("CAMPO02"), kCipherKey);
    std::replace(text.begin(), text.end(), ',', '.');
    return std::stod(text);
  }

  std::string PrinterSerial() {
    std::string serial(15, ' ');
    EXPECT_EQ(Sim<int(char*)>("Bematech_FI_NumeroSerieMFD")(serial.data()), 1);
    serial.erase(serial.find_last_not_of(' ') + 1);
    return serial;
  }
  double PrinterTotal() { return static_cast<double>(SimFigure("grand_total")) / 100.0; }
  // A closed coupon of 12,34 raises the printer's grand total.
  void SellOnThePrinter() {
    using Item = int(const char*, const char*, const char*, const char*, const char*, const char*);
    using TwoTexts = int(const char*, const char*);
    ASSERT_EQ(Sim<int(int, int, int)>("EcfSim_SetTaxRate")(1, 1800, 0), 1);
    ASSERT_EQ(Sim<int(const char*)>("Bematech_FI_AbreCupom")(""), 1);
    ASSERT_EQ(Sim<Item>("Bematech_FI_VendeItem")("001", "ITEM", "01", "12,34", "1,000", "0"), 1);
    ASSERT_EQ(Sim<int(const char*, const char*, const char*)>("Bematech_FI_IniciaFechamentoCupom")(
                  "d", "$", "0"),
              1);
    ASSERT_EQ(Sim<TwoTexts>("Bematech_FI_EfetuaFormaPagamento")("Dinheiro", "12,34"), 1);
    ASSERT_EQ(Sim<int(const char*)>("Bematech_FI_TerminaFechamentoCupom")(""), 1);
    ASSERT_GT(SimFigure("grand_total"), 0);
    ClearSimJournal();
  }
  void OpenCouponOnThePrinter() {
    ASSERT_EQ(Sim<int(const char*)>("Bematech_FI_AbreCupom")(""), 1);
    ASSERT_EQ(SimFigure("document"), 1);
    ClearSimJournal();
  }

  bool AtuTotGeral(const std::string& validate) {
    return Op<ParamsOp>("Atu_TotGeral")(MakeParams({{"CDFILIAL", kBranch},
                                                    {"CDCAIXA", kRegister},
                                                    {"NRSERIEIMP", serial_},
                                                    {"ESQUEMACOR", kScheme},
                                                    {"IDVALIDA", validate}}));
  }
  bool VerificaSerial(const std::string& host_serial, bool uses_printer = true) {
    return Op<ParamsOp>("VerificaSerialImp")(
        MakeParams({{"UTILIZAIMPFIS", uses_printer},
                    {"DSDIRCAD", env_.HostExecutableDirectory()},
                    {"ESQUEMACOR", kScheme},
                    {"REV_NRSERIE_IMP", host_serial}}));
  }
  bool Start() {
    return Op<ParamsOp>("StartImpFiscal")(MakeParams({{"CDFILIAL", kBranch},
                                                      {"CDCAIXA", kRegister},
                                                      {"NRSERIE", serial_},
                                                      {"NRSERIEIMP", serial_},
                                                      {"ESQUEMA", kScheme},
                                                      {"ESQUEMACOR", kScheme},
                                                      {"PORTAIMPFIS", "COM1"},
                                                      {"CDPORTAIMPFIS", "COM1"}}));
  }
  RecordedDialog WrongTotal(const std::string& file = "Ploteva.cds") {
    return StartDialog("Arquivo (" + Cp1252ToUtf8(ConfigPathAsShown(file)) +
                       ") está inválido. Valor do totalizador geral da impressora fiscal está "
                       "incorreto.");
  }
  std::vector<std::string>::difference_type JournalIndex(const std::string& entry) {
    const std::vector<std::string> journal = SimJournal();
    return std::find(journal.begin(), journal.end(), entry) - journal.begin();
  }

  // The printer's grand total as the host stores it ("12,34").
  std::string PrinterTotalText() {
    const long long cents = SimFigure("grand_total");
    char text[32];
    std::snprintf(text, sizeof text, "%lld,%02lld", cents / 100, cents % 100);
    return text;
  }
  // A coupon opened through the driver, as a host opens it, with one item.
  void OpenCouponThroughTheDriver() {
    Variant opening = OpeningParams(kScheme, Buyer{});
    ASSERT_TRUE(Op<bool(Variant&)>("AbreCupom")(opening));
    Variant item = ItemParams(kScheme, Item{.price = 3.50});
    ASSERT_TRUE(Op<bool(Variant&)>("VendaItem")(item));
  }
  // What a new host process is before it tells the driver who it is, on a
  // printer that was switched off and on.
  void ProcessKilledAndStartedAgain() {
    for (const char* name : kHostTexts) {
      if (std::string(name) != "dsDirCad") Var<std::string>(name).clear();
    }
    Sim<void()>("EcfSim_Restart")();
    host_.dialogs.clear();
    ClearSimJournal();
  }
  void HostSaysWhoItIs() {
    Var<std::string>("stAtuFili") = kBranch;
    Var<std::string>("stAtuCaixa") = kRegister;
    Var<std::string>("stSerieAtu") = Enciphered(serial_);
  }
  bool PendingMarkExists() { return env_.FileExists(ConfigPath("PlotevaPendente.txt")); }

  std::string serial_;

 private:
  static constexpr const char* kHostTexts[] = {"dsDirCad", "stAtuFili", "stAtuCaixa", "stSerieAtu"};
  std::map<std::string, std::string> saved_;
};

// --- Atu_TotGeral ----------------------------------------------------------------

TEST_F(GrandTotalConfigTest, ResetMarkerIsOverwrittenWithThePrintersTotal) {
  SellOnThePrinter();
  WriteConfig({OurRow("10,10")});

  EXPECT_TRUE(AtuTotGeral("S"));

  EXPECT_THAT(host_.dialogs, IsEmpty());
  EXPECT_NEAR(StoredTotal(), PrinterTotal(), 0.001);
  EXPECT_THAT(SimJournal(), Contains(kGrandTotal));
}

TEST_F(GrandTotalConfigTest, WithoutValidationTheStoredTotalIsRefreshedNotCompared) {
  SellOnThePrinter();
  WriteConfig({OurRow("999,99")});

  EXPECT_TRUE(AtuTotGeral("N"));

  EXPECT_THAT(host_.dialogs, IsEmpty());
  EXPECT_NEAR(StoredTotal(), PrinterTotal(), 0.001);
}

TEST_F(GrandTotalConfigTest, DifferentTotalIsRefusedAndTheFileLeftAsItWas) {
  SellOnThePrinter();
  WriteConfig({OurRow("5,00")});
  const std::string before = ConfigBytes();

  EXPECT_FALSE(AtuTotGeral("S"));

  EXPECT_THAT(host_.dialogs, ElementsAre(WrongTotal()));
  EXPECT_EQ(ConfigBytes(), before);
}

TEST_F(GrandTotalConfigTest, BlankStoredTotalIsRefused) {
  WriteConfig({OurRow("")});
  const std::string before = ConfigBytes();

  EXPECT_FALSE(AtuTotGeral("S"));

  EXPECT_THAT(host_.dialogs, ElementsAre(WrongTotal()));
  EXPECT_EQ(ConfigBytes(), before);
}

TEST_F(GrandTotalConfigTest, EqualTotalPassesWithoutWritingAndOtherRowsDoNotCount) {
  SellOnThePrinter();
  const long long cents = SimFigure("grand_total");
  char printer_total[32];
  std::snprintf(printer_total, sizeof printer_total, "%lld,%02lld", cents / 100, cents % 100);
  ConfigRow other_register = OurRow("1,00");
  other_register.cash_register = "009";
  WriteConfig({other_register, OurRow(printer_total)});
  const std::string before = ConfigBytes();

  EXPECT_TRUE(AtuTotGeral("S"));

  EXPECT_THAT(host_.dialogs, IsEmpty());
  EXPECT_EQ(ConfigBytes(), before);
}

TEST_F(GrandTotalConfigTest, RowWithoutTheCheckPassesWithoutAskingThePrinter) {
  ConfigRow row = OurRow("5,00");
  row.check = "N";
  WriteConfig({row});
  const std::string before = ConfigBytes();

  EXPECT_TRUE(AtuTotGeral("S"));

  EXPECT_THAT(SimJournal(), Not(Contains(kGrandTotal)));
  EXPECT_EQ(ConfigBytes(), before);
}

// Without Ploteva.cds the register's own file is read, its active row only;
// a refreshed total still goes to Ploteva.cds.
TEST_F(GrandTotalConfigTest, RegistersOwnFileStandsInForAMissingConfiguration) {
  SellOnThePrinter();
  const std::string own_file = std::string("qrv") + kRegister + kBranch + ".cds";
  ConfigRow retired = OurRow("10,10");
  retired.site = "I";
  WriteConfig({retired, OurRow("5,00")}, own_file);
  const std::string before = ConfigBytes(own_file);

  EXPECT_FALSE(AtuTotGeral("S"));
  EXPECT_THAT(host_.dialogs, ElementsAre(WrongTotal(own_file)));
  EXPECT_EQ(ConfigBytes(own_file), before);
  EXPECT_FALSE(env_.FileExists(ConfigPath()));

  host_.dialogs.clear();
  retired.stored_total = "5,00";
  WriteConfig({retired, OurRow("10,10")}, own_file);
  EXPECT_TRUE(AtuTotGeral("S"));
  EXPECT_THAT(host_.dialogs, IsEmpty());
  EXPECT_NEAR(StoredTotal(), PrinterTotal(), 0.001);
}

// A check that finds no row of this register has checked nothing.
TEST_F(GrandTotalConfigTest, NoRowOfThisRegisterIsAFailureWithTheReason) {
  ConfigRow other_register = OurRow("1,00");
  other_register.cash_register = "009";
  WriteConfig({other_register});
  const std::string before = ConfigBytes();

  for (const char* validate : {"S", "N"}) {
    host_.dialogs.clear();
    EXPECT_FALSE(AtuTotGeral(validate)) << validate;
    ASSERT_EQ(host_.dialogs.size(), 1u) << validate;
    EXPECT_THAT(Cp1252ToUtf8(host_.dialogs[0].text), HasSubstr("não tem a linha desta caixa"));
    EXPECT_EQ(ConfigBytes(), before);
  }
  EXPECT_THAT(LogEntries(), Contains(HasSubstr("ERRO!!! O arquivo de configuração")));
}

// A disk that fills up while the stored total is rewritten leaves the old
// configuration whole, and the refusal names the cause.
TEST_F(GrandTotalConfigTest, AFullDiskNeverDestroysTheConfiguration) {
  SellOnThePrinter();
  WriteConfig({OurRow("1,00")});
  const std::string before = ConfigBytes();
  env_.InjectFailure(EnvOperation::kWriteFile, 1, "Ploteva", kWinDiskFull);

  EXPECT_FALSE(AtuTotGeral("N"));

  EXPECT_EQ(ConfigBytes(), before);
  ASSERT_EQ(host_.dialogs.size(), 1u);
  EXPECT_THAT(host_.dialogs[0].text, HasSubstr("Injected failure of WriteFile"));
  EXPECT_THAT(env_.ListFiles(env_.HostExecutableDirectory(), "*.tmp"), IsEmpty());
  EXPECT_TRUE(AtuTotGeral("N"));
  EXPECT_NEAR(StoredTotal(), PrinterTotal(), 0.001);
}

// --- Work an interruption left unfinished ------------------------------------------

// The host was killed with a coupon open; the new process starts before it
// has told the driver its register and printer.
TEST_F(GrandTotalConfigTest, ACouponCutShortIsCancelledAndTheTotalsAgreeAgain) {
  SellOnThePrinter();
  WriteConfig({OurRow(PrinterTotalText())});
  OpenCouponThroughTheDriver();
  ASSERT_TRUE(PendingMarkExists());
  ProcessKilledAndStartedAgain();

  EXPECT_TRUE(Start());

  EXPECT_EQ(SimFigure("document"), 0);
  ASSERT_EQ(host_.dialogs.size(), 1u);
  const std::string told = Cp1252ToUtf8(host_.dialogs[0].text);
  EXPECT_THAT(told, HasSubstr("O cupom fiscal COO "));
  EXPECT_THAT(told, HasSubstr("deixado aberto por uma interrupção, foi cancelado"));
  EXPECT_THAT(told, HasSubstr("foi atualizado"));
  EXPECT_FALSE(PendingMarkExists());
  HostSaysWhoItIs();
  EXPECT_TRUE(AtuTotGeral("S"));
}

// The printer finished the coupon but the host died before refreshing the
// stored total.
TEST_F(GrandTotalConfigTest, ACouponFinishedBeforeTheRefreshIsReportedAndTheTotalsAgreeAgain) {
  SellOnThePrinter();
  WriteConfig({OurRow(PrinterTotalText())});
  OpenCouponThroughTheDriver();
  using TwoTexts = int(const char*, const char*);
  ASSERT_EQ(Sim<int(const char*, const char*, const char*)>("Bematech_FI_IniciaFechamentoCupom")(
                "D", "$", "0"),
            1);
  ASSERT_EQ(Sim<TwoTexts>("Bematech_FI_EfetuaFormaPagamento")("Dinheiro", "3,50"), 1);
  ASSERT_EQ(Sim<int(const char*)>("Bematech_FI_TerminaFechamentoCupom")(""), 1);
  ProcessKilledAndStartedAgain();

  EXPECT_TRUE(Start());

  ASSERT_EQ(host_.dialogs.size(), 1u);
  EXPECT_THAT(Cp1252ToUtf8(host_.dialogs[0].text),
              HasSubstr("foi concluído na impressora antes da interrupção"));
  EXPECT_THAT(SimJournal(), Not(Contains(kCancelCoupon)));
  HostSaysWhoItIs();
  EXPECT_TRUE(AtuTotGeral("S"));
}

// A mark whose document never reached the printer settles nothing and says
// nothing; and without a mark a total moved by anything else is refused.
TEST_F(GrandTotalConfigTest, OnlyTheDriversOwnInterruptedWorkIsSettled) {
  SellOnThePrinter();
  WriteConfig({OurRow(PrinterTotalText())});
  Sim<void(const char*, int, int)>("EcfSim_FailEntry")("Bematech_FI_AbreCupomMFD", 0, -1);
  Variant opening = OpeningParams(kScheme, Buyer{});
  EXPECT_FALSE(Op<bool(Variant&)>("AbreCupom")(opening));
  Sim<void()>("EcfSim_ClearFaults")();
  ASSERT_TRUE(PendingMarkExists());
  ProcessKilledAndStartedAgain();

  EXPECT_TRUE(Start());
  EXPECT_THAT(host_.dialogs, IsEmpty());
  EXPECT_FALSE(PendingMarkExists());

  SellOnThePrinter();  // the printer used outside this host
  ProcessKilledAndStartedAgain();
  EXPECT_TRUE(Start());
  EXPECT_THAT(host_.dialogs, IsEmpty());
  HostSaysWhoItIs();
  EXPECT_FALSE(AtuTotGeral("S"));
  EXPECT_THAT(host_.dialogs, ElementsAre(WrongTotal()));
}

// --- VerificaSerialImp -----------------------------------------------------------

// The serial number is compared with this register's row, wherever it is.
TEST_F(GrandTotalConfigTest, TheSerialIsThatOfThisRegistersRow) {
  ConfigRow other_register = OurRow("1,00");
  other_register.cash_register = "009";
  other_register.serial = "OTHER0000000001";
  WriteConfig({other_register, OurRow("1,00")});

  EXPECT_TRUE(VerificaSerial(serial_));
  EXPECT_THAT(host_.dialogs, IsEmpty());

  WriteConfig({other_register});
  EXPECT_FALSE(VerificaSerial(serial_));
  ASSERT_EQ(host_.dialogs.size(), 1u);
  EXPECT_THAT(Cp1252ToUtf8(host_.dialogs[0].text), HasSubstr("não tem a linha desta caixa"));
}

TEST_F(GrandTotalConfigTest, MatchingSerialsPass) {
  WriteConfig({OurRow("1,00")});

  EXPECT_TRUE(VerificaSerial(serial_));

  EXPECT_THAT(host_.dialogs, IsEmpty());
  std::string padded = serial_;
  padded.resize(15, ' ');
  EXPECT_THAT(LogEntries(),
              Contains("Bematech_FI_NumeroSerieMFD : \r\nRetorno da Impressora : " + padded));
}

TEST_F(GrandTotalConfigTest, EachDifferingSerialIsReportedOnce) {
  ConfigRow other_printer = OurRow("1,00");
  other_printer.serial = "OTHER0000000001";
  WriteConfig({other_printer});
  EXPECT_FALSE(VerificaSerial(serial_));
  EXPECT_THAT(host_.dialogs, ElementsAre(StartDialog(kWrongSerial)));

  host_.dialogs.clear();
  WriteConfig({OurRow("1,00")});
  EXPECT_FALSE(VerificaSerial("OTHER0000000001"));
  EXPECT_THAT(host_.dialogs, ElementsAre(StartDialog(kWrongSerial)));

  host_.dialogs.clear();
  WriteConfig({other_printer});
  EXPECT_FALSE(VerificaSerial("OTHER0000000001"));
  EXPECT_THAT(host_.dialogs, ElementsAre(StartDialog(kWrongSerial), StartDialog(kWrongSerial)));
}

TEST_F(GrandTotalConfigTest, SerialCheckOffOrImpossible) {
  EXPECT_TRUE(VerificaSerial("anything", false));
  EXPECT_THAT(SimJournal(), IsEmpty());

  // No configuration file.
  EXPECT_FALSE(VerificaSerial(serial_));
  EXPECT_THAT(host_.dialogs,
              ElementsAre(StartDialog("Arquivo de configuração da impressora fiscal não "
                                      "encontrado. O sistema será bloqueado.")));

  host_.dialogs.clear();
  WriteConfig({OurRow("1,00")});
  Sim<void(const char*, int, int)>("EcfSim_FailEntry")("Bematech_FI_NumeroSerieMFD", 0, 1);
  EXPECT_FALSE(VerificaSerial(serial_));
  EXPECT_THAT(host_.dialogs, ElementsAre(StartDialog("Erro de comunicação com o ECF.")));
}

// --- A coupon left open at start -------------------------------------------------

TEST_F(GrandTotalConfigTest, StartCancelsACouponLeftOpenAndRefreshesTheStoredTotal) {
  SellOnThePrinter();
  WriteConfig({OurRow("1,00")});
  OpenCouponOnThePrinter();

  EXPECT_TRUE(Start());

  EXPECT_EQ(SimFigure("document"), 0);
  const auto cancelled = JournalIndex(kCancelCoupon);
  const auto total_read = JournalIndex(kGrandTotal);
  ASSERT_LT(cancelled, static_cast<long>(SimJournal().size()));
  EXPECT_LT(cancelled, total_read);
  EXPECT_THAT(SimJournal(), Contains(kCancelCoupon).Times(1));
  EXPECT_NEAR(StoredTotal(), PrinterTotal(), 0.001);
  ASSERT_EQ(host_.dialogs.size(), 1u);
  EXPECT_THAT(Cp1252ToUtf8(host_.dialogs[0].text), HasSubstr("foi cancelado"));
}

TEST_F(GrandTotalConfigTest, StartLeavesTheCouponWhenTheStatusShowsMoreThanAnOpenCoupon) {
  WriteConfig({OurRow("1,00")});
  const std::string before = ConfigBytes();
  OpenCouponOnThePrinter();
  // The status read after closing leftover documents: coupon open and a
  // parameter error.
  Sim<void(const char*, int, int, int, int)>("EcfSim_SetEntryStatus")(
      "Bematech_FI_FechaRelatorioGerencial", 6, 3, 0, 1);

  EXPECT_TRUE(Start());

  EXPECT_THAT(SimJournal(), Not(Contains(kCancelCoupon)));
  EXPECT_THAT(SimJournal(), Not(Contains(kGrandTotal)));
  EXPECT_EQ(SimFigure("document"), 1);
  EXPECT_EQ(ConfigBytes(), before);
}

}  // namespace
}  // namespace zel
