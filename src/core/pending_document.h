// The mark of a document in progress that moves the printer's grand total.
//
// The host keeps the printer's grand total in Ploteva.cds and refuses to
// start when the printer's differs, which is how it notices a printer used
// outside this register. The driver's own documents move that total, and a
// power cut or a killed process between the printer accepting a document and
// the stored total being refreshed would leave the two apart for good. So
// before such a document the driver writes a mark beside Ploteva.cds
// ("PlotevaPendente.txt": the document and the register's keys), and a
// successful refresh of the stored total removes it. A start that finds the
// mark knows the difference is the driver's own interrupted work: it settles
// the document with the printer (cancels it if still open), refreshes the
// stored total from the printer, which is the authority on what was sold, and
// tells the operator. Without a mark, a different total is still refused.
//
// Host thread only, like every operation. Failures to write or remove the
// mark are logged, never raised: they must not stop a sale.
#ifndef ZEL_CORE_PENDING_DOCUMENT_H_
#define ZEL_CORE_PENDING_DOCUMENT_H_

#include <optional>
#include <string>

namespace zel {

struct PendingDocument {
  std::string document;  // what was in progress, as the operator reads it
  std::string branch;    // the register's keys in Ploteva.cds when it began
  std::string cash_register;
  std::string serial;
};

// Marks `document` as in progress, with the register's keys held in the
// driver's state.
void MarkDocumentPending(const std::string& document);
// Writes `pending` as the mark (also kept after a failed recovery, so the
// next start tries again); nothing when the host keeps no configuration
// (neither Ploteva.cds nor the register's own file) in dsDirCad.
void WritePendingDocument(const PendingDocument& pending);
// The mark, when there is one; a mark that cannot be read counts as one with
// no keys, since it still says work was interrupted.
std::optional<PendingDocument> ReadPendingDocument();
// Removes the mark: the stored total agrees with the printer again.
void ClearPendingDocument();

}  // namespace zel

#endif  // ZEL_CORE_PENDING_DOCUMENT_H_
