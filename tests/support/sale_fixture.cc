#include "support/sale_fixture.h"

namespace zel {
namespace {

constexpr char kPayEntry[] = "Bematech_FI_EfetuaFormaPagamento";

using PaymentEntry = int (*)(const char*, const char*);

// The stand-in for the driver's payment entry armed by FailNthPayment.
struct PaymentFault {
  static inline PaymentEntry printer_entry = nullptr;
  static inline void (*fail_entry)(const char*, int, int) = nullptr;
  static inline int calls = 0;
  static inline int failing_call = 0;
  static int Entry(const char* form, const char* amount) {
    if (++calls == failing_call) fail_entry(kPayEntry, 0, 1);
    return printer_entry(form, amount);
  }
};

}  // namespace

void SaleFixture::FailEntry(const char* entry, int code, int times) {
  Sim<void(const char*, int, int)>("EcfSim_FailEntry")(entry, code, times);
}

std::vector<std::string> SaleFixture::Calls(const std::string& entry) {
  std::vector<std::string> calls;
  for (const std::string& call : SimJournal()) {
    if (call == entry || call.starts_with(entry + "|")) calls.push_back(call);
  }
  return calls;
}

std::map<std::string, long long> SaleFixture::FormTotals() {
  // Entries of 38 columns: the name (16), the day total in cents (20), the
  // linked-receipt flag, then "," before the next entry.
  std::string forms(3016, ' ');
  Sim<int(char*)>("Bematech_FI_VerificaFormasPagamento")(forms.data());
  std::map<std::string, long long> totals;
  for (std::size_t at = 0; at + 37 <= forms.size(); at += 38) {
    std::string name = forms.substr(at, 16);
    name.erase(name.find_last_not_of(' ') + 1);
    const long long cents = std::stoll(forms.substr(at + 16, 20));
    if (!name.empty() && cents != 0) totals[name] = cents;
    if (at + 37 >= forms.size() || forms[at + 37] != ',') break;
  }
  return totals;
}

void SaleFixture::FailNthPayment(int nth) {
  PaymentFault::printer_entry = Sim<int(const char*, const char*)>(kPayEntry);
  PaymentFault::fail_entry = Sim<void(const char*, int, int)>("EcfSim_FailEntry");
  PaymentFault::calls = 0;
  PaymentFault::failing_call = nth;
  Var<PaymentEntry>(kPayEntry) = &PaymentFault::Entry;
}

}  // namespace zel
