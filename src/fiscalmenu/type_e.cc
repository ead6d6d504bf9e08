// The type-E file of the detail tape, made in two or three stages by outside
// libraries: the printer library downloads its detail-tape memory, and
// BemaMFD2.dll turns the download into the type-E text (by COO range, after
// a text mirror of the range from which the driver takes its dates). The
// CAT52 entry of the host does nothing here.
#include <string>
#include <vector>

#include "core/vendor_call.h"
#include "fiscalmenu/menu_files.h"
#include "host/codepage.h"
#include "host/number_format.h"
#include "platform/env.h"
#include "zel/error.h"
#include "zel/fiscal_menu.h"

namespace Zel00101 {

TBemaGeraTxtPorCOO Bematech_GeraTxtPorCOO = nullptr;
TBemaGeraRegistrosTipoE Bematech_GeraRegistrosTipoE = nullptr;

}  // namespace Zel00101

namespace zel {
namespace {

constexpr char kCooDownload[] = "c:\\Download.MFD";
constexpr char kDateDownload[] = "Download.MFD";
constexpr char kMirror[] = "Espelho.TXT";
constexpr char kMirrorWithoutBlanks[] = "EspelhoTMP.TXT";
constexpr char kTypeEPrefix[] = "c:\\MenuFiscal\\AC17-04";
// The mirror's first document date: line 8 (of the non-empty lines),
// columns 1-10; its last: the second-to-last line, columns 20-29.
constexpr std::size_t kFirstDateLine = 7;
constexpr std::size_t kLastDateColumn = 19;
constexpr std::size_t kDateLength = 10;
// What the printer library and BemaMFD2.dll answer when done.
constexpr int kDone = 1;
constexpr int kUser = 1;

[[noreturn]] void Fail(std::string_view utf8_reason) { throw Error(Utf8ToCp1252(utf8_reason)); }

// Removes the working files when the operation ends, however it ends.
class WorkingFiles {
 public:
  explicit WorkingFiles(std::vector<std::string> names) : names_(std::move(names)) {}
  ~WorkingFiles() {
    for (const std::string& name : names_) {
      try {
        Env::Current()->RemoveFile(name);
      } catch (const Error&) {
        // A file that cannot be removed stays; the result is already made.
      }
    }
  }
  WorkingFiles(const WorkingFiles&) = delete;
  WorkingFiles& operator=(const WorkingFiles&) = delete;

