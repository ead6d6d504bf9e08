// How every operation talks to the operator: a notice or a yes/no question
// through the host's dialog (always with the same fixed arguments around the
// text), and the "ERRO!!! " line a problem leaves in the debug log.
// Texts are Windows-1252. Host thread only, like every operation.
#ifndef ZEL_CORE_DIALOGS_H_
#define ZEL_CORE_DIALOGS_H_

#include <string>
#include <string_view>

namespace zel {

// Colour scheme of the dialogs of an operation that received none.
inline constexpr char kDefaultColourScheme[] = "001";

// Dialog kinds of the host's Mensagem: the status notices of the return
// analysis and of the raw channel; the start-up, port, date, configuration,
// serial-number and retry dialogs.
inline constexpr int kNoticeDialog = 0;
inline constexpr int kStartDialog = 3;

// Shows `text` as a plain notice.
void ShowDialog(const std::string& text, const std::string& colour_scheme, int kind);
// Asks `text` as a yes/no question; true when the operator answers yes.
bool AskYesNo(const std::string& text, const std::string& colour_scheme, int kind);
// Writes "ERRO!!! " + text to the debug log.
void LogProblem(std::string_view text);

}  // namespace zel

#endif  // ZEL_CORE_DIALOGS_H_
