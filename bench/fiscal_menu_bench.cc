// The fiscal menu's heavy steps. Signing and checking a file with the
// signing stand-in (loaded as the driver loads it), for files of 100 KB and
// 10 MB: the time per MB should not grow with the file. And the
// totals-by-payment-type report of 30 days x 20 payment types, printed
// through the loaded driver on the simulated printer.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "loaded_register.h"
#include "platform/env.h"
#include "zel/dataset.h"
#include "zel/error.h"
#include "zel/variant.h"

namespace {

using zelbench::kScheme;

std::string LibraryDirectory() {
  return zel::Env::Default()->HostExecutableDirectory() + "/../lib";
}

void BM_SignAndCheckFile(benchmark::State& state) {
  using GenKey = int(char*, char*);
  using Generate = int(const char*, const char*, const char*, char*, int);
  using Validate = int(const char*, const char*, const char*);
  zel::Env* env = zel::Env::Default();
  const zel::LibraryHandle library = env->OpenLibrary(LibraryDirectory() + "/libsign_bema.so");
  if (library == nullptr) {
    state.SkipWithError(("No signing library: " + env->LastLibraryError()).c_str());
    return;
  }
  auto* make_key = reinterpret_cast<GenKey*>(env->GetSymbol(library, "genkkey"));
  auto* generate = reinterpret_cast<Generate*>(env->GetSymbol(library, "generateEAD"));
  auto* validate = reinterpret_cast<Validate*>(env->GetSymbol(library, "validateFile"));
  if (make_key == nullptr || generate == nullptr || validate == nullptr) {
    state.SkipWithError("The signing library lacks an entry");
    return;
  }
  char modulus[257], exponent[257];
  make_key(modulus, exponent);

  const std::string file = zelbench::FreshScratch("zel_sign_bench") + "/leitura.txt";
  std::string line(46, 'x');
  line += "\r\n";
  std::string text;
  while (text.size() < static_cast<std::size_t>(state.range(0))) text += line;
  for (auto _ : state) {
    state.PauseTiming();
    zel::Env::Default()->WriteFile(file, text);
    state.ResumeTiming();
    if (generate(file.c_str(), modulus, exponent, nullptr, 1) != 1 ||
        validate(file.c_str(), modulus, "") != 1) {
      state.SkipWithError("signing or checking failed");
      break;
    }
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_SignAndCheckFile)->Arg(100 << 10)->Arg(10 << 20)->Unit(benchmark::kMillisecond);

zel::Variant ThirtyDaysOfTwentyTypes() {
  zel::Dataset data("cdsTipoReceHomolog");
  data.AddField("DTMOVIMCAIXA", zel::FieldType::kDateTime);
  data.AddField("CDTIPORECE", zel::FieldType::kText, 3);
  data.AddField("NMTIPORECE", zel::FieldType::kText, 20);
  data.AddField("VRMOVIVEND", zel::FieldType::kFloat);
  data.CreateDataSet();
  for (int day = 1; day <= 30; ++day) {
    for (int code = 1; code <= 20; ++code) {
      data.Append();
      data.SetValue("DTMOVIMCAIXA", zel::EncodeDateTime({.year = 2026, .month = 11, .day = day}));
      data.SetValue("CDTIPORECE", std::to_string(code));
      data.SetValue("NMTIPORECE", "FORMA " + std::to_string(code));
      data.SetValue("VRMOVIVEND", day * 10.0 + code / 4.0);
      data.Post();
    }
  }
  return data.Data();
}

// The driver started on a new printer, ready for reports.
class ReportRegister : public zelbench::LoadedRegister {
 public:
  ReportRegister() : LoadedRegister("zel_tiporece_bench") { ReadyForReports(); }
};

void BM_TipoRece30DaysOf20Types(benchmark::State& state) {
  std::string failure;
  ReportRegister* cash_register = zelbench::MadeOnce<ReportRegister>(failure);
  if (cash_register == nullptr) {
    state.SkipWithError(("No register: " + failure).c_str());
    return;
  }
  auto* report =
      cash_register->Driver<void(const std::string&, const std::string&, const std::string&,
                                 const zel::Variant&)>("imprimeTipoRece");
  const zel::Variant data = ThirtyDaysOfTwentyTypes();
  for (auto _ : state) {
    report("", "", kScheme, data);
    if (cash_register->host().dialogs != 0) {
      state.SkipWithError("the report showed a dialog");
      break;
    }
  }
}
BENCHMARK(BM_TipoRece30DaysOf20Types)->Unit(benchmark::kMillisecond);

}  // namespace
