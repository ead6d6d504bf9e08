#include "platform/env.h"

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <random>

namespace zel {
namespace {

// nullptr stands for Env::Default().
std::atomic<Env*> current_env{nullptr};

// A name no other writer of the same file uses: a random number drawn once
// per process, and a counter within it.
std::string UniqueSuffix() {
  static std::mutex lock;
  static std::uint64_t process_tag = [] {
    std::random_device device;
    return (static_cast<std::uint64_t>(device()) << 32) ^ device();
  }();
  static std::uint64_t counter = 0;
  std::lock_guard<std::mutex> guard(lock);
  char text[40];
  std::snprintf(text, sizeof text, ".%016llx-%llu.tmp",
                static_cast<unsigned long long>(process_tag),
                static_cast<unsigned long long>(++counter));
  return text;
}

}  // namespace

void Env::ReplaceFile(std::string_view path, std::string_view bytes) {
  const std::string temporary = std::string(path) + UniqueSuffix();
  try {
    WriteFile(temporary, bytes);
    RenameFile(temporary, path);
  } catch (const Error&) {
    try {
      RemoveFile(temporary);
    } catch (const Error&) {
      // The old file is whole; a leftover temporary file harms nothing.
    }
    throw;
  }
}

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
  ReplaceFile(path, bytes);
}

}  // namespace zel
