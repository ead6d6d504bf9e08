// The fiscal-memory reading, printed or as a file, and the detail-tape
// mirror: the printer library does the work and leaves its output in its
// own directory; the driver names the fiscal-menu files, copies or converts
// them there, has them signed and tells the operator.
#include <string>

#include "core/vendor_call.h"
#include "fiscalmenu/menu_files.h"
#include "host/codepage.h"
#include "platform/env.h"
#include "zel/debug_log.h"
#include "zel/error.h"
#include "zel/fiscal_menu.h"
#include "zel/operations.h"

namespace zel {
namespace {

constexpr char kConfigMissingText[] =
    "ARQUIVO DE CONFIGURACAO DA BEMATECH NÃO ENCONTRADO (BEMAFI32.INI).";

// "<entry> :  - a - b - c" CR LF "Retorno da Impressora : <code>": the
// shape of every log line of the fiscal-menu calls. `separator` is the
// text between the entry and the first " - ".
void LogMenuCall(std::string_view entry, std::string_view separator,
                 std::initializer_list<std::string_view> arguments, int status) {
  std::string line(entry);
  line += separator;
  for (std::string_view argument : arguments) {
    line += " - ";
    line += argument;
  }
  line += "\r\nRetorno da Impressora : " + std::to_string(status);
  Zel00101::ImpFisDebug(line);
}

// The reading on paper or into the library's Retorno.txt: same choice of
// entry by the selector, same log line.
int CallReading(bool serial, const std::string& first, const std::string& last,
                const std::string& flag, const std::string& selector) {
  using namespace Zel00101;
  const bool by_date = selector == "DATA";
  int status;
  std::string_view entry;
  if (serial) {
    entry = by_date ? "Bematech_FI_LeituraMemoriaFiscalSerialDataMFD"
                    : "Bematech_FI_LeituraMemoriaFiscalSerialReducaoMFD";
    status = CallVendor(by_date ? Bematech_FI_LeituraMemoriaFiscalSerialDataMFD
                                : Bematech_FI_LeituraMemoriaFiscalSerialReducaoMFD,
                        first, last, flag);
  } else {
    entry = by_date ? "Bematech_FI_LeituraMemoriaFiscalDataMFD"
                    : "Bematech_FI_LeituraMemoriaFiscalReducaoMFD";
    status = CallVendor(by_date ? Bematech_FI_LeituraMemoriaFiscalDataMFD
                                : Bematech_FI_LeituraMemoriaFiscalReducaoMFD,
                        first, last, flag);
  }
  LogMenuCall(entry, " : ", {first, last, flag}, status);
  return status;
}

bool SerialReading(std::span<const Variant> params) {
  const std::string scheme = ElementText(params, 0);
  const std::string first = ElementText(params, 1);
  const std::string last = ElementText(params, 2);
  const std::string flag = ElementText(params, 3);
  const std::string selector = ElementText(params, 4);

  // A Retorno.txt left by an earlier reading must never be copied and
  // signed as this one: it goes before the printer is asked, so a reading
  // that reports success without writing ends in the copy error below.
  if (const std::string earlier = Zel00101::retornaPathBematech(); earlier != kConfigNotFound) {
    try {
      Env::Current()->RemoveFile(earlier + "Retorno.txt");
    } catch (const FileError& error) {
      ShowMenuDialog("ERRO AO GERAR ARQUIVO DE MEMORIA FISCAL. (ERRO COPIA - " +
                         std::to_string(error.windows_code()) + ")",
                     scheme, kMenuProblem);
      return false;
    }
  }
  const int status = CallReading(true, first, last, flag, selector);
  if (!Zel00101::AnalisaRetorno(scheme, status, false, false, false)) return false;

  const std::string directory = Zel00101::retornaPathBematech();
  if (directory == kConfigNotFound) {
    ShowMenuDialog(kConfigMissingText, scheme, kMenuProblem);
    return false;
  }
  const std::string target = std::string(kMenuFiscalDirectory) + (flag == "C" ? "LMFC_" : "LMFS_") +
                             ReadingStamp(Env::Current()->Now()) + ".txt";
  try {
    Env::Current()->CopyFileTo(directory + "Retorno.txt", target);
  } catch (const FileError& error) {
    // The printer made its reading, but the host has no file: that is a
    // failure, whatever the printer step gave.
    ShowMenuDialog("ERRO AO GERAR ARQUIVO DE MEMORIA FISCAL. (ERRO COPIA - " +
                       std::to_string(error.windows_code()) + ")",
                   scheme, kMenuProblem);
    return false;
  }
  Zel00101::geraEad(target);
  ShowMenuDialog(
      "LEITURA DE MEMORIA FISCAL GERADA COM SUCESSO NO DIRETÓRIO: " + Cp1252ToUtf8(target), scheme,
      kMenuNotice);
  return true;
}

bool DetailTapeMirror(std::span<const Variant> params) {
  using namespace Zel00101;
  const std::string scheme = ElementText(params, 0);
  const std::string first = ElementText(params, 6);
  const std::string last = ElementText(params, 7);
  const std::string type = ElementText(params, 8);

  const std::string directory = retornaPathBematech();
  if (directory == kConfigNotFound) {
    ShowMenuDialog(kConfigMissingText, scheme, kMenuProblem);
    return false;
  }
  const std::string download = directory + "download.mfd";
  // The conversion is tried even after a failed download; an older
  // download left in place would then turn into a mirror of other dates
  // announced as this one.
  Env::Current()->RemoveFile(download);
  int status = CallVendor(Bematech_FI_DownloadMFD, download, type, first, last, "1");
  LogMenuCall("Bematech_FI_DownloadMFD", "  : ", {download, type, first, last}, status);
  if (!AnalisaRetorno(scheme, status, true, false, false)) {
    ShowMenuDialog("ERRO AO REALIZAR DOWNLOAD DA MEMÓRIA MFD.", scheme, kMenuProblem);
  }

  const std::string target = std::string(kMenuFiscalDirectory) + "Espelho_MFD_" +
                             MirrorStamp(Env::Current()->Now()) + ".txt";
  status = CallVendor(Bematech_FI_FormatoDadosMFD, download, target, "0", type, first, last, "1");
  LogMenuCall("Bematech_FI_FormatoDadosMFD", " : ", {download, target, "0", type, first, last, "1"},
              status);
  const bool converted = AnalisaRetorno(scheme, status, true, false, false);
  if (converted) {
    geraEad(target);
    ShowMenuDialog("ARQUIVO ESPELHO DE MEMORIA DE FITA DETALHE GERADO COM SUCESSO NO DIRETÓRIO: " +
                       Cp1252ToUtf8(target),
                   scheme, kMenuProblem);
  } else {
    ShowMenuDialog("ERRO AO REALIZAR GERAÇÃO DO ESPELHO MFD.", scheme, kMenuProblem);
  }
  return converted;
}

}  // namespace
}  // namespace zel

