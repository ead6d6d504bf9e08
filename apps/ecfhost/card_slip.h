// The card-payment (TEF) slip printed right after a coupon paid by card:
// the text a card terminal gave, printed twice (the customer's copy and the
// shop's) by the driver's ImprimeTef in a linked receipt on the card
// payment.
#ifndef ECFHOST_CARD_SLIP_H_
#define ECFHOST_CARD_SLIP_H_

#include <string>

#include "sale_builder.h"
#include "session.h"

namespace ecfhost {

struct CardSlip {
  std::string text;     // Windows-1252, lines ending in a line feed
  SalePayment payment;  // the card payment it belongs to
};

// The slip of `sale`'s first card payment, its text read from the UTF-8
// file `path`. Raises zel::Error, before anything is printed, when the sale
// has no card payment or the file cannot be read or is empty.
CardSlip ReadCardSlip(const std::string& path, const SaleRequest& sale);

// Prints both copies after the coupon; the operator's answers decide the
// retries. Raises zel::Error when the slip was not printed.
void PrintCardSlip(Session& session, const CardSlip& slip);

}  // namespace ecfhost

#endif  // ECFHOST_CARD_SLIP_H_
