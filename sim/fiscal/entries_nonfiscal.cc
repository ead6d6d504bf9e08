// Entries of the non-fiscal documents: receipts, supply and withdrawal,
// linked receipts, management reports and barcodes.
#include <algorithm>

#include "bemafi32.h"
#include "coupon.h"
#include "nonfiscal.h"
#include "text.h"

namespace ecfsim {
namespace {

constexpr int kW = kTapeWidth;
constexpr std::size_t kMaxText = 65536;

bool InNonFiscalDocument(const PrinterState& s) {
  return s.document == DocumentState::kLinkedReceipt ||
         s.document == DocumentState::kManagementReport;
}

Outcome OpenLinkedReceipt(Printer& p, const std::string& form, const std::string& value,
                          const std::string& coo) {
  auto amount = Trim(value).empty() ? std::optional<Cents>(0) : ParseAmount(value, 2, 2);
  auto number = Trim(coo).empty() ? std::optional<int>(0) : ParseCount(coo);
  if (Trim(form).empty() || !amount || *amount < 0 || !number) return BadParameter();
  PrinterState& s = p.state();
  if (p.DocumentOpen()) return NotNow();
  int slot = FindPaymentForm(s, form);
  if (slot < 0) return Refuse(0, st2::kNotExecuted, kFormNotProgrammed);
  if (*number != 0 && *number != s.counters.coo) return NotNow();
  auto& payments = s.linkable_payments;
  auto payment = std::find_if(payments.begin(), payments.end(),
                              [slot](const CouponPayment& c) { return c.form == slot; });
  if (payment == payments.end()) return NotNow();
  CouponPayment taken = *payment;
  payments.erase(payment);
  std::vector<CouponPayment> others = payments;
  int linked_coo = s.counters.coo;
  p.StartDocument("CCD", Utf8ToCp1252("COMPROVANTE CRÉDITO OU DÉBITO"));
  s.linkable_payments = others;  // other payments of that document stay open to receipts
  ++s.counters.cdc;
  ++s.counters.gnf;
  p.Print(Spread("COO do documento vinculado:", Digits(linked_coo, 6), kW));
  p.Print(Spread(s.payment_forms[slot].name, Money(taken.amount), kW));
  p.Print(std::string(kW, '-'));
  s.document = DocumentState::kLinkedReceipt;
  return Done();
}

Outcome PrintBarcode(Printer& p, const std::string& kind, const std::string& code) {
  if (Trim(code).empty() || code.size() > 256) return BadParameter();
  if (!InNonFiscalDocument(p.state())) return NotNow();
  p.Print(Centre("||| " + kind + " |||", kW));
  p.Print(Centre(code, kW));
  return Done();
}

int Barcode(const char* entry, const std::string& kind, const char* code) {
  std::string text = Arg(code);
  return Run(entry, {text}, CommandKind::kPrinting,
             [&](Printer& p) { return PrintBarcode(p, kind, text); });
}

}  // namespace

Outcome RegisterReceipt(Printer& p, const std::string& index_text, const std::string& value,
                        const std::string& form) {
  std::string index = Upper(Trim(index_text));
  auto amount = ParseAmount(value, 2, 2);
  auto number = index == "SA" || index == "SU" ? std::optional<int>(0) : ParseCount(index);
  if (!amount || *amount <= 0 || !number || *number > kTotalizerSlots ||
      (index != "SA" && index != "SU" && *number < 1)) {
    return BadParameter();
  }
  PrinterState& s = p.state();
  if (p.DocumentOpen()) return NotNow();
  NonFiscalTotalizer* totalizer = *number > 0 ? &s.totalizers[*number - 1] : nullptr;
  if (totalizer && totalizer->name.empty()) {
    return Refuse(0, st2::kNotExecuted, kTotalizerNotProgrammed);
  }
  int slot = Trim(form).empty() ? 0 : FindPaymentForm(s, form);
  if (slot < 0) return Refuse(0, st2::kNotExecuted, kFormNotProgrammed);
  if (Outcome day = p.CheckDay(); day.code != kOk) return day;
  p.OpenDayIfNeeded();

  std::string title = index == "SA" ? "SANGRIA" : index == "SU" ? "SUPRIMENTO" : "";
  p.StartDocument("CNF", Utf8ToCp1252("COMPROVANTE NÃO FISCAL"));
  ++s.counters.gnf;
  PaymentForm& payment_form = s.payment_forms[slot];
  if (index == "SA") {
    s.day.withdrawals += *amount;
    ++s.day.withdrawal_count;
    payment_form.day_total -= *amount;
  } else if (index == "SU") {
    s.day.supplies += *amount;
    ++s.day.supply_count;
    payment_form.day_total += *amount;
  } else {
    totalizer->day_total += *amount;
    ++totalizer->day_count;
    payment_form.day_total += *amount;
    title = Digits(*number, 2) + " " + totalizer->name;
    if (payment_form.linked_allowed) s.linkable_payments.push_back(CouponPayment{slot, *amount});
  }
  p.Print(Spread(title, Money(*amount), kW));
  p.Print(Spread(index == "SA" ? Utf8ToCp1252("Saída em ") + payment_form.name : payment_form.name,
                 Money(*amount), kW));
  p.FinishDocument();
  return Done();
}

Outcome OpenReport(Printer& p) {
  PrinterState& s = p.state();
  if (s.document == DocumentState::kManagementReport) return Done();
  if (p.DocumentOpen()) return NotNow();
  if (Outcome day = p.CheckDay(); day.code != kOk) return day;
  p.OpenDayIfNeeded();
  p.StartDocument("RG", Utf8ToCp1252("RELATÓRIO GERENCIAL"));
  ++s.counters.grg;
  ++s.counters.gnf;
  s.document = DocumentState::kManagementReport;
  return Done();
}

Outcome PrintInDocument(Printer& p, const std::string& text) {
  if (text.size() > kMaxText) return BadParameter();
  if (!InNonFiscalDocument(p.state())) return NotNow();
  p.Print(text);
  return Done();
}

Outcome CloseDocument(Printer& p, bool linked_too) {
  PrinterState& s = p.state();
  if (s.document == DocumentState::kIdle) return Done();
  if (s.document != DocumentState::kManagementReport &&
      !(linked_too && s.document == DocumentState::kLinkedReceipt)) {
    return NotNow();
  }
  s.document = DocumentState::kIdle;
  p.FinishDocument();
  return Done();
}

}  // namespace ecfsim

