#include "terminal_host.h"

#include <chrono>
#include <iostream>
#include <string>

#include "zel/codepage.h"
#include "zel/env.h"

namespace ecfhost {
namespace {

bool AskAtTerminal(std::FILE* out) {
  for (;;) {
    std::fprintf(out, "  [s/n] ");
    std::fflush(out);
    std::string answer;
    if (!std::getline(std::cin, answer)) return false;
    if (answer == "s" || answer == "S" || answer == "y" || answer == "Y") return true;
    if (answer == "n" || answer == "N") return false;
  }
}

}  // namespace

bool TerminalHost::Mensagem(const std::string& text, const std::string&, const std::string&,
                            const std::string& question, int, const std::string&,
                            const std::string&, int, zel::Dataset*) {
  ++dialogs_shown_;
  const bool is_question = question == "S";
  std::fprintf(out_, "%s %s\n", is_question ? "[pergunta]" : "[aviso]",
               zel::Cp1252ToUtf8(text).c_str());
  if (!is_question) return false;
  if (!scripted_answer_.has_value() && zel::StandardInputIsTerminal()) {
    return AskAtTerminal(out_);
  }
  yes_in_a_row_ = text == last_question_ ? yes_in_a_row_ : 0;
  last_question_ = text;
  bool answer = scripted_answer_.value_or(false);
  if (answer && yes_in_a_row_ == kMaxScriptedRepeats) {
    std::fprintf(out_, "  resposta: não (já respondida sim %d vezes seguidas)\n",
                 kMaxScriptedRepeats);
    answer = false;
  } else {
    std::fprintf(out_, "  resposta: %s\n", answer ? "sim" : "não");
  }
  yes_in_a_row_ = answer ? yes_in_a_row_ + 1 : 0;
  return answer;
}

std::string TerminalHost::GravaCER(const std::string&, const std::string&,
                                   const std::string& movement_date) {
  std::fprintf(out_, "[registro] relatório gerencial emitido (movimento %s)\n",
               movement_date.c_str());
  return "";
}

void TerminalHost::GravaDocumentosNaoFiscais(const std::string& key, const std::string&,
                                             const std::string& kind, int, int) {
  std::fprintf(out_, "[registro] documento %s %s\n", kind.c_str(), key.c_str());
}

void TerminalHost::Delay(int seconds) {
  if (seconds > 0) zel::Env::Default()->SleepFor(std::chrono::seconds(seconds));
}

void TerminalHost::Terminate() {
  terminate_requested_ = true;
  std::fprintf(out_, "[host] o driver pediu o encerramento do programa\n");
}

}  // namespace ecfhost