 private:
  std::vector<std::string> names_;
};

int CooNumber(const std::string& text, std::string_view which) {
  std::int64_t number = 0;
  if (!TryTextToInt(text, &number) || number < 0 || number > 999999) {
    Fail("O COO " + std::string(which) + " \"" + Cp1252ToUtf8(text) + "\" não é um número válido.");
  }
  return static_cast<int>(number);
}

void Download(const char* file, const char* type, const std::string& first,
              const std::string& last) {
  const int status = CallVendor(Zel00101::Bematech_FI_DownloadMFD, file, type, first, last, "1");
  if (status != kDone) {
    Fail("A impressora não fez o download da memória de fita detalhe (retorno " +
         std::to_string(status) + ").");
  }
}

// Loads BemaMFD2.dll (never released) and binds its two entries.
void BindMfdLibrary() {
  Env& env = *Env::Current();
  const LibraryHandle library = env.OpenLibrary("BemaMFD2.dll");
  if (library == nullptr) Fail("Biblioteca BemaMFD2.dll não encontrada: " + env.LastLibraryError());
  Zel00101::Bematech_GeraTxtPorCOO =
      reinterpret_cast<Zel00101::TBemaGeraTxtPorCOO>(env.GetSymbol(library, "BemaGeraTxtPorCOO"));
  if (Zel00101::Bematech_GeraTxtPorCOO == nullptr)
    Fail("A biblioteca BemaMFD2.dll não tem a entrada BemaGeraTxtPorCOO.");
  Zel00101::Bematech_GeraRegistrosTipoE = reinterpret_cast<Zel00101::TBemaGeraRegistrosTipoE>(
      env.GetSymbol(library, "BemaGeraRegistrosTipoE"));
  if (Zel00101::Bematech_GeraRegistrosTipoE == nullptr)
    Fail("A biblioteca BemaMFD2.dll não tem a entrada BemaGeraRegistrosTipoE.");
}

// The first and last document dates of the mirror of COOs `first` to
// `last`, from its lines without the empty ones.
std::pair<std::string, std::string> MirrorDates(int first, int last) {
  Env& env = *Env::Current();
  const int status = Zel00101::Bematech_GeraTxtPorCOO(kCooDownload, kMirror, kUser, first, last);
  if (status != kDone) {
    Fail("A biblioteca BemaMFD2.dll não gerou o espelho (retorno " + std::to_string(status) + ").");
  }
  std::vector<std::string> lines;
  for (std::string& line : env.ReadLines(kMirror)) {
    if (!line.empty()) lines.push_back(std::move(line));
  }
  env.WriteLines(kMirrorWithoutBlanks, lines);
  lines = env.ReadLines(kMirrorWithoutBlanks);
  if (lines.size() <= kFirstDateLine) {
    Fail("O espelho da memória de fita detalhe tem menos de " + std::to_string(kFirstDateLine + 1) +
         " linhas.");
  }
  const std::string& last_line = lines[lines.size() - 2];
  return {lines[kFirstDateLine].substr(0, kDateLength),
          last_line.size() > kLastDateColumn ? last_line.substr(kLastDateColumn, kDateLength)
                                             : std::string()};
}

// The name of the new type-E file: the time stamp, and a counter after it
// when a file of that name is already there (two files in one second).
std::string NewTypeEName() {
  Env& env = *Env::Current();
  const std::string stem = kTypeEPrefix + TypeEStamp(env.Now());
  std::string name = stem + ".txt";
  for (int copy = 2; env.FileExists(name); ++copy) {
    name = stem + "_" + std::to_string(copy) + ".txt";
  }
  return name;
}

void Generate(const std::string& download, const std::string& name, const std::string& first,
              const std::string& last, const std::string& value1, const std::string& value2) {
  auto text = [](const std::string& value) { return value.empty() ? nullptr : value.c_str(); };
  const int status = Zel00101::Bematech_GeraRegistrosTipoE(
      download.c_str(), name.c_str(), text(first), text(last), text(value1), text(value2), nullptr,
      "2", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
      nullptr, nullptr, nullptr);
  if (status != kDone) {
    Fail("A biblioteca BemaMFD2.dll não gerou o arquivo tipo E (retorno " + std::to_string(status) +
         ").");
  }
  if (!Env::Current()->FileExists(name)) {
    Fail("O arquivo tipo E " + Cp1252ToUtf8(name) + " não foi gerado.");
  }
}

std::string ByCooRange(const std::string& first, const std::string& last, const std::string& value1,
                       const std::string& value2) {
  const int first_coo = CooNumber(first, "inicial");
  const int last_coo = CooNumber(last, "final");
  // The download goes to the root of drive C; that is the file removed.
  WorkingFiles working({kCooDownload, kMirror, kMirrorWithoutBlanks});
  Download(kCooDownload, "2", first, last);
  BindMfdLibrary();
  const auto [first_date, last_date] = MirrorDates(first_coo, last_coo);
  const std::string name = NewTypeEName();
  Generate(kCooDownload, name, first_date, last_date, value1, value2);
  return name;
}

std::string ByDateRange(const std::string& first, const std::string& last,
                        const std::string& value1, const std::string& value2) {
  WorkingFiles working({kDateDownload});
  Download(kDateDownload, "1", first, last);
  BindMfdLibrary();
  const std::string name = NewTypeEName();
  Generate(kDateDownload, name, first, last, value1, value2);
  return name;
}

}  // namespace
}  // namespace zel

namespace Zel00101 {

std::string geraRegistroTipoE(const std::string& Inicio, const std::string& Fim,
                              const std::string& Tipo, const std::string& Valor1,
                              const std::string& Valor2) {
  using namespace zel;
  if (Tipo != "1" && Tipo != "2") return {};
  try {
    return Tipo == "1" ? ByCooRange(Inicio, Fim, Valor1, Valor2)
                       : ByDateRange(Inicio, Fim, Valor1, Valor2);
  } catch (const std::exception& error) {
    return "ERRO_" + std::string(error.what());
  }
}

bool GeraCatGenerica(std::span<const zel::Variant> /*Params*/, zel::Variant& /*Reservado*/) {
  return true;
}

}  // namespace Zel00101

ZEL_EXPORT_PLAIN_NAME(std::string, geraRegistroTipoE,
                      (const std::string& Inicio, const std::string& Fim, const std::string& Tipo,
                       const std::string& Valor1, const std::string& Valor2),
                      (Inicio, Fim, Tipo, Valor1, Valor2))
ZEL_EXPORT_PLAIN_NAME(bool, GeraCatGenerica,
                      (std::span<const zel::Variant> Params, zel::Variant& Reservado),
                      (Params, Reservado))
