#include "core/dialogs.h"

#include "zel/debug_log.h"
#include "zel/host_services.h"

namespace zel {

void ShowDialog(const std::string& text, const std::string& colour_scheme, int kind) {
  Host().Mensagem(text, "", "N", "N", kind, "", colour_scheme, 0, nullptr);
}

bool AskYesNo(const std::string& text, const std::string& colour_scheme, int kind) {
  return Host().Mensagem(text, "", "N", "S", kind, "", colour_scheme, 0, nullptr);
}

void LogProblem(std::string_view text) { Zel00101::ImpFisDebug("ERRO!!! " + std::string(text)); }

}  // namespace zel
