// The host's date-time value: days since 30 December 1899, the fraction being
// the time of day (0.5 is noon). Negative values count back from that day;
// as in the host, the fraction of a negative value is still the time of day.
//
// Plain value type, no state; safe to use from any thread.
#ifndef ZEL_DATE_TIME_H_
#define ZEL_DATE_TIME_H_

#include <compare>
#include <cstdint>

namespace zel {

struct DateTime {
  double value = 0.0;
  auto operator<=>(const DateTime&) const = default;
};

struct DateParts {
  int year = 1899, month = 12, day = 30;
  int hour = 0, minute = 0, second = 0, millisecond = 0;
};

// Raise zel::Error for a date or time that does not exist (31/02, 25:00).
// Years run from 1 to 9999.
DateTime EncodeDateTime(const DateParts& parts);
DateTime EncodeDate(int year, int month, int day);
// A time of day on day 0.
DateTime EncodeTime(int hour, int minute, int second, int millisecond);
// Splits a value into its parts, rounding to the nearest millisecond (so
// 23:59:59.9996 is midnight of the next day). Raises zel::Error for NaN,
// infinities and values outside the years 1 to 9999.
DateParts DecodeDateTime(DateTime value);
// The date part alone (midnight) and the time part alone (day 0), split after
// the same millisecond rounding as DecodeDateTime.
DateTime DateOf(DateTime value);
DateTime TimeOf(DateTime value);
bool IsValidDate(int year, int month, int day);
// Milliseconds since 30/12/1899 00:00 on a plain time line (the time of day
// of a negative value counted forward), for exact differences.
std::int64_t ToMilliseconds(DateTime value);

}  // namespace zel

#endif  // ZEL_DATE_TIME_H_
