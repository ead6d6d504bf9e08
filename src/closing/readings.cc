// The readings the printer prints and records itself (X reading, Z
// reduction, fiscal-memory readings) and the small queries around the
// fiscal day: its movement date, the last reduction's data and the
// daylight-saving mode. Each is one printer call, its log line and the
// return analysis.
#include <string>

#include "closing/movement_date.h"
#include "core/vendor_call.h"
#include "platform/env.h"
#include "zel/debug_log.h"
#include "zel/driver_state.h"
#include "zel/operations.h"

namespace zel {
namespace {

// Width of the movement date (DDMMYY) and of the last reduction's data.
constexpr int kMovementDateWidth = 6;
constexpr int kLastReductionWidth = 1278;
// Bit of the fiscal flags that is up while daylight-saving time is on.
constexpr int kDaylightSavingFlag = 4;

}  // namespace
}  // namespace zel

namespace Zel00101 {

bool Leitura_X_Imp(const std::string& /*Reservado1*/, const std::string& EsquemaCor,
                   const std::string& /*Reservado2*/) {
  using namespace zel;
  const int status = CallVendor(Bematech_FI_LeituraX);
  LogCall("Bematech_FI_LeituraX");
  return AnalisaRetorno(EsquemaCor, status, true, false, false);
}

// The movement date is kept before the reduction closes the day, since
// afterwards the printer no longer reports the day that was closed; it is
// kept even when the reduction then fails.
bool Reducao_Z_Imp(const std::string& /*Reservado1*/, const std::string& EsquemaCor,
                   const std::string& /*Reservado2*/) {
  using namespace zel;
  stDataCat = Blanks(kMovementDateWidth);
  CallVendor(Bematech_FI_DataMovimento, stDataCat);
  // Empty date and time: the printer reduces with its own clock.
  const int status = CallVendor(Bematech_FI_ReducaoZ, "", "");
  ImpFisDebug("Bematech_FI_ReducaoZ;");
  return AnalisaRetorno(EsquemaCor, status, true, false, false);
}

// The printer writes over the front of the buffer; whatever the host left in
// `Dados` only makes the buffer longer, so the printer's text always fits.
bool DadosUltimaRedZ(const std::string& EsquemaCor, std::string& Dados) {
  using namespace zel;
  Dados += Blanks(kLastReductionWidth);
  const int status = CallVendor(Bematech_FI_DadosUltimaReducaoMFD, Dados);
  LogCall("Bematech_FI_DadosUltimaReducaoMFD");
  return AnalisaRetorno(EsquemaCor, status, true, false, false);
}

zel::DateTime DataMoviFiscal(const std::string& EsquemaCor) {
  using namespace zel;
  std::string date = Blanks(kMovementDateWidth);
  const int status = CallVendor(Bematech_FI_DataMovimento, date);
  LogReply("Bematech_FI_DataMovimento", date);
  // A failed read leaves blanks, which give today's date below.
  AnalisaRetorno(EsquemaCor, status, false, false, false);
  return MovementDateOrToday(date, Env::Current()->Now());
}

bool Memoria_Fiscal_Imp(const std::string& EsquemaCor, const std::string& Tipo,
                        const std::string& Inicio, const std::string& Fim,
                        const std::string& /*Reservado*/) {
  using namespace zel;
  int status = kVendorNoAnswer;
  if (Tipo == "D") {
    status = CallVendor(Bematech_FI_LeituraMemoriaFiscalData, Inicio, Fim);
    LogCall("Bematech_FI_LeituraMemoriaFiscalData", {Inicio, Fim});
  } else if (Tipo == "R") {
    status = CallVendor(Bematech_FI_LeituraMemoriaFiscalReducao, Inicio, Fim);
    LogCall("Bematech_FI_LeituraMemoriaFiscalReducao", {Inicio, Fim});
  } else {
    return false;
  }
  return AnalisaRetorno(EsquemaCor, status, true, false, false);
}

bool Estado_HorVerao(const std::string& EsquemaCor) {
  using namespace zel;
  int flags = 0;
  const int status = CallVendor(Bematech_FI_FlagsFiscais, flags);
  LogReply("Bematech_FI_FlagsFiscais", std::to_string(flags));
  // Only reported to the operator: the flags say what the printer said, and
  // a printer that wrote nothing leaves them at 0 (mode off).
  AnalisaRetorno(EsquemaCor, status, true, false, false);
  return (flags & kDaylightSavingFlag) != 0;
}

bool Muda_Horario(const std::string& EsquemaCor) {
  using namespace zel;
  const int status = CallVendor(Bematech_FI_ProgramaHorarioVerao);
  LogCall("Bematech_FI_ProgramaHorarioVerao");
  return AnalisaRetorno(EsquemaCor, status, false, false, false);
}

}  // namespace Zel00101

ZEL_EXPORT_PLAIN_NAME(bool, Leitura_X_Imp,
                      (const std::string& Reservado1, const std::string& EsquemaCor,
                       const std::string& Reservado2),
                      (Reservado1, EsquemaCor, Reservado2))
ZEL_EXPORT_PLAIN_NAME(bool, Reducao_Z_Imp,
                      (const std::string& Reservado1, const std::string& EsquemaCor,
                       const std::string& Reservado2),
                      (Reservado1, EsquemaCor, Reservado2))
ZEL_EXPORT_PLAIN_NAME(bool, DadosUltimaRedZ, (const std::string& EsquemaCor, std::string& Dados),
                      (EsquemaCor, Dados))
ZEL_EXPORT_PLAIN_NAME(zel::DateTime, DataMoviFiscal, (const std::string& EsquemaCor), (EsquemaCor))
ZEL_EXPORT_PLAIN_NAME(bool, Memoria_Fiscal_Imp,
                      (const std::string& EsquemaCor, const std::string& Tipo,
                       const std::string& Inicio, const std::string& Fim,
                       const std::string& Reservado),
                      (EsquemaCor, Tipo, Inicio, Fim, Reservado))
ZEL_EXPORT_PLAIN_NAME(bool, Estado_HorVerao, (const std::string& EsquemaCor), (EsquemaCor))
ZEL_EXPORT_PLAIN_NAME(bool, Muda_Horario, (const std::string& EsquemaCor), (EsquemaCor))
