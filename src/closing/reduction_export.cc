// The Z-reduction export: the day's fiscal figures handed to the host as
// four datasets. The printer writes a serial X reading to "Retorno.txt" in
// the folder named by the Path key of its BemaFI32.ini; the file is read
// (closing/reduction_reading.h) into the data module's cdsReducaoZ,
// cdsFormPgtoRedZ, cdsImpostoRedZ and cdsTotNFiscRedZ, whose packets are
// then copied into the host's datasets. A dated copy of the reading is kept
// under "Dados\Reduções".
//
// The host closes its books with these figures, so it gets all of them or
// none: whatever goes wrong (no Path key, the reading refused, no file, a
// file that does not read, a dataset error) the host's datasets are left
// exactly as they were, the reason goes to the debug log, and the answer is
// false. The old "Retorno.txt" is removed before the reading is asked for,
// so a file from an earlier reading can never pass for today's.
#include <array>
#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "closing/reduction_reading.h"
#include "core/data_module.h"
#include "core/dialogs.h"
#include "core/start_support.h"
#include "core/vendor_call.h"
#include "host/codepage.h"
#include "host/date_format.h"
#include "platform/env.h"
#include "platform/path_spelling.h"
#include "zel/dataset.h"
#include "zel/debug_log.h"
#include "zel/driver_state.h"
#include "zel/host_services.h"
#include "zel/operations.h"

