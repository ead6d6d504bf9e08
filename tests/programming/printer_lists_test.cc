// Reading the printer's rate, totalizer and payment-form lists.
#include "programming/printer_lists.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "zel/format_settings.h"

namespace zel {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Optional;
using ::testing::SizeIs;

MATCHER_P3(IsRate, position, rate, service_tax, "") {
  return arg.position == position && arg.rate == rate && arg.service_tax == service_tax;
}

// The rate list is read with the system's decimal separator, whichever it is.
class RateListTest : public ::testing::TestWithParam<char> {
 protected:
  void SetUp() override {
    FormatSettings settings;
    settings.decimal_separator = GetParam();
    settings.thousand_separator = GetParam() == ',' ? '.' : ',';
    SetFormatSettings(settings);
  }
  void TearDown() override { SetFormatSettings(FormatSettings{}); }
};

TEST_P(RateListTest, FreePositionsAreSkippedButCounted) {
  EXPECT_THAT(ReadRateList("1800,1200,0000,0700" + std::string(60, ' '), ""),
              ElementsAre(IsRate(1, 18.0, false), IsRate(2, 12.0, false), IsRate(4, 7.0, false)));
}

TEST_P(RateListTest, DecimalDigitsAreKept) {
  EXPECT_THAT(ReadRateList("0325,1750", ""),
              ElementsAre(IsRate(1, 3.25, false), IsRate(2, 17.5, false)));
}

TEST_P(RateListTest, BlankOrEmptyListGivesNoRate) {
  EXPECT_THAT(ReadRateList(std::string(79, ' '), "0500"), IsEmpty());
  EXPECT_THAT(ReadRateList("", ""), IsEmpty());
}

TEST_P(RateListTest, RatesOfTheServiceListAreServiceTax) {
  EXPECT_THAT(ReadRateList("1800,0500,1200,0200", "0200,0500" + std::string(70, ' ')),
              ElementsAre(IsRate(1, 18.0, false), IsRate(2, 5.0, true), IsRate(3, 12.0, false),
                          IsRate(4, 2.0, true)));
}

TEST_P(RateListTest, AnEntryThatIsNoNumberIsSkippedButCounted) {
  EXPECT_THAT(ReadRateList("1800,AB12,0700", ""),
              ElementsAre(IsRate(1, 18.0, false), IsRate(3, 7.0, false)));
}

TEST_P(RateListTest, LeadingBlanksAreIgnored) {
  EXPECT_THAT(ReadRateList("   1800,0700", ""),
              ElementsAre(IsRate(1, 18.0, false), IsRate(2, 7.0, false)));
}

TEST_P(RateListTest, AShortLastEntryIsReadWithWhatItHas) {
  EXPECT_THAT(ReadRateList("1800,07", ""),
              ElementsAre(IsRate(1, 18.0, false), IsRate(2, 7.0, false)));
}

INSTANTIATE_TEST_SUITE_P(Separators, RateListTest, ::testing::Values(',', '.'));

std::string Entry(const std::string& name) {
  return name + std::string(19 - name.size(), ' ') + ",";
}

TEST(TotalizerNamesTest, ABlankBufferOfTheHostsWidthGivesNineEmptyNames) {
  const std::vector<std::string> names = ReadTotalizerNames(std::string(179, ' '));
  EXPECT_THAT(names, SizeIs(9));
  for (const std::string& name : names) EXPECT_THAT(name, IsEmpty());
}

TEST(TotalizerNamesTest, NamesAreTrimmedOnBothSidesAndKeepTheirPositions) {
  const std::string list = Entry("  Relatorios") + Entry("") + Entry("CONTRA-VALE EMITIDO");
  EXPECT_THAT(ReadTotalizerNames(list), ElementsAre("Relatorios", "", "CONTRA-VALE EMITIDO"));
}

TEST(TotalizerNamesTest, OnlyNineteenCharactersOfAnEntryAreItsName) {
  // The twentieth character is the separator, whatever it holds.
  EXPECT_THAT(ReadTotalizerNames("ABCDEFGHIJKLMNOPQRSTUVWXYZ"),
              ElementsAre("ABCDEFGHIJKLMNOPQRS", "UVWXYZ"));
}

// A payment-form entry as the printer writes it: name (16), day total (20
// digits), linked flag.
std::string Form(const std::string& name) {
  return name + std::string(16 - name.size(), ' ') + std::string(20, '0') + "1";
}

TEST(FindPaymentFormTest, GivesThePrintersSpellingIgnoringCase) {
  const std::string forms = Form("Dinheiro") + "," + Form("Cartao Debito");
  EXPECT_THAT(FindPaymentForm(forms, "CARTAO DEBITO"), Optional(std::string("Cartao Debito")));
  EXPECT_THAT(FindPaymentForm(forms, "dinheiro   "), Optional(std::string("Dinheiro")));
}

TEST(FindPaymentFormTest, AccentedLettersMatchIgnoringCase) {
  const std::string forms = Form("Cart\xE3o");  // "Cartão" in Windows-1252
  EXPECT_THAT(FindPaymentForm(forms, "CART\xC3O"), Optional(std::string("Cart\xE3o")));
}

TEST(FindPaymentFormTest, APartOfAnotherFormsNameIsNotThatForm) {
  const std::string forms = Form("Cartao Credito") + "," + Form("Visa Cartao");
  EXPECT_EQ(FindPaymentForm(forms, "Cartao"), std::nullopt);
  EXPECT_EQ(FindPaymentForm(forms, "Credito"), std::nullopt);
  EXPECT_THAT(FindPaymentForm(forms + "," + Form("Cartao"), "cartao"),
              Optional(std::string("Cartao")));
}

TEST(FindPaymentFormTest, DigitsOfADayTotalAreNoForm) {
  EXPECT_EQ(FindPaymentForm(Form("Dinheiro"), "0000"), std::nullopt);
}

TEST(FindPaymentFormTest, ABlankNameIsNeverFound) {
  const std::string forms = Form("Dinheiro");
  EXPECT_EQ(FindPaymentForm(forms, ""), std::nullopt);
  EXPECT_EQ(FindPaymentForm(forms, "   "), std::nullopt);
}

TEST(FindPaymentFormTest, AFullSixteenCharacterNameMatches) {
  EXPECT_THAT(FindPaymentForm(Form("Vale Alimentacao"), "VALE ALIMENTACAO"),
              Optional(std::string("Vale Alimentacao")));
}

}  // namespace
}  // namespace zel
