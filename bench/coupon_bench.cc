// A whole fiscal coupon as a point-of-sale host runs it: the driver and the
// simulated printer loaded by path at run time, the driver started and the
// printer programmed once, then per iteration one coupon of 200 items and 5
// payments (AbreCupom, 200 x VendaItem, FechaCupom). The time includes the
// printer's own work (its memory and paper tape are files) and the debug
// log, both in a scratch folder.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <vector>

// The host's sale builders the integration tests use (compiled in; they
// need no test framework).
#include "../tests/support/sale_builders.h"
#include "platform/env.h"
#include "zel/dataset.h"
#include "zel/error.h"
#include "zel/host_services.h"
#include "zel/variant.h"

namespace {

constexpr int kItems = 200;
constexpr char kScheme[] = "001";

using ParamsOp = bool(zel::Variant&);
using StartOp = bool(const zel::Variant&);
using FechaCupomOp = bool(std::span<const zel::Variant>, const std::vector<std::string>*,
                          zel::Variant&);
using ConfigFormaPgOp = bool(const std::string&, const std::string&, bool, bool);

// The debug log goes to the scratch folder instead of beside this program.
class BenchEnv : public zel::EnvWrapper {
 public:
  explicit BenchEnv(std::string directory)
      : EnvWrapper(zel::Env::Default()), directory_(std::move(directory)) {}
  std::string HostExecutableDirectory() override { return directory_; }

 private:
  std::string directory_;
};

// A host that answers every question "no" and counts the dialogs: a dialog
// during the run means the sale did not go as planned.
class QuietHost : public zel::HostServices {
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

// The driver and the printer, loaded once as a host loads them, the driver
// started and the payment forms programmed through it.
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
    printer_ = Load(lib + "/libBemaFI32.so");
    Get<void(zel::Env*)>(driver_, "ZelDefineEnv")(&env_);
    Get<void(zel::HostServices*)>(driver_, "ZelRegistraHost")(&host_);
    Get<void()>(printer_, "EcfSim_Reset")();

    if (!Get<StartOp>(driver_, "StartImpFiscal")(zel::MakeParams({{"CDFILIAL", "0001"},
                                                                  {"CDCAIXA", "001"},
                                                                  {"NRSERIE", "X"},
                                                                  {"NRSERIEIMP", "X"},
                                                                  {"ESQUEMA", kScheme},
                                                                  {"ESQUEMACOR", kScheme},
                                                                  {"PORTAIMPFIS", "COM1"},
                                                                  {"CDPORTAIMPFIS", "COM1"}}))) {
      throw zel::Error("The driver did not start: " + host_.last_text);
    }
    auto* config = Get<ConfigFormaPgOp>(driver_, "Config_FormaPg");
    for (const char* form : {"Cheque", "Cartao Credito", "Cartao Debito", "Vale Refeicao"}) {
      if (!config(kScheme, form, false, false)) throw zel::Error(std::string("No form ") + form);
    }
    payment_types_ = PaymentTypes();
  }

  // One whole coupon; false when any step failed or a dialog showed.
  bool SellCoupon() {
    zel::Variant opening = zel::OpeningParams(kScheme, {"123.456.789-09", "CLIENTE", ""});
    if (!Get<ParamsOp>(driver_, "AbreCupom")(opening)) return false;
    auto* sell = Get<ParamsOp>(driver_, "VendaItem");
    for (int index = 0; index < kItems; ++index) {
      zel::Variant item = zel::ItemParams(kScheme, {.code = std::to_string(7891000000000 + index),
                                                    .name = "PRODUTO " + std::to_string(index),
                                                    .rate = index % 2 == 0 ? "01" : "02",
                                                    .quantity = static_cast<double>(1 + index % 3),
                                                    .price = 1.25 + index % 10,
                                                    .discount = index % 25 == 0 ? 0.5 : 0.0,
                                                    .unit = "UN"});
      if (!sell(item)) return false;
    }
    std::vector<zel::Variant> positions = zel::ClosingPositions(kScheme);
    positions[1] = "OBRIGADO, VOLTE SEMPRE";
    positions[6] = 1.0;
    positions[13] = zel::Movements({{"E", 1, "001", 100.0},
                                    {"E", 2, "002", 100.0},
                                    {"E", 3, "003", 100.0},
                                    {"E", 4, "004", 100.0},
                                    {"E", 5, "005", 2000.0}});
    positions[14] = payment_types_;
    zel::Variant result{
        zel::VariantArray{zel::Variant(zel::VariantArray{}), zel::Variant(zel::VariantArray(3))}};
    return Get<FechaCupomOp>(driver_, "FechaCupom")(positions, nullptr, result) &&
           host_.dialogs == 0;
  }

  const std::string& last_dialog() const { return host_.last_text; }

 private:
  static std::string Scratch() {
    const std::filesystem::path path = std::filesystem::temp_directory_path() / "zel_coupon_bench";
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

  // The host's payment types, reconciled with the printer (which names them
  // as the printer has them, in NMTIPORECE), as FechaCupom receives them.
  zel::Variant PaymentTypes() {
    zel::Dataset types = zel::HostPaymentTypes({{"001", "5", "1", "S", "Dinheiro"},
                                                {"002", "5", "2", "S", "Cheque"},
                                                {"003", "5", "4", "S", "Cartao Credito"},
                                                {"004", "5", "4", "S", "Cartao Debito"},
                                                {"005", "5", "3", "S", "Vale Refeicao"}});
    using CarregaRecebimentoOp =
        void(const std::string&, const std::string&, std::int32_t, zel::Dataset&);
    auto* reconcile = Get<CarregaRecebimentoOp>(driver_, "CarregaRecebimento");
    reconcile("", kScheme, 0, types);
    return types.Data();
  }

  std::string scratch_;
  BenchEnv env_;
  QuietHost host_;
  zel::LibraryHandle driver_ = nullptr;
  zel::LibraryHandle printer_ = nullptr;
  zel::Variant payment_types_;
};

// The register of the whole run, set up on first use; null (with the reason
// in `failure`) when it could not be.
Register* TheRegister(std::string& failure) {
  static std::string reason;
  static std::unique_ptr<Register> cash_register = []() -> std::unique_ptr<Register> {
    try {
      return std::make_unique<Register>();
    } catch (const zel::Error& error) {
      reason = error.what();
      return nullptr;
    }
  }();
  failure = reason;
  return cash_register.get();
}

void BM_CouponOf200ItemsAnd5Payments(benchmark::State& state) {
  std::string failure;
  Register* cash_register = TheRegister(failure);
  if (cash_register == nullptr) {
    state.SkipWithError(("No register: " + failure).c_str());
    return;
  }
  for (auto _ : state) {
    if (!cash_register->SellCoupon()) {
      state.SkipWithError(("The coupon failed: " + cash_register->last_dialog()).c_str());
      break;
    }
  }
  state.counters["per_item"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * kItems,
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_CouponOf200ItemsAnd5Payments)->Unit(benchmark::kMillisecond);

}  // namespace
