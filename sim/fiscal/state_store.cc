#include "state_store.h"

#include <climits>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <sstream>

#include "text.h"

namespace ecfsim {
namespace {

std::string Escape(const std::string& text) {
  std::string out;
  for (char c : Cp1252ToUtf8(text)) {
    if (c == '\\') {
      out += "\\\\";
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else {
      out += c;
    }
  }
  return out;
}

std::string Unescape(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 1 < text.size()) {
      char next = text[++i];
      out += next == 'n' ? '\n' : next == 'r' ? '\r' : next;
    } else {
      out += text[i];
    }
  }
  return Utf8ToCp1252(out);
}

class Writer {
 public:
  static constexpr bool kReading = false;
  void Field(const std::string& key, int& v) { out_ += key + "=" + std::to_string(v) + "\n"; }
  void Field(const std::string& key, std::int64_t& v) {
    out_ += key + "=" + std::to_string(v) + "\n";
  }
  void Field(const std::string& key, bool& v) { out_ += key + "=" + (v ? "1" : "0") + "\n"; }
  void Field(const std::string& key, std::string& v) { out_ += key + "=" + Escape(v) + "\n"; }
  const std::string& text() const { return out_; }

 private:
  std::string out_;
};

// Reads figures back, refusing any that does not parse or does not fit
// its field: a memory that says something impossible is damaged, and a
// damaged memory must never pass for a printer's real figures.
class Reader {
 public:
  static constexpr bool kReading = true;
  explicit Reader(std::map<std::string, std::string> values) : values_(std::move(values)) {}
  void Field(const std::string& key, int& v) {
    if (auto n = Number(key, INT_MIN, INT_MAX)) v = static_cast<int>(*n);
  }
  void Field(const std::string& key, std::int64_t& v) {
    if (auto n = Number(key, INT64_MIN + 1, INT64_MAX)) v = *n;
  }
  void Field(const std::string& key, bool& v) {
    if (auto n = Number(key, 0, 1)) v = *n != 0;
  }
  void Field(const std::string& key, std::string& v) {
    auto it = values_.find(key);
    if (it != values_.end()) v = Unescape(it->second);
  }
  // A list cannot have more members than the file has lines.
  int MaxListSize() const { return static_cast<int>(values_.size()); }
  void Problem(const std::string& problem) {
    if (problem_.empty()) problem_ = problem;
  }
  const std::string& problem() const { return problem_; }

