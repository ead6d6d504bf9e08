// The printer's fiscal movement date (DDMMYY, "000000" while no fiscal day
// is open) as a date the host can use.
//
// Pure function; safe from any thread.
#ifndef ZEL_CLOSING_MOVEMENT_DATE_H_
#define ZEL_CLOSING_MOVEMENT_DATE_H_

#include <string_view>

#include "zel/date_time.h"

namespace zel {

// The date DDMMYY of the first six characters of `ddmmyy`, in the century of
// `now` (the printer keeps two year digits only, so "311299" read in 2026 is
// 31/12/2099). Any text that does not hold such a date, "000000" and a
// blank buffer of a printer that did not answer included, gives the date of
// `now`: the caller always gets a usable day, never an error.
DateTime MovementDateOrToday(std::string_view ddmmyy, DateTime now);

}  // namespace zel

#endif  // ZEL_CLOSING_MOVEMENT_DATE_H_
