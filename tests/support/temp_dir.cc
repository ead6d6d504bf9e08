#include "support/temp_dir.h"

#include <filesystem>
#include <random>
#include <system_error>

#include "zel/error.h"

namespace zel {

TempDir::TempDir() {
  // A random name, created only if it does not exist yet: no two tests,
  // even in two processes, get the same directory.
  std::random_device random;
  std::error_code error;
  const std::filesystem::path base = std::filesystem::temp_directory_path(error);
  for (int attempt = 0; attempt < 100 && !error; ++attempt) {
    const std::filesystem::path candidate =
        base / ("zel-test-" + std::to_string(random()) + std::to_string(random()));
    if (std::filesystem::create_directory(candidate, error)) {
      path_ = candidate.string();
      return;
    }
  }
  throw Error("Cannot create a temporary directory under " + base.string() + ": " +
              (error ? error.message() : "every name tried exists"));
}

TempDir::~TempDir() {
  std::error_code ignored;  // nothing sensible to do about a leftover in /tmp
  std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::Join(std::string_view relative) const {
  return path_ + "/" + std::string(relative);
}

}  // namespace zel
