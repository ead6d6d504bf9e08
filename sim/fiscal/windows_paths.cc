#include "windows_paths.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <system_error>

#include "text.h"

namespace ecfsim {
namespace fs = std::filesystem;
namespace {

constexpr std::string_view kDefaultSystemDirectory = "C:\\Windows\\System32";
constexpr std::string_view kDefaultOutputDirectory = "C:\\";
constexpr std::string_view kIniName = "BemaFI32.ini";

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  }
  return true;
}

bool IsValidUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    int extra;
    if (lead < 0x80) {
      extra = 0;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
      extra = 1;
    } else if ((lead & 0xF0) == 0xE0) {
      extra = 2;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      extra = 3;
    } else {
      return false;
    }
    if (i + extra >= text.size()) return false;
    for (int k = 1; k <= extra; ++k) {
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    }
    i += extra + 1;
  }
  return true;
}

std::string CurrentDirectory() {
  std::error_code error;
  fs::path current = fs::current_path(error);
  if (error) throw std::runtime_error("cannot read the current directory: " + error.message());
  return current.string();
}

// The real directory standing for the root of a drive ('A'..'Z').
std::string DriveRoot(char upper_letter) {
  const std::string variable = std::string("ZEL_DRIVE_") + upper_letter;
  const char* value = std::getenv(variable.c_str());
  if (value != nullptr && *value != '\0') {
    fs::path root(value);
    return root.is_absolute() ? root.string() : (fs::path(CurrentDirectory()) / root).string();
  }
  return CurrentDirectory() + "/drive_" + LowerAscii(upper_letter);
}

// The entry of `directory` named `name` without regard to ASCII case; the
// exact spelling wins, then the first match in name order.
std::string FindEntry(const fs::path& directory, const std::string& name) {
  std::error_code error;
  if (fs::exists(directory / name, error)) return name;
  std::string found;
  for (fs::directory_iterator it(directory, error), end; !error && it != end; it.increment(error)) {
    const std::string candidate = it->path().filename().string();
    if (SameIgnoringAsciiCase(candidate, name) && (found.empty() || candidate < found)) {
      found = candidate;
    }
  }
  return found.empty() ? name : found;
}

}  // namespace

std::string RealPath(std::string_view path) {
  if (path.empty()) return {};
  std::string_view rest = path;
  fs::path result;
  if (path.size() >= 2 && path[1] == ':' && IsAsciiLetter(path[0])) {
    result = DriveRoot(static_cast<char>(path[0] & ~0x20));
    rest.remove_prefix(2);
  } else if (path[0] == '\\') {
    result = DriveRoot('C');
  } else if (path[0] == '/') {
    result = "/";
  } else {
    result = CurrentDirectory();
  }
  bool looking_up = true;  // stops at the first component that does not exist
  while (!rest.empty()) {
    std::size_t end = 0;
    while (end < rest.size() && !IsSeparator(rest[end])) ++end;
    std::string component(rest.substr(0, end));
    rest.remove_prefix(end == rest.size() ? end : end + 1);
    if (component.empty()) continue;
    if (!IsValidUtf8(component)) component = Cp1252ToUtf8(component);
    if (looking_up) {
      component = FindEntry(result, component);
      std::error_code error;
      looking_up = fs::exists(result / component, error);
    }
    result /= component;
  }
  return result.string();
}

std::string SystemDirectory() {
  const char* value = std::getenv("ZEL_SYSTEM_DIR");
  return RealPath(value != nullptr && *value != '\0' ? std::string_view(value)
                                                     : kDefaultSystemDirectory);
}

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
