// Opening a coupon, selling items and reading the coupon number, through the
// loaded driver against the simulated printer.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/codepage.h"
#include "support/sale_fixture.h"
#include "zel/format_settings.h"
#include "zel/variant.h"

namespace zel {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Not;
using ::testing::StartsWith;

using ParamsOp = bool(Variant&);
using NrCupomOp = std::string(const std::string&, const std::string&);

constexpr char kScheme[] = "042";
constexpr char kOpenEntry[] = "Bematech_FI_AbreCupomMFD";
constexpr char kItemEntry[] = "Bematech_FI_VendeItemDepartamento";

RecordedDialog Question(const std::string& utf8_text) {
  return RecordedDialog{Utf8ToCp1252(utf8_text), "", "N", "S", 3, "", kScheme, 0, false};
}
const RecordedDialog kPrintAgain = Question("Impressora não responde. Imprimir novamente?");

class ItemSaleTest : public SaleFixture {
 protected:
  void SetUp() override {
    SaleFixture::SetUp();
    BindPrinterEntries();
  }
  void TearDown() override {
    Op<bool(const FormatSettings*)>("ZelDefineFormatos")(nullptr);
    SaleFixture::TearDown();
  }

  bool AbreCupom(Variant& params) { return Op<ParamsOp>("AbreCupom")(params); }
  bool VendaItem(Variant& params) { return Op<ParamsOp>("VendaItem")(params); }
  std::string NrCupom() { return Op<NrCupomOp>("Nr_Cupom")("", kScheme); }

