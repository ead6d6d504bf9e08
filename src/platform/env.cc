#include "platform/env.h"

#include <atomic>

namespace zel {
namespace {

// nullptr stands for Env::Default().
std::atomic<Env*> current_env{nullptr};

}  // namespace

Env* Env::Current() {
  Env* env = current_env.load(std::memory_order_acquire);
  return env != nullptr ? env : Default();
}

void Env::SetCurrent(Env* env) { current_env.store(env, std::memory_order_release); }

std::vector<std::string> Env::ReadLines(std::string_view path) {
  const std::string bytes = ReadFile(path);
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t end = bytes.find('\n', start);
    const bool has_break = end != std::string::npos;
    if (!has_break) end = bytes.size();
    std::size_t line_end = end;
    if (has_break && line_end > start && bytes[line_end - 1] == '\r') --line_end;
    lines.push_back(bytes.substr(start, line_end - start));
    start = end + 1;
  }
  return lines;
}

void Env::WriteLines(std::string_view path, const std::vector<std::string>& lines) {
  std::string bytes;
  for (const std::string& line : lines) {
    bytes += line;
    bytes += "\r\n";
  }
  WriteFile(path, bytes);
}

}  // namespace zel
