// Timing of the formatters that run for every sale item and every report
// line.
#include <benchmark/benchmark.h>

#include <string>

#include "host/date_format.h"
#include "host/number_format.h"
#include "host/string_functions.h"
#include "zel/date_time.h"

namespace zel {
namespace {

// A spread of amounts so the work is not one cached value.
constexpr double kAmounts[] = {1.5, 2.675, 1234.56, 0.01, 99999999.99, 12.3456, 1.005, 7.0};
constexpr int kAmountCount = sizeof kAmounts / sizeof kAmounts[0];

void BM_FormatFloatQuantity(benchmark::State& state) {
  int i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(FormatFloat("#0.000", kAmounts[i++ % kAmountCount]));
  }
}
BENCHMARK(BM_FormatFloatQuantity);

void BM_FormatFloatReceiptValue(benchmark::State& state) {
  int i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(FormatFloat("000000000000.00", kAmounts[i++ % kAmountCount]));
  }
}
BENCHMARK(BM_FormatFloatReceiptValue);

void BM_FormatDateTime(benchmark::State& state) {
  const DateTime moment = EncodeDateTime(DateParts{2026, 12, 8, 9, 5, 7, 0});
  double offset = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        FormatDateTime("dd/mm/yyyy hh:nn:ss", DateTime{moment.value + offset}));
    offset += 0.001;
  }
}
BENCHMARK(BM_FormatDateTime);

void BM_TextToFloat(benchmark::State& state) {
  const std::string texts[] = {"1,5", "2,675", "1234,56", "0,01", "99999999,99", "12,3456"};
  int i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(TextToFloat(texts[i++ % 6]));
  }
}
BENCHMARK(BM_TextToFloat);

void BM_Trunc2(benchmark::State& state) {
  int i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(Trunc2(kAmounts[i++ % kAmountCount] * 3));
  }
}
BENCHMARK(BM_Trunc2);

}  // namespace
}  // namespace zel
