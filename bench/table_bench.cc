// The restaurant operations as a restaurant host runs them, the driver and
// the simulated printer loaded by path at run time:
//
// - the open-table list (ImprimeMesasAbertas) and the transferred-products
//   list (imprimeProdutosTransf) with 10 and 1,000 rows; the "per_row"
//   counter must stay flat from 10 to 1,000 rows;
// - one table command (an item registered on a table and taken off again)
//   through the driver's operations, the same two frames through the raw
//   command channel (EnviaComando), and through the printer's entry alone
//   (BemaFormataTX): what the driver adds to a command.
//
// The time includes the printer's own work (memory and paper tape are
// files, in a scratch folder) and the driver's debug log.
#include <benchmark/benchmark.h>

#include <span>
#include <string>
#include <vector>

#include "loaded_register.h"
#include "zel/dataset.h"
#include "zel/error.h"
#include "zel/variant.h"

namespace {

using zelbench::kScheme;
const std::string kEsc = "\x1b";

using ItemOp = bool(const std::string&, const std::string&, const std::string&, const std::string&,
                    const std::string&, const std::string&, double, double, double);
using ChannelOp = bool(const std::string&, const std::string&, std::span<const std::string>, bool,
                       bool);
using ListOp = bool(zel::Dataset*, const std::string&, const std::string&, const std::string&,
                    const zel::Variant&);
using TransfOp = void(const std::string&, const std::string&, const std::string&,
                      const zel::Variant&);

// A started restaurant register: rate 01, the report totalizer and the
// report payment form found or programmed through the driver.
class Restaurant {
 public:
  Restaurant() : register_("zel_table_bench") {
    register_.Printer<int(int, int, int)>("EcfSim_SetTaxRate")(1, 1800, 0);
    register_.ReadyForReports();
    register_.host().dialogs = 0;
  }

  template <typename Signature>
  Signature* Driver(const char* name) {
    return register_.Driver<Signature>(name);
  }
  template <typename Signature>
  Signature* Printer(const char* name) {
    return register_.Printer<Signature>(name);
  }
  bool Quiet() { return register_.host().dialogs == 0; }
  const std::string& last_dialog() { return register_.host().last_text; }

