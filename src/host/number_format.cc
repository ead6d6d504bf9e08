#include "host/number_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>
#include <system_error>

#include "host/decimal.h"
#include "zel/error.h"
#include "zel/format_settings.h"

namespace zel {
namespace {

// The host writes the special values as words.
const char* SpecialText(double value) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  return nullptr;
}

// What a number mask asks for; placeholders are '0' (always shown) and '#'
// (shown when significant).
struct MaskLayout {
  int integer_placeholders = 0;
  int required_integer_digits = 0;  // from the first '0' to the point
  int min_decimals = 0;             // up to the last '0' after the point
  int max_decimals = 0;             // every placeholder after the point
  bool thousands = false;
};

bool IsQuote(char c) { return c == '\'' || c == '"'; }

// Index of the quote closing the one at `open`, or the end of the mask.
std::size_t ClosingQuote(std::string_view mask, std::size_t open) {
  const std::size_t close = mask.find(mask[open], open + 1);
  return close == std::string_view::npos ? mask.size() : close;
}

MaskLayout ReadMask(std::string_view mask) {
  if (mask.empty()) throw Error("M\xE1scara num\xE9rica vazia");
  MaskLayout layout;
  bool after_point = false;
  int first_zero = -1;
  for (std::size_t i = 0; i < mask.size(); ++i) {
    const char c = mask[i];
    if (IsQuote(c)) {
      i = ClosingQuote(mask, i);
    } else if (c == ';' || ((c == 'E' || c == 'e') && i + 1 < mask.size() &&
                            (mask[i + 1] == '+' || mask[i + 1] == '-'))) {
      // Sections and scientific notation are never used by the driver; a
      // mask asking for them would otherwise print a wrong number.
      throw Error("M\xE1scara num\xE9rica n\xE3o suportada: " + std::string(mask));
    } else if (c == '.') {
      after_point = true;
    } else if (c == ',') {
      layout.thousands = true;
    } else if (c == '0' || c == '#') {
      if (after_point) {
        ++layout.max_decimals;
        if (c == '0') layout.min_decimals = layout.max_decimals;
      } else {
        if (c == '0' && first_zero < 0) first_zero = layout.integer_placeholders;
        ++layout.integer_placeholders;
      }
    }
  }
  if (first_zero >= 0) layout.required_integer_digits = layout.integer_placeholders - first_zero;
  return layout;
}

// Writes the integer digits of `d` at positions `high` down to `low`,
// counted from the units (0); positions beyond the value's digits are
// zeros. Groups thousands with `thousands` unless it is '\0'.
void AppendIntegerDigits(const Decimal& d, int high, int low, char thousands, std::string* out) {
  const int digits = d.IntegerDigits();
  for (int from_right = high; from_right >= low; --from_right) {
    out->push_back(d.DigitAt(digits - 1 - from_right));
    if (thousands != '\0' && from_right > 0 && from_right % 3 == 0) out->push_back(thousands);
  }
}

// The integer part, at least `min_digits` digits.
void AppendInteger(const Decimal& d, int min_digits, char thousands, std::string* out) {
  AppendIntegerDigits(d, std::max(d.IntegerDigits(), min_digits) - 1, 0, thousands, out);
}

void AppendDecimals(const Decimal& d, int decimals, char separator, std::string* out) {
  if (decimals <= 0) return;
  out->push_back(separator);
  for (int k = 1; k <= decimals; ++k) out->push_back(d.DecimalDigit(k));
}

// Walks the mask once more, putting digits where its placeholders are.
// Integer digits are right-aligned on the integer placeholders, the first
// placeholder taking any digits the mask has no room for; literal text stays
// where it is.
class MaskWriter {
 public:
  MaskWriter(const MaskLayout& layout, const Decimal& d, std::string* out)
      : layout_(layout), d_(d), out_(out), settings_(CurrentFormatSettings()) {
    shown_integer_ = std::max(d.IntegerDigits(), layout.required_integer_digits);
    shown_decimals_ = layout.max_decimals;
    while (shown_decimals_ > layout.min_decimals && d.DecimalDigit(shown_decimals_) == '0') {
      --shown_decimals_;
    }
  }

