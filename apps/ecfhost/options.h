// The options of one subcommand: "--name value" pairs (a name may repeat,
// as --item and --pay do) and bare flags. Anything not declared is refused
// with a zel::Error naming it, so a mistyped option never passes silently.
#ifndef ECFHOST_OPTIONS_H_
#define ECFHOST_OPTIONS_H_

#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace ecfhost {

class Options {
 public:
  // `valued`: options that take the next argument; `flags`: options alone.
  Options(const std::vector<std::string>& arguments, const std::set<std::string>& valued,
          const std::set<std::string>& flags);

  // Every value given for `name`, in command-line order (may be empty).
  std::vector<std::string> All(const std::string& name) const;
  // The value of `name`, none when absent; raises zel::Error when repeated.
  std::optional<std::string> One(const std::string& name) const;
  bool Has(const std::string& flag) const;

 private:
  std::vector<std::pair<std::string, std::string>> given_;
};

// An amount as a cashier types it: "21.90" or "21,90", not negative.
// Raises zel::Error naming `what` otherwise.
double ParseAmount(const std::string& text, const std::string& what);

}  // namespace ecfhost

#endif  // ECFHOST_OPTIONS_H_