  void OpenCoupon() {
    Variant params = OpeningParams(kScheme, {});
    ASSERT_TRUE(AbreCupom(params));
    ClearSimJournal();
    host_.dialogs.clear();
  }
  std::vector<RecordedDialog> Questions() {
    std::vector<RecordedDialog> questions;
    for (const RecordedDialog& dialog : host_.dialogs) {
      if (dialog.question == "S") questions.push_back(dialog);
    }
    return questions;
  }
};

// --- AbreCupom -------------------------------------------------------------------

TEST_F(ItemSaleTest, OpeningWithoutBuyerSendsEmptyFieldsAndReturnsTheSixPairs) {
  Variant params = OpeningParams(kScheme, {});

  EXPECT_TRUE(AbreCupom(params));

  EXPECT_THAT(Calls(kOpenEntry), ElementsAre("Bematech_FI_AbreCupomMFD|||"));
  EXPECT_EQ(SimFigure("document"), 1);
  EXPECT_EQ(params, MakeParams({{"INTTEFERRO", 0},
                                {"INCLUICPF", ""},
                                {"INCLUINOME", ""},
                                {"INCLUIENDERECO", ""},
                                {"CUPNR", "000017"},
                                {"CONTCUPOM", "3"}}));
  EXPECT_THAT(LogEntries(), Contains("Bematech_FI_AbreCupomMFD : -  - "));
  EXPECT_THAT(host_.dialogs, IsEmpty());
}

TEST_F(ItemSaleTest, LongBuyerFieldsAreCutForThePrinterButKeptWholeElsewhere) {
  const Buyer buyer{std::string(35, '1'), std::string(45, 'N'), std::string(90, 'E')};
  Variant params = OpeningParams(kScheme, buyer);

  EXPECT_TRUE(AbreCupom(params));

  EXPECT_THAT(Calls(kOpenEntry),
              ElementsAre("Bematech_FI_AbreCupomMFD|" + std::string(29, '1') + "|" +
                          std::string(30, 'N') + "|" + std::string(80, 'E')));
  EXPECT_THAT(LogEntries(), Contains("Bematech_FI_AbreCupomMFD :" + buyer.cpf + " - " + buyer.name +
                                     " - " + buyer.address));
  EXPECT_EQ(RecebeParams(params, "INCLUICPF"), Variant(buyer.cpf));
  EXPECT_EQ(RecebeParams(params, "INCLUINOME"), Variant(buyer.name));
  EXPECT_EQ(RecebeParams(params, "INCLUIENDERECO"), Variant(buyer.address));
}

TEST_F(ItemSaleTest, FailedOpeningOutsideTefAsksNothingAndStillRewritesTheArray) {
  FailEntry(kOpenEntry, 0, -1);
  Variant params = OpeningParams(kScheme, {"1", "ANA", "RUA"});

  EXPECT_FALSE(AbreCupom(params));

  EXPECT_THAT(Questions(), IsEmpty());
  EXPECT_THAT(host_.dialogs, Not(IsEmpty())) << "the return analysis explains the failure";
  EXPECT_EQ(Calls(kOpenEntry).size(), 1u);
  EXPECT_EQ(params, MakeParams({{"INTTEFERRO", 0},
                                {"INCLUICPF", "1"},
                                {"INCLUINOME", "ANA"},
                                {"INCLUIENDERECO", "RUA"},
                                {"CUPNR", "000017"},
                                {"CONTCUPOM", "3"}}));
}

TEST_F(ItemSaleTest, TefRetryYesThenNoGivesUpAndLeavesTheArrayAlone) {
  FailEntry(kOpenEntry, 0, -1);
  host_.ScriptAnswers({true, false});
  const Variant sent = OpeningParams(kScheme, {"1", "ANA", "RUA"}, "T", true);
  Variant params = sent;

  EXPECT_FALSE(AbreCupom(params));

  EXPECT_THAT(Questions(), ElementsAre(kPrintAgain, kPrintAgain));
  EXPECT_EQ(Calls(kOpenEntry).size(), 2u);
  EXPECT_EQ(params, sent);
}

TEST_F(ItemSaleTest, TefRetryThatSucceedsReturnsTheRetryFlag) {
  FailEntry(kOpenEntry, 0, 1);
  host_.ScriptAnswers({true});
  Variant params = OpeningParams(kScheme, {}, "S", true);

  EXPECT_TRUE(AbreCupom(params));

  EXPECT_THAT(Questions(), ElementsAre(kPrintAgain));
  EXPECT_EQ(Calls(kOpenEntry).size(), 2u);
  EXPECT_EQ(RecebeParams(params, "INTTEFERRO"), Variant(1));
  EXPECT_EQ(SimFigure("document"), 1);
}

TEST_F(ItemSaleTest, TefIndicatorWithoutTefActiveDoesNotRetry) {
  FailEntry(kOpenEntry, 0, -1);
  Variant params = OpeningParams(kScheme, {}, "T", false);

  EXPECT_FALSE(AbreCupom(params));

  EXPECT_THAT(Questions(), IsEmpty());
  EXPECT_EQ(Calls(kOpenEntry).size(), 1u);
}

TEST_F(ItemSaleTest, UnreadableOpeningParametersPrintNothing) {
  Variant params = MakeParams({{"ESQUEMACOR", kScheme}, {"INCLUICPF", ""}});
  const Variant sent = params;

  EXPECT_FALSE(AbreCupom(params));

  EXPECT_THAT(Calls(kOpenEntry), IsEmpty());
  ASSERT_EQ(host_.dialogs.size(), 1u);
  EXPECT_THAT(host_.dialogs[0].text,
              ::testing::HasSubstr(Utf8ToCp1252(
                  "Erro no recebimento dos parâmetros da função: AbreCupom - Zel_00100.bpl")));
  EXPECT_EQ(params, sent);
}

// --- VendaItem -------------------------------------------------------------------

TEST_F(ItemSaleTest, ItemSendsQuantityAndPriceWithThreeDecimalsAndNoDiscount) {
  OpenCoupon();
  Variant params = ItemParams(kScheme, {.quantity = 2, .price = 3.45});

  EXPECT_TRUE(VendaItem(params));

  const std::string sent = "7891|ARROZ|01|3,450|2,000|00|0000|01|KG";
  EXPECT_THAT(Calls(kItemEntry), ElementsAre(std::string(kItemEntry) + "|" + sent));
  EXPECT_THAT(LogEntries(),
              Contains("Bematech_FI_VendeItemDepartamento : 7891 - ARROZ - 01 - 3,450 - 2,000 - "
                       "00 - 0000 - 01 - KG"));
  EXPECT_EQ(params, MakeParams({{"INTTEFERRO", 5}}));
  EXPECT_EQ(SimFigure("gross_sales"), 690);
  EXPECT_THAT(host_.dialogs, IsEmpty());
}

TEST_F(ItemSaleTest, DiscountGoesAsEightDigitsWithImpliedCents) {
  OpenCoupon();
  Variant params = ItemParams(kScheme, {.quantity = 0.5, .price = 100, .discount = 12.349});

  EXPECT_TRUE(VendaItem(params));

  EXPECT_THAT(Calls(kItemEntry), ElementsAre(std::string(kItemEntry) +
                                             "|7891|ARROZ|01|100,000|0,500|00|00001234|01|KG"));
  EXPECT_EQ(SimFigure("discounts"), 1234);
}

TEST_F(ItemSaleTest, PriceIsCutNotRoundedAndLongTextsAreCut) {
  OpenCoupon();
  Variant params = ItemParams(
      kScheme, {.name = std::string(40, 'D'), .quantity = 1, .price = 2.999, .unit = "UNID"});

  EXPECT_TRUE(VendaItem(params));

  EXPECT_THAT(Calls(kItemEntry),
              ElementsAre(std::string(kItemEntry) + "|7891|" + std::string(29, 'D') +
                          "|01|2,990|1,000|00|0000|01|UN"));
}

TEST_F(ItemSaleTest, FieldsFollowTheHostDecimalSeparator) {
  FormatSettings settings;
  settings.decimal_separator = '.';
  settings.thousand_separator = ',';
  ASSERT_TRUE(Op<bool(const FormatSettings*)>("ZelDefineFormatos")(&settings));
  OpenCoupon();
  Variant params = ItemParams(kScheme, {.quantity = 2, .price = 3.45, .discount = 1.5});

  EXPECT_TRUE(VendaItem(params));

  EXPECT_THAT(Calls(kItemEntry), ElementsAre(std::string(kItemEntry) +
                                             "|7891|ARROZ|01|3.450|2.000|00|00000150|01|KG"));
}

TEST_F(ItemSaleTest, UnprogrammedRateExplainsAndAsksAboutTheItem) {
  OpenCoupon();
  const Variant sent =
      ItemParams(kScheme, {.code = "555", .name = std::string(25, 'X'), .rate = "09"});
  Variant params = sent;

  EXPECT_FALSE(VendaItem(params));

  EXPECT_THAT(host_.DialogTexts(),
              Contains(Utf8ToCp1252("Alíquota não programada na impressora fiscal.")));
  EXPECT_THAT(Questions(),
              ElementsAre(Question("Erro ao imprimir o item: \r\n555 - " + std::string(20, 'X') +
                                   "\r\nDeseja imprimir novamente?")));
  EXPECT_EQ(params, sent);
  EXPECT_EQ(Calls(kItemEntry).size(), 1u);
}

TEST_F(ItemSaleTest, ItemRetriedOutsideTefUntilThePrinterTakesIt) {
  OpenCoupon();
  FailEntry(kItemEntry, 0, 2);
  host_.ScriptAnswers({true, true});
  Variant params = ItemParams(kScheme, {.quantity = 1, .price = 4});

  EXPECT_TRUE(VendaItem(params));

  EXPECT_EQ(Questions().size(), 2u);
  EXPECT_EQ(Calls(kItemEntry).size(), 3u);
  EXPECT_EQ(SimFigure("gross_sales"), 400) << "sold once";
  EXPECT_EQ(params, MakeParams({{"INTTEFERRO", 5}}));
}

TEST_F(ItemSaleTest, TefItemRetryYesThenNo) {
  OpenCoupon();
  FailEntry(kItemEntry, 0, -1);
  host_.ScriptAnswers({true, false});
  const Variant sent = ItemParams(kScheme, {.tef_indicator = "S", .tef = true});
  Variant params = sent;

  EXPECT_FALSE(VendaItem(params));

  EXPECT_THAT(Questions(), ElementsAre(kPrintAgain, kPrintAgain));
  EXPECT_EQ(Calls(kItemEntry).size(), 2u);
  EXPECT_EQ(params, sent);
}

TEST_F(ItemSaleTest, DiscountTooLargeForItsFieldIsRefusedBeforePrinting) {
  OpenCoupon();
  Variant params = ItemParams(kScheme, {.quantity = 1, .price = 5000000, .discount = 1000000});
  const Variant sent = params;

  EXPECT_FALSE(VendaItem(params));

  EXPECT_THAT(Calls(kItemEntry), IsEmpty());
  const std::string text = "O valor 1000000,00 não cabe no campo de 8 dígitos da impressora.";
  EXPECT_THAT(host_.dialogs, ElementsAre(RecordedDialog{Utf8ToCp1252(text), "", "N", "N", 3, "",
                                                        kScheme, 0, false}));
  EXPECT_THAT(LogEntries(), Contains("ERRO!!! " + text));
  EXPECT_EQ(params, sent);
}

TEST_F(ItemSaleTest, MissingItemParameterPrintsNothing) {
  OpenCoupon();
  Variant params = MakeParams({{"ESQUEMACOR", kScheme}, {"CDARVPROD", "1"}});

  EXPECT_FALSE(VendaItem(params));

  EXPECT_THAT(Calls(kItemEntry), IsEmpty());
  ASSERT_EQ(host_.dialogs.size(), 1u);
  EXPECT_THAT(host_.dialogs[0].text,
              ::testing::HasSubstr(Utf8ToCp1252(
                  "Erro no recebimento dos parâmetros da função: VendaItem - Zel_00100.bpl")));
}

// --- Nr_Cupom --------------------------------------------------------------------

TEST_F(ItemSaleTest, CouponNumberIsThePrinterCounterWithLeadingZeros) {
  const std::string number = NrCupom();

  ASSERT_EQ(number.size(), 6u);
  EXPECT_EQ(std::stoll(number), SimFigure("coo"));
  EXPECT_THAT(LogEntries(),
              Contains("Bematech_FI_NumeroCupom\r\nRetorno da Impressora : " + number));
  EXPECT_THAT(host_.dialogs, IsEmpty());
}

TEST_F(ItemSaleTest, CouponNumberFailureIsErroSilentlyWithTheBufferLogged) {
  FailEntry("Bematech_FI_NumeroCupom", 0, 1);

  EXPECT_EQ(NrCupom(), "ERRO");

  EXPECT_THAT(host_.dialogs, IsEmpty());
  EXPECT_THAT(LogEntries(), Contains("Bematech_FI_NumeroCupom\r\nRetorno da Impressora :       "));
}

TEST_F(ItemSaleTest, CouponNumberQueryCancelsACouponLeftOpen) {
  OpenCoupon();

  const std::string number = NrCupom();

  EXPECT_NE(number, "ERRO");
  EXPECT_EQ(SimFigure("document"), 0) << "the open coupon is still open";
  EXPECT_THAT(host_.dialogs, IsEmpty());
}

}  // namespace
}  // namespace zel
