// The decimal form of a double that every number helper of the host works on:
// the value rounded to a number of significant digits (15, as the host shows
// numbers), then rounded or truncated to decimals on those digits. Working on
// the decimal digits is what makes 2.675 round to 2.68 and 1.15 truncate to
// 1.15, where the binary value would give 2.67 and 1.14.
//
// Plain value type; no allocation, no shared state.
#ifndef ZEL_HOST_DECIMAL_H_
#define ZEL_HOST_DECIMAL_H_

namespace zel {

struct Decimal {
  static constexpr int kMaxDigits = 17;

  bool negative = false;
  // Significant digits as characters, without leading or trailing zeros;
  // none for zero.
  char digits[kMaxDigits] = {};
  int count = 0;
  // Where the decimal point sits counted from the first digit:
  // value = 0.d1d2d3... x 10^point.
  int point = 0;

  bool IsZero() const { return count == 0; }
  // Digit i of the 0.d1d2... form (0-based); '0' outside the stored digits.
  char DigitAt(int i) const { return i >= 0 && i < count ? digits[i] : '0'; }
  // Digits before the decimal point (0 for values below 1).
  int IntegerDigits() const { return count == 0 || point < 0 ? 0 : point; }
  // The k-th decimal (1-based) after the point.
  char DecimalDigit(int k) const { return DigitAt(point + k - 1); }
};

// `value` must be finite. `precision` (1 to 15) is the number of significant
// digits kept, rounded half away from zero from the exact binary value.
Decimal ToDecimal(double value, int precision = 15);
// Rounds half away from zero, or cuts toward zero, to `decimals` places
// (negative: to tens, hundreds...). A result of zero loses its sign.
void RoundToDecimals(Decimal* d, int decimals);
void TruncateToDecimals(Decimal* d, int decimals);
// The double nearest to the decimal.
double ToDouble(const Decimal& d);

}  // namespace zel

#endif  // ZEL_HOST_DECIMAL_H_
