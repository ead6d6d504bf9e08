// How every non-fiscal text reaches the printer: the amount of its one-cent
// receipt, the ways a text is split into pieces for Usa_CompNFis, and the two
// document sequences the report builders follow.
//
//   Linked receipt: a one-cent non-fiscal receipt on the report totalizer
//   (IdTotRelatorio) in the report payment form, its number read with
//   Nr_Cupom, a linked receipt opened against its payment, the pieces, and
//   FechRelatGerenc.
//
//     const LinkedReceipt receipt = OpenLinkedReceipt(scheme);
//     SendPieces(SplitByWholeLines(text));
//     CloseNonFiscalDocument(scheme);
//
//   Management report: Relatorio_Gerencial_Imp, the pieces, FechRelatGerenc.
//
// Failures of the opening steps are not fatal: the printer's refusal then
// shows in every piece that follows, each reported to the operator by the
// return analysis. Texts are Windows-1252 and owned by the caller. Host
// thread only, like every operation.
#ifndef ZEL_NONFISCAL_TEXT_PIECES_H_
#define ZEL_NONFISCAL_TEXT_PIECES_H_

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zel {

// Longest piece the report builders send at once; the consumer-debit
// receipt keeps two characters less.
inline constexpr std::size_t kReportPieceLength = 620;
inline constexpr std::size_t kDebitReceiptPieceLength = 618;
// A by-lines piece takes whole lines until it reaches this length.
inline constexpr std::size_t kWholeLinesPieceLength = 500;

// ---- Amounts and names of the report receipt --------------------------------

// An amount as the printer takes it for a non-fiscal receipt: fourteen
// digits, the amount in cents, zero-filled, whatever the decimal separator
// ("00000000000001" for 0.01, "00000000123456" for 1234.56). Raises
// zel::Error for a negative amount, one of more than twelve integer digits,
// or one that is not a number: such a text would carry a sign or a
// separator and the printer would register a wrong amount.
std::string ReceiptValueText(double amount);

// The one-cent amount every report receipt is issued for.
std::string OneCentReceiptValue();

// The payment form report receipts are paid in: the first 16 characters of
// message RelGerencial.
std::string ReportPaymentForm();

// ---- Splitting a text -----------------------------------------------------------

// The first `length` characters of `text`; what lies beyond is not printed.
std::string CutPiece(std::string_view text, std::size_t length = kReportPieceLength);

// Whole lines (each up to and including its line feed) are moved into a
// piece while it is shorter than 500 characters, so a piece may pass 500 by
// its last line; a text without a line feed is one piece however long. An
// empty text gives no pieces.
std::vector<std::string> SplitByWholeLines(std::string_view text);

// One piece per line, each with its line feed; a last line without one is
// a piece too.
std::vector<std::string> SplitLineByLine(std::string_view text);

// Accumulates a report's text and sends it, at the points the layout
// chooses, as one piece cut to `length`; the text is then cleared.
class CutPieceWriter {
 public:
  explicit CutPieceWriter(std::size_t length = kReportPieceLength) : length_(length) {}

  void Add(std::string_view text) { pending_ += text; }
  const std::string& pending() const { return pending_; }

  // Usa_CompNFis with an empty colour scheme; its verdict.
  bool Send();

 private:
  std::size_t length_;
  std::string pending_;
};

// ---- The two sequences ----------------------------------------------------------

struct LinkedReceipt {
  // The number of the one-cent receipt (Nr_Cupom: six digits or "ERRO"),
  // the number the callers return to the host.
  std::string number;
  // Whether the linked receipt opened; most callers print regardless.
  bool opened = false;
};

// Issues the one-cent receipt, reads its number and opens the linked
// receipt against it. `colour_scheme` is used for the number's reading.
LinkedReceipt OpenLinkedReceipt(const std::string& colour_scheme);

// Relatorio_Gerencial_Imp with empty record keys; its verdict.
bool OpenManagementReport(const std::string& colour_scheme);

// Usa_CompNFis (empty colour scheme) for each piece, in order; true when
// every piece was accepted. All pieces are sent even after a refusal.
bool SendPieces(const std::vector<std::string>& pieces);

// FechRelatGerenc(colour_scheme, true, false): ends either document.
bool CloseNonFiscalDocument(const std::string& colour_scheme);

// The whole linked-receipt sequence for `pieces`; returns the receipt
// number.
std::string PrintLinkedReceipt(const std::string& colour_scheme,
                               const std::vector<std::string>& pieces);

// The whole management-report sequence for `pieces`; true when the report
// opened, every piece was accepted and it closed. Every step is tried
// whatever the one before gave.
bool PrintManagementReport(const std::string& colour_scheme,
                           const std::vector<std::string>& pieces);

}  // namespace zel

#endif  // ZEL_NONFISCAL_TEXT_PIECES_H_
