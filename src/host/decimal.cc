#include "host/decimal.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <system_error>

namespace zel {
namespace {

// Enough for every significant digit a double can have (767) in
// scientific notation.
constexpr int kExactDigits = 767;

struct Scientific {
  int digits;  // how many were copied
  int exponent;
};

// Reads "d.ddd...e+XX" (or "de+XX") as written by std::to_chars in
// scientific notation: at most `wanted` digits into `out`, and the exponent.
Scientific ReadScientific(const char* text, const char* end, char* out, int wanted) {
  Scientific result{0, 0};
  const char* p = text;
  while (p < end && *p != 'e') {
    if (*p != '.' && result.digits < wanted) out[result.digits++] = *p;
    ++p;
  }
  ++p;  // 'e'
  const bool negative = *p == '-';
  ++p;  // the sign, always written
  std::from_chars(p, end, result.exponent);
  if (negative) result.exponent = -result.exponent;
  return result;
}

void StripTrailingZeros(Decimal* d) {
  while (d->count > 0 && d->digits[d->count - 1] == '0') --d->count;
  if (d->count == 0) *d = Decimal{};
}

// Adds one unit in the last kept digit; 0.999 becomes 0.1 x 10^1.
void IncrementLastDigit(Decimal* d) {
  int i = d->count - 1;
  while (i >= 0 && d->digits[i] == '9') d->digits[i--] = '0';
  if (i >= 0) {
    ++d->digits[i];
  } else {
    d->digits[0] = '1';
    d->count = 1;
    ++d->point;
  }
}

// Keeps the first `keep` digits; `round_up` adds one unit to the last kept.
void Cut(Decimal* d, long keep, bool round_up) {
  if (keep < 0) {
    *d = Decimal{};
    return;
  }
  d->count = static_cast<int>(keep);
  if (round_up) IncrementLastDigit(d);
  StripTrailingZeros(d);
}

}  // namespace

Decimal ToDecimal(double value, int precision) {
  Decimal d;
  if (value == 0 || !std::isfinite(value)) return d;
  precision = std::clamp(precision, 1, 15);
  d.negative = value < 0;
  const double magnitude = std::fabs(value);

  // The shortest text that reads back as the same double is within half a
  // binary unit of it, closer than half a unit of the 15th digit: when it
  // has no more digits than asked, it is the rounded form. Amounts usually
  // are that short.
  char text[32];
  char digits[Decimal::kMaxDigits];
  auto written = std::to_chars(text, text + sizeof text, magnitude, std::chars_format::scientific);
  Scientific read = ReadScientific(text, written.ptr, digits, Decimal::kMaxDigits);
  bool round_up = false;
  if (read.digits > precision) {
    // Seventeen correctly rounded digits decide the rounding unless they sit
    // exactly on the half, where only the exact binary value can tell a true
    // tie (rounded away from zero) from a value just below it.
    written = std::to_chars(text, text + sizeof text, magnitude, std::chars_format::scientific, 16);
    read = ReadScientific(text, written.ptr, digits, Decimal::kMaxDigits);
    round_up = digits[precision] > '5';
    if (digits[precision] == '5') {
      bool beyond_half = false;
      for (int i = precision + 1; i < Decimal::kMaxDigits; ++i) beyond_half |= digits[i] != '0';
      round_up = beyond_half;
      if (!beyond_half) {
        char exact[kExactDigits + 16];
        const auto exact_end = std::to_chars(exact, exact + sizeof exact, magnitude,
                                             std::chars_format::scientific, kExactDigits - 1);
        read = ReadScientific(exact, exact_end.ptr, digits, precision + 1);
        round_up = digits[precision] >= '5';
      }
    }
    read.digits = precision;
  }
  for (int i = 0; i < read.digits; ++i) d.digits[i] = digits[i];
  d.count = read.digits;
  d.point = read.exponent + 1;
  if (round_up) IncrementLastDigit(&d);
  StripTrailingZeros(&d);
  d.negative = value < 0 && !d.IsZero();
  return d;
}

void RoundToDecimals(Decimal* d, int decimals) {
  const long keep = static_cast<long>(d->point) + decimals;
  if (d->IsZero() || keep >= d->count) return;
  Cut(d, keep, keep >= 0 && d->digits[keep] >= '5');
}

void TruncateToDecimals(Decimal* d, int decimals) {
  const long keep = static_cast<long>(d->point) + decimals;
  if (d->IsZero() || keep >= d->count) return;
  Cut(d, keep, false);
}

double ToDouble(const Decimal& d) {
  if (d.IsZero()) return 0.0;
  char text[Decimal::kMaxDigits + 24];
  char* p = text;
  *p++ = '0';
  *p++ = '.';
  for (int i = 0; i < d.count; ++i) *p++ = d.digits[i];
  *p++ = 'e';
  p = std::to_chars(p, text + sizeof text, d.point).ptr;
  double value = 0.0;
  std::from_chars(text, p, value);
  return d.negative ? -value : value;
}

}  // namespace zel
