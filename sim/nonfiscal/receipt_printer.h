// The one simulated receipt printer of the process, shared by the entries
// and the control API (mp2032.h). Internal to the stand-in library.
#ifndef NFSIM_RECEIPT_PRINTER_H_
#define NFSIM_RECEIPT_PRINTER_H_

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace nfsim {

inline constexpr int kDefaultColumns = 48;

class ReceiptPrinter {
 public:
  ReceiptPrinter();

  // The answer forced on `entry` by a fault, using up one call of it.
  std::optional<int> TakeFault(const std::string& entry);
  void SetFault(const std::string& entry, int code, int times);

  void Record(std::string call) { journal_.push_back(std::move(call)); }
  const std::vector<std::string>& journal() const { return journal_; }
  void ClearJournal() { journal_.clear(); }

  int OpenPort(const std::string& name);
  bool port_open() const { return port_open_; }
  void ClosePort() { port_open_ = false; }
  // Appends the text's lines to the tape (Windows-1252 in, UTF-8 on paper).
  void Print(const std::string& text);
  // Carries out raw command bytes; a cut becomes a marked line on the tape.
  void Command(const std::string& bytes);

  void Reset();
  void set_attached(bool attached) { attached_ = attached; }
  void set_columns(int columns) { columns_ = columns; }
  std::string TapePath() const;

 private:
  void AppendToTape(const std::vector<std::string>& lines);

  std::string directory_;
  int columns_ = kDefaultColumns;
  bool attached_ = true;
  bool port_open_ = false;
  struct Fault {
    int code = 0;
    int remaining = 0;  // -1: always
  };
  std::map<std::string, Fault> faults_;
  std::vector<std::string> journal_;
};

// Runs `action` on the printer under its lock.
void WithReceiptPrinter(const std::function<void(ReceiptPrinter&)>& action);

// Whether `name` names a port the library knows: "COMn", "LPTn" (n from 1)
// or "USB", in any case.
bool IsPortName(const std::string& name);

}  // namespace nfsim

#endif  // NFSIM_RECEIPT_PRINTER_H_
