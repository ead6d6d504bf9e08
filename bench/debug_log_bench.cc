// ImpFisDebug per entry against a plain open-append-close of the same bytes:
// what the log costs above the file system itself.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "loaded_register.h"
#include "platform/env.h"
#include "zel/debug_log.h"

namespace {

using zelbench::ScratchEnv;

const std::string kText =
    "Bematech_FI_VendeItemDepartamento : 7891000100103, ARROZ 5KG, 1800, 21,90, 2,000, , 00000000, "
    "01, UN";

std::string ScratchDirectory() {
  std::filesystem::path path = std::filesystem::temp_directory_path() / "zel_debug_log_bench";
  std::filesystem::remove_all(path);
  std::filesystem::create_directories(path);
  return path.string();
}

void BM_ImpFisDebug(benchmark::State& state) {
  ScratchEnv env(ScratchDirectory());
  zel::Env::SetCurrent(&env);
  for (auto _ : state) Zel00101::ImpFisDebug(kText);
  zel::Env::SetCurrent(nullptr);
}
BENCHMARK(BM_ImpFisDebug);

void BM_PlainOpenAppendClose(benchmark::State& state) {
  const std::string file = ScratchDirectory() + "/plain.txt";
  const std::string entry = "08/12/2026 09:05:07 - " + kText + "\r\n";
  for (auto _ : state) {
    std::FILE* out = std::fopen(file.c_str(), "ab");
    std::fwrite(entry.data(), 1, entry.size(), out);
    std::fclose(out);
  }
}
BENCHMARK(BM_PlainOpenAppendClose);

}  // namespace
