// One printer call through the driver's pattern (blank buffer, call through
// the entry table, log line, return analysis with its status read) against
// the same entry called directly: what the pattern costs on top of the
// printer. Runs on the stand-in fiscal library loaded through Env (when it
// has been built) and on fake entries that take no time, which show the
// pattern's own cost.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "core/data_module.h"
#include "core/vendor_call.h"
#include "core/vendor_table.h"
#include "platform/env.h"
#include "zel/driver_state.h"
#include "zel/operations.h"

namespace {

// Keeps the debug log in a scratch folder and loads "BemaFI32.dll" from the
// build's library folder (lib/ beside the program's bin/).
class BenchEnv : public zel::EnvWrapper {
 public:
  explicit BenchEnv(std::string directory)
      : EnvWrapper(zel::Env::Default()), directory_(std::move(directory)) {}
  std::string HostExecutableDirectory() override { return directory_; }
  zel::LibraryHandle OpenLibrary(std::string_view name) override {
    return target()->OpenLibrary(target()->HostExecutableDirectory() + "/../lib/" +
                                 std::string(name));
  }

 private:
  std::string directory_;
};

int FakeNumeroCupom(char* coo6) {
  std::memcpy(coo6, "000123", 6);
  return 1;
}

int FakeRetornoImpressora(int* ack, int* st1, int* st2) {
  *ack = 6;
  *st1 = 0;
  *st2 = 0;
  return 1;
}

std::string ScratchDirectory(const char* name) {
  std::filesystem::path path = std::filesystem::temp_directory_path() / name;
  std::filesystem::remove_all(path);
  std::filesystem::create_directories(path);
  return path.string();
}

// The two printers the calls can run on.
struct Backend {
  Zel00101::TBematech_FI_NumeroCupom numero_cupom;
  Zel00101::TBematech_FI_RetornoImpressora retorno_impressora;
  const char* label;
};

// Argument 0: the stand-in library (null entries when it is not built);
// argument 1: the fakes.
const Backend& Prepare(const benchmark::State& state) {
  static BenchEnv env(ScratchDirectory("zel_vendor_call_bench"));
  static const Backend backends[2] = {
      [] {
        // The stand-in printer keeps its memory here, not in the current folder.
        setenv("ECFSIM_DIR", ScratchDirectory("zel_vendor_call_bench_printer").c_str(), 1);
        zel::Env::SetCurrent(&env);
        zel::EnsureDataModule();
        if (zel::LoadAndBindVendorLibrary()) zel::CallVendor(Zel00101::Bematech_FI_AbrePortaSerial);
        return Backend{Zel00101::Bematech_FI_NumeroCupom, Zel00101::Bematech_FI_RetornoImpressora,
                       "stand-in library"};
      }(),
      Backend{FakeNumeroCupom, FakeRetornoImpressora, "fake entries"}};
  const Backend& backend = backends[state.range(0)];
  Zel00101::Bematech_FI_NumeroCupom = backend.numero_cupom;
  Zel00101::Bematech_FI_RetornoImpressora = backend.retorno_impressora;
  return backend;
}

void BM_DirectCall(benchmark::State& state) {
  const Backend& backend = Prepare(state);
  if (backend.numero_cupom == nullptr) return state.SkipWithError("stand-in library not built");
  state.SetLabel(backend.label);
  char coo[7] = "      ";
  for (auto _ : state) {
    benchmark::DoNotOptimize(Zel00101::Bematech_FI_NumeroCupom(coo));
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_DirectCall)->Arg(0)->Arg(1);

void BM_ThroughThePattern(benchmark::State& state) {
  const Backend& backend = Prepare(state);
  if (backend.numero_cupom == nullptr) return state.SkipWithError("stand-in library not built");
  state.SetLabel(backend.label);
  for (auto _ : state) {
    std::string coo = zel::Blanks(6);
    const int status = zel::CallVendor(Zel00101::Bematech_FI_NumeroCupom, coo);
    zel::LogReply("Bematech_FI_NumeroCupom", coo);
    benchmark::DoNotOptimize(Zel00101::AnalisaRetorno("001", status, true, true, false));
  }
}
BENCHMARK(BM_ThroughThePattern)->Arg(0)->Arg(1);

}  // namespace
