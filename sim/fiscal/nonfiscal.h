// Non-fiscal documents of the simulated printer: receipts on the non-fiscal
// totalizers (with supply "SU" and withdrawal "SA"), linked receipts on a
// payment of the last document, and management reports.
//
// Functions run under Run()'s lock and return the command's outcome; on
// refusal nothing has changed.
#ifndef ECFSIM_NONFISCAL_H_
#define ECFSIM_NONFISCAL_H_

#include <string>

#include "printer.h"

namespace ecfsim {

// A whole non-fiscal receipt: `index` "01".."30", "SU" or "SA"; `value`
// money; `form` a programmed payment form, empty for cash.
Outcome RegisterReceipt(Printer& p, const std::string& index, const std::string& value,
                        const std::string& form);
// Opens a management report unless one is open.
Outcome OpenReport(Printer& p);
// Prints text into the open management report or linked receipt.
Outcome PrintInDocument(Printer& p, const std::string& text);
// Closes the open management report (and, with `linked_too`, a linked
// receipt). Nothing open is fine; an open coupon refuses.
Outcome CloseDocument(Printer& p, bool linked_too);

}  // namespace ecfsim

#endif  // ECFSIM_NONFISCAL_H_
