// The printer's identification data for the host, the repair of a wrong
// BemaFI32.ini, and a few fixed answers the host asks for.
#include <array>
#include <exception>
#include <string>
#include <vector>

#include "core/data_module.h"
#include "core/start_support.h"
#include "core/vendor_call.h"
#include "host/date_format.h"
#include "host/string_functions.h"
#include "platform/env.h"
#include "zel/debug_log.h"
#include "zel/driver_state.h"
#include "zel/host_services.h"
#include "zel/operations.h"

namespace zel {
namespace {

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

// The printer library must not drive the printer in its "Impressora=1"
// mode: the key is set back to 0 and, since the library reads it only when
// it loads, the host is asked to close and start again.
void RepairBemaIni(const std::string& colour_scheme) {
  Env& env = *Env::Current();
  std::string directory = env.SystemDirectory();
  if (!directory.ends_with('\\')) directory += '\\';
  const std::string path = directory + "Bemafi32.ini";
  if (!env.FileExists(path)) return;

  std::vector<std::string> lines = env.ReadLines(path);
  for (std::string& line : lines) {
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos || !SameName(line.substr(0, equals), "Impressora")) continue;
    if (line.substr(equals + 1) != "1") return;
    ShowDialog(MsgPadrao("Bemafi_Imp"), colour_scheme, kNoticeDialog);
    line.resize(equals + 1);
    line += '0';
    env.WriteLines(path, lines);
    Host().Terminate();
    return;
  }
}

// Calls an entry with one out-buffer of `width`, logs its reply as
// `log_name` and analyses the status without dialogs.
std::string ReadPrinterText(int (*entry)(char*), std::string_view log_name, int width,
                            const std::string& colour_scheme) {
  std::string text = Blanks(width);
  const int status = CallVendor(entry, text);
  Zel00101::ImpFisDebug(std::string(log_name) + "\r\nRetorno da Impressora : " + text);
  Zel00101::AnalisaRetorno(colour_scheme, status, false, false, false);
  return text;
}

struct NationalCode {
  std::string_view version;
  std::string_view code;
};

constexpr std::array<NationalCode, 9> kModel20Codes{{
    {"VER0300", "030501"},
    {"0305", "030502"},
    {"0310", "030503"},
    {"VER0315", "030504"},
    {"VER0322", "030505"},
    {"VER0325", "030506"},
    {"VER0326", "030507"},
    {"VER0331", "030508"},
    {"VER0330", "030509"},
}};

}  // namespace
}  // namespace zel

namespace Zel00101 {

bool Carrega_Dados_Impressora(zel::Variant& Params) {
  using namespace zel;
  std::string scheme;
  std::string date_time;
  std::string register_number;
  Variant reduction;
  std::string serial;
  std::string movement_date;
  try {
    scheme = ParamText(Params, "ESQUEMA");
    date_time = ParamText(Params, "DATAATUIMP");
    register_number = ParamText(Params, "ECFIMP");
    reduction = RecebeParams(Params, "REDIMP");
    serial = ParamText(Params, "SERIEIMP");
    movement_date = ParamText(Params, "DATAIMP");
  } catch (const std::exception& error) {
    ShowDialog(ParameterErrorText(error.what(), "Carrega_Dados_Impressora"), kDefaultColourScheme,
               kStartDialog);
  }

  RepairBemaIni(scheme);

  // Each reading needs the one before it; the first blank answer ends them.
  std::string date = Blanks(6);
  inRetorno = CallVendor(Bematech_FI_DataMovimento, date);
  LogReply("Bematech_FI_DataMovimento", date);
  AnalisaRetorno(scheme, inRetorno, false, false, false);
  // No fiscal day open yet: the day starts today.
  if (date == "000000") date = FormatDateTime("ddmmyy", Env::Current()->Now());
  movement_date = date;

  bool verdict = !EmptyString(movement_date);
  if (verdict) {
    AnalisaRetorno(scheme, ReadPrinterClock(date_time), false, false, false);
    verdict = !EmptyString(date_time);
  }
  if (verdict) {
    register_number =
        ReadPrinterText(Bematech_FI_NumeroCaixa, "Bematech_FI_NumeroCaixa", 4, scheme);
    verdict = !EmptyString(register_number);
  }
  if (verdict) {
    serial =
        ReadPrinterText(Bematech_FI_NumeroSerieMFD, "Bematech_FI_NumeroSerieMFD : ", 15, scheme);
  }

  Params = MakeParams({{"DATAATUIMP", date_time},
                       {"ECFIMP", register_number},
                       {"REDIMP", reduction},
                       {"SERIEIMP", serial},
                       {"DATAIMP", movement_date}});
  return verdict;
}

std::string Codigo_Nacional_ECF(int Modelo, const std::string& Versao) {
  if (Modelo != 20) return "000000";
  for (const zel::NationalCode& row : zel::kModel20Codes) {
    if (row.version == Versao) return std::string(row.code);
  }
  return "030509";
}

bool VerificaTotalizador() { return !zel::EmptyString(IdTotCompCred); }

bool Modelo_Impressora(const std::string&, std::string&, std::string&, std::string&) {
  return true;
}

bool Versao_Software_Basico(std::string&) { return true; }

bool InfImpTerm(std::string&, std::string&, std::string&) { return false; }

}  // namespace Zel00101

ZEL_EXPORT_PLAIN_NAME(bool, Carrega_Dados_Impressora, (zel::Variant & Params), (Params))
ZEL_EXPORT_PLAIN_NAME(std::string, Codigo_Nacional_ECF, (int Modelo, const std::string& Versao),
                      (Modelo, Versao))
ZEL_EXPORT_PLAIN_NAME(bool, Versao_Software_Basico, (std::string & Versao), (Versao))
