#include "host/number_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "host/string_functions.h"
#include "separator_fixture.h"
#include "zel/error.h"
#include "zel/format_settings.h"

namespace zel {
namespace {

// The amount fields the driver sends to the printer: a zero-filled mask with
// its decimal separator deleted.
std::string ImpliedDecimals(std::string_view mask, double value) {
  std::string text = FormatFloat(mask, value);
  text.erase(mask.find('.'), 1);
  return text;
}

using FormatFloatTest = BothSeparators;

TEST_P(FormatFloatTest, RoundsTheFifteenDigitFormHalfAwayFromZero) {
  EXPECT_EQ(FormatFloat("0.00", 2.675), Local("2,68"));
  EXPECT_EQ(FormatFloat("0.00", 1.005), Local("1,01"));
  EXPECT_EQ(FormatFloat("0.00", 0.125), Local("0,13"));
  EXPECT_EQ(FormatFloat("0.00", -2.675), Local("-2,68"));
  EXPECT_EQ(FormatFloat("0", 0.5), "1");
  EXPECT_EQ(FormatFloat("0", 2.5), "3");
  EXPECT_EQ(FormatFloat("0", -2.5), "-3");
  // Exactly representable tie: the binary value sits on the half.
  EXPECT_EQ(FormatFloat("0.00", 1234567890123.125), Local("1234567890123,13"));
  // 0.1 + 0.2 is 0.30000000000000004 in binary, 0.3 in fifteen digits.
  EXPECT_EQ(FormatFloat("0.0000000000000000", 0.1 + 0.2), Local("0,3000000000000000"));
}

TEST_P(FormatFloatTest, ValueRoundingToZeroHasNoSign) {
  EXPECT_EQ(FormatFloat("0.00", -0.004), Local("0,00"));
  EXPECT_EQ(FormatFloat("#0.000", -0.0004), Local("0,000"));
  EXPECT_EQ(FormatFloat("0.00", -0.0), Local("0,00"));
  EXPECT_EQ(FormatFloat("0.00", -0.005), Local("-0,01"));
}

TEST_P(FormatFloatTest, QuantityAndPriceMask) {
  EXPECT_EQ(FormatFloat("#0.000", 1.5), Local("1,500"));
  EXPECT_EQ(FormatFloat("#0.000", 0), Local("0,000"));
  EXPECT_EQ(FormatFloat("#0.000", 12.3456), Local("12,346"));
  EXPECT_EQ(FormatFloat("#0.000", 0.0005), Local("0,001"));
  EXPECT_EQ(FormatFloat("#0.000", 1234567.5), Local("1234567,500"));
  EXPECT_EQ(FormatFloat("#0.00", 10), Local("10,00"));
}

TEST_P(FormatFloatTest, OptionalDecimals) {
  EXPECT_EQ(FormatFloat("0.00#", 1.5), Local("1,50"));
  EXPECT_EQ(FormatFloat("0.00#", 1.2345), Local("1,235"));
  EXPECT_EQ(FormatFloat("0.00#", 1.234), Local("1,234"));
  EXPECT_EQ(FormatFloat("0.00#", 2), Local("2,00"));
  EXPECT_EQ(FormatFloat("0.##", 2), "2");
  EXPECT_EQ(FormatFloat("0.##", 2.5), Local("2,5"));
  EXPECT_EQ(FormatFloat(".00", 0.5), Local(",50"));
  EXPECT_EQ(FormatFloat(".00", 12.5), Local("12,50"));
}

TEST_P(FormatFloatTest, FixedWidthFieldsWithImpliedDecimals) {
  EXPECT_EQ(FormatFloat("000000000000.00", 0.01), Local("000000000000,01"));
  EXPECT_EQ(ImpliedDecimals("000000000000.00", 0.01), "00000000000001");
  EXPECT_EQ(ImpliedDecimals("000000000000.00", 999999999999.99), "99999999999999");
  EXPECT_EQ(ImpliedDecimals("000000000000.00", 1234.5), "00000000123450");
  EXPECT_EQ(ImpliedDecimals("000000.00", 1.5), "00000150");
  EXPECT_EQ(ImpliedDecimals("00.00", 10), "1000");
  EXPECT_EQ(ImpliedDecimals("00.00", 99.99), "9999");
  EXPECT_EQ(ImpliedDecimals("000.000", 1.5), "001500");
  EXPECT_EQ(ImpliedDecimals("000.000", 999.999), "999999");
  EXPECT_EQ(FormatFloat("00000000.00", 99999999.99), Local("99999999,99"));
  EXPECT_EQ(ImpliedDecimals("00000000.00", 99999999.99), "9999999999");
}

// Amounts cut with Trunc2 before they are formatted, as the sale sends them.
TEST_P(FormatFloatTest, TruncatedAmounts) {
  EXPECT_EQ(FormatFloat("0.00", Trunc2(1.999)), Local("1,99"));
  EXPECT_EQ(FormatFloat("#0.000", Trunc2(3.45)), Local("3,450"));
  EXPECT_EQ(FormatFloat("#0.000", 2), Local("2,000"));
  EXPECT_EQ(FormatFloat("0.00", Trunc2(3.333 * 3)), Local("9,99"));
  EXPECT_EQ(ImpliedDecimals("000000.00", Trunc2(1.5)), "00000150");
  EXPECT_EQ(FormatFloat("0.00", 12.5), Local("12,50"));
  EXPECT_EQ(ImpliedDecimals("000000000000.00", 1234.56), "00000000123456");
}

TEST_P(FormatFloatTest, ValueTooLargeForTheMaskGrowsIt) {
  EXPECT_EQ(FormatFloat("00.00", 123.456), Local("123,46"));
  EXPECT_EQ(FormatFloat("00.00", 99.999), Local("100,00"));
  EXPECT_EQ(FormatFloat("000000.00", 12345678), Local("12345678,00"));
  // The separator is then no longer where the field expects it.
  EXPECT_EQ(ImpliedDecimals("00.00", 123.45), Local("12,45"));
  EXPECT_EQ(FormatFloat("0.00", 1e20), Local("100000000000000000000,00"));
}

TEST_P(FormatFloatTest, ThousandsSeparators) {
  EXPECT_EQ(FormatFloat("#,##0.00", 1234567.891), Local("1.234.567,89"));
  EXPECT_EQ(FormatFloat("#,##0.00", -1234.5), Local("-1.234,50"));
  EXPECT_EQ(FormatFloat("#,##0.00", 999.999), Local("1.000,00"));
  EXPECT_EQ(FormatFloat("#,##0.00", 12), Local("12,00"));
  EXPECT_EQ(FormatFloat("#,##0", 123456), Local("123.456"));
}

TEST_P(FormatFloatTest, LiteralTextStaysInPlace) {
  EXPECT_EQ(FormatFloat("'R$ '0.00", 1.5), Local("R$ 1,50"));
  EXPECT_EQ(FormatFloat("0.00 kg", 2), Local("2,00 kg"));
  EXPECT_EQ(FormatFloat("\"#\"000", 7), "#007");
}

TEST_P(FormatFloatTest, SpecialValuesAndBadMasks) {
  EXPECT_EQ(FormatFloat("0.00", std::numeric_limits<double>::quiet_NaN()), "NAN");
  EXPECT_EQ(FormatFloat("0.00", std::numeric_limits<double>::infinity()), "INF");
  EXPECT_EQ(FormatFloat("0.00", -std::numeric_limits<double>::infinity()), "-INF");
  EXPECT_THROW(FormatFloat("", 1), Error);
  EXPECT_THROW(FormatFloat("0.00;(0.00)", 1), Error);
  EXPECT_THROW(FormatFloat("0.00E+00", 1), Error);
}

using FixedAndCurrencyTest = BothSeparators;

TEST_P(FixedAndCurrencyTest, FixedNotation) {
  EXPECT_EQ(FormatFixed(1234.5, 2), Local("1234,50"));
  EXPECT_EQ(FormatFixed(2.675, 2), Local("2,68"));
  EXPECT_EQ(FormatFixed(-0.001, 2), Local("0,00"));
  EXPECT_EQ(FormatFixed(-7.25, 1), Local("-7,3"));
  EXPECT_EQ(FormatFixed(3.7, 0), "4");
  EXPECT_EQ(FormatFixed(0.5, 3), Local("0,500"));
}

TEST_P(FixedAndCurrencyTest, FixedPrecisionRoundsSignificantDigitsFirst) {
  EXPECT_EQ(FormatFixed(1.24499999999996, 2), Local("1,24"));
  EXPECT_EQ(FormatFixed(1.24499999999996, 2, 13), Local("1,25"));
  EXPECT_THROW(FormatFixed(1, -1), Error);
  EXPECT_THROW(FormatFixed(1, 19), Error);
  EXPECT_THROW(FormatFixed(1, 2, 0), Error);
  EXPECT_THROW(FormatFixed(1, 2, 16), Error);
}

TEST_P(FixedAndCurrencyTest, CurrencyInEachSymbolPosition) {
  EXPECT_EQ(FormatCurrency(1234.56), Local("R$ 1.234,56"));
  EXPECT_EQ(FormatCurrency(-1.5), Local("-R$ 1,50"));
  EXPECT_EQ(FormatCurrency(-0.001), Local("R$ 0,00"));
  EXPECT_EQ(FormatCurrency(2.675), Local("R$ 2,68"));
  FormatSettings settings = CurrentFormatSettings();
  const std::string expected[] = {"R$1,00", "1,00R$", "R$ 1,00", "1,00 R$"};
  for (int format = 0; format < 4; ++format) {
    settings.currency_format = format;
    SetFormatSettings(settings);
    EXPECT_EQ(FormatCurrency(1), Local(expected[format])) << format;
  }
  settings.currency_decimals = 0;
  SetFormatSettings(settings);
  EXPECT_EQ(FormatCurrency(2.5), "3 R$");
}

using FloatToTextTest = BothSeparators;

TEST_P(FloatToTextTest, ShortestFifteenDigitText) {
  EXPECT_EQ(FloatToText(0.1), Local("0,1"));
  EXPECT_EQ(FloatToText(12), "12");
  EXPECT_EQ(FloatToText(0.1 + 0.2), Local("0,3"));
  EXPECT_EQ(FloatToText(-1.5), Local("-1,5"));
  EXPECT_EQ(FloatToText(2.675), Local("2,675"));
  EXPECT_EQ(FloatToText(0), "0");
  EXPECT_EQ(FloatToText(-0.0), "0");
  EXPECT_EQ(FloatToText(123456789012345), "123456789012345");
  EXPECT_EQ(FloatToText(0.0001), Local("0,0001"));
  EXPECT_EQ(FloatToText(1234.5678), Local("1234,5678"));
  // Seventeen digits read ...0485|0, but the binary value is ...04849514...,
  // below the half: fifteen digits round down.
  EXPECT_EQ(FloatToText(538.4792572590485), Local("538,479257259048"));
  // An exact tie at the sixteenth digit rounds away from zero.
  EXPECT_EQ(FloatToText(1000000000000.125), Local("1000000000000,13"));
}

TEST_P(FloatToTextTest, ExponentFormOutsideTheFixedRange) {
  EXPECT_EQ(FloatToText(1e20), "1E20");
  EXPECT_EQ(FloatToText(1e15), "1E15");
  EXPECT_EQ(FloatToText(-2.5e16), Local("-2,5E16"));
  EXPECT_EQ(FloatToText(0.00001), "1E-5");
  EXPECT_EQ(FloatToText(1.5e-5), Local("1,5E-5"));
  EXPECT_EQ(FloatToText(std::numeric_limits<double>::quiet_NaN()), "NAN");
  EXPECT_EQ(FloatToText(-std::numeric_limits<double>::infinity()), "-INF");
}

TEST_P(FloatToTextTest, ReadsBackAsTheSameValue) {
  for (double value : {0.1, 2.675, -1234.5678, 1e-7, 3.14159265358979, 9.87654321e25, 0.3}) {
    EXPECT_EQ(TextToFloat(FloatToText(value)), value) << value;
  }
}

using TextToNumberTest = BothSeparators;

TEST_P(TextToNumberTest, ReadsTheCurrentSeparator) {
  EXPECT_EQ(TextToFloat(Local("1,5")), 1.5);
  EXPECT_EQ(TextToFloat(Local("  -2,25 ")), -2.25);
  EXPECT_EQ(TextToFloat("+3"), 3.0);
  EXPECT_EQ(TextToFloat(Local("1,5E3")), 1500.0);
  EXPECT_EQ(TextToFloat(Local("2,5e-2")), 0.025);
  EXPECT_EQ(TextToFloat(Local(",5")), 0.5);
  EXPECT_EQ(TextToFloat(Local("5,")), 5.0);
  EXPECT_EQ(TextToFloat("0041"), 41.0);
}

TEST_P(TextToNumberTest, RefusesWhatIsNotANumber) {
  for (const char* bad : {"", "   ", "abc", "1,2,3", "1.234,56", "inf", "nan", "1E400", "1E", "--1",
                          "+-1", "-", ",", "1 2", "0x10", "1,5E3,2"}) {
    double value = 7;
    EXPECT_FALSE(TryTextToFloat(Local(bad), &value)) << bad;
    EXPECT_EQ(value, 7) << bad;
    EXPECT_THROW(TextToFloat(Local(bad)), Error) << bad;
  }
  // The other separator is not a decimal separator.
  EXPECT_THROW(TextToFloat(GetParam() == ',' ? "1.5" : "1,5"), Error);
}

TEST_P(TextToNumberTest, Integers) {
  EXPECT_EQ(TextToInt("42"), 42);
  EXPECT_EQ(TextToInt(" -7 "), -7);
  EXPECT_EQ(TextToInt("+8"), 8);
  EXPECT_EQ(TextToInt("0041"), 41);
  EXPECT_EQ(TextToInt("-9223372036854775808"), std::numeric_limits<std::int64_t>::min());
  for (const char* bad : {"", "4,2", "4.2", "1e3", "+-1", "-", "9223372036854775808", "12a"}) {
    std::int64_t value = 7;
    EXPECT_FALSE(TryTextToInt(bad, &value)) << bad;
    EXPECT_EQ(value, 7) << bad;
    EXPECT_THROW(TextToInt(bad), Error) << bad;
  }
}

INSTANTIATE_TEST_SUITE_P(CommaAndPoint, FormatFloatTest, ::testing::Values(',', '.'));
INSTANTIATE_TEST_SUITE_P(CommaAndPoint, FixedAndCurrencyTest, ::testing::Values(',', '.'));
INSTANTIATE_TEST_SUITE_P(CommaAndPoint, FloatToTextTest, ::testing::Values(',', '.'));
INSTANTIATE_TEST_SUITE_P(CommaAndPoint, TextToNumberTest, ::testing::Values(',', '.'));

using FormatSettingsTest = DefaultSettings;

TEST_F(FormatSettingsTest, BrazilianByDefault) {
  const FormatSettings& settings = CurrentFormatSettings();
  EXPECT_EQ(settings.decimal_separator, ',');
  EXPECT_EQ(settings.thousand_separator, '.');
  EXPECT_EQ(settings.short_date_format, "dd/mm/yyyy");
  EXPECT_EQ(FormatFloat("0.00", 1.5), "1,50");
}

TEST_F(FormatSettingsTest, RefusesSettingsThatMakeNumbersUnreadable) {
  FormatSettings same_separators;
  same_separators.thousand_separator = ',';
  EXPECT_THROW(SetFormatSettings(same_separators), Error);
  FormatSettings digit_separator;
  digit_separator.decimal_separator = '5';
  EXPECT_THROW(SetFormatSettings(digit_separator), Error);
  FormatSettings digit_date_separator;
  digit_date_separator.date_separator = '1';
  EXPECT_THROW(SetFormatSettings(digit_date_separator), Error);
  FormatSettings bad_currency;
  bad_currency.currency_format = 4;
  EXPECT_THROW(SetFormatSettings(bad_currency), Error);
  // A refused change leaves the settings in force untouched.
  EXPECT_EQ(CurrentFormatSettings().thousand_separator, '.');
  EXPECT_EQ(CurrentFormatSettings().currency_format, 2);
}

}  // namespace
}  // namespace zel
