// The printer's grand total (the never-decreasing sum of all its sales) and
// serial number against the host's fiscal configuration file Ploteva.cds,
// whose values are kept enciphered.
#include "core/grand_total.h"

#include <cctype>
#include <exception>
#include <optional>
#include <string>

#include "core/data_module.h"
#include "core/pending_document.h"
#include "core/start_support.h"
#include "core/vendor_call.h"
#include "host/cipher.h"
#include "host/codepage.h"
#include "host/number_format.h"
#include "host/string_functions.h"
#include "zel/dataset.h"
#include "zel/debug_log.h"
#include "zel/driver_state.h"
#include "zel/error.h"
#include "zel/format_settings.h"
#include "zel/operations.h"

namespace zel {
namespace {

constexpr char kConfigurationFile[] = "Ploteva.cds";
// A stored total of 10,10 asks for the printer's total to be taken as it is,
// after a printer was replaced or its memory was reset.
constexpr double kResetMarker = 10.10;

// `value` as a quoted text of a filter expression.
std::string Quoted(std::string_view value) {
  std::string quoted = "'";
  for (char c : value) {
    quoted += c;
    if (c == '\'') quoted += '\'';
  }
  return quoted + "'";
}

// The keys of this register's row in the configuration: the host's own
// (stAtuFili, stAtuCaixa, stSerieAtu), or, where the host has not set one
// yet (a start before the host knows its printer), the caller's parameter.
RegisterKeys KeysOfThisRegister(const RegisterKeys& from_params) {
  using namespace Zel00101;
  const auto either = [](const std::string& host, const std::string& param) {
    return EmptyString(host) ? param : host;
  };
  return {either(stAtuFili, from_params.branch), either(stAtuCaixa, from_params.cash_register),
          either(stSerieAtu, from_params.serial)};
}

// The row of this register in the configuration. The host may keep its
// printer serial number plain or enciphered like the file's, so both match.
std::string RegisterFilter(const RegisterKeys& keys, bool alternative_file) {
  std::string filter = "CDFILIAL = " + Quoted(keys.branch) +
                       " AND CDCAIXA = " + Quoted(keys.cash_register) +
                       " AND (NRSERIEECF = " + Quoted(keys.serial) +
                       " OR NRSERIEECF = " + Quoted(Cripto(keys.serial, kCipherKey)) + ")";
  if (alternative_file) filter += " AND IDSITECFIMPF = 'A'";
  return filter;
}

// A check that found no row to check must not pass for one that did.
std::string NoRowText(const std::string& file, const RegisterKeys& keys, const char* checked) {
  return Utf8ToCp1252("O arquivo de configuração ") + file +
         Utf8ToCp1252(" não tem a linha desta caixa (filial '") + keys.branch + "', caixa '" +
         keys.cash_register + Utf8ToCp1252("', impressora '") + keys.serial +
         "'): " + Utf8ToCp1252(checked) + Utf8ToCp1252(" não pôde ser conferido.");
}

// Loads the configuration into cdsCheckECF: Ploteva.cds, or else the
// register's own file. Returns the path of the file loaded; raises when
// neither loads.
std::string LoadConfiguration(Dataset& table, const RegisterKeys& keys, bool* alternative_file) {
  const std::string main_file = Zel00101::dsDirCad + kConfigurationFile;
  table.SetFiltered(false);  // the last check's filter may name fields this file lacks
  try {
    table.LoadFromFile(main_file);
    *alternative_file = false;
    return main_file;
  } catch (const Error&) {
    const std::string other_file =
        Zel00101::dsDirCad + "qrv" + keys.cash_register + keys.branch + ".cds";
    table.LoadFromFile(other_file);
    *alternative_file = true;
    return other_file;
  }
}

// Writes the printer's total, enciphered, into the current row and saves the
// whole table as Ploteva.cds. A cipher text cut to the field's size would
// never decipher again, so a field too small is refused before anything is
// written.
void StorePrinterTotal(Dataset& table, const std::string& printer_total) {
  const std::string cipher = Cripto(printer_total, kCipherKey);
  const FieldDef& field = table.FieldDefs().at(table.FieldIndex("CAMPO02"));
  if (field.type == FieldType::kText && static_cast<std::size_t>(field.size) < cipher.size()) {
    throw Error(Utf8ToCp1252("O campo CAMPO02 de ") + kConfigurationFile +
                Utf8ToCp1252(" é pequeno demais para o totalizador geral."));
  }
  table.Edit();
  table.SetValue("CAMPO02", cipher);
  table.Post();
  table.SaveToFile(Zel00101::dsDirCad + kConfigurationFile);
  table.Close();
  ClearPendingDocument();
}

// Steps of the grand-total check after the parameters are read.
bool CheckGrandTotal(const std::string& colour_scheme, const std::string& validate,
                     const RegisterKeys& keys) {
  Dataset& table = EnsureDataModule().cdsCheckECF;
  bool alternative_file = false;
  const std::string loaded_file = LoadConfiguration(table, keys, &alternative_file);
  table.SetFilter(RegisterFilter(keys, alternative_file));
  table.SetFiltered(true);
  if (table.IsEmpty()) {
    table.Close();
    const std::string text = NoRowText(loaded_file, keys, "o totalizador geral");
    LogProblem(text);
    ShowDialog(text, colour_scheme, kStartDialog);
    return false;
  }
  if (RTrim(table.AsText("CAMPO01")) != "S") return true;

  const std::string stored_total = Uncripto(table.AsText("CAMPO02"), kCipherKey);
  std::string printer_total;
  Zel00101::BuscaTotGer(colour_scheme, printer_total);

  if (validate != "S") {
    StorePrinterTotal(table, printer_total);
    return true;
  }
  const auto refuse = [&] {
    table.Close();
    ShowDialog(MsgPadrao("ArqConfig_Inv4", loaded_file), colour_scheme, kStartDialog);
    return false;
  };
  if (EmptyString(stored_total)) return refuse();
  const double stored = RoundDec(TextToFloat(stored_total), 2);
  const double printer = RoundDec(TextToFloat(printer_total), 2);
  if (stored == kResetMarker) {
    StorePrinterTotal(table, printer_total);
    return true;
  }
  if (stored != printer) return refuse();
  ClearPendingDocument();
  return true;
}

// The printer's total and this register's stored one, when the row exists
// and asks for the check.
struct TotalsToCompare {
  double stored = 0;
  double printer = 0;
};
std::optional<TotalsToCompare> ReadTotals(const RegisterKeys& keys) {
  Dataset& table = EnsureDataModule().cdsCheckECF;
  bool alternative_file = false;
  LoadConfiguration(table, keys, &alternative_file);
  table.SetFilter(RegisterFilter(keys, alternative_file));
  table.SetFiltered(true);
  if (table.IsEmpty() || RTrim(table.AsText("CAMPO01")) != "S") {
    table.Close();
    return std::nullopt;
  }
  const std::string stored_total = Uncripto(table.AsText("CAMPO02"), kCipherKey);
  table.Close();
  if (EmptyString(stored_total)) return std::nullopt;
  std::string printer_total;
  Zel00101::BuscaTotGer(kDefaultColourScheme, printer_total);
  return TotalsToCompare{RoundDec(TextToFloat(stored_total), 2),
                         RoundDec(TextToFloat(printer_total), 2)};
}

bool AllDigits(std::string_view text) {
  if (text.empty()) return false;
  for (char c : text) {
    if (std::isdigit(static_cast<unsigned char>(c)) == 0) return false;
  }
  return true;
}

}  // namespace

std::optional<bool> StoredTotalMatchesPrinter(const RegisterKeys& keys) {
  try {
    const std::optional<TotalsToCompare> totals = ReadTotals(KeysOfThisRegister(keys));
    if (!totals) return std::nullopt;
    return totals->stored == totals->printer;
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

}  // namespace zel

namespace Zel00101 {

bool Atu_TotGeral(const zel::Variant& Params) {
  using namespace zel;
  std::string scheme = kDefaultColourScheme;
  try {
    EnsureDataModule();
    RegisterKeys from_params;
    from_params.branch = ParamText(Params, "CDFILIAL");
    from_params.cash_register = ParamText(Params, "CDCAIXA");
    from_params.serial = ParamText(Params, "NRSERIEIMP");
    scheme = ParamText(Params, "ESQUEMACOR");
    const std::string validate = ParamText(Params, "IDVALIDA");
    return CheckGrandTotal(scheme, validate, KeysOfThisRegister(from_params));
  } catch (const std::exception& error) {
    // A check that could not be made must not pass for one that succeeded.
    ShowDialog(error.what(), scheme, kStartDialog);
    return false;
  }
}

bool BuscaTotGer(const std::string& EsquemaCor, std::string& TotGeral) {
  using namespace zel;
  std::string total = Blanks(18);
  const int status = CallVendor(Bematech_FI_GrandeTotal, total);
  LogReply("Bematech_FI_GrandeTotal", total);
  AnalisaRetorno(EsquemaCor, status, false, false, false);
  TotGeral = FloatToText(GetValue(total));
  return true;
}

double GetValue(const std::string& Valor) {
  using namespace zel;
  std::string digits;
  for (char c : Trim(Valor)) {
    if (c != ',' && c != '.') digits += c;
  }
  const bool negative = digits.starts_with('-');
  if (negative) digits.erase(0, 1);
  if (!AllDigits(digits)) {
    throw Error(Utf8ToCp1252("Valor inválido recebido da impressora fiscal: \"") + Valor + "\"");
  }
  digits = AjustaZero(digits, 3);
  const std::string number =
      std::string(negative ? "-" : "") + digits.substr(0, digits.size() - 2) +
      CurrentFormatSettings().decimal_separator + digits.substr(digits.size() - 2);
  return TextToFloat(number);
}

bool VerificaSerialImp(const zel::Variant& Params) {
  using namespace zel;
  try {
    const bool uses_printer = RecebeParams(Params, "UTILIZAIMPFIS").AsBoolean();
    std::string directory = ParamText(Params, "DSDIRCAD");
    const std::string scheme = ParamText(Params, "ESQUEMACOR");
    const std::string host_serial = ParamText(Params, "REV_NRSERIE_IMP");
    if (!uses_printer) return true;

    std::string serial = Blanks(15);
    const int status = CallVendor(Bematech_FI_NumeroSerieMFD, serial);
    ImpFisDebug("Bematech_FI_NumeroSerieMFD : \r\nRetorno da Impressora : " + serial);
    if (!AnalisaRetorno(scheme, status, false, false, false)) {
      ShowDialog(MsgPadrao("ERRO_COM_ECF"), scheme, kStartDialog);
      return false;
    }

    if (!directory.empty() && !directory.ends_with('\\') && !directory.ends_with('/')) {
      directory += '\\';
    }
    Dataset configuration("Ploteva");
    try {
      configuration.LoadFromFile(directory + kConfigurationFile);
    } catch (const std::exception&) {
      ShowDialog(MsgPadrao("PLOTEVA_N_ENC"), scheme, kStartDialog);
      return false;
    }

    // This register's row; a host that never said which register it is
    // gets the first row, as a single-register host always had.
    if (!EmptyString(stAtuFili) || !EmptyString(stAtuCaixa)) {
      configuration.SetFilter("CDFILIAL = " + Quoted(stAtuFili) +
                              " AND CDCAIXA = " + Quoted(stAtuCaixa));
      configuration.SetFiltered(true);
    }
    if (configuration.IsEmpty()) {
      const std::string text =
          NoRowText(directory + kConfigurationFile, {stAtuFili, stAtuCaixa, Trim(serial)},
                    "o número de série da impressora");
      LogProblem(text);
      ShowDialog(text, scheme, kStartDialog);
      return false;
    }
    bool verdict = true;
    const std::string printer_serial = Trim(serial);
    configuration.First();
    if (printer_serial != Uncripto(configuration.AsText("NRSERIEECF"), kCipherKey)) {
      ShowDialog(MsgPadrao("ECFERRADO2"), scheme, kStartDialog);
      verdict = false;
    }
    if (printer_serial != host_serial) {
      ShowDialog(MsgPadrao("ECFERRADO2"), scheme, kStartDialog);
      verdict = false;
    }
    return verdict;
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace Zel00101

ZEL_EXPORT_PLAIN_NAME(bool, Atu_TotGeral, (const zel::Variant& Params), (Params))
ZEL_EXPORT_PLAIN_NAME(bool, BuscaTotGer, (const std::string& EsquemaCor, std::string& TotGeral),
                      (EsquemaCor, TotGeral))
ZEL_EXPORT_PLAIN_NAME(bool, VerificaSerialImp, (const zel::Variant& Params), (Params))
