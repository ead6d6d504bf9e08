// Process-wide settings changed for one test and put back afterwards: an
// environment variable, the working directory.
#ifndef ZEL_TESTS_PLATFORM_SCOPED_ENVIRONMENT_H_
#define ZEL_TESTS_PLATFORM_SCOPED_ENVIRONMENT_H_

#include <stdlib.h>

#include <filesystem>
#include <optional>
#include <string>

#include "zel/env.h"

namespace zel {

class ScopedEnvironmentVariable {
 public:
  // Sets the variable, or removes it when value is nullopt.
  ScopedEnvironmentVariable(std::string name, std::optional<std::string> value)
      : name_(std::move(name)) {
    if (const char* old = ::getenv(name_.c_str())) previous_ = old;
    Apply(value);
  }
  ~ScopedEnvironmentVariable() { Apply(previous_); }
  ScopedEnvironmentVariable(const ScopedEnvironmentVariable&) = delete;
  ScopedEnvironmentVariable& operator=(const ScopedEnvironmentVariable&) = delete;

 private:
  void Apply(const std::optional<std::string>& value) {
    if (value) {
      zel::SetEnvironmentVariable(name_, *value);
    } else {
      zel::UnsetEnvironmentVariable(name_);
    }
  }

  std::string name_;
  std::optional<std::string> previous_;
};

class ScopedWorkingDirectory {
 public:
  explicit ScopedWorkingDirectory(const std::string& directory)
      : previous_(std::filesystem::current_path()) {
    std::filesystem::current_path(directory);
  }
  ~ScopedWorkingDirectory() { std::filesystem::current_path(previous_); }
  ScopedWorkingDirectory(const ScopedWorkingDirectory&) = delete;
  ScopedWorkingDirectory& operator=(const ScopedWorkingDirectory&) = delete;

 private:
  std::filesystem::path previous_;
};

}  // namespace zel

#endif  // ZEL_TESTS_PLATFORM_SCOPED_ENVIRONMENT_H_
