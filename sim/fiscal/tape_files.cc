#include "tape_files.h"

#include <fstream>
#include <iterator>
#include <limits>
#include <optional>
#include <sstream>
#include <stdexcept>

#include "text.h"
#include "windows_paths.h"

namespace ecfsim {
namespace {

constexpr int kWidth = 48;
constexpr std::string_view kMagic = "ECFSIM-MFD 1";
constexpr std::string_view kEnd = "FIM";
constexpr int kLastDateColumn = 20;  // "Último documento:" date at columns 20-29

std::string Cp(std::string_view utf8) { return Utf8ToCp1252(utf8); }

// Cuts a line to the width of the paper.
std::string Fit(std::string line) {
  if (line.size() > static_cast<std::size_t>(kWidth)) line.resize(kWidth);
  return line;
}

std::string Quote(std::string_view text) { return "\"" + std::string(text) + "\""; }

// Printed lines never hold line breaks; a stray one would split a document.
std::string OneLine(std::string text) {
  for (char& c : text) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return text;
}

std::vector<std::string> SplitLines(std::string_view bytes) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t end = bytes.find('\n', start);
    if (end == std::string_view::npos) end = bytes.size();
    std::string_view line = bytes.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.emplace_back(line);
    start = end + 1;
  }
  return lines;
}

std::vector<std::string> SplitFields(std::string_view text, char separator) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  while (true) {
    const std::size_t end = text.find(separator, start);
    fields.emplace_back(text.substr(start, end == std::string_view::npos ? end : end - start));
    if (end == std::string_view::npos) return fields;
    start = end + 1;
  }
}

bool InRange(const PrintedDocument& document, const DetailTapeRange& range) {
  switch (range.kind) {
    case DetailTapeRange::Kind::kAll:
      return true;
    case DetailTapeRange::Kind::kByDate: {
      const int date = DateOf(document.printed_at);
      return date >= range.first && date <= range.last;
    }
    case DetailTapeRange::Kind::kByCoo:
      return document.coo >= range.first && document.coo <= range.last;
  }
  return false;
}

std::string RangeText(const DetailTapeRange& range) {
  switch (range.kind) {
    case DetailTapeRange::Kind::kByDate:
      return "Datas: " + ShowDate(range.first) + " a " + ShowDate(range.last);
    case DetailTapeRange::Kind::kByCoo:
      return "COO: " + Digits(range.first, 6) + " a " + Digits(range.last, 6);
    case DetailTapeRange::Kind::kAll:
      break;
  }
  return Cp("Toda a memória");
}

// The user a download or conversion is made for: 1 up to the current one.
void CheckUser(std::string_view user, int current_user) {
  const std::optional<int> number = ParseCount(user);
  if (!number || *number < 1 || *number > current_user) {
    throw std::invalid_argument("unknown detail-tape user " + Quote(user));
  }
}

std::string ReadWholeFile(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read the file " + file);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteWholeFile(const std::string& file, const std::string& bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << bytes;
  out.close();
  if (!out) throw std::runtime_error("cannot write the file " + file);
}

[[noreturn]] void Damaged(std::string_view why) {
  throw std::invalid_argument("not a detail-tape download: " + std::string(why));
}

// Reads "NAME=value" at `line`, failing when the name differs.
std::string Expect(const std::vector<std::string>& lines, std::size_t line, std::string_view name) {
  if (line >= lines.size()) Damaged("it ends before " + std::string(name));
  const std::string& text = lines[line];
  if (text.size() <= name.size() || text.compare(0, name.size(), name) != 0 ||
      text[name.size()] != '=') {
    Damaged("line " + std::to_string(line + 1) + " should hold " + std::string(name));
  }
  return text.substr(name.size() + 1);
}

// A number written with 1 to 18 digits and nothing else.
std::int64_t ExpectDigits(std::string_view text, std::string_view what) {
  if (text.empty() || text.size() > 18)
    Damaged(std::string(what) + " " + Quote(text) + " is not a number");
  std::int64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') Damaged(std::string(what) + " " + Quote(text) + " is not a number");
    value = value * 10 + (c - '0');
  }
  return value;
}

