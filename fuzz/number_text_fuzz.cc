// Numbers as text, both ways, in the host's manner: masks ("#0.00",
// "000000.00", any text a caller could pass), fixed notation, currency, and
// text read back as a number. Everything either gives a text or raises
// zel::Error. Two properties are checked on the way: the shortest text of a
// number reads back as a number with the same shortest text, and a number
// read from a text writes back as a number (never fails to format).
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz_input.h"
#include "host/decimal.h"
#include "host/number_format.h"
#include "zel/error.h"
#include "zel/format_settings.h"

namespace {

using zel::fuzz::FuzzInput;

void Check(bool condition) {
  if (!condition) std::abort();
}

template <typename Conversion>
void Try(Conversion conversion) {
  try {
    conversion();
  } catch (const zel::Error&) {
    // Refused with a message.
  }
}

void Write(double value, const std::string& mask, int decimals, int precision) {
  Try([&] { zel::FormatFloat(mask, value); });
  Try([&] { zel::FormatFixed(value, decimals, precision); });
  Try([&] { zel::FormatCurrency(value); });
  for (const char* usual : {"#0.00", "0.00", "#0.000", "000000000000.00", "0.00#", "#,##0.00"}) {
    zel::FormatFloat(usual, value);
  }
  const std::string text = zel::FloatToText(value);
  // Fifteen digits of the very largest doubles round past the largest
  // double; such a text rightly does not read back.
  if (std::fabs(value) < 1e308) {
    double again = 0;
    Check(zel::TryTextToFloat(text, &again));
    Check(zel::FloatToText(again) == text);
  }
  if (value > -1e300 && value < 1e300) {
    zel::Decimal decimal = zel::ToDecimal(value, precision);
    zel::RoundToDecimals(&decimal, decimals - 9);
    zel::TruncateToDecimals(&decimal, decimals);
    zel::ToDouble(decimal);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput in(data, size);
  zel::FormatSettings settings;
  if (in.Flag()) {
    settings.decimal_separator = '.';
    settings.thousand_separator = ',';
  }
  zel::SetFormatSettings(settings);
  const int decimals = in.Byte() % 20;
  const int precision = 1 + in.Byte() % 15;
  const double value = in.Double();
  const std::string mask = in.Text(64);
  const std::string text = in.Rest();

  Write(value, mask, decimals, precision);

  double read = 0;
  if (zel::TryTextToFloat(text, &read)) {
    Check(std::isfinite(read));
    Write(read, mask, decimals, precision);
  }
  std::int64_t integer = 0;
  if (zel::TryTextToInt(text, &integer)) zel::FormatFloat("0", static_cast<double>(integer));
  Try([&] { zel::TextToFloat(text); });
  Try([&] { zel::TextToInt(text); });
  return 0;
}