using ecfsim::Arg;
using ecfsim::CommandKind;
using ecfsim::Printer;
using ecfsim::Run;

int Bematech_FI_RecebimentoNaoFiscal(const char* index, const char* value, const char* form) {
  std::string i = Arg(index), v = Arg(value), f = Arg(form);
  return Run("Bematech_FI_RecebimentoNaoFiscal", {i, v, f}, CommandKind::kPrinting,
             [&](Printer& p) { return ecfsim::RegisterReceipt(p, i, v, f); });
}

int Bematech_FI_Suprimento(const char* value, const char* form) {
  std::string v = Arg(value), f = Arg(form);
  return Run("Bematech_FI_Suprimento", {v, f}, CommandKind::kPrinting,
             [&](Printer& p) { return ecfsim::RegisterReceipt(p, "SU", v, f); });
}

int Bematech_FI_Sangria(const char* value) {
  std::string v = Arg(value);
  return Run("Bematech_FI_Sangria", {v}, CommandKind::kPrinting,
             [&](Printer& p) { return ecfsim::RegisterReceipt(p, "SA", v, ""); });
}

int Bematech_FI_AbreComprovanteNaoFiscalVinculado(const char* form, const char* value,
                                                  const char* coo) {
  std::string f = Arg(form), v = Arg(value), c = Arg(coo);
  return Run("Bematech_FI_AbreComprovanteNaoFiscalVinculado", {f, v, c}, CommandKind::kPrinting,
             [&](Printer& p) { return ecfsim::OpenLinkedReceipt(p, f, v, c); });
}

