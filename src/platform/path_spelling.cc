#include "platform/path_spelling.h"

#include "host/codepage.h"

namespace zel {
namespace {

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

char FoldCase(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EndsWithIgnoringCase(std::string_view text, std::string_view tail) {
  return text.size() >= tail.size() &&
         EqualsIgnoringCase(text.substr(text.size() - tail.size()), tail);
}

// One '/' between components, none at the end (the root "/" itself stays).
std::string CollapseSeparators(const std::string& path) {
  std::string result;
  result.reserve(path.size());
  for (char c : path) {
    if (c == '/' && !result.empty() && result.back() == '/') continue;
    result += c;
  }
  if (result.size() > 1 && result.back() == '/') result.pop_back();
  return result;
}

// Plain glob match with backtracking over the last '*'.
bool MatchesGlob(std::string_view name, std::string_view pattern) {
  std::size_t n = 0, p = 0;
  std::size_t star = std::string_view::npos, star_name = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || FoldCase(pattern[p]) == FoldCase(name[n]))) {
      ++n;
      ++p;
    } else if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      star_name = n;
    } else if (star != std::string_view::npos) {
      p = star + 1;
      n = ++star_name;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

}  // namespace

std::string SpellRealPath(std::string_view path, const DriveRootFunction& drive_root,
                          const CurrentDirectoryFunction& current_directory) {
  if (path.empty()) return {};
  std::string result;
  std::string_view rest = path;
  if (path.size() >= 2 && path[1] == ':' && IsAsciiLetter(path[0])) {
    result = drive_root(static_cast<char>(path[0] & ~0x20));  // upper case
    rest.remove_prefix(2);
  } else if (path[0] == '\\') {
    result = drive_root('C');
  } else if (path[0] == '/') {
    result = "/";
  } else {
    result = current_directory();
  }
  while (!rest.empty()) {
    std::size_t end = 0;
    while (end < rest.size() && !IsSeparator(rest[end])) ++end;
    std::string_view component = rest.substr(0, end);
    if (!component.empty()) {
      result += '/';
      result += IsValidUtf8(component) ? std::string(component) : Cp1252ToUtf8(component);
    }
    rest.remove_prefix(end == rest.size() ? end : end + 1);
  }
  return CollapseSeparators(result);
}

bool IsValidUtf8(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t length;
    unsigned min_code;
    unsigned code;
    if (lead < 0x80) {
      ++i;
      continue;
    } else if ((lead & 0xE0) == 0xC0) {
      length = 2, min_code = 0x80, code = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
      length = 3, min_code = 0x800, code = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
      length = 4, min_code = 0x10000, code = lead & 0x07;
    } else {
      return false;
    }
    if (i + length > text.size()) return false;
    for (std::size_t k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      code = (code << 6) | (next & 0x3F);
    }
    if (code < min_code || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
    i += length;
  }
  return true;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (FoldCase(a[i]) != FoldCase(b[i])) return false;
  }
  return true;
}

bool MatchesWildcard(std::string_view name, std::string_view pattern) {
  if (MatchesGlob(name, pattern)) return true;
  // Windows lets "name.*" stand for a name without any extension too.
  return EndsWithIgnoringCase(pattern, ".*") && name.find('.') == std::string_view::npos &&
         MatchesGlob(name, pattern.substr(0, pattern.size() - 2));
}

std::string LibraryFileName(std::string_view windows_name) {
  if (EndsWithIgnoringCase(windows_name, ".so") ||
      windows_name.find(".so.") != std::string_view::npos) {
    return std::string(windows_name);
  }
  std::string_view stem = windows_name;
  if (EndsWithIgnoringCase(stem, ".dll")) stem.remove_suffix(4);
  return "lib" + std::string(stem) + ".so";
}

}  // namespace zel
