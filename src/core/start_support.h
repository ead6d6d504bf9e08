// Small pieces shared by the start, clock, printer-data and grand-total
// operations: their operator dialogs and the reading of their parameters.
// Texts are Windows-1252. Host thread only, like every operation.
#ifndef ZEL_CORE_START_SUPPORT_H_
#define ZEL_CORE_START_SUPPORT_H_

#include <string>
#include <string_view>

#include "core/dialogs.h"
#include "zel/variant.h"

namespace zel {

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
