// Entries of the fiscal coupon.
#include "bemafi32.h"
#include "coupon.h"
#include "text.h"

using ecfsim::Arg;
using ecfsim::CommandKind;
using ecfsim::Printer;
using ecfsim::Run;

int Bematech_FI_AbreCupom(const char* buyer_id) {
  std::string id = Arg(buyer_id);
  return Run("Bematech_FI_AbreCupom", {id}, CommandKind::kPrinting,
             [&](Printer& p) { return ecfsim::OpenCoupon(p, id, "", ""); });
}

int Bematech_FI_AbreCupomMFD(const char* buyer_id, const char* name, const char* address) {
  std::string id = Arg(buyer_id), who = Arg(name), where = Arg(address);
  return Run("Bematech_FI_AbreCupomMFD", {id, who, where}, CommandKind::kPrinting,
             [&](Printer& p) { return ecfsim::OpenCoupon(p, id, who, where); });
}

int Bematech_FI_VendeItem(const char* code, const char* description, const char* rate,
                          const char* unit_price, const char* quantity, const char* discount) {
  ecfsim::ItemRequest item{
      Arg(code), Arg(description), Arg(rate), Arg(unit_price), Arg(quantity), "", Arg(discount), "",
      ""};
  return Run(
      "Bematech_FI_VendeItem",
      {item.code, item.description, item.rate_code, item.unit_price, item.quantity, item.discount},
      CommandKind::kPrinting, [&](Printer& p) { return ecfsim::SellItem(p, item); });
}

int Bematech_FI_VendeItemDepartamento(const char* code, const char* description, const char* rate,
                                      const char* unit_price, const char* quantity,
                                      const char* surcharge, const char* discount,
                                      const char* department, const char* unit) {
  ecfsim::ItemRequest item{Arg(code),       Arg(description), Arg(rate),
                           Arg(unit_price), Arg(quantity),    Arg(surcharge),
                           Arg(discount),   Arg(department),  Arg(unit)};
  return Run("Bematech_FI_VendeItemDepartamento",
             {item.code, item.description, item.rate_code, item.unit_price, item.quantity,
              item.surcharge, item.discount, item.department, item.unit},
             CommandKind::kPrinting, [&](Printer& p) { return ecfsim::SellItem(p, item); });
}

int Bematech_FI_AumentaDescricaoItem(const char* description) {
  std::string text = Arg(description);
  return Run("Bematech_FI_AumentaDescricaoItem", {text}, CommandKind::kQuery, [&](Printer& p) {
    if (text.empty() || text.size() > 200) return ecfsim::BadParameter();
    p.state().pending_description = text;
    return ecfsim::Done();
  });
}

int Bematech_FI_CancelaItemGenerico(const char* item_number) {
  std::string text = Arg(item_number);
  return Run("Bematech_FI_CancelaItemGenerico", {text}, CommandKind::kPrinting, [&](Printer& p) {
    auto number = ecfsim::Trim(text).size() <= 4 ? ecfsim::ParseCount(text) : std::nullopt;
    if (!number || *number == 0) return ecfsim::BadParameter();
    return ecfsim::CancelItem(p, *number);
  });
}

int Bematech_FI_CancelaItemAnterior() {
  return Run("Bematech_FI_CancelaItemAnterior", {}, CommandKind::kPrinting,
             [](Printer& p) { return ecfsim::CancelItem(p, 0); });
}

int Bematech_FI_CancelaCupom() {
  return Run("Bematech_FI_CancelaCupom", {}, CommandKind::kPrinting, ecfsim::CancelCoupon);
}

int Bematech_FI_IniciaFechamentoCupom(const char* kind, const char* type, const char* value) {
  std::string k = Arg(kind), t = Arg(type), v = Arg(value);
  return Run("Bematech_FI_IniciaFechamentoCupom", {k, t, v}, CommandKind::kPrinting,
             [&](Printer& p) { return ecfsim::StartClosing(p, k, t, v); });
}

int Bematech_FI_EfetuaFormaPagamento(const char* form, const char* amount) {
  std::string f = Arg(form), a = Arg(amount);
  return Run("Bematech_FI_EfetuaFormaPagamento", {f, a}, CommandKind::kPrinting,
             [&](Printer& p) { return ecfsim::Pay(p, f, a); });
}

int Bematech_FI_TerminaFechamentoCupom(const char* message) {
  std::string text = Arg(message);
  return Run("Bematech_FI_TerminaFechamentoCupom", {text}, CommandKind::kPrinting,
             [&](Printer& p) { return ecfsim::EndCoupon(p, text); });
}
