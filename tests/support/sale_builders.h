// Host-side building blocks of a fiscal sale, for programs that play the
// point-of-sale host (tests and benchmarks): the parameter arrays of
// AbreCupom and VendaItem, the host's payment types (the layout
// CarregaRecebimento reconciles), the cash movements and the 43 positional
// values FechaCupom takes.
//
// Every builder returns a fresh value the caller owns. Texts are passed as
// the host passes them (Windows-1252). Free of any test framework, so a
// benchmark can compile it in. One thread.
#ifndef ZEL_TESTS_SUPPORT_SALE_BUILDERS_H_
#define ZEL_TESTS_SUPPORT_SALE_BUILDERS_H_

#include <initializer_list>
#include <string>
#include <vector>

#include "zel/dataset.h"
#include "zel/date_time.h"
#include "zel/variant.h"

namespace zel {

// --- Opening and items ----------------------------------------------------------

struct Buyer {
  std::string cpf, name, address;
};

// AbreCupom's parameter array for `buyer`, INTTEFERRO 0. CUPNR "000017" and
// CONTCUPOM "3" ride along to come back unchanged; the ignored keys are
// present as a host sends them.
Variant OpeningParams(const std::string& scheme, const Buyer& buyer,
                      const char* tef_indicator = "N", bool tef = false);

struct Item {
  std::string code = "7891";
  std::string name = "ARROZ";
  std::string rate = "01";
  double quantity = 1;
  double price = 1;
  double discount = 0;
  std::string unit = "KG";
  std::string tef_indicator = "N";
  bool tef = false;
};

// VendaItem's parameter array for `item`. INTEFERRO is 5, so that the
// driver's carrying it through to INTTEFERRO shows.
Variant ItemParams(const std::string& scheme, const Item& item);

// --- Payment types (the host's layout) ---------------------------------------------

struct PaymentType {
  const char* code;            // CDTIPORECE
  const char* button;          // IDTPBUTTON
  const char* kind;            // IDTIPORECE
  const char* shown;           // IDMOSTRARECE
  const char* printer_name;    // DSIMPFISCAL
  const char* form_code = "";  // CDFPIMPFIS
};

// The host's payment types with the fields the reconciliation reads and
// writes, plus one it does not use.
Dataset HostPaymentTypes(std::initializer_list<PaymentType> rows);

// --- Cash movements and the closing's positional values ----------------------------

struct Movement {
  std::string kind;  // IDTIPOMOVIVE
  int second;        // DTHRINCMOV: 07/12/2026 10:00:<second>
  std::string type;  // CDTIPORECE
  double amount;
  std::string card_bank = {};    // CDBANCARTCR
  std::string origin_type = {};  // CDTIPORECEORIG
};

// 07/12/2026 10:00:<second>: when a payment was taken.
DateTime PaymentTime(int second);

// The data packet of the sale's cash movements (position 13), with the
// twenty fields the closing copies.
Variant Movements(const std::vector<Movement>& rows);

// FechaCupom's 43 values for a sale outside TEF, no discount, surcharge nor
// receipt after the coupon, dialogs shown ([5] true), the receipt totalizer
// "01" [0], operator 07 - ANA [22, 23] and "kept" in [42]; the movements
// [13] and payment types [14] are the caller's to set.
std::vector<Variant> ClosingPositions(const std::string& scheme);

}  // namespace zel

#endif  // ZEL_TESTS_SUPPORT_SALE_BUILDERS_H_
