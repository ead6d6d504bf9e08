// The fiscal coupon of the simulated printer: opening, items, the subtotal
// adjustments, payments, the end and the cancellations, with the day's
// figures and the grand total kept as a fiscal printer keeps them.
//
// Figures: an item adds its value and item surcharge to the gross sales and
// the grand total, its discount to the discounts, and its net value to the
// base of its tax rate. Cancellations never touch the grand total (it never
// decreases); they add the cancelled net value to the cancellations and take
// it off the rate's base. So for the day: net sales = gross sales -
// cancellations - discounts = sum of the rate bases.
//
// Every function takes the printer under Run()'s lock and returns the
// outcome of the command; on refusal nothing has changed.
#ifndef ECFSIM_COUPON_H_
#define ECFSIM_COUPON_H_

#include <string>

#include "printer.h"

namespace ecfsim {

// An item as the host sends it (texts not yet read).
struct ItemRequest {
  std::string code;
  std::string description;
  std::string rate_code;   // "01".."16", "FF", "II", "NN"
  std::string unit_price;  // 3 implied decimals when written without separator
  std::string quantity;    // 3 implied decimals when written without separator
  std::string surcharge;   // money; may be empty
  std::string discount;    // money; may be empty
  std::string department;  // "01".."99"; may be empty
  std::string unit;        // up to 2 characters
};

Outcome OpenCoupon(Printer& p, const std::string& buyer_id, const std::string& name,
                   const std::string& address);
Outcome SellItem(Printer& p, const ItemRequest& item);
// `number` is 1-based; 0 cancels the last item sold.
Outcome CancelItem(Printer& p, int number);
// A discount (negative) or surcharge (positive) on the subtotal, shared out
// over the tax rates of the items in proportion to their values.
Outcome AdjustSubtotal(Printer& p, Cents amount);
// kind "d"/"a", type "$"/"%", value: starts the closing.
Outcome StartClosing(Printer& p, const std::string& kind, const std::string& type,
                     const std::string& value);
Outcome Pay(Printer& p, const std::string& form, const std::string& amount);
Outcome EndCoupon(Printer& p, const std::string& message);
// Cancels the open coupon, or the last coupon while it is the last document.
Outcome CancelCoupon(Printer& p);

// What the open coupon comes to: items less discounts plus surcharges.
Cents CouponTotal(const Coupon& coupon);
// Position of the payment form named `name` (ignoring case and blanks), or
// -1 when it is not programmed.
int FindPaymentForm(const PrinterState& state, const std::string& name);

}  // namespace ecfsim

#endif  // ECFSIM_COUPON_H_
