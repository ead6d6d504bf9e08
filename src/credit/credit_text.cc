#include "credit/credit_text.h"

#include <string>

#include "core/data_module.h"
#include "host/date_format.h"
#include "host/number_format.h"
#include "nonfiscal/text_pieces.h"
#include "platform/env.h"
#include "zel/error.h"
#include "zel/operations.h"

namespace zel {

std::string Rule(int width) { return std::string(static_cast<std::size_t>(width), '-'); }

std::string CutTo(std::string_view text, int width) {
  return std::string(text.substr(0, static_cast<std::size_t>(width)));
}

std::string Money(double value) { return FormatCurrency(value); }

std::string Fixed(double value, int precision) { return FormatFixed(value, 2, precision); }

std::string NowText(std::string_view mask) { return FormatDateTime(mask, Env::Current()->Now()); }

std::string NowDateTimeText() {
  const DateTime now = Env::Current()->Now();
  return DateToText(now) + " " + TimeToText(now);
}

std::string FooterLine() { return MsgPadrao("Quarvel"); }

void RequireFields(const Dataset& dataset, std::initializer_list<std::string_view> fields) {
  for (std::string_view field : fields) {
    if (dataset.FieldIndex(field) < 0) {
      throw Error(dataset.Name() + ": o campo " + std::string(field) + " não existe");
    }
  }
}

double SumField(Dataset& dataset, std::string_view field) {
  double total = 0;
  for (dataset.First(); !dataset.Eof(); dataset.Next()) total += dataset.AsDouble(field);
  return total;
}

std::string EqualsText(std::string_view field, std::string_view text) {
  std::string quoted;
  for (char c : text) {
    quoted += c;
    if (c == '\'') quoted += '\'';
  }
  return std::string(field) + " = '" + quoted + "'";
}

FilterGuard::FilterGuard(Dataset& dataset)
    : dataset_(dataset), filter_(dataset.Filter()), filtered_(dataset.Filtered()) {}

FilterGuard::~FilterGuard() {
  try {
    dataset_.SetFilter(filter_);
    dataset_.SetFiltered(filtered_);
  } catch (const Error&) {
    // It parsed when the host set it, and a destructor must not throw.
  }
}

bool OpenReportFrame(const std::string& colour_scheme) {
  return OpenLinkedReceipt(colour_scheme).opened;
}

bool SendText(std::string_view text, std::size_t limit) {
  bool accepted = true;
  std::string piece;
  auto flush = [&] {
    if (piece.empty()) return;
    if (!Zel00101::Usa_CompNFis("", piece)) accepted = false;
    piece.clear();
  };
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t feed = text.find('\n', start);
    const std::size_t end = feed == std::string_view::npos ? text.size() : feed + 1;
    std::string_view line = text.substr(start, end - start);
    start = end;
    if (piece.size() + line.size() > limit) flush();
    while (line.size() > limit) {
      piece = std::string(line.substr(0, limit));
      flush();
      line.remove_prefix(limit);
    }
    piece += line;
  }
  flush();
  return accepted;
}

}  // namespace zel
