#include "sale_checks.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>

#include "options.h"
#include "zel/codepage.h"
#include "zel/error.h"

namespace ecfhost {
namespace {

// Stands for an amount too large for any of the printer's fields, small
// enough that a few of them add up without overflowing.
constexpr std::int64_t kBeyondEveryField = 100000000000000000;

// `amount` (not negative) in units of 10^-decimals, cut or rounded half
// away from zero as the driver does: on the number's 15-significant-digit
// decimal form, so that 1.15 (1.149999... in binary) is 1,15 once cut.
std::int64_t Scaled(double amount, int decimals, bool cut) {
  if (!(amount > 0)) return 0;
  char text[32];
  std::snprintf(text, sizeof text, "%.14e", amount);  // "d.dddddddddddddde+XX"
  std::int64_t digits = 0;
  for (const char* c = text; *c != 'e'; ++c) {
    if (*c != '.') digits = digits * 10 + (*c - '0');
  }
  const int shift = std::atoi(std::strchr(text, 'e') + 1) - 14 + decimals;
  if (shift > 2) return kBeyondEveryField;
  if (shift >= 0) {
    for (int i = 0; i < shift; ++i) digits *= 10;
    return digits;
  }
  if (shift < -18) return 0;
  std::int64_t unit = 1;
  for (int i = 0; i < -shift; ++i) unit *= 10;
  const std::int64_t whole = digits / unit;
  return cut || (digits % unit) * 2 < unit ? whole : whole + 1;
}

std::int64_t CutToCents(double amount) { return Scaled(amount, 2, true); }
std::int64_t RoundToCents(double amount) { return Scaled(amount, 2, false); }

// A number as the cashier typed it, with a decimal comma: "0,001".
std::string Typed(double value) {
  char text[40];
  std::snprintf(text, sizeof text, "%.10g", value);
  std::string typed = text;
  std::replace(typed.begin(), typed.end(), '.', ',');
  return typed;
}

std::string Quoted(const std::string& cp1252) { return "'" + zel::Cp1252ToUtf8(cp1252) + "'"; }

std::string ItemLabel(const SaleItem& item) { return "do item " + Quoted(item.name); }

bool IsCancelled(const SaleRequest& sale, std::size_t index) {
  return std::find(sale.cancelled_items.begin(), sale.cancelled_items.end(),
                   static_cast<int>(index) + 1) != sale.cancelled_items.end();
}

std::int64_t ItemNetCents(const SaleItem& item) {
  return ItemTotalCents(item) - CutToCents(item.discount);
}

// The length of the UTF-8 sequence led by `lead`, 0 for a byte that leads
// none.
std::size_t SequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

char32_t CodePoint(std::string_view sequence) {
  static constexpr unsigned char kLeadMask[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
  char32_t code = static_cast<unsigned char>(sequence[0]) & kLeadMask[sequence.size()];
  for (std::size_t i = 1; i < sequence.size(); ++i) {
    code = (code << 6) | (static_cast<unsigned char>(sequence[i]) & 0x3F);
  }
  return code;
}

std::string ControlName(char32_t code) {
  switch (code) {
    case '\t':
      return "TAB";
    case '\n':
      return "quebra de linha";
    case '\r':
      return "retorno de carro";
    default: {
      char name[16];
      std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(code));
      return name;
    }
  }
}

}  // namespace

void CheckItem(const SaleItem& item) {
  const std::string label = ItemLabel(item);
  const std::int64_t quantity = QuantityThousandths(item.quantity);
  const std::int64_t price = PriceCents(item.price);
  if (quantity < 1) {
    Fail("a quantidade " + label + " (" + Typed(item.quantity) +
         ") fica em 0,000 na impressora, que usa três casas decimais");
  }
  if (quantity > kMaxQuantityThousandths) {
    Fail("a quantidade " + label + " (" + Typed(item.quantity) +
         ") passa do limite da impressora (9999,999)");
  }
  if (price > kMaxPriceCents) {
    Fail("o preço " + label + " (" + Typed(item.price) +
         ") passa do limite da impressora (9999999,99)");
  }
  if (price < 1) {
    Fail("o preço " + label + " (" + Typed(item.price) +
         ") fica em 0,00 na impressora, que corta o preço nos centavos");
  }
  if (ItemTotalCents(item) < 1) {
    Fail("o total " + label + " (" + Typed(item.quantity) + " x " + CentsText(price) +
         ") fica em 0,00 na impressora, que corta o total nos centavos");
  }
  const std::int64_t discount = CutToCents(item.discount);
  if (discount > kMaxItemDiscountCents) {
    Fail("o desconto " + label + " (" + Typed(item.discount) +
         ") passa do limite da impressora (999999,99)");
  }
  if (discount >= ItemTotalCents(item)) {
    Fail("o desconto " + label + " (" + CentsText(discount) +
         ") não é menor que o total do item (" + CentsText(ItemTotalCents(item)) + ")");
  }
}

void Fail(const std::string& utf8) { throw zel::Error(zel::Utf8ToCp1252(utf8)); }

void Mistake(const std::string& utf8) { throw UsageError(zel::Utf8ToCp1252(utf8)); }

std::int64_t PriceCents(double price) { return CutToCents(price); }

std::int64_t QuantityThousandths(double quantity) { return Scaled(quantity, 3, false); }

std::int64_t ItemTotalCents(const SaleItem& item) {
  return PriceCents(item.price) * QuantityThousandths(item.quantity) / 1000;
}

SaleFigures PrinterFigures(const SaleRequest& sale) {
  SaleFigures figures;
  for (std::size_t i = 0; i < sale.items.size(); ++i) {
    if (!IsCancelled(sale, i)) figures.due += ItemNetCents(sale.items[i]);
  }
  // The driver cuts the subtotal's discount and surcharge to cents too, and
  // sends each payment rounded to cents.
  figures.due += CutToCents(sale.surcharge) - CutToCents(sale.discount);
  for (const SalePayment& payment : sale.payments) figures.paid += RoundToCents(payment.amount);
  figures.change = std::max<std::int64_t>(0, figures.paid - figures.due);
  return figures;
}

double AmountDue(const SaleRequest& sale) {
  return static_cast<double>(PrinterFigures(sale).due) / 100.0;
}

std::string CentsText(std::int64_t cents) {
  char text[40];
  const std::int64_t whole = (cents < 0 ? -cents : cents);
  std::snprintf(text, sizeof text, "%s%lld,%02lld", cents < 0 ? "-" : "",
                static_cast<long long>(whole / 100), static_cast<long long>(whole % 100));
  return text;
}

void CheckSale(const SaleRequest& sale) {
  if (sale.items.empty()) Mistake("uma venda precisa de pelo menos um --item");
  if (sale.payments.empty()) Mistake("uma venda precisa de pelo menos um --pay");
  if (sale.discount > 0 && sale.surcharge > 0) {
    Mistake("um cupom leva desconto ou acréscimo no subtotal, não os dois");
  }
  std::set<int> cancelled;
  for (int number : sale.cancelled_items) {
    if (number < 1 || number > static_cast<int>(sale.items.size())) {
      Fail("não há item " + std::to_string(number) + " para cancelar");
    }
    if (!cancelled.insert(number).second) {
      Fail("o item " + std::to_string(number) + " foi cancelado duas vezes");
    }
  }
  if (cancelled.size() == sale.items.size()) {
    Fail("todos os itens seriam cancelados: não há venda a registrar");
  }
  for (const SaleItem& item : sale.items) CheckItem(item);
  const SaleFigures figures = PrinterFigures(sale);
  if (figures.due <= 0) {
    Fail("o desconto no subtotal (" + CentsText(CutToCents(sale.discount)) +
         ") não é menor que o subtotal (" + CentsText(figures.due + CutToCents(sale.discount)) +
         ")");
  }
  if (figures.paid < figures.due) {
    Fail("os pagamentos (" + CentsText(figures.paid) + ") não cobrem o total do cupom (" +
         CentsText(figures.due) + ")");
  }
  // The printer closes the payments as soon as they cover the total: a
  // payment after that would be refused with the coupon open.
  std::int64_t paid = 0;
  for (std::size_t i = 0; i + 1 < sale.payments.size(); ++i) {
    paid += RoundToCents(sale.payments[i].amount);
    if (paid >= figures.due) {
      Fail("os pagamentos até " + zel::Cp1252ToUtf8(sale.payments[i].form) + " (" +
           CentsText(paid) + ") já cobrem o total do cupom (" + CentsText(figures.due) +
           "): a impressora não aceita pagamento depois disso; o troco sai do último");
    }
  }
}

void CheckPrintable(std::string_view utf8, const std::string& what) {
  std::vector<std::string> unprintable;
  for (std::size_t at = 0; at < utf8.size();) {
    const std::size_t length = SequenceLength(static_cast<unsigned char>(utf8[at]));
    bool valid = length > 0 && at + length <= utf8.size();
    for (std::size_t i = 1; valid && i < length; ++i) {
      valid = (static_cast<unsigned char>(utf8[at + i]) & 0xC0) == 0x80;
    }
    if (!valid) {
      Fail(what + " não é texto UTF-8 válido (byte " + std::to_string(at + 1) + ")");
    }
    const std::string_view sequence = utf8.substr(at, length);
    const char32_t code = CodePoint(sequence);
    if (code < 0x20 || code == 0x7F || (code >= 0x80 && code <= 0x9F)) {
      Fail(what + " tem um caractere de controle (" + ControlName(code) + ") na posição " +
           std::to_string(at + 1) + "; a impressora não o imprime: tire-o do texto");
    }
    if (length > 1 && zel::Utf8ToCp1252(sequence) == "?") {
      char name[16];
      std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(code));
      unprintable.push_back(name);
    }
    at += length;
  }
  if (unprintable.empty()) return;
  std::string names;
  for (const std::string& name : unprintable) names += (names.empty() ? "" : ", ") + name;
  // Refused rather than printed as '?': the coupon is a fiscal document the
  // customer keeps, and its text must say what the cashier meant.
  Fail(what + " tem caracteres que a impressora não imprime (" + names +
       "); ela imprime só os do Windows-1252 (letras acentuadas sim, emoji e símbolos "
       "como esses não)");
}

