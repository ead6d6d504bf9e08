#include "support/temp_dir.h"

#include <stdlib.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "zel/error.h"

namespace zel {

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "zel-test-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) {
    throw Error("Cannot create a temporary directory from " + pattern + ": " +
                std::system_category().message(errno));
  }
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;  // nothing sensible to do about a leftover in /tmp
  std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::Join(std::string_view relative) const {
  return path_ + "/" + std::string(relative);
}

}  // namespace zel
