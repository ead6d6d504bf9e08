// The non-fiscal receipt printer: its library (Mp2032.dll, loaded by name
// through zel::Env and bound entry by entry), the port names it may be given,
// the printer models' line width, line end and cut command, and the direct
// serial write one model uses.
//
// Nothing here shows a dialog: the receipt printer's problems are written to
// the debug log, and the operations answer false when nothing reached the
// printer. Host thread only, like every operation.
#ifndef ZEL_CREDIT_RECEIPT_PRINTER_H_
#define ZEL_CREDIT_RECEIPT_PRINTER_H_

#include <memory>
#include <string>
#include <string_view>

namespace zel {

// The port name a receipt printer is given, checked before anything is
// printed: "COM" and a number from 1 (any case). Raises zel::Error naming
// the bad name otherwise, so no text ever goes to something else.
void CheckReceiptPortName(std::string_view port);

// A number of copies as the host writes it: decimal digits, 1 to 9999.
// Raises zel::Error for anything else.
int ParseCopies(std::string_view copies);

struct ReceiptPrinterModel {
  int width = 48;
  std::string line_end = "\r\n";
  std::string cut_command = "\x1bw";
};

// The row of a model code in the models' table (any other code: the last
// row). ModelFor checks the code first: a receipt printer model is one or two
// decimal digits; anything else raises zel::Error.
ReceiptPrinterModel ModelParameters(std::string_view model);
ReceiptPrinterModel ModelFor(std::string_view model);

// Whether the port could be opened now, as the check made before the
// library is asked to open it: a port that is absent or busy prints nothing.
bool ReceiptPortAvailable(const std::string& port);

// The library's entries, bound once per process.
struct ReceiptPrinterEntries;

// One use of the receipt printer's library: Open, Print and Cut, then the
// port is closed (FechaPorta) when the session ends, whether or not it
// opened. Each call is logged.
class ReceiptPrinterSession {
 public:
  ReceiptPrinterSession();
  ~ReceiptPrinterSession();
  ReceiptPrinterSession(const ReceiptPrinterSession&) = delete;
  ReceiptPrinterSession& operator=(const ReceiptPrinterSession&) = delete;

  // IniciaPorta: true when it answered more than 0. False, with the reason
  // logged, when the library cannot be loaded or lacks an entry.
  bool Open(const std::string& port);
  // FormataTX(text, 3, 0, 0, 0, 1): true when the printer took the text.
  bool Print(const std::string& text);
  // ComandoTX(command, its length); only while the port is open.
  bool Command(const std::string& command);

 private:
  const ReceiptPrinterEntries* entries_ = nullptr;
  bool open_ = false;
};

// Writes `text` to serial port `port` (already checked) in one write:
// 19200 baud 8N1, read total and write total time-outs of one second. True
// when every byte went out; a port that cannot be opened or written is
// logged and gives false.
bool WriteToReceiptPort(const std::string& text, const std::string& port);

}  // namespace zel

#endif  // ZEL_CREDIT_RECEIPT_PRINTER_H_
