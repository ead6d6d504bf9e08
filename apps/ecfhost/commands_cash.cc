// Cash movements, drawer and readings: one driver job each.
#include <cstdio>
#include <string>

#include "command_families.h"
#include "fiscal_jobs.h"
#include "options.h"
#include "reduction_export.h"
#include "zel/error.h"

namespace ecfhost {
namespace {

double OneAmount(const Arguments& arguments, const std::string& what) {
  if (arguments.size() != 1) throw UsageError("informe o valor " + what + ", por exemplo 100,00");
  return ParseAmount(arguments[0], "o valor " + what);
}

}  // namespace

int RunSupply(Session& session, const Arguments& arguments) {
  const double amount = OneAmount(arguments, "do suprimento");
  if (!(amount > 0)) throw UsageError("o valor do suprimento deve ser maior que zero");
  session.Start();
  Supply(session, amount);
  return 0;
}

int RunWithdraw(Session& session, const Arguments& arguments) {
  const double amount = OneAmount(arguments, "da sangria");
  if (!(amount > 0)) throw UsageError("o valor da sangria deve ser maior que zero");
  session.Start();
  Withdraw(session, amount);
  return 0;
}

int RunDrawer(Session& session, const Arguments& arguments) {
  Options(arguments, {}, {});
  session.Start();
  OpenDrawer(session);
  return 0;
}

int RunXReading(Session& session, const Arguments& arguments) {
  Options(arguments, {}, {});
  session.Start();
  XReading(session);
  return 0;
}

int RunZReduction(Session& session, const Arguments& arguments) {
  const Options options(arguments, {}, {"--export", "--json"});
  const bool json = options.Has("--json");
  if (json && !options.Has("--export")) throw UsageError("--json só vale com --export");
  session.Start();
  if (options.Has("--export")) {
    // The day's figures are taken before the reduction closes the day.
    ReductionExport figures;
    ExportReduction(session, figures);
    if (json) {
      PrintJson(session.out(), figures);
    } else {
      PrintTables(session.out(), figures);
    }
  }
  ZReduction(session, json ? stderr : nullptr);
  return 0;
}

}  // namespace ecfhost
