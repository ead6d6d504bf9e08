#include "windows_paths.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <system_error>

#include "zel/env.h"

namespace ecfsim {
namespace fs = std::filesystem;
namespace {

constexpr std::string_view kDefaultOutputDirectory = "C:\\";
constexpr std::string_view kIniName = "BemaFI32.ini";

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  }
  return true;
}

}  // namespace

std::string RealPath(std::string_view path) {
  // The host SDK's own mapping, so the printer's files are where the driver
  // looks for them on either system.
  return zel::Env::Default()->MapPath(path);
}

std::string SystemDirectory() { return zel::Env::Default()->SystemDirectory(); }

std::string OutputDirectory() {
  const std::string ini = RealPath(SystemDirectory() + "/" + std::string(kIniName));
  std::error_code error;
  if (!fs::is_regular_file(ini, error)) return std::string(kDefaultOutputDirectory);
  std::string directory = IniValue(ReadLinesOf(ini), "Path");
  if (directory.empty()) return std::string(kDefaultOutputDirectory);
  if (directory.back() != '\\') directory += '\\';
  return directory;
}

std::string IniValue(const std::vector<std::string>& lines, std::string_view key) {
  for (const std::string& line : lines) {
    const std::size_t equals = line.find('=');
    if (equals != std::string::npos && SameIgnoringAsciiCase(line.substr(0, equals), key)) {
      return line.substr(equals + 1);
    }
  }
  return {};
}

void WriteCrLfFile(const std::string& file, const std::vector<std::string>& lines) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  for (const std::string& line : lines) out << line << "\r\n";
  out.close();
  if (!out) throw std::runtime_error("cannot write the file " + file);
}

std::vector<std::string> ReadLinesOf(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read the file " + file);
  std::vector<std::string> lines;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

}  // namespace ecfsim
