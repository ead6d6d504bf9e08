// The readings the printer hands over as a file instead of on paper: the
// serial X reading and the serial fiscal-memory readings (by date and by
// reduction number). The library writes them as "Retorno.txt" into its output
// directory (windows_paths.h), replacing the previous one, in Windows-1252
// with CR LF line breaks, lines of at most 48 characters.
//
// The X reading is made of sections, each introduced by a banner line of
// exactly 48 characters; every figure sits at a fixed line below its banner
// and at fixed columns (1-based, inclusive), which is what readers rely on:
//
//   "-------------------CONTADORES-------------------"
//     +1 restart counter (CRO)                       cols 45-48
//     +2 reduction counter (CRZ)                     cols 45-48
//     +3 document counter (COO)                      cols 43-48
//     +4 general non-fiscal counter (GNF)            cols 43-48
//     +5 cancelled fiscal coupons (CFC)              cols 45-48
//     +6 first document of the day                   cols 43-48
//     +7 last document of the day                    cols 43-48
//        (left out while the day has no document, so that line +7 is then
//        the next banner)
//   "-------------TOTALIZADORES FISCAIS--------------", amounts cols 29-48:
//     +1 grand total, +2 gross sales, +3 sales on service-tax rates,
//     +4 cancellations, +5 discounts, +6 non-fiscal total, +7 net sales,
//     +8 surcharges
//   "-----------------Não Tributados-----------------", amounts cols 29-48:
//     +1 tax substitution (F), +2 exempt (I), +3 not taxed (N)
//   "-------------------Tributados-------------------" and
//   "----------------------ISS-----------------------": +1 a heading, then
//     one line per programmed rate of that kind: position cols 1-2, rate
//     "18,00" cols 5-9, base cols 15-29, tax cols 31-48; then a line whose
//     cols 1-5 are "Total" with the sums.
//   "--------------Formas de Pagamento---------------": one line per
//     programmed form, position cols 1-2, name cols 4-19, amount cols 29-48;
//     then an empty line.
//   "-----------TOTALIZADORES NÃO FISCAIS------------": +1 a heading, then one
//     line per programmed totalizer (and "SA" withdrawals, "SU" supplies):
//     index cols 1-2, name cols 4-22, count cols 24-27, amount cols 29-48;
//     the list ends at the next line beginning with "--":
//   "------------------------------------------------" (48 hyphens, the first
//     such line of the file):
//     +1 time the printer was in service in the day, "hh:mm:ss" cols 33-40
//     +2 time spent issuing fiscal coupons, "hh:mm:ss" cols 33-40
//     +3 reductions still free in the fiscal memory, cols 19-22
// Amounts are written the Brazilian way ("1.234,56"), right-aligned.
//
// All functions only read the printer state; the Write functions touch the
// file system. Not thread-safe beyond that: the printer serialises its
// commands.
#ifndef ECFSIM_READING_FILES_H_
#define ECFSIM_READING_FILES_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "printer_state.h"

namespace ecfsim {

// How many reductions the fiscal memory can hold in all.
inline constexpr int kFiscalMemoryReductions = 1800;

// The day's net sales: gross sales less every cancellation and discount.
Cents NetSales(const DayFigures& day);
// The tax on `base` at `rate` hundredths of a percent, rounded to the cent.
Cents TaxOn(Cents base, int rate);
// The day's sales on service-tax (ISS) rates.
Cents IssSales(const std::array<TaxRate, kTaxRateSlots>& rates);
// The day's non-fiscal total: supplies, withdrawals and every totalizer.
Cents NonFiscalTotal(const PrinterState& state);
// Seconds from one moment (yyyymmddhhmmss) to a later one; 0 when the first
// is unset or later.
std::int64_t SecondsBetween(std::int64_t from_moment, std::int64_t to_moment);
// A rate in hundredths of a percent as "18,00"; seconds as "hh:mm:ss" (at
// most 99:59:59).
std::string RateText(int rate);
std::string Duration(std::int64_t seconds);

// The serial X reading of the printer at `now` (yyyymmddhhmmss on its own
// clock), laid out as described above.
std::vector<std::string> XReadingLines(const PrinterState& state, std::int64_t now);

// Which reductions a fiscal-memory reading covers: movement dates
// (yyyymmdd) or reduction numbers (CRZ), both bounds included.
struct FiscalMemoryRange {
  enum class Kind { kByDate, kByReduction };
  Kind kind = Kind::kByDate;
  int first = 0;
  int last = 0;
};

// Reads the bounds the host sent: dates as "DDMMYY", "DDMMYYYY" or with
// slashes; reduction numbers as digits. Raises std::invalid_argument naming
// the bound that does not read, or when the first comes after the last.
FiscalMemoryRange ParseFiscalMemoryRange(FiscalMemoryRange::Kind kind, std::string_view first,
                                         std::string_view last);

// Whether the reading flag asks for the complete reading ("C", either case);
// anything else gives the simplified one.
bool IsCompleteReading(std::string_view flag);

// The fiscal-memory reading of the reductions in `range`: the complete one
// lists every reduction with its figures per tax rate, the simplified one
// only the totals of the period. A range without reductions still gives a
// reading that says so.
std::vector<std::string> FiscalMemoryReadingLines(const PrinterState& state,
                                                  const FiscalMemoryRange& range, bool complete,
                                                  std::int64_t now);

// Writes `lines` as "Retorno.txt" into the output directory, creating that
// directory when it is missing, and returns the file's real path. Raises
// std::runtime_error when the file cannot be written.
std::string WriteReturnFile(const std::vector<std::string>& lines);

}  // namespace ecfsim

#endif  // ECFSIM_READING_FILES_H_
