// The fiscal counters and figures, through the loaded driver against the
// simulated printer.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "support/driver_fixture.h"

namespace zel {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::SizeIs;

using FigureFn = bool(const std::string&, std::string&);
using RecordingDatesFn = bool(const std::string&, std::string&, std::string&, std::string&);

constexpr char kScheme[] = "003";

// `value` as the printer writes it: zero-filled digits in `width` columns.
std::string Digits(long long value, int width) {
  std::string text = std::to_string(value);
  return std::string(static_cast<std::size_t>(width) - text.size(), '0') + text;
}

class FiscalCountersTest : public DriverFixture {
 protected:
  void SetUp() override {
    DriverFixture::SetUp();
    BindPrinterEntries();
  }

  bool Query(const std::string& name, std::string& value) {
    return Op<FigureFn>(name)(kScheme, value);
  }
  void FailEntry(const char* entry, int code, int times) {
    Sim<void(const char*, int, int)>("EcfSim_FailEntry")(entry, code, times);
  }
  // A coupon with one item of 10,00 on the printer, left open.
  void SellOneItem() {
    ASSERT_EQ(Sim<int(int, int, int)>("EcfSim_SetTaxRate")(1, 1800, 0), 1);
    ASSERT_EQ(Sim<int(const char*)>("Bematech_FI_AbreCupom")(""), 1);
    ASSERT_EQ(
        Sim<int(const char*, const char*, const char*, const char*, const char*, const char*)>(
            "Bematech_FI_VendeItem")("001", "ITEM", "01", "10,00", "1,000", "0"),
        1);
  }
};

struct FigureRow {
  const char* name;    // exported operation; the entry is Bematech_FI_ + name
  const char* figure;  // the printer's own figure behind it
  int width;
};

class PlainFigureTest : public FiscalCountersTest,
                        public ::testing::WithParamInterface<FigureRow> {};

TEST_P(PlainFigureTest, ReturnsThePrinterTextInItsWidthAndLogsIt) {
  const FigureRow& row = GetParam();
  const std::string entry = std::string("Bematech_FI_") + row.name;
  std::string value = "left by the host";
  ClearSimJournal();

  EXPECT_TRUE(Query(row.name, value));

  EXPECT_EQ(value, Digits(SimFigure(row.figure), row.width));
  EXPECT_EQ(Var<std::int32_t>("inRetorno"), 1);
  EXPECT_THAT(LogEntries(), ElementsAre(entry + "\r\nRetorno da Impressora : " + value, ""));
  EXPECT_THAT(SimJournal(), ElementsAre(entry, "Bematech_FI_RetornoImpressora"));
  EXPECT_THAT(host_.dialogs, IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(Figures, PlainFigureTest,
                         ::testing::Values(FigureRow{"ContadorCupomFiscalMFD", "ccf", 6},
                                           FigureRow{"NumeroOperacoesNaoFiscais", "gnf", 6},
                                           FigureRow{"VendaBruta", "gross_sales", 18},
                                           FigureRow{"Descontos", "discounts", 14},
                                           FigureRow{"Cancelamentos", "cancellations", 14},
                                           FigureRow{"ContadorRelatoriosGerenciaisMFD", "grg", 6},
                                           FigureRow{"ContadorComprovantesCreditoMFD", "cdc", 6}),
                         [](const ::testing::TestParamInfo<FigureRow>& info) {
                           return std::string(info.param.name);
                         });

TEST_F(FiscalCountersTest, CountersWithoutAFigureOfTheirOwnKeepTheirWidth) {
  std::string substitutions, interventions;

  EXPECT_TRUE(Query("NumeroSubstituicoesProprietario", substitutions));
  EXPECT_TRUE(Query("NumeroIntervencoes", interventions));

  EXPECT_THAT(substitutions, SizeIs(4));
  EXPECT_THAT(interventions, SizeIs(4));
  EXPECT_THAT(SimJournal(), Contains("Bematech_FI_NumeroSubstituicoesProprietario"));
  EXPECT_THAT(SimJournal(), Contains("Bematech_FI_NumeroIntervencoes"));
}

TEST_F(FiscalCountersTest, VendaBrutaKeepsAllEighteenCharacters) {
  SellOneItem();
  ASSERT_GT(SimFigure("gross_sales"), 0);
  std::string value;

  Query("VendaBruta", value);

  EXPECT_EQ(value, Digits(SimFigure("gross_sales"), 18));
}

TEST_F(FiscalCountersTest, AnOpenCouponIsCancelledByTheAnalysis) {
  SellOneItem();
  ClearSimJournal();
  std::string value;

  EXPECT_TRUE(Query("ContadorCupomFiscalMFD", value));

  EXPECT_THAT(SimJournal(),
              ElementsAre("Bematech_FI_ContadorCupomFiscalMFD", "Bematech_FI_RetornoImpressora",
                          "Bematech_FI_CancelaCupom", "Bematech_FI_RetornoImpressora"));
  EXPECT_EQ(SimFigure("document"), 0) << "the coupon is still open";
  EXPECT_THAT(LogEntries(), Contains("ERRO!!! Cupom aberto."));
  EXPECT_THAT(host_.dialogs, IsEmpty());
}

TEST_F(FiscalCountersTest, NumeroReducoesGivesTheNextReductionNumber) {
  std::string value;

  EXPECT_TRUE(Query("NumeroReducoes", value));

  ASSERT_EQ(SimFigure("crz"), 0);
  EXPECT_EQ(value, "   1");
  EXPECT_THAT(LogEntries(),
              ElementsAre("Bematech_FI_NumeroReducoes\r\nRetorno da Impressora :    1", ""));
}

TEST_F(FiscalCountersTest, NumeroReducoesWithABlankAnswerGivesZero) {
  // The entry reports success without writing anything.
  FailEntry("Bematech_FI_NumeroReducoes", 1, 1);
  std::string value;

  EXPECT_TRUE(Query("NumeroReducoes", value));

  EXPECT_EQ(value, "   0");
}

TEST_F(FiscalCountersTest, AFailedQueryIsOnlyLoggedAndLeavesTheBlanks) {
  FailEntry("Bematech_FI_Descontos", -1, 1);
  std::string value = "x";

  EXPECT_FALSE(Query("Descontos", value));

  EXPECT_EQ(value, std::string(14, ' '));
  EXPECT_EQ(Var<std::int32_t>("inRetorno"), -1);
  EXPECT_THAT(LogEntries(), Contains("ERRO!!! Erro de execução na função."));
  EXPECT_THAT(host_.dialogs, IsEmpty());
}

TEST_F(FiscalCountersTest, UnboundEntryFailsLikeAPrinterThatDoesNotAnswer) {
  Op<void()>("StopImpFiscal")();
  std::string value;

  EXPECT_FALSE(Query("ContadorCupomFiscalMFD", value));

  EXPECT_EQ(value, std::string(6, ' '));
  EXPECT_EQ(Var<std::int32_t>("inRetorno"), 0);
  EXPECT_THAT(host_.dialogs, IsEmpty());
  EXPECT_THAT(SimJournal(), IsEmpty());
}

TEST_F(FiscalCountersTest, RecordingDatesFillThreeOutputsAndLogThemTogether) {
  std::string user = "u", software = "s", additional = "a";

  EXPECT_TRUE(Op<RecordingDatesFn>("DataHoraGravacaoUsuarioSWBasicoMFAdicional")(
      kScheme, user, software, additional));

  EXPECT_THAT(user, SizeIs(20));
  EXPECT_THAT(software, SizeIs(20));
  EXPECT_THAT(additional, SizeIs(5));
  EXPECT_NE(user, std::string(20, ' ')) << "the printer wrote no date";
  EXPECT_THAT(LogEntries(), ElementsAre("Bematech_FI_DataHoraGravacaoUsuarioSWBasicoMFAdicional\r\n"
                                        "Retorno da Impressora : " +
                                            user + " - " + software + " - " + additional,
                                        ""));
}

}  // namespace
}  // namespace zel
