// What only the host can do for the driver: show a modal dialog, record a
// printed document, pause, keep its screen responsive, and close itself.
//
// The host implements HostServices and registers it with ZelRegistraHost
// before its first call of an operation; until then (and after it registers
// nullptr) the driver uses a default that never blocks: each dialog is
// written to standard error and every question is answered "no". The driver
// does not own the registered object: it must outlive every later call.
// Called only from the host's thread, like every operation.
#ifndef ZEL_HOST_SERVICES_H_
#define ZEL_HOST_SERVICES_H_

#include <string>

#include "zel/export.h"
#include "zel/format_settings.h"

namespace zel {

class Dataset;
class Env;

class HostServices {
 public:
  virtual ~HostServices() = default;

  // The host's dialog, with its nine arguments in order: the text to show;
  // an empty text; the letter "N"; the question flag ("S" for a yes/no
  // question, "N" for a notice); the dialog kind (0 status notices, 3 start-up
  // and retry dialogs); an empty text; the colour scheme; the number 0; no
  // dataset (may be null). Returns true when the operator answers yes; the
  // driver reads the answer only for questions.
  virtual bool Mensagem(const std::string& text, const std::string& caption,
                        const std::string& letter_n, const std::string& question, int kind,
                        const std::string& extra, const std::string& colour_scheme, int number,
                        Dataset* dataset) = 0;

  // Records the issue of a management report: two record keys and the
  // fiscal movement date. The driver discards the text it returns.
  virtual std::string GravaCER(const std::string& key1, const std::string& key2,
                               const std::string& movement_date) = 0;

  // Records a printed non-fiscal document (a table bill): record key,
  // colour scheme, document kind ("CM"), and two numbers the driver passes
  // as 0.
  virtual void GravaDocumentosNaoFiscais(const std::string& key, const std::string& colour_scheme,
                                         const std::string& kind, int number1, int number2) = 0;

  // Pauses for `seconds` seconds.
  virtual void Delay(int seconds) = 0;

  // Services the host's message queue so its screen stays responsive during
  // a long driver operation.
  virtual void ProcessMessages() = 0;

  // Asks the host application to terminate once the current operation has
  // returned; the driver carries on to the end of that operation.
  virtual void Terminate() = 0;
};

// The services in force: the registered host's, or the default.
HostServices& Host();

}  // namespace zel

// Registers the host's services (nullptr returns to the default).
extern "C" ZEL_EXPORT void ZelRegistraHost(zel::HostServices* host);

// Makes the driver reach the operating system (clock, directories, files,
// libraries) through `env` instead of its own default; nullptr restores the
// default. The driver's Env lives inside the driver library, apart from any
// copy in the host's program, so a host or test that wraps the system does
// it here. The driver does not own `env`: it must outlive every later call.
extern "C" ZEL_EXPORT void ZelDefineEnv(zel::Env* env);

// Sets the regional settings every number and date text of the driver uses
// (decimal separator, date formats...); nullptr restores the Brazilian
// defaults. The settings are copied. Returns false, keeping the settings in
// force, when they are inconsistent (the same decimal and thousands
// separator, an unknown currency format...).
extern "C" ZEL_EXPORT bool ZelDefineFormatos(const zel::FormatSettings* settings);

#endif  // ZEL_HOST_SERVICES_H_
