#include "text.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <ctime>

namespace ecfsim {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Unicode code points of the Windows-1252 bytes 0x80-0x9F; the undefined
// bytes keep their own value.
constexpr char16_t kHighTable[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

char FromCodePoint(char32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<char>(cp);
  for (int i = 0; i < 32; ++i) {
    if (kHighTable[i] == cp) return static_cast<char>(0x80 + i);
  }
  return '?';
}

}  // namespace

std::string Arg(const char* text) { return text ? std::string(text) : std::string(); }

std::optional<std::int64_t> ParseAmount(std::string_view text, int implied_decimals,
                                        int scale_decimals) {
  std::string t = Trim(text);
  bool negative = false;
  if (!t.empty() && t[0] == '-') {
    negative = true;
    t.erase(0, 1);
  }
  if (t.empty()) return std::nullopt;
  std::size_t sep = t.find_first_of(",.");
  std::string whole = t, fraction;
  if (sep != std::string::npos) {
    whole = t.substr(0, sep);
    fraction = t.substr(sep + 1);
  } else if (implied_decimals > 0) {
    std::size_t cut =
        t.size() > static_cast<std::size_t>(implied_decimals) ? t.size() - implied_decimals : 0;
    whole = t.substr(0, cut);
    fraction = std::string(implied_decimals - (t.size() - cut), '0') + t.substr(cut);
  }
  auto digits_only = [](const std::string& s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
  };
  if (!digits_only(whole) || !digits_only(fraction)) return std::nullopt;
  if (whole.empty() && fraction.empty()) return std::nullopt;
  whole.erase(0, std::min(whole.find_first_not_of('0'), whole.size()));
  if (whole.size() > 12) return std::nullopt;
  fraction.resize(scale_decimals, '0');  // pads or truncates
  std::int64_t value = 0;
  for (char c : whole + fraction) value = value * 10 + (c - '0');
  return negative ? -value : value;
}

std::optional<int> ParseCount(std::string_view text) {
  std::string t = Trim(text);
  if (t.empty() || t.size() > 9) return std::nullopt;
  int value = 0;
  for (char c : t) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

std::optional<std::int64_t> ParseInteger(std::string_view text) {
  std::string t = Trim(text);
  bool negative = !t.empty() && t[0] == '-';
  std::string digits = negative ? t.substr(1) : t;
  if (digits.empty() || digits.size() > 18) return std::nullopt;
  std::int64_t value = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return negative ? -value : value;
}

void CopyOut(char* buffer, std::string_view text, int width) {
  if (!buffer || width <= 0) return;
  std::size_t n = std::min<std::size_t>(text.size(), width);
  std::memcpy(buffer, text.data(), n);
  std::memset(buffer + n, ' ', width - n);
}

std::string Digits(std::int64_t value, int width) {
  std::string s = std::to_string(value < 0 ? -value : value);
  if (static_cast<int>(s.size()) > width) return s.substr(s.size() - width);
  return std::string(width - s.size(), '0') + s;
}

std::string Money(std::int64_t cents) {
  bool negative = cents < 0;
  std::int64_t v = negative ? -cents : cents;
  std::string whole = std::to_string(v / 100);
  for (int i = static_cast<int>(whole.size()) - 3; i > 0; i -= 3) whole.insert(i, ".");
  return (negative ? "-" : "") + whole + "," + Digits(v % 100, 2);
}

std::string Quantity(std::int64_t thousandths) {
  return std::to_string(thousandths / 1000) + "," + Digits(thousandths % 1000, 3);
}

std::string Percent(int rate) {
  return std::to_string(rate / 100) + "," + Digits(rate % 100, 2) + "%";
}

std::string Trim(std::string_view text) {
  std::size_t b = 0, e = text.size();
  while (b < e && IsBlank(text[b])) ++b;
  while (e > b && IsBlank(text[e - 1])) --e;
  return std::string(text.substr(b, e - b));
}

std::string TrimRight(std::string_view text) {
  std::size_t e = text.size();
  while (e > 0 && IsBlank(text[e - 1])) --e;
  return std::string(text.substr(0, e));
}

std::string Upper(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    auto u = static_cast<unsigned char>(c);
    if (u >= 'a' && u <= 'z') {
      c = static_cast<char>(u - 32);
    } else if (u >= 0xE0 && u <= 0xFE && u != 0xF7) {
      c = static_cast<char>(u - 32);  // Windows-1252 accented lower case
    }
  }
  return out;
}

bool SameName(std::string_view a, std::string_view b) { return Upper(Trim(a)) == Upper(Trim(b)); }

std::string PadRight(std::string_view text, int width) {
  std::string s(text.substr(0, std::min<std::size_t>(text.size(), width)));
  s.resize(width, ' ');
  return s;
}

std::string PadLeft(std::string_view text, int width) {
  if (static_cast<int>(text.size()) >= width) return std::string(text.substr(0, width));
  return std::string(width - text.size(), ' ') + std::string(text);
}

std::string Centre(std::string_view text, int width) {
  if (static_cast<int>(text.size()) >= width) return std::string(text.substr(0, width));
  int left = (width - static_cast<int>(text.size())) / 2;
  return PadRight(std::string(left, ' ') + std::string(text), width);
}

std::string Spread(std::string_view left, std::string_view right, int width) {
  int room = width - static_cast<int>(right.size()) - 1;
  if (room < 0) return PadRight(right, width);
  return PadRight(left, room) + " " + std::string(right);
}

std::vector<std::string> SpreadLines(std::string_view left, std::string_view right, int width) {
  if (left.size() + 1 + right.size() <= static_cast<std::size_t>(width)) {
    return {Spread(left, right, width)};
  }
  return {PadRight(left, width), PadLeft(right, width)};
}

std::vector<std::string> WrapLines(std::string_view text, int width) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    std::string_view line =
        text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty()) lines.emplace_back();
    for (std::size_t i = 0; i < line.size(); i += width) {
      lines.emplace_back(line.substr(i, width));
    }
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  return lines;
}

