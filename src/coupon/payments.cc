// The payments of a sale as the printer registers them: grouped per payment
// type under TEF (the card slips were already printed per type), oldest
// first, each under the printer's payment-form name of its payment type.
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "coupon/closing.h"
#include "host/string_functions.h"
#include "zel/error.h"

namespace zel {
namespace {

// The fields a grouped row carries over from the movement it copies.
constexpr std::array<std::string_view, 20> kCopiedFields = {
    "CDFILIAL",   "IDTIPOMOVIVE", "DTHRINCMOV",   "CDTIPORECE",   "NMTIPORECE",
    "IDTIPORECE", "VRMOVIVEND",   "VRMOVIVEOUT",  "VRCOTINDOUT",  "CDTIPOTROCO",
    "NRORDTROCO", "CDCLIENTE",    "CDCONSUMIDOR", "DTMOVIMCAIXA", "DSIMPFISCAL",
    "CDFPIMPFIS", "NRCARTBANCO",  "CDNSUHOSTTEF", "CDBANCARTCR",  "CDTIPORECEORIG"};

// The fields without which no payment can be registered.
constexpr std::array<std::string_view, 6> kRequiredFields = {
    "IDTIPOMOVIVE", "DTHRINCMOV", "CDTIPORECE", "VRMOVIVEND", "CDBANCARTCR", "CDTIPORECEORIG"};

bool IsPayment(const Dataset& rows) {
  const std::string kind = rows.AsText("IDTIPOMOVIVE");
  return kind == "E" || kind == "T";
}

void RequireFields(const Dataset& movements) {
  for (std::string_view field : kRequiredFields) {
    if (movements.FieldIndex(field) < 0) {
      throw Error("FechaCupom: the cash movements have no field " + std::string(field));
    }
  }
}

void AppendCopy(const Dataset& from, Dataset& to) {
  to.Append();
  for (std::string_view field : kCopiedFields) {
    if (from.FieldIndex(field) >= 0) to.SetValue(field, from.FieldValue(field));
  }
  to.Post();
}

// Adds the movement's amount to the grouped "E" row of its payment type;
// false when there is none yet.
bool AddToGroup(const Dataset& movement, Dataset& grouped) {
  const Variant key(VariantArray{movement.FieldValue("CDTIPORECE"), Variant("E")});
  if (!grouped.Locate("CDTIPORECE;IDTIPOMOVIVE", key)) return false;
  grouped.Edit();
  grouped.SetValue("VRMOVIVEND", grouped.AsDouble("VRMOVIVEND") + movement.AsDouble("VRMOVIVEND"));
  grouped.Post();
  return true;
}

// A card payment is registered under the payment type it was taken for.
std::string PaymentTypeCode(const Dataset& row) {
  return EmptyString(row.AsText("CDBANCARTCR")) ? row.AsText("CDTIPORECE")
                                                : row.AsText("CDTIPORECEORIG");
}

PaymentToRegister ReadPayment(const Dataset& row, Dataset& payment_types) {
  const std::string code = PaymentTypeCode(row);
  if (!payment_types.Locate("CDTIPORECE", Variant(code))) {
    throw Error("FechaCupom: payment type \"" + code + "\" is not among the payment types");
  }
  PaymentToRegister payment;
  payment.form_name = payment_types.AsText("NMTIPORECE").substr(0, kFormNameWidth);
  payment.kind = payment_types.AsText("IDTIPORECE");
  payment.amount = row.AsDouble("VRMOVIVEND");
  if (EmptyString(payment.form_name)) {
    throw Error("FechaCupom: payment type \"" + code + "\" has no payment-form name");
  }
  if (!(payment.amount > 0)) {
    throw Error("FechaCupom: a payment of type \"" + code + "\" has the amount " +
                row.AsText("VRMOVIVEND") + "; a payment must be positive");
  }
  return payment;
}

}  // namespace

std::vector<PaymentToRegister> GroupPayments(Dataset& movements, Dataset& grouped,
                                             Dataset& payment_types, bool under_tef) {
  RequireFields(movements);
  grouped.EmptyDataSet();
  for (movements.First(); !movements.Eof(); movements.Next()) {
    if (under_tef && IsPayment(movements) && AddToGroup(movements, grouped)) continue;
    AppendCopy(movements, grouped);
  }

  std::vector<PaymentToRegister> payments;
  const std::string usual_order = grouped.IndexName();
  grouped.SetIndexName("idxDTHRINCMOV");
  try {
    for (grouped.First(); !grouped.Eof(); grouped.Next()) {
      if (IsPayment(grouped)) payments.push_back(ReadPayment(grouped, payment_types));
    }
  } catch (...) {
    grouped.SetIndexName(usual_order);
    throw;
  }
  grouped.SetIndexName(usual_order);
  return payments;
}

}  // namespace zel
