#include <utility>

#include "core/data_module.h"
#include "core/dialogs.h"
#include "coupon/sale.h"
#include "zel/host_services.h"

namespace zel {

bool UnderTef(std::string_view tef_indicator, bool tef_active) {
  return (tef_indicator == "S" || tef_indicator == "T") && tef_active;
}

bool AskRetry(const std::string& text, const std::string& colour_scheme) {
  return AskYesNo(text, colour_scheme, kRetryDialog);
}

bool AskPrintAgain(const std::string& colour_scheme) {
  return AskRetry(MsgPadrao("Imp_N_Resp"), colour_scheme);
}

void SetResultCell(Variant& result, std::size_t column, Variant value) {
  if (!result.IsArray()) result = Variant(VariantArray{});
  VariantArray& rows = result.MutableArray();
  if (rows.size() < 2) rows.resize(2);
  Variant& row = rows[1];
  if (!row.IsArray()) row = Variant(VariantArray{});
  VariantArray& cells = row.MutableArray();
  if (cells.size() <= column) cells.resize(column + 1);
  cells[column] = std::move(value);
}

}  // namespace zel
