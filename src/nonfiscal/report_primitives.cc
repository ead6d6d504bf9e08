// The five wrappers of the printer's non-fiscal document entries: one call,
// its log line, the return analysis. The sequences that compose them are in
// text_pieces.h.
#include <string>

#include "core/vendor_call.h"
#include "host/date_format.h"
#include "zel/debug_log.h"
#include "zel/host_services.h"
#include "zel/operations.h"

namespace zel {
namespace {

// What the extended status answers while a management report is open.
constexpr int kManagementReportOpen = 4;

}  // namespace
}  // namespace zel

namespace Zel00101 {

bool FechRelatGerenc(const std::string& EsquemaCor, bool Mostra, bool CancelaAberto) {
  using namespace zel;
  const int status = CallVendor(Bematech_FI_FechaRelatorioGerencial);
  LogCall("Bematech_FI_FechaRelatorioGerencial");
  return AnalisaRetorno(EsquemaCor, status, Mostra, CancelaAberto, false);
}

bool Relatorio_Gerencial_Imp(const std::string& EsquemaCor, const std::string& Chave1,
                             const std::string& Chave2, const std::string& /*Reservado*/) {
  using namespace zel;
  // A report left open would take this one's text as its own: close it
  // first. The status read itself only informs that choice.
  int extended_status = 0;
  CallVendor(Bematech_FI_StatusEstendidoMFD, extended_status);
  if (extended_status == kManagementReportOpen) FechRelatGerenc(EsquemaCor, true, false);

  const int status = CallVendor(Bematech_FI_RelatorioGerencial, " ");
  LogCall("Bematech_FI_RelatorioGerencial");
  const bool opened = AnalisaRetorno(EsquemaCor, status, true, false, false);
  // Only a report that really opened counts as issued.
  if (opened) Host().GravaCER(Chave1, Chave2, DateToText(DataMoviFiscal(EsquemaCor)));
  return opened;
}

bool Cupom_NFiscNVinc(const std::string& EsquemaCor, const std::string& Indice,
                      const std::string& Valor, const std::string& FormaPgto) {
  using namespace zel;
  const int status = CallVendor(Bematech_FI_RecebimentoNaoFiscal, Indice, Valor, FormaPgto);
  LogCall("Bematech_FI_RecebimentoNaoFiscal", {Indice, Valor, FormaPgto});
  return AnalisaRetorno(EsquemaCor, status, true, false, false);
}

// The printer opens the linked receipt on the last document's payment, so
// the value and the number are not sent (nor checked) at all.
bool Abre_Comp_NFiscalVinc(const std::string& EsquemaCor, const std::string& FormaPgto,
                           const std::string& /*Valor*/, const std::string& /*NumeroCupom*/) {
  using namespace zel;
  const int status = CallVendor(Bematech_FI_AbreComprovanteNaoFiscalVinculado, FormaPgto, "", "");
  LogCall("Bematech_FI_AbreComprovanteNaoFiscalVinculado", {FormaPgto, "", ""});
  return AnalisaRetorno(EsquemaCor, status, true, false, false);
}

bool Usa_CompNFis(const std::string& EsquemaCor, const std::string& Texto) {
  using namespace zel;
  const int status = CallVendor(Bematech_FI_UsaComprovanteNaoFiscalVinculado, Texto);
  ImpFisDebug("Bematech_FI_UsaComprovanteNaoFiscalVinculado: " + Texto);
  return AnalisaRetorno(EsquemaCor, status, true, false, false);
}

}  // namespace Zel00101

ZEL_EXPORT_PLAIN_NAME(bool, FechRelatGerenc,
                      (const std::string& EsquemaCor, bool Mostra, bool CancelaAberto),
                      (EsquemaCor, Mostra, CancelaAberto))
ZEL_EXPORT_PLAIN_NAME(bool, Relatorio_Gerencial_Imp,
                      (const std::string& EsquemaCor, const std::string& Chave1,
                       const std::string& Chave2, const std::string& Reservado),
                      (EsquemaCor, Chave1, Chave2, Reservado))
ZEL_EXPORT_PLAIN_NAME(bool, Cupom_NFiscNVinc,
                      (const std::string& EsquemaCor, const std::string& Indice,
                       const std::string& Valor, const std::string& FormaPgto),
                      (EsquemaCor, Indice, Valor, FormaPgto))
ZEL_EXPORT_PLAIN_NAME(bool, Abre_Comp_NFiscalVinc,
                      (const std::string& EsquemaCor, const std::string& FormaPgto,
                       const std::string& Valor, const std::string& NumeroCupom),
                      (EsquemaCor, FormaPgto, Valor, NumeroCupom))
ZEL_EXPORT_PLAIN_NAME(bool, Usa_CompNFis, (const std::string& EsquemaCor, const std::string& Texto),
                      (EsquemaCor, Texto))