  void Write(std::string_view mask) {
    if (d_.negative) out_->push_back('-');
    bool after_point = false;
    int integer_seen = 0;
    int decimal_seen = 0;
    for (std::size_t i = 0; i < mask.size(); ++i) {
      const char c = mask[i];
      if (IsQuote(c)) {
        const std::size_t close = ClosingQuote(mask, i);
        out_->append(mask.substr(i + 1, close - i - 1));
        i = close;
      } else if (c == '0' || c == '#') {
        if (after_point) {
          if (++decimal_seen <= shown_decimals_) out_->push_back(d_.DecimalDigit(decimal_seen));
        } else {
          WriteIntegerPlaceholder(integer_seen++);
        }
      } else if (c == '.') {
        if (after_point) continue;
        after_point = true;
        if (layout_.integer_placeholders == 0) WriteIntegerDigits(shown_integer_ - 1, 0);
        if (shown_decimals_ > 0) out_->push_back(settings_.decimal_separator);
      } else if (c != ',') {
        out_->push_back(c);
      }
    }
  }

 private:
  void WriteIntegerPlaceholder(int placeholder) {
    const int slot = layout_.integer_placeholders - 1 - placeholder;  // 0 = units
    if (placeholder == 0) WriteIntegerDigits(shown_integer_ - 1, slot + 1);
    if (slot < shown_integer_) WriteIntegerDigits(slot, slot);
  }

  void WriteIntegerDigits(int high, int low) {
    AppendIntegerDigits(d_, high, low, layout_.thousands ? settings_.thousand_separator : '\0',
                        out_);
  }

  const MaskLayout& layout_;
  const Decimal& d_;
  std::string* out_;
  const FormatSettings& settings_;
  int shown_integer_ = 0;
  int shown_decimals_ = 0;
};

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Checks `text` (trimmed, sign removed) against digits, at most one current
// decimal separator and an optional exponent, and copies it into `out` with
// '.' as the separator, the form std::from_chars reads.
bool NormalizeNumber(std::string_view text, char separator, std::string* out) {
  std::size_t i = 0;
  int mantissa_digits = 0;
  bool seen_separator = false;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (IsDigit(c)) {
      ++mantissa_digits;
      out->push_back(c);
    } else if (c == separator && !seen_separator) {
      seen_separator = true;
      out->push_back('.');
    } else {
      break;
    }
  }
  if (mantissa_digits == 0) return false;
  if (i == text.size()) return true;
  if (text[i] != 'e' && text[i] != 'E') return false;
  out->push_back('e');
  ++i;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) out->push_back(text[i++]);
  const std::size_t exponent_start = i;
  for (; i < text.size() && IsDigit(text[i]); ++i) out->push_back(text[i]);
  return i == text.size() && i > exponent_start;
}

std::string NotANumberMessage(std::string_view text, const char* what) {
  return "'" + std::string(text) + "' n\xE3o \xE9 " + what;
}

}  // namespace

std::string FormatFloat(std::string_view mask, double value) {
  const MaskLayout layout = ReadMask(mask);
  if (const char* special = SpecialText(value)) return special;
  Decimal d = ToDecimal(value);
  RoundToDecimals(&d, layout.max_decimals);
  std::string out;  // amount fields fit the string's own small buffer
  MaskWriter(layout, d, &out).Write(mask);
  return out;
}

