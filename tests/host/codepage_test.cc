#include "host/codepage.h"

#include <gtest/gtest.h>

#include <string>

namespace zel {
namespace {

bool IsUndefinedByte(int byte) {
  return byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D;
}

TEST(CodePageTest, EveryDefinedByteRoundTripsAndUndefinedOnesAreReplaced) {
  for (int byte = 0; byte < 256; ++byte) {
    const std::string text(1, static_cast<char>(byte));
    if (IsUndefinedByte(byte)) {
      EXPECT_EQ(Cp1252ToUtf8(text), "\uFFFD") << "byte " << byte;
    } else {
      EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(text)), text) << "byte " << byte;
    }
  }
  EXPECT_EQ(Utf8ToCp1252("\uFFFD"), "?");
}

TEST(CodePageTest, BytesTakeTheirCharacters) {
  EXPECT_EQ(Cp1252ToUtf8("ESQUEMACOR\r\n"), "ESQUEMACOR\r\n");
  EXPECT_EQ(Cp1252ToUtf8("\x80\x82\x83\x84\x85\x86\x87\x88\x89\x8A\x8B\x8C\x8E"), "€‚ƒ„…†‡ˆ‰Š‹ŒŽ");
  EXPECT_EQ(Cp1252ToUtf8("\x91\x92\x93\x94\x95\x96\x97\x98\x99\x9A\x9B\x9C\x9E\x9F"),
            "‘’“”•–—˜™š›œžŸ");
  EXPECT_EQ(Cp1252ToUtf8("\xA0\xAA\xBA\xC9\xE3\xE7\xFF"), "\u00A0ªºÉãçÿ");
}

TEST(CodePageTest, PortugueseTextRoundTrips) {
  const std::string cp1252 = Utf8ToCp1252("Alíquota não programada");
  EXPECT_EQ(cp1252, "Al\xEDquota n\xE3o programada");
  EXPECT_EQ(Cp1252ToUtf8(cp1252), "Alíquota não programada");
  EXPECT_EQ(Cp1252ToUtf8(Utf8ToCp1252("Razão Social, Endereço: € 1,50")),
            "Razão Social, Endereço: € 1,50");
}

TEST(CodePageTest, UnmappableCharactersBecomeQuestionMarks) {
  EXPECT_EQ(Utf8ToCp1252("日本"), "??");
  EXPECT_EQ(Utf8ToCp1252("a😀b\u0100"), "a?b?");
  // The C1 controls have no byte: theirs carry the typographic signs.
  EXPECT_EQ(Utf8ToCp1252("\u0080\u0081\u009F"), "???");
}

TEST(CodePageTest, EachMalformedSequenceBecomesOneQuestionMark) {
  const std::pair<std::string, std::string> cases[] = {
      {"\x80", "?"},      // stray continuation byte
      {"ab\xC3", "ab?"},  // cut at the end
      {"\xC3"
       "A",
       "?A"},  // continuation missing
      {"\xE2\x82"
       "x",
       "?x"},                        // three-byte form cut short
      {"\xC0\xAF", "??"},            // overlong '/'
      {"\xE0\x80\xAF", "???"},       // overlong three-byte form
      {"\xED\xA0\x80", "???"},       // surrogate half
      {"\xF4\x90\x80\x80", "????"},  // past U+10FFFF
      {"\xFF\xC3\xA7", "?\xE7"},     // bad lead, then a good 'ç'
  };
  for (const auto& [utf8, expected] : cases) EXPECT_EQ(Utf8ToCp1252(utf8), expected);
}

}  // namespace
}  // namespace zel
