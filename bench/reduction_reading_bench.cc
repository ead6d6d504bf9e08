// The Z-reduction export's reading of "Retorno.txt" against a plain read of
// the same file, for readings with 10 and 1,000 payment-form and tax-rate
// lines: the reading should cost a small multiple of the read and grow
// linearly with the lines.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "closing/reduction_reading.h"
#include "platform/env.h"
#include "support/temp_dir.h"
#include "support/x_reading_sample.h"

namespace zel {
namespace {

// The sample reading with `extra` more payment-form and tax-rate lines,
// written to a file that lives as long as the benchmark.
class ReturnFile {
 public:
  explicit ReturnFile(int extra) : path_(dir_.Join("Retorno.txt")) {
    Env::Default()->WriteLines(path_, SampleXReading(extra));
  }
  const std::string& path() const { return path_; }

 private:
  TempDir dir_;
  std::string path_;
};

void BM_ReadReturnFile(benchmark::State& state) {
  const ReturnFile file(static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(Env::Default()->ReadLines(file.path()));
}
BENCHMARK(BM_ReadReturnFile)->Arg(10)->Arg(1000);

void BM_ReadAndParseReturnFile(benchmark::State& state) {
  const ReturnFile file(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    benchmark::DoNotOptimize(ParseReductionReading(Env::Default()->ReadLines(file.path())));
  }
}
BENCHMARK(BM_ReadAndParseReturnFile)->Arg(10)->Arg(1000);

}  // namespace
}  // namespace zel
