// The library's entries and its control API (mp2032.h).
#include <algorithm>
#include <cstring>
#include <functional>
#include <string>

#include "mp2032.h"
#include "receipt_printer.h"

namespace nfsim {
namespace {

constexpr int kMaxColumns = 80;

std::string Arg(const char* text) { return text ? std::string(text) : std::string(); }

// Journals the call, then answers a forced fault or carries it out.
int Run(const std::string& entry, const std::string& call,
        const std::function<int(ReceiptPrinter&)>& command) {
  int result = 0;
  WithReceiptPrinter([&](ReceiptPrinter& printer) {
    printer.Record(call);
    if (std::optional<int> forced = printer.TakeFault(entry)) {
      result = *forced;
      return;
    }
    result = command(printer);
  });
  return result;
}

int CopyText(const std::string& text, char* buffer, int size) {
  if (buffer && size > 0) {
    const std::size_t n = std::min<std::size_t>(text.size(), static_cast<std::size_t>(size - 1));
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
  }
  return static_cast<int>(text.size());
}

}  // namespace
}  // namespace nfsim

using nfsim::ReceiptPrinter;

int IniciaPorta(const char* porta) {
  const std::string port = nfsim::Arg(porta);
  return nfsim::Run("IniciaPorta", "IniciaPorta|" + port,
                    [&](ReceiptPrinter& p) { return p.OpenPort(port); });
}

int FormataTX(const char* texto, int tipo_letra, int italico, int sublinhado, int expandido,
              int enfatizado) {
  const std::string text = nfsim::Arg(texto);
  std::string call = "FormataTX|" + text;
  for (int value : {tipo_letra, italico, sublinhado, expandido, enfatizado}) {
    call += "|" + std::to_string(value);
  }
  return nfsim::Run("FormataTX", call, [&](ReceiptPrinter& p) {
    if (!p.port_open()) return 0;
    p.Print(text);
    return 1;
  });
}

int ComandoTX(const char* comando, int tamanho) {
  const std::string bytes =
      comando && tamanho > 0 ? std::string(comando, static_cast<std::size_t>(tamanho)) : "";
  return nfsim::Run("ComandoTX", "ComandoTX|" + bytes + "|" + std::to_string(tamanho),
                    [&](ReceiptPrinter& p) {
                      if (!p.port_open()) return 0;
                      p.Command(bytes);
                      return 1;
                    });
}

int FechaPorta(void) {
  return nfsim::Run("FechaPorta", "FechaPorta", [](ReceiptPrinter& p) {
    p.ClosePort();
    return 1;
  });
}

void NfSim_Reset(void) {
  nfsim::WithReceiptPrinter([](ReceiptPrinter& p) { p.Reset(); });
}

void NfSim_SetAttached(int attached) {
  nfsim::WithReceiptPrinter([=](ReceiptPrinter& p) { p.set_attached(attached != 0); });
}

void NfSim_SetColumns(int columns) {
  if (columns < 1 || columns > nfsim::kMaxColumns) return;
  nfsim::WithReceiptPrinter([=](ReceiptPrinter& p) { p.set_columns(columns); });
}

void NfSim_FailEntry(const char* entry, int code, int times) {
  const std::string name = nfsim::Arg(entry);
  nfsim::WithReceiptPrinter([&](ReceiptPrinter& p) { p.SetFault(name, code, times); });
}

int NfSim_JournalCount(void) {
  int count = 0;
  nfsim::WithReceiptPrinter(
      [&](ReceiptPrinter& p) { count = static_cast<int>(p.journal().size()); });
  return count;
}

int NfSim_JournalGet(int index, char* buffer, int size) {
  int length = -1;
  nfsim::WithReceiptPrinter([&](ReceiptPrinter& p) {
    if (index < 0 || index >= static_cast<int>(p.journal().size())) return;
    length = nfsim::CopyText(p.journal()[static_cast<std::size_t>(index)], buffer, size);
  });
  return length;
}

void NfSim_JournalClear(void) {
  nfsim::WithReceiptPrinter([](ReceiptPrinter& p) { p.ClearJournal(); });
}

int NfSim_TapePath(char* buffer, int size) {
  int length = 0;
  nfsim::WithReceiptPrinter(
      [&](ReceiptPrinter& p) { length = nfsim::CopyText(p.TapePath(), buffer, size); });
  return length;
}