namespace zel {
namespace {

// The colour scheme of the notice about a folder that cannot be made.
constexpr char kFolderNoticeScheme[] = "002";
constexpr std::size_t kModelWidth = 30;

std::string ReductionsFolder() { return Utf8ToCp1252("Dados\\Reduções"); }

// The folders of the dated copies, under the current directory. A folder
// that cannot be made is told to the operator; the export goes on, only
// without its copy.
void EnsureReductionFolders() {
  Env& env = *Env::Current();
  for (const std::string& folder : {std::string("Dados"), ReductionsFolder()}) {
    if (env.DirectoryExists(folder)) continue;
    try {
      env.CreateDirectories(folder);
    } catch (const Error& error) {
      LogProblem(error.what());
      ShowDialog(MsgPadrao("N_POS_DIR") + " " + folder, kFolderNoticeScheme, kStartDialog);
    }
  }
}

// The value of the first "Path=" line of BemaFI32.ini (name in any case,
// sections not considered), or nothing when the line is missing.
std::optional<std::string> IniPath(const std::vector<std::string>& lines) {
  for (const std::string& line : lines) {
    const std::size_t equals = line.find('=');
    if (equals != std::string::npos && EqualsIgnoringCase(line.substr(0, equals), "Path")) {
      return line.substr(equals + 1);
    }
  }
  return std::nullopt;
}

// Where the printer library writes the reading. Without BemaFI32.ini the
// library writes to the root of drive C, and so "C:\Retorno.txt" is looked
// for (not "\Retorno.txt", which Windows takes from the current directory's
// drive); an ini file whose Path is missing or empty is a broken set-up.
std::string ReturnFilePath() {
  Env& env = *Env::Current();
  std::string ini = env.SystemDirectory();
  if (!ini.ends_with('\\')) ini += '\\';
  ini += "Bemafi32.ini";
  std::string folder = "C:\\";
  if (env.FileExists(ini)) {
    const std::optional<std::string> path = IniPath(env.ReadLines(ini));
    if (!path || path->empty()) {
      throw Error(Utf8ToCp1252("BemaFI32.ini não indica a pasta do Retorno.txt (chave Path)."));
    }
    folder = *path;
  }
  return folder + (folder.ends_with('\\') ? "" : "\\") + "Retorno.txt";
}

// The header values of the day's row, read from the printer before the
// reading.
struct Header {
  std::string model;          // DSMODMARCAECF
  std::string owner_number;   // NRUSUARIOMFD
  std::string extra_memory;   // CDMFADICIONAL
  Variant software_recorded;  // DTGRAVSBECF, empty when the printer has none
};

Header ReadHeader(const std::string& scheme) {
  Header header;
  std::string brand, model, kind;
  Zel00101::Modelo_Impressora(scheme, brand, model, kind);
  header.model = (Trim(brand) + "|" + Trim(model)).substr(0, kModelWidth);

  // The owner-substitution count numbers the printer's current user (its
  // owner), so it fills the user number; the additional fiscal-memory
  // indicator has the additional-memory field of its own width (5).
  std::string substitutions;
  std::string user_recorded, software_recorded, extra_memory;
  if (!Zel00101::NumeroSubstituicoesProprietario(scheme, substitutions) ||
      !Zel00101::DataHoraGravacaoUsuarioSWBasicoMFAdicional(scheme, user_recorded,
                                                            software_recorded, extra_memory)) {
    throw Error(Utf8ToCp1252("a impressora não informou o usuário e a memória adicional."));
  }
  header.owner_number = Trim(substitutions);
  header.extra_memory = Trim(extra_memory);
  if (!Trim(software_recorded).empty()) {
    header.software_recorded = Variant(TextToDateTime(Trim(software_recorded)));
  }
  return header;
}

// Asks the printer for the serial X reading, after removing the file of
// any earlier reading; returns the new file's lines.
std::vector<std::string> RequestReading(const std::string& scheme, const std::string& file) {
  Env& env = *Env::Current();
  env.RemoveFile(file);
  const int status = CallVendor(Zel00101::Bematech_FI_LeituraXSerial);
  Zel00101::stImpDebug = "Bematech_FI_LeituraXSerial";
  if (!Zel00101::AnalisaRetorno(scheme, status, true, false, false)) {
    throw Error(Utf8ToCp1252("a impressora recusou a leitura X serial."));
  }
  if (!env.FileExists(file)) {
    throw Error(file + Utf8ToCp1252(" não foi gravado pela leitura X serial."));
  }
  return env.ReadLines(file);
}

// The dated copy of the reading. The figures are what the host asked for;
// a copy that cannot be written is logged and the export goes on.
void KeepCopy(const std::vector<std::string>& lines, DateTime movement_date) {
  Env& env = *Env::Current();
  if (!env.DirectoryExists(ReductionsFolder())) return;
  const std::string copy =
      ReductionsFolder() + "\\BemaMP20 - " + FormatDateTime("DDMMYYYY", movement_date) + ".txt";
  try {
    env.WriteLines(copy, lines);
  } catch (const Error& error) {
    LogProblem(error.what());
  }
}

// Starts a row with the two key fields every table of the export carries.
void AppendKeyedRow(Dataset& table, DateTime movement_date) {
  table.Append();
  table.SetValue("NRECFREDZ", Variant(Zel00101::ECF));
  table.SetValue("DTREDUCAOZ", Variant(movement_date));
}

void FillReduction(Dataset& table, const ReductionCounters& c, const Header& header,
                   DateTime movement_date) {
  table.CreateDataSet();
  AppendKeyedRow(table, movement_date);
  table.SetValue("NRREINIREDZ", Variant(c.restarts));
  table.SetValue("NRREDREDZ", Variant(c.reduction));
  table.SetValue("NRLEITREDZ", Variant(c.document));
  table.SetValue("NRGERCNFREDZ", Variant(c.non_fiscal));
  table.SetValue("NRCANCFREDZ", Variant(c.cancelled_coupons));
  table.SetValue("NRPRIMCFREDZ", Variant(c.first_document));
  table.SetValue("NRULTCFREDZ", Variant(c.last_document));
  table.SetValue("VRGTREDZ", Variant(c.grand_total));
  table.SetValue("VRVENBRUREDZ", Variant(c.gross_sales));
  table.SetValue("VRISSREDZ", Variant(c.service_tax_sales));
  table.SetValue("VRTOTCANREDZ", Variant(c.cancellations));
  table.SetValue("VRTOTDESREDZ", Variant(c.discounts));
  table.SetValue("VRVENLIQREDZ", Variant(c.net_sales));
  table.SetValue("VRTOTACRREDZ", Variant(c.surcharges));
  table.SetValue("VRSTRIBREDZ", Variant(c.substitution));
  table.SetValue("VRISENCREDZ", Variant(c.exempt));
  table.SetValue("VRNINCIDREDZ", Variant(c.not_taxed));
  table.SetValue("QTTEMLIGREDZ", Variant(c.time_in_service));
  table.SetValue("QTTEMPCFREDZ", Variant(c.time_issuing));
  table.SetValue("QTMEMRESREDZ", Variant(static_cast<double>(c.free_reductions)));
  table.SetValue("DSMODMARCAECF", Variant(header.model));
  table.SetValue("CDMFADICIONAL", Variant(header.extra_memory));
  table.SetValue("NRUSUARIOMFD", Variant(header.owner_number));
  table.SetValue("DTGRAVSBECF", header.software_recorded);
  table.Post();
}

// A payment form the host has no payment type for gives no row.
void FillPaymentForms(Dataset& table, Dataset& payment_types,
                      const std::vector<PaymentFormFigure>& forms, DateTime movement_date) {
  table.CreateDataSet();
  for (const PaymentFormFigure& form : forms) {
    if (!payment_types.Locate("CDFPIMPFIS", Variant(form.index))) continue;
    const Variant type = payment_types.FieldValue("CDTIPORECE");
    AppendKeyedRow(table, movement_date);
    table.SetValue("VRFORMPGTORZ", Variant(form.amount));
    table.SetValue("CDTIPORECE", type);
    table.SetValue("CDTPRECEORIG", type);
    table.Post();
  }
}

void FillNonFiscal(Dataset& table, const std::vector<NonFiscalFigure>& totalizers,
                   DateTime movement_date) {
  table.CreateDataSet();
  for (const NonFiscalFigure& totalizer : totalizers) {
    AppendKeyedRow(table, movement_date);
    table.SetValue("NRTOTNFISCRZ", Variant(totalizer.index));
    table.SetValue("DSTOTNFISCRZ", Variant(totalizer.name));
    table.SetValue("NRCONTOTNFIS", Variant(totalizer.count));
    table.SetValue("VRACUTOTNFIS", Variant(totalizer.amount));
    table.Post();
  }
}

void FillTaxRates(Dataset& table, const std::vector<TaxRateFigure>& rates, DateTime movement_date) {
  table.CreateDataSet();
  for (const TaxRateFigure& rate : rates) {
    AppendKeyedRow(table, movement_date);
    table.SetValue("CDALIQIMPRZ", Variant(rate.position));
    table.SetValue("VRALIQIMPRZ", Variant(rate.rate));
    table.SetValue("VRBCALCIMPRZ", Variant(rate.base));
    table.SetValue("VRIMPOSTORZ", Variant(rate.tax));
    table.SetValue("IDTPIMPREDZ", Variant(std::string(1, rate.kind)));
    table.Post();
  }
}

// The host's dataset as a packet, or nothing for one that has no fields
// yet (a fresh dataset the host leaves to the export to shape): such a
// dataset has no packet to give.
Variant PacketOf(Dataset& table) { return table.FieldCount() == 0 ? Variant() : table.Data(); }

// Puts back what PacketOf took.
void Restore(Dataset& table, const Variant& packet) {
  if (packet.IsEmpty()) {
    table.Close();
  } else {
    table.SetData(packet);
  }
}

// Replaces the host's four datasets with the module's, all or none: when
// one copy fails, the ones already made are put back.
void HandOver(const std::array<Dataset*, 4>& module, const std::array<Dataset*, 4>& host,
              const std::array<Variant, 4>& before) {
  std::size_t copied = 0;
  try {
    for (; copied < host.size(); ++copied) host[copied]->SetData(module[copied]->Data());
  } catch (...) {
    for (std::size_t i = 0; i < copied; ++i) Restore(*host[i], before[i]);
    throw;
  }
}

void Export(const std::string& scheme, Dataset& payment_types,
            const std::array<Dataset*, 4>& host) {
  TdtmBematech10& data = EnsureDataModule();
  EnsureReductionFolders();
  const std::string file = ReturnFilePath();

  const std::array<Dataset*, 4> module = {&data.cdsReducaoZ, &data.cdsFormPgtoRedZ,
                                          &data.cdsImpostoRedZ, &data.cdsTotNFiscRedZ};
  const std::array<Variant, 4> before = {PacketOf(*host[0]), PacketOf(*host[1]), PacketOf(*host[2]),
                                         PacketOf(*host[3])};
  data.cdsTipoRece.SetData(payment_types.Data());
  for (std::size_t i = 0; i < module.size(); ++i) {
    if (!before[i].IsEmpty()) module[i]->SetData(before[i]);
  }

  const Header header = ReadHeader(scheme);
  const std::vector<std::string> lines = RequestReading(scheme, file);
  const DateTime movement_date = Zel00101::DataMoviFiscal(scheme);
  KeepCopy(lines, movement_date);

  const ReductionReading reading = ParseReductionReading(lines);
  FillReduction(data.cdsReducaoZ, reading.counters, header, movement_date);
  FillPaymentForms(data.cdsFormPgtoRedZ, data.cdsTipoRece, reading.payment_forms, movement_date);
  data.cdsTipoRece.Close();
  FillNonFiscal(data.cdsTotNFiscRedZ, reading.non_fiscal, movement_date);
  FillTaxRates(data.cdsImpostoRedZ, reading.tax_rates, movement_date);
  HandOver(module, host, before);
}

}  // namespace
}  // namespace zel

