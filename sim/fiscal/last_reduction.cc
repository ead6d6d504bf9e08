#include "last_reduction.h"

#include <vector>

#include "reading_files.h"
#include "text.h"

namespace ecfsim {
namespace {

constexpr int kDayAmountWidth = 14;
constexpr int kPositionAmountWidth = 12;

std::string RateTable(const std::array<TaxRate, kTaxRateSlots>& rates) {
  std::string table;
  for (const TaxRate& rate : rates) {
    table += rate.programmed ? (rate.iss ? "S" : "T") + Digits(rate.rate, 4) : std::string(5, ' ');
  }
  return table;
}

template <typename Slots, typename AmountOf>
std::string Amounts(const Slots& slots, AmountOf amount_of) {
  std::string joined;
  for (const auto& slot : slots) joined += Digits(amount_of(slot), kPositionAmountWidth);
  return joined;
}

std::string DayAmount(Cents cents) { return Digits(cents, kDayAmountWidth); }

}  // namespace

std::string LastReductionData(const PrinterState& state) {
  const ReductionRecord record =
      state.reductions.empty() ? ReductionRecord{} : state.reductions.back();
  const DayFigures& day = record.day;
  const std::int64_t moment = record.reduced_at;
  const std::vector<std::string> fields = {
      Digits(record.crz, 4),
      Digits(record.coo, 6),
      Digits(record.cro, 4),
      Digits(record.gnf, 6),
      Digits(record.ccf, 6),
      Digits(record.cfc, 4),
      Digits(record.grg, 6),
      Digits(record.cdc, 4),
      Ddmmyy(record.movement_date),
      moment == 0 ? std::string(12, '0') : Ddmmyy(DateOf(moment)) + Digits(TimeOf(moment), 6),
      Digits(record.grand_total, 18),
      DayAmount(day.gross_sales),
      DayAmount(NetSales(day)),
      DayAmount(day.cancellations),
      DayAmount(day.discounts),
      DayAmount(day.surcharges),
      DayAmount(day.iss_cancellations),
      DayAmount(day.iss_discounts),
      DayAmount(day.iss_surcharges),
      DayAmount(day.substitution),
      DayAmount(day.exempt),
      DayAmount(day.not_taxed),
      DayAmount(day.supplies),
      DayAmount(day.withdrawals),
      RateTable(record.rates),
      Amounts(record.rates, [](const TaxRate& rate) { return rate.day_base; }),
      Amounts(record.payment_forms, [](const PaymentForm& form) { return form.day_total; }),
      Amounts(record.totalizers, [](const NonFiscalTotalizer& t) { return t.day_total; }),
  };
  std::string data;
  for (const std::string& field : fields) {
    if (!data.empty()) data += ',';
    data += field;
  }
  data.resize(kLastReductionSize, ' ');
  return data;
}

}  // namespace ecfsim
