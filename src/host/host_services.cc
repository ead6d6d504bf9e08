#include "zel/host_services.h"

#include <chrono>
#include <cstdio>

#include "host/codepage.h"
#include "platform/env.h"
#include "zel/error.h"

namespace zel {
namespace {

// Used until the host registers its own: a driver running without a host
// (a test, a script) must never hang on a dialog nobody can answer.
class DefaultHostServices : public HostServices {
 public:
  bool Mensagem(const std::string& text, const std::string&, const std::string&,
                const std::string& question, int kind, const std::string&,
                const std::string& colour_scheme, int, Dataset*) override {
    std::fprintf(stderr, "[dialog %d%s, scheme %s] %s\n", kind, question == "S" ? ", question" : "",
                 colour_scheme.c_str(), Cp1252ToUtf8(text).c_str());
    return false;
  }
  std::string GravaCER(const std::string&, const std::string&, const std::string&) override {
    return "";
  }
  void GravaDocumentosNaoFiscais(const std::string&, const std::string&, const std::string&, int,
                                 int) override {}
  void Delay(int seconds) override {
    if (seconds > 0) Env::Current()->SleepFor(std::chrono::seconds(seconds));
  }
  void ProcessMessages() override {}
  void Terminate() override { std::fprintf(stderr, "[host asked to terminate]\n"); }
};

HostServices* registered_host = nullptr;

}  // namespace

HostServices& Host() {
  static DefaultHostServices default_host;
  return registered_host != nullptr ? *registered_host : default_host;
}

}  // namespace zel

extern "C" void ZelRegistraHost(zel::HostServices* host) { zel::registered_host = host; }

extern "C" void ZelDefineEnv(zel::Env* env) { zel::Env::SetCurrent(env); }

extern "C" bool ZelDefineFormatos(const zel::FormatSettings* settings) {
  // A C caller cannot catch an exception: refuse instead.
  try {
    zel::SetFormatSettings(settings != nullptr ? *settings : zel::FormatSettings{});
    return true;
  } catch (const zel::Error&) {
    return false;
  }
}