 private:
  std::optional<std::int64_t> Number(const std::string& key, std::int64_t low, std::int64_t high) {
    auto it = values_.find(key);
    if (it == values_.end()) return std::nullopt;
    const std::optional<std::int64_t> n = ParseInteger(it->second);
    if (!n || *n < low || *n > high) {
      Problem("valor impossível em " + key + ": \"" + it->second + "\"");
      return std::nullopt;
    }
    return n;
  }
  std::map<std::string, std::string> values_;
  std::string problem_;
};

std::string Key(const std::string& prefix, int index, int width = 2) {
  return prefix + "." + Digits(index, width);
}

template <class Io>
void VisitRate(Io& io, const std::string& k, TaxRate& r) {
  io.Field(k + ".programmed", r.programmed);
  io.Field(k + ".rate", r.rate);
  io.Field(k + ".iss", r.iss);
  io.Field(k + ".day_base", r.day_base);
}

// Empty positions are left out of a reduction record (it starts empty when
// read); the printer's own tables are written whole, since a factory printer
// has positions programmed that a later reset may have freed.
template <class Io>
void VisitTables(Io& io, const std::string& k, std::array<TaxRate, kTaxRateSlots>& rates,
                 std::array<NonFiscalTotalizer, kTotalizerSlots>& totalizers,
                 std::array<PaymentForm, kPaymentFormSlots>& forms, bool skip_empty) {
  const bool skip = skip_empty && !Io::kReading;
  for (int i = 0; i < kTaxRateSlots; ++i) {
    if (skip && !rates[i].programmed && rates[i].day_base == 0) continue;
    VisitRate(io, Key(k + "rate", i + 1), rates[i]);
  }
  for (int i = 0; i < kTotalizerSlots; ++i) {
    NonFiscalTotalizer& t = totalizers[i];
    if (skip && t.name.empty() && t.day_total == 0 && t.day_count == 0) continue;
    std::string tk = Key(k + "totalizer", i + 1);
    io.Field(tk + ".name", t.name);
    io.Field(tk + ".day_total", t.day_total);
    io.Field(tk + ".day_count", t.day_count);
  }
  for (int i = 0; i < kPaymentFormSlots; ++i) {
    PaymentForm& f = forms[i];
    if (skip && f.name.empty() && f.day_total == 0) continue;
    std::string fk = Key(k + "form", i + 1);
    io.Field(fk + ".name", f.name);
    io.Field(fk + ".linked_allowed", f.linked_allowed);
    io.Field(fk + ".day_total", f.day_total);
  }
}

template <class Io>
void VisitDay(Io& io, const std::string& k, DayFigures& d) {
  io.Field(k + "gross_sales", d.gross_sales);
  io.Field(k + "cancellations", d.cancellations);
  io.Field(k + "discounts", d.discounts);
  io.Field(k + "surcharges", d.surcharges);
  io.Field(k + "iss_cancellations", d.iss_cancellations);
  io.Field(k + "iss_discounts", d.iss_discounts);
  io.Field(k + "iss_surcharges", d.iss_surcharges);
  io.Field(k + "substitution", d.substitution);
  io.Field(k + "exempt", d.exempt);
  io.Field(k + "not_taxed", d.not_taxed);
  io.Field(k + "supplies", d.supplies);
  io.Field(k + "withdrawals", d.withdrawals);
  io.Field(k + "supply_count", d.supply_count);
  io.Field(k + "withdrawal_count", d.withdrawal_count);
  io.Field(k + "first_coo", d.first_coo);
  io.Field(k + "coupons", d.coupons);
  io.Field(k + "cancelled_coupons", d.cancelled_coupons);
  io.Field(k + "opened_at", d.opened_at);
  io.Field(k + "issuing_seconds", d.issuing_seconds);
}

template <class Io>
void VisitIdentity(Io& io, PrinterIdentity& id) {
  io.Field("identity.owner_name", id.owner_name);
  io.Field("identity.owner_address", id.owner_address);
  io.Field("identity.serial_number", id.serial_number);
  io.Field("identity.register_number", id.register_number);
  io.Field("identity.brand", id.brand);
  io.Field("identity.model", id.model);
  io.Field("identity.printer_type", id.printer_type);
  io.Field("identity.firmware", id.firmware);
  io.Field("identity.model_number", id.model_number);
  io.Field("identity.owner_cnpj", id.owner_cnpj);
  io.Field("identity.owner_ie", id.owner_ie);
  io.Field("identity.owner_im", id.owner_im);
  io.Field("identity.user_recorded_at", id.user_recorded_at);
  io.Field("identity.software_recorded_at", id.software_recorded_at);
  io.Field("identity.additional_memory", id.additional_memory);
  io.Field("identity.user_number", id.user_number);
}

template <class Io>
void VisitCounters(Io& io, Counters& c) {
  io.Field("counters.coo", c.coo);
  io.Field("counters.crz", c.crz);
  io.Field("counters.cro", c.cro);
  io.Field("counters.gnf", c.gnf);
  io.Field("counters.ccf", c.ccf);
  io.Field("counters.cfc", c.cfc);
  io.Field("counters.grg", c.grg);
  io.Field("counters.cdc", c.cdc);
  io.Field("counters.cer", c.cer);
  io.Field("counters.ncn", c.ncn);
  io.Field("counters.interventions", c.interventions);
  io.Field("counters.owner_substitutions", c.owner_substitutions);
}

// A list is stored as "<key>.count" followed by its members "<key>.0001...".
template <class Io, class T, class Each>
void VisitList(Io& io, const std::string& key, std::vector<T>& list, Each each) {
  int count = static_cast<int>(list.size());
  io.Field(key + ".count", count);
  if constexpr (Io::kReading) {
    if (count < 0 || count > io.MaxListSize()) {
      io.Problem("contagem impossível em " + key + ".count: " + std::to_string(count));
      count = 0;
    }
    list.resize(count);
  }
  for (std::size_t i = 0; i < list.size(); ++i) each(Key(key, static_cast<int>(i) + 1, 4), list[i]);
}

template <class Io>
void VisitReduction(Io& io, const std::string& k, ReductionRecord& r) {
  io.Field(k + ".crz", r.crz);
  io.Field(k + ".cro", r.cro);
  io.Field(k + ".coo", r.coo);
  io.Field(k + ".first_coo", r.first_coo);
  io.Field(k + ".gnf", r.gnf);
  io.Field(k + ".ccf", r.ccf);
  io.Field(k + ".cfc", r.cfc);
  io.Field(k + ".grg", r.grg);
  io.Field(k + ".cdc", r.cdc);
  io.Field(k + ".movement_date", r.movement_date);
  io.Field(k + ".reduced_at", r.reduced_at);
  io.Field(k + ".grand_total", r.grand_total);
  VisitDay(io, k + ".day.", r.day);
  VisitTables(io, k + ".", r.rates, r.totalizers, r.payment_forms, true);
}

template <class Io>
void VisitPayments(Io& io, const std::string& key, std::vector<CouponPayment>& payments) {
  VisitList(io, key, payments, [&io](const std::string& k, CouponPayment& p) {
    io.Field(k + ".form", p.form);
    io.Field(k + ".amount", p.amount);
  });
}

template <class Io>
void VisitCoupon(Io& io, Coupon& c) {
  io.Field("coupon.coo", c.coo);
  io.Field("coupon.buyer_id", c.buyer_id);
  io.Field("coupon.buyer_name", c.buyer_name);
  io.Field("coupon.buyer_address", c.buyer_address);
  io.Field("coupon.opened_at", c.opened_at);
  io.Field("coupon.subtotal_discount", c.subtotal_discount);
  io.Field("coupon.subtotal_surcharge", c.subtotal_surcharge);
  io.Field("coupon.ended", c.ended);
  VisitList(io, "coupon.item", c.items, [&io](const std::string& k, CouponItem& item) {
    io.Field(k + ".code", item.code);
    io.Field(k + ".description", item.description);
    io.Field(k + ".rate_code", item.rate_code);
    io.Field(k + ".unit", item.unit);
    io.Field(k + ".quantity", item.quantity);
    io.Field(k + ".unit_price", item.unit_price);
    io.Field(k + ".total", item.total);
    io.Field(k + ".discount", item.discount);
    io.Field(k + ".cancelled", item.cancelled);
    io.Field(k + ".surcharge", item.surcharge);
  });
  VisitPayments(io, "coupon.payment", c.payments);
  VisitList(io, "coupon.share", c.shares, [&io](const std::string& k, RateShare& share) {
    io.Field(k + ".rate_code", share.rate_code);
    io.Field(k + ".amount", share.amount);
  });
}

template <class Io>
void VisitTableItems(Io& io, const std::string& key, std::vector<TableItem>& items) {
  VisitList(io, key, items, [&io](const std::string& k, TableItem& item) {
    io.Field(k + ".code", item.code);
    io.Field(k + ".description", item.description);
    io.Field(k + ".rate_code", item.rate_code);
    io.Field(k + ".unit", item.unit);
    io.Field(k + ".quantity", item.quantity);
    io.Field(k + ".unit_price", item.unit_price);
    io.Field(k + ".discount", item.discount);
  });
}

template <class Io>
void VisitRestaurantTables(Io& io, std::map<std::string, std::vector<TableItem>>& tables) {
  std::vector<std::pair<std::string, std::vector<TableItem>>> list(tables.begin(), tables.end());
  VisitList(io, "table", list, [&io](const std::string& k, auto& table) {
    io.Field(k + ".number", table.first);
    VisitTableItems(io, k + ".item", table.second);
  });
  if (Io::kReading) tables = {list.begin(), list.end()};
}

template <class Io>
void Visit(Io& io, PrinterState& s) {
  VisitIdentity(io, s.identity);
  VisitCounters(io, s.counters);
  io.Field("grand_total", s.grand_total);
  io.Field("movement_date", s.movement_date);
  io.Field("last_reduced_date", s.last_reduced_date);
  io.Field("clock_offset_seconds", s.clock_offset_seconds);
  io.Field("daylight_saving", s.daylight_saving);
  io.Field("tef_mode", s.tef_mode);
  io.Field("drawer_open", s.drawer_open);
  io.Field("paper_low_commands", s.paper_low_commands);
  io.Field("paper_out_commands", s.paper_out_commands);
  VisitTables(io, "", s.rates, s.totalizers, s.payment_forms, false);
  VisitDay(io, "day.", s.day);
  int document = static_cast<int>(s.document);
  io.Field("document", document);
  s.document = static_cast<DocumentState>(document);
  io.Field("open_document_coo", s.open_document_coo);
  io.Field("open_document_kind", s.open_document_kind);
  io.Field("last_coupon_cancellable", s.last_coupon_cancellable);
  VisitPayments(io, "linkable_payment", s.linkable_payments);
  io.Field("pending_description", s.pending_description);
  VisitCoupon(io, s.coupon);
  VisitRestaurantTables(io, s.tables);
  VisitTableItems(io, "menu", s.menu);
  VisitList(io, "reduction", s.reductions,
            [&io](const std::string& k, ReductionRecord& r) { VisitReduction(io, k, r); });
}

}  // namespace

