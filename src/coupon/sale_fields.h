// The amount fields of a sale as the printer wants them: quantities and unit
// prices as decimal texts in the system separator, discounts and command
// amounts as fixed-width digit strings with two implied decimals.
//
// Stateless apart from the process-wide FormatSettings; host thread only.
#ifndef ZEL_COUPON_SALE_FIELDS_H_
#define ZEL_COUPON_SALE_FIELDS_H_

#include <string>
#include <string_view>

namespace zel {

// "#0.000": 0.5 is "0,500".
std::string ItemQuantityText(double quantity);

// The price cut to two decimals, then "#0.000": 3.456 is "3,450".
std::string ItemPriceText(double unit_price);

// No discount (zero or less) is "0000"; otherwise the discount cut to two
// decimals as eight digits with two implied decimals: 1.5 is "00000150".
// Raises zel::Error for a discount of 1000000 or more.
std::string ItemDiscountField(double discount);

// `value` formatted with `mask` (zeros and one '.', such as "00.00") and
// the separator removed: 12.5 with "00.00" is "1250". Raises zel::Error,
// naming the amount, when the text would not have exactly the mask's width
// (the value is negative or too large for the field), since dropping the
// separator from a longer text would send another amount.
std::string ImpliedDecimalsField(std::string_view mask, double value);

}  // namespace zel

#endif  // ZEL_COUPON_SALE_FIELDS_H_
