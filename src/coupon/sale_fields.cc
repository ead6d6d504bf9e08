#include "coupon/sale_fields.h"

#include "host/codepage.h"
#include "host/number_format.h"
#include "host/string_functions.h"
#include "zel/error.h"

namespace zel {
namespace {

constexpr char kQuantityMask[] = "#0.000";
constexpr char kDiscountMask[] = "000000.00";
constexpr char kNoDiscount[] = "0000";

}  // namespace

std::string ItemQuantityText(double quantity) { return FormatFloat(kQuantityMask, quantity); }

std::string ItemPriceText(double unit_price) {
  return FormatFloat(kQuantityMask, Trunc2(unit_price));
}

std::string ItemDiscountField(double discount) {
  if (!(discount > 0)) return kNoDiscount;
  return ImpliedDecimalsField(kDiscountMask, Trunc2(discount));
}

std::string ImpliedDecimalsField(std::string_view mask, double value) {
  const std::string::size_type separator = mask.find('.');
  if (separator == std::string_view::npos) {
    throw Error("Máscara sem separador decimal: " + std::string(mask));
  }
  std::string text = FormatFloat(mask, value);
  if (text.size() != mask.size()) {
    const std::string digits = std::to_string(mask.size() - 1);
    throw Error(Utf8ToCp1252("O valor ") + FormatFloat("0.00", value) +
                Utf8ToCp1252(" não cabe no campo de ") + digits +
                Utf8ToCp1252(" dígitos da impressora."));
  }
  text.erase(separator, 1);
  return text;
}

}  // namespace zel
