#include "host/codepage.h"

#include <array>
#include <cstddef>

namespace zel {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Windows-1252 differs from Latin-1 only in 0x80-0x9F: typographic signs and
// a few letters, with five bytes left undefined.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC,       kReplacement, 0x201A, 0x0192, 0x201E, 0x2026,       0x2020, 0x2021,  // 0x80
    0x02C6,       0x2030,       0x0160, 0x2039, 0x0152, kReplacement, 0x017D, kReplacement,
    kReplacement, 0x2018,       0x2019, 0x201C, 0x201D, 0x2022,       0x2013, 0x2014,  // 0x90
    0x02DC,       0x2122,       0x0161, 0x203A, 0x0153, kReplacement, 0x017E, 0x0178,
};

char32_t ByteToCodePoint(unsigned char byte) {
  if (byte >= 0x80 && byte <= 0x9F) return kHighControls[byte - 0x80];
  return byte;
}

// The Windows-1252 byte for a code point, or '?' when the code page lacks it.
// The C1 controls U+0080-U+009F are not in the code page: their bytes carry
// the signs above.
char CodePointToByte(char32_t code_point) {
  if (code_point < 0x80 || (code_point >= 0xA0 && code_point <= 0xFF)) {
    return static_cast<char>(code_point);
  }
  for (std::size_t i = 0; i < kHighControls.size(); ++i) {
    if (kHighControls[i] == code_point && code_point != kReplacement) {
      return static_cast<char>(0x80 + i);
    }
  }
  return '?';
}

void AppendUtf8(char32_t code_point, std::string& out) {
  if (code_point < 0x80) {
    out.push_back(static_cast<char>(code_point));
  } else if (code_point < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (code_point >> 6)));
    out.push_back(static_cast<char>(0x80 | (code_point & 0x3F)));
  } else {
    // Every code point reached from Windows-1252 lies in the basic plane.
    out.push_back(static_cast<char>(0xE0 | (code_point >> 12)));
    out.push_back(static_cast<char>(0x80 | ((code_point >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (code_point & 0x3F)));
  }
}

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// Decodes one UTF-8 sequence at `pos`. On success stores the code point and
// advances `pos` past the sequence. On a malformed sequence advances past its
// longest valid beginning (at least one byte) and returns false, so each
// broken sequence turns into exactly one '?'. Overlong forms, surrogates and
// values past U+10FFFF are malformed.
bool DecodeUtf8(std::string_view text, std::size_t& pos, char32_t& code_point) {
  const auto lead = static_cast<unsigned char>(text[pos]);
  ++pos;
  if (lead < 0x80) {
    code_point = lead;
    return true;
  }
  int length = 0;
  // The allowed range of the second byte narrows for some leads, which is how
  // overlong forms, surrogates and values past U+10FFFF are refused.
  unsigned char second_low = 0x80, second_high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    code_point = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    code_point = lead & 0x0F;
    if (lead == 0xE0) second_low = 0xA0;
    if (lead == 0xED) second_high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    code_point = lead & 0x07;
    if (lead == 0xF0) second_low = 0x90;
    if (lead == 0xF4) second_high = 0x8F;
  } else {
    return false;
  }
  for (int i = 1; i < length; ++i) {
    if (pos >= text.size()) return false;
    const auto byte = static_cast<unsigned char>(text[pos]);
    const bool fits = i == 1 ? byte >= second_low && byte <= second_high : IsContinuation(byte);
    if (!fits) return false;
    code_point = (code_point << 6) | (byte & 0x3F);
    ++pos;
  }
  return true;
}

}  // namespace

std::string Utf8ToCp1252(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  std::size_t pos = 0;
  while (pos < utf8.size()) {
    char32_t code_point = 0;
    out.push_back(DecodeUtf8(utf8, pos, code_point) ? CodePointToByte(code_point) : '?');
  }
  return out;
}

std::string Cp1252ToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 2);
  for (char byte : text) AppendUtf8(ByteToCodePoint(static_cast<unsigned char>(byte)), out);
  return out;
}

}  // namespace zel
