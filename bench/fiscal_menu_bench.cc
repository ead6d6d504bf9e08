// The fiscal menu's heavy steps. Signing and checking a file with the
// signing stand-in (loaded as the driver loads it), for files of 100 KB and
// 10 MB: the time per MB should not grow with the file. And the
// totals-by-payment-type report of 30 days x 20 payment types, printed
// through the loaded driver on the simulated printer.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <string>

#include "platform/env.h"
#include "zel/dataset.h"
#include "zel/error.h"
#include "zel/host_services.h"
#include "zel/variant.h"

namespace {

constexpr char kScheme[] = "001";

std::filesystem::path Scratch(const char* name) {
  const std::filesystem::path path = std::filesystem::temp_directory_path() / name;
  std::filesystem::remove_all(path);
  std::filesystem::create_directories(path);
  return path;
}

std::string LibraryDirectory() {
  return zel::Env::Default()->HostExecutableDirectory() + "/../lib";
}

template <typename Signature>
Signature* Get(zel::LibraryHandle library, const char* name) {
  void* address = zel::Env::Default()->GetSymbol(library, name);
  if (address == nullptr) throw zel::Error(std::string("Missing symbol ") + name);
  return reinterpret_cast<Signature*>(address);
}

zel::LibraryHandle Load(const std::string& path) {
  zel::LibraryHandle handle = zel::Env::Default()->OpenLibrary(path);
  if (handle == nullptr) throw zel::Error("Cannot load " + path);
  return handle;
}

void BM_SignAndCheckFile(benchmark::State& state) {
  using GenKey = int(char*, char*);
  using Generate = int(const char*, const char*, const char*, char*, int);
  using Validate = int(const char*, const char*, const char*);
  const zel::LibraryHandle library = Load(LibraryDirectory() + "/libsign_bema.so");
  char modulus[257], exponent[257];
  Get<GenKey>(library, "genkkey")(modulus, exponent);
  auto* generate = Get<Generate>(library, "generateEAD");
  auto* validate = Get<Validate>(library, "validateFile");

  const std::string file = (Scratch("zel_sign_bench") / "leitura.txt").string();
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

// The driver's debug log goes to the scratch folder.
class BenchEnv : public zel::EnvWrapper {
 public:
  explicit BenchEnv(std::string directory)
      : EnvWrapper(zel::Env::Default()), directory_(std::move(directory)) {}
  std::string HostExecutableDirectory() override { return directory_; }

 private:
  std::string directory_;
};

class CountingHost : public zel::HostServices {
 public:
  bool Mensagem(const std::string&, const std::string&, const std::string&, const std::string&, int,
                const std::string&, const std::string&, int, zel::Dataset*) override {
    ++dialogs;
    return false;
  }
  std::string GravaCER(const std::string&, const std::string&, const std::string&) override {
    return "";
  }
  void GravaDocumentosNaoFiscais(const std::string&, const std::string&, const std::string&, int,
                                 int) override {}
  void Delay(int) override {}
  void ProcessMessages() override {}
  void Terminate() override {}
  int dialogs = 0;
};

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

void BM_TipoRece30DaysOf20Types(benchmark::State& state) {
  const std::filesystem::path scratch = Scratch("zel_tiporece_bench");
  for (const char* folder : {"ecfsim", "system", "drive_c"}) {
    std::filesystem::create_directories(scratch / folder);
  }
  ::setenv("ECFSIM_DIR", (scratch / "ecfsim").c_str(), 1);
  ::setenv("ZEL_SYSTEM_DIR", (scratch / "system").c_str(), 1);
  ::setenv("ZEL_DRIVE_C", (scratch / "drive_c").c_str(), 1);
  ::setenv("ZEL_LIBRARY_PATH", LibraryDirectory().c_str(), 1);
  static BenchEnv env(scratch.string());
  static CountingHost host;
  env.WriteLines((scratch / "system/BemaFI32.ini").string(),
                 {"[Sistema]", "Porta=COM1", "Impressora=0", "Path=C:\\"});
  const zel::LibraryHandle driver = Load(LibraryDirectory() + "/libzel00100.so");
  const zel::LibraryHandle printer = Load(LibraryDirectory() + "/libBemaFI32.so");
  Get<void(zel::Env*)>(driver, "ZelDefineEnv")(&env);
  Get<void(zel::HostServices*)>(driver, "ZelRegistraHost")(&host);
  Get<void()>(printer, "EcfSim_Reset")();
  const bool started = Get<bool(const zel::Variant&)>(
      driver, "StartImpFiscal")(zel::MakeParams({{"CDFILIAL", "0001"},
                                                 {"CDCAIXA", "001"},
                                                 {"NRSERIE", "X"},
                                                 {"NRSERIEIMP", "X"},
                                                 {"ESQUEMA", kScheme},
                                                 {"ESQUEMACOR", kScheme},
                                                 {"PORTAIMPFIS", "COM1"},
                                                 {"CDPORTAIMPFIS", "COM1"}}));
  Get<int(int, const char*)>(printer, "Bematech_FI_NomeiaTotalizadorNaoSujeitoIcms")(
      2, "Rel Gerencial");
  Get<int(const char*, const char*)>(printer, "Bematech_FI_ProgramaFormaPagamentoMFD")(
      "Rel Gerencial", "1");
  *Get<std::string>(driver, "_ZN8Zel0010114IdTotRelatorioB5cxx11E") = "02";
  if (!started || host.dialogs != 0) {
    state.SkipWithError("the driver did not start");
    return;
  }
  auto* report =
      Get<void(const std::string&, const std::string&, const std::string&, const zel::Variant&)>(
          driver, "imprimeTipoRece");
  const zel::Variant data = ThirtyDaysOfTwentyTypes();
  for (auto _ : state) {
    report("", "", kScheme, data);
    if (host.dialogs != 0) {
      state.SkipWithError("the report showed a dialog");
      break;
    }
  }
}
BENCHMARK(BM_TipoRece30DaysOf20Types)->Unit(benchmark::kMillisecond);

}  // namespace
