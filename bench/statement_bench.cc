// The consumer statement (Extrato) of one family with 10 and with 10,000
// movements, every other one a sale of two items, through the driver and
// the simulated printer loaded at run time. The "per_movement" counter is
// the time of one movement line (with its items); it should not grow with
// the length of the statement.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <string>

#include "platform/env.h"
#include "zel/dataset.h"
#include "zel/error.h"
#include "zel/variant.h"

namespace {

using S = const std::string&;
using StartOp = bool(const zel::Variant&);
using ExtratoOp = bool(S, S, zel::Dataset&, zel::Dataset&, zel::Dataset&, zel::Dataset&,
                       zel::Dataset&, S, S, S, S, S, zel::Dataset&);

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

// The debug log goes to the scratch folder instead of beside this program.
class BenchEnv : public zel::EnvWrapper {
 public:
  explicit BenchEnv(std::string directory)
      : EnvWrapper(zel::Env::Default()), directory_(std::move(directory)) {}
  std::string HostExecutableDirectory() override { return directory_; }

 private:
  std::string directory_;
};

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
  Register() : scratch_(Scratch()), env_(scratch_) {
    const std::string lib = zel::Env::Default()->HostExecutableDirectory() + "/../lib";
    ::setenv("ZEL_LIBRARY_PATH", lib.c_str(), 1);
    ::setenv("ECFSIM_DIR", (scratch_ + "/ecfsim").c_str(), 1);
    ::setenv("ZEL_SYSTEM_DIR", (scratch_ + "/system").c_str(), 1);
    ::setenv("ZEL_DRIVE_C", (scratch_ + "/drive_c").c_str(), 1);
    env_.WriteLines(scratch_ + "/system/BemaFI32.ini",
                    {"[Sistema]", "Porta=COM1", "Impressora=0", "Path=C:\\"});
    driver_ = Load(lib + "/libzel00100.so");
    zel::LibraryHandle printer = Load(lib + "/libBemaFI32.so");
    Get<void(zel::Env*)>(driver_, "ZelDefineEnv")(&env_);
    Get<void()>(printer, "EcfSim_Reset")();
    if (!Get<StartOp>(driver_, "StartImpFiscal")(zel::MakeParams({{"CDFILIAL", "0001"},
                                                                  {"CDCAIXA", "001"},
                                                                  {"NRSERIE", "X"},
                                                                  {"NRSERIEIMP", "X"},
                                                                  {"ESQUEMA", "001"},
                                                                  {"ESQUEMACOR", "001"},
                                                                  {"PORTAIMPFIS", "COM1"},
                                                                  {"CDPORTAIMPFIS", "COM1"}}))) {
      throw zel::Error("The driver did not start");
    }
    Get<int(int, const char*)>(printer, "Bematech_FI_NomeiaTotalizadorNaoSujeitoIcms")(
        2, "Rel Gerencial");
    Get<int(const char*, const char*)>(printer, "Bematech_FI_ProgramaFormaPagamentoMFD")(
        "Rel Gerencial", "1");
    *static_cast<std::string*>(
        zel::Env::Default()->GetSymbol(driver_, "_ZN8Zel0010114IdTotRelatorioB5cxx11E")) = "02";
  }

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
    return Get<ExtratoOp>(driver_, "Extrato")("", "001", options, families, moves, items, balances,
                                              "", "EXTRATO", "01", "A", "B", statement);
  }

 private:
  static std::string Scratch() {
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / "zel_statement_bench";
    std::filesystem::remove_all(path);
    for (const char* folder : {"ecfsim", "system", "drive_c"}) {
      std::filesystem::create_directories(path / folder);
    }
    return path.string();
  }

  std::string scratch_;
  BenchEnv env_;
  zel::LibraryHandle driver_ = nullptr;
};

void BM_Extrato(benchmark::State& state) {
  static std::unique_ptr<Register> cash_register;
  try {
    if (!cash_register) cash_register = std::make_unique<Register>();
  } catch (const zel::Error& error) {
    state.SkipWithError(error.what());
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
