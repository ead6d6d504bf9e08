// The product report (Relatorio_Produto) with 100 and 10,000 products, as a
// plain list and grouped by tax, two ways:
// - Simulated: the driver and the simulated printer loaded by path as a host
//   loads them; the time includes the printer's own work (its memory and
//   paper tape are files) and the debug log, in a scratch folder.
// - FakeEntries: the report code linked in, the printer entries replaced by
//   functions that accept everything, so only the driver's own work (and
//   its debug log) is timed.
// The per_product counter is the time per product; it should stay flat from
// 100 to 10,000 products.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>

#include "core/vendor_table.h"
#include "loaded_register.h"
#include "platform/env.h"
#include "zel/dataset.h"
#include "zel/driver_state.h"
#include "zel/error.h"
#include "zel/host_services.h"
#include "zel/operations.h"

namespace {

using zelbench::kScheme;

using ProductReportOp = void(const std::string&, const std::string&, const std::string&,
                             const std::string&, const std::string&, std::string&, zel::Dataset&,
                             const std::string&, const std::string&, const std::string&, bool&);

// `count` products over five tax groups.
zel::Dataset Products(int count) {
  zel::Dataset products("Produtos");
  products.SetFieldDefs({{"CDPRODUTO", zel::FieldType::kText, 13},
                         {"NMPRODUTO", zel::FieldType::kText, 40},
                         {"QTPRODVEND", zel::FieldType::kFloat, 0},
                         {"VRTOTAL", zel::FieldType::kFloat, 0},
                         {"VRACRE", zel::FieldType::kFloat, 0},
                         {"VRDESC", zel::FieldType::kFloat, 0},
                         {"IDTPIMPOSFIS", zel::FieldType::kText, 1},
                         {"VRPEALIMPFIS", zel::FieldType::kFloat, 0}});
  products.CreateDataSet();
  const double rates[] = {0, 7, 12, 18, 25};
  for (int i = 0; i < count; ++i) {
    products.Append();
    products.SetValue("CDPRODUTO", std::to_string(7891000000000 + i));
    products.SetValue("NMPRODUTO", "PRODUTO " + std::to_string(i));
    products.SetValue("QTPRODVEND", 1.0 + i % 3);
    products.SetValue("VRTOTAL", 2.5 + i % 10);
    products.SetValue("VRACRE", 0.0);
    products.SetValue("VRDESC", i % 25 == 0 ? 0.5 : 0.0);
    products.SetValue("IDTPIMPOSFIS", i % 5 == 0 ? "F" : "T");
    products.SetValue("VRPEALIMPFIS", rates[i % 5]);
    products.Post();
  }
  return products;
}

void CountPerProduct(benchmark::State& state) {
  state.counters["per_product"] =
      benchmark::Counter(static_cast<double>(state.iterations() * state.range(0)),
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// ---- On the simulated printer -------------------------------------------------------

// A started register ready for reports.
class SimulatedRegister {
 public:
  SimulatedRegister() : register_("zel_product_report_bench") { register_.ReadyForReports(); }

  bool Report(zel::Dataset& products, const char* grouping) {
    std::string number;
    bool receipt_flag = true;
    register_.Driver<ProductReportOp>("Relatorio_Produto")("", "", "", "", "", number, products,
                                                           "N", grouping, kScheme, receipt_flag);
    return register_.host().dialogs == 0 && number.size() == 6;
  }
  const std::string& last_dialog() { return register_.host().last_text; }

 private:
  zelbench::LoadedRegister register_;
};

void Simulated(benchmark::State& state, const char* grouping) {
  std::string failure;
  SimulatedRegister* cash_register = zelbench::MadeOnce<SimulatedRegister>(failure);
  if (cash_register == nullptr) {
    state.SkipWithError(("No register: " + failure).c_str());
    return;
  }
  zel::Dataset products = Products(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    if (!cash_register->Report(products, grouping)) {
      state.SkipWithError(("The report failed: " + cash_register->last_dialog()).c_str());
      break;
    }
  }
  CountPerProduct(state);
}

void BM_ProductReportSimulatedPlain(benchmark::State& state) { Simulated(state, "N"); }
void BM_ProductReportSimulatedGrouped(benchmark::State& state) { Simulated(state, "S"); }
BENCHMARK(BM_ProductReportSimulatedPlain)->Arg(100)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ProductReportSimulatedGrouped)->Arg(100)->Arg(10000)->Unit(benchmark::kMillisecond);

// ---- On fake entries ------------------------------------------------------------------

long long g_pieces = 0;

int Accept() { return 1; }
int AcceptText(const char*) {
  ++g_pieces;
  return 1;
}
int AcceptReceipt(const char*, const char*, const char*) { return 1; }
int CouponNumber(char* coo) {
  std::memcpy(coo, "000042", 6);
  return 1;
}
int StatusOk(int* ack, int* st1, int* st2) {
  *ack = 6;
  *st1 = 0;
  *st2 = 0;
  return 1;
}

void FakeEntries(benchmark::State& state, const char* grouping) {
  static zelbench::ScratchEnv env(zelbench::FreshScratch("zel_product_report_fake_bench"));
  static zelbench::CountingHost host;
  zel::Env::SetCurrent(&env);
  ZelRegistraHost(&host);
  Zel00101::Bematech_FI_RetornoImpressora = StatusOk;
  Zel00101::Bematech_FI_RecebimentoNaoFiscal = AcceptReceipt;
  Zel00101::Bematech_FI_NumeroCupom = CouponNumber;
  Zel00101::Bematech_FI_AbreComprovanteNaoFiscalVinculado = AcceptReceipt;
  Zel00101::Bematech_FI_UsaComprovanteNaoFiscalVinculado = AcceptText;
  Zel00101::Bematech_FI_FechaRelatorioGerencial = Accept;
  Zel00101::IdTotRelatorio = "02";

  zel::Dataset products = Products(static_cast<int>(state.range(0)));
  g_pieces = 0;
  for (auto _ : state) {
    std::string number;
    bool receipt_flag = true;
    Zel00101::Relatorio_Produto("", "", "", "", "", number, products, "N", grouping, kScheme,
                                receipt_flag);
  }
  if (host.dialogs != 0) state.SkipWithError(("A dialog showed: " + host.last_text).c_str());
  if (g_pieces < state.iterations() * state.range(0)) state.SkipWithError("Products went missing");
  CountPerProduct(state);
  ZelRegistraHost(nullptr);
  zel::Env::SetCurrent(nullptr);
}

void BM_ProductReportFakeEntriesPlain(benchmark::State& state) { FakeEntries(state, "N"); }
void BM_ProductReportFakeEntriesGrouped(benchmark::State& state) { FakeEntries(state, "S"); }
BENCHMARK(BM_ProductReportFakeEntriesPlain)->Arg(100)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ProductReportFakeEntriesGrouped)->Arg(100)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
