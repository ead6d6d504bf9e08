#include "workspace.h"

#include <cstdlib>
#include <stdexcept>
#include <string>

#include "zel/codepage.h"
#include "zel/error.h"

namespace ecfhost {
namespace {

std::string Absolute(const std::string& folder) {
  zel::Env* env = zel::Env::Default();
  env->CreateDirectories(folder);
  return env->MapPath(folder);
}

constexpr char kClockOffsetFile[] = "relogio-simulado.txt";
constexpr double kSecondsPerDay = 86400.0;

std::int64_t ReadClockOffset(const std::string& folder) {
  zel::Env* env = zel::Env::Default();
  const std::string path = folder + "/" + kClockOffsetFile;
  if (!env->FileExists(path)) return 0;
  try {
    return std::stoll(env->ReadFile(path));
  } catch (const std::logic_error&) {
    throw zel::Error(zel::Utf8ToCp1252(path + " não traz o deslocamento do relógio em segundos"));
  }
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
  clock_offset_seconds_ = ReadClockOffset(folder_);
}

zel::DateTime Workspace::Now() {
  zel::DateTime now = EnvWrapper::Now();
  now.value += static_cast<double>(clock_offset_seconds_) / kSecondsPerDay;
  return now;
}

void Workspace::SetClockOffset(std::int64_t seconds) {
  const std::string path = folder_ + "/" + kClockOffsetFile;
  if (seconds == 0) {
    zel::Env::Default()->RemoveFile(path);
  } else {
    zel::Env::Default()->ReplaceFile(path, std::to_string(seconds) + "\n");
  }
  clock_offset_seconds_ = seconds;
}

bool Workspace::CanOpenSerialPort(std::string_view name) {
  if (name == receipt_port_ || name == receipt_port_ + ":") return true;
  return EnvWrapper::CanOpenSerialPort(name);
}

}  // namespace ecfhost
