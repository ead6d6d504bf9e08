#include "tape_readings.h"

#include <algorithm>

#include "reading_files.h"
#include "tape.h"
#include "text.h"

namespace ecfsim {
namespace {

constexpr int kW = kTapeWidth;
// A tax-rate row: "T01 18,00%" then the base and the tax, each right-aligned
// in 19 columns, wide enough for the largest figure with its dots.
constexpr int kRateLabelWidth = 10;
constexpr int kRateAmountWidth = (kW - kRateLabelWidth) / 2;

std::string Cp(std::string_view utf8) { return Utf8ToCp1252(utf8); }

std::string Banner(std::string_view utf8_title) {
  const std::string title = " " + Cp(utf8_title) + " ";
  const int left = (kW - static_cast<int>(title.size())) / 2;
  return std::string(left, '-') + title + std::string(kW - left - title.size(), '-');
}

// A label and its value ending at column 48; a label too long for the value
// is cut, never the value.
std::string Row(std::string_view utf8_label, const std::string& value) {
  return Spread(Cp(utf8_label), value, kW);
}

std::string AmountRow(std::string_view utf8_label, Cents cents) {
  return Row(utf8_label, Money(cents));
}

void AppendCounters(std::vector<std::string>& lines, const PrinterState& state) {
  const Counters& c = state.counters;
  lines.push_back(Banner("CONTADORES"));
  lines.push_back(Row("Reinício de Operação (CRO):", Digits(c.cro, 4)));
  lines.push_back(Row("Redução Z (CRZ):", Digits(c.crz, 4)));
  lines.push_back(Row("Ordem de Operação (COO):", Digits(c.coo, 6)));
  lines.push_back(Row("Operação Não Fiscal (GNF):", Digits(c.gnf, 6)));
  lines.push_back(Row("Cupom Fiscal Cancelado (CFC):", Digits(c.cfc, 4)));
  lines.push_back(Row("Primeiro documento do dia:", Digits(state.day.first_coo, 6)));
  if (state.day.first_coo != 0) lines.push_back(Row("Último documento do dia:", Digits(c.coo, 6)));
}

void AppendTotals(std::vector<std::string>& lines, const PrinterState& state) {
  const DayFigures& day = state.day;
  lines.push_back(Banner("TOTALIZADORES FISCAIS"));
  lines.push_back(AmountRow("Totalizador Geral:", state.grand_total));
  lines.push_back(AmountRow("Venda Bruta Diária:", day.gross_sales));
  lines.push_back(AmountRow("ISS:", IssSales(state.rates)));
  lines.push_back(AmountRow("Cancelamentos:", day.cancellations + day.iss_cancellations));
  lines.push_back(AmountRow("Descontos:", day.discounts + day.iss_discounts));
  lines.push_back(AmountRow("Acréscimos:", day.surcharges + day.iss_surcharges));
  lines.push_back(AmountRow("Venda Líquida:", NetSales(day)));
  lines.push_back(AmountRow("Total Não Fiscal:", NonFiscalTotal(state)));
  lines.push_back(Banner("NÃO TRIBUTADOS"));
  lines.push_back(AmountRow("F  Substituição Tributária:", day.substitution));
  lines.push_back(AmountRow("I  Isenção:", day.exempt));
  lines.push_back(AmountRow("N  Não Incidência:", day.not_taxed));
}

void AppendRates(std::vector<std::string>& lines, const PrinterState& state, bool iss) {
  lines.push_back(Banner(iss ? "ISS" : "TRIBUTADOS"));
  lines.push_back(PadRight(Cp("Alíquota"), kRateLabelWidth) +
                  PadLeft(Cp("Base de Cálculo"), kRateAmountWidth) +
                  PadLeft("Imposto", kRateAmountWidth));
  Cents base_sum = 0;
  Cents tax_sum = 0;
  for (int i = 0; i < kTaxRateSlots; ++i) {
    const TaxRate& rate = state.rates[i];
    if (!rate.programmed || rate.iss != iss) continue;
    const Cents tax = TaxOn(rate.day_base, rate.rate);
    base_sum += rate.day_base;
    tax_sum += tax;
    const std::string label =
        (iss ? "S" : "T") + Digits(i + 1, 2) + " " + RateText(rate.rate) + "%";
    lines.push_back(PadRight(label, kRateLabelWidth) +
                    PadLeft(Money(rate.day_base), kRateAmountWidth) +
                    PadLeft(Money(tax), kRateAmountWidth));
  }
  lines.push_back(PadRight("Total", kRateLabelWidth) + PadLeft(Money(base_sum), kRateAmountWidth) +
                  PadLeft(Money(tax_sum), kRateAmountWidth));
}

void AppendPayments(std::vector<std::string>& lines, const PrinterState& state) {
  lines.push_back(Banner("FORMAS DE PAGAMENTO"));
  for (int i = 0; i < kPaymentFormSlots; ++i) {
    const PaymentForm& form = state.payment_forms[i];
    if (form.name.empty()) continue;
    lines.push_back(Spread(Digits(i + 1, 2) + " " + form.name, Money(form.day_total), kW));
  }
}

std::string TotalizerRow(const std::string& index, const std::string& name, int count,
                         Cents total) {
  return Spread(index + " " + PadRight(name, kTotalizerNameWidth) + " " + Digits(count, 4),
                Money(total), kW);
}

void AppendTotalizers(std::vector<std::string>& lines, const PrinterState& state) {
  const DayFigures& day = state.day;
  lines.push_back(Banner("TOTALIZADORES NÃO FISCAIS"));
  lines.push_back(Spread(Cp("Nº Descrição") + std::string(kTotalizerNameWidth - 8, ' ') + "CON",
                         "Valor acumulado", kW));
  for (int i = 0; i < kTotalizerSlots; ++i) {
    const NonFiscalTotalizer& totalizer = state.totalizers[i];
    if (totalizer.name.empty()) continue;
    lines.push_back(
        TotalizerRow(Digits(i + 1, 2), totalizer.name, totalizer.day_count, totalizer.day_total));
  }
  lines.push_back(TotalizerRow("SA", "Sangria", day.withdrawal_count, day.withdrawals));
  lines.push_back(TotalizerRow("SU", "Suprimento", day.supply_count, day.supplies));
}

}  // namespace

std::vector<std::string> DayFiguresOnPaper(const PrinterState& state, std::int64_t now) {
  std::vector<std::string> lines;
  AppendCounters(lines, state);
  AppendTotals(lines, state);
  AppendRates(lines, state, false);
  AppendRates(lines, state, true);
  AppendPayments(lines, state);
  AppendTotalizers(lines, state);
  lines.push_back(std::string(kW, '-'));
  lines.push_back(
      Row("Tempo em serviço no dia:", Duration(SecondsBetween(state.day.opened_at, now))));
  lines.push_back(Row("Tempo emitindo cupom fiscal:", Duration(state.day.issuing_seconds)));
  const int free_reductions = std::max(0, kFiscalMemoryReductions - state.counters.crz);
  lines.push_back(Row("Memória livre:", Digits(free_reductions, 4) + Cp(" reduções")));
  return lines;
}

}  // namespace ecfsim
