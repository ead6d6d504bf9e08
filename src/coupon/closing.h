// The closing of a fiscal coupon (FechaCupom, zel/operations.h): the host's
// 43 positional values read into one structure, the payments grouped and
// ordered for the printer, and the message printed at the end of the coupon.
//
// Everything here works on values the caller owns; the datasets are the data
// module's. Texts are Windows-1252. Bad input raises zel::Error naming the
// problem, before anything reaches the printer. Host thread only, like every
// operation.
#ifndef ZEL_COUPON_CLOSING_H_
#define ZEL_COUPON_CLOSING_H_

#include <span>
#include <string>
#include <vector>

#include "zel/dataset.h"
#include "zel/variant.h"

namespace zel {

// Number of positional values FechaCupom takes.
inline constexpr std::size_t kClosingPositions = 43;
// The printer keeps payment-form names of at most this many characters.
inline constexpr std::size_t kFormNameWidth = 16;

// What the closing message is composed from (the position of each value in
// the host's array is in brackets).
struct ClosingMessageInputs {
  std::string header;           // [1]
  std::string tef_indicator;    // [9] "S", "T" or other
  std::string free_line;        // [10]
  bool tef_active = false;      // [11]
  std::string client_code;      // [15] client or agreement
  std::string client_name;      // [16]
  std::string consumer_code;    // [17]
  std::string consumer_name;    // [18]
  std::string centred_switch;   // [19] not empty: print the centred line
  std::string table_number;     // [21] table or order pad
  std::string operator_code;    // [22]
  std::string operator_name;    // [23]
  std::string balance_mode;     // [27] "0", "1" or "2"
  std::string check_coo;        // [28] fitted to 6 columns when not blank
  std::string check_cer;        // [29] as an integer, fitted to 6 columns
  std::string password;         // [31] order password
  std::string credit_layout;    // [35] "2": consumer-credit layout
  std::string balance_source;   // [36] "1" family balances, "2" figure
  double balance_before = 0;    // [37]
  double subsidy = 0;           // [38]
  std::string centred_line;     // [39]
  std::string print_tef_lines;  // [40] "S": open with the card slip lines
};

// Every value FechaCupom reads, by meaning.
struct ClosingParams {
  std::string receipt_totalizer;  // [0] non-fiscal totalizer index
  std::string colour_scheme;      // [2]
  bool receipt_after = false;     // [4] a non-fiscal receipt after the coupon
  bool show = false;              // [5] dialogs of the return analysis
  double discount = 0;            // [6]
  double receipt_amount = 0;      // [7]
  double surcharge = 0;           // [8]
  Variant movements;              // [13] data packet of the cash movements
  Variant payment_types;          // [14] data packet of the payment types
  Variant balances;               // [32] may be empty
  Variant consumption;            // [33] may be empty
  Variant family_movements;       // [34] may be empty
  Variant passthrough;            // [42] handed back in the result array
  ClosingMessageInputs message;

  bool UnderTef() const;
};

// Reads the host's array. Raises zel::Error for an array shorter than 43
// values, a non-integer report counter [29] (when [28] is not blank), a
// negative discount or surcharge, both a discount and a surcharge (only one
// of them would reach the printer, so the total would be wrong), and
// movements [13] that are no data packet.
ClosingParams ReadClosingParams(std::span<const Variant> positions);

// The three consumer-credit datasets the message reads. A dataset that is
// null (the host did not pass it) or not open counts as absent.
struct CreditDatasets {
  Dataset* balances = nullptr;     // CDFAMILISALD, NMFAMILISALD, VRSALDCONFAM
  Dataset* consumption = nullptr;  // CDFAMILISALD, VRSALDCONFAM
  Dataset* movements = nullptr;    // CDFAMILISALD, IDTPMOVEXT, VRMOVEXTCONS
};

// What the registered payments tell the message.
struct PaymentFacts {
  bool agreement = false;  // a payment of kind "8" was registered
  double credit_sum = 0;   // total of the payments of kinds "9" and "A"
};

// The message printed at the end of the coupon, in the layout the inputs
// select. A pure function of its arguments: composing twice gives the same
// text. `tef_lines` may be null (no card slip). Raises zel::Error when the
// card-slip layout has fewer than three lines, or when the family-balance
// layout must print family lines and the family movements are absent.
std::string ComposeClosingMessage(const ClosingMessageInputs& inputs, CreditDatasets credit,
                                  const std::vector<std::string>* tef_lines,
                                  const PaymentFacts& facts);

// One payment as the printer receives it.
struct PaymentToRegister {
  std::string form_name;  // the payment type's NMTIPORECE, at most 16 characters
  double amount = 0;
  std::string kind;  // the payment type's IDTIPORECE
};

// Fills `grouped` (same layout as `movements`, emptied first) from the
// movements in their current order: under TEF, the payments ("E" and "T")
// of one payment type are summed into its first "E" row; every other row is
// copied. Then reads the payments of `grouped` oldest first, each under its
// payment type (of origin, for a card payment) found in `payment_types`.
// Raises zel::Error for a payment whose type is missing, has no name, or
// whose amount is not positive.
std::vector<PaymentToRegister> GroupPayments(Dataset& movements, Dataset& grouped,
                                             Dataset& payment_types, bool under_tef);

}  // namespace zel

#endif  // ZEL_COUPON_CLOSING_H_
