// The fiscal menu a certified point-of-sale program offers the tax
// inspector: fiscal-memory readings (printed or as signed files), the
// detail-tape mirror, the type-E file, the payment-type and identification
// reports; and the check of a signed file.
#include <cstdio>
#include <filesystem>
#include <map>
#include <span>
#include <string>
#include <vector>

#include "command_families.h"
#include "fiscal_config.h"
#include "fiscal_jobs.h"
#include "options.h"
#include "sale_builder.h"
#include "zel/cipher.h"
#include "zel/codepage.h"
#include "zel/dataset.h"
#include "zel/error.h"

namespace ecfhost {
namespace {

using ArrayOp = bool(std::span<const zel::Variant>, zel::Variant&);

constexpr char kMenuFolder[] = "C:\\MenuFiscal";

// The files of C:\MenuFiscal with their last change, to tell which ones an
// operation made.
std::map<std::string, std::filesystem::file_time_type> MenuFiles(Session& session) {
  std::map<std::string, std::filesystem::file_time_type> files;
  const std::string folder = session.workspace().MapPath(kMenuFolder);
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    files[entry.path().filename().string()] = entry.last_write_time();
  }
  return files;
}

// Runs `job` and names each file of C:\MenuFiscal it made or changed.
template <typename Job>
bool ReportNewFiles(Session& session, Job job) {
  const auto before = MenuFiles(session);
  const bool done = job();
  for (const auto& [name, changed] : MenuFiles(session)) {
    const auto old = before.find(name);
    if (old != before.end() && old->second == changed) continue;
    const std::string windows = std::string(kMenuFolder) + "\\" + name;
    std::fprintf(session.out(), "Arquivo: %s\n  em %s\n", windows.c_str(),
                 session.workspace().MapPath(windows).c_str());
  }
  return done;
}

std::string Required(const Options& options, const std::string& name) {
  const std::optional<std::string> value = options.One(name);
  if (!value) throw UsageError("informe " + name);
  return *value;
}

// The driver never creates the fiscal-menu folder: the host does. The
// printer library writes its reading files where its BemaFI32.ini says; a
// register set up by this host has it write them to C:\.
void StartForMenu(Session& session) {
  Workspace& workspace = session.workspace();
  workspace.CreateDirectories(kMenuFolder);
  const std::string ini = workspace.SystemDirectory() + "/BemaFI32.ini";
  if (!workspace.FileExists(ini)) {
    workspace.CreateDirectories(workspace.SystemDirectory());
    workspace.WriteLines(ini, {"[Sistema]", "Porta=COM1", "Impressora=0", "Path=C:\\"});
  }
  session.Start();
}

// The reports are linked receipts on the management-report totalizer and
// payment form, which the driver finds (or programs) while programming.
void StartForReport(Session& session) {
  session.Start();
  ProgramPrinter(session);
}

int FiscalMemoryReading(Session& session, const Options& options) {
  const std::string from = Required(options, "--from");
  const std::string to = Required(options, "--to");
  const std::string flag = options.Has("--complete") ? "C" : "S";
  const std::string selector = options.Has("--by-reduction") ? "REDUCAO" : "DATA";
  StartForMenu(session);
  bool done;
  if (options.Has("--file")) {
    const std::vector<zel::Variant> params = {kColourScheme, from, to, flag, selector};
    zel::Variant unused;
    done = ReportNewFiles(session, [&] {
      return session.Op<ArrayOp>("EmiteLeituraMemoriaFiscalSerial")(params, unused);
    });
  } else {
    using PrintedOp = bool(const std::string&, const std::string&, const std::string&,
                           const std::string&, const std::string&);
    done =
        session.Op<PrintedOp>("EmiteLeituraMemoriaFiscal")(kColourScheme, from, to, flag, selector);
    if (done) std::fprintf(session.out(), "Leitura da memória fiscal impressa.\n");
  }
  if (!done) throw zel::Error("a leitura da memória fiscal falhou");
  return 0;
}

int DetailTapeMirror(Session& session, const Options& options) {
  const std::string type = options.One("--type").value_or("0");
  std::vector<zel::Variant> params(9);
  params[0] = kColourScheme;
  params[6] = options.One("--from").value_or("");
  params[7] = options.One("--to").value_or("");
  params[8] = type;
  StartForMenu(session);
  zel::Variant unused;
  if (!ReportNewFiles(session,
                      [&] { return session.Op<ArrayOp>("geraEspelhoMfd")(params, unused); })) {
    throw zel::Error("o espelho da fita-detalhe falhou");
  }
  return 0;
}

int TypeEFile(Session& session, const Options& options) {
  if (options.Has("--coo") == options.Has("--dates"))
    throw UsageError("informe --coo ou --dates (uma das duas)");
  using TypeEOp = std::string(const std::string&, const std::string&, const std::string&,
                              const std::string&, const std::string&);
  const std::string from = Required(options, "--from");
  const std::string to = Required(options, "--to");
  StartForMenu(session);
  const std::string result = session.Op<TypeEOp>("geraRegistroTipoE")(
      from, to, options.Has("--coo") ? "1" : "2", "ECFHOST", "1.0");
  if (result.starts_with("ERRO_")) throw zel::Error(zel::Cp1252ToUtf8(result.substr(5)));
  std::fprintf(session.out(), "Arquivo: %s\n  em %s\n", result.c_str(),
               session.workspace().MapPath(result).c_str());
  return 0;
}

// --row DD/MM/YYYY:CODE:NAME:AMOUNT, one per payment type and day.
zel::Variant PaymentRows(const Options& options) {
  zel::Dataset rows("cdsTipoReceHomolog");
  rows.AddField("DTMOVIMCAIXA", zel::FieldType::kDateTime);
  rows.AddField("CDTIPORECE", zel::FieldType::kText, 3);
  rows.AddField("NMTIPORECE", zel::FieldType::kText, 30);
  rows.AddField("VRMOVIVEND", zel::FieldType::kFloat);
  rows.CreateDataSet();
  for (const std::string& row : options.All("--row")) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t colon; (colon = row.find(':', start)) != std::string::npos;
         start = colon + 1) {
      parts.push_back(row.substr(start, colon - start));
    }
    parts.push_back(row.substr(start));
    if (parts.size() != 4) throw UsageError("um --row é DD/MM/AAAA:CÓDIGO:NOME:VALOR, não " + row);
    rows.Append();
    rows.SetValue("DTMOVIMCAIXA", zel::Variant(parts[0]).AsDateTime());
    rows.SetValue("CDTIPORECE", parts[1]);
    rows.SetValue("NMTIPORECE", zel::Utf8ToCp1252(parts[2]));
    rows.SetValue("VRMOVIVEND", ParseAmount(parts[3], "o valor de " + row));
    rows.Post();
  }
  return rows.Data();
}

