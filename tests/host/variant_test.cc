#include "zel/variant.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "host/codepage.h"
#include "zel/error.h"
#include "zel/format_settings.h"

namespace zel {
namespace {

using ::testing::HasSubstr;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr std::int64_t kMinInt = std::numeric_limits<std::int64_t>::min();

// Runs every test with ',' and with '.' as the decimal separator, and puts
// the settings back afterwards.
class VariantTest : public ::testing::TestWithParam<char> {
 protected:
  void SetUp() override {
    saved_ = CurrentFormatSettings();
    FormatSettings settings = saved_;
    settings.decimal_separator = GetParam();
    settings.thousand_separator = GetParam() == ',' ? '.' : ',';
    SetFormatSettings(settings);
  }
  void TearDown() override { SetFormatSettings(saved_); }

  // A number text written with the separator under test: Num("2.5").
  static std::string Num(std::string text) {
    for (char& c : text) c = c == '.' ? GetParam() : c;
    return text;
  }

 private:
  FormatSettings saved_;
};

INSTANTIATE_TEST_SUITE_P(Separators, VariantTest, ::testing::Values(',', '.'),
                         [](const auto& info) { return info.param == ',' ? "Comma" : "Point"; });

// The message of the error `convert` raises, or "" when it raises none.
template <typename Conversion>
std::string RefusalOf(Conversion convert) {
  try {
    convert();
  } catch (const Error& error) {
    return error.what();
  }
  return "";
}

// The message for a refused conversion, written in UTF-8 here.
std::string Refused(const std::string& what_utf8, const char* kind) {
  return Utf8ToCp1252("Não é possível converter " + what_utf8 + " para " + kind);
}

TEST_P(VariantTest, KindNames) {
  const std::pair<Variant, const char*> cases[] = {{Variant(), "Empty"},
                                                   {Variant(true), "Boolean"},
                                                   {Variant(7), "Integer"},
                                                   {Variant(7.5), "Double"},
                                                   {Variant("x"), "String"},
                                                   {Variant(DateTime{1.0}), "Date"},
                                                   {Variant(VariantArray{}), "Array"},
                                                   {Variant(Packet{"raw"}), "Packet"}};
  for (const auto& [value, name] : cases) EXPECT_STREQ(value.KindName(), name);
}

TEST_P(VariantTest, EmptyAndBoolean) {
  const Variant empty;
  EXPECT_FALSE(empty.AsBoolean());
  EXPECT_EQ(empty.AsInteger(), 0);
  EXPECT_EQ(empty.AsDouble(), 0.0);
  EXPECT_EQ(empty.AsText(), "");
  EXPECT_EQ(empty.AsDateTime(), DateTime{});
  EXPECT_EQ(Variant(true).AsText(), "True");
  EXPECT_EQ(Variant(false).AsText(), "False");
  EXPECT_EQ(Variant(true).AsInteger(), 1);
  EXPECT_EQ(Variant(true).AsDouble(), 1.0);
  EXPECT_EQ(RefusalOf([] { Variant(true).AsDateTime(); }), Refused("o valor lógico True", "Date"));
}

TEST_P(VariantTest, NumbersToBoolean) {
  EXPECT_TRUE(Variant(-3).AsBoolean());
  EXPECT_FALSE(Variant(0).AsBoolean());
  EXPECT_TRUE(Variant(0.001).AsBoolean());
  EXPECT_FALSE(Variant(-0.0).AsBoolean());
  EXPECT_TRUE(Variant(kInf).AsBoolean());
  EXPECT_TRUE(Variant(DateTime{45000.5}).AsBoolean());
  EXPECT_EQ(RefusalOf([] { Variant(kNaN).AsBoolean(); }), Refused("o número NAN", "Boolean"));
}

TEST_P(VariantTest, TextToBoolean) {
  for (const char* yes : {"True", "TRUE", "tRuE", " True  ", "1", "-1"}) {
    EXPECT_TRUE(Variant(yes).AsBoolean()) << yes;
  }
  for (const char* no : {"False", "false", " fAlSe", "0"}) EXPECT_FALSE(Variant(no).AsBoolean());
  EXPECT_TRUE(Variant(Num("0.5")).AsBoolean());
  for (const char* refused : {"S", "Truex", ""}) {
    EXPECT_EQ(RefusalOf([&] { Variant(refused).AsBoolean(); }),
              Refused("o texto '" + std::string(refused) + "'", "Boolean"));
  }
}

TEST_P(VariantTest, DoubleToIntegerRoundsHalfAwayFromZero) {
  const std::pair<double, std::int64_t> cases[] = {{2.5, 3},
                                                   {-2.5, -3},
                                                   {0.5, 1},
                                                   {-0.5, -1},
                                                   {3.5, 4},
                                                   {2.49, 2},
                                                   {0.49999999999999994, 0},
                                                   {-0.49999999999999994, 0},
                                                   {-9223372036854775808.0, kMinInt}};
  for (const auto& [number, integer] : cases) EXPECT_EQ(Variant(number).AsInteger(), integer);
  EXPECT_EQ(Variant(DateTime{44000.75}).AsInteger(), 44001);
}

TEST_P(VariantTest, DoubleOutsideIntegerRangeIsRefused) {
  for (double number : {9223372036854775808.0, -9223372036854777856.0, -kInf, kNaN}) {
    EXPECT_THAT(RefusalOf([&] { Variant(number).AsInteger(); }), HasSubstr(" para Integer"));
  }
  EXPECT_EQ(RefusalOf([] { Variant(kInf).AsInteger(); }), Refused("o número INF", "Integer"));
  EXPECT_EQ(RefusalOf([] { Variant(1e20).AsInteger(); }), Refused("o número 1E20", "Integer"));
}

TEST_P(VariantTest, NumbersToText) {
  EXPECT_EQ(Variant(kMinInt).AsText(), "-9223372036854775808");
  EXPECT_EQ(Variant(2.5).AsText(), Num("2.5"));
  EXPECT_EQ(Variant(-0.1).AsText(), Num("-0.1"));
  EXPECT_EQ(Variant(12.0).AsText(), "12");
  EXPECT_EQ(Variant(kNaN).AsText(), "NAN");
  EXPECT_EQ(Variant(-kInf).AsText(), "-INF");
}

TEST_P(VariantTest, TextToNumbers) {
  EXPECT_EQ(Variant(Num("-1234.56")).AsDouble(), -1234.56);
  EXPECT_EQ(Variant(" 7 ").AsDouble(), 7.0);
  EXPECT_EQ(Variant("42").AsInteger(), 42);
  EXPECT_EQ(Variant("-9223372036854775808").AsInteger(), kMinInt);
  EXPECT_EQ(RefusalOf([] { Variant("abc").AsDouble(); }), Refused("o texto 'abc'", "Double"));
  for (const std::string& refused : {std::string(""), std::string("1x"), Num("2.5"), Num("3.0"),
                                     std::string("99999999999999999999")}) {
    EXPECT_EQ(RefusalOf([&] { Variant(refused).AsInteger(); }),
              Refused("o texto '" + refused + "'", "Integer"));
  }
}

TEST_P(VariantTest, DateTimes) {
  const DateTime christmas = EncodeDate(2020, 12, 25);
  EXPECT_EQ(Variant(christmas).AsText(), "25/12/2020");
  EXPECT_EQ(Variant(EncodeDateTime({2020, 12, 25, 18, 30, 5, 0})).AsText(), "25/12/2020 18:30:05");
  EXPECT_EQ(Variant("25/12/2020").AsDateTime(), christmas);
  EXPECT_EQ(Variant(christmas).AsDouble(), christmas.value);
  EXPECT_EQ(Variant(44000).AsDateTime(), DateTime{44000.0});
  EXPECT_EQ(Variant(-693593.0).AsDateTime(), DateTime{-693593.0});  // 01/01/0001
  EXPECT_EQ(RefusalOf([] { Variant("31/02/2020").AsDateTime(); }),
            Refused("o texto '31/02/2020'", "Date"));
}

TEST_P(VariantTest, DayCountsBeyondTheHostsYearsAreNoDates) {
  for (double number : {-693594.0, 2958466.0, 1e300, kNaN, kInf}) {
    EXPECT_THAT(RefusalOf([&] { Variant(number).AsDateTime(); }), HasSubstr(" para Date"));
  }
  EXPECT_NE(RefusalOf([] { Variant(std::numeric_limits<std::int64_t>::max()).AsDateTime(); }), "");
  EXPECT_EQ(RefusalOf([] { Variant(DateTime{1e300}).AsText(); }),
            Refused("a data inválida 1E300", "String"));
  EXPECT_EQ(RefusalOf([] { Variant(DateTime{kNaN}).AsInteger(); }),
            Refused("a data inválida NAN", "Integer"));
}

TEST_P(VariantTest, ArraysAndPacketsConvertToNothingElse) {
  const Variant array(VariantArray{1, "a"});
  const Variant packet(Packet{"bytes"});
  EXPECT_EQ(RefusalOf([&] { array.AsText(); }), Refused("uma matriz", "String"));
  EXPECT_EQ(RefusalOf([&] { array.AsBoolean(); }), Refused("uma matriz", "Boolean"));
  EXPECT_EQ(RefusalOf([&] { array.AsPacket(); }), Refused("uma matriz", "Packet"));
  EXPECT_EQ(RefusalOf([&] { packet.AsDouble(); }), Refused("um pacote de dados", "Double"));
  EXPECT_EQ(RefusalOf([&] { packet.AsArray(); }), Refused("um pacote de dados", "Array"));
  EXPECT_EQ(RefusalOf([] { Variant().AsArray(); }), Refused("um valor vazio", "Array"));
  EXPECT_EQ(RefusalOf([] { Variant(2.5).AsArray(); }), Refused("o número " + Num("2.5"), "Array"));
  EXPECT_EQ(packet.AsPacket().bytes, "bytes");
}

TEST_P(VariantTest, ArraysAreDeepCopiesAndMutable) {
  Variant original(VariantArray{1, Variant(VariantArray{"inner"})});
  Variant copy = original;
  copy.MutableArray()[1].MutableArray()[0] = Variant("changed");
  copy.MutableArray().push_back(3);
  EXPECT_EQ(original, Variant(VariantArray{1, Variant(VariantArray{"inner"})}));
  EXPECT_EQ(copy.AsArray()[1].AsArray()[0].AsText(), "changed");
  Variant text("x");
  EXPECT_EQ(RefusalOf([&] { text.MutableArray(); }), Refused("o texto 'x'", "Array"));
}

TEST_P(VariantTest, MessagesQuoteTextsOnOneShortLine) {
  const std::string long_text = "linha 1\r\nlinha 2" + std::string(300, 'x');
  const std::string message = RefusalOf([&] { Variant(long_text).AsDouble(); });
  EXPECT_THAT(message, HasSubstr("'linha 1  linha 2xx"));
  EXPECT_THAT(message, HasSubstr("...' para Double"));
  EXPECT_LT(message.size(), 120u);
  // A Windows-1252 text is quoted byte for byte.
  EXPECT_EQ(RefusalOf([] { Variant(Utf8ToCp1252("não")).AsInteger(); }),
            Refused("o texto 'não'", "Integer"));
}

}  // namespace
}  // namespace zel
