// What this host knows of a sale before the driver sees it: the items and
// payments read from the command line, the host's payment types, and the
// parameter arrays, datasets and positional values the driver's sale
// operations take, built the way a point-of-sale host builds them.
//
// Everything here is plain data owned by the caller; nothing talks to the
// driver. Texts are Windows-1252 as the driver takes them (the command line
// is converted on parsing).
#ifndef ECFHOST_SALE_BUILDER_H_
#define ECFHOST_SALE_BUILDER_H_

#include <string>
#include <vector>

#include "zel/dataset.h"
#include "zel/date_time.h"
#include "zel/variant.h"

namespace ecfhost {

// The colour scheme this host passes wherever the driver wants one.
inline constexpr char kColourScheme[] = "001";

struct SaleItem {
  std::string code;
  std::string name;
  std::string rate;  // tax-rate position ("01") or FF, II, NN
  double quantity = 0;
  double price = 0;
  double discount = 0;
  std::string unit = "UN";
};

struct SalePayment {
  std::string form;  // the host payment type's name as configured
  double amount = 0;
};

struct SaleRequest {
  std::vector<SaleItem> items;
  std::vector<SalePayment> payments;
  double discount = 0;               // on the subtotal
  double surcharge = 0;              // on the subtotal
  std::vector<int> cancelled_items;  // item numbers, 1 for the first sold
};

// "CODE:NAME:RATE:QTY:PRICE[:DISCOUNT[:UNIT]]"; raises zel::Error naming
// the bad field, a text the printer cannot print (CheckPrintable) or an
// item it would refuse (CheckItem).
SaleItem ParseItem(const std::string& text);
// "FORM:AMOUNT"; the form must be one of HostPaymentTypes().
SalePayment ParsePayment(const std::string& text);

// Checks what the printer would otherwise refuse halfway through a coupon:
// at least one item and one payment, items the printer takes (CheckItem),
// discounts smaller than what they reduce, cancelled items that exist,
// payments that cover the total and none given after it is covered.
// Defined with the printer's arithmetic in sale_checks.cc.
void CheckSale(const SaleRequest& sale);

// The amount due as the printer works it out (see PrinterFigures): items
// less their discounts and the cancelled ones, less the subtotal discount,
// plus the surcharge.
double AmountDue(const SaleRequest& sale);

// An amount as this host shows it: "1234,56".
std::string Money(double amount);

// One payment type of this host: its code, the printer's payment-form name
// (DSIMPFISCAL) and its kind (IDTIPORECE; 4 is a card).
struct PaymentType {
  const char* code;
  const char* name;
  const char* kind;
};
const std::vector<PaymentType>& HostPaymentTypes();
// The type whose name matches ignoring case, or null.
const PaymentType* FindPaymentType(const std::string& name);
// The names, comma separated, for messages.
std::string PaymentTypeNames();

// The host's payment types in the layout the driver reconciles with the
// printer (CarregaRecebimento): every type shown, of button kind 5.
zel::Dataset PaymentTypesToReconcile();
// The reconciled types as FechaCupom reads them: NMTIPORECE is the printer's
// form name. Raises zel::Error for a type the printer did not take.
zel::Variant ClosingPaymentTypes(zel::Dataset& reconciled);

zel::Variant OpeningParams();
zel::Variant ItemParams(const SaleItem& item);
// The cash movements of the payments, one second apart from `now`, so the
// driver registers them in the order given.
zel::Variant PaymentMovements(const std::vector<SalePayment>& payments, zel::DateTime now);
// FechaCupom's 43 positional values for a sale closed without TEF.
std::vector<zel::Variant> ClosingPositions(const SaleRequest& sale, zel::Variant movements,
                                           zel::Variant payment_types);
// An empty two-row result array, as a host creates it for the driver.
zel::Variant ResultArray(int columns);

}  // namespace ecfhost

#endif  // ECFHOST_SALE_BUILDER_H_
