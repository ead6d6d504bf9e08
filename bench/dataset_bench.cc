// Timing of the dataset engine on a table far larger than a day's sales:
// 100,000 rows of 10 fields. Each of these must take a fraction of a second.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "zel/dataset.h"

namespace zel {
namespace {

constexpr int kRows = 100000;

Dataset MakeMovements() {
  Dataset table("cdsMovCaixa");
  table.AddField("CDFILIAL", FieldType::kText, 4);
  table.AddField("CDCAIXA", FieldType::kText, 3);
  table.AddField("CDTIPORECE", FieldType::kText, 3);
  table.AddField("NMTIPORECE", FieldType::kText, 40);
  table.AddField("NRORDTROCO", FieldType::kText, 3);
  table.AddField("DTHRINCMOV", FieldType::kDateTime);
  table.AddField("VRMOVIVEND", FieldType::kFloat);
  table.AddField("QTPARCELAS", FieldType::kInteger);
  table.AddField("IDVALE", FieldType::kBoolean);
  table.AddField("CDCLIENTE", FieldType::kText, 21);
  table.AddIndex("idxNRORDTROCO", "NRORDTROCO;DTHRINCMOV", "DTHRINCMOV");
  table.AddIndex("idxDTHRINCMOV", "DTHRINCMOV");
  table.CreateDataSet();
  for (int i = 0; i < kRows; ++i) {
    table.Append();
    table.SetValue("CDFILIAL", i % 2 == 0 ? "0001" : "0002");
    table.SetValue("CDCAIXA", std::to_string(i % 7));
    table.SetValue("CDTIPORECE", std::to_string(i % 20));
    table.SetValue("NMTIPORECE", "Forma de pagamento " + std::to_string(i % 20));
    table.SetValue("NRORDTROCO", std::to_string(i % 5));
    table.SetValue("DTHRINCMOV", DateTime{46000.0 + (i * 7919 % kRows) / 86400.0});
    table.SetValue("VRMOVIVEND", (i % 1000) / 10.0);
    table.SetValue("QTPARCELAS", i % 12);
    table.SetValue("IDVALE", i % 3 == 0);
    table.SetValue("CDCLIENTE", "CLIENTE" + std::to_string(i));
    table.Post();
  }
  return table;
}

Dataset& Movements() {
  static Dataset table = MakeMovements();
  return table;
}

void BM_BuildTable(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(MakeMovements().RecordCount());
}
BENCHMARK(BM_BuildTable)->Unit(benchmark::kMillisecond);

void BM_FilterAndWalk(benchmark::State& state) {
  Dataset& table = Movements();
  for (auto _ : state) {
    table.SetFilter("CDFILIAL = '0001' AND (CDCAIXA = '2' OR CDCAIXA = '4') AND VRMOVIVEND >= 50");
    table.SetFiltered(true);
    double sum = 0;
    for (table.First(); !table.Eof(); table.Next()) sum += table.AsDouble("VRMOVIVEND");
    benchmark::DoNotOptimize(sum);
    table.SetFiltered(false);
  }
}
BENCHMARK(BM_FilterAndWalk)->Unit(benchmark::kMillisecond);

void BM_LocateTwoFieldsIgnoringCase(benchmark::State& state) {
  Dataset& table = Movements();
  for (auto _ : state) {
    // The last row of the table: the whole table is searched.
    const bool found = table.Locate("CDCLIENTE;cdfilial", VariantArray{"cliente99999", "0002"},
                                    {.case_insensitive = true});
    benchmark::DoNotOptimize(found);
  }
}
BENCHMARK(BM_LocateTwoFieldsIgnoringCase)->Unit(benchmark::kMillisecond);

void BM_SwitchIndex(benchmark::State& state) {
  Dataset& table = Movements();
  int i = 0;
  for (auto _ : state) {
    table.SetIndexName(i++ % 2 == 0 ? "idxNRORDTROCO" : "idxDTHRINCMOV");
    benchmark::DoNotOptimize(table.RecNo());
  }
  table.SetIndexName("");
}
BENCHMARK(BM_SwitchIndex)->Unit(benchmark::kMillisecond);

void BM_PacketRoundTrip(benchmark::State& state) {
  Dataset& table = Movements();
  Dataset copy("cdsMovCaixaTef");
  for (auto _ : state) {
    copy.SetData(table.Data());
    benchmark::DoNotOptimize(copy.RecordCount());
  }
}
BENCHMARK(BM_PacketRoundTrip)->Unit(benchmark::kMillisecond);

void BM_FileRoundTrip(benchmark::State& state) {
  Dataset& table = Movements();
  const std::string path =
      (std::filesystem::temp_directory_path() / "zel_dataset_bench.cds").string();
  Dataset loaded("cdsVenda");
  for (auto _ : state) {
    table.SaveToFile(path);
    loaded.LoadFromFile(path);
    benchmark::DoNotOptimize(loaded.RecordCount());
  }
  std::remove(path.c_str());
}
BENCHMARK(BM_FileRoundTrip)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zel
