// Payment forms: the printer accepts a payment only in a form programmed into
// it by name, so the host's payment types are reconciled with the printer's
// forms before selling, and single forms can be programmed on request.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/data_module.h"
#include "core/dialogs.h"
#include "core/vendor_call.h"
#include "host/string_functions.h"
#include "programming/printer_lists.h"
#include "zel/dataset.h"
#include "zel/debug_log.h"
#include "zel/driver_state.h"
#include "zel/error.h"
#include "zel/host_services.h"
#include "zel/operations.h"

namespace zel {
namespace {

constexpr int kFormListWidth = 3016;
// The printer keeps this many characters of a form's name.
constexpr std::size_t kFormNameWidth = 16;

// The host fields the reconciliation reads or writes.
constexpr const char* kPaymentTypeFields[] = {"IDTPBUTTON",  "IDTIPORECE", "IDMOSTRARECE",
                                              "DSIMPFISCAL", "CDTIPORECE", "NMTIPORECE",
                                              "CDFPIMPFIS",  "IDEMIVALE"};

std::string FormName(std::string_view text) { return std::string(text.substr(0, kFormNameWidth)); }

// Programs one form (allowing linked receipts on it) and analyses the status
// as asked.
bool ProgramForm(const std::string& name, const std::string& colour_scheme, bool show,
                 bool cancel_open) {
  const int status = CallVendor(Zel00101::Bematech_FI_ProgramaFormaPagamentoMFD, name, "1");
  Zel00101::ImpFisDebug("Bematech_FI_ProgramaFormaPagamentoMFD : " + name + "1");
  return Zel00101::AnalisaRetorno(colour_scheme, status, show, cancel_open, false);
}

// The payment-type rows the reconciliation looks at: button kind 5, not of
// kind "B", shown (or not said).
bool TakesPart(const Dataset& types) {
  const std::string shown = TrimBlanks(types.AsText("IDMOSTRARECE"));
  return types.AsText("IDTIPORECE") != "B" && (shown == "S" || shown.empty());
}

// "N" for payment types of kind 4, which issue no voucher; "S" otherwise.
std::string IssuesVoucher(const Dataset& types) {
  return types.AsText("IDTIPORECE") == "4" ? "N" : "S";
}

// Refuses, before anything reaches the printer, a payment-type table that
// lacks a field.
void CheckPaymentTypes(const Dataset& copy) {
  for (const char* field : kPaymentTypeFields) {
    if (copy.FieldIndex(field) < 0) {
      throw Error(std::string("CarregaRecebimento: the payment-type dataset has no field ") +
                  field);
    }
  }
}

// Marks the internal copy's row of the same payment type; such a row then
// takes part in later look-ups of a code by printer name.
void MarkCopy(Dataset& copy, const Dataset& types, const std::string* printer_name) {
  if (!copy.Locate("CDTIPORECE", types.FieldValue("CDTIPORECE"))) return;
  copy.Edit();
  if (printer_name != nullptr) copy.SetValue("NMTIPORECE", *printer_name);
  copy.SetValue("CDFPIMPFIS", "S");
  copy.SetValue("IDEMIVALE", IssuesVoucher(types));
  copy.Post();
}

// The form exists: the host row takes the printer's spelling of the name,
// and the code of another row already mapped to the same printer name.
void TakeExistingForm(Dataset& types, Dataset& copy, const std::string& printer_name) {
  copy.SetFilter("CDFPIMPFIS <> ' '");
  copy.SetFiltered(true);
  const bool mapped = copy.Locate("DSIMPFISCAL", types.FieldValue("DSIMPFISCAL"),
                                  LocateOptions{.case_insensitive = true});
  const std::string code = mapped ? copy.AsText("CDFPIMPFIS") : "S";
  types.Edit();
  types.SetValue("NMTIPORECE", printer_name);
  types.SetValue("CDFPIMPFIS", code);
  types.SetValue("IDEMIVALE", IssuesVoucher(types));
  types.Post();
  copy.SetFiltered(false);
  copy.SetFilter("");
  if (!mapped) MarkCopy(copy, types, &printer_name);
}

// Programs the form of the current row; only a form the printer accepted
// marks the row, and under the name it now has on the printer, so the first
// sale with it can already be paid.
void ProgramMissingForm(Dataset& types, Dataset& copy, const std::string& name,
                        const std::string& colour_scheme, std::vector<std::string>& programmed) {
  if (!ProgramForm(name, colour_scheme, false, false)) return;
  programmed.push_back(name);
  const std::string printer_name = RTrim(name);
  types.Edit();
  types.SetValue("NMTIPORECE", printer_name);
  types.SetValue("CDFPIMPFIS", "S");
  types.SetValue("IDEMIVALE", IssuesVoucher(types));
  types.Post();
  MarkCopy(copy, types, &printer_name);
}

// The printer's spelling of a form programmed in this run: the name as it
// was sent, when it is `name` ignoring case and trailing blanks.
std::optional<std::string> FindProgrammed(const std::vector<std::string>& programmed,
                                          const std::string& name) {
  const std::string wanted = UpperCase(RTrim(name));
  for (const std::string& done : programmed) {
    if (UpperCase(RTrim(done)) == wanted) return RTrim(done);
  }
  return std::nullopt;
}

void ReconcileRow(Dataset& types, Dataset& copy, const std::string& forms,
                  const std::string& colour_scheme, std::vector<std::string>& programmed) {
  if (!TakesPart(types)) return;
  const std::string name = FormName(types.AsText("DSIMPFISCAL"));
  // A form without a name cannot be programmed nor paid with; one such row
  // must not keep the others from the printer.
  if (TrimBlanks(name).empty()) {
    LogProblem("CarregaRecebimento: payment type \"" + types.AsText("CDTIPORECE") +
               "\" has no printer name (DSIMPFISCAL) and is left out");
    return;
  }
  std::optional<std::string> printer_name = FindPaymentForm(forms, name);
  if (!printer_name) printer_name = FindProgrammed(programmed, name);
  if (printer_name) {
    TakeExistingForm(types, copy, *printer_name);
  } else {
    ProgramMissingForm(types, copy, name, colour_scheme, programmed);
  }
}

}  // namespace
}  // namespace zel

