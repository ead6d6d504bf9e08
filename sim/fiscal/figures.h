// The day's figures as the printer hands them over in its own texts; shared
// by the counter entries and the older interface's totals reading.
#ifndef ECFSIM_FIGURES_H_
#define ECFSIM_FIGURES_H_

#include <string>

#include "printer_state.h"

namespace ecfsim {

inline constexpr int kPartialTotalsWidth = 329;
inline constexpr int kReceiptsWidth = 1319;

// The 16 rate bases, then FF, II, NN, discounts, cancellations, surcharges:
// 22 amounts of 14 digits (two implied decimals) joined by ",".
std::string PartialTotals(const PrinterState& state);
// Per totalizer position 01-30: counter (4 digits), day total (20 digits),
// name (19 columns), joined by ",".
std::string ReceiptTotals(const PrinterState& state);

}  // namespace ecfsim

#endif  // ECFSIM_FIGURES_H_