int Bematech_FI_UsaComprovanteNaoFiscalVinculado(const char* text) {
  std::string t = Arg(text);
  return Run("Bematech_FI_UsaComprovanteNaoFiscalVinculado", {t}, CommandKind::kPrinting,
             [&](Printer& p) { return ecfsim::PrintInDocument(p, t); });
}

int Bematech_FI_FechaComprovanteNaoFiscalVinculado() {
  return Run("Bematech_FI_FechaComprovanteNaoFiscalVinculado", {}, CommandKind::kPrinting,
             [](Printer& p) {
               if (p.state().document == ecfsim::DocumentState::kManagementReport) {
                 return ecfsim::NotNow();
               }
               return ecfsim::CloseDocument(p, true);
             });
}

int Bematech_FI_RelatorioGerencial(const char* text) {
  std::string t = Arg(text);
  return Run("Bematech_FI_RelatorioGerencial", {t}, CommandKind::kPrinting, [&](Printer& p) {
    if (t.size() > ecfsim::kMaxText) return ecfsim::BadParameter();
    ecfsim::Outcome opened = ecfsim::OpenReport(p);
    return opened.code == ecfsim::kOk ? ecfsim::PrintInDocument(p, t) : opened;
  });
}

int Bematech_FI_FechaRelatorioGerencial() {
  return Run("Bematech_FI_FechaRelatorioGerencial", {}, CommandKind::kPrinting,
             [](Printer& p) { return ecfsim::CloseDocument(p, true); });
}

int Bematech_FI_CodigoBarrasCODABARMFD(const char* code) {
  return ecfsim::Barcode("Bematech_FI_CodigoBarrasCODABARMFD", "CODABAR", code);
}
int Bematech_FI_CodigoBarrasCODE128MFD(const char* code) {
  return ecfsim::Barcode("Bematech_FI_CodigoBarrasCODE128MFD", "CODE128", code);
}
int Bematech_FI_CodigoBarrasCODE39MFD(const char* code) {
  return ecfsim::Barcode("Bematech_FI_CodigoBarrasCODE39MFD", "CODE39", code);
}
int Bematech_FI_CodigoBarrasCODE93MFD(const char* code) {
  return ecfsim::Barcode("Bematech_FI_CodigoBarrasCODE93MFD", "CODE93", code);
}
int Bematech_FI_CodigoBarrasEAN13MFD(const char* code) {
  return ecfsim::Barcode("Bematech_FI_CodigoBarrasEAN13MFD", "EAN13", code);
}
int Bematech_FI_CodigoBarrasEAN8MFD(const char* code) {
  return ecfsim::Barcode("Bematech_FI_CodigoBarrasEAN8MFD", "EAN8", code);
}
int Bematech_FI_CodigoBarrasISBNMFD(const char* code) {
  return ecfsim::Barcode("Bematech_FI_CodigoBarrasISBNMFD", "ISBN", code);
}
int Bematech_FI_CodigoBarrasITFMFD(const char* code) {
  return ecfsim::Barcode("Bematech_FI_CodigoBarrasITFMFD", "ITF", code);
}
int Bematech_FI_CodigoBarrasMSIMFD(const char* code) {
  return ecfsim::Barcode("Bematech_FI_CodigoBarrasMSIMFD", "MSI", code);
}
int Bematech_FI_CodigoBarrasPDF417MFD(const char* code) {
  return ecfsim::Barcode("Bematech_FI_CodigoBarrasPDF417MFD", "PDF417", code);
}
int Bematech_FI_CodigoBarrasPLESSEYMFD(const char* code) {
  return ecfsim::Barcode("Bematech_FI_CodigoBarrasPLESSEYMFD", "PLESSEY", code);
}
int Bematech_FI_CodigoBarrasUPCAMFD(const char* code) {
  return ecfsim::Barcode("Bematech_FI_CodigoBarrasUPCAMFD", "UPC-A", code);
}
int Bematech_FI_CodigoBarrasUPCEMFD(const char* code) {
  return ecfsim::Barcode("Bematech_FI_CodigoBarrasUPCEMFD", "UPC-E", code);
}
