// The building blocks of the table documents the driver prints: full-width
// rule lines, the column header, amounts as the documents write them, the
// vendor footer, and sending pieces with a chosen colour scheme.
//
// Texts are Windows-1252. Host thread only, like every operation.
#ifndef ZEL_RESTAURANT_DOCUMENT_TEXT_H_
#define ZEL_RESTAURANT_DOCUMENT_TEXT_H_

#include <string>
#include <vector>

namespace zel {

// 48 blanks and 48 dashes, each with its line feed.
std::string BlankLine();
std::string DashLine();

// The two-line column header of the table documents (code and name; then
// quantity, unit price and line total), without the empty line after it.
std::string ColumnHeader();

// Fixed notation with `decimals` decimals in the system separator, no
// thousands separator: the way the table documents write amounts.
std::string DocumentAmount(double value, int decimals = 2);

// The maker's name, telephone and web address, as closing messages end.
std::string VendorFooter();

// Usa_CompNFis with `colour_scheme` for each piece cut to its first 620
// characters; true when every piece was accepted. Every piece is sent.
bool SendCutPieces(const std::string& colour_scheme, const std::vector<std::string>& pieces);

// Prints a host text as a linked receipt, split by whole lines, its pieces
// sent with `piece_scheme`. `number` receives the receipt number; the
// verdict of the closing.
bool PrintHostText(const std::string& colour_scheme, const std::string& piece_scheme,
                   const std::string& text, std::string& number);

}  // namespace zel

#endif  // ZEL_RESTAURANT_DOCUMENT_TEXT_H_
