// The fields of the table commands as the printer reads them: amounts as
// zero-filled digits with implied decimals, and the text adjustments the
// commands apply to tables, codes and descriptions.
//
// Stateless apart from the process-wide FormatSettings; host thread only.
#ifndef ZEL_RESTAURANT_TABLE_FIELDS_H_
#define ZEL_RESTAURANT_TABLE_FIELDS_H_

#include <string>
#include <string_view>

namespace zel {

// The four widths of amount the table commands send.
enum class TableAmount {
  kPercent,   // "00.00": 4 digits, 2 decimals, at most 99.99
  kQuantity,  // "000.000": 6 digits, 3 decimals, at most 999.999
  kPrice,     // "000000.00": 8 digits, 2 decimals, at most 999999.99
  kTotal,     // "000000000000.00": 14 digits, 2 decimals
};

// `value` rounded to the field's decimals, zero-filled, without its
// separator: 10 as kPercent is "1000", 1.5 as kQuantity "001500". Raises
// zel::Error naming `field` and the field's largest value when the value is
// negative, not a number or too large: the printer would read the digits of
// another amount.
std::string TableAmountField(TableAmount width, double value, std::string_view field);

// The table every command takes for "no table given".
inline constexpr char kNoTable[] = "9999";

// The first 17 characters of a description.
std::string TableDescription(std::string_view description);

}  // namespace zel

#endif  // ZEL_RESTAURANT_TABLE_FIELDS_H_