int ExpectNumber(std::string_view text, std::string_view what) {
  const std::int64_t value = ExpectDigits(text, what);
  if (value > std::numeric_limits<int>::max())
    Damaged(std::string(what) + " " + Quote(text) + " is too large");
  return static_cast<int>(value);
}

}  // namespace

DetailTapeRange ParseDetailTapeRange(std::string_view type, std::string_view first,
                                     std::string_view last) {
  const std::string kind = Trim(type);
  DetailTapeRange range;
  if (kind == "0") return range;
  std::optional<int> (*read)(std::string_view);
  if (kind == "1") {
    range.kind = DetailTapeRange::Kind::kByDate;
    read = &ParseDate;
  } else if (kind == "2") {
    range.kind = DetailTapeRange::Kind::kByCoo;
    read = &ParseCount;
  } else {
    throw std::invalid_argument("unknown detail-tape download type " + Quote(type));
  }
  const std::optional<int> from = read(first);
  const std::optional<int> to = read(last);
  if (!from) throw std::invalid_argument("the first bound " + Quote(first) + " does not read");
  if (!to) throw std::invalid_argument("the last bound " + Quote(last) + " does not read");
  if (*from > *to) {
    throw std::invalid_argument("the range " + Quote(first) + " to " + Quote(last) +
                                " ends before it starts");
  }
  range.first = *from;
  range.last = *to;
  return range;
}

std::vector<PrintedDocument> SelectDocuments(const std::vector<PrintedDocument>& tape,
                                             const DetailTapeRange& range) {
  std::vector<PrintedDocument> selected;
  for (const PrintedDocument& document : tape) {
    if (InRange(document, range)) selected.push_back(document);
  }
  return selected;
}

std::string EncodeDownload(const DetailTapeDownload& download) {
  const PrinterIdentity& identity = download.identity;
  std::ostringstream out;
  out << kMagic << "\r\n"
      << "SERIE=" << OneLine(identity.serial_number) << "\r\n"
      << "MARCA=" << OneLine(identity.brand) << "\r\n"
      << "MODELO=" << OneLine(identity.model) << "\r\n"
      << "CNPJ=" << OneLine(identity.owner_cnpj) << "\r\n"
      << "IE=" << OneLine(identity.owner_ie) << "\r\n"
      << "USUARIO=" << identity.user_number << "\r\n"
      << "FAIXA=" << static_cast<int>(download.range.kind) << ';' << download.range.first << ';'
      << download.range.last << "\r\n";
  for (const PrintedDocument& document : download.documents) {
    out << "DOC=" << Digits(document.coo, 6) << ';' << OneLine(document.kind) << ';'
        << document.printed_at << ';' << document.lines.size() << "\r\n";
    for (const std::string& line : document.lines) out << OneLine(line) << "\r\n";
  }
  out << kEnd << "\r\n";
  return out.str();
}

