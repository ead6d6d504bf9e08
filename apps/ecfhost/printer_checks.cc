#include "printer_checks.h"

#include <cstdlib>
#include <optional>

#include "sale_checks.h"
#include "zel/dataset.h"
#include "zel/date_format.h"
#include "zel/date_time.h"

namespace ecfhost {
namespace {

// The place of the reduced day's movement date among the comma-separated
// fields of the printer's last-reduction data.
constexpr std::size_t kReducedDayField = 8;

// A DDMMYY date of the printer, or nothing when it is not one.
std::optional<zel::DateTime> PrinterDate(const std::string& ddmmyy) {
  if (ddmmyy.size() < 6 || ddmmyy.find_first_not_of("0123456789") < 6) return std::nullopt;
  const int day = std::atoi(ddmmyy.substr(0, 2).c_str());
  const int month = std::atoi(ddmmyy.substr(2, 2).c_str());
  const int year = 2000 + std::atoi(ddmmyy.substr(4, 2).c_str());
  if (!zel::IsValidDate(year, month, day)) return std::nullopt;
  return zel::EncodeDate(year, month, day);
}

std::optional<zel::DateTime> PrinterToday(Session& session) {
  std::string date_time;
  if (!session.Op<bool(const std::string&, std::string&)>("Data_Imp")(kColourScheme, date_time)) {
    return std::nullopt;
  }
  return PrinterDate(date_time);
}

// The movement date of the day the printer reduced last; nothing before
// its first reduction.
std::optional<zel::DateTime> LastReducedDay(Session& session) {
  std::string data;
  if (!session.Op<bool(const std::string&, std::string&)>("DadosUltimaRedZ")(kColourScheme, data)) {
    return std::nullopt;
  }
  std::size_t start = 0;
  for (std::size_t field = 0; field < kReducedDayField && start != std::string::npos; ++field) {
    start = data.find(',', start);
    if (start != std::string::npos) ++start;
  }
  if (start == std::string::npos) return std::nullopt;
  return PrinterDate(data.substr(start, 6));
}

std::string Shown(zel::DateTime date) { return zel::FormatDateTime("dd/mm/yyyy", date); }

}  // namespace

std::vector<std::string> ProgrammedRates(Session& session) {
  zel::Dataset rates("cdsAliquotas");
  session.Op<void(const std::string&, zel::Dataset&)>("CarregaAliquota")(kColourScheme, rates);
  std::vector<std::string> positions;
  for (rates.First(); !rates.Eof(); rates.Next()) {
    positions.push_back(rates.AsText("CDALIQIMPFIS"));
  }
  return positions;
}

std::string ClosedDayReason(Session& session, bool pending_counts) {
  const std::optional<zel::DateTime> today = PrinterToday(session);
  if (!today) return "";
  // The driver reads a printer with no day open as open on the computer's
  // date, which may be a day behind the printer's within the few minutes the
  // clocks may differ around midnight: only a day older than both is
  // certainly pending.
  const zel::DateTime movement =
      zel::DateOf(session.Op<zel::DateTime(const std::string&)>("DataMoviFiscal")(kColourScheme));
  const zel::DateTime computer_today = zel::DateOf(session.workspace().Now());
  if (pending_counts && movement < *today && movement < computer_today) {
    return "há uma redução Z pendente do dia " + Shown(movement) +
           ": a impressora só aceita documentos do dia " + Shown(*today) +
           " depois dela (ecfhost z)";
  }
  const std::optional<zel::DateTime> reduced = LastReducedDay(session);
  if (reduced && *reduced == *today) {
    return "o dia fiscal está encerrado (redução Z já emitida hoje, " + Shown(*today) +
           "): a impressora só aceita documentos fiscais no dia seguinte";
  }
  return "";
}

void CheckDayOpen(Session& session, bool pending_counts) {
  const std::string reason = ClosedDayReason(session, pending_counts);
  if (!reason.empty()) Fail(reason);
}

void CheckSaleAgainstPrinter(Session& session, const SaleRequest& sale) {
  CheckRates(sale, ProgrammedRates(session));
  CheckDayOpen(session);
}

}  // namespace ecfhost
