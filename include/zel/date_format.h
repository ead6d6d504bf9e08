// Date-time to text and back with the host's masks, reading the current
// FormatSettings: "dd/mm/yyyy hh:nn:ss", "ddmmyyyyhhnnss", "yyyymmddhhnnss",
// "hhnn", "DDMMYYYY", "MMYY". Mask letters ignore case: d/dd day, m/mm month,
// yy/yyyy year, h/hh hour (24-hour clock), n/nn minute, s/ss second, z/zzz
// millisecond; one letter writes no leading zero. "m"/"mm" right after
// "h"/"hh" is the minute, not the month (separators and literal text in
// between do not count, so "hh:mm" is hours and minutes), and
// "ddmmyyyyhhmss" writes the minute without a leading zero; "n"/"nn" is
// always the minute; "/" and ":" write the current date and time separators;
// text in quotes is copied, and so is any other character.
//
// Stateless apart from the process-wide FormatSettings; call from the host's
// thread, as the rest of the driver.
#ifndef ZEL_DATE_FORMAT_H_
#define ZEL_DATE_FORMAT_H_

#include <string>
#include <string_view>

#include "zel/date_time.h"

namespace zel {

// Raises zel::Error for a value DecodeDateTime refuses and for tokens the
// driver never uses (day and month names, "c", "t", "am/pm").
std::string FormatDateTime(std::string_view mask, DateTime value);

// The short date format and the long time format of the current settings.
std::string DateToText(DateTime value);
std::string TimeToText(DateTime value);
// The short date, then a blank and the long time unless the time is midnight.
std::string DateTimeToText(DateTime value);

// Short-date text back to a date: day, month and year in the order of the
// short date format, split by the current date separator, blanks around
// ignored; a two-digit year below 50 is 20yy, otherwise 19yy. Raises
// zel::Error when the text is not a valid date. The Try forms return false
// instead and leave *value untouched.
DateTime TextToDate(std::string_view text);
bool TryTextToDate(std::string_view text, DateTime* value);
// "hh:nn" or "hh:nn:ss" with the current time separator, on day 0; hours
// run from 0 to 23.
DateTime TextToTime(std::string_view text);
bool TryTextToTime(std::string_view text, DateTime* value);
// A short date, optionally followed by blanks and a time as above.
DateTime TextToDateTime(std::string_view text);
bool TryTextToDateTime(std::string_view text, DateTime* value);

}  // namespace zel

#endif  // ZEL_DATE_FORMAT_H_