std::string MemoryPath(const std::string& directory) { return directory + "/memory.txt"; }

PrinterState FactoryState() {
  PrinterState s;
  s.payment_forms[0] = PaymentForm{"Dinheiro", false, 0};
  const int goods[] = {1800, 1200, 700, 2500};
  for (int i = 0; i < 4; ++i) s.rates[i] = TaxRate{true, goods[i], false, 0};
  s.rates[4] = TaxRate{true, 500, true, 0};
  return s;
}

std::string MemoryChecksum(std::string_view bytes) {
  std::uint64_t hash = 14695981039346656037ull;  // FNV-1a, 64 bits
  for (unsigned char c : bytes) {
    hash ^= c;
    hash *= 1099511628211ull;
  }
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
  return text;
}

MemoryLoad LoadState(const std::string& directory, PrinterState& state) {
  state = FactoryState();
  std::ifstream in(MemoryPath(directory), std::ios::binary);
  if (!in) return {LoadStatus::kMissing, {}};
  std::ostringstream whole;
  whole << in.rdbuf();
  const std::string bytes = whole.str();
  // The last line seals everything before it; a file cut short has none.
  const std::size_t seal = bytes.rfind(kEndMarker);
  if (seal == std::string::npos || (seal != 0 && bytes[seal - 1] != '\n')) {
    return {LoadStatus::kDamaged,
            "arquivo incompleto (" + std::to_string(bytes.size()) + " bytes, sem a marca de fim)"};
  }
  std::string recorded = bytes.substr(seal + kEndMarker.size());
  while (!recorded.empty() && (recorded.back() == '\n' || recorded.back() == '\r')) {
    recorded.pop_back();
  }
  // A person who edits the file by hand leaves the checksum out ("end=").
  if (!recorded.empty() && recorded != MemoryChecksum(std::string_view(bytes).substr(0, seal))) {
    return {LoadStatus::kDamaged,
            "soma de verificação não confere (marca de fim no byte " + std::to_string(seal) + ")"};
  }
  std::map<std::string, std::string> values;
  std::istringstream lines(bytes.substr(0, seal));
  std::string line;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::size_t eq = line.find('=');
    if (line.empty() || line[0] == '#' || eq == std::string::npos) continue;
    values[line.substr(0, eq)] = line.substr(eq + 1);
  }
  Reader reader(std::move(values));
  Visit(reader, state);
  if (!reader.problem().empty()) {
    state = FactoryState();
    return {LoadStatus::kDamaged, reader.problem()};
  }
  return {LoadStatus::kLoaded, {}};
}

bool SaveState(const std::string& directory, const PrinterState& state) {
  std::error_code ec;
  std::filesystem::create_directories(directory, ec);
  PrinterState copy = state;
  Writer writer;
  Visit(writer, copy);
  const std::string body =
      "# Memory of the simulated fiscal printer; one figure per line.\n" + writer.text();
  const std::string path = MemoryPath(directory);
  // Two processes on one folder must never write the same temporary file.
  static const unsigned long long process_tag = std::random_device{}();
  static unsigned long long counter = 0;
  const std::string temporary =
      path + "." + std::to_string(process_tag) + "-" + std::to_string(++counter) + ".tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out << body << kEndMarker << MemoryChecksum(body) << "\n";
    if (!out.flush()) {
      out.close();
      std::filesystem::remove(temporary, ec);
      return false;
    }
  }
  std::filesystem::rename(temporary, path, ec);
  if (ec) std::filesystem::remove(temporary, ec);
  return !ec;
}

}  // namespace ecfsim
