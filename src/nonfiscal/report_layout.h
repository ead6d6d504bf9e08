// What the closing and product reports share: amounts and columns as they
// print them, and a text that reaches the printer in pieces of whole lines.
//
// The report builders collect a few lines at a time and send them at the
// points their layout chooses. A printer piece holds at most 620
// characters, and a text longer than that used to be cut there, silently
// dropping the lines beyond (a long list of tax groups, a long movement
// list). ReportText sends such a text as several pieces instead, each of
// whole lines, so every line reaches the paper; a text that fits is one
// piece exactly as before.
//
// Texts are Windows-1252. Host thread only, like every operation.
#ifndef ZEL_NONFISCAL_REPORT_LAYOUT_H_
#define ZEL_NONFISCAL_REPORT_LAYOUT_H_

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "nonfiscal/text_pieces.h"

namespace zel {

// Width of the reports' rules and signature lines.
inline constexpr int kReportWidth = 48;

// Dialog kind of the closing questions.
inline constexpr int kClosingQuestionDialog = 1;

// An amount or quantity as the reports print it: two decimals, the current
// decimal separator, no thousands separator. A value that rounds to zero
// prints "0,00", never "-0,00".
std::string ReportAmount(double value);

// ReportAmount right-aligned in `width` columns. A number wider than its
// column is printed whole (the line grows) rather than losing digits.
std::string AmountColumn(double value, int width);

// `text` as pieces of whole lines (each up to and including its line feed)
// of at most `length` characters; a single line longer than `length` is
// split at `length`. An empty text gives no pieces.
std::vector<std::string> SplitIntoWholeLinePieces(std::string_view text,
                                                  std::size_t length = kReportPieceLength);

// Accumulates report lines and sends them with Usa_CompNFis (empty colour
// scheme) in whole-line pieces of at most 620 characters.
class ReportText {
 public:
  // Appends `text` and its line feed.
  void Line(std::string_view text);
  void BlankLine() { pending_ += '\n'; }

  // Sends what was accumulated and clears it. Nothing accumulated sends
  // nothing: an empty piece would only hand the printer library a null text.
  void Send();

 private:
  std::string pending_;
};

}  // namespace zel

#endif  // ZEL_NONFISCAL_REPORT_LAYOUT_H_
