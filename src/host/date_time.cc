#include "zel/date_time.h"

#include <cmath>
#include <cstdint>
#include <string>

#include "host/rounding.h"
#include "zel/error.h"

namespace zel {
namespace {

constexpr std::int64_t kMillisecondsPerDay = 86'400'000;
// Day numbers of 1 January 0001 and 31 December 9999, the range the host's
// calendar covers.
constexpr std::int64_t kFirstDay = -693'593;
constexpr std::int64_t kLastDay = 2'958'465;
// 30 December 1899, day 0 of the host, counted from 1 January 1970.
constexpr std::int64_t kEpochFrom1970 = -25'569;

bool IsLeapYear(int year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// Proleptic Gregorian calendar to and from a day count since 1970-01-01
// (Howard Hinnant's algorithms, exact for every year of the range).
std::int64_t DaysFromCivil(std::int64_t year, int month, int day) {
  year -= month <= 2 ? 1 : 0;
  const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
  const std::int64_t year_of_era = year - era * 400;
  const std::int64_t day_of_year = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
  const std::int64_t day_of_era =
      year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
  return era * 146'097 + day_of_era - 719'468;
}

void CivilFromDays(std::int64_t days, DateParts* parts) {
  days += 719'468;
  const std::int64_t era = (days >= 0 ? days : days - 146'096) / 146'097;
  const std::int64_t day_of_era = days - era * 146'097;
  const std::int64_t year_of_era =
      (day_of_era - day_of_era / 1460 + day_of_era / 36'524 - day_of_era / 146'096) / 365;
  const std::int64_t day_of_year =
      day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
  const std::int64_t month_index = (5 * day_of_year + 2) / 153;
  parts->day = static_cast<int>(day_of_year - (153 * month_index + 2) / 5 + 1);
  parts->month = static_cast<int>(month_index < 10 ? month_index + 3 : month_index - 9);
  parts->year = static_cast<int>(year_of_era + era * 400 + (parts->month <= 2 ? 1 : 0));
}

// Joins a day number and a time of day the host's way: a negative day keeps
// the time of day as a positive fraction counted away from zero.
DateTime Join(std::int64_t day, std::int64_t millisecond_of_day) {
  const double fraction = static_cast<double>(millisecond_of_day) / kMillisecondsPerDay;
  const double whole = static_cast<double>(day);
  return DateTime{day < 0 ? whole - fraction : whole + fraction};
}

struct Split {
  std::int64_t day;
  std::int64_t millisecond_of_day;
};

Split SplitValue(DateTime value) {
  const double v = value.value;
  if (!std::isfinite(v) || v < static_cast<double>(kFirstDay - 1) ||
      v > static_cast<double>(kLastDay + 1)) {
    throw Error("Valor de data e hora fora do calend\xE1rio: " + std::to_string(v));
  }
  const double whole = std::trunc(v);
  std::int64_t day = static_cast<std::int64_t>(whole);
  std::int64_t ms =
      static_cast<std::int64_t>(RoundHalfAwayFromZero(std::fabs(v - whole) * kMillisecondsPerDay));
  if (ms >= kMillisecondsPerDay) {  // 23:59:59.9996 rounds into the next day
    ms -= kMillisecondsPerDay;
    ++day;
  }
  if (day < kFirstDay || day > kLastDay) {
    throw Error("Valor de data e hora fora do calend\xE1rio: " + std::to_string(v));
  }
  return {day, ms};
}

void CheckTime(int hour, int minute, int second, int millisecond) {
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 ||
      millisecond < 0 || millisecond > 999) {
    throw Error("Hora inv\xE1lida: " + std::to_string(hour) + ":" + std::to_string(minute) + ":" +
                std::to_string(second) + "." + std::to_string(millisecond));
  }
}

std::int64_t DayNumber(int year, int month, int day) {
  if (!IsValidDate(year, month, day)) {
    throw Error("Data inv\xE1lida: " + std::to_string(day) + "/" + std::to_string(month) + "/" +
                std::to_string(year));
  }
  return DaysFromCivil(year, month, day) - kEpochFrom1970;
}

}  // namespace

bool IsValidDate(int year, int month, int day) {
  return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
         day <= DaysInMonth(year, month);
}

DateTime EncodeDate(int year, int month, int day) { return Join(DayNumber(year, month, day), 0); }

DateTime EncodeTime(int hour, int minute, int second, int millisecond) {
  CheckTime(hour, minute, second, millisecond);
  return Join(0, ((hour * 60LL + minute) * 60 + second) * 1000 + millisecond);
}

DateTime EncodeDateTime(const DateParts& parts) {
  const std::int64_t day = DayNumber(parts.year, parts.month, parts.day);
  CheckTime(parts.hour, parts.minute, parts.second, parts.millisecond);
  return Join(day,
              ((parts.hour * 60LL + parts.minute) * 60 + parts.second) * 1000 + parts.millisecond);
}

DateParts DecodeDateTime(DateTime value) {
  const Split split = SplitValue(value);
  DateParts parts;
  CivilFromDays(split.day + kEpochFrom1970, &parts);
  std::int64_t ms = split.millisecond_of_day;
  parts.millisecond = static_cast<int>(ms % 1000);
  ms /= 1000;
  parts.second = static_cast<int>(ms % 60);
  ms /= 60;
  parts.minute = static_cast<int>(ms % 60);
  parts.hour = static_cast<int>(ms / 60);
  return parts;
}

DateTime DateOf(DateTime value) { return Join(SplitValue(value).day, 0); }

DateTime TimeOf(DateTime value) { return Join(0, SplitValue(value).millisecond_of_day); }

std::int64_t ToMilliseconds(DateTime value) {
  const Split split = SplitValue(value);
  return split.day * kMillisecondsPerDay + split.millisecond_of_day;
}

}  // namespace zel
