#include "closing/reduction_reading.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "host/codepage.h"
#include "host/string_functions.h"

namespace zel {
namespace {

// Banners in the source's UTF-8; the file carries Windows-1252.
constexpr std::string_view kCountersBanner = "-------------------CONTADORES-------------------";
constexpr std::string_view kFiscalBanner = "-------------TOTALIZADORES FISCAIS--------------";
constexpr std::string_view kUntaxedBanner = "-----------------Não Tributados-----------------";
constexpr std::string_view kTimesBanner = "------------------------------------------------";
constexpr std::string_view kPaymentsBanner = "--------------Formas de Pagamento---------------";
constexpr std::string_view kNonFiscalBanner = "-----------TOTALIZADORES NÃO FISCAIS------------";
constexpr std::string_view kTaxedBanner = "-------------------Tributados-------------------";
constexpr std::string_view kServiceTaxBanner = "----------------------ISS-----------------------";

constexpr int kCounterWidth = 10;
// More digits than a double keeps exactly: such an amount would come back
// changed, so it is refused rather than rounded.
constexpr std::size_t kMostAmountDigits = 15;

// Windows-1252 letters folded to lower case: ASCII and the accented
// capitals 0xC0-0xDE (but 0xD7, the multiplication sign).
unsigned char Fold(char c) {
  const auto byte = static_cast<unsigned char>(c);
  if (byte >= 'A' && byte <= 'Z') return byte + 32;
  if (byte >= 0xC0 && byte <= 0xDE && byte != 0xD7) return byte + 32;
  return byte;
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (Fold(a[i]) != Fold(b[i])) return false;
  }
  return true;
}

std::string_view Trimmed(std::string_view text) {
  const auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

bool AllDigits(std::string_view text) {
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return !text.empty();
}

// The lines of the file and where a field is read from, so that every
// failure names its place.
class Reader {
 public:
  explicit Reader(const std::vector<std::string>& lines) : lines_(lines) {}

  // Index of the banner's line; raises when the file has none.
  std::size_t Banner(std::string_view utf8_banner) const {
    const std::string banner = Utf8ToCp1252(utf8_banner);
    for (std::size_t i = 0; i < lines_.size(); ++i) {
      if (SameIgnoringCase(lines_[i], banner)) return i;
    }
    throw ReadingFormatError(Utf8ToCp1252("Retorno.txt: seção \"") + banner +
                             Utf8ToCp1252("\" não encontrada."));
  }

  // The whole line `index` (0-based); raises when the file ends before it.
  const std::string& Line(std::size_t index) const {
    if (index >= lines_.size()) {
      throw ReadingFormatError(Utf8ToCp1252("Retorno.txt termina na linha ") +
                               std::to_string(lines_.size()) + Utf8ToCp1252(", antes da linha ") +
                               std::to_string(index + 1) +
                               Utf8ToCp1252(" que a leitura X deveria ter."));
    }
    return lines_[index];
  }

  // Columns first..last (1-based, inclusive) of line `index`; raises when
  // the line is shorter.
  std::string_view Columns(std::size_t index, int first, int last) const {
    const std::string& line = Line(index);
    if (line.size() < static_cast<std::size_t>(last)) {
      Fail(index, first, last, "linha curta (" + std::to_string(line.size()) + " caracteres)");
    }
    return std::string_view(line).substr(first - 1, last - first + 1);
  }

  // Columns that may run past the end of a short line: what is there.
  std::string_view Prefix(std::size_t index, int last) const {
    return std::string_view(Line(index)).substr(0, last);
  }

  // A counter as the printer wrote it, right-aligned in 10 columns.
  std::string Counter(std::size_t index, int first, int last) const {
    const std::string_view text = Columns(index, first, last);
    if (!AllDigits(Trimmed(text))) Fail(index, first, last, "contador inválido", text);
    return Ajusta(text, kCounterWidth);
  }

  // The counter plus one (its leading zeros are lost on the way).
  std::string NextCounter(std::size_t index, int first, int last) const {
    return Ajusta(std::to_string(Integer(index, first, last) + 1), kCounterWidth);
  }

  std::int64_t Integer(std::size_t index, int first, int last) const {
    const std::string_view text = Columns(index, first, last);
    const std::string_view digits = Trimmed(text);
    if (!AllDigits(digits)) Fail(index, first, last, "número inválido", text);
    if (digits.size() > kMostAmountDigits) Fail(index, first, last, "número grande demais", text);
    std::int64_t value = 0;
    for (char c : digits) value = value * 10 + (c - '0');
    return value;
  }

  // An amount with two implied decimals, dots and commas ignored.
  double Amount(std::size_t index, int first, int last) const {
    const std::string_view text = Columns(index, first, last);
    std::string_view rest = Trimmed(text);
    const bool negative = !rest.empty() && rest.front() == '-';
    if (negative) rest.remove_prefix(1);
    std::string digits;
    for (char c : rest) {
      if (c != ',' && c != '.') digits += c;
    }
    if (!AllDigits(digits)) Fail(index, first, last, "valor inválido", text);
    const std::size_t significant = digits.find_first_not_of('0');
    if (significant != std::string::npos && digits.size() - significant > kMostAmountDigits) {
      Fail(index, first, last, "valor grande demais", text);
    }
    std::int64_t cents = 0;
    for (std::size_t i = significant == std::string::npos ? digits.size() : significant;
         i < digits.size(); ++i) {
      cents = cents * 10 + (digits[i] - '0');
    }
    const double value = static_cast<double>(cents) / 100.0;
    return negative ? -value : value;
  }

  // "hh:mm:ss" at columns 33-40 as the six digits.
  std::string Duration(std::size_t index) const {
    std::string digits;
    for (const int first : {33, 36, 39}) digits += Columns(index, first, first + 1);
    if (!AllDigits(digits)) Fail(index, 33, 40, "tempo inválido", Columns(index, 33, 40));
    return digits;
  }

  [[noreturn]] void Fail(std::size_t index, int first, int last, std::string_view utf8_problem,
                         std::string_view text = {}) const {
    std::string message = "Retorno.txt linha " + std::to_string(index + 1) + ", colunas " +
                          std::to_string(first) + "-" + std::to_string(last) + ": " +
                          Utf8ToCp1252(utf8_problem);
    if (!text.empty()) message += " \"" + std::string(text) + "\"";
    throw ReadingFormatError(message + ".");
  }

 private:
  const std::vector<std::string>& lines_;
};

void ReadCounters(const Reader& file, ReductionCounters& figures) {
  const std::size_t b = file.Banner(kCountersBanner);
  figures.restarts = file.Counter(b + 1, 45, 48);
  figures.reduction = file.NextCounter(b + 2, 45, 48);
  figures.document = file.NextCounter(b + 3, 43, 48);
  figures.non_fiscal = file.Counter(b + 4, 43, 48);
  figures.cancelled_coupons = file.Counter(b + 5, 45, 48);
  figures.first_document = file.Counter(b + 6, 43, 48);
  // A day without documents has no last-document line: the next banner
  // follows at once (compared as written, case and all).
  figures.last_document = file.Line(b + 7) == Utf8ToCp1252(kFiscalBanner)
                              ? std::string(kCounterWidth, '0')
                              : file.Counter(b + 7, 43, 48);
}

void ReadTotals(const Reader& file, ReductionCounters& figures) {
  const std::size_t f = file.Banner(kFiscalBanner);
  figures.grand_total = file.Amount(f + 1, 29, 48);
  figures.gross_sales = file.Amount(f + 2, 29, 48);
  figures.service_tax_sales = file.Amount(f + 3, 29, 48);
  figures.cancellations = file.Amount(f + 4, 29, 48);
  figures.discounts = file.Amount(f + 5, 29, 48);
  // f + 6 is the non-fiscal total, which the host does not keep here.
  figures.net_sales = file.Amount(f + 7, 29, 48);
  figures.surcharges = file.Amount(f + 8, 29, 48);

  const std::size_t u = file.Banner(kUntaxedBanner);
  figures.substitution = file.Amount(u + 1, 29, 48);
  figures.exempt = file.Amount(u + 2, 29, 48);
  figures.not_taxed = file.Amount(u + 3, 29, 48);

  const std::size_t t = file.Banner(kTimesBanner);
  figures.time_in_service = file.Duration(t + 1);
  figures.time_issuing = file.Duration(t + 2);
  figures.free_reductions = static_cast<int>(file.Integer(t + 3, 19, 22));
}

std::vector<PaymentFormFigure> ReadPaymentForms(const Reader& file) {
  std::vector<PaymentFormFigure> forms;
  for (std::size_t i = file.Banner(kPaymentsBanner) + 1; !Trimmed(file.Prefix(i, 2)).empty(); ++i) {
    forms.push_back({std::string(file.Columns(i, 1, 2)), file.Amount(i, 29, 48)});
  }
  return forms;
}

std::vector<NonFiscalFigure> ReadNonFiscal(const Reader& file) {
  std::vector<NonFiscalFigure> totalizers;
  for (std::size_t i = file.Banner(kNonFiscalBanner) + 2; file.Prefix(i, 2) != "--"; ++i) {
    totalizers.push_back({std::string(file.Columns(i, 1, 2)), std::string(file.Columns(i, 4, 22)),
                          std::string(file.Columns(i, 24, 27)), file.Amount(i, 29, 48)});
  }
  return totalizers;
}

void ReadRates(const Reader& file, std::string_view utf8_banner, char kind,
               std::vector<TaxRateFigure>& rates) {
  for (std::size_t i = file.Banner(utf8_banner) + 2; Trimmed(file.Prefix(i, 5)) != "Total"; ++i) {
    rates.push_back({std::string(file.Columns(i, 1, 2)), file.Amount(i, 5, 9),
                     file.Amount(i, 15, 29), file.Amount(i, 31, 48), kind});
  }
}

}  // namespace

ReductionReading ParseReductionReading(const std::vector<std::string>& lines) {
  const Reader file(lines);
  ReductionReading reading;
  ReadCounters(file, reading.counters);
  ReadTotals(file, reading.counters);
  reading.payment_forms = ReadPaymentForms(file);
  reading.non_fiscal = ReadNonFiscal(file);
  ReadRates(file, kTaxedBanner, 'T', reading.tax_rates);
  ReadRates(file, kServiceTaxBanner, 'S', reading.tax_rates);
  return reading;
}

}  // namespace zel
