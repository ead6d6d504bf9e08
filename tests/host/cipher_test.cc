#include "host/cipher.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cctype>
#include <set>
#include <string>

#include "host/codepage.h"
#include "zel/error.h"

namespace zel {
namespace {

using ::testing::HasSubstr;

std::string AllBytes() {
  std::string bytes;
  for (int byte = 0; byte < 256; ++byte) bytes.push_back(static_cast<char>(byte));
  return bytes;
}

// The message of the error Uncripto raises, or "" when it raises none.
std::string RefusalOf(std::string_view cipher_text, int key = kCipherKey) {
  try {
    Uncripto(cipher_text, key);
  } catch (const Error& error) {
    return error.what();
  }
  return "";
}

TEST(CipherTest, EmptyTextStaysEmptyAndBlanksAroundAreIgnored) {
  EXPECT_EQ(Cripto("", kCipherKey), "");
  EXPECT_EQ(Uncripto("", kCipherKey), "");
  EXPECT_EQ(Uncripto("    ", kCipherKey), "");
  EXPECT_EQ(Uncripto("  " + Cripto("99,90", kCipherKey) + "     ", kCipherKey), "99,90");
}

TEST(CipherTest, RoundTripsAsUpperHexOfPredictableLength) {
  for (const std::string& text : {std::string("1234,56"), Utf8ToCp1252("Alíquota não programada"),
                                  std::string("S"), std::string("  blanks kept  "), AllBytes()}) {
    const std::string cipher_text = Cripto(text, kCipherKey);
    EXPECT_EQ(cipher_text.size(), 2 * text.size() + kCipherOverhead);
    // Not MatchesRegex: GoogleTest's own regular expressions on Windows have
    // no brackets.
    EXPECT_EQ(cipher_text.find_first_not_of("0123456789ABCDEF"), std::string::npos) << cipher_text;
    EXPECT_EQ(Uncripto(cipher_text, kCipherKey), text);
  }
  // Every byte value after every other, to exercise the chaining of neighbours.
  for (int first = 0; first < 256; ++first) {
    const std::string text = static_cast<char>(first) + AllBytes();
    ASSERT_EQ(Uncripto(Cripto(text, kCipherKey), kCipherKey), text) << "first byte " << first;
  }
}

TEST(CipherTest, IsDeterministicAndDependsOnKey) {
  EXPECT_EQ(Cripto("1234,56", kCipherKey), Cripto("1234,56", kCipherKey));
  EXPECT_NE(Cripto("1234,56", kCipherKey), Cripto("1234,56", kCipherKey + 1));
  EXPECT_NE(Cripto("1234,56", kCipherKey), Cripto("1234,57", kCipherKey));
  EXPECT_THAT(RefusalOf(Cripto("1234,56", kCipherKey), kCipherKey + 1),
              HasSubstr(Utf8ToCp1252("não é um texto cifrado válido")));
}

TEST(CipherTest, DoesNotShowTheTextOrItsRepetitions) {
  const std::string text(16, 'A');
  const std::string body = Cripto(text, kCipherKey).substr(kCipherOverhead);
  std::set<std::string> pairs;
  for (std::size_t i = 0; i < body.size(); i += 2) pairs.insert(body.substr(i, 2));
  EXPECT_GT(pairs.size(), 8u);
  EXPECT_EQ(Cripto("ABAB", kCipherKey).find("41424142"), std::string::npos);
}

TEST(CipherTest, RefusesEverySingleCharacterChange) {
  const std::string cipher_text = Cripto("123456,78", kCipherKey);
  const std::string digits = "0123456789ABCDEF";
  for (std::size_t i = 0; i < cipher_text.size(); ++i) {
    for (char digit : digits) {
      if (digit == cipher_text[i]) continue;
      std::string changed = cipher_text;
      changed[i] = digit;
      EXPECT_NE(RefusalOf(changed), "") << "position " << i << " digit " << digit;
    }
  }
}

TEST(CipherTest, RefusesTextsThatWereNeverEnciphered) {
  EXPECT_NE(RefusalOf("1234,56"), "");  // a plain total with its comma
  EXPECT_NE(RefusalOf("123456"), "");   // digits only, an even number
  EXPECT_NE(RefusalOf("ABCD"), "");     // a check and no text
  EXPECT_NE(RefusalOf("ABCDE"), "");    // odd length
  const std::string cipher_text = Cripto("10,10", kCipherKey);
  std::string lower = cipher_text;
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  ASSERT_NE(lower, cipher_text);
  EXPECT_NE(RefusalOf(lower), "");
  EXPECT_NE(RefusalOf(cipher_text.substr(0, cipher_text.size() - 2)), "");  // cut short
  EXPECT_NE(RefusalOf(cipher_text + "00"), "");                             // lengthened
  EXPECT_NE(RefusalOf(cipher_text.substr(0, 4) + " " + cipher_text.substr(4)), "");
}

TEST(CipherTest, RefusalNamesTheTextOnOneLine) {
  const std::string message = RefusalOf("12\r\n34xyz");
  EXPECT_THAT(message, HasSubstr("'12  34xyz'"));
  EXPECT_EQ(message.find_first_of("\r\n"), std::string::npos);
  const std::string long_message = RefusalOf(std::string(500, 'Z'));
  EXPECT_LT(long_message.size(), 150u);
}

}  // namespace
}  // namespace zel
