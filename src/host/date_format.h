// Date-time to text and back with the host's masks, reading the current
// FormatSettings: "dd/mm/yyyy hh:nn:ss", "ddmmyyyyhhnnss", "yyyymmddhhnnss",
// "hhnn", "DDMMYYYY", "MMYY". Mask letters ignore case. "m"/"mm" right after
// "h"/"hh" is the minute, not the month, so "ddmmyyyyhhmss" writes the minute
// without a leading zero; "n"/"nn" is always the minute; "/" and ":" write
// the current date and time separators; text in quotes is copied.
#ifndef ZEL_HOST_DATE_FORMAT_H_
#define ZEL_HOST_DATE_FORMAT_H_

#include <string>
#include <string_view>

#include "zel/date_time.h"

namespace zel {

std::string FormatDateTime(std::string_view mask, DateTime value);

// The short date format and the long time format of the current settings.
std::string DateToText(DateTime value);
std::string TimeToText(DateTime value);

// Short-date text back to a date; raises zel::Error when the text is not a
// valid date in that format. The Try form returns false instead.
DateTime TextToDate(std::string_view text);
bool TryTextToDate(std::string_view text, DateTime* value);

}  // namespace zel

#endif  // ZEL_HOST_DATE_FORMAT_H_
