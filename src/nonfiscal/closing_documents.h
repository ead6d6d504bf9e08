// The documents GeraReciboSangria prints, apart from the operation's flow:
// the linked receipt it opens its own way, the withdrawal receipt's two
// copies and the body of a closing report. Texts are Windows-1252; host
// thread only.
#ifndef ZEL_NONFISCAL_CLOSING_DOCUMENTS_H_
#define ZEL_NONFISCAL_CLOSING_DOCUMENTS_H_

#include <string>

#include "zel/dataset.h"

namespace zel {

// What one call shares between its documents.
struct ClosingCall {
  std::string colour_scheme;
  // The host's document number (argument 7), filled while still empty.
  std::string* document_number = nullptr;
  // Whether a linked receipt this call opened is still open.
  bool document_open = false;
};

// The one-cent receipt in "Rel Gerencial", its number (kept in stRetorno
// and given to the host while its number is empty) and the linked receipt
// opened against it. True when the linked receipt opened.
bool OpenClosingReceipt(ClosingCall& call);

// Closes the linked receipt of this call if one may still be open, so no
// document is left open behind the questions.
void CloseClosingReceipt(ClosingCall& call);

// The amount a withdrawal line carries: the counted value (VRFECHADIG) for
// a withdrawal on its own, the informed one (VRFECHAINF) otherwise.
const char* WithdrawalAmountField(bool withdrawal_only);

// The two copies of the withdrawal receipt from `movements` (cdsMovFecha)
// and the first row of `people` (cdsOperadorSup): the first signed by the
// supervisor, the second by the operator. With `envelope_column` the header
// names the envelope column.
void PrintWithdrawalCopies(Dataset& movements, Dataset& people, bool envelope_column,
                           bool withdrawal_only);

// The figures a closing report ends with.
struct ClosingFigures {
  double sales = 0;
  double withdrawals = 0;
  double voucher_received = 0;
  double voucher_issued = 0;
  double supply = 0;
};

// The body of a closing report under `title`: sales, then the withdrawal
// lines of `movements` (null for none) with the kinds it carries applied
// to `figures`, the voucher, supply and withdrawal totals and the surplus
// or shortage. The caller opens and closes the document.
void PrintClosingReport(const std::string& title, Dataset* movements, ClosingFigures figures);

}  // namespace zel

#endif  // ZEL_NONFISCAL_CLOSING_DOCUMENTS_H_
