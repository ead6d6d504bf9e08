#include "tape.h"

#include <fstream>

#include "text.h"

namespace ecfsim {

std::string Tape::TapePath() const { return directory_ + "/tape.txt"; }
std::string Tape::DetailPath() const { return directory_ + "/mfd.txt"; }
std::string Tape::JournalPath() const { return directory_ + "/journal.txt"; }

void Tape::Print(int coo, const std::string& kind, std::int64_t moment,
                 const std::vector<std::string>& lines) const {
  if (lines.empty()) return;
  std::ofstream paper(TapePath(), std::ios::app | std::ios::binary);
  std::ofstream detail(DetailPath(), std::ios::app | std::ios::binary);
  std::string prefix = Digits(coo, 6) + "|" + kind + "|" + std::to_string(moment) + "|";
  for (const std::string& line : lines) {
    paper << Cp1252ToUtf8(line) << '\n';
    detail << prefix << line << '\n';
  }
}

void Tape::Mark(const std::vector<std::string>& lines) const {
  std::ofstream paper(TapePath(), std::ios::app | std::ios::binary);
  for (const std::string& line : lines) paper << Cp1252ToUtf8(line) << '\n';
}

void Tape::Journal(const std::string& call) const {
  std::ofstream journal(JournalPath(), std::ios::app | std::ios::binary);
  journal << Cp1252ToUtf8(call) << '\n';
}

std::vector<PrintedDocument> LoadDetailTape(const std::string& directory) {
  std::vector<PrintedDocument> documents;
  std::ifstream in(directory + "/mfd.txt", std::ios::binary);
  std::string row;
  while (std::getline(in, row)) {
    std::size_t a = row.find('|');
    std::size_t b = a == std::string::npos ? a : row.find('|', a + 1);
    std::size_t c = b == std::string::npos ? b : row.find('|', b + 1);
    if (c == std::string::npos) continue;
    auto coo = ParseCount(row.substr(0, a));
    auto moment = ParseInteger(row.substr(b + 1, c - b - 1));
    if (!coo || !moment) continue;
    std::string kind = row.substr(a + 1, b - a - 1);
    if (documents.empty() || documents.back().coo != *coo || documents.back().kind != kind) {
      documents.push_back(PrintedDocument{*coo, kind, *moment, {}});
    }
    documents.back().lines.push_back(row.substr(c + 1));
  }
  return documents;
}

}  // namespace ecfsim
