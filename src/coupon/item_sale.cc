// Selling one item into the open coupon.
#include <exception>
#include <string>

#include "core/data_module.h"
#include "core/start_support.h"
#include "core/vendor_call.h"
#include "coupon/sale.h"
#include "coupon/sale_fields.h"
#include "zel/debug_log.h"
#include "zel/error.h"
#include "zel/operations.h"

namespace zel {
namespace {

constexpr std::size_t kDescriptionWidth = 29;
constexpr std::size_t kUnitWidth = 2;
// How much of the description the retry question repeats.
constexpr std::size_t kPromptDescriptionWidth = 20;
// This driver sells with no surcharge per item, always in department 01.
constexpr char kNoSurcharge[] = "00";
constexpr char kDepartment[] = "01";

struct ItemParams {
  std::string colour_scheme;
  std::int64_t tef_retried = 0;
  std::string code;
  std::string description;
  std::string tax_rate;
  double quantity = 0;
  double unit_price = 0;
  double discount = 0;
  std::string unit;
  std::string tef_indicator;
  bool tef_active = false;
};

// TIPOTICKET and VRPERCALIQ mean nothing to this printer and are not asked
// for. The retry flag comes in as INTEFERRO and goes back as INTTEFERRO.
ItemParams ReadItemParams(const Variant& params) {
  ItemParams read;
  read.colour_scheme = RecebeParams(params, "ESQUEMACOR").AsText();
  read.tef_retried = RecebeParams(params, "INTEFERRO").AsInteger();
  read.code = RecebeParams(params, "CDARVPROD").AsText();
  read.description = RecebeParams(params, "NMPROD").AsText();
  read.tax_rate = RecebeParams(params, "CDALIQ").AsText();
  read.quantity = RecebeParams(params, "QTDE").AsDouble();
  read.unit_price = RecebeParams(params, "VALOR").AsDouble();
  read.discount = RecebeParams(params, "DESCONT").AsDouble();
  read.unit = RecebeParams(params, "UNIDADE").AsText();
  read.tef_indicator = RecebeParams(params, "IDUTILTEF").AsText();
  read.tef_active = RecebeParams(params, "UTILTEF").AsBoolean();
  return read;
}

bool TrySellItem(const ItemParams& item) {
  const std::string description = item.description.substr(0, kDescriptionWidth);
  const std::string price = ItemPriceText(item.unit_price);
  const std::string quantity = ItemQuantityText(item.quantity);
  const std::string discount = ItemDiscountField(item.discount);
  const std::string unit = item.unit.substr(0, kUnitWidth);
  const int status =
      CallVendor(Zel00101::Bematech_FI_VendeItemDepartamento, item.code, description, item.tax_rate,
                 price, quantity, kNoSurcharge, discount, kDepartment, unit);
  LogCall("Bematech_FI_VendeItemDepartamento",
          {item.code, description, item.tax_rate, price, quantity, kNoSurcharge, discount,
           kDepartment, unit});
  return Zel00101::AnalisaRetorno(item.colour_scheme, status, true, false, false);
}

bool AskSellAgain(const ItemParams& item) {
  if (UnderTef(item.tef_indicator, item.tef_active)) return AskPrintAgain(item.colour_scheme);
  const std::string text = MsgPadrao("ErroItem") + "\r\n" + item.code + " - " +
                           item.description.substr(0, kPromptDescriptionWidth) + "\r\n" +
                           MsgPadrao("Deseja");
  return AskRetry(text, item.colour_scheme);
}

}  // namespace
}  // namespace zel

namespace Zel00101 {

bool VendaItem(zel::Variant& Params) {
  using namespace zel;
  ItemParams item;
  try {
    item = ReadItemParams(Params);
  } catch (const std::exception& error) {
    ShowDialog(ParameterErrorText(error.what(), "VendaItem"), kDefaultColourScheme, kRetryDialog);
    return false;
  }
  try {
    // A discount the printer's field cannot hold would be sent as another
    // amount: refused here, before anything is printed.
    ItemDiscountField(item.discount);
  } catch (const Error& error) {
    ImpFisDebug(std::string("ERRO!!! ") + error.what());
    ShowDialog(error.what(), item.colour_scheme, kRetryDialog);
    return false;
  }

  while (!TrySellItem(item)) {
    if (!AskSellAgain(item)) return false;
  }
  Params = MakeParams({{"INTTEFERRO", Variant(item.tef_retried)}});
  return true;
}

}  // namespace Zel00101

ZEL_EXPORT_PLAIN_NAME(bool, VendaItem, (zel::Variant & Params), (Params))
