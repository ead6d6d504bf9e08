#include "nonfiscal/text_pieces.h"

#include <cmath>
#include <string>

#include "core/data_module.h"
#include "host/number_format.h"
#include "zel/driver_state.h"
#include "zel/error.h"
#include "zel/format_settings.h"
#include "zel/operations.h"

namespace zel {
namespace {

// Twelve integer digits, the separator, two decimals: the separator is
// then always the 13th character, and deleting it leaves the cents.
constexpr char kReceiptValueMask[] = "000000000000.00";
constexpr std::size_t kReceiptValueSeparator = 12;
constexpr std::size_t kReportPaymentFormLength = 16;

// The next line of `text` from `start`: up to and including its line feed,
// or the whole rest when no line feed remains.
std::size_t LineEnd(std::string_view text, std::size_t start) {
  const std::size_t feed = text.find('\n', start);
  return feed == std::string_view::npos ? text.size() : feed + 1;
}

}  // namespace

std::string ReceiptValueText(double amount) {
  if (!std::isfinite(amount) || amount < 0) {
    throw Error("a non-fiscal receipt amount must be a number of 0 or more, not " +
                FloatToText(amount));
  }
  std::string text = FormatFloat(kReceiptValueMask, amount);
  if (text.size() != sizeof(kReceiptValueMask) - 1 ||
      text[kReceiptValueSeparator] != CurrentFormatSettings().decimal_separator) {
    throw Error("the non-fiscal receipt amount " + text +
                " does not fit the printer's twelve integer digits");
  }
  text.erase(kReceiptValueSeparator, 1);
  return text;
}

std::string OneCentReceiptValue() { return ReceiptValueText(0.01); }

std::string ReportPaymentForm() {
  return MsgPadrao("RelGerencial").substr(0, kReportPaymentFormLength);
}

std::string CutPiece(std::string_view text, std::size_t length) {
  return std::string(text.substr(0, length));
}

std::vector<std::string> SplitByWholeLines(std::string_view text) {
  std::vector<std::string> pieces;
  std::size_t start = 0;
  while (start < text.size()) {
    std::string piece;
    while (piece.size() < kWholeLinesPieceLength && start < text.size()) {
      const std::size_t end = LineEnd(text, start);
      piece += text.substr(start, end - start);
      start = end;
    }
    pieces.push_back(std::move(piece));
  }
  return pieces;
}

std::vector<std::string> SplitLineByLine(std::string_view text) {
  std::vector<std::string> pieces;
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t end = LineEnd(text, start);
    pieces.emplace_back(text.substr(start, end - start));
    start = end;
  }
  return pieces;
}

bool CutPieceWriter::Send() {
  const bool accepted = Zel00101::Usa_CompNFis("", CutPiece(pending_, length_));
  pending_.clear();
  return accepted;
}

LinkedReceipt OpenLinkedReceipt(const std::string& colour_scheme) {
  const std::string value = OneCentReceiptValue();
  const std::string form = ReportPaymentForm();
  // A refused receipt shows up in the opening and in every piece after it.
  Zel00101::Cupom_NFiscNVinc("", Zel00101::IdTotRelatorio, value, form);
  LinkedReceipt receipt;
  receipt.number = Zel00101::Nr_Cupom("", colour_scheme);
  receipt.opened = Zel00101::Abre_Comp_NFiscalVinc("", form, value, receipt.number);
  return receipt;
}

bool OpenManagementReport(const std::string& colour_scheme) {
  return Zel00101::Relatorio_Gerencial_Imp(colour_scheme, "", "", "");
}

bool SendPieces(const std::vector<std::string>& pieces) {
  bool all_accepted = true;
  for (const std::string& piece : pieces) {
    if (!Zel00101::Usa_CompNFis("", piece)) all_accepted = false;
  }
  return all_accepted;
}

bool CloseNonFiscalDocument(const std::string& colour_scheme) {
  return Zel00101::FechRelatGerenc(colour_scheme, true, false);
}

std::string PrintLinkedReceipt(const std::string& colour_scheme,
                               const std::vector<std::string>& pieces) {
  LinkedReceipt receipt = OpenLinkedReceipt(colour_scheme);
  SendPieces(pieces);
  CloseNonFiscalDocument(colour_scheme);
  return std::move(receipt.number);
}

bool PrintManagementReport(const std::string& colour_scheme,
                           const std::vector<std::string>& pieces) {
  const bool opened = OpenManagementReport(colour_scheme);
  const bool printed = SendPieces(pieces);
  const bool closed = CloseNonFiscalDocument(colour_scheme);
  return opened && printed && closed;
}

}  // namespace zel
