// The consumer-credit accounts this host keeps: the consumers and their
// families with each family's opening balance, read from a file the school
// or company office provides, and the movements this host recorded since
// (deposits, debits, cancellations, the items of each debit), kept in the
// working folder. Balances are the opening balance plus the movements.
//
// Consumers file: one consumer per line, fields separated by ';':
//   CODE;NAME;FAMILY CODE;FAMILY NAME;FAMILY OPENING BALANCE
// Blank lines and lines starting with '#' are skipped; a consumer may
// belong to several families (one line each). Texts are UTF-8 in the files
// and Windows-1252 in the datasets handed to the driver.
#ifndef ECFHOST_CREDIT_ACCOUNTS_H_
#define ECFHOST_CREDIT_ACCOUNTS_H_

#include <string>
#include <vector>

#include "zel/dataset.h"

namespace ecfhost {

struct ConsumerRow {
  std::string code;
  std::string name;
  std::string family_code;
  std::string family_name;
  double opening_balance = 0;
};

struct Movement {
  std::string family_code;
  std::string date;  // DD/MM/YYYY
  std::string time;  // hh:mm
  std::string operation;
  double value = 0;
  std::string sale;  // the sale of a debit, else empty
};

struct SaleItemRow {
  std::string sale;
  std::string family_code;
  double quantity = 0;
  std::string name;
  double total = 0;
};

class CreditAccounts {
 public:
  // Reads the consumers file and this folder's movements. Raises zel::Error
  // naming the file and line of anything that does not read.
  CreditAccounts(const std::string& consumers_file, const std::string& folder);

  // The consumer's rows (one per family); raises zel::Error for an unknown
  // code.
  std::vector<ConsumerRow> Consumer(const std::string& code) const;
  // Opening balance plus every movement of the family.
  double Balance(const std::string& family_code) const;
  // The next deposit number of this folder, six digits.
  std::string NextDepositNumber() const;

  // Appends a movement (and the items of a sale) to this folder's files.
  void Record(const Movement& movement, const std::vector<SaleItemRow>& items = {});

  // The datasets of a statement (the driver's Extrato, by family):
  // families, movements with running balances, sale items, every family's
  // balance, and each family's opening balance.
  zel::Dataset Families(const std::string& only_family) const;
  zel::Dataset Movements() const;
  zel::Dataset SaleItems() const;
  zel::Dataset FamilyBalances() const;
  zel::Dataset OpeningBalances() const;

 private:
  double OpeningBalance(const std::string& family_code) const;

  std::string movements_path_;
  std::string items_path_;
  std::vector<ConsumerRow> consumers_;
  std::vector<Movement> movements_;
  std::vector<SaleItemRow> items_;
};

}  // namespace ecfhost

#endif  // ECFHOST_CREDIT_ACCOUNTS_H_
