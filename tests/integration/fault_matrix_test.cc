// The fault matrix: one whole sale (opening, two items, a closing with two
// payments), run once for every printer entry it calls and every way that
// call can go wrong: no reply, NAK, each error bit of ST1 and ST2 (and paper
// low), the reply lost after the printer acted, and the host process killed
// at that call (the driver abandoned and started again on the same printer
// memory). Whatever happens, the host does not crash, no item or payment is
// registered twice, no coupon is left open, what the printer sold equals what
// the host was told was sold, and a failure leaves its trace in the log.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "support/sale_fixture.h"
#include "zel/dataset.h"
#include "zel/variant.h"

namespace zel {
namespace {

using ParamsOp = bool(Variant&);
using FechaCupomFn = bool(std::span<const Variant>, const std::vector<std::string>*, Variant&);
using CancelaCupomFn = bool(std::span<const Variant>, Variant&);
using CarregaRecebimentoFn = void(const std::string&, const std::string&, std::int32_t, Dataset&);

constexpr char kScheme[] = "021";
constexpr long long kSaleCents = 1500;  // 10,00 + 5,00, paid 8,00 cash and 7,00 by card

class FaultMatrixTest;
struct Fault {
  std::string name;
  std::function<void(FaultMatrixTest&, const std::string&)> arm;
  bool kills = false;
};

class FaultMatrixTest : public SaleFixture {
 protected:
  void SetUp() override {
    SaleFixture::SetUp();
    // The printer keeps real time; a start checks the host's clock against it.
    env_.SetNow(Env::Default()->Now());
    BindPrinterEntries();
  }

  // A new printer with the sale's payment forms programmed. The cases then
  // follow one another on it, as sales of one day do.
  void FreshPrinter() {
    Sim<void()>("EcfSim_Reset")();
    Dataset types = HostPaymentTypes(
        {{"001", "5", "1", "S", "Dinheiro"}, {"003", "5", "4", "S", "Cartao Credito"}});
    Op<CarregaRecebimentoFn>("CarregaRecebimento")("", kScheme, 0, types);
    payment_types_ = types.Data();
    host_.dialogs.clear();
    ClearSimJournal();
  }

  // The sale as a host runs it; true when the driver said it was sold. A
  // host that hears a failure after the coupon opened cancels it, as a
  // cashier would (`opened`).
  bool Sell(bool* opened) {
    Variant opening = OpeningParams(kScheme, Buyer{});
    bool sold = *opened = Op<ParamsOp>("AbreCupom")(opening);
    for (const Item& item : {Item{.rate = "01", .price = 10.0}, Item{.rate = "02", .price = 5.0}}) {
      Variant params = ItemParams(kScheme, item);
      sold = sold && Op<ParamsOp>("VendaItem")(params);
    }
    if (sold) {
      std::vector<Variant> positions = ClosingPositions(kScheme);
      positions[13] = Movements({{"E", 1, "001", 8.0}, {"E", 2, "003", 7.0}});
      positions[14] = payment_types_;
      Variant result{VariantArray{Variant(VariantArray{}),
                                  Variant(VariantArray{Variant(), Variant(), Variant()})}};
      sold = Op<FechaCupomFn>("FechaCupom")(positions, nullptr, result);
    }
    return sold;
  }
  void HostCancels() {
    const std::vector<Variant> params = {kScheme, false, true, Variant(), "0001", "001", ""};
    Variant result{VariantArray{Variant(VariantArray{}), Variant(VariantArray{Variant()})}};
    Op<CancelaCupomFn>("Cancela_Cupom_Imp")(params, result);
  }
  bool StartAgain() {
    return Op<bool(const Variant&)>("StartImpFiscal")(MakeParams({{"CDFILIAL", "0001"},
                                                                  {"CDCAIXA", "001"},
                                                                  {"NRSERIE", ""},
                                                                  {"NRSERIEIMP", ""},
                                                                  {"ESQUEMA", kScheme},
                                                                  {"ESQUEMACOR", kScheme},
                                                                  {"PORTAIMPFIS", "COM1"},
                                                                  {"CDPORTAIMPFIS", "COM1"}}));
  }
  long long PrinterSold() {
    return SimFigure("gross_sales") - SimFigure("cancellations") - SimFigure("discounts");
  }
  long long PrinterPaid() {
    long long paid = 0;
    for (const auto& [form, cents] : FormTotals()) paid += cents;
    return paid;
  }

