#include "session.h"

#include <cstdlib>

#include "zel/error.h"
#include "zel/host_services.h"

namespace ecfhost {

namespace {

// The driver finds the printer library through this host's Env (the
// workspace), which looks beside this program; the libraries live in the
// build's lib folder, so that is where the driver is told to look.
std::string DriverPathWithLibrariesInReach() {
  const std::string path = DefaultDriverPath();
  if (std::getenv("ZEL_LIBRARY_PATH") == nullptr) {
    zel::SetEnvironmentVariable("ZEL_LIBRARY_PATH", path.substr(0, path.rfind('/')));
  }
  return path;
}

}  // namespace

Session::Session(const std::string& folder, std::optional<bool> answer, std::FILE* out)
    : workspace_(folder),
      host_(answer, out),
      driver_(DriverPathWithLibrariesInReach()),
      out_(out) {
  Op<void(zel::HostServices*)>("ZelRegistraHost")(&host_);
  Op<void(zel::Env*)>("ZelDefineEnv")(&workspace_);
}

Session::~Session() {
  Op<void(zel::HostServices*)>("ZelRegistraHost")(nullptr);
  Op<void(zel::Env*)>("ZelDefineEnv")(nullptr);
}

zel::Variant Session::StartParams() {
  return zel::MakeParams({{"CDFILIAL", "0001"},
                          {"CDCAIXA", "001"},
                          {"NRSERIE", ""},
                          {"NRSERIEIMP", ""},
                          {"ESQUEMA", "001"},
                          {"ESQUEMACOR", "001"},
                          {"CDPORTAIMPFIS", "COM1"},
                          {"PORTAIMPFIS", "COM1"}});
}

void Session::Start() {
  if (!Op<bool(const zel::Variant&)>("StartImpFiscal")(StartParams())) {
    throw zel::Error("the driver did not start: the printer did not pass its checks");
  }
}

}  // namespace ecfhost
