#include "zel/format_settings.h"

#include <string>

#include "zel/error.h"

namespace zel {
namespace {

FormatSettings& Settings() {
  static FormatSettings settings;
  return settings;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsDigitOrSign(char c) { return IsDigit(c) || c == '-' || c == '+'; }

// Settings that would make a number or a date unreadable once written are
// refused rather than installed.
void Check(const FormatSettings& s) {
  if (IsDigitOrSign(s.decimal_separator) || s.decimal_separator == ' ') {
    throw Error(std::string("Separador decimal inv\xE1lido: '") + s.decimal_separator + "'");
  }
  if (s.thousand_separator == s.decimal_separator || IsDigitOrSign(s.thousand_separator)) {
    throw Error(std::string("Separador de milhares inv\xE1lido: '") + s.thousand_separator + "'");
  }
  if (IsDigit(s.date_separator) || IsDigit(s.time_separator)) {
    throw Error("Separador de data ou hora inv\xE1lido");
  }
  if (s.currency_format < 0 || s.currency_format > 3) {
    throw Error("Formato de moeda inv\xE1lido: " + std::to_string(s.currency_format));
  }
  if (s.currency_decimals < 0 || s.currency_decimals > 18) {
    throw Error("Casas decimais da moeda inv\xE1lidas: " + std::to_string(s.currency_decimals));
  }
}

}  // namespace

const FormatSettings& CurrentFormatSettings() { return Settings(); }

void SetFormatSettings(const FormatSettings& settings) {
  Check(settings);
  Settings() = settings;
}

}  // namespace zel
