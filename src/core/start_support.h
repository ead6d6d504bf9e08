// Small pieces shared by the start, clock, printer-data and grand-total
// operations: their operator dialogs and the reading of their parameters.
// Texts are Windows-1252. Host thread only, like every operation.
#ifndef ZEL_CORE_START_SUPPORT_H_
#define ZEL_CORE_START_SUPPORT_H_

#include <string>
#include <string_view>

#include "zel/variant.h"

namespace zel {

// Colour scheme of the dialogs of an operation that received none.
inline constexpr char kDefaultColourScheme[] = "001";

// Dialog kinds of the host's Mensagem: status notices and the start-up,
// port, date, configuration-file and serial-number dialogs.
inline constexpr int kNoticeDialog = 0;
inline constexpr int kStartDialog = 3;

// Shows `text` as a plain notice (no question) through the host.
void ShowDialog(const std::string& text, const std::string& colour_scheme, int kind);

// The dialog of a parameter array that could not be read: the error's own
// text, a carriage return, and the sentence naming `operation`.
std::string ParameterErrorText(std::string_view error_text, std::string_view operation);

// The parameter `name` as a text; raises zel::Error like RecebeParams.
std::string ParamText(const Variant& params, std::string_view name);

// Reads the printer's date and time into `date_time` (12 characters,
// DDMMYYhhnnss, blanks when the printer did not answer) and writes the log
// line of the call; returns the entry's status for the return analysis.
int ReadPrinterClock(std::string& date_time);

// `text` without blanks or control characters at either end.
std::string Trim(std::string_view text);

}  // namespace zel

#endif  // ZEL_CORE_START_SUPPORT_H_
