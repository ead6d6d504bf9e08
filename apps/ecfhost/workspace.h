// The command-line host's working folder: everything a run leaves behind
// (the simulated printer's memory and paper tape, the system directory with
// BemaFI32.ini, drive C:, the driver's debug log and the host's
// configuration) lives in one folder, named on start.
#ifndef ECFHOST_WORKSPACE_H_
#define ECFHOST_WORKSPACE_H_

#include <cstdint>
#include <string>

#include "zel/env.h"

namespace ecfhost {

class Workspace : public zel::EnvWrapper {
 public:
  // Makes `folder` (created when missing) the current directory and points
  // the simulated printer and the driver's system directory and drive C:
  // into it. Must run before the driver or the printer library is loaded.
  explicit Workspace(const std::string& folder, std::string receipt_port = "COM5");

  const std::string& folder() const { return folder_; }
  std::string PrinterDirectory() const { return folder_ + "/printer"; }
  std::string TapePath() const { return PrinterDirectory() + "/tape.txt"; }
  // The simulated non-fiscal receipt printer's folder and paper.
  std::string ReceiptPrinterDirectory() const { return folder_ + "/receipt-printer"; }
  std::string ReceiptTapePath() const { return ReceiptPrinterDirectory() + "/tape.txt"; }

  // The driver keeps its debug log beside the host program; the host
  // program's directory is the working folder.
  std::string HostExecutableDirectory() override { return folder_; }

  // The computer's clock as the driver sees it: this computer's clock moved
  // by the seconds `ecfhost sim day` moved the simulated printer's clock, so
  // that both clocks move together from one run to the next (the driver
  // refuses a printer clock that disagrees with the computer's). The offset
  // is kept in the working folder.
  zel::DateTime Now() override;
  std::int64_t clock_offset_seconds() const { return clock_offset_seconds_; }
  void SetClockOffset(std::int64_t seconds);

  // The simulated receipt printer hangs on port `receipt_port`, which has
  // no device here: the port counts as present for the driver's check, and
  // the simulated library does the rest.
  bool CanOpenSerialPort(std::string_view name) override;

 private:
  std::string folder_;
  std::string receipt_port_;
  std::int64_t clock_offset_seconds_ = 0;
};

}  // namespace ecfhost

#endif  // ECFHOST_WORKSPACE_H_