  // Every way one call can go wrong.
  static std::vector<Fault> Faults();

  Variant payment_types_;
};

std::vector<Fault> FaultMatrixTest::Faults() {
  using Status = void(const char*, int, int, int, int);
  std::vector<Fault> faults = {
      {"no reply", [](FaultMatrixTest& f, const std::string& e) { f.FailEntry(e.c_str(), 0, 1); }},
      {"reply lost after the printer acted",
       [](FaultMatrixTest& f, const std::string& e) {
         f.Sim<void(const char*, int)>("EcfSim_DropReply")(e.c_str(), 1);
       }},
      {"process killed",
       [](FaultMatrixTest& f, const std::string& e) { f.FailEntry(e.c_str(), 0, -1); }, true},
      {"NAK",
       [](FaultMatrixTest& f, const std::string& e) {
         f.Sim<Status>("EcfSim_SetEntryStatus")(e.c_str(), 21, 0, 0, 1);
       }},
  };
  for (int bit : {128, 64, 32, 16, 8, 4, 1}) {
    faults.push_back(
        {"ST1 " + std::to_string(bit), [bit](FaultMatrixTest& f, const std::string& e) {
           f.Sim<Status>("EcfSim_SetEntryStatus")(e.c_str(), 6, bit, 0, 1);
         }});
  }
  for (int bit : {128, 64, 32, 16, 8, 4, 2, 1}) {
    faults.push_back(
        {"ST2 " + std::to_string(bit), [bit](FaultMatrixTest& f, const std::string& e) {
           f.Sim<Status>("EcfSim_SetEntryStatus")(e.c_str(), 6, 0, bit, 1);
         }});
  }
  return faults;
}

TEST_F(FaultMatrixTest, EveryFaultOfEveryEntryLeavesTheSaleWholeOrUndone) {
  // The entries a clean sale calls.
  FreshPrinter();
  bool opened = false;
  ASSERT_TRUE(Sell(&opened));
  std::set<std::string> entries;
  for (const std::string& call : SimJournal()) entries.insert(call.substr(0, call.find('|')));
  const std::vector<Fault> faults = Faults();

  int cases = 0;
  for (const std::string& entry : entries) {
    for (const Fault& fault : faults) {
      SCOPED_TRACE(entry + " / " + fault.name);
      ++cases;
      const long long sold_before = PrinterSold();
      const long long paid_before = PrinterPaid();
      const std::size_t items_before = Calls("Bematech_FI_VendeItemDepartamento").size();
      const std::size_t log_before = LogEntries().size();
      fault.arm(*this, entry);
      bool sold = Sell(&opened);
      Sim<void()>("EcfSim_ClearFaults")();
      if (fault.kills) {
        sold = false;  // the host never heard the end of it
        Sim<void()>("EcfSim_Restart")();
        EXPECT_TRUE(StartAgain());
      } else if (!sold && opened) {
        HostCancels();
      }
      // A coupon the printer opened while the driver heard no reply is the
      // next start's to settle.
      if (!sold && SimFigure("document") != 0) {
        EXPECT_TRUE(StartAgain());
      }

      EXPECT_EQ(SimFigure("document"), 0) << "a coupon was left open";
      EXPECT_EQ(PrinterSold() - sold_before, sold ? kSaleCents : 0);
      EXPECT_LE(Calls("Bematech_FI_VendeItemDepartamento").size() - items_before, 2u + 1u);
      EXPECT_LE(PrinterPaid() - paid_before, kSaleCents) << "a payment was registered twice";
      const std::vector<std::string> log = LogEntries();
      if (!sold && log.size() > log_before) {
        EXPECT_TRUE(std::any_of(log.begin() + static_cast<long>(log_before), log.end(),
                                [](const std::string& line) {
                                  return line.starts_with("ERRO!!!") ||
                                         line.find("interrupção") != std::string::npos;
                                }))
            << "the log does not tell what went wrong";
      }
      host_.dialogs.clear();
    }
  }
  std::printf("fault matrix: %zu entries x %zu faults = %d sales\n", entries.size(), faults.size(),
              cases);
}

}  // namespace
}  // namespace zel
