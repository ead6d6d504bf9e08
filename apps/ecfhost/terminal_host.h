// The command-line host's services: dialogs on the terminal.
//
// A question is asked at the terminal (y/n) when standard input is one and
// no answer was given on the command line; with --yes or --no, or without a
// terminal, it is answered so and the answer is shown. Every dialog is
// printed as one clear line in UTF-8. A scripted yes is given to the same
// question at most kMaxScriptedRepeats times in a row and then turns into
// a no: the driver repeats a failed step for as long as the answer is yes,
// and a script must not spin forever on a printer that keeps refusing.
#ifndef ECFHOST_TERMINAL_HOST_H_
#define ECFHOST_TERMINAL_HOST_H_

#include <cstdio>
#include <optional>
#include <string>

#include "zel/host_services.h"

namespace ecfhost {

class TerminalHost : public zel::HostServices {
 public:
  static constexpr int kMaxScriptedRepeats = 3;

  // `scripted_answer`: the answer to every question, or none to ask.
  TerminalHost(std::optional<bool> scripted_answer, std::FILE* out)
      : scripted_answer_(scripted_answer), out_(out) {}

  bool Mensagem(const std::string& text, const std::string& caption, const std::string& letter_n,
                const std::string& question, int kind, const std::string& extra,
                const std::string& colour_scheme, int number, zel::Dataset* dataset) override;
  std::string GravaCER(const std::string& key1, const std::string& key2,
                       const std::string& movement_date) override;
  void GravaDocumentosNaoFiscais(const std::string& key, const std::string& colour_scheme,
                                 const std::string& kind, int number1, int number2) override;
  void Delay(int seconds) override;
  void ProcessMessages() override {}
  void Terminate() override;

  int dialogs_shown() const { return dialogs_shown_; }
  bool terminate_requested() const { return terminate_requested_; }

 private:
  std::optional<bool> scripted_answer_;
  std::FILE* out_;
  std::string last_question_;
  int yes_in_a_row_ = 0;
  int dialogs_shown_ = 0;
  bool terminate_requested_ = false;
};

}  // namespace ecfhost

#endif  // ECFHOST_TERMINAL_HOST_H_
