#include "receipt_printer.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>

#include "text.h"

namespace nfsim {
namespace {

constexpr char kEsc = '\x1b';
std::string DirectoryFromEnvironment() {
  const char* dir = std::getenv("NFSIM_DIR");
  return dir && *dir ? std::string(dir) : std::string("nfsim");
}

// A cut shows on the paper as a line of marks, so a reader of the tape sees
// where the operator tears the receipts apart.
std::string CutMark(char fill, const std::string& label, int columns) {
  std::string line(static_cast<std::size_t>(columns), fill);
  const std::string text = " " + label + " ";
  if (static_cast<int>(text.size()) < columns) {
    line.replace(static_cast<std::size_t>(columns - static_cast<int>(text.size())) / 2, text.size(),
                 text);
  }
  return line;
}

std::string Upper(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

bool NumberedPort(const std::string& upper, const std::string& prefix) {
  if (upper.size() <= prefix.size() || upper.compare(0, prefix.size(), prefix) != 0) return false;
  const std::string digits = upper.substr(prefix.size());
  return digits.size() <= 3 && digits[0] != '0' &&
         std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

bool IsPortName(const std::string& name) {
  const std::string upper = Upper(name);
  return upper == "USB" || NumberedPort(upper, "COM") || NumberedPort(upper, "LPT");
}

ReceiptPrinter::ReceiptPrinter() : directory_(DirectoryFromEnvironment()) {}

std::optional<int> ReceiptPrinter::TakeFault(const std::string& entry) {
  auto it = faults_.find(entry);
  if (it == faults_.end()) return std::nullopt;
  const int code = it->second.code;
  if (it->second.remaining > 0 && --it->second.remaining == 0) faults_.erase(it);
  return code;
}

void ReceiptPrinter::SetFault(const std::string& entry, int code, int times) {
  if (times == 0) {
    faults_.erase(entry);
  } else {
    faults_[entry] = Fault{code, times};
  }
}

int ReceiptPrinter::OpenPort(const std::string& name) {
  if (!IsPortName(name)) return -1;
  if (!attached_) return 0;
  port_open_ = true;
  return 1;
}

void ReceiptPrinter::Print(const std::string& text) {
  std::string without_returns;
  without_returns.reserve(text.size());
  for (char c : text) {
    if (c != '\r') without_returns += c;
  }
  AppendToTape(ecfsim::WrapLines(without_returns, columns_));
}

void ReceiptPrinter::Command(const std::string& bytes) {
  if (bytes.size() == 2 && bytes[0] == kEsc && bytes[1] == 'w') {
    AppendToTape({CutMark('=', "CORTE", columns_)});
  } else if (bytes.size() == 2 && bytes[0] == kEsc && bytes[1] == 'm') {
    AppendToTape({CutMark('-', "CORTE PARCIAL", columns_)});
  }
}

void ReceiptPrinter::Reset() {
  directory_ = DirectoryFromEnvironment();
  columns_ = kDefaultColumns;
  attached_ = true;
  port_open_ = false;
  faults_.clear();
  journal_.clear();
  std::error_code ignored;
  std::filesystem::remove(TapePath(), ignored);
}

std::string ReceiptPrinter::TapePath() const { return directory_ + "/tape.txt"; }

void ReceiptPrinter::AppendToTape(const std::vector<std::string>& lines) {
  std::error_code ignored;
  std::filesystem::create_directories(directory_, ignored);
  std::ofstream tape(TapePath(), std::ios::app | std::ios::binary);
  for (const std::string& line : lines) tape << ecfsim::Cp1252ToUtf8(line) << '\n';
}

void WithReceiptPrinter(const std::function<void(ReceiptPrinter&)>& action) {
  static std::mutex lock;
  static ReceiptPrinter printer;
  std::lock_guard<std::mutex> guard(lock);
  action(printer);
}

}  // namespace nfsim
