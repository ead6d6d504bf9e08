// Number to text and back, in the host's manner, reading the current
// FormatSettings. Rounding works on the value's 15-significant-digit decimal
// form, half away from zero, so 2.675 with "0.00" gives "2,68" and not the
// "2,67" a binary double would suggest.
//
// Stateless apart from the process-wide FormatSettings; call from the host's
// thread, as the rest of the driver.
#ifndef ZEL_HOST_NUMBER_FORMAT_H_
#define ZEL_HOST_NUMBER_FORMAT_H_

#include <cstdint>
#include <string>
#include <string_view>

namespace zel {

// Formats with a mask such as "#0.000", "0.00", "0.00#", "000000.00": '0'
// is a digit always shown, '#' a digit shown when significant, '.' the place
// of the decimal separator (written as the current one), ',' before the '.'
// asks for thousands separators. A negative value gets a leading '-' unless
// it rounds to zero. A value with more integer digits than the mask has
// placeholders gets them all ("00.00" with 123.456 gives "123,46"). Other
// characters are copied, text in quotes too. NaN and infinities give "NAN",
// "INF", "-INF". Raises zel::Error for an empty mask and for sections (';')
// and exponents ("E+"), which the driver never asks for.
std::string FormatFloat(std::string_view mask, double value);

// Fixed notation with `decimals` (0 to 18) decimals, no thousands separators,
// the value first taken to `precision` (1 to 15) significant digits.
std::string FormatFixed(double value, int decimals, int precision = 15);

// Currency text in the current settings ("R$ 1.234,56"); a negative amount
// has its '-' in front of everything ("-R$ 1,50").
std::string FormatCurrency(double value);

// The shortest decimal text that reads back as the same 15-digit value
// ("0,1", "12"); beyond fifteen integer digits or below 0,0001 it turns to
// the exponent form ("1E20", "1,5E-5").
std::string FloatToText(double value);

// Text to number with the current decimal separator; blanks around are
// ignored. A number is an optional sign, digits with at most one decimal
// separator, and an optional exponent ("1,5E3"); thousands separators are
// refused, and so are values out of the double or 64-bit range. The Try forms
// return false instead of raising zel::Error, and leave *value untouched.
double TextToFloat(std::string_view text);
bool TryTextToFloat(std::string_view text, double* value);
std::int64_t TextToInt(std::string_view text);
bool TryTextToInt(std::string_view text, std::int64_t* value);

}  // namespace zel

#endif  // ZEL_HOST_NUMBER_FORMAT_H_
