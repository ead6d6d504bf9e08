// A sale as the printer will see it, worked out before the first command
// reaches it: the figures with the printer's own arithmetic (a price is cut
// to cents, an item's total is quantity times price cut to cents), what it
// would refuse halfway through a coupon, and the texts it would cut or could
// not print. A refusal found here costs no document number.
//
// Messages are UTF-8, in the cashier's language; zel::Error carries them in
// Windows-1252, as every error of this host does.
#ifndef ECFHOST_SALE_CHECKS_H_
#define ECFHOST_SALE_CHECKS_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "sale_builder.h"

namespace ecfhost {

// The printer's field widths and limits.
inline constexpr std::size_t kItemNameWidth = 29;  // the driver cuts the name to this
inline constexpr std::size_t kItemUnitWidth = 2;   // and the unit to this
inline constexpr std::size_t kItemCodeWidth = 49;
inline constexpr std::int64_t kMaxPriceCents = 999999999;         // 9999999,99
inline constexpr std::int64_t kMaxQuantityThousandths = 9999999;  // 9999,999
inline constexpr std::int64_t kMaxItemDiscountCents = 99999999;   // 999999,99

// The price as the driver sends it: cut (not rounded) to cents.
std::int64_t PriceCents(double price);
// The quantity as the driver sends it: rounded to three decimals.
std::int64_t QuantityThousandths(double quantity);
// The item's total on the tape: quantity times price, cut to cents.
std::int64_t ItemTotalCents(const SaleItem& item);

// The coupon's figures as the printer works them out.
struct SaleFigures {
  std::int64_t due = 0;
  std::int64_t paid = 0;
  std::int64_t change = 0;
};
SaleFigures PrinterFigures(const SaleRequest& sale);

// "1234,56" for an amount in cents.
std::string CentsText(std::int64_t cents);

// Refuses an item the printer would refuse or sell as something else: a
// quantity or price beyond its fields, one that its cut leaves at zero, a
// discount not smaller than the item's total.
void CheckItem(const SaleItem& item);

// Refuses control characters (a TAB would go onto the tape) and characters
// the printer cannot print (outside Windows-1252, such as emoji), naming
// them. `what` names the text in the message ("o nome do item").
void CheckPrintable(std::string_view utf8, const std::string& what);

// One line for each text the printer will cut to fit (an item's name or
// unit), saying what will be printed instead.
std::vector<std::string> CutWarnings(const SaleRequest& sale);

// Refuses an item whose tax-rate position the printer has not programmed,
// listing the positions it has (`programmed`, as the printer reads them:
// "01", ..., "FF").
void CheckRates(const SaleRequest& sale, const std::vector<std::string>& programmed);

// Raises zel::Error with `utf8` converted for the driver's error channel:
// the sale cannot be printed (exit status 1).
[[noreturn]] void Fail(const std::string& utf8);
// Raises UsageError likewise: the command line does not describe a sale
// (exit status 2).
[[noreturn]] void Mistake(const std::string& utf8);

}  // namespace ecfhost

#endif  // ECFHOST_SALE_CHECKS_H_
