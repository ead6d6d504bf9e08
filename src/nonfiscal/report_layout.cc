#include "nonfiscal/report_layout.h"

#include <string>

#include "host/number_format.h"
#include "host/string_functions.h"
#include "zel/operations.h"

namespace zel {

std::string ReportAmount(double value) {
  double cents = RoundDec(value, 2);
  // A difference of a few binary crumbs below zero is no shortage.
  if (cents == 0) cents = 0;
  return FormatFixed(cents, 2, 15);
}

std::string AmountColumn(double value, int width) { return PadL(ReportAmount(value), width); }

std::vector<std::string> SplitIntoWholeLinePieces(std::string_view text, std::size_t length) {
  std::vector<std::string> pieces;
  std::string piece;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t feed = text.find('\n', start);
    const std::size_t end = feed == std::string_view::npos ? text.size() : feed + 1;
    std::string_view line = text.substr(start, end - start);
    start = end;
    if (piece.size() + line.size() > length && !piece.empty()) {
      pieces.push_back(std::move(piece));
      piece.clear();
    }
    // A line that alone passes the limit goes out in slices of it.
    while (line.size() > length) {
      pieces.emplace_back(line.substr(0, length));
      line.remove_prefix(length);
    }
    piece += line;
  }
  if (!piece.empty()) pieces.push_back(std::move(piece));
  return pieces;
}

void ReportText::Line(std::string_view text) {
  pending_ += text;
  pending_ += '\n';
}

void ReportText::Send() {
  for (const std::string& piece : SplitIntoWholeLinePieces(pending_)) {
    Zel00101::Usa_CompNFis("", piece);
  }
  pending_.clear();
}

}  // namespace zel
