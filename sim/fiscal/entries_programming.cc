// Entries that read and program the tax rates, the non-fiscal totalizers,
// the payment forms and the daylight-saving mode.
#include <string>

#include "bemafi32.h"
#include "printer.h"
#include "text.h"

namespace ecfsim {
namespace {

constexpr int kListedTotalizers = 9;  // what fits the host's 179 characters

std::string RateList(const PrinterState& s, bool iss_only) {
  int last = -1;
  for (int i = 0; i < kTaxRateSlots; ++i) {
    if (s.rates[i].programmed && (!iss_only || s.rates[i].iss)) last = i;
  }
  std::string list;
  for (int i = 0; i <= last; ++i) {
    const TaxRate& r = s.rates[i];
    if (iss_only && !(r.programmed && r.iss)) continue;
    if (!list.empty()) list += ",";
    list += r.programmed ? Digits(r.rate, 4) : "0000";
  }
  return list;
}

std::string TotalizerList(const PrinterState& s) {
  std::string list;
  for (int i = 0; i < kListedTotalizers; ++i) {
    if (i > 0) list += ",";
    list += PadRight(s.totalizers[i].name, kTotalizerNameWidth);
  }
  return list;
}

std::string PaymentFormList(const PrinterState& s) {
  std::string list;
  for (const PaymentForm& f : s.payment_forms) {
    if (f.name.empty()) continue;
    if (!list.empty()) list += ",";
    list += PadRight(f.name, kPaymentFormNameWidth) + Digits(f.day_total, 20) +
            (f.linked_allowed ? "1" : "0");
  }
  return list;
}

Outcome NameTotalizer(Printer& p, int index, const std::string& raw_name) {
  std::string name = TrimRight(raw_name);
  if (index < 1 || index > kTotalizerSlots || Trim(name).empty() ||
      static_cast<int>(name.size()) > kTotalizerNameWidth) {
    return BadParameter();
  }
  if (p.DocumentOpen()) return NotNow();
  auto& totalizers = p.state().totalizers;
  NonFiscalTotalizer& slot = totalizers[index - 1];
  if (!slot.name.empty()) return SameName(slot.name, name) ? Done() : NotNow();
  for (const NonFiscalTotalizer& other : totalizers) {
    if (SameName(other.name, name)) return NotNow();  // already programmed elsewhere
  }
  slot.name = name;
  return Done();
}

Outcome ProgramPaymentForm(Printer& p, const std::string& raw_name, const std::string& linked) {
  std::string name = TrimRight(raw_name);
  if (Trim(name).empty() || static_cast<int>(name.size()) > kPaymentFormNameWidth ||
      (!linked.empty() && linked != "0" && linked != "1")) {
    return BadParameter();
  }
  if (p.DocumentOpen()) return NotNow();
  PaymentForm* free_slot = nullptr;
  for (PaymentForm& f : p.state().payment_forms) {
    if (SameName(f.name, name)) {
      f.linked_allowed = f.linked_allowed || linked == "1";
      return Done();
    }
    if (f.name.empty() && !free_slot) free_slot = &f;
  }
  if (!free_slot) return NotNow();
  *free_slot = PaymentForm{name, linked == "1", 0};
  return Done();
}

// Entering daylight saving puts the clock an hour forward; leaving it, back.
Outcome ToggleDaylightSaving(Printer& p) {
  if (p.DocumentOpen()) return NotNow();
  PrinterState& s = p.state();
  s.daylight_saving = !s.daylight_saving;
  s.clock_offset_seconds += s.daylight_saving ? 3600 : -3600;
  return Done();
}

}  // namespace
}  // namespace ecfsim

using ecfsim::CommandKind;
using ecfsim::CopyOut;
using ecfsim::Printer;
using ecfsim::Query;
using ecfsim::Run;

int Bematech_FI_RetornoAliquotas(char* rates79) {
  return Query("Bematech_FI_RetornoAliquotas",
               [&](Printer& p) { CopyOut(rates79, ecfsim::RateList(p.state(), false), 79); });
}

int Bematech_FI_VerificaAliquotasIss(char* rates79) {
  return Query("Bematech_FI_VerificaAliquotasIss",
               [&](Printer& p) { CopyOut(rates79, ecfsim::RateList(p.state(), true), 79); });
}

int Bematech_FI_VerificaTotalizadoresNaoFiscais(char* names179) {
  return Query("Bematech_FI_VerificaTotalizadoresNaoFiscais",
               [&](Printer& p) { CopyOut(names179, ecfsim::TotalizerList(p.state()), 179); });
}

int Bematech_FI_NomeiaTotalizadorNaoSujeitoIcms(int index, const char* name) {
  std::string text = ecfsim::Arg(name);
  return Run("Bematech_FI_NomeiaTotalizadorNaoSujeitoIcms", {std::to_string(index), text},
             CommandKind::kQuery,
             [&](Printer& p) { return ecfsim::NameTotalizer(p, index, text); });
}

int Bematech_FI_ProgramaFormaPagamentoMFD(const char* name, const char* linked) {
  std::string form = ecfsim::Arg(name), flag = ecfsim::Arg(linked);
  return Run("Bematech_FI_ProgramaFormaPagamentoMFD", {form, flag}, CommandKind::kQuery,
             [&](Printer& p) { return ecfsim::ProgramPaymentForm(p, form, flag); });
}

int Bematech_FI_VerificaFormasPagamento(char* forms3016) {
  return Query("Bematech_FI_VerificaFormasPagamento",
               [&](Printer& p) { CopyOut(forms3016, ecfsim::PaymentFormList(p.state()), 3016); });
}

int Bematech_FI_ProgramaHorarioVerao() {
  return Run("Bematech_FI_ProgramaHorarioVerao", {}, CommandKind::kQuery,
             ecfsim::ToggleDaylightSaving);
}
