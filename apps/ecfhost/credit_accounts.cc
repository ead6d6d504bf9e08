#include "credit_accounts.h"

#include <cstdio>
#include <map>
#include <set>
#include <sstream>

#include "options.h"
#include "zel/codepage.h"
#include "zel/date_time.h"
#include "zel/env.h"
#include "zel/error.h"

namespace ecfhost {
namespace {

constexpr char kMovementsFile[] = "credito-movimentos.csv";
constexpr char kItemsFile[] = "credito-itens.csv";

std::vector<std::string> Split(const std::string& line) {
  std::vector<std::string> fields;
  std::stringstream stream(line);
  for (std::string field; std::getline(stream, field, ';');) fields.push_back(field);
  if (!line.empty() && line.back() == ';') fields.emplace_back();
  return fields;
}

// The lines of `path` that carry data, each split into `count` fields.
std::vector<std::vector<std::string>> Records(const std::string& path, std::size_t count) {
  std::vector<std::vector<std::string>> records;
  zel::Env* env = zel::Env::Default();
  if (!env->FileExists(path)) return records;
  int number = 0;
  for (const std::string& line : env->ReadLines(path)) {
    ++number;
    if (line.empty() || line[0] == '#') continue;
    std::vector<std::string> fields = Split(line);
    if (fields.size() != count) {
      throw zel::Error(path + ", linha " + std::to_string(number) + ": esperados " +
                       std::to_string(count) + " campos separados por ';', não " +
                       std::to_string(fields.size()));
    }
    records.push_back(std::move(fields));
  }
  return records;
}

// A signed amount as these files keep it ("-12.50").
// A bad value in a file is a failed check, not a mistake on the command line.
double SignedAmount(const std::string& text, const std::string& what) {
  try {
    if (!text.empty() && text[0] == '-') return -ParseAmount(text.substr(1), what);
    return ParseAmount(text, what);
  } catch (const UsageError& error) {
    throw zel::Error(error.what());
  }
}

std::string AmountText(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.2f", value);
  return text;
}

zel::DateTime ParseDate(const std::string& text) {
  int day = 0, month = 0, year = 0;
  if (std::sscanf(text.c_str(), "%d/%d/%d", &day, &month, &year) != 3 ||
      !zel::IsValidDate(year, month, day)) {
    throw zel::Error("'" + text + "' não é uma data DD/MM/AAAA");
  }
  return zel::EncodeDate(year, month, day);
}

zel::Dataset Table(const char* name, std::initializer_list<zel::FieldDef> fields) {
  zel::Dataset table(name);
  table.SetFieldDefs(fields);
  table.CreateDataSet();
  return table;
}

void Add(zel::Dataset& table, std::initializer_list<zel::Variant> values) {
  table.Append();
  std::size_t i = 0;
  for (const zel::Variant& value : values) table.SetValue(table.FieldDefs()[i++].name, value);
  table.Post();
}

std::string Cp(const std::string& utf8) { return zel::Utf8ToCp1252(utf8); }

}  // namespace

CreditAccounts::CreditAccounts(const std::string& consumers_file, const std::string& folder)
    : movements_path_(folder + "/" + kMovementsFile), items_path_(folder + "/" + kItemsFile) {
  if (!zel::Env::Default()->FileExists(consumers_file)) {
    throw zel::Error("arquivo de consumidores não encontrado: " + consumers_file);
  }
  for (const auto& f : Records(consumers_file, 5)) {
    consumers_.push_back({f[0], f[1], f[2], f[3], SignedAmount(f[4], "o saldo inicial")});
  }
  for (const auto& f : Records(movements_path_, 6)) {
    movements_.push_back({f[0], f[1], f[2], f[3], SignedAmount(f[4], "um movimento"), f[5]});
  }
  for (const auto& f : Records(items_path_, 5)) {
    items_.push_back({f[0], f[1], SignedAmount(f[2], "uma quantidade"), f[3],
                      SignedAmount(f[4], "um total de item")});
  }
}

std::vector<ConsumerRow> CreditAccounts::Consumer(const std::string& code) const {
  std::vector<ConsumerRow> rows;
  for (const ConsumerRow& row : consumers_) {
    if (row.code == code) rows.push_back(row);
  }
  if (rows.empty()) throw zel::Error("consumidor " + code + " não está no arquivo de consumidores");
  return rows;
}

double CreditAccounts::OpeningBalance(const std::string& family_code) const {
  for (const ConsumerRow& row : consumers_) {
    if (row.family_code == family_code) return row.opening_balance;
  }
  return 0;
}

double CreditAccounts::Balance(const std::string& family_code) const {
  double balance = OpeningBalance(family_code);
  for (const Movement& movement : movements_) {
    if (movement.family_code == family_code) balance += movement.value;
  }
  return balance;
}

std::string CreditAccounts::NextDepositNumber() const {
  std::string number = std::to_string(movements_.size() + 1);
  return std::string(6 - std::min<std::size_t>(6, number.size()), '0') + number;
}

void CreditAccounts::Record(const Movement& m, const std::vector<SaleItemRow>& items) {
  zel::Env* env = zel::Env::Default();
  env->AppendFile(movements_path_, m.family_code + ";" + m.date + ";" + m.time + ";" + m.operation +
                                       ";" + AmountText(m.value) + ";" + m.sale + "\n");
  movements_.push_back(m);
  for (const SaleItemRow& item : items) {
    env->AppendFile(items_path_, item.sale + ";" + item.family_code + ";" +
                                     AmountText(item.quantity) + ";" + item.name + ";" +
                                     AmountText(item.total) + "\n");
    items_.push_back(item);
  }
}

zel::Dataset CreditAccounts::Families(const std::string& only_family) const {
  zel::Dataset families = Table("cdsFamilias", {{"CDFAMILISALD", zel::FieldType::kText, 20},
                                                {"NMFAMILISALD", zel::FieldType::kText, 60}});
  std::set<std::string> seen;
  for (const ConsumerRow& row : consumers_) {
    if (!only_family.empty() && row.family_code != only_family) continue;
    if (seen.insert(row.family_code).second) Add(families, {row.family_code, Cp(row.family_name)});
  }
  if (families.IsEmpty())
    throw zel::Error("família " + only_family + " não está no arquivo de consumidores");
  families.First();
  return families;
}

zel::Dataset CreditAccounts::Movements() const {
  zel::Dataset table = Table("cdsMovimentos", {{"CDFAMILISALD", zel::FieldType::kText, 20},
                                               {"DATA", zel::FieldType::kDateTime, 0},
                                               {"HORA", zel::FieldType::kText, 5},
                                               {"DSOPEEXTCONS", zel::FieldType::kText, 30},
                                               {"VRMOVEXTCONS", zel::FieldType::kFloat, 0},
                                               {"VRSALDCONEXT", zel::FieldType::kFloat, 0},
                                               {"NRSEQVENDA", zel::FieldType::kText, 10},
                                               {"IDTPMOVEXT", zel::FieldType::kText, 1}});
  std::map<std::string, double> running;
  for (const Movement& m : movements_) {
    auto it = running.try_emplace(m.family_code, OpeningBalance(m.family_code)).first;
    it->second += m.value;
    Add(table, {m.family_code, ParseDate(m.date), m.time, Cp(m.operation), m.value, it->second,
                m.sale, m.sale.empty() ? "C" : "V"});
  }
  table.First();
  return table;
}

zel::Dataset CreditAccounts::SaleItems() const {
  zel::Dataset table = Table("cdsItensVenda", {{"NRSEQVENDA", zel::FieldType::kText, 10},
                                               {"CDFAMILISALD", zel::FieldType::kText, 20},
                                               {"QTDE", zel::FieldType::kFloat, 0},
                                               {"NMPRODUTO", zel::FieldType::kText, 40},
                                               {"VRTOTAL", zel::FieldType::kFloat, 0}});
  for (const SaleItemRow& item : items_) {
    Add(table, {item.sale, item.family_code, item.quantity, Cp(item.name), item.total});
  }
  table.First();
  return table;
}

zel::Dataset CreditAccounts::FamilyBalances() const {
  zel::Dataset table = Table("cdsSaldoFamilia", {{"NMFAMILISALD", zel::FieldType::kText, 60},
                                                 {"SALDOFAM", zel::FieldType::kFloat, 0}});
  std::set<std::string> seen;
  for (const ConsumerRow& row : consumers_) {
    if (seen.insert(row.family_code).second) {
      Add(table, {Cp(row.family_name), Balance(row.family_code)});
    }
  }
  table.First();
  return table;
}

zel::Dataset CreditAccounts::OpeningBalances() const {
  zel::Dataset table = Table("cdsExtrato", {{"CDFAMILISALD", zel::FieldType::kText, 20},
                                            {"SALDANT", zel::FieldType::kFloat, 0}});
  std::set<std::string> seen;
  for (const ConsumerRow& row : consumers_) {
    if (seen.insert(row.family_code).second) {
      Add(table, {row.family_code, OpeningBalance(row.family_code)});
    }
  }
  table.First();
  return table;
}

}  // namespace ecfhost
