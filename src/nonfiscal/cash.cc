// Money into and out of the till, registered on the printer as non-fiscal
// operations, and the cash drawer.
#include <cmath>
#include <string>

#include "core/data_module.h"
#include "core/dialogs.h"
#include "core/vendor_call.h"
#include "host/number_format.h"
#include "nonfiscal/text_pieces.h"
#include "zel/debug_log.h"
#include "zel/driver_state.h"
#include "zel/error.h"
#include "zel/host_services.h"
#include "zel/operations.h"

namespace zel {
namespace {

constexpr char kSupplyForm[] = "Dinheiro";
// The printer's own totalizer of withdrawals.
constexpr char kWithdrawalTotalizer[] = "SA";
// What the drawer-state entry answers for an open drawer.
constexpr int kDrawerOpen = 1;

// The operator learns that the movement was not registered, beyond what
// the return analysis already said about the printer.
void ShowCommandError(const std::string& colour_scheme) {
  ShowDialog(MsgPadrao("ErroComando"), colour_scheme, kNoticeDialog);
}

}  // namespace
}  // namespace zel

namespace Zel00101 {

bool Suprimento(const std::string& /*Reservado*/, const std::string& EsquemaCor, double Valor) {
  using namespace zel;
  EnsureDataModule();
  // Without this check a NaN or a negative amount would pass for "nothing
  // to register" and be reported as a success: the till would hold less
  // than the host believes. Refused as a withdrawal refuses it.
  if (!std::isfinite(Valor) || Valor < 0) {
    throw Error("Suprimento: the amount must be a positive number or zero, not " +
                FloatToText(Valor));
  }
  if (Valor == 0) return true;
  const std::string value = FormatFloat("0.00", Valor);
  inRetorno = CallVendor(Bematech_FI_Suprimento, value, kSupplyForm);
  LogCall("Bematech_FI_Suprimento", {value, kSupplyForm});
  if (AnalisaRetorno(EsquemaCor, inRetorno, true, false, false)) return true;
  ShowCommandError(EsquemaCor);
  return false;
}

// A withdrawal of nothing still leaves its mark on the printer, as one cent.
bool Sangria(const std::string& /*Reservado*/, const std::string& EsquemaCor, double Valor) {
  using namespace zel;
  EnsureDataModule();
  const std::string value = ReceiptValueText(Valor == 0 ? 0.01 : Valor);
  if (Cupom_NFiscNVinc(EsquemaCor, kWithdrawalTotalizer, value, "")) return true;
  ShowCommandError(EsquemaCor);
  return false;
}

bool Abre_Gaveta_Imp(const std::string& EsquemaCor, bool /*Reservado*/) {
  using namespace zel;
  const int status = CallVendor(Bematech_FI_AcionaGaveta);
  LogCall("Bematech_FI_AcionaGaveta");
  return AnalisaRetorno(EsquemaCor, status, true, false, false);
}

std::string Estado_Gaveta_Imp(const std::string& EsquemaCor) {
  using namespace zel;
  int state = kDrawerOpen;
  const int status = CallVendor(Bematech_FI_VerificaEstadoGaveta, state);
  ImpFisDebug("Bematech_FI_VerificaEstadoGaveta: " + std::to_string(state));
  if (!AnalisaRetorno(EsquemaCor, status, true, true, false)) return "";
  return state == kDrawerOpen ? "01" : "00";
}

bool Guilhotina(int /*Modo*/) { return false; }

bool CodigoBarra(const std::string& /*Tipo*/, const std::string& /*Codigo*/) { return true; }

}  // namespace Zel00101

ZEL_EXPORT_PLAIN_NAME(bool, Suprimento,
                      (const std::string& Reservado, const std::string& EsquemaCor, double Valor),
                      (Reservado, EsquemaCor, Valor))
ZEL_EXPORT_PLAIN_NAME(bool, Sangria,
                      (const std::string& Reservado, const std::string& EsquemaCor, double Valor),
                      (Reservado, EsquemaCor, Valor))
ZEL_EXPORT_PLAIN_NAME(bool, Abre_Gaveta_Imp, (const std::string& EsquemaCor, bool Reservado),
                      (EsquemaCor, Reservado))
ZEL_EXPORT_PLAIN_NAME(std::string, Estado_Gaveta_Imp, (const std::string& EsquemaCor), (EsquemaCor))
ZEL_EXPORT_PLAIN_NAME(bool, Guilhotina, (int Modo), (Modo))