 private:
  zelbench::LoadedRegister register_;
};

Restaurant* TheRestaurant(benchmark::State& state) {
  std::string failure;
  Restaurant* restaurant = zelbench::MadeOnce<Restaurant>(failure);
  if (restaurant == nullptr) state.SkipWithError(("No restaurant: " + failure).c_str());
  return restaurant;
}

zel::Variant OpenTables(int rows) {
  zel::Dataset open("cdsMesas");
  open.AddField("DSCOMANDA", zel::FieldType::kText, 20);
  open.AddField("NRMESA", zel::FieldType::kText, 4);
  open.AddField("DTHRABERMESA", zel::FieldType::kText, 20);
  open.CreateDataSet();
  static const char* const kKinds[] = {"RES", "CMD", "DLV"};
  for (int row = 0; row < rows; ++row) {
    open.Append();
    // Runs of ten rows of one kind, so the headings come and go.
    open.SetValue("DSCOMANDA",
                  zel::Variant(std::string(kKinds[row / 10 % 3]) + std::to_string(row)));
    open.SetValue("NRMESA", zel::Variant(std::to_string(1000 + row % 9000)));
    open.SetValue("DTHRABERMESA", zel::Variant("07/12/2026 19:30"));
    open.Post();
  }
  return open.Data();
}

zel::Variant TransferredProducts(int rows) {
  zel::Dataset moved("cdsTransf");
  for (const char* name : {"NRMESA", "NRMESADSCOMORIT", "CDPRODUTO", "NMPRODUTO"}) {
    moved.AddField(name, zel::FieldType::kText, 30);
  }
  moved.AddField("QTPRODCOMVEN", zel::FieldType::kFloat);
  moved.AddField("VRPRECCOMVEN", zel::FieldType::kFloat);
  moved.CreateDataSet();
  for (int row = 0; row < rows; ++row) {
    moved.Append();
    moved.SetValue("NRMESA", zel::Variant(std::to_string(2000 + row / 5)));
    moved.SetValue("NRMESADSCOMORIT", zel::Variant("0001"));
    moved.SetValue("CDPRODUTO", zel::Variant(std::to_string(row)));
    moved.SetValue("NMPRODUTO", zel::Variant("PRODUTO " + std::to_string(row)));
    moved.SetValue("QTPRODCOMVEN", zel::Variant(1.0 + row % 3));
    moved.SetValue("VRPRECCOMVEN", zel::Variant(2.5 + row % 10));
    moved.Post();
  }
  return moved.Data();
}

void PerRow(benchmark::State& state) {
  state.counters["per_row"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * state.range(0),
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_ImprimeMesasAbertas(benchmark::State& state) {
  Restaurant* restaurant = TheRestaurant(state);
  if (restaurant == nullptr) return;
  const zel::Variant rows = OpenTables(static_cast<int>(state.range(0)));
  auto* print = restaurant->Driver<ListOp>("ImprimeMesasAbertas");
  for (auto _ : state) {
    if (!print(nullptr, "", "", kScheme, rows) || !restaurant->Quiet()) {
      state.SkipWithError(("The list failed: " + restaurant->last_dialog()).c_str());
      break;
    }
  }
  PerRow(state);
}
BENCHMARK(BM_ImprimeMesasAbertas)->Arg(10)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_imprimeProdutosTransf(benchmark::State& state) {
  Restaurant* restaurant = TheRestaurant(state);
  if (restaurant == nullptr) return;
  const zel::Variant rows = TransferredProducts(static_cast<int>(state.range(0)));
  auto* print = restaurant->Driver<TransfOp>("imprimeProdutosTransf");
  for (auto _ : state) {
    print("", "", kScheme, rows);
    if (!restaurant->Quiet()) {
      state.SkipWithError(("The list failed: " + restaurant->last_dialog()).c_str());
      break;
    }
  }
  PerRow(state);
}
BENCHMARK(BM_imprimeProdutosTransf)->Arg(10)->Arg(1000)->Unit(benchmark::kMillisecond);

// The two commands of every variant: an item on table 12 and off again, so
// the table never grows.
const std::vector<std::string> kRegister = {"12",     "00000350",       "01",           "00000000",
                                            "001000", "00000000000123", "REFRIGERANTE", "UN"};
const std::vector<std::string> kCancel = {"  12",   "00000350",       "01",           "00000000",
                                          "001000", "           123", "REFRIGERANTE", "UN"};

std::string Frame(const std::string& command, const std::vector<std::string>& parameters) {
  std::string frame = kEsc + "|" + command;
  for (const std::string& parameter : parameters) frame += "|" + parameter;
  return frame + "|" + kEsc;
}

void BM_TableCommandThroughTheDriver(benchmark::State& state) {
  Restaurant* restaurant = TheRestaurant(state);
  if (restaurant == nullptr) return;
  auto* add = restaurant->Driver<ItemOp>("Registra_Item_Imp");
  auto* remove = restaurant->Driver<ItemOp>("Cancela_Item_Imp");
  for (auto _ : state) {
    if (!add(kScheme, "12", "01", "123", "REFRIGERANTE", "UN", 3.5, 1, 0) ||
        !remove(kScheme, "12", "01", "123", "REFRIGERANTE", "UN", 3.5, 1, 0)) {
      state.SkipWithError(("A command failed: " + restaurant->last_dialog()).c_str());
      break;
    }
  }
}
BENCHMARK(BM_TableCommandThroughTheDriver)->Unit(benchmark::kMicrosecond);

void BM_TableCommandThroughTheChannel(benchmark::State& state) {
  Restaurant* restaurant = TheRestaurant(state);
  if (restaurant == nullptr) return;
  auto* send = restaurant->Driver<ChannelOp>("EnviaComando");
  for (auto _ : state) {
    if (!send(kScheme, "80|48", kRegister, true, false) ||
        !send(kScheme, "80|49", kCancel, true, false)) {
      state.SkipWithError(("A command failed: " + restaurant->last_dialog()).c_str());
      break;
    }
  }
}
BENCHMARK(BM_TableCommandThroughTheChannel)->Unit(benchmark::kMicrosecond);

void BM_TableCommandBarePrinterEntry(benchmark::State& state) {
  Restaurant* restaurant = TheRestaurant(state);
  if (restaurant == nullptr) return;
  auto* send = restaurant->Printer<int(const char*)>("BemaFormataTX");
  const std::string add = Frame("80|48", kRegister);
  const std::string remove = Frame("80|49", kCancel);
  for (auto _ : state) {
    if (send(add.c_str()) != 0 || send(remove.c_str()) != 0) {
      state.SkipWithError("The printer did not answer");
      break;
    }
  }
}
BENCHMARK(BM_TableCommandBarePrinterEntry)->Unit(benchmark::kMicrosecond);

}  // namespace
