// ecfhost credit: the consumer-credit jobs from the command line.
#include <cstdio>
#include <string>
#include <vector>

#include "command_families.h"
#include "credit_jobs.h"
#include "options.h"
#include "zel/error.h"

namespace ecfhost {
namespace {

constexpr char kDefaultConsumersFile[] = "consumidores.csv";

DebitItem ParseDebitItem(const std::string& text) {
  const std::size_t first = text.find(':');
  const std::size_t second = text.find(':', first == std::string::npos ? first : first + 1);
  if (first == std::string::npos || second == std::string::npos || first == 0) {
    throw UsageError("um item é NOME:QTD:PREÇO, não '" + text + "'");
  }
  return {text.substr(0, first),
          ParseAmount(text.substr(first + 1, second - first - 1), "a quantidade do item"),
          ParseAmount(text.substr(second + 1), "o preço do item")};
}

std::string Required(const Options& options, const std::string& name) {
  const std::optional<std::string> value = options.One(name);
  if (!value) throw UsageError("informe " + name);
  return *value;
}

}  // namespace

int RunCredit(Session& session, const Arguments& arguments) {
  if (arguments.empty()) {
    throw UsageError("informe a ação: deposit, balance, statement, debit ou cancel");
  }
  const std::string action = arguments[0];
  // The action is checked before the consumers file is read.
  if (action != "deposit" && action != "balance" && action != "statement" && action != "debit" &&
      action != "cancel") {
    throw UsageError("ação de crédito desconhecida '" + action +
                     "': deposit, balance, statement, debit ou cancel");
  }
  const Options options(Arguments(arguments.begin() + 1, arguments.end()),
                        {"--consumers", "--consumer", "--amount", "--pay", "--printer", "--copies",
                         "--layout", "--family", "--item", "--deposit"},
                        {});
  CreditAccounts accounts(options.One("--consumers").value_or(kDefaultConsumersFile),
                          session.workspace().folder());
  if (action == "deposit") {
    DepositRequest request;
    request.consumer = Required(options, "--consumer");
    request.amount = ParseAmount(Required(options, "--amount"), "o valor do depósito");
    request.form = options.One("--pay").value_or(request.form);
    const std::string printer = options.One("--printer").value_or("fiscal");
    if (printer != "fiscal" && printer != "nonfiscal") {
      throw UsageError("--printer é fiscal ou nonfiscal, não '" + printer + "'");
    }
    request.receipt_printer = printer == "nonfiscal";
    request.copies = options.One("--copies").value_or(request.copies);
    request.layout = options.One("--layout").value_or(request.layout);
    if (!request.receipt_printer) session.Start();
    Deposit(session, accounts, request);
  } else if (action == "balance") {
    session.Start();
    PrintBalance(session, accounts, Required(options, "--consumer"));
  } else if (action == "statement") {
    session.Start();
    PrintStatement(session, accounts, options.One("--family").value_or(""));
  } else if (action == "debit") {
    std::vector<DebitItem> items;
    for (const std::string& item : options.All("--item")) items.push_back(ParseDebitItem(item));
    const std::string consumer = Required(options, "--consumer");
    session.Start();
    Debit(session, accounts, consumer, items);
  } else if (action == "cancel") {
    const std::string consumer = Required(options, "--consumer");
    const std::string deposit = Required(options, "--deposit");
    const double amount = ParseAmount(Required(options, "--amount"), "o valor cancelado");
    session.Start();
    CancelDeposit(session, accounts, consumer, deposit, amount);
  }
  return 0;
}

}  // namespace ecfhost