int PaymentTypeReport(Session& session, const Options& options) {
  const zel::Variant rows = PaymentRows(options);
  StartForReport(session);
  using ReportOp =
      void(const std::string&, const std::string&, const std::string&, const zel::Variant&);
  session.Op<ReportOp>("imprimeTipoRece")("", "", kColourScheme, rows);
  std::fprintf(session.out(), "Relatório de totalizadores fiscais impresso.\n");
  return 0;
}

// This host's identification, enciphered as a host keeps it.
int IdentificationReport(Session& session, const Options&) {
  StartForReport(session);
  zel::Dataset software("cdsDadosPaf");
  const std::pair<const char*, const char*> fields[] = {
      {"NRLAUDO", "ZEL-0001/2026"},
      {"NRCNPJQUARVEL", "00.000.000/0001-00"},
      {"DSRAZAOSOCIQRV", "Zel Sistemas (demonstração)"},
      {"DSENDEQUARVEL", "Rua do Exemplo, 1 - São Paulo/SP"},
      {"DSTELEFONEQRV", "(11) 0000-0000"},
      {"NMRESPONSIST", "Equipe Zel"},
      {"DSNOMECOMERCIAL", "ecfhost"},
      {"DSVERSAOPLOTEVA", "1.0"},
      {"NMEXEPLOTEVA", "ecfhost"},
      {"DSCODPLOTEVA", "00000000000000000000000000000000"}};
  for (const auto& [name, value] : fields) software.AddField(name, zel::FieldType::kText, 120);
  software.CreateDataSet();
  software.Append();
  for (const auto& [name, value] : fields) {
    software.SetValue(name, zel::Cripto(zel::Utf8ToCp1252(value), zel::kCipherKey));
  }
  software.Post();
  zel::Dataset printers("cdsBuscaNrSerieEcf");
  printers.AddField("NRSERIEIMPRPERS", zel::FieldType::kText, 20);
  printers.CreateDataSet();
  printers.Append();
  printers.SetValue("NRSERIEIMPRPERS", session.printer_serial());
  printers.Post();
  const std::vector<zel::Variant> params = {"", "", kColourScheme, software.Data(),
                                            printers.Data()};
  zel::Variant unused;
  session.Op<void(std::span<const zel::Variant>, zel::Variant&)>("ImprimeDadosPaf")(params, unused);
  std::fprintf(session.out(), "Identificação do PAF-ECF impressa.\n");
  return 0;
}

}  // namespace

