// Starting the driver: binding the printer library, opening the port and
// proving that the printer is fit to sell (clock, power, no document left
// open).
#include <exception>
#include <optional>
#include <string>

#include "core/data_module.h"
#include "core/dialogs.h"
#include "core/grand_total.h"
#include "core/pending_document.h"
#include "core/start_support.h"
#include "core/vendor_call.h"
#include "core/vendor_table.h"
#include "host/codepage.h"
#include "zel/debug_log.h"
#include "zel/driver_state.h"
#include "zel/operations.h"

namespace zel {
namespace {

// What VerificaImpressoraLigada answers for a printer switched off.
constexpr int kPrinterOff = -6;
// ST1 with only its coupon-open bit set: a sale was left unfinished.
constexpr int kOnlyCouponOpen = 2;

struct PortParams {
  Variant branch;
  Variant cash_register;
  Variant serial;
  Variant colour_scheme;
  std::string scheme;
  std::string port;
};

PortParams ReadPortParams(const Variant& params) {
  PortParams read;
  read.branch = RecebeParams(params, "CDFILIAL");
  read.cash_register = RecebeParams(params, "CDCAIXA");
  read.serial = RecebeParams(params, "NRSERIE");
  read.colour_scheme = RecebeParams(params, "ESQUEMACOR");
  read.port = ParamText(params, "PORTAIMPFIS");
  read.scheme = read.colour_scheme.AsText();
  return read;
}

// The number of the current or last coupon, blank when the printer does not
// say.
std::string CouponCounter() {
  std::string number = Blanks(6);
  CallVendor(Zel00101::Bematech_FI_NumeroCupom, number);
  return Trim(number);
}

// Work of the driver that an interruption (power cut, killed process) left
// unfinished: a coupon still open, or a document the printer finished before
// the stored grand total was refreshed (the mark of pending_document.h). The
// coupon is cancelled, which changes nothing in the grand total; the stored
// total is then refreshed from the printer without comparing, and the
// operator is told in one dialog what happened to which document.
void RecoverInterruptedWork(const PortParams& params, bool coupon_open) {
  const std::optional<PendingDocument> pending = ReadPendingDocument();
  if (!coupon_open && !pending) return;
  PendingDocument keys = pending.value_or(PendingDocument{});
  if (keys.document.empty()) keys.document = Utf8ToCp1252("cupom fiscal");
  if (keys.branch.empty()) keys.branch = params.branch.AsText();
  if (keys.cash_register.empty()) keys.cash_register = params.cash_register.AsText();
  if (keys.serial.empty()) keys.serial = params.serial.AsText();
  // Cut short before the printer took anything: nothing to settle.
  if (!coupon_open &&
      StoredTotalMatchesPrinter({keys.branch, keys.cash_register, keys.serial}) == true) {
    ClearPendingDocument();
    return;
  }

  if (coupon_open) CallVendor(Zel00101::Bematech_FI_CancelaCupom);
  const std::string number = CouponCounter();  // an open coupon keeps its number when cancelled
  const bool refreshed = Zel00101::Atu_TotGeral(MakeParams({{"CDFILIAL", keys.branch},
                                                            {"CDCAIXA", keys.cash_register},
                                                            {"NRSERIEIMP", keys.serial},
                                                            {"ESQUEMACOR", params.colour_scheme},
                                                            {"IDVALIDA", "N"}}));
  if (!refreshed) WritePendingDocument(keys);  // the next start tries again

  std::string text = "O " + keys.document + " COO " + number;
  text += Utf8ToCp1252(coupon_open ? ", deixado aberto por uma interrupção, foi cancelado."
                                   : " foi concluído na impressora antes da interrupção.");
  text +=
      Utf8ToCp1252(refreshed ? " O totalizador geral guardado foi atualizado com o da impressora."
                             : " O totalizador geral guardado ainda não pôde ser atualizado; a "
                               "próxima partida tentará de novo.");
  Zel00101::ImpFisDebug(text);
  ShowDialog(text, params.scheme, kStartDialog);
}

}  // namespace
}  // namespace zel

namespace Zel00101 {

bool StartImpFiscal(const zel::Variant& Params) {
  using namespace zel;
  try {
    for (const char* name : {"CDFILIAL", "CDCAIXA", "NRSERIEIMP", "ESQUEMA", "CDPORTAIMPFIS"}) {
      ParamText(Params, name);
    }
  } catch (const std::exception& error) {
    ShowDialog(ParameterErrorText(error.what(), "StartImpFiscal"), kDefaultColourScheme,
               kStartDialog);
  }
  if (!LoadAndBindVendorLibrary()) return false;
  if (!AbrePorta(Params)) {
    FechaPorta();
    ImpFisDebug("Descarregando DLL Impressora Fiscal");
    StopImpFiscal();
    return false;
  }
  boImpFiscalOK = true;
  return true;
}

bool AbrePorta(const zel::Variant& Params) {
  using namespace zel;
  EnsureDataModule();
  PortParams params;
  try {
    params = ReadPortParams(Params);
  } catch (const std::exception& error) {
    // Without its parameters the port cannot be reported nor the grand
    // total refreshed: the opening fails with the reason.
    ShowDialog(ParameterErrorText(error.what(), "AbrePorta"), kDefaultColourScheme, kStartDialog);
    return false;
  }

  const int opened = CallVendor(Bematech_FI_AbrePortaSerial);
  if (!AnalisaRetorno(params.scheme, opened, true, false, false)) {
    ImpFisDebug("ERRO!!! Abrindo porta " + params.port);
    ShowDialog(MsgPadrao("ErroPorta"), params.scheme, kStartDialog);
    return false;
  }

  DateTime date;
  std::string printer_clock;
  if (!VerificaData(params.scheme, date, printer_clock, "", true)) return false;

  if (CallVendor(Bematech_FI_VerificaImpressoraLigada) == kPrinterOff) {
    const std::string text = MsgPadrao("ImpDeslig");
    LogProblem(text);
    ShowDialog(text, params.scheme, kStartDialog);
    return false;
  }

  // A linked receipt or management report left open would block the sale.
  CallVendor(Bematech_FI_FechaComprovanteNaoFiscalVinculado);
  CallVendor(Bematech_FI_FechaRelatorioGerencial);

  int ack = 0;
  int st1 = 0;
  int st2 = 0;
  CallVendor(Bematech_FI_RetornoImpressora, ack, st1, st2);
  RecoverInterruptedWork(params, st1 == kOnlyCouponOpen);
  return true;
}

}  // namespace Zel00101

ZEL_EXPORT_PLAIN_NAME(bool, StartImpFiscal, (const zel::Variant& Params), (Params))
ZEL_EXPORT_PLAIN_NAME(bool, AbrePorta, (const zel::Variant& Params), (Params))
