#include "host/string_functions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <type_traits>

#include "zel/error.h"

namespace zel {
namespace {

using namespace std::string_literals;

TEST(StringFunctionsTest, ReplicateAndBlankTexts) {
  EXPECT_EQ(Replicate(" ", 4), "    ");
  EXPECT_EQ(Replicate("ab", 3), "ababab");
  EXPECT_EQ(Replicate("-", 48).size(), 48u);
  EXPECT_EQ(Replicate("ab", 0), "");
  EXPECT_EQ(Replicate("ab", -2), "");
  EXPECT_TRUE(EmptyString(""));
  EXPECT_TRUE(EmptyString("    "));
  EXPECT_TRUE(EmptyString(" \t\r\n"s + '\0'));
  EXPECT_FALSE(EmptyString("  0 "));
  EXPECT_EQ(RTrim("  ab  \r\n"), "  ab");
  EXPECT_EQ(RTrim("   "), "");
}

TEST(StringFunctionsTest, PaddingNeverCuts) {
  EXPECT_EQ(PadL("12", 5), "   12");
  EXPECT_EQ(PadR("12", 5), "12   ");
  EXPECT_EQ(PadL("123456", 3), "123456");
  EXPECT_EQ(PadR("123456", 3), "123456");
  EXPECT_EQ(PadL("", 2), "  ");
  EXPECT_EQ(PadL("ab", -1), "ab");
}

TEST(StringFunctionsTest, FixedWidthCutsOrPads) {
  EXPECT_EQ(TamFixo("abc", 5), "abc  ");
  EXPECT_EQ(TamFixo("abcdef", 3), "abc");
  EXPECT_EQ(TamFixo("abc", 0), "");
  EXPECT_EQ(TamFixo("abc", -3), "");
  EXPECT_EQ(TamFixoR("abc", 5), "  abc");
  EXPECT_EQ(TamFixoR("abcdef", 3), "abc");
  EXPECT_EQ(TamFixoR("", 3), "   ");
  // Accented Windows-1252 letters are one byte, one column.
  EXPECT_EQ(TamFixo("Pre\xE7o", 6), "Pre\xE7o ");
  EXPECT_EQ(TamFixo("Saldo Total", 37).size(), 37u);
}

TEST(StringFunctionsTest, CentralizaPutsTheOddBlankOnTheRight) {
  EXPECT_EQ(Centraliza("ab", 6), "  ab  ");
  EXPECT_EQ(Centraliza("ab", 5), " ab  ");
  EXPECT_EQ(Centraliza("abc", 4), "abc ");
  EXPECT_EQ(Centraliza("abcdef", 4), "abcd");
  EXPECT_EQ(Centraliza("", 3), "   ");
  const std::string title = Centraliza(">>> Consulta Saldo <<<", 48);
  EXPECT_EQ(title, Replicate(" ", 13) + ">>> Consulta Saldo <<<" + Replicate(" ", 13));
}

TEST(StringFunctionsTest, AjustaRightAlignsFields) {
  EXPECT_EQ(Ajusta("42", 4), "  42");
  EXPECT_EQ(Ajusta("0", 4), "   0");
  EXPECT_EQ(Ajusta("1234567", 6), "123456");
  EXPECT_EQ(Ajusta("", 4), "    ");
  EXPECT_TRUE(EmptyString(Ajusta("", 4)));
}

TEST(StringFunctionsTest, AjustaZeroPadsWithZeros) {
  EXPECT_EQ(AjustaZero("3", 2), "03");
  EXPECT_EQ(AjustaZero("123", 14), "00000000000123");
  EXPECT_EQ(AjustaZero("", 3), "000");
  EXPECT_EQ(AjustaZero("12345", 3), "12345");
}

TEST(StringFunctionsTest, Trunc2KeepsWhatBinaryFloatingPointLoses) {
  // Multiplying by 100 and cutting gives 1.14, 0.28, 4.34, 8.69 and 100.09.
  for (double value : {1.15, 0.29, 4.35, 8.7, 100.1, 0.07, 19.99}) {
    EXPECT_EQ(Trunc2(value), value) << value;
  }
  EXPECT_EQ(Trunc2(1.005), 1.0);
  EXPECT_EQ(Trunc2(2.999), 2.99);
  EXPECT_EQ(Trunc2(-2.999), -2.99);
  EXPECT_EQ(Trunc2(-1.15), -1.15);
  EXPECT_EQ(Trunc2(0.1 * 3), 0.3);
  EXPECT_EQ(Trunc2(3 * 1.15), 3.45);
  EXPECT_EQ(Trunc2(1234567.899), 1234567.89);
  EXPECT_FALSE(std::signbit(Trunc2(-0.001)));
  EXPECT_TRUE(std::isnan(Trunc2(std::numeric_limits<double>::quiet_NaN())));
}

TEST(StringFunctionsTest, Trunc3) {
  EXPECT_EQ(Trunc3(2.675), 2.675);
  EXPECT_EQ(Trunc3(0.1234), 0.123);
  EXPECT_EQ(Trunc3(1.0005), 1.0);
  EXPECT_EQ(Trunc3(-4.3219), -4.321);
  EXPECT_EQ(Trunc3(-0.0009), 0.0);
}

TEST(StringFunctionsTest, RoundDecHalfAwayFromZero) {
  EXPECT_EQ(RoundDec(2.675, 2), 2.68);
  EXPECT_EQ(RoundDec(1.005, 2), 1.01);
  EXPECT_EQ(RoundDec(0.125, 2), 0.13);
  EXPECT_EQ(RoundDec(-2.675, 2), -2.68);
  EXPECT_EQ(RoundDec(1234.5, 0), 1235.0);
  EXPECT_EQ(RoundDec(1250, -2), 1300.0);
  EXPECT_EQ(RoundDec(0.04, -1), 0.0);
  EXPECT_EQ(RoundDec(9.995, 2), 10.0);
  EXPECT_FALSE(std::signbit(RoundDec(-0.004, 2)));
  EXPECT_EQ(RoundDec(1.5, 1000), 1.5);
  EXPECT_EQ(RoundDec(1.5, -1000), 0.0);
}

TEST(StringFunctionsTest, IifChoosesAndConverts) {
  EXPECT_EQ(iif(true, 1, 2.5), 1.0);
  EXPECT_EQ(iif(false, 1, 2.5), 2.5);
  EXPECT_EQ(iif(false, "S"s, "N"), "N");
  static_assert(std::is_same_v<decltype(iif(true, "S"s, "N")), std::string>);
}

DateTime At(int day, int hour, int minute, int second = 0) {
  return EncodeDateTime(DateParts{2026, 12, day, hour, minute, second, 0});
}

TEST(StringFunctionsTest, SubtDataHoraPloWritesHoursAndMinutes) {
  EXPECT_EQ(SubtDataHoraPlo(At(8, 10, 30), At(8, 9, 15)), "01:15");
  EXPECT_EQ(SubtDataHoraPlo(At(8, 9, 15), At(8, 10, 30)), "-01:15");
  EXPECT_EQ(SubtDataHoraPlo(At(8, 9, 15), At(8, 9, 15)), "00:00");
  // Seconds are dropped, so 15 min 59 s is still 15 minutes.
  EXPECT_EQ(SubtDataHoraPlo(At(8, 10, 15, 59), At(8, 10, 0)), "00:15");
  EXPECT_EQ(SubtDataHoraPlo(At(8, 10, 0), At(8, 10, 16, 0)), "-00:16");
  EXPECT_EQ(SubtDataHoraPlo(At(8, 10, 0), At(8, 10, 0, 30)), "00:00");
}

TEST(StringFunctionsTest, SubtDataHoraPloAcrossMidnightAndDays) {
  EXPECT_EQ(SubtDataHoraPlo(At(9, 0, 10), At(8, 23, 50)), "00:20");
  EXPECT_EQ(SubtDataHoraPlo(At(8, 23, 50), At(9, 0, 10)), "-00:20");
  EXPECT_EQ(SubtDataHoraPlo(At(9, 11, 0), At(8, 9, 30)), "25:30");
  EXPECT_EQ(SubtDataHoraPlo(At(12, 13, 0), At(8, 9, 0)), "100:00");
  // Before day 0 the time line still runs forward.
  EXPECT_EQ(SubtDataHoraPlo(DateTime{0}, DateTime{-1.25}), "18:00");
  EXPECT_THROW(SubtDataHoraPlo(DateTime{1e12}, DateTime{0}), Error);
}

}  // namespace
}  // namespace zel
