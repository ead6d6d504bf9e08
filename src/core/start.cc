// Starting the driver: binding the printer library, opening the port and
// proving that the printer is fit to sell (clock, power, no document left
// open).
#include <exception>
#include <string>

#include "core/data_module.h"
#include "core/dialogs.h"
#include "core/start_support.h"
#include "core/vendor_call.h"
#include "core/vendor_table.h"
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

// A coupon left open at start-up is cancelled, which changes nothing in the
// grand total but leaves the stored one to be refreshed without comparing.
void CancelCouponLeftOpen(const PortParams& params) {
  const Variant refresh = MakeParams({{"CDFILIAL", params.branch},
                                      {"CDCAIXA", params.cash_register},
                                      {"NRSERIEIMP", params.serial},
                                      {"ESQUEMACOR", params.colour_scheme},
                                      {"IDVALIDA", "N"}});
  CallVendor(Zel00101::Bematech_FI_CancelaCupom);
  Zel00101::Atu_TotGeral(refresh);
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
  if (st1 == kOnlyCouponOpen) CancelCouponLeftOpen(params);
  return true;
}

}  // namespace Zel00101

ZEL_EXPORT_PLAIN_NAME(bool, StartImpFiscal, (const zel::Variant& Params), (Params))
ZEL_EXPORT_PLAIN_NAME(bool, AbrePorta, (const zel::Variant& Params), (Params))