std::vector<std::string> CutWarnings(const SaleRequest& sale) {
  std::vector<std::string> warnings;
  for (const SaleItem& item : sale.items) {
    if (item.name.size() > kItemNameWidth) {
      warnings.push_back("o nome do item " + zel::Cp1252ToUtf8(item.code) + " tem " +
                         std::to_string(item.name.size()) +
                         " caracteres; a impressora imprime só " + std::to_string(kItemNameWidth) +
                         ": " + Quoted(item.name.substr(0, kItemNameWidth)));
    }
    if (item.unit.size() > kItemUnitWidth) {
      warnings.push_back("a unidade " + Quoted(item.unit) + " " + ItemLabel(item) + " tem " +
                         std::to_string(item.unit.size()) +
                         " caracteres; a impressora imprime só " + std::to_string(kItemUnitWidth) +
                         ": " + Quoted(item.unit.substr(0, kItemUnitWidth)));
    }
  }
  return warnings;
}

void CheckRates(const SaleRequest& sale, const std::vector<std::string>& programmed) {
  for (const SaleItem& item : sale.items) {
    if (std::find(programmed.begin(), programmed.end(), item.rate) != programmed.end()) continue;
    std::string list;
    for (const std::string& rate : programmed) list += (list.empty() ? "" : ", ") + rate;
    Fail("a alíquota '" + item.rate + "' " + ItemLabel(item) +
         " não está programada na impressora; as posições programadas são: " + list);
  }
}

}  // namespace ecfhost