int RunMenu(Session& session, const Arguments& arguments) {
  if (arguments.empty())
    throw UsageError("informe o item do menu: lmf, mirror, type-e, payments ou paf");
  const std::string item = arguments[0];
  const Arguments rest(arguments.begin() + 1, arguments.end());
  if (item == "lmf") {
    return FiscalMemoryReading(
        session, Options(rest, {"--from", "--to"}, {"--by-reduction", "--complete", "--file"}));
  }
  if (item == "mirror") {
    return DetailTapeMirror(session, Options(rest, {"--type", "--from", "--to"}, {}));
  }
  if (item == "type-e") {
    return TypeEFile(session, Options(rest, {"--from", "--to"}, {"--coo", "--dates"}));
  }
  if (item == "payments") return PaymentTypeReport(session, Options(rest, {"--row"}, {}));
  if (item == "paf") return IdentificationReport(session, Options(rest, {}, {}));
  throw UsageError("item do menu desconhecido '" + item +
                   "': lmf, mirror, type-e, payments ou paf");
}

// The signing library's validateFile, beside the driver; nullptr when there
// is none (the Windows build has none), with the reason in LastLibraryError.
void* ValidateEntry(zel::Env& env) {
  const std::string library_path =
      std::filesystem::path(DefaultDriverPath()).parent_path().string() + "/sign_bema.dll";
  const zel::LibraryHandle library = env.OpenLibrary(library_path);
  return library == nullptr ? nullptr : env.GetSymbol(library, "validateFile");
}

int RunVerify(Session& session, const Arguments& arguments) {
  if (arguments.size() != 1) throw UsageError("informe o arquivo a conferir");
  zel::Env& env = session.workspace();
  void* entry = ValidateEntry(env);
  if (entry == nullptr)
    throw zel::Error("biblioteca de assinatura não encontrada: " + env.LastLibraryError());
  const std::string file = env.MapPath(arguments[0]);
  if (!env.FileExists(file)) throw UsageError("arquivo não encontrado: " + file);
  const std::string modulus = session.Op<std::string()>("ChavePublicaEad")();
  const std::string exponent = session.Op<std::string()>("ExpoentePublicoEad")();
  const int verdict = reinterpret_cast<int (*)(const char*, const char*, const char*)>(entry)(
      file.c_str(), modulus.c_str(), exponent.c_str());
  if (verdict != 1) {
    std::fprintf(session.out(), "Assinatura inválida ou ausente: %s\n", file.c_str());
    return 1;
  }
  std::fprintf(session.out(), "Assinatura válida: %s\n", file.c_str());
  return 0;
}

void SignedFiscalMemoryFile(Session& session) {
  const std::string today = zel::Cp1252ToUtf8(zel::Variant(session.workspace().Now()).AsText());
  const std::string date = today.substr(0, 10);
  StartForMenu(session);
  std::vector<std::string> made;
  const auto before = MenuFiles(session);
  FiscalMemoryReading(session, Options({"--from", date, "--to", date, "--complete", "--file"},
                                       {"--from", "--to"}, {"--complete", "--file"}));
  for (const auto& [name, changed] : MenuFiles(session)) {
    if (!before.contains(name)) made.push_back(std::string(kMenuFolder) + "\\" + name);
  }
  if (ValidateEntry(session.workspace()) == nullptr) {
    std::fprintf(session.out(), "Sem biblioteca de assinatura: arquivo sem assinatura.\n");
    return;
  }
  for (const std::string& file : made) RunVerify(session, {file});
}

}  // namespace ecfhost