std::string Cp1252ToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    auto u = static_cast<unsigned char>(c);
    AppendUtf8(out, u >= 0x80 && u < 0xA0 ? kHighTable[u - 0x80] : u);
  }
  return out;
}

std::string Utf8ToCp1252(std::string_view text) {
  std::string out;
  std::size_t i = 0;
  while (i < text.size()) {
    auto lead = static_cast<unsigned char>(text[i]);
    int extra = lead < 0x80 ? 0 : (lead & 0xE0) == 0xC0 ? 1 : (lead & 0xF0) == 0xE0 ? 2 : 3;
    bool ok = (lead < 0x80 || (lead & 0xC0) == 0xC0) && lead < 0xF8 && i + extra < text.size();
    char32_t cp = extra == 0 ? lead : lead & (0x3F >> extra);
    for (int k = 1; ok && k <= extra; ++k) {
      auto cont = static_cast<unsigned char>(text[i + k]);
      ok = (cont & 0xC0) == 0x80;
      cp = (cp << 6) | (cont & 0x3F);
    }
    if (!ok) {
      out += '?';
      ++i;
      continue;
    }
    out += FromCodePoint(cp);
    i += extra + 1;
  }
  return out;
}

std::int64_t MomentFromEpoch(std::int64_t epoch_seconds) {
  std::time_t t = static_cast<std::time_t>(epoch_seconds);
  std::tm tm{};
  localtime_r(&t, &tm);
  return (tm.tm_year + 1900LL) * 10000000000LL + (tm.tm_mon + 1LL) * 100000000LL +
         tm.tm_mday * 1000000LL + tm.tm_hour * 10000LL + tm.tm_min * 100LL + tm.tm_sec;
}

std::int64_t EpochFromMoment(std::int64_t moment) {
  std::tm tm{};
  tm.tm_year = static_cast<int>(moment / 10000000000LL) - 1900;
  tm.tm_mon = static_cast<int>(moment / 100000000LL % 100) - 1;
  tm.tm_mday = static_cast<int>(moment / 1000000LL % 100);
  tm.tm_hour = static_cast<int>(moment / 10000 % 100);
  tm.tm_min = static_cast<int>(moment / 100 % 100);
  tm.tm_sec = static_cast<int>(moment % 100);
  tm.tm_isdst = -1;
  return static_cast<std::int64_t>(std::mktime(&tm));
}

int DateOf(std::int64_t moment) { return static_cast<int>(moment / 1000000); }
int TimeOf(std::int64_t moment) { return static_cast<int>(moment % 1000000); }

std::string Ddmmyy(int date) {
  if (date == 0) return "000000";
  return Digits(date % 100, 2) + Digits(date / 100 % 100, 2) + Digits(date / 10000 % 100, 2);
}

std::string ShowDate(int date) {
  return Digits(date % 100, 2) + "/" + Digits(date / 100 % 100, 2) + "/" + Digits(date / 10000, 4);
}

std::string ShowMoment(std::int64_t moment) {
  int t = TimeOf(moment);
  return ShowDate(DateOf(moment)) + " " + Digits(t / 10000, 2) + ":" + Digits(t / 100 % 100, 2) +
         ":" + Digits(t % 100, 2);
}

std::optional<int> ParseDate(std::string_view text) {
  std::string t = Trim(text);
  t.erase(std::remove(t.begin(), t.end(), '/'), t.end());
  if (t.size() != 6 && t.size() != 8) return std::nullopt;
  auto n = ParseCount(t);
  if (!n) return std::nullopt;
  int day = std::stoi(t.substr(0, 2));
  int month = std::stoi(t.substr(2, 2));
  int year = std::stoi(t.substr(4));
  if (t.size() == 6) year += 2000;
  if (day < 1 || day > 31 || month < 1 || month > 12) return std::nullopt;
  return year * 10000 + month * 100 + day;
}

std::optional<int> ParseTime(std::string_view text) {
  std::string t = Trim(text);
  t.erase(std::remove(t.begin(), t.end(), ':'), t.end());
  auto n = ParseCount(t);
  if (t.size() != 6 || !n) return std::nullopt;
  if (*n / 10000 > 23 || *n / 100 % 100 > 59 || *n % 100 > 59) return std::nullopt;
  return *n;
}

}  // namespace ecfsim
