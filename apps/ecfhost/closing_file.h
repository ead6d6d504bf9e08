// The cashier's closing as a file a user writes by hand: one record a line,
// fields separated by ';', the record's kind first. Blank lines and lines
// starting with '#' are skipped; text is UTF-8; amounts take ',' or '.'.
//
//   operator;CODE;NAME
//   supervisor;CODE;NAME
//   envelope;NUMBER;PAYMENT TYPE;INFORMED[;COUNTED]     (COUNTED: INFORMED)
//   product;CODE;NAME;QUANTITY;TOTAL[;SURCHARGE;DISCOUNT;SITUATION;RATE]
//   movement;KIND;NAME;AMOUNT    a movement of the operator's period
//   total;KIND;NAME;AMOUNT       a movement total of the day
//
// SITUATION is T (taxed, the default), F (tax substitution), N (not levied)
// or I (exempt); RATE a percentage (default 18 when taxed, else 0). KIND is
// 1 or 5 (a withdrawal), 2 (voucher issued), 3 (supply) or 4 (voucher
// received).
#ifndef ECFHOST_CLOSING_FILE_H_
#define ECFHOST_CLOSING_FILE_H_

#include <string>
#include <vector>

#include "zel/dataset.h"

namespace ecfhost {

struct ClosingPerson {
  std::string code, name;
};
struct ClosingEnvelope {
  std::string number, payment_type;
  double informed = 0, counted = 0;
};
struct ClosingProduct {
  std::string code, name;
  double quantity = 0, total = 0, surcharge = 0, discount = 0;
  std::string situation = "T";
  double rate = 18;
};
struct ClosingMovement {
  std::string kind, name;
  double amount = 0;
};

// Texts are Windows-1252, as the driver takes them.
struct ClosingData {
  ClosingPerson cashier, supervisor;
  std::vector<ClosingEnvelope> envelopes;
  std::vector<ClosingProduct> products;
  std::vector<ClosingMovement> period_movements;
  std::vector<ClosingMovement> day_totals;
};

// Reads the lines of a closing file. Raises zel::Error naming the line and
// what is wrong with it; a file without an operator line is refused.
ClosingData ParseClosingLines(const std::vector<std::string>& lines);

// The datasets the driver's closing reads, with the host's field names.
zel::Dataset EnvelopeDataset(const ClosingData& data);
zel::Dataset PeopleDataset(const ClosingData& data);
zel::Dataset ProductDataset(const ClosingData& data);
zel::Dataset MovementDataset(const std::vector<ClosingMovement>& movements);

}  // namespace ecfhost

#endif  // ECFHOST_CLOSING_FILE_H_
