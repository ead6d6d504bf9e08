// Supply, withdrawal and the cash drawer, through the loaded driver against
// the simulated printer.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "host/codepage.h"
#include "support/driver_fixture.h"
#include "zel/format_settings.h"

namespace zel {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

using CashFn = bool(const std::string&, const std::string&, double);
using SchemeTextFn = std::string(const std::string&);

constexpr char kScheme[] = "007";
constexpr char kCommandError[] = "Erro ao enviar comando para a impressora.";

class CashTest : public DriverFixture {
 protected:
  void SetUp() override {
    DriverFixture::SetUp();
    BindPrinterEntries();
  }
  void TearDown() override {
    UseDecimalSeparator(',');
    DriverFixture::TearDown();
  }

  void UseDecimalSeparator(char separator) {
    FormatSettings settings;
    settings.decimal_separator = separator;
    settings.thousand_separator = separator == ',' ? '.' : ',';
    ASSERT_TRUE(Op<bool(const FormatSettings*)>("ZelDefineFormatos")(&settings));
  }
  void FailEntry(const char* entry, int code, int times = 1) {
    Sim<void(const char*, int, int)>("EcfSim_FailEntry")(entry, code, times);
  }
  bool Suprimento(double amount) { return Op<CashFn>("Suprimento")("x", kScheme, amount); }
  bool Sangria(double amount) { return Op<CashFn>("Sangria")("x", kScheme, amount); }
  std::vector<std::string> Dialogs() {
    std::vector<std::string> texts;
    for (const std::string& text : host_.DialogTexts()) texts.push_back(Cp1252ToUtf8(text));
    return texts;
  }
};

TEST_F(CashTest, SuprimentoOfNothingSendsNothing) {
  EXPECT_TRUE(Suprimento(0));

  EXPECT_THAT(SimJournal(), IsEmpty());
  EXPECT_THAT(LogEntries(), IsEmpty());
}

TEST_F(CashTest, SuprimentoFailureAddsTheCommandErrorDialog) {
  FailEntry("Bematech_FI_Suprimento", -2);

  EXPECT_FALSE(Suprimento(5));

  EXPECT_EQ(Var<std::int32_t>("inRetorno"), -2);
  EXPECT_THAT(Dialogs(), ElementsAre("Parâmetro inválido.", kCommandError));
  EXPECT_EQ(host_.dialogs[1],
            (RecordedDialog{Utf8ToCp1252(kCommandError), "", "N", "N", 0, "", kScheme, 0, false}));
}

// A negative supply is no "nothing": answering true would tell the host
// money went into the till that the printer never saw.
TEST_F(CashTest, SuprimentoOfANegativeAmountOrOfNoNumberIsRefused) {
  EXPECT_ANY_THROW(Suprimento(-3));
  EXPECT_ANY_THROW(Suprimento(-0.01));
  EXPECT_ANY_THROW(Suprimento(std::numeric_limits<double>::quiet_NaN()));
  EXPECT_THAT(SimJournal(), IsEmpty());
}

class SeparatorTest : public CashTest, public ::testing::WithParamInterface<char> {
 protected:
  // `text` with its ',' written as the separator of this run.
  static std::string Local(std::string text) {
    for (char& c : text) {
      if (c == ',') c = GetParam();
    }
    return text;
  }
};

TEST_P(SeparatorTest, SuprimentoSendsTwoDecimalsInCash) {
  UseDecimalSeparator(GetParam());

  EXPECT_TRUE(Suprimento(12.5));

  EXPECT_THAT(SimJournal(), ElementsAre(Local("Bematech_FI_Suprimento|12,50|Dinheiro"),
                                        "Bematech_FI_RetornoImpressora"));
  EXPECT_THAT(LogEntries(), ElementsAre(Local("Bematech_FI_Suprimento : 12,50 - Dinheiro"), ""));
  EXPECT_EQ(Var<std::int32_t>("inRetorno"), 1);
  EXPECT_THAT(host_.dialogs, IsEmpty());
}

TEST_P(SeparatorTest, SangriaOfNothingIsRegisteredAsOneCent) {
  UseDecimalSeparator(GetParam());

  EXPECT_TRUE(Sangria(0));

  EXPECT_THAT(SimJournal(), ElementsAre("Bematech_FI_RecebimentoNaoFiscal|SA|00000000000001|",
                                        "Bematech_FI_RetornoImpressora"));
  EXPECT_THAT(LogEntries(),
              ElementsAre("Bematech_FI_RecebimentoNaoFiscal : SA - 00000000000001 - ", ""));
}

TEST_P(SeparatorTest, SangriaSendsFourteenDigitsOfCents) {
  UseDecimalSeparator(GetParam());
  ASSERT_TRUE(Suprimento(2000));
  ClearSimJournal();

  EXPECT_TRUE(Sangria(1234.56));

  EXPECT_THAT(SimJournal(), Contains("Bematech_FI_RecebimentoNaoFiscal|SA|00000000123456|"));
  EXPECT_THAT(host_.dialogs, IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(Separators, SeparatorTest, ::testing::Values(',', '.'));

TEST_F(CashTest, SangriaFailureAddsTheCommandErrorDialog) {
  FailEntry("Bematech_FI_RecebimentoNaoFiscal", 0);

  EXPECT_FALSE(Sangria(10));

  EXPECT_THAT(Dialogs(), ElementsAre("Erro de comunicação.", kCommandError));
  EXPECT_EQ(host_.dialogs[1].colour_scheme, kScheme);
}

TEST_F(CashTest, SangriaOfAnAmountThePrinterWouldMisreadSendsNothing) {
  EXPECT_ANY_THROW(Sangria(-10));
  EXPECT_ANY_THROW(Sangria(1e12));
  EXPECT_THAT(SimJournal(), IsEmpty());
}

TEST_F(CashTest, AbreGavetaOpensTheDrawer) {
  EXPECT_TRUE(Op<bool(const std::string&, bool)>("Abre_Gaveta_Imp")(kScheme, false));

  EXPECT_EQ(SimFigure("drawer_open"), 1);
  EXPECT_THAT(LogEntries(), ElementsAre("Bematech_FI_AcionaGaveta", ""));
}

TEST_F(CashTest, EstadoGavetaReportsTheDrawer) {
  EXPECT_EQ(Op<SchemeTextFn>("Estado_Gaveta_Imp")(kScheme), "00");
  Sim<void(int)>("EcfSim_SetDrawerOpen")(1);
  EXPECT_EQ(Op<SchemeTextFn>("Estado_Gaveta_Imp")(kScheme), "01");

  EXPECT_THAT(LogEntries(), ElementsAre("Bematech_FI_VerificaEstadoGaveta: 0", "",
                                        "Bematech_FI_VerificaEstadoGaveta: 1", ""));
}

TEST_F(CashTest, EstadoGavetaIsEmptyWhenThePrinterCannotTell) {
  FailEntry("Bematech_FI_VerificaEstadoGaveta", 0);

  EXPECT_EQ(Op<SchemeTextFn>("Estado_Gaveta_Imp")(kScheme), "");

  EXPECT_THAT(Dialogs(), ElementsAre("Erro de comunicação."));
}

TEST_F(CashTest, EstadoGavetaCancelsACouponLeftOpen) {
  ASSERT_EQ(Sim<int(const char*)>("Bematech_FI_AbreCupom")(""), 1);
  ClearSimJournal();

  EXPECT_EQ(Op<SchemeTextFn>("Estado_Gaveta_Imp")(kScheme), "00");

  EXPECT_THAT(SimJournal(), Contains("Bematech_FI_CancelaCupom"));
  EXPECT_EQ(SimFigure("document"), 0);
}

TEST_F(CashTest, CutterAndBarCodeNeverReachThePrinter) {
  EXPECT_FALSE(Op<bool(int)>("Guilhotina")(1));
  // Exported under its unit-qualified name only.
  EXPECT_TRUE(Symbol<bool(const std::string&, const std::string&)>(
      "_ZN8Zel0010111CodigoBarraERKNSt7__cxx1112basic_stringIcSt11char_traitsIcESaIcEEES7_")(
      "EAN13", "7891234567895"));

  EXPECT_THAT(SimJournal(), IsEmpty());
  EXPECT_THAT(LogEntries(), IsEmpty());
}

}  // namespace
}  // namespace zel
