// The consumer statement (Extrato) of one family with 10 and with 10,000
// movements, every other one a sale of two items, through the driver and
// the simulated printer loaded at run time. The "per_movement" counter is
// the time of one movement line (with its items); it should not grow with
// the length of the statement.
#include <benchmark/benchmark.h>

#include <string>

#include "loaded_register.h"
#include "zel/dataset.h"
#include "zel/error.h"
#include "zel/variant.h"

namespace {

using S = const std::string&;
using ExtratoOp = bool(S, S, zel::Dataset&, zel::Dataset&, zel::Dataset&, zel::Dataset&,
                       zel::Dataset&, S, S, S, S, S, zel::Dataset&);

zel::Dataset Table(const char* name, std::initializer_list<zel::FieldDef> fields) {
  zel::Dataset table(name);
  table.SetFieldDefs(fields);
  table.CreateDataSet();
  return table;
}

void Add(zel::Dataset& table, std::initializer_list<zel::Variant> values) {
  table.Append();
  int i = 0;
  for (const zel::Variant& value : values) table.SetValue(table.FieldDefs()[i++].name, value);
  table.Post();
}

// A started driver on a new printer, ready for reports.
class Register {
 public:
  Register() : register_("zel_statement_bench") { register_.ReadyForReports(); }

  bool Statement(int movements) {
    zel::Dataset options = Table("o", {{"IDEMISEXTRSIMPL", zel::FieldType::kText, 1}});
    Add(options, {"S"});
    zel::Dataset families = Table("f", {{"CDFAMILISALD", zel::FieldType::kText, 6},
                                        {"NMFAMILISALD", zel::FieldType::kText, 30}});
    Add(families, {"F1", "SILVA"});
    zel::Dataset moves = Table("m", {{"CDFAMILISALD", zel::FieldType::kText, 6},
                                     {"DATA", zel::FieldType::kDateTime, 0},
                                     {"HORA", zel::FieldType::kText, 5},
                                     {"DSOPEEXTCONS", zel::FieldType::kText, 30},
                                     {"VRMOVEXTCONS", zel::FieldType::kFloat, 0},
                                     {"VRSALDCONEXT", zel::FieldType::kFloat, 0},
                                     {"NRSEQVENDA", zel::FieldType::kText, 10},
                                     {"IDTPMOVEXT", zel::FieldType::kText, 1}});
    zel::Dataset items = Table("i", {{"NRSEQVENDA", zel::FieldType::kText, 10},
                                     {"CDFAMILISALD", zel::FieldType::kText, 6},
                                     {"QTDE", zel::FieldType::kFloat, 0},
                                     {"NMPRODUTO", zel::FieldType::kText, 30},
                                     {"VRTOTAL", zel::FieldType::kFloat, 0}});
    for (int m = 0; m < movements; ++m) {
      const std::string sale = m % 2 == 0 ? std::to_string(m) : "";
      Add(moves, {"F1", zel::EncodeDate(2026, 1 + m / 1000 % 12, 1 + m % 28), "12:00", "Lanche",
                  -1.0, 1000.0 - m, sale, sale.empty() ? "C" : "V"});
      if (!sale.empty()) {
        Add(items, {sale, "F1", 1.0, "SUCO", 0.5});
        Add(items, {sale, "F1", 1.0, "PAO", 0.5});
      }
    }
    zel::Dataset balances = Table("b", {{"SALDOFAM", zel::FieldType::kFloat, 0}});
    Add(balances, {1.0});
    zel::Dataset statement = Table(
        "e", {{"CDFAMILISALD", zel::FieldType::kText, 6}, {"SALDANT", zel::FieldType::kFloat, 0}});
    Add(statement, {"F1", 10.0});
    return register_.Driver<ExtratoOp>("Extrato")("", zelbench::kScheme, options, families, moves,
                                                  items, balances, "", "EXTRATO", "01", "A", "B",
                                                  statement) &&
           register_.host().dialogs == 0;
  }

 private:
  zelbench::LoadedRegister register_;
};

void BM_Extrato(benchmark::State& state) {
  std::string failure;
  Register* cash_register = zelbench::MadeOnce<Register>(failure);
  if (cash_register == nullptr) {
    state.SkipWithError(("No register: " + failure).c_str());
    return;
  }
  const int movements = static_cast<int>(state.range(0));
  for (auto _ : state) {
    if (!cash_register->Statement(movements)) {
      state.SkipWithError("the statement was not printed");
      return;
    }
  }
  state.counters["per_movement"] = benchmark::Counter(
      static_cast<double>(movements),
      benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_Extrato)->Arg(10)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
