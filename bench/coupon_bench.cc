// A whole fiscal coupon as a point-of-sale host runs it: the driver and the
// simulated printer loaded by path at run time, the driver started and the
// printer programmed once, then per iteration one coupon of 200 items and 5
// payments (AbreCupom, 200 x VendaItem, FechaCupom). The time includes the
// printer's own work (its memory and paper tape are files) and the debug
// log, both in a scratch folder.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// The host's sale builders the integration tests use (compiled in; they
// need no test framework).
#include "../tests/support/sale_builders.h"
#include "loaded_register.h"
#include "zel/dataset.h"
#include "zel/error.h"
#include "zel/variant.h"

namespace {

constexpr int kItems = 200;
using zelbench::kScheme;

using ParamsOp = bool(zel::Variant&);
using FechaCupomOp = bool(std::span<const zel::Variant>, const std::vector<std::string>*,
                          zel::Variant&);
using ConfigFormaPgOp = bool(const std::string&, const std::string&, bool, bool);

// The driver and the printer, loaded once as a host loads them, the driver
// started and the payment forms programmed through it.
class Register {
 public:
  Register() : register_("zel_coupon_bench") {
    auto* config = Get<ConfigFormaPgOp>("Config_FormaPg");
    for (const char* form : {"Cheque", "Cartao Credito", "Cartao Debito", "Vale Refeicao"}) {
      if (!config(kScheme, form, false, false)) throw zel::Error(std::string("No form ") + form);
    }
    payment_types_ = PaymentTypes();
  }

  // One whole coupon; false when any step failed or a dialog showed.
  bool SellCoupon() {
    zel::Variant opening = zel::OpeningParams(kScheme, {"123.456.789-09", "CLIENTE", ""});
    if (!Get<ParamsOp>("AbreCupom")(opening)) return false;
    auto* sell = Get<ParamsOp>("VendaItem");
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
    return Get<FechaCupomOp>("FechaCupom")(positions, nullptr, result) &&
           register_.host().dialogs == 0;
  }

  const std::string& last_dialog() { return register_.host().last_text; }

 private:
  template <typename Signature>
  Signature* Get(const char* name) {
    return register_.Driver<Signature>(name);
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
    auto* reconcile = Get<CarregaRecebimentoOp>("CarregaRecebimento");
    reconcile("", kScheme, 0, types);
    return types.Data();
  }

  zelbench::LoadedRegister register_;
  zel::Variant payment_types_;
};

void BM_CouponOf200ItemsAnd5Payments(benchmark::State& state) {
  std::string failure;
  Register* cash_register = zelbench::MadeOnce<Register>(failure);
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
