#include "programming/printer_lists.h"

#include <algorithm>

#include "host/dataset_value.h"
#include "host/number_format.h"
#include "host/string_functions.h"
#include "zel/format_settings.h"

namespace zel {
namespace {

// Every list entry is its value plus one separator character.
constexpr std::size_t kRateEntryWidth = 5;
constexpr std::size_t kRateDigits = 4;
constexpr std::size_t kTotalizerEntryWidth = 20;
constexpr std::size_t kTotalizerNameWidth = 19;
constexpr std::size_t kPaymentFormNameWidth = 16;

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

bool InServiceList(std::string_view digits, std::string_view service_rates) {
  for (std::size_t at = 0; at < service_rates.size(); at += kRateEntryWidth) {
    if (service_rates.substr(at, kRateDigits) == digits) return true;
  }
  return false;
}

}  // namespace

std::string TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return std::string(text);
}

std::string UpperCase(std::string_view text) {
  std::string upper(text);
  std::transform(upper.begin(), upper.end(), upper.begin(), dataset::UpperCp1252);
  return upper;
}

std::string TwoDigits(int number) {
  std::string digits = std::to_string(number);
  return digits.size() < 2 ? "0" + digits : digits;
}

std::vector<ProgrammedRate> ReadRateList(std::string_view rates, std::string_view service_rates) {
  const std::string list = TrimBlanks(rates);
  const std::string services = TrimBlanks(service_rates);
  const char separator = CurrentFormatSettings().decimal_separator;
  std::vector<ProgrammedRate> read;
  int position = 1;
  for (std::size_t at = 0; at < list.size(); at += kRateEntryWidth, ++position) {
    const std::string_view rest = std::string_view(list).substr(at);
    const std::string_view digits = rest.substr(0, kRateDigits);
    // The rate text is built with the system's own separator, as the
    // printer gives none.
    const std::string text = std::string(digits.substr(0, 2)) + separator +
                             std::string(digits.substr(std::min<std::size_t>(2, digits.size())));
    double rate = 0;
    if (!TryTextToFloat(text, &rate) || rate == 0) continue;
    read.push_back({position, rate, InServiceList(digits, services)});
  }
  return read;
}

std::vector<std::string> ReadTotalizerNames(std::string_view list) {
  std::vector<std::string> names;
  for (std::size_t at = 0; at < list.size(); at += kTotalizerEntryWidth) {
    names.push_back(TrimBlanks(list.substr(at, kTotalizerNameWidth)));
  }
  return names;
}

std::optional<std::string> FindPaymentForm(std::string_view forms, std::string_view name) {
  const std::string wanted = UpperCase(RTrim(name));
  if (TrimBlanks(wanted).empty()) return std::nullopt;
  const std::string upper_forms = UpperCase(forms);
  for (std::size_t at = upper_forms.find(wanted); at != std::string::npos;
       at = upper_forms.find(wanted, at + 1)) {
    // The 16 columns from there must hold the name and blanks only: a name
    // that merely starts another form's name runs into its next letters,
    // one found inside a name or a total runs into the total's digits.
    const std::string_view field = std::string_view(upper_forms).substr(at, kPaymentFormNameWidth);
    if (RTrim(field) == wanted) {
      return std::string(RTrim(forms.substr(at, kPaymentFormNameWidth)));
    }
  }
  return std::nullopt;
}

}  // namespace zel
