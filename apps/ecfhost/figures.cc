#include "figures.h"

#include <cstdio>

namespace ecfhost {

std::string GroupedMoney(std::int64_t cents) {
  const bool negative = cents < 0;
  const std::uint64_t magnitude =
      negative ? 0 - static_cast<std::uint64_t>(cents) : static_cast<std::uint64_t>(cents);
  std::string whole = std::to_string(magnitude / 100);
  for (std::size_t at = whole.size(); at > 3; at -= 3) whole.insert(at - 3, ".");
  char decimals[4];
  std::snprintf(decimals, sizeof decimals, ",%02u", static_cast<unsigned>(magnitude % 100));
  return (negative ? "-" : "") + whole + decimals;
}

std::string DateText(const std::string& digits) {
  if ((digits.size() != 6 && digits.size() != 12) ||
      digits.find_first_not_of("0123456789") != std::string::npos) {
    return digits;
  }
  std::string text = digits.substr(0, 2) + "/" + digits.substr(2, 2) + "/20" + digits.substr(4, 2);
  if (digits.size() == 12) {
    text += " " + digits.substr(6, 2) + ":" + digits.substr(8, 2) + ":" + digits.substr(10, 2);
  }
  return text;
}

std::string PadRight(const std::string& text, std::size_t width) {
  std::size_t shown = 0;
  for (const char c : text) shown += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
  return text + std::string(shown < width ? width - shown : 1, ' ');
}

}  // namespace ecfhost
