#include "session.h"

#include <cstdlib>

#include "fiscal_config.h"
#include "sale_builder.h"
#include "zel/codepage.h"
#include "zel/debug_log.h"
#include "zel/error.h"
#include "zel/host_services.h"

namespace ecfhost {

namespace {

// The driver finds the printer library through this host's Env (the
// workspace), in ZEL_LIBRARY_PATH or beside the SDK library; the simulated
// printer is installed beside the driver, so unless told otherwise the
// driver looks in the driver's folder.
std::string DriverPathWithLibrariesInReach() {
  const std::string path = DefaultDriverPath();
  if (std::getenv("ZEL_LIBRARY_PATH") == nullptr) {
    zel::SetEnvironmentVariable("ZEL_LIBRARY_PATH", path.substr(0, path.find_last_of("/\\")));
  }
  return path;
}

}  // namespace

Session::Session(const std::string& folder, std::optional<bool> answer, std::FILE* out)
    : workspace_(folder),
      host_(answer, out),
      driver_(DriverPathWithLibrariesInReach()),
      steering_(workspace_),
      out_(out) {
  Op<void(zel::HostServices*)>("ZelRegistraHost")(&host_);
  Op<void(zel::Env*)>("ZelDefineEnv")(&workspace_);
  // The driver keeps the host's configuration directory from the moment it
  // loads; this host's configuration is in the working folder.
  DriverText("dsDirCad") = workspace_.ShortPath(workspace_.folder() + "\\");
  DriverText("stAtuFili") = kBranch;
  DriverText("stAtuCaixa") = kCashRegister;
}

Session::~Session() {
  Op<void(zel::HostServices*)>("ZelRegistraHost")(nullptr);
  Op<void(zel::Env*)>("ZelDefineEnv")(nullptr);
}

zel::Variant Session::StartParams(const std::string& serial) {
  return zel::MakeParams({{"CDFILIAL", kBranch},
                          {"CDCAIXA", kCashRegister},
                          {"NRSERIE", serial},
                          {"NRSERIEIMP", serial},
                          {"ESQUEMA", "001"},
                          {"ESQUEMACOR", "001"},
                          {"CDPORTAIMPFIS", "COM1"},
                          {"PORTAIMPFIS", "COM1"}});
}

void Session::Start() {
  // The driver settles interrupted work at start against this register's
  // row, so it must know the register and its printer before starting.
  const std::string expected_serial = StoredPrinterSerial(*this);
  DriverText("stSerieAtu") = expected_serial;
  if (!Op<bool(const zel::Variant&)>("StartImpFiscal")(StartParams(expected_serial))) {
    // A printer switched off with `ecfhost sim power off` keeps the port
    // its unanswered commands took.
    if (LoadSteering(workspace_).powered_off) {
      throw zel::Error(
          zel::Utf8ToCp1252("a impressora simulada está desligada (ecfhost sim power on a liga)"));
    }
    // The driver closed the port on failing; a lock still held is another
    // program's.
    if (!workspace_.TryLockFile(workspace_.PrinterDirectory() + "/port.lock")) {
      throw zel::Error("the printer is in use by another program on this folder");
    }
    throw zel::Error("the driver did not start: the printer did not pass its checks");
  }
  zel::Variant data = zel::MakeParams({{"ESQUEMA", kColourScheme},
                                       {"DATAATUIMP", ""},
                                       {"ECFIMP", ""},
                                       {"REDIMP", ""},
                                       {"SERIEIMP", ""},
                                       {"DATAIMP", ""}});
  Op<bool(zel::Variant&)>("Carrega_Dados_Impressora")(data);
  for (const zel::Variant& pair : data.AsArray()) {
    if (pair.AsArray()[0].AsText() == "SERIEIMP") printer_serial_ = pair.AsArray()[1].AsText();
  }
  if (printer_serial_.find_first_not_of(' ') == std::string::npos) {
    throw zel::Error("the printer did not give its serial number");
  }
  printer_serial_.erase(printer_serial_.find_last_not_of(' ') + 1);
  DriverText("stSerieAtu") = printer_serial_;
  if (expected_serial.empty()) {
    RegisterPrinter(*this, printer_serial_);
  } else if (!PrinterMatchesConfiguration(*this, printer_serial_)) {
    throw zel::Error(
        "the printer does not match this register's configuration (grand total or serial "
        "number); see the messages above");
  }
}

void Session::ReportLogTrouble(std::FILE* out) {
  zel::DebugLogStatus status;
  Op<void(zel::DebugLogStatus*)>("ZelEstadoLog")(&status);
  if (status.last_error.empty() && status.dropped_entries == 0) return;
  std::fprintf(out,
               "ecfhost: aviso: o log de depuração do driver não pôde ser gravado (%zu entradas "
               "em espera, %zu perdidas): %s\n",
               status.held_entries, status.dropped_entries,
               zel::Cp1252ToUtf8(status.last_error).c_str());
}

}  // namespace ecfhost
