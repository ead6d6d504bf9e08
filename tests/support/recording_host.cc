#include "recording_host.h"

namespace zel {

void RecordingHost::ScriptAnswers(std::initializer_list<bool> answers) {
  answers_.insert(answers_.end(), answers.begin(), answers.end());
}

bool RecordingHost::Mensagem(const std::string& text, const std::string& caption,
                             const std::string& letter_n, const std::string& question, int kind,
                             const std::string& extra, const std::string& colour_scheme, int number,
                             Dataset* dataset) {
  dialogs.push_back(RecordedDialog{text, caption, letter_n, question, kind, extra, colour_scheme,
                                   number, dataset != nullptr});
  if (question != "S") return false;
  if (answers_.empty()) return default_answer_;
  bool answer = answers_.front();
  answers_.pop_front();
  return answer;
}

std::string RecordingHost::GravaCER(const std::string& key1, const std::string& key2,
                                    const std::string& movement_date) {
  cer_records.push_back({key1, key2, movement_date});
  return "";
}

void RecordingHost::GravaDocumentosNaoFiscais(const std::string& key,
                                              const std::string& colour_scheme,
                                              const std::string& kind, int number1, int number2) {
  document_records.push_back(
      {key, colour_scheme, kind, std::to_string(number1), std::to_string(number2)});
}

std::vector<std::string> RecordingHost::DialogTexts() const {
  std::vector<std::string> texts;
  for (const RecordedDialog& dialog : dialogs) texts.push_back(dialog.text);
  return texts;
}

}  // namespace zel
