// The two printed reports of the fiscal menu: the totals by payment type
// and the identification of the point-of-sale software. Both are linked
// receipts of 48-column lines, one Usa_CompNFis per line of the layout.
//
// The host's data are read whole (and the identification deciphered)
// before anything is printed: a bad row is then reported before a receipt
// is issued, instead of leaving the printer with a receipt open halfway.
#include <array>
#include <string>
#include <vector>

#include "core/data_module.h"
#include "core/dialogs.h"
#include "fiscalmenu/menu_files.h"
#include "host/cipher.h"
#include "host/codepage.h"
#include "host/date_format.h"
#include "host/number_format.h"
#include "host/string_functions.h"
#include "nonfiscal/text_pieces.h"
#include "platform/env.h"
#include "zel/dataset.h"
#include "zel/driver_state.h"
#include "zel/error.h"
#include "zel/fiscal_menu.h"
#include "zel/operations.h"

namespace zel {
namespace {

constexpr int kLineWidth = 48;
constexpr int kPaymentTypeSlots = 20;
constexpr char kSixBlanks[] = "      ";

std::string Cp(std::string_view utf8) { return Utf8ToCp1252(utf8); }

std::string IssuedAt() {
  return Cp("Data Emissão: ") + FormatDateTime("dd/mm/yyyy hh:nn:ss", Env::Current()->Now());
}

// One row of the totals, read and checked.
struct PaymentRow {
  DateTime day;
  std::string code;
  int slot = 0;  // 1 to 20
  std::string name;
  double amount = 0;
};

struct PaymentSlot {
  std::string name;  // empty until the first row of the code
  std::string code;
  double sum = 0;
};

std::vector<PaymentRow> ReadPaymentRows(Dataset& rows) {
  std::vector<PaymentRow> read;
  for (rows.First(); !rows.Eof(); rows.Next()) {
    PaymentRow row{rows.AsDateTime("DTMOVIMCAIXA"), rows.AsText("CDTIPORECE"), 0,
                   rows.AsText("NMTIPORECE"), rows.AsDouble("VRMOVIVEND")};
    std::int64_t slot = 0;
    if (!TryTextToInt(row.code, &slot) || slot < 1 || slot > kPaymentTypeSlots) {
      throw Error(Cp("Código de tipo de recebimento inválido (de 1 a 20): \"") + row.code + "\".");
    }
    row.slot = static_cast<int>(slot);
    read.push_back(std::move(row));
  }
  return read;
}

void Print(const std::string& text, const std::string& colour_scheme = {}) {
  Zel00101::Usa_CompNFis(colour_scheme, text);
}

void PrintPaymentTypes(const std::vector<PaymentRow>& rows, const std::string& colour_scheme) {
  Zel00101::stRetorno = OpenLinkedReceipt(colour_scheme).number;
  Print(Centraliza(Cp("Relatório de totalizadores fiscais"), kLineWidth) + "\n");
  Print(IssuedAt() + "\n");
  Print("\n");

  std::array<PaymentSlot, kPaymentTypeSlots + 1> slots;
  double last_day = 0;
  for (const PaymentRow& row : rows) {
    if (row.day.value != last_day) {
      if (last_day != 0) Print("\n\n");
      last_day = row.day.value;
      Print("Data: " + DateToText(row.day) + "\n");
      Print(TamFixo(Cp("Código   Nome            Tipo"), 32) + TamFixoR("   Valor", 16) + "\n");
    }
    Print(TamFixo(row.code + kSixBlanks + row.name, 24) + TamFixo(" ECF", 10) + "  " +
          TamFixoR(FormatCurrency(row.amount), 12) + "\n");
    PaymentSlot& slot = slots[row.slot];
    slot.sum += row.amount;
    if (slot.name.empty()) {
      slot.name = row.name;
      slot.code = row.code;
    }
  }
  Print("\n");
  Print(Centraliza(Cp("Somatório dos totalizadores no período"), kLineWidth) + "\n\n");
  for (int code = 1; code <= kPaymentTypeSlots; ++code) {
    const PaymentSlot& slot = slots[code];
    if (slot.name.empty()) continue;
    Print(TamFixo(slot.code + kSixBlanks + slot.name, 30) + "  " +
          TamFixoR(FormatCurrency(slot.sum), 16) + "\n");
  }
  Print("\n");
  Zel00101::FechRelatGerenc(colour_scheme, false, false);
}

// The software's identification, deciphered.
struct SoftwareData {
  std::string laudo, cnpj, company, address, phone, technician, name, version, executable, code;
  std::vector<std::string> printers;
};

SoftwareData ReadSoftwareData(Dataset& software, Dataset& printers) {
  software.First();
  auto field = [&](std::string_view name) { return Uncripto(software.AsText(name), kCipherKey); };
  SoftwareData data{field("NRLAUDO"),
                    field("NRCNPJQUARVEL"),
                    field("DSRAZAOSOCIQRV"),
                    field("DSENDEQUARVEL"),
                    field("DSTELEFONEQRV"),
                    field("NMRESPONSIST"),
                    field("DSNOMECOMERCIAL"),
                    field("DSVERSAOPLOTEVA"),
                    field("NMEXEPLOTEVA"),
                    field("DSCODPLOTEVA"),
                    {}};
  for (printers.First(); !printers.Eof(); printers.Next()) {
    data.printers.push_back(printers.AsText("NRSERIEIMPRPERS"));
  }
  return data;
}

void PrintSoftwareData(const SoftwareData& data, const std::string& colour_scheme) {
  OpenLinkedReceipt(colour_scheme);
  Print(Cp("          Identificação do Paf-Ecf") + "\n\n");
  Print(IssuedAt() + "\n\n\n");
  Print("Nr do Laudo: " + data.laudo + "\n\n");
  Print(Cp("Identificação da Empresa: ") + "\n");
  Print("CNPJ         : " + data.cnpj + "\n");
  Print(Cp("Razão Social : ") + data.company + "\n");
  Print(Cp("Endereço     : ") + data.address + "\n");
  Print("Telefone     : " + data.phone + "\n");
  Print(Cp("Resp.Técnico: ") + data.technician + "\n\n");
  Print(Cp("Identificação PAF-ECF: ") + "\n");
  Print("Nome Comercial: " + data.name + "\n");
  Print(Cp("Versão        : ") + data.version + "\n\n");
  Print("Principal Exe : " + data.executable + "-MD5(" + data.code + ")" + "\n");
  Print("\n");
  if (!data.printers.empty()) {
    Print("\n", colour_scheme);
    Print(Cp("Relação de Ecf's") + "\n", colour_scheme);
    Print("\n", colour_scheme);
    for (const std::string& serial : data.printers) Print(serial + "\n", colour_scheme);
  }
  Print("\n");
  Zel00101::FechRelatGerenc(colour_scheme, true, false);
}

void ShowError(const std::exception& error, const std::string& colour_scheme) {
  ShowDialog(error.what(), colour_scheme, kMenuProblem);
}

}  // namespace
}  // namespace zel

