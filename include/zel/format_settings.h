// Regional settings read by every number and date formatter of the driver:
// the one place that decides ',' or '.' as decimal separator, the currency
// and the short date and long time formats. Brazilian by default.
//
// The settings are process-wide, like the host's own; the driver is called
// from one host thread at a time, so they are not guarded.
#ifndef ZEL_FORMAT_SETTINGS_H_
#define ZEL_FORMAT_SETTINGS_H_

#include <string>

namespace zel {

struct FormatSettings {
  char decimal_separator = ',';
  char thousand_separator = '.';
  std::string currency_string = "R$";
  // Where the symbol goes: 0 "R$1", 1 "1R$", 2 "R$ 1", 3 "1 R$".
  int currency_format = 2;
  int currency_decimals = 2;
  char date_separator = '/';
  char time_separator = ':';
  std::string short_date_format = "dd/mm/yyyy";
  std::string long_time_format = "hh:nn:ss";
};

// The settings in force. The reference stays valid; its contents change with
// the next SetFormatSettings.
const FormatSettings& CurrentFormatSettings();
// Raises zel::Error, leaving the settings in force, for settings that would
// make written numbers or dates unreadable: a digit, sign or blank as decimal
// separator, a thousands separator equal to it, a digit as date or time
// separator, a currency format outside 0-3 or currency decimals outside 0-18.
void SetFormatSettings(const FormatSettings& settings);

}  // namespace zel

#endif  // ZEL_FORMAT_SETTINGS_H_
