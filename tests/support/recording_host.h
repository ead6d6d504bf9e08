// A host for tests: answers questions from a script and keeps every call the
// driver made, with its arguments, in order.
#ifndef ZEL_TESTS_SUPPORT_RECORDING_HOST_H_
#define ZEL_TESTS_SUPPORT_RECORDING_HOST_H_

#include <deque>
#include <string>
#include <vector>

#include "zel/host_services.h"

namespace zel {

struct RecordedDialog {
  std::string text, caption, letter_n, question;
  int kind = 0;
  std::string extra, colour_scheme;
  int number = 0;
  bool had_dataset = false;
  bool operator==(const RecordedDialog&) const = default;
};

class RecordingHost : public HostServices {
 public:
  // Answers given to the next questions, in order; once they run out every
  // question is answered `default_answer`.
  void ScriptAnswers(std::initializer_list<bool> answers);
  void set_default_answer(bool answer) { default_answer_ = answer; }

  bool Mensagem(const std::string& text, const std::string& caption, const std::string& letter_n,
                const std::string& question, int kind, const std::string& extra,
                const std::string& colour_scheme, int number, Dataset* dataset) override;
  std::string GravaCER(const std::string& key1, const std::string& key2,
                       const std::string& movement_date) override;
  void GravaDocumentosNaoFiscais(const std::string& key, const std::string& colour_scheme,
                                 const std::string& kind, int number1, int number2) override;
  void Delay(int seconds) override { delays.push_back(seconds); }
  void ProcessMessages() override { ++messages_serviced; }
  void Terminate() override { ++terminate_requests; }

  // The texts of the dialogs shown, in order (the most common assertion).
  std::vector<std::string> DialogTexts() const;

  std::vector<RecordedDialog> dialogs;
  std::vector<std::vector<std::string>> cer_records;       // key1, key2, date
  std::vector<std::vector<std::string>> document_records;  // key, scheme, kind, n1, n2
  std::vector<int> delays;
  int messages_serviced = 0;
  int terminate_requests = 0;

 private:
  std::deque<bool> answers_;
  bool default_answer_ = false;
};

// Registers a host for the lifetime of the object and restores the default
// after.
class ScopedHost {
 public:
  explicit ScopedHost(HostServices* host) { ZelRegistraHost(host); }
  ~ScopedHost() { ZelRegistraHost(nullptr); }
  ScopedHost(const ScopedHost&) = delete;
  ScopedHost& operator=(const ScopedHost&) = delete;
};

}  // namespace zel

#endif  // ZEL_TESTS_SUPPORT_RECORDING_HOST_H_
