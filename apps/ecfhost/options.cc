#include "options.h"

#include <cmath>
#include <cstdlib>

namespace ecfhost {

bool HasValueAt(const std::vector<std::string>& arguments, std::size_t index) {
  return index < arguments.size() && !arguments[index].starts_with("--");
}

Options::Options(const std::vector<std::string>& arguments, const std::set<std::string>& valued,
                 const std::set<std::string>& flags) {
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& name = arguments[i];
    if (flags.contains(name)) {
      given_.emplace_back(name, "");
    } else if (valued.contains(name)) {
      if (!HasValueAt(arguments, i + 1))
        throw UsageError("a opção " + name + " precisa de um valor");
      given_.emplace_back(name, arguments[++i]);
    } else if (name.starts_with("-")) {
      throw UsageError("opção desconhecida '" + name + "'");
    } else {
      throw UsageError("argumento inesperado '" + name + "'");
    }
  }
}

std::vector<std::string> Options::All(const std::string& name) const {
  std::vector<std::string> values;
  for (const auto& [given, value] : given_) {
    if (given == name) values.push_back(value);
  }
  return values;
}

std::optional<std::string> Options::One(const std::string& name) const {
  const std::vector<std::string> values = All(name);
  if (values.size() > 1) throw UsageError("a opção " + name + " foi dada mais de uma vez");
  if (values.empty()) return std::nullopt;
  return values.front();
}

bool Options::Has(const std::string& flag) const { return !All(flag).empty(); }

double ParseAmount(const std::string& text, const std::string& what) {
  std::string number = text;
  for (char& c : number) {
    if (c == ',') c = '.';
  }
  char* end = nullptr;
  const double value = number.empty() ? NAN : std::strtod(number.c_str(), &end);
  if (number.empty() || end != number.c_str() + number.size() || !std::isfinite(value) ||
      value < 0 || number.find_first_not_of("0123456789.") != std::string::npos) {
    throw UsageError(what + ": '" + text + "' não é um valor como 21,90");
  }
  return value;
}

}  // namespace ecfhost
