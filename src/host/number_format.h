// Number to text and back, in the host's manner, reading the current
// FormatSettings. Rounding works on the value's 15-significant-digit decimal
// form, half away from zero, so 2.675 with "0.00" gives "2,68" and not the
// "2,67" a binary double would suggest.
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
// it rounds to zero. Raises zel::Error for an empty mask.
std::string FormatFloat(std::string_view mask, double value);

// Fixed notation with `decimals` decimals (no thousands separators).
std::string FormatFixed(double value, int decimals);

// Currency text in the current settings ("R$ 1.234,56").
std::string FormatCurrency(double value);

// The shortest decimal text that reads back as the same 15-digit value
// ("0,1", "12", "1E20" for very large values).
std::string FloatToText(double value);

// Text to number with the current decimal separator; blanks around are
// ignored. The Try forms return false instead of raising zel::Error.
double TextToFloat(std::string_view text);
bool TryTextToFloat(std::string_view text, double* value);
std::int64_t TextToInt(std::string_view text);
bool TryTextToInt(std::string_view text, std::int64_t* value);

}  // namespace zel

#endif  // ZEL_HOST_NUMBER_FORMAT_H_
