// What this host reads from the printer before sending it a document, so a
// document the printer would refuse is not started, and the cashier is told
// why in words: the tax rates it has programmed, and the state of its
// fiscal day.
#ifndef ECFHOST_PRINTER_CHECKS_H_
#define ECFHOST_PRINTER_CHECKS_H_

#include <string>
#include <vector>

#include "sale_builder.h"
#include "session.h"

namespace ecfhost {

// The tax-rate positions the printer has programmed ("01", ...), then FF,
// II and NN, as the driver reads them.
std::vector<std::string> ProgrammedRates(Session& session);

// Why the printer takes no fiscal document today, read from its clock, its
// movement date and its last reduction: a Z reduction pending from an
// earlier day, or the day already closed by today's. Empty when the day is
// open. `pending_counts` false leaves the pending reduction out (a Z
// reduction is what such a day needs).
std::string ClosedDayReason(Session& session, bool pending_counts = true);

// Raises zel::Error with the reason when ClosedDayReason gives one.
void CheckDayOpen(Session& session, bool pending_counts = true);

// Everything about a sale that depends on the printer's programming and
// state, checked before the coupon is opened.
void CheckSaleAgainstPrinter(Session& session, const SaleRequest& sale);

}  // namespace ecfhost

#endif  // ECFHOST_PRINTER_CHECKS_H_
