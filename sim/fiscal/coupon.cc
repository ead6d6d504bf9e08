#include "coupon.h"

#include <algorithm>
#include <map>

#include "text.h"

namespace ecfsim {
namespace {

constexpr int kW = kTapeWidth;
constexpr Cents kMaxUnitPrice = 999999999;  // 9.999.999,99
constexpr int kMaxQuantity = 9999999;       // 9.999,999
constexpr Cents kMaxPercent = 9999;         // 99,99 %

bool IsSpecialRate(const std::string& code) { return code == "FF" || code == "II" || code == "NN"; }

// The 0-based position of a rate code "01".."16", or -1.
int RateSlot(const std::string& code) {
  auto n = code.size() == 2 ? ParseCount(code) : std::nullopt;
  return n && *n >= 1 && *n <= kTaxRateSlots ? *n - 1 : -1;
}

bool IsIss(const PrinterState& s, const std::string& code) {
  int slot = RateSlot(code);
  return slot >= 0 && s.rates[slot].iss;
}

// Adds `amount` to the day's base of the rate code.
void Book(PrinterState& s, const std::string& code, Cents amount) {
  if (code == "FF") {
    s.day.substitution += amount;
  } else if (code == "II") {
    s.day.exempt += amount;
  } else if (code == "NN") {
    s.day.not_taxed += amount;
  } else {
    s.rates[RateSlot(code)].day_base += amount;
  }
}

std::string RateLabel(const PrinterState& s, const std::string& code) {
  if (IsSpecialRate(code)) return code.substr(0, 1) + "1";
  const TaxRate& r = s.rates[RateSlot(code)];
  return (r.iss ? "S" : "T") + Percent(r.rate);
}

Cents ItemNet(const CouponItem& item) { return item.total + item.surcharge - item.discount; }

// The coupon's value on each rate code: items and subtotal shares.
std::map<std::string, Cents> RateContributions(const Coupon& c) {
  std::map<std::string, Cents> by_rate;
  for (const CouponItem& item : c.items) {
    if (!item.cancelled) by_rate[item.rate_code] += ItemNet(item);
  }
  for (const RateShare& share : c.shares) by_rate[share.rate_code] += share.amount;
  return by_rate;
}

bool HasLiveItem(const Coupon& c) {
  for (const CouponItem& item : c.items) {
    if (!item.cancelled) return true;
  }
  return false;
}

// Cancels the whole coupon's figures: its value goes to the cancellations,
// its payments are taken back.
Cents ReverseCoupon(PrinterState& s) {
  Coupon& c = s.coupon;
  for (const auto& [code, amount] : RateContributions(c)) {
    (IsIss(s, code) ? s.day.iss_cancellations : s.day.cancellations) += amount;
    Book(s, code, -amount);
  }
  Cents paid = 0;
  for (const CouponPayment& payment : c.payments) {
    s.payment_forms[payment.form].day_total -= payment.amount;
    paid += payment.amount;
  }
  Cents total = CouponTotal(c);
  if (paid > total) s.payment_forms[0].day_total += paid - total;  // the change given
  ++s.counters.cfc;
  ++s.day.cancelled_coupons;
  return total;
}

void Finish(Printer& p) {
  PrinterState& s = p.state();
  s.day.issuing_seconds +=
      std::max<std::int64_t>(0, EpochFromMoment(p.Now()) - EpochFromMoment(s.coupon.opened_at));
  ++s.day.coupons;
  s.document = DocumentState::kIdle;
  p.FinishDocument();
}

}  // namespace

Cents CouponTotal(const Coupon& coupon) {
  Cents total = coupon.subtotal_surcharge - coupon.subtotal_discount;
  for (const CouponItem& item : coupon.items) {
    if (!item.cancelled) total += ItemNet(item);
  }
  return total;
}

int FindPaymentForm(const PrinterState& state, const std::string& name) {
  for (int i = 0; i < kPaymentFormSlots; ++i) {
    const std::string& programmed = state.payment_forms[i].name;
    if (!programmed.empty() && SameName(programmed, name)) return i;
  }
  return -1;
}

Outcome OpenCoupon(Printer& p, const std::string& buyer_id, const std::string& name,
                   const std::string& address) {
  if (buyer_id.size() > 29 || name.size() > 30 || address.size() > 80) return BadParameter();
  if (p.DocumentOpen()) return NotNow();
  if (Outcome day = p.CheckDay(); day.code != kOk) return day;
  p.OpenDayIfNeeded();
  PrinterState& s = p.state();
  p.StartDocument("CF", "CUPOM FISCAL");
  ++s.counters.ccf;
  s.coupon = Coupon{};
  s.coupon.coo = s.counters.coo;
  s.coupon.buyer_id = buyer_id;
  s.coupon.buyer_name = name;
  s.coupon.buyer_address = address;
  s.coupon.opened_at = p.Now();
  s.document = DocumentState::kCouponItems;
  std::vector<std::string> lines = {Spread("", "CCF:" + Digits(s.counters.ccf, 6), kW)};
  if (!buyer_id.empty()) lines.push_back("CPF/CNPJ consumidor: " + buyer_id);
  if (!name.empty()) lines.push_back("NOME: " + name);
  if (!address.empty()) lines.push_back("END: " + address);
  lines.push_back(Utf8ToCp1252("ITEM CÓDIGO DESCRIÇÃO"));
  lines.push_back(Spread("QTD.UN.VL UNIT(R$)", "ST VL ITEM(R$)", kW));
  lines.push_back(std::string(kW, '-'));
  for (const std::string& line : lines) p.Print(line);
  return Done();
}

Outcome SellItem(Printer& p, const ItemRequest& request) {
  PrinterState& s = p.state();
  std::string description =
      s.pending_description.empty() ? request.description : s.pending_description;
  std::string rate = Upper(Trim(request.rate_code));
  auto price = ParseAmount(request.unit_price, 3, 2);
  auto quantity = ParseAmount(request.quantity, 3, 3);
  auto surcharge = Trim(request.surcharge).empty() ? std::optional<Cents>(0)
                                                   : ParseAmount(request.surcharge, 2, 2);
  auto discount = Trim(request.discount).empty() ? std::optional<Cents>(0)
                                                 : ParseAmount(request.discount, 2, 2);
  auto department =
      Trim(request.department).empty() ? std::optional<int>(1) : ParseCount(request.department);
  if (Trim(request.code).empty() || request.code.size() > 49 || description.size() > 200 ||
      request.unit.size() > 2 || (!IsSpecialRate(rate) && RateSlot(rate) < 0) || !price ||
      !quantity || !surcharge || !discount || !department || *department < 1 || *department > 99 ||
      *price < 0 || *price > kMaxUnitPrice || *quantity <= 0 || *quantity > kMaxQuantity ||
      *surcharge < 0 || *discount < 0) {
    return BadParameter();
  }
  if (s.document != DocumentState::kCouponItems) return NotNow();
  if (!IsSpecialRate(rate) && !s.rates[RateSlot(rate)].programmed) {
    return Refuse(0, st2::kRateNotProgrammed, kRateNotProgrammed);
  }
  CouponItem item{request.code,
                  description,
                  rate,
                  request.unit,
                  static_cast<int>(*quantity),
                  *price,
                  *price * *quantity / 1000,
                  *discount,
                  false,
                  *surcharge};
  if (item.total + item.surcharge <= 0 || item.discount >= item.total + item.surcharge) {
    return NotNow();
  }
  const bool iss = IsIss(s, rate);
  s.grand_total += item.total + item.surcharge;
  s.day.gross_sales += item.total + item.surcharge;
  (iss ? s.day.iss_discounts : s.day.discounts) += item.discount;
  (iss ? s.day.iss_surcharges : s.day.surcharges) += item.surcharge;
  Book(s, rate, ItemNet(item));
  s.coupon.items.push_back(item);
  s.pending_description.clear();

  p.Print(Digits(static_cast<int>(s.coupon.items.size()), 3) + " " + item.code + " " +
          item.description);
  p.PrintLines(
      SpreadLines("    " + Quantity(item.quantity) + item.unit + " x " + Money(item.unit_price),
                  RateLabel(s, rate) + " " + Money(item.total), kW));
  if (item.surcharge > 0)
    p.Print(Spread(Utf8ToCp1252("    acréscimo item"), "+" + Money(item.surcharge), kW));
  if (item.discount > 0) p.Print(Spread("    desconto item", "-" + Money(item.discount), kW));
  return Done();
}

Outcome CancelItem(Printer& p, int number) {
  PrinterState& s = p.state();
  if (s.document != DocumentState::kCouponItems) return Refuse(0, st2::kCancelNotAllowed);
  auto& items = s.coupon.items;
  int index = number == 0 ? static_cast<int>(items.size()) : number;
  if (index < 1 || index > static_cast<int>(items.size()) || items[index - 1].cancelled) {
    return Refuse(0, st2::kCancelNotAllowed);
  }
  CouponItem& item = items[index - 1];
  item.cancelled = true;
  (IsIss(s, item.rate_code) ? s.day.iss_cancellations : s.day.cancellations) += ItemNet(item);
  Book(s, item.rate_code, -ItemNet(item));
  p.Print(Spread("cancelado item " + Digits(index, 3), "-" + Money(ItemNet(item)), kW));
  return Done();
}

Outcome AdjustSubtotal(Printer& p, Cents amount) {
  PrinterState& s = p.state();
  Coupon& c = s.coupon;
  std::map<std::string, Cents> by_rate;
  for (const CouponItem& item : c.items) {
    if (!item.cancelled) by_rate[item.rate_code] += ItemNet(item);
  }
  Cents base = 0;
  for (const auto& [code, value] : by_rate) base += value;
  if (base <= 0 || (amount < 0 && -amount >= CouponTotal(c))) return NotNow();
  Cents left = amount;
  std::size_t n = 0;
  for (const auto& [code, value] : by_rate) {
    Cents share = ++n == by_rate.size()
                      ? left
                      : static_cast<Cents>(static_cast<__int128>(amount) * value / base);
    left -= share;
    const bool iss = IsIss(s, code);
    if (share < 0) {
      (iss ? s.day.iss_discounts : s.day.discounts) += -share;
    } else {
      (iss ? s.day.iss_surcharges : s.day.surcharges) += share;
      s.day.gross_sales += share;
      s.grand_total += share;
    }
    Book(s, code, share);
    c.shares.push_back(RateShare{code, share});
  }
  (amount < 0 ? c.subtotal_discount : c.subtotal_surcharge) += amount < 0 ? -amount : amount;
  p.Print(Spread(amount < 0 ? "DESCONTO R$" : Utf8ToCp1252("ACRÉSCIMO R$"),
                 (amount < 0 ? "-" : "+") + Money(amount < 0 ? -amount : amount), kW));
  return Done();
}

Outcome StartClosing(Printer& p, const std::string& kind, const std::string& type,
                     const std::string& value) {
  std::string k = Upper(Trim(kind)), t = Trim(type);
  auto amount = ParseAmount(value, 2, 2);
  if ((k != "D" && k != "A") || (t != "$" && t != "%") || !amount || *amount < 0 ||
      (t == "%" && *amount > kMaxPercent)) {
    return BadParameter();
  }
  PrinterState& s = p.state();
  if (s.document != DocumentState::kCouponItems || !HasLiveItem(s.coupon)) return NotNow();
  Cents subtotal = CouponTotal(s.coupon);
  Cents adjustment =
      t == "$" ? *amount : static_cast<Cents>(static_cast<__int128>(subtotal) * *amount / 10000);
  if (k == "D" && adjustment >= subtotal) return NotNow();
  p.Print(std::string(kW, '-'));
  p.Print(Spread("SUBTOTAL R$", Money(subtotal), kW));
  if (adjustment > 0) {
    Outcome adjusted = AdjustSubtotal(p, k == "D" ? -adjustment : adjustment);
    if (adjusted.code != kOk) return adjusted;
  }
  p.Print(Spread("TOTAL R$", Money(CouponTotal(s.coupon)), kW));
  s.document = DocumentState::kCouponTotalled;
  return Done();
}

Outcome Pay(Printer& p, const std::string& form, const std::string& amount_text) {
  auto amount = ParseAmount(amount_text, 2, 2);
  if (Trim(form).empty() || !amount || *amount <= 0) return BadParameter();
  PrinterState& s = p.state();
  if (s.document != DocumentState::kCouponTotalled && s.document != DocumentState::kCouponPaying) {
    return NotNow();
  }
  int slot = FindPaymentForm(s, form);
  if (slot < 0) return Refuse(0, st2::kNotExecuted, kFormNotProgrammed);
  s.coupon.payments.push_back(CouponPayment{slot, *amount});
  s.payment_forms[slot].day_total += *amount;
  p.Print(Spread(s.payment_forms[slot].name, Money(*amount), kW));
  Cents paid = 0;
  for (const CouponPayment& payment : s.coupon.payments) paid += payment.amount;
  Cents total = CouponTotal(s.coupon);
  if (paid < total) {
    s.document = DocumentState::kCouponPaying;
    return Done();
  }
  if (paid > total) {
    s.payment_forms[0].day_total -= paid - total;  // change is given in cash
    p.Print(Spread("TROCO R$", Money(paid - total), kW));
  }
  s.document = DocumentState::kCouponPaid;
  return Done();
}

Outcome EndCoupon(Printer& p, const std::string& message) {
  if (message.size() > 4096) return BadParameter();
  PrinterState& s = p.state();
  if (s.document != DocumentState::kCouponPaid) return NotNow();
  // The footer opens with its own dashed line: a coupon without a message
  // goes straight to it.
  if (!message.empty()) {
    p.Print(std::string(kW, '-'));
    p.Print(message);
  }
  s.coupon.ended = true;
  Finish(p);
  s.last_coupon_cancellable = true;
  for (const CouponPayment& payment : s.coupon.payments) {
    if (s.payment_forms[payment.form].linked_allowed) s.linkable_payments.push_back(payment);
  }
  return Done();
}

Outcome CancelCoupon(Printer& p) {
  PrinterState& s = p.state();
  if (p.CouponOpen()) {
    Cents total = ReverseCoupon(s);
    p.Print(std::string(kW, '-'));
    p.Print(Centre("CUPOM FISCAL CANCELADO", kW));
    p.Print(Spread("TOTAL CANCELADO R$", Money(total), kW));
    Finish(p);
    return Done();
  }
  if (!s.last_coupon_cancellable || p.DocumentOpen()) return Refuse(0, st2::kCancelNotAllowed);
  if (Outcome day = p.CheckDay(); day.code != kOk) return day;
  int coo = s.coupon.coo;
  Cents total = ReverseCoupon(s);
  p.StartDocument("CF-CANC", "CANCELAMENTO DE CUPOM FISCAL");
  p.Print(Spread("COO do cupom cancelado:", Digits(coo, 6), kW));
  p.Print(Spread("VALOR CANCELADO R$", Money(total), kW));
  p.FinishDocument();
  return Done();
}

}  // namespace ecfsim