namespace Zel00101 {

bool ExportRedZ(const std::string& /*Reservado1*/, const std::string& EsquemaCor,
                const std::string& /*Reservado2*/, std::int32_t /*Reservado3*/,
                zel::Dataset& TiposRece, zel::Dataset& ReducaoZ, zel::Dataset& FormPgtoRedZ,
                zel::Dataset& ImpostoRedZ, zel::Dataset& TotNFiscRedZ) {
  using namespace zel;
  try {
    Export(EsquemaCor, TiposRece, {&ReducaoZ, &FormPgtoRedZ, &ImpostoRedZ, &TotNFiscRedZ});
    return true;
  } catch (const std::exception& error) {
    LogProblem("ExportRedZ: " + std::string(error.what()));
    return false;
  }
}

}  // namespace Zel00101

ZEL_EXPORT_PLAIN_NAME(bool, ExportRedZ,
                      (const std::string& Reservado1, const std::string& EsquemaCor,
                       const std::string& Reservado2, std::int32_t Reservado3,
                       zel::Dataset& TiposRece, zel::Dataset& ReducaoZ, zel::Dataset& FormPgtoRedZ,
                       zel::Dataset& ImpostoRedZ, zel::Dataset& TotNFiscRedZ),
                      (Reservado1, EsquemaCor, Reservado2, Reservado3, TiposRece, ReducaoZ,
                       FormPgtoRedZ, ImpostoRedZ, TotNFiscRedZ))
