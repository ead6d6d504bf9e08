// The options of one subcommand: "--name value" pairs (a name may repeat,
// as --item and --pay do) and bare flags. Anything not declared is refused,
// so a mistyped option never passes silently.
//
// The command line has one convention everywhere: a mistake in what was
// typed (an unknown option, an option without its value, a missing or
// malformed argument) raises UsageError, and the program exits with status
// 2 and a hint to --help; anything else that stops a command (the printer
// or the driver refused, a check before printing failed) raises zel::Error
// and exits with status 1. Commands only choose which of the two to raise.
#ifndef ECFHOST_OPTIONS_H_
#define ECFHOST_OPTIONS_H_

#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "zel/error.h"

namespace ecfhost {

// The process exit statuses, as documented in --help and the README.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

// A command line that cannot be run as typed.
class UsageError : public zel::Error {
 public:
  explicit UsageError(const std::string& message) : zel::Error(message) {}
};

class Options {
 public:
  // `valued`: options that take the next argument; `flags`: options alone.
  // An option's value is never another option: "--dir --yes" is --dir
  // without its value.
  Options(const std::vector<std::string>& arguments, const std::set<std::string>& valued,
          const std::set<std::string>& flags);

  // Every value given for `name`, in command-line order (may be empty).
  std::vector<std::string> All(const std::string& name) const;
  // The value of `name`, none when absent; raises UsageError when repeated.
  std::optional<std::string> One(const std::string& name) const;
  bool Has(const std::string& flag) const;

 private:
  std::vector<std::pair<std::string, std::string>> given_;
};

// True when `arguments[index]` is there and can be a value (not an option).
bool HasValueAt(const std::vector<std::string>& arguments, std::size_t index);

// An amount as a cashier types it: "21.90" or "21,90", not negative.
// Raises UsageError naming `what` ("o preço do item 1") otherwise.
double ParseAmount(const std::string& text, const std::string& what);

}  // namespace ecfhost

#endif  // ECFHOST_OPTIONS_H_
