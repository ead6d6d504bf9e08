#include "workspace.h"

#include <cstdlib>

namespace ecfhost {
namespace {

std::string Absolute(const std::string& folder) {
  zel::Env* env = zel::Env::Default();
  env->CreateDirectories(folder);
  return env->MapPath(folder);
}

}  // namespace

Workspace::Workspace(const std::string& folder, std::string receipt_port)
    : EnvWrapper(zel::Env::Default()),
      folder_(Absolute(folder)),
      receipt_port_(std::move(receipt_port)) {
  zel::ChangeCurrentDirectory(folder_);
  // Drive C: (and so the system directory) is a folder in the working
  // folder, on Windows too, unless the caller says otherwise; the printer
  // keeps its memory where we say.
  if (std::getenv("ZEL_DRIVE_C") == nullptr) {
    zel::SetEnvironmentVariable("ZEL_DRIVE_C", folder_ + "/drive_c");
  }
  zel::SetEnvironmentVariable("ECFSIM_DIR", PrinterDirectory());
  zel::Env::Default()->CreateDirectories(PrinterDirectory());
  zel::SetEnvironmentVariable("NFSIM_DIR", ReceiptPrinterDirectory());
}

bool Workspace::CanOpenSerialPort(std::string_view name) {
  if (name == receipt_port_ || name == receipt_port_ + ":") return true;
  return EnvWrapper::CanOpenSerialPort(name);
}

}  // namespace ecfhost
