// How ecfhost shows figures and labels to a person: money as the printer's
// tape writes it (1.234,56), dates as DD/MM/YYYY, labels padded by the
// characters a terminal shows rather than by bytes (texts are UTF-8).
#ifndef ECFHOST_FIGURES_H_
#define ECFHOST_FIGURES_H_

#include <cstdint>
#include <string>

namespace ecfhost {

// "1.234.567,89" from cents.
std::string GroupedMoney(std::int64_t cents);

// "DDMMYY" as "DD/MM/20YY", "DDMMYYhhmmss" with " hh:mm:ss" after; any
// other text as given.
std::string DateText(const std::string& digits);

// `text` followed by blanks up to `width` characters on the terminal (at
// least one blank).
std::string PadRight(const std::string& text, std::size_t width);

}  // namespace ecfhost

#endif  // ECFHOST_FIGURES_H_
