#include "closing/movement_date.h"

#include <optional>

namespace zel {
namespace {

std::optional<int> TwoDigits(std::string_view text) {
  if (text.size() != 2) return std::nullopt;
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

}  // namespace

DateTime MovementDateOrToday(std::string_view ddmmyy, DateTime now) {
  const DateTime today = DateOf(now);
  if (ddmmyy.size() < 6) return today;
  const std::optional<int> day = TwoDigits(ddmmyy.substr(0, 2));
  const std::optional<int> month = TwoDigits(ddmmyy.substr(2, 2));
  const std::optional<int> year = TwoDigits(ddmmyy.substr(4, 2));
  if (!day || !month || !year) return today;
  const int full_year = DecodeDateTime(now).year / 100 * 100 + *year;
  if (!IsValidDate(full_year, *month, *day)) return today;
  return EncodeDate(full_year, *month, *day);
}

}  // namespace zel