namespace Zel00101 {

void imprimeTipoRece(const std::string& /*Reservado1*/, const std::string& /*Reservado2*/,
                     const std::string& EsquemaCor, const zel::Variant& Dados) {
  using namespace zel;
  std::vector<PaymentRow> rows;
  try {
    Dataset& dataset = EnsureDataModule().cdsTipoReceHomolog;
    dataset.SetData(Dados);
    rows = ReadPaymentRows(dataset);
  } catch (const std::exception& error) {
    ShowError(error, EsquemaCor);
    return;
  }
  try {
    PrintPaymentTypes(rows, EsquemaCor);
  } catch (const std::exception& error) {
    ShowError(error, EsquemaCor);
  }
}

void ImprimeDadosPaf(std::span<const zel::Variant> Params, zel::Variant& /*Reservado*/) {
  using namespace zel;
  const std::string scheme = ElementText(Params, 2);
  SoftwareData data;
  try {
    if (Params.size() < 5) throw Error(Cp("Faltam os dados do PAF-ECF e a relação de ECFs."));
    TdtmBematech10& module = EnsureDataModule();
    module.cdsDadosPaf.SetData(Params[3]);
    module.cdsBuscaNrSerieEcf.SetData(Params[4]);
    data = ReadSoftwareData(module.cdsDadosPaf, module.cdsBuscaNrSerieEcf);
  } catch (const std::exception& error) {
    ShowError(error, scheme);
    return;
  }
  try {
    PrintSoftwareData(data, scheme);
  } catch (const std::exception& error) {
    ShowError(error, scheme);
  }
}

}  // namespace Zel00101

ZEL_EXPORT_PLAIN_NAME(void, imprimeTipoRece,
                      (const std::string& Reservado1, const std::string& Reservado2,
                       const std::string& EsquemaCor, const zel::Variant& Dados),
                      (Reservado1, Reservado2, EsquemaCor, Dados))
ZEL_EXPORT_PLAIN_NAME(void, ImprimeDadosPaf,
                      (std::span<const zel::Variant> Params, zel::Variant& Reservado),
                      (Params, Reservado))
