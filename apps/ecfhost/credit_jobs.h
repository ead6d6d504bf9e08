// Consumer-credit jobs: a deposit receipt on the fiscal printer or on the
// simulated receipt printer, a consumer's balances, the statement, a debit
// receipt and a deposit's cancellation. Each records what the host keeps in
// its accounts (credit_accounts.h) only after the driver answered true,
// writes what it did to the session's output, and raises zel::Error with a
// one-line reason otherwise.
#ifndef ECFHOST_CREDIT_JOBS_H_
#define ECFHOST_CREDIT_JOBS_H_

#include <string>
#include <vector>

#include "credit_accounts.h"
#include "session.h"

namespace ecfhost {

// The port this host's simulated receipt printer is attached to.
inline constexpr char kReceiptPrinterPort[] = "COM5";

struct DepositRequest {
  std::string consumer;
  double amount = 0;
  std::string form = "Dinheiro";
  bool receipt_printer = false;  // else the fiscal printer
  std::string copies = "1";
  std::string layout = "01";
};

struct DebitItem {
  std::string name;
  double quantity = 0;
  double price = 0;
};

// The fiscal-printer jobs need a started session.
void Deposit(Session& session, CreditAccounts& accounts, const DepositRequest& request);
void PrintBalance(Session& session, CreditAccounts& accounts, const std::string& consumer);
void PrintStatement(Session& session, CreditAccounts& accounts, const std::string& family);
void Debit(Session& session, CreditAccounts& accounts, const std::string& consumer,
           const std::vector<DebitItem>& items);
void CancelDeposit(Session& session, CreditAccounts& accounts, const std::string& consumer,
                   const std::string& deposit, double amount);

}  // namespace ecfhost

#endif  // ECFHOST_CREDIT_JOBS_H_
