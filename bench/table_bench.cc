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
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/env.h"
#include "zel/dataset.h"
#include "zel/error.h"
#include "zel/host_services.h"
#include "zel/variant.h"

namespace {

constexpr char kScheme[] = "001";
const std::string kEsc = "\x1b";

using ItemOp = bool(const std::string&, const std::string&, const std::string&, const std::string&,
                    const std::string&, const std::string&, double, double, double);
using ChannelOp = bool(const std::string&, const std::string&, std::span<const std::string>, bool,
                       bool);
using ListOp = bool(zel::Dataset*, const std::string&, const std::string&, const std::string&,
                    const zel::Variant&);
using TransfOp = void(const std::string&, const std::string&, const std::string&,
                      const zel::Variant&);

class ScratchEnv : public zel::EnvWrapper {
 public:
  explicit ScratchEnv(std::string directory)
      : EnvWrapper(zel::Env::Default()), directory_(std::move(directory)) {}
  std::string HostExecutableDirectory() override { return directory_; }

 private:
  std::string directory_;
};

// Counts dialogs: one during a run means an operation did not go through.
class CountingHost : public zel::HostServices {
 public:
  bool Mensagem(const std::string& text, const std::string&, const std::string&, const std::string&,
                int, const std::string&, const std::string&, int, zel::Dataset*) override {
    ++dialogs;
    last_text = text;
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
  std::string last_text;
};

// A started restaurant register: rate 01, the report totalizer and the
// report payment form found or programmed through the driver.
class Restaurant {
 public:
  Restaurant() : scratch_(Scratch()), env_(scratch_) {
    const std::string lib = zel::Env::Default()->HostExecutableDirectory() + "/../lib";
    ::setenv("ZEL_LIBRARY_PATH", lib.c_str(), 1);
    ::setenv("ECFSIM_DIR", (scratch_ + "/ecfsim").c_str(), 1);
    ::setenv("ZEL_SYSTEM_DIR", (scratch_ + "/system").c_str(), 1);
    ::setenv("ZEL_DRIVE_C", (scratch_ + "/drive_c").c_str(), 1);
    env_.WriteLines(scratch_ + "/system/BemaFI32.ini",
                    {"[Sistema]", "Porta=COM1", "Impressora=0", "Path=C:\\"});
    driver_ = Load(lib + "/libzel00100.so");
    printer_ = Load(lib + "/libBemaFI32.so");
    Get<void(zel::Env*)>(driver_, "ZelDefineEnv")(&env_);
    Get<void(zel::HostServices*)>(driver_, "ZelRegistraHost")(&host_);
    Get<void()>(printer_, "EcfSim_Reset")();
    Get<int(int, int, int)>(printer_, "EcfSim_SetTaxRate")(1, 1800, 0);
    if (!Get<bool(const zel::Variant&)>(
            driver_, "StartImpFiscal")(zel::MakeParams({{"CDFILIAL", "0001"},
                                                        {"CDCAIXA", "001"},
                                                        {"NRSERIE", "X"},
                                                        {"NRSERIEIMP", "X"},
                                                        {"ESQUEMA", kScheme},
                                                        {"ESQUEMACOR", kScheme},
                                                        {"CDPORTAIMPFIS", "COM1"},
                                                        {"PORTAIMPFIS", "COM1"}}))) {
      throw zel::Error("The driver did not start: " + host_.last_text);
    }
    std::string cv, consumer, purchase, cancellation, report;
    std::int32_t unused = 0;
    Get<void(std::string&, std::string&, std::string&, std::string&, std::string&,
             const std::string&, std::int32_t&, zel::Dataset*)>(driver_, "CarregaTotalizador")(
        cv, consumer, purchase, cancellation, report, kScheme, unused, nullptr);
    if (!Get<bool(const std::string&, const std::string&, bool, bool)>(driver_, "Config_FormaPg")(
            kScheme, "Rel Gerencial", false, false)) {
      throw zel::Error("No report payment form: " + host_.last_text);
    }
    host_.dialogs = 0;
  }

  template <typename Signature>
  Signature* Driver(const char* name) {
    return Get<Signature>(driver_, name);
  }
  template <typename Signature>
  Signature* Printer(const char* name) {
    return Get<Signature>(printer_, name);
  }
  bool Quiet() const { return host_.dialogs == 0; }
  const std::string& last_dialog() const { return host_.last_text; }

 private:
  static std::string Scratch() {
    const std::filesystem::path path = std::filesystem::temp_directory_path() / "zel_table_bench";
    std::filesystem::remove_all(path);
    for (const char* folder : {"ecfsim", "system", "drive_c"}) {
      std::filesystem::create_directories(path / folder);
    }
    return path.string();
  }
  static zel::LibraryHandle Load(const std::string& path) {
    zel::Env* env = zel::Env::Default();
    zel::LibraryHandle handle = env->OpenLibrary(path);
    if (handle == nullptr) throw zel::Error("Cannot load " + path + ": " + env->LastLibraryError());
    return handle;
  }
  template <typename Signature>
  static Signature* Get(zel::LibraryHandle library, const char* name) {
    void* address = zel::Env::Default()->GetSymbol(library, name);
    if (address == nullptr) throw zel::Error(std::string("Missing symbol ") + name);
    return reinterpret_cast<Signature*>(address);
  }

  std::string scratch_;
  ScratchEnv env_;
  CountingHost host_;
  zel::LibraryHandle driver_ = nullptr;
  zel::LibraryHandle printer_ = nullptr;
};

Restaurant* TheRestaurant(benchmark::State& state) {
  static std::string reason;
  static std::unique_ptr<Restaurant> restaurant = []() -> std::unique_ptr<Restaurant> {
    try {
      return std::make_unique<Restaurant>();
    } catch (const zel::Error& error) {
      reason = error.what();
      return nullptr;
    }
  }();
  if (restaurant == nullptr) state.SkipWithError(("No restaurant: " + reason).c_str());
  return restaurant.get();
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
