#include "restaurant/document_text.h"

#include "core/data_module.h"
#include "host/number_format.h"
#include "host/string_functions.h"
#include "nonfiscal/text_pieces.h"
#include "zel/operations.h"

namespace zel {
namespace {

constexpr int kLineWidth = 48;

}  // namespace

std::string BlankLine() { return std::string(kLineWidth, ' ') + "\n"; }

std::string DashLine() { return std::string(kLineWidth, '-') + "\n"; }

std::string ColumnHeader() {
  return TamFixo(MsgPadrao("Codigo"), 11) + TamFixo(MsgPadrao("Nome"), 4) + "\n" +
         TamFixoR(MsgPadrao("Qtde_"), 4) + TamFixoR(MsgPadrao("VrUnit"), 12) +
         TamFixoR(MsgPadrao("Valor2"), 32) + "\n";
}

std::string DocumentAmount(double value, int decimals) { return FormatFixed(value, decimals); }

std::string VendorFooter() { return MsgPadrao("Quarvel"); }

bool SendCutPieces(const std::string& colour_scheme, const std::vector<std::string>& pieces) {
  bool all_accepted = true;
  for (const std::string& piece : pieces) {
    if (!Zel00101::Usa_CompNFis(colour_scheme, CutPiece(piece))) all_accepted = false;
  }
  return all_accepted;
}

bool PrintHostText(const std::string& colour_scheme, const std::string& piece_scheme,
                   const std::string& text, std::string& number) {
  const LinkedReceipt receipt = OpenLinkedReceipt(colour_scheme);
  number = receipt.number;
  for (const std::string& piece : SplitByWholeLines(text)) {
    Zel00101::Usa_CompNFis(piece_scheme, piece);
  }
  return CloseNonFiscalDocument(colour_scheme);
}

}  // namespace zel