namespace Zel00101 {

void CarregaRecebimento(const std::string& /*Reservado*/, const std::string& EsquemaCor,
                        std::int32_t /*Reservado2*/, zel::Dataset& TiposRece) {
  zel::Dataset& copy = zel::EnsureDataModule().cdsReceb;
  copy.SetFiltered(false);
  copy.SetFilter("");
  copy.SetData(TiposRece.Data());
  zel::CheckPaymentTypes(copy);

  TiposRece.SetFilter("IDTPBUTTON = '5'");
  TiposRece.SetFiltered(true);
  TiposRece.First();
  std::vector<std::string> programmed;

  std::string forms = zel::Blanks(zel::kFormListWidth);
  const int status = zel::CallVendor(Bematech_FI_VerificaFormasPagamento, forms);
  zel::LogReply("Bematech_FI_VerificaFormasPagamento", forms);
  AnalisaRetorno(EsquemaCor, status, false, false, false);

  while (!TiposRece.Eof()) {
    zel::ReconcileRow(TiposRece, copy, forms, EsquemaCor, programmed);
    zel::Host().ProcessMessages();
    TiposRece.Next();
  }

  const std::string report_form = zel::FormName(zel::MsgPadrao("RelGerencial"));
  if (!zel::FindPaymentForm(forms, report_form)) {
    zel::ProgramForm(report_form, EsquemaCor, false, false);
  }
}

bool Config_FormaPg(const std::string& EsquemaCor, const std::string& FormaPg, bool Mostra,
                    bool CancelaAberto) {
  const std::string name = zel::FormName(FormaPg);
  if (zel::TrimBlanks(name).empty()) {
    throw zel::Error("Config_FormaPg: the payment form has no name");
  }
  return zel::ProgramForm(name, EsquemaCor, Mostra, CancelaAberto);
}

}  // namespace Zel00101

ZEL_EXPORT_PLAIN_NAME(void, CarregaRecebimento,
                      (const std::string& Reservado, const std::string& EsquemaCor,
                       std::int32_t Reservado2, zel::Dataset& TiposRece),
                      (Reservado, EsquemaCor, Reservado2, TiposRece))
ZEL_EXPORT_PLAIN_NAME(bool, Config_FormaPg,
                      (const std::string& EsquemaCor, const std::string& FormaPg, bool Mostra,
                       bool CancelaAberto),
                      (EsquemaCor, FormaPg, Mostra, CancelaAberto))
