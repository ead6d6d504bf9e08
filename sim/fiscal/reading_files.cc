#include "reading_files.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <system_error>

#include "text.h"
#include "windows_paths.h"

namespace ecfsim {
namespace {

constexpr int kWidth = 48;
constexpr int kAmountColumn = 29;  // amounts fill columns 29-48
constexpr int kAmountWidth = kWidth - kAmountColumn + 1;
constexpr int kBaseWidth = 15;         // tax base, columns 15-29
constexpr int kTaxWidth = 18;          // tax, columns 31-48
constexpr int kTimeColumn = 33;        // "hh:mm:ss" at columns 33-40
constexpr int kFreeMemoryColumn = 19;  // four digits at columns 19-22
constexpr std::int64_t kMaxShownSeconds = 99 * 3600 + 59 * 60 + 59;

// Source texts are UTF-8; the file carries Windows-1252.
std::string Cp(std::string_view utf8) { return Utf8ToCp1252(utf8); }

// Cuts a line to the width of the paper.
std::string Fit(std::string line) {
  if (line.size() > static_cast<std::size_t>(kWidth)) line.resize(kWidth);
  return line;
}

// A 48-character banner with the title centred among hyphens, as the
// sections of the reading are introduced.
std::string Banner(std::string_view utf8_title) {
  const std::string title = Cp(utf8_title);
  const int left = (kWidth - static_cast<int>(title.size())) / 2;
  return std::string(left, '-') + title + std::string(kWidth - left - title.size(), '-');
}

// An amount right-aligned in `width` columns: "1.234,56", or without the
// thousands dots when they would not fit.
std::string AmountField(Cents cents, int width) {
  std::string text = Money(cents);
  if (static_cast<int>(text.size()) > width)
    text.erase(std::remove(text.begin(), text.end(), '.'), text.end());
  if (static_cast<int>(text.size()) > width) {
    throw std::length_error("amount " + text + " does not fit in " + std::to_string(width) +
                            " columns");
  }
  return PadLeft(text, width);
}

// A label on the left and a value ending at column 48.
std::string LabelValue(std::string_view utf8_label, std::string_view value) {
  return PadRight(Cp(utf8_label), kWidth - static_cast<int>(value.size())) + std::string(value);
}

std::string LabelAmount(std::string_view utf8_label, Cents cents) {
  return PadRight(Cp(utf8_label), kAmountColumn - 1) + AmountField(cents, kAmountWidth);
}

std::string TimeLine(std::string_view utf8_label, std::int64_t seconds) {
  return PadRight(Cp(utf8_label), kTimeColumn - 1) + Duration(seconds);
}

std::vector<std::string> IdentityLines(const PrinterIdentity& identity, std::int64_t now) {
  return {Centre(identity.brand + " " + identity.model, kWidth),
          Fit("CNPJ:" + identity.owner_cnpj + " IE:" + identity.owner_ie),
          LabelValue(ShowMoment(now), "ECF:" + identity.register_number),
          Fit(Cp("Nº de série: ") + identity.serial_number)};
}

void AppendRateSection(std::vector<std::string>& lines, std::string_view utf8_title,
                       const std::array<TaxRate, kTaxRateSlots>& rates, bool iss) {
  lines.push_back(Banner(utf8_title));
  lines.push_back(Cp("Nº  Alíq.   Base de Cálculo            Imposto"));
  Cents base_sum = 0;
  Cents tax_sum = 0;
  for (int i = 0; i < kTaxRateSlots; ++i) {
    const TaxRate& rate = rates[i];
    if (!rate.programmed || rate.iss != iss) continue;
    const Cents tax = TaxOn(rate.day_base, rate.rate);
    base_sum += rate.day_base;
    tax_sum += tax;
    lines.push_back(Digits(i + 1, 2) + "  " + RateText(rate.rate) + "     " +
                    AmountField(rate.day_base, kBaseWidth) + " " + AmountField(tax, kTaxWidth));
  }
  lines.push_back("Total" + std::string(9, ' ') + AmountField(base_sum, kBaseWidth) + " " +
                  AmountField(tax_sum, kTaxWidth));
}

std::string TotalizerLine(std::string_view index, std::string_view name, int count, Cents total) {
  return std::string(index) + " " + PadRight(name, kTotalizerNameWidth) + " " + Digits(count, 4) +
         " " + AmountField(total, kAmountWidth);
}

// The figures a fiscal-memory reading shows for one reduction or a period.
struct PeriodFigures {
  DayFigures day;
  std::array<TaxRate, kTaxRateSlots> rates{};
};

void AddTo(PeriodFigures& sum, const ReductionRecord& record) {
  const DayFigures& day = record.day;
  sum.day.gross_sales += day.gross_sales;
  sum.day.cancellations += day.cancellations;
  sum.day.discounts += day.discounts;
  sum.day.surcharges += day.surcharges;
  sum.day.iss_cancellations += day.iss_cancellations;
  sum.day.iss_discounts += day.iss_discounts;
  sum.day.iss_surcharges += day.iss_surcharges;
  sum.day.substitution += day.substitution;
  sum.day.exempt += day.exempt;
  sum.day.not_taxed += day.not_taxed;
  for (int i = 0; i < kTaxRateSlots; ++i) {
    const TaxRate& rate = record.rates[i];
    if (!rate.programmed) continue;
    // A position keeps the rate it was first programmed with in the period.
    if (!sum.rates[i].programmed) sum.rates[i] = TaxRate{true, rate.rate, rate.iss, 0};
    sum.rates[i].day_base += rate.day_base;
  }
}

void AppendFigures(std::vector<std::string>& lines, const PeriodFigures& figures) {
  const DayFigures& day = figures.day;
  lines.push_back(LabelAmount("Venda Bruta:", day.gross_sales));
  lines.push_back(LabelAmount("Cancelamentos:", day.cancellations + day.iss_cancellations));
  lines.push_back(LabelAmount("Descontos:", day.discounts + day.iss_discounts));
  lines.push_back(LabelAmount("Acréscimos:", day.surcharges + day.iss_surcharges));
  lines.push_back(LabelAmount("Venda Líquida:", NetSales(day)));
  for (int i = 0; i < kTaxRateSlots; ++i) {
    const TaxRate& rate = figures.rates[i];
    if (!rate.programmed) continue;
    lines.push_back(LabelAmount(
        std::string(rate.iss ? "S" : "T") + Digits(i + 1, 2) + " " + RateText(rate.rate) + "%",
        rate.day_base));
  }
  lines.push_back(LabelAmount("F  Substituição Tributária:", day.substitution));
  lines.push_back(LabelAmount("I  Isenção:", day.exempt));
  lines.push_back(LabelAmount("N  Não Incidência:", day.not_taxed));
}

bool InRange(const ReductionRecord& record, const FiscalMemoryRange& range) {
  const int key =
      range.kind == FiscalMemoryRange::Kind::kByDate ? record.movement_date : record.crz;
  return key >= range.first && key <= range.last;
}

std::string RangeText(const FiscalMemoryRange& range) {
  if (range.kind == FiscalMemoryRange::Kind::kByDate) {
    return Cp("Período: ") + ShowDate(range.first) + " a " + ShowDate(range.last);
  }
  return Cp("Reduções: ") + Digits(range.first, 4) + " a " + Digits(range.last, 4);
}

}  // namespace

std::string RateText(int rate) { return Digits(rate / 100, 2) + "," + Digits(rate % 100, 2); }

std::string Duration(std::int64_t seconds) {
  seconds = std::clamp<std::int64_t>(seconds, 0, kMaxShownSeconds);
  return Digits(seconds / 3600, 2) + ":" + Digits(seconds / 60 % 60, 2) + ":" +
         Digits(seconds % 60, 2);
}

Cents IssSales(const std::array<TaxRate, kTaxRateSlots>& rates) {
  Cents sum = 0;
  for (const TaxRate& rate : rates) {
    if (rate.programmed && rate.iss) sum += rate.day_base;
  }
  return sum;
}

Cents NonFiscalTotal(const PrinterState& state) {
  Cents sum = state.day.supplies + state.day.withdrawals;
  for (const NonFiscalTotalizer& totalizer : state.totalizers) sum += totalizer.day_total;
  return sum;
}

std::int64_t SecondsBetween(std::int64_t from_moment, std::int64_t to_moment) {
  if (from_moment == 0 || to_moment < from_moment) return 0;
  return EpochFromMoment(to_moment) - EpochFromMoment(from_moment);
}

Cents NetSales(const DayFigures& day) {
  return day.gross_sales - day.cancellations - day.iss_cancellations - day.discounts -
         day.iss_discounts;
}

Cents TaxOn(Cents base, int rate) {
  const Cents scaled = base * rate;
  return (scaled >= 0 ? scaled + 5000 : scaled - 5000) / 10000;
}

std::vector<std::string> XReadingLines(const PrinterState& state, std::int64_t now) {
  const DayFigures& day = state.day;
  const Counters& counters = state.counters;
  std::vector<std::string> lines = IdentityLines(state.identity, now);
  lines.push_back(Centre("LEITURA X", kWidth));

  lines.push_back(Banner("CONTADORES"));
  lines.push_back(LabelValue("Contador de Reinício de Operação:", Digits(counters.cro, 4)));
  lines.push_back(LabelValue("Contador de Redução Z:", Digits(counters.crz, 4)));
  lines.push_back(LabelValue("Contador de Ordem de Operação:", Digits(counters.coo, 6)));
  lines.push_back(LabelValue("Contador Geral de Operação Não Fiscal:", Digits(counters.gnf, 6)));
  lines.push_back(LabelValue("Contador de Cupom Fiscal Cancelado:", Digits(counters.cfc, 4)));
  lines.push_back(LabelValue("Primeiro documento do dia:", Digits(day.first_coo, 6)));
  if (day.first_coo != 0) {
    lines.push_back(LabelValue("Último documento do dia:", Digits(counters.coo, 6)));
  }

  lines.push_back(Banner("TOTALIZADORES FISCAIS"));
  lines.push_back(LabelAmount("Totalizador Geral:", state.grand_total));
  lines.push_back(LabelAmount("Venda Bruta Diária:", day.gross_sales));
  lines.push_back(LabelAmount("ISS:", IssSales(state.rates)));
  lines.push_back(LabelAmount("Cancelamentos:", day.cancellations + day.iss_cancellations));
  lines.push_back(LabelAmount("Descontos:", day.discounts + day.iss_discounts));
  lines.push_back(LabelAmount("Total Não Fiscal:", NonFiscalTotal(state)));
  lines.push_back(LabelAmount("Venda Líquida:", NetSales(day)));
  lines.push_back(LabelAmount("Acréscimos:", day.surcharges + day.iss_surcharges));

  lines.push_back(Banner("Não Tributados"));
  lines.push_back(LabelAmount("Substituição Tributária:", day.substitution));
  lines.push_back(LabelAmount("Isenção:", day.exempt));
  lines.push_back(LabelAmount("Não Incidência:", day.not_taxed));

  AppendRateSection(lines, "Tributados", state.rates, false);
  AppendRateSection(lines, "ISS", state.rates, true);

  lines.push_back(Banner("Formas de Pagamento"));
  for (int i = 0; i < kPaymentFormSlots; ++i) {
    const PaymentForm& form = state.payment_forms[i];
    if (form.name.empty()) continue;
    lines.push_back(PadRight(Digits(i + 1, 2) + " " + form.name, kAmountColumn - 1) +
                    AmountField(form.day_total, kAmountWidth));
  }
  lines.emplace_back();

  lines.push_back(Banner("TOTALIZADORES NÃO FISCAIS"));
  lines.push_back(Cp("Nº Descrição           CON  Valor acumulado"));
  for (int i = 0; i < kTotalizerSlots; ++i) {
    const NonFiscalTotalizer& totalizer = state.totalizers[i];
    if (totalizer.name.empty()) continue;
    lines.push_back(
        TotalizerLine(Digits(i + 1, 2), totalizer.name, totalizer.day_count, totalizer.day_total));
  }
  lines.push_back(TotalizerLine("SA", "Sangria", day.withdrawal_count, day.withdrawals));
  lines.push_back(TotalizerLine("SU", "Suprimento", day.supply_count, day.supplies));

  lines.push_back(std::string(kWidth, '-'));
  lines.push_back(TimeLine("Tempo em serviço no dia:", SecondsBetween(day.opened_at, now)));
  lines.push_back(TimeLine("Tempo emitindo cupom fiscal:", day.issuing_seconds));
  lines.push_back(PadRight(Cp("Memória livre:"), kFreeMemoryColumn - 1) +
                  Digits(std::max(0, kFiscalMemoryReductions - counters.crz), 4) + Cp(" reduções"));
  lines.push_back(std::string(kWidth, '-'));
  return lines;
}

FiscalMemoryRange ParseFiscalMemoryRange(FiscalMemoryRange::Kind kind, std::string_view first,
                                         std::string_view last) {
  const bool by_date = kind == FiscalMemoryRange::Kind::kByDate;
  auto read = [by_date](std::string_view text, const char* which) {
    const std::optional<int> value = by_date ? ParseDate(text) : ParseCount(text);
    if (!value) {
      throw std::invalid_argument(std::string(which) + (by_date ? " date" : " reduction") +
                                  " of the fiscal-memory reading does not read: \"" +
                                  std::string(text) + "\"");
    }
    return *value;
  };
  FiscalMemoryRange range{kind, read(first, "first"), read(last, "last")};
  if (range.first > range.last) {
    throw std::invalid_argument("the fiscal-memory reading range ends before it starts: \"" +
                                std::string(first) + "\" to \"" + std::string(last) + "\"");
  }
  return range;
}

bool IsCompleteReading(std::string_view flag) { return flag == "C" || flag == "c"; }

std::vector<std::string> FiscalMemoryReadingLines(const PrinterState& state,
                                                  const FiscalMemoryRange& range, bool complete,
                                                  std::int64_t now) {
  std::vector<std::string> lines = IdentityLines(state.identity, now);
  lines.push_back(Centre(Cp("LEITURA DA MEMÓRIA FISCAL"), kWidth));
  lines.push_back(Centre(complete ? "COMPLETA" : "SIMPLIFICADA", kWidth));
  lines.push_back(RangeText(range));
  lines.push_back(std::string(kWidth, '='));

  PeriodFigures period;
  const ReductionRecord* last_in_range = nullptr;
  int count = 0;
  for (const ReductionRecord& record : state.reductions) {
    if (!InRange(record, range)) continue;
    ++count;
    last_in_range = &record;
    AddTo(period, record);
    if (!complete) continue;
    PeriodFigures single;
    AddTo(single, record);
    lines.push_back("CRZ:" + Digits(record.crz, 4) + "  COO:" + Digits(record.coo, 6) +
                    "  CRO:" + Digits(record.cro, 4));
    lines.push_back(LabelValue("Data do movimento:", ShowDate(record.movement_date)));
    lines.push_back(LabelValue("Emissão:", ShowMoment(record.reduced_at)));
    AppendFigures(lines, single);
    lines.push_back(LabelAmount("Totalizador Geral:", record.grand_total));
    lines.push_back(std::string(kWidth, '='));
  }

  if (count == 0) {
    lines.push_back(Cp("Nenhuma redução no intervalo."));
  } else {
    lines.push_back(Centre("TOTAL DO INTERVALO", kWidth));
    AppendFigures(lines, period);
    lines.push_back(LabelAmount("Totalizador Geral:", last_in_range->grand_total));
  }
  lines.push_back(LabelValue("Reduções no intervalo:", Digits(count, 4)));
  lines.push_back(std::string(kWidth, '='));
  return lines;
}

std::string WriteReturnFile(const std::vector<std::string>& lines) {
  const std::string directory = OutputDirectory();
  std::error_code error;
  std::filesystem::create_directories(RealPath(directory), error);
  if (error) {
    throw std::runtime_error("cannot create the output directory " + directory + ": " +
                             error.message());
  }
  const std::string file = RealPath(directory + "Retorno.txt");
  WriteCrLfFile(file, lines);
  return file;
}

}  // namespace ecfsim
