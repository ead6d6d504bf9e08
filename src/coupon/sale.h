// Pieces of the fiscal sale that its operations share: whether a sale runs
// under card payments (TEF), the operator's "print again?" question that a
// failed step under TEF asks, and row 1 of the host's result arrays.
//
// The coupon-number query Nr_Cupom is an exported operation (zel/operations.h).
// Texts are Windows-1252. Host thread only, like every operation.
#ifndef ZEL_COUPON_SALE_H_
#define ZEL_COUPON_SALE_H_

#include <cstddef>
#include <string>
#include <string_view>

#include "core/dialogs.h"
#include "zel/variant.h"

namespace zel {

// Dialog kind of the retry questions.
inline constexpr int kRetryDialog = kStartDialog;

// A sale is under TEF when its indicator is "S" or "T" and TEF is active.
bool UnderTef(std::string_view tef_indicator, bool tef_active);

// Asks the yes/no question of message key Imp_N_Resp ("the printer does not
// answer; print again?") in the operator's colour scheme; true for yes.
bool AskPrintAgain(const std::string& colour_scheme);

// Asks `text` as a yes/no retry question; true for yes.
bool AskRetry(const std::string& text, const std::string& colour_scheme);

// Writes `value` into element [1, column] of a host result array (an array
// of rows, each an array of values). Rows and columns the host did not
// create are added as empty values, so a short array never loses a result.
void SetResultCell(Variant& result, std::size_t column, Variant value);

}  // namespace zel

#endif  // ZEL_COUPON_SALE_H_