DetailTapeDownload DecodeDownload(std::string_view bytes) {
  const std::vector<std::string> lines = SplitLines(bytes);
  if (lines.empty() || lines[0] != kMagic) Damaged("the first line is not " + Quote(kMagic));
  DetailTapeDownload download;
  PrinterIdentity& identity = download.identity;
  identity.serial_number = Expect(lines, 1, "SERIE");
  identity.brand = Expect(lines, 2, "MARCA");
  identity.model = Expect(lines, 3, "MODELO");
  identity.owner_cnpj = Expect(lines, 4, "CNPJ");
  identity.owner_ie = Expect(lines, 5, "IE");
  identity.user_number = ExpectNumber(Expect(lines, 6, "USUARIO"), "the user");
  const std::vector<std::string> range = SplitFields(Expect(lines, 7, "FAIXA"), ';');
  if (range.size() != 3) Damaged("the range needs three fields");
  const int kind = ExpectNumber(range[0], "the range kind");
  if (kind > static_cast<int>(DetailTapeRange::Kind::kByCoo)) Damaged("unknown range kind");
  download.range = {static_cast<DetailTapeRange::Kind>(kind), ExpectNumber(range[1], "a bound"),
                    ExpectNumber(range[2], "a bound")};

  std::size_t next = 8;
  while (next < lines.size() && lines[next] != kEnd) {
    const std::vector<std::string> header = SplitFields(Expect(lines, next, "DOC"), ';');
    if (header.size() != 4) Damaged("line " + std::to_string(next + 1) + " needs four fields");
    PrintedDocument document{
        ExpectNumber(header[0], "the COO"), header[1], ExpectDigits(header[2], "the moment"), {}};
    const std::size_t count = ExpectNumber(header[3], "the line count");
    if (lines.size() - next - 1 < count) Damaged("a document is cut short");
    document.lines.assign(lines.begin() + next + 1, lines.begin() + next + 1 + count);
    download.documents.push_back(std::move(document));
    next += count + 1;
  }
  if (next >= lines.size()) Damaged("the closing " + Quote(kEnd) + " is missing");
  return download;
}

std::vector<std::string> MirrorLines(const DetailTapeDownload& download,
                                     const DetailTapeRange& range) {
  const PrinterIdentity& identity = download.identity;
  std::vector<std::string> lines = {
      Centre(Cp("ESPELHO DA MEMÓRIA DE FITA DETALHE"), kWidth),
      Centre(identity.brand + " " + identity.model, kWidth),
      Fit(Cp("Nº de série: ") + identity.serial_number),
      Fit("CNPJ:" + identity.owner_cnpj + " IE:" + identity.owner_ie),
      Cp("Usuário: ") + std::to_string(identity.user_number),
      RangeText(range),
      std::string(kWidth, '='),
  };
  const std::vector<PrintedDocument> documents = SelectDocuments(download.documents, range);
  for (std::size_t i = 0; i < documents.size(); ++i) {
    const PrintedDocument& document = documents[i];
    if (i > 0) lines.emplace_back();
    lines.push_back(ShowMoment(document.printed_at) + " COO:" + Digits(document.coo, 6) + " " +
                    document.kind);
    lines.insert(lines.end(), document.lines.begin(), document.lines.end());
  }
  if (documents.empty()) lines.push_back("Nenhum documento no intervalo.");
  lines.push_back(std::string(kWidth, '='));
  if (!documents.empty()) {
    lines.push_back(PadRight(Cp("Último documento:"), kLastDateColumn - 1) +
                    ShowMoment(documents.back().printed_at));
  }
  lines.push_back("Documentos no espelho: " + Digits(static_cast<int>(documents.size()), 4));
  return lines;
}

std::string WriteDownloadFile(std::string_view file, const PrinterState& state,
                              const std::vector<PrintedDocument>& tape, std::string_view type,
                              std::string_view first, std::string_view last,
                              std::string_view user) {
  const DetailTapeRange range = ParseDetailTapeRange(type, first, last);
  CheckUser(user, state.identity.user_number);
  const std::string real = RealPath(file);
  WriteWholeFile(real, EncodeDownload({state.identity, range, SelectDocuments(tape, range)}));
  return real;
}

std::string WriteMirrorFile(std::string_view source, std::string_view target,
                            std::string_view format, std::string_view type, std::string_view first,
                            std::string_view last, std::string_view user) {
  if (Trim(format) != "0") throw std::invalid_argument("unknown mirror format " + Quote(format));
  const DetailTapeRange range = ParseDetailTapeRange(type, first, last);
  const DetailTapeDownload download = DecodeDownload(ReadWholeFile(RealPath(source)));
  CheckUser(user, download.identity.user_number);
  const std::string real = RealPath(target);
  WriteCrLfFile(real, MirrorLines(download, range));
  return real;
}

}  // namespace ecfsim
