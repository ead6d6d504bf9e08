// One run of the command-line host against the driver: the working folder,
// the loaded driver, the host services registered with it.
#ifndef ECFHOST_SESSION_H_
#define ECFHOST_SESSION_H_

#include <cstdio>
#include <optional>
#include <string>

#include "driver_library.h"
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

  // The parameter array this host passes to the start operations.
  static zel::Variant StartParams();

  // Loads the driver's printer library, opens the port and checks the
  // clock; tells the driver this register and the printer's serial number,
  // registering the printer in the host's configuration the first time.
  // Raises zel::Error when the driver refuses.
  void Start();

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
  std::FILE* out_;
  std::string printer_serial_;
};

}  // namespace ecfhost

#endif  // ECFHOST_SESSION_H_
