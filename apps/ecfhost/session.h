// One run of the command-line host against the driver: the working folder,
// the loaded driver, the host services registered with it.
#ifndef ECFHOST_SESSION_H_
#define ECFHOST_SESSION_H_

#include <cstdio>
#include <optional>
#include <string>

#include "driver_library.h"
#include "sim_steering.h"
#include "terminal_host.h"
#include "workspace.h"
#include "zel/variant.h"

namespace ecfhost {

class Session {
 public:
  Session(const std::string& folder, std::optional<bool> answer, std::FILE* out);
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  // The operation `name` of the driver, typed as `Function`.
  template <typename Function>
  Function* Op(const std::string& name) const {
    return driver_.Op<Function>(name);
  }

  // The driver's exported text variable `name`.
  std::string& DriverText(const std::string& name) const { return driver_.TextVariable(name); }

  // The printer library's entry `name` as the driver bound it, or null.
  template <typename Function>
  Function* VendorEntry(const std::string& name) const {
    return driver_.VendorEntry<Function>(name);
  }

  // The parameter array this host passes to the start operations.
  static zel::Variant StartParams(const std::string& serial = "");

  // Tells the driver this register and the printer it expects (from the
  // host's configuration), then starts it: the printer library is loaded,
  // the port opened, the clock checked and any work an interruption left
  // settled; then the printer's grand total and serial number are checked
  // against the configuration, which is written the first time a printer is
  // met. Every command that prints runs only after this passed. Raises
  // zel::Error when the driver refuses (its own dialogs were shown).
  void Start();

  // Warns once on `out` when the driver's debug log could not be written.
  void ReportLogTrouble(std::FILE* out);

  // The printer's serial number, read by Start.
  const std::string& printer_serial() const { return printer_serial_; }

  Workspace& workspace() { return workspace_; }
  const Workspace& workspace() const { return workspace_; }
  TerminalHost& host() { return host_; }
  std::FILE* out() const { return out_; }

 private:
  Workspace workspace_;
  TerminalHost host_;
  DriverLibrary driver_;
  SimSteering steering_;
  std::FILE* out_;
  std::string printer_serial_;
};

}  // namespace ecfhost

#endif  // ECFHOST_SESSION_H_