namespace Zel00101 {

bool EmiteLeituraMemoriaFiscal(const std::string& EsquemaCor, const std::string& Inicio,
                               const std::string& Fim, const std::string& Tipo,
                               const std::string& Seletor) {
  try {
    const int status = zel::CallReading(false, Inicio, Fim, Tipo, Seletor);
    return AnalisaRetorno(EsquemaCor, status, false, false, false);
  } catch (const std::exception&) {
    return false;
  }
}

bool EmiteLeituraMemoriaFiscalSerial(std::span<const zel::Variant> Params,
                                     zel::Variant& /*Reservado*/) {
  try {
    return zel::SerialReading(Params);
  } catch (const std::exception&) {
    return false;
  }
}

bool geraEspelhoMfd(std::span<const zel::Variant> Params, zel::Variant& /*Reservado*/) {
  try {
    return zel::DetailTapeMirror(Params);
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace Zel00101

ZEL_EXPORT_PLAIN_NAME(bool, EmiteLeituraMemoriaFiscal,
                      (const std::string& EsquemaCor, const std::string& Inicio,
                       const std::string& Fim, const std::string& Tipo, const std::string& Seletor),
                      (EsquemaCor, Inicio, Fim, Tipo, Seletor))
ZEL_EXPORT_PLAIN_NAME(bool, EmiteLeituraMemoriaFiscalSerial,
                      (std::span<const zel::Variant> Params, zel::Variant& Reservado),
                      (Params, Reservado))
ZEL_EXPORT_PLAIN_NAME(bool, geraEspelhoMfd,
                      (std::span<const zel::Variant> Params, zel::Variant& Reservado),
                      (Params, Reservado))