std::string FormatFixed(double value, int decimals, int precision) {
  if (decimals < 0 || decimals > 18) {
    throw Error("Casas decimais fora do limite: " + std::to_string(decimals));
  }
  if (precision < 1 || precision > 15) {
    throw Error("Precis\xE3o fora do limite: " + std::to_string(precision));
  }
  if (const char* special = SpecialText(value)) return special;
  Decimal d = ToDecimal(value, precision);
  RoundToDecimals(&d, decimals);
  std::string out;
  if (d.negative) out.push_back('-');
  AppendInteger(d, 1, '\0', &out);
  AppendDecimals(d, decimals, CurrentFormatSettings().decimal_separator, &out);
  return out;
}

std::string FormatCurrency(double value) {
  const FormatSettings& settings = CurrentFormatSettings();
  if (const char* special = SpecialText(value)) return special;
  Decimal d = ToDecimal(value);
  RoundToDecimals(&d, settings.currency_decimals);
  std::string number;
  AppendInteger(d, 1, settings.thousand_separator, &number);
  AppendDecimals(d, settings.currency_decimals, settings.decimal_separator, &number);
  std::string out = d.negative ? "-" : "";
  switch (settings.currency_format) {
    case 0:
      return out + settings.currency_string + number;
    case 1:
      return out + number + settings.currency_string;
    case 3:
      return out + number + ' ' + settings.currency_string;
    default:
      return out + settings.currency_string + ' ' + number;
  }
}

std::string FloatToText(double value) {
  if (const char* special = SpecialText(value)) return special;
  const Decimal d = ToDecimal(value);
  if (d.IsZero()) return "0";
  const char separator = CurrentFormatSettings().decimal_separator;
  std::string out;
  if (d.negative) out.push_back('-');
  // Fixed notation from 0,0001 up to fifteen integer digits, as the host.
  if (d.point > 15 || d.point < -3) {
    out.push_back(d.digits[0]);
    if (d.count > 1) {
      out.push_back(separator);
      out.append(d.digits + 1, d.digits + d.count);
    }
    out.push_back('E');
    char exponent[8];
    out.append(exponent, std::to_chars(exponent, exponent + sizeof exponent, d.point - 1).ptr);
    return out;
  }
  AppendInteger(d, 1, '\0', &out);
  AppendDecimals(d, std::max(d.count - d.point, 0), separator, &out);
  return out;
}

bool TryTextToFloat(std::string_view text, double* value) {
  text = TrimBlanks(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  std::string normal;
  normal.reserve(text.size());
  if (!NormalizeNumber(text, CurrentFormatSettings().decimal_separator, &normal)) return false;
  double magnitude = 0.0;
  const auto [end, error] =
      std::from_chars(normal.data(), normal.data() + normal.size(), magnitude);
  if (error != std::errc() || end != normal.data() + normal.size()) return false;
  *value = negative ? -magnitude : magnitude;
  return true;
}

double TextToFloat(std::string_view text) {
  double value = 0.0;
  if (!TryTextToFloat(text, &value)) {
    throw Error(NotANumberMessage(text, "um n\xFAmero v\xE1lido"));
  }
  return value;
}

bool TryTextToInt(std::string_view text, std::int64_t* value) {
  text = TrimBlanks(text);
  // std::from_chars reads a '-' but not a '+'.
  if (!text.empty() && text.front() == '+') {
    text.remove_prefix(1);
    if (!text.empty() && text.front() == '-') return false;
  }
  const std::size_t first_digit = !text.empty() && text.front() == '-' ? 1 : 0;
  if (text.size() == first_digit) return false;
  for (std::size_t i = first_digit; i < text.size(); ++i) {
    if (!IsDigit(text[i])) return false;
  }
  std::int64_t parsed = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), parsed);
  if (error != std::errc() || end != text.data() + text.size()) return false;
  *value = parsed;
  return true;
}

std::int64_t TextToInt(std::string_view text) {
  std::int64_t value = 0;
  if (!TryTextToInt(text, &value)) {
    throw Error(NotANumberMessage(text, "um n\xFAmero inteiro v\xE1lido"));
  }
  return value;
}

}  // namespace zel
