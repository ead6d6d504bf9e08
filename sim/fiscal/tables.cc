#include "tables.h"

#include <algorithm>

#include "coupon.h"
#include "text.h"

namespace ecfsim {
namespace {

constexpr int kW = kTapeWidth;

Outcome WrongCount() { return Refuse(st1::kParameterCount, 0); }
Outcome Unreadable() { return Refuse(0, st2::kParameterType); }

// Tables and product codes as the printer compares them.
std::string KeyOf(const std::string& text) {
  std::string t = Trim(text);
  std::size_t first = t.find_first_not_of('0');
  return first == std::string::npos ? (t.empty() ? t : "0") : t.substr(first);
}

bool ValidRate(const PrinterState& s, const std::string& code) {
  if (code == "FF" || code == "II" || code == "NN") return true;
  auto n = code.size() == 2 ? ParseCount(code) : std::nullopt;
  return n && *n >= 1 && *n <= kTaxRateSlots && s.rates[*n - 1].programmed;
}

Cents ItemValue(const TableItem& item) {
  return item.unit_price * item.quantity / 1000 - item.discount;
}

Cents TableTotal(const std::vector<TableItem>& items) {
  Cents total = 0;
  for (const TableItem& item : items) total += ItemValue(item);
  return total;
}

// Reads price, quantity and discount fields into `item`.
bool ReadAmounts(TableItem& item, const std::string& price, const std::string& quantity,
                 const std::string& discount) {
  auto p = ParseAmount(price, 2, 2);
  auto q = ParseAmount(quantity, 3, 3);
  auto d = discount.empty() ? std::optional<Cents>(0) : ParseAmount(discount, 2, 2);
  if (!p || !q || !d || *p < 0 || *p > 99999999 || *q <= 0 || *q > 999999 || *d < 0) {
    return false;
  }
  item.unit_price = *p;
  item.quantity = static_cast<int>(*q);
  item.discount = *d;
  return true;
}

void Remember(PrinterState& s, const TableItem& item) {
  auto known = std::find_if(s.menu.begin(), s.menu.end(),
                            [&](const TableItem& m) { return KeyOf(m.code) == KeyOf(item.code); });
  TableItem entry = item;
  entry.quantity = 1000;
  entry.discount = 0;
  if (known == s.menu.end()) {
    s.menu.push_back(entry);
  } else {
    *known = entry;
  }
}

// Takes `quantity` of product `code` off `items`; false when not there.
bool TakeOff(std::vector<TableItem>& items, const std::string& code, int quantity) {
  auto item = std::find_if(items.begin(), items.end(), [&](const TableItem& i) {
    return KeyOf(i.code) == KeyOf(code) && i.quantity >= quantity;
  });
  if (item == items.end()) return false;
  item->quantity -= quantity;
  if (item->quantity == 0) items.erase(item);
  return true;
}

std::vector<std::string> ItemLines(const std::vector<TableItem>& items) {
  std::vector<std::string> lines;
  for (const TableItem& item : items) {
    lines.push_back(item.code + " " + item.description);
    for (std::string& line :
         SpreadLines("    " + Quantity(item.quantity) + item.unit + " x " + Money(item.unit_price),
                     Money(ItemValue(item)), kW)) {
      lines.push_back(std::move(line));
    }
  }
  return lines;
}

// Starts a printed table document after the usual checks.
Outcome StartReport(Printer& p, const std::string& kind, const std::string& title) {
  if (p.DocumentOpen()) return NotNow();
  if (Outcome day = p.CheckDay(); day.code != kOk) return day;
  p.OpenDayIfNeeded();
  p.StartDocument(kind, title);
  ++p.state().counters.gnf;
  return Done();
}

Outcome Register(Printer& p, const std::vector<std::string>& f) {
  if (f.size() != 10) return WrongCount();
  PrinterState& s = p.state();
  TableItem item{Trim(f[7]), TrimRight(f[8]), Upper(Trim(f[4])), Trim(f[9]), 0, 0, 0};
  if (KeyOf(f[2]).empty() || item.code.empty() || !ReadAmounts(item, f[3], f[6], f[5])) {
    return Unreadable();
  }
  if (!ValidRate(s, item.rate_code)) return Refuse(0, st2::kRateNotProgrammed);
  s.tables[KeyOf(f[2])].push_back(item);
  Remember(s, item);
  return Done();
}

Outcome Cancel(Printer& p, const std::vector<std::string>& f) {
  if (f.size() != 10) return WrongCount();
  TableItem item;
  if (!ReadAmounts(item, f[3], f[6], f[5])) return Unreadable();
  auto table = p.state().tables.find(KeyOf(f[2]));
  if (table == p.state().tables.end() || !TakeOff(table->second, f[7], item.quantity)) {
    return Refuse(0, st2::kCancelNotAllowed);
  }
  if (table->second.empty()) p.state().tables.erase(table);
  return Done();
}

Outcome Check(Printer& p, const std::vector<std::string>& f) {
  if (f.size() != 5 && f.size() != 6) return WrongCount();
  auto people = ParseCount(f[3]);
  auto fee = ParseAmount(f[4], 2, 2);
  if (!people || !fee) return Unreadable();
  const bool percent = f.size() == 5 && Trim(f[4]).size() == 4;
  auto table = p.state().tables.find(KeyOf(f[2]));
  if (table == p.state().tables.end()) return NotNow();
  std::vector<TableItem> items = table->second;
  if (Outcome started = StartReport(p, "CM", Utf8ToCp1252("CONFERÊNCIA DE MESA"));
      started.code != kOk) {
    return started;
  }
  ++p.state().counters.cer;
  p.Print(Spread("MESA: " + table->first, "CER:" + Digits(p.state().counters.cer, 6), kW));
  p.PrintLines(ItemLines(items));
  Cents total = TableTotal(items);
  Cents service = percent ? total * *fee / 10000 : *fee;
  p.Print(std::string(kW, '-'));
  p.Print(Spread("SUBTOTAL R$", Money(total), kW));
  if (service > 0) p.Print(Spread(Utf8ToCp1252("TAXA DE SERVIÇO R$"), Money(service), kW));
  p.Print(Spread("TOTAL R$", Money(total + service), kW));
  if (*people > 1)
    p.Print(Spread("POR PESSOA (" + std::to_string(*people) + ") R$",
                   Money((total + service) / *people), kW));
  p.FinishDocument();
  return Done();
}

Outcome CloseCheck(Printer& p, const std::vector<std::string>& f) {
  if (f.size() != 4) return WrongCount();
  auto amount = ParseAmount(f[3], 2, 2);
  if (!amount) return Unreadable();
  if (KeyOf(f[2]) == "0") return Done();
  auto table = p.state().tables.find(KeyOf(f[2]));
  if (table == p.state().tables.end()) return NotNow();
  std::string number = table->first;
  Cents total = TableTotal(table->second);
  if (Outcome started = StartReport(p, "CM", "FECHAMENTO DE MESA"); started.code != kOk) {
    return started;
  }
  p.state().tables.erase(number);
  p.Print(Spread("MESA: " + number, "TOTAL R$ " + Money(total), kW));
  p.Print(Spread("PAGO R$", Money(*amount), kW));
  p.FinishDocument();
  return Done();
}

Outcome Join(Printer& p, const std::vector<std::string>& f) {
  if (f.size() != 4) return WrongCount();
  auto& tables = p.state().tables;
  auto from = tables.find(KeyOf(f[2]));
  std::string to = KeyOf(f[3]);
  if (from == tables.end() || to.empty() || to == from->first) return NotNow();
  std::vector<TableItem> moved = std::move(from->second);
  tables.erase(from);
  auto& target = tables[to];
  target.insert(target.end(), moved.begin(), moved.end());
  return Done();
}

Outcome OpenFromTable(Printer& p, const std::vector<std::string>& f) {
  if (f.size() != 4) return WrongCount();
  PrinterState& s = p.state();
  auto table = s.tables.find(KeyOf(f[2]));
  if (table == s.tables.end() || table->second.empty()) return NotNow();
  std::vector<TableItem> items = table->second;
  for (const TableItem& item : items) {
    if (!ValidRate(s, item.rate_code)) return Refuse(0, st2::kRateNotProgrammed);
  }
  if (Outcome opened = OpenCoupon(p, Trim(f[3]), "", ""); opened.code != kOk) return opened;
  s.tables.erase(table);
  for (const TableItem& item : items) {
    SellItem(p, ItemRequest{item.code, item.description, item.rate_code,
                            Digits(item.unit_price, 9) + "0", Digits(item.quantity, 7), "",
                            Digits(item.discount, 8), "01", item.unit});
  }
  return Done();
}

Outcome Transfer(Printer& p, const std::vector<std::string>& f) {
  if (f.size() != 11) return WrongCount();
  PrinterState& s = p.state();
  TableItem item{Trim(f[7]), TrimRight(f[8]), Upper(Trim(f[9])), Trim(f[10]), 0, 0, 0};
  if (!ReadAmounts(item, f[5], f[6], "") || KeyOf(f[4]).empty()) return Unreadable();
  auto origin = s.tables.find(KeyOf(f[2]));
  if (origin == s.tables.end() || !TakeOff(origin->second, item.code, item.quantity)) {
    return Refuse(0, st2::kCancelNotAllowed);
  }
  if (origin->second.empty()) s.tables.erase(origin);
  s.tables[KeyOf(f[4])].push_back(item);
  return Done();
}

Outcome ListTables(Printer& p, const std::vector<std::string>& f) {
  if (f.size() != 3) return WrongCount();
  std::vector<std::string> lines;
  for (const auto& [number, items] : p.state().tables) {
    lines.push_back(Spread("MESA " + number + " (" + std::to_string(items.size()) + " itens)",
                           Money(TableTotal(items)), kW));
  }
  if (lines.empty()) lines.push_back("Nenhuma mesa aberta.");
  if (Outcome started = StartReport(p, "RG", "MESAS ABERTAS"); started.code != kOk) {
    return started;
  }
  ++p.state().counters.grg;
  p.PrintLines(lines);
  p.FinishDocument();
  return Done();
}

Outcome PrintMenu(Printer& p, const std::vector<std::string>& f) {
  if (f.size() != 2) return WrongCount();
  std::vector<std::string> lines;
  for (const TableItem& item : p.state().menu) {
    lines.push_back(Spread(item.code + " " + item.description, Money(item.unit_price), kW));
  }
  if (lines.empty()) lines.push_back("Nenhum produto registrado.");
  if (Outcome started = StartReport(p, "RG", Utf8ToCp1252("CARDÁPIO")); started.code != kOk)
    return started;
  ++p.state().counters.grg;
  p.PrintLines(lines);
  p.FinishDocument();
  return Done();
}

}  // namespace

bool TableCommandPrints(const std::string& subcommand) {
  return subcommand == "50" || subcommand == "52" || subcommand == "54" || subcommand == "55" ||
         subcommand == "58";
}

Outcome TableCommand(Printer& p, const std::vector<std::string>& fields) {
  const std::string sub = fields.size() > 1 ? fields[1] : "";
  if (sub == "48") return Register(p, fields);
  if (sub == "49") return Cancel(p, fields);
  if (sub == "50") return Check(p, fields);
  if (sub == "51") return Join(p, fields);
  if (sub == "52") return OpenFromTable(p, fields);
  if (sub == "53") return Transfer(p, fields);
  if (sub == "54") return ListTables(p, fields);
  if (sub == "55") return PrintMenu(p, fields);
  if (sub == "58") return CloseCheck(p, fields);
  return Refuse(st1::kUnknownCommand, 0);
}

}  // namespace ecfsim
