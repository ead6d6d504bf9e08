#include "restaurant/table_fields.h"

#include <cmath>

#include "host/codepage.h"
#include "host/number_format.h"
#include "zel/error.h"
#include "zel/format_settings.h"

namespace zel {
namespace {

constexpr std::size_t kDescriptionLength = 17;

struct AmountMask {
  const char* mask;
  const char* largest;
};

AmountMask MaskOf(TableAmount width) {
  switch (width) {
    case TableAmount::kPercent:
      return {"00.00", "99.99"};
    case TableAmount::kQuantity:
      return {"000.000", "999.999"};
    case TableAmount::kPrice:
      return {"000000.00", "999999.99"};
    case TableAmount::kTotal:
      break;
  }
  return {"000000000000.00", "999999999999.99"};
}

}  // namespace

std::string TableAmountField(TableAmount width, double value, std::string_view field) {
  const AmountMask mask = MaskOf(width);
  const std::string_view layout = mask.mask;
  const std::size_t separator = layout.find('.');
  std::string text = std::isfinite(value) ? FormatFloat(layout, value) : std::string();
  // A longer text (more integer digits, or a sign) would lose a digit
  // instead of the separator below.
  if (text.size() != layout.size() ||
      text[separator] != CurrentFormatSettings().decimal_separator) {
    std::string largest = mask.largest;
    largest[separator] = CurrentFormatSettings().decimal_separator;
    throw Error(Utf8ToCp1252("O campo ") + std::string(field) +
                Utf8ToCp1252(" aceita valores de 0 a ") + largest + Utf8ToCp1252("; o valor ") +
                FloatToText(value) + Utf8ToCp1252(" não foi enviado à impressora."));
  }
  text.erase(separator, 1);
  return text;
}

std::string TableDescription(std::string_view description) {
  return std::string(description.substr(0, kDescriptionLength));
}

}  // namespace zel
