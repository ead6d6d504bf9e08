// The run functions of the subcommands, by family, and the few printouts
// they share. Commands() in commands.cc lists them with their help.
#ifndef ECFHOST_COMMAND_FAMILIES_H_
#define ECFHOST_COMMAND_FAMILIES_H_

#include <string>
#include <vector>

#include "session.h"

namespace ecfhost {

using Arguments = std::vector<std::string>;

// commands.cc: start, counters, tape, program.
int RunStart(Session& session, const Arguments& arguments);
int RunCounters(Session& session, const Arguments& arguments);
int RunTape(Session& session, const Arguments& arguments);
int RunProgram(Session& session, const Arguments& arguments);
void PrintPrinterData(Session& session);

// commands_sale.cc: sale, cancel.
int RunSale(Session& session, const Arguments& arguments);
int RunCancel(Session& session, const Arguments& arguments);

// commands_cash.cc: supply, withdraw, drawer, x, z.
int RunSupply(Session& session, const Arguments& arguments);
int RunWithdraw(Session& session, const Arguments& arguments);
int RunDrawer(Session& session, const Arguments& arguments);
int RunXReading(Session& session, const Arguments& arguments);
int RunZReduction(Session& session, const Arguments& arguments);

// commands_menu.cc: menu, verify; the demo's signed fiscal-memory file
// and its check.
int RunMenu(Session& session, const Arguments& arguments);
int RunVerify(Session& session, const Arguments& arguments);
void SignedFiscalMemoryFile(Session& session);
// commands_credit.cc: credit deposit, balance, statement, debit, cancel.
int RunCredit(Session& session, const Arguments& arguments);
// commands_close.cc: the cashier's closing.
int RunClose(Session& session, const Arguments& arguments);

// commands_demo.cc.
int RunDemo(Session& session, const Arguments& arguments);

// commands_sim.cc: steering the simulated printer; for the demo, the next
// day on both clocks and a new printer, each marked on the tape.
int RunSim(Session& session, const Arguments& arguments);
void NextSimulatedDay(Session& session);
void ResetSimulatedPrinter(Session& session);

// commands_table.cc: table, and the demo's restaurant episode (two tables,
// a transfer, a check, one table closed into a coupon, the open tables).
int RunTable(Session& session, const Arguments& arguments);
void RestaurantEpisode(Session& session);

}  // namespace ecfhost

#endif  // ECFHOST_COMMAND_FAMILIES_H_
