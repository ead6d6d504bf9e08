#include "credit/receipt_printer.h"

#include <algorithm>
#include <exception>
#include <string>
#include <type_traits>

#include "platform/env.h"
#include "zel/credit_operations.h"
#include "zel/debug_log.h"
#include "zel/error.h"

namespace zel {
namespace {

using Zel00101::ImpFisDebug;

constexpr char kLibraryName[] = "Mp2032.dll";
// The formatting arguments of every FormataTX call: the library's letter
// type 3 and bold, nothing else.
constexpr int kLetterType = 3;
constexpr int kBold = 1;
constexpr int kMaxModelDigits = 2;

bool AllDigits(std::string_view text) {
  return !text.empty() &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

}  // namespace

struct ReceiptPrinterEntries {
  int (*IniciaPorta)(const char*) = nullptr;
  int (*FormataTX)(const char*, int, int, int, int, int) = nullptr;
  int (*ComandoTX)(const char*, int) = nullptr;
  int (*FechaPorta)() = nullptr;
};

namespace {

using Zel00101::ImpFisDebug;

// Binds the library's four entries once; a failure is logged and tried
// again at the next use (the library may be installed meanwhile).
const ReceiptPrinterEntries* BoundEntries() {
  static ReceiptPrinterEntries entries;
  static bool bound = false;
  if (bound) return &entries;
  Env* env = Env::Current();
  LibraryHandle library = env->OpenLibrary(kLibraryName);
  if (library == nullptr) {
    ImpFisDebug(std::string("ERRO!!! ") + kLibraryName + ": " + env->LastLibraryError());
    return nullptr;
  }
  ReceiptPrinterEntries found;
  auto bind = [&](auto& entry, const char* name) {
    entry =
        reinterpret_cast<std::remove_reference_t<decltype(entry)>>(env->GetSymbol(library, name));
    if (entry == nullptr) ImpFisDebug(std::string("ERRO!!! ") + kLibraryName + " sem " + name);
    return entry != nullptr;
  };
  const bool complete = bind(found.IniciaPorta, "IniciaPorta") &
                        bind(found.FormataTX, "FormataTX") & bind(found.ComandoTX, "ComandoTX") &
                        bind(found.FechaPorta, "FechaPorta");
  if (!complete) return nullptr;
  entries = found;
  bound = true;
  return &entries;
}

}  // namespace

void CheckReceiptPortName(std::string_view port) {
  const bool com = port.size() > 3 && (port[0] == 'C' || port[0] == 'c') &&
                   (port[1] == 'O' || port[1] == 'o') && (port[2] == 'M' || port[2] == 'm');
  const std::string_view number = com ? port.substr(3) : std::string_view();
  if (!AllDigits(number) || number.size() > 3 || number[0] == '0') {
    throw Error("The receipt printer port " + Quoted(port) +
                " is not a serial port name (COM1, COM2...)");
  }
}

int ParseCopies(std::string_view copies) {
  if (!AllDigits(copies) || copies.size() > 4 || std::stoi(std::string(copies)) < 1) {
    throw Error("The number of copies " + Quoted(copies) + " is not a whole number of 1 or more");
  }
  return std::stoi(std::string(copies));
}

ReceiptPrinterModel ModelParameters(std::string_view model) {
  if (model == "2") return {42, "\n", "\x1bw"};
  if (model == "5" || model == "6") return {42, "\n", "\x1bm"};
  if (model == "7") return {40, "\n", "\x1bw"};
  return {48, "\r\n", "\x1bw"};
}

ReceiptPrinterModel ModelFor(std::string_view model) {
  if (!AllDigits(model) || model.size() > kMaxModelDigits) {
    throw Error("The receipt printer model " + Quoted(model) + " is not a model code");
  }
  return ModelParameters(model);
}

using Zel00101::ImpFisDebug;

bool ReceiptPortAvailable(const std::string& port) {
  const bool available = Env::Current()->CanOpenSerialPort(port + ":");
  if (!available) ImpFisDebug("ERRO!!! Porta " + port + " da impressora não fiscal indisponível");
  return available;
}

ReceiptPrinterSession::ReceiptPrinterSession() = default;

ReceiptPrinterSession::~ReceiptPrinterSession() {
  if (entries_ == nullptr) return;
  entries_->FechaPorta();
  ImpFisDebug("FechaPorta");
}

bool ReceiptPrinterSession::Open(const std::string& port) {
  entries_ = BoundEntries();
  if (entries_ == nullptr) return false;
  const int answer = entries_->IniciaPorta(port.c_str());
  ImpFisDebug("IniciaPorta : " + port + " - " + std::to_string(answer));
  open_ = answer > 0;
  return open_;
}

bool ReceiptPrinterSession::Print(const std::string& text) {
  if (!open_) return false;
  const int answer = entries_->FormataTX(text.c_str(), kLetterType, 0, 0, 0, kBold);
  ImpFisDebug("FormataTX : " + text);
  return answer > 0;
}

bool ReceiptPrinterSession::Command(const std::string& command) {
  if (!open_) return false;
  const int answer = entries_->ComandoTX(command.data(), static_cast<int>(command.size()));
  ImpFisDebug("ComandoTX : " + std::to_string(command.size()) + " bytes - " +
              std::to_string(answer));
  return answer > 0;
}

bool WriteToReceiptPort(const std::string& text, const std::string& port) {
  SerialTimeouts timeouts;
  timeouts.read_interval_ms = 0;
  timeouts.read_total_ms = 1000;
  timeouts.write_total_ms = 1000;
  try {
    std::unique_ptr<SerialPort> serial = Env::Current()->OpenSerialPort(port + ":", timeouts);
    const std::size_t written = serial->Write(text);
    if (written == text.size()) return true;
    ImpFisDebug("ERRO!!! Porta " + port + ": " + std::to_string(written) + " de " +
                std::to_string(text.size()) + " bytes escritos");
  } catch (const std::exception& error) {
    ImpFisDebug(std::string("ERRO!!! ") + error.what());
  }
  return false;
}

}  // namespace zel

namespace Zel00101 {

void DefineParametrosImpressora(std::uint8_t& Largura, std::string& FimLinha, std::string& Corte,
                                const std::string& Modelo) {
  const zel::ReceiptPrinterModel model = zel::ModelParameters(Modelo);
  Largura = static_cast<std::uint8_t>(model.width);
  FimLinha = model.line_end;
  Corte = model.cut_command;
}

std::string Formata_Bematech_MP100(const std::string& Texto, const std::string& Porta) {
  zel::CheckReceiptPortName(Porta);
  zel::WriteToReceiptPort(Texto, Porta);
  return "";
}

}  // namespace Zel00101

ZEL_EXPORT_PLAIN_NAME(void, DefineParametrosImpressora,
                      (std::uint8_t & Largura, std::string& FimLinha, std::string& Corte,
                       const std::string& Modelo),
                      (Largura, FimLinha, Corte, Modelo))
ZEL_EXPORT_PLAIN_NAME(std::string, Formata_Bematech_MP100,
                      (const std::string& Texto, const std::string& Porta), (Texto, Porta))
