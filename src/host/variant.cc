#include "zel/variant.h"

#include <cmath>
#include <string>

#include "host/codepage.h"
#include "host/date_format.h"
#include "host/number_format.h"
#include "host/rounding.h"
#include "zel/error.h"

namespace zel {
namespace {

// Day counts of 01/01/0001 and of the day after 31/12/9999: the dates the
// host can show. Beyond them a day count is not a date.
constexpr double kFirstDay = -693593.0;
constexpr double kPastLastDay = 2958466.0;

// 2^63: doubles at or past it (or below its negative) do not fit an int64.
constexpr double kInt64Limit = 9223372036854775808.0;

bool IsDate(double value) { return value >= kFirstDay && value < kPastLastDay; }

std::string_view TrimBlanks(std::string_view text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

// Text of a double, with the host's names for the values that are no number.
std::string DoubleText(double value) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
  return FloatToText(value);
}

std::string DateTimeText(DateTime value) {
  std::string text = DateToText(value);
  const DateParts parts = DecodeDateTime(value);
  if (parts.hour != 0 || parts.minute != 0 || parts.second != 0 || parts.millisecond != 0) {
    text += ' ';
    text += TimeToText(value);
  }
  return text;
}

// A text as it appears inside a one-line message: control bytes become
// blanks and a long text is cut.
std::string Quoted(std::string_view text) {
  constexpr std::size_t kShown = 60;
  std::string shown(text.substr(0, kShown));
  for (char& c : shown) {
    if (static_cast<unsigned char>(c) < 0x20) c = ' ';
  }
  if (text.size() > kShown) shown += "...";
  return "'" + shown + "'";
}

// "o texto 'abc'", "o número 2,5", ... : the value named in a message.
std::string Describe(const Variant& value) {
  switch (value.kind()) {
    case Variant::Kind::kEmpty:
      return "um valor vazio";
    case Variant::Kind::kBoolean:
      return Utf8ToCp1252("o valor lógico ") + value.AsText();
    case Variant::Kind::kInteger:
      return Utf8ToCp1252("o número ") + value.AsText();
    case Variant::Kind::kDouble:
      return Utf8ToCp1252("o número ") + DoubleText(value.AsDouble());
    case Variant::Kind::kText:
      return "o texto " + Quoted(value.AsText());
    case Variant::Kind::kDateTime: {
      const double day = value.AsDouble();
      if (!IsDate(day)) return Utf8ToCp1252("a data inválida ") + DoubleText(day);
      return "a data " + value.AsText();
    }
    case Variant::Kind::kArray:
      return "uma matriz";
    case Variant::Kind::kPacket:
      return "um pacote de dados";
  }
  return "um valor";
}

[[noreturn]] void FailConversion(const Variant& value, Variant::Kind wanted) {
  throw Error(Utf8ToCp1252("Não é possível converter ") + Describe(value) + " para " +
              Variant::KindName(wanted));
}

std::int64_t RoundToInteger(double number, const Variant& source) {
  if (!std::isfinite(number)) FailConversion(source, Variant::Kind::kInteger);
  const double rounded = RoundHalfAwayFromZero(number);
  if (rounded < -kInt64Limit || rounded >= kInt64Limit) {
    FailConversion(source, Variant::Kind::kInteger);
  }
  return static_cast<std::int64_t>(rounded);
}

DateTime DayCountToDate(double day, const Variant& source) {
  if (!IsDate(day)) FailConversion(source, Variant::Kind::kDateTime);
  return DateTime{day};
}

}  // namespace

const char* Variant::KindName(Kind kind) {
  switch (kind) {
    case Kind::kEmpty:
      return "Empty";
    case Kind::kBoolean:
      return "Boolean";
    case Kind::kInteger:
      return "Integer";
    case Kind::kDouble:
      return "Double";
    case Kind::kText:
      return "String";
    case Kind::kDateTime:
      return "Date";
    case Kind::kArray:
      return "Array";
    case Kind::kPacket:
      return "Packet";
  }
  return "Unknown";
}

const char* Variant::KindName() const { return KindName(kind()); }

bool Variant::AsBoolean() const {
  switch (kind()) {
    case Kind::kEmpty:
      return false;
    case Kind::kBoolean:
      return std::get<bool>(value_);
    case Kind::kInteger:
      return std::get<std::int64_t>(value_) != 0;
    case Kind::kDouble: {
      const double number = std::get<double>(value_);
      if (std::isnan(number)) break;
      return number != 0.0;
    }
    case Kind::kText: {
      const std::string_view text = TrimBlanks(std::get<std::string>(value_));
      if (EqualsIgnoringCase(text, "true")) return true;
      if (EqualsIgnoringCase(text, "false")) return false;
      double number = 0.0;
      if (!TryTextToFloat(text, &number) || std::isnan(number)) break;
      return number != 0.0;
    }
    case Kind::kDateTime: {
      const double day = std::get<DateTime>(value_).value;
      if (std::isnan(day)) break;
      return day != 0.0;
    }
    case Kind::kArray:
    case Kind::kPacket:
      break;
  }
  FailConversion(*this, Kind::kBoolean);
}

std::int64_t Variant::AsInteger() const {
  switch (kind()) {
    case Kind::kEmpty:
      return 0;
    case Kind::kBoolean:
      return std::get<bool>(value_) ? 1 : 0;
    case Kind::kInteger:
      return std::get<std::int64_t>(value_);
    case Kind::kDouble:
      return RoundToInteger(std::get<double>(value_), *this);
    case Kind::kText: {
      std::int64_t number = 0;
      if (!TryTextToInt(std::get<std::string>(value_), &number)) break;
      return number;
    }
    case Kind::kDateTime:
      return RoundToInteger(std::get<DateTime>(value_).value, *this);
    case Kind::kArray:
    case Kind::kPacket:
      break;
  }
  FailConversion(*this, Kind::kInteger);
}

double Variant::AsDouble() const {
  switch (kind()) {
    case Kind::kEmpty:
      return 0.0;
    case Kind::kBoolean:
      return std::get<bool>(value_) ? 1.0 : 0.0;
    case Kind::kInteger:
      return static_cast<double>(std::get<std::int64_t>(value_));
    case Kind::kDouble:
      return std::get<double>(value_);
    case Kind::kText: {
      double number = 0.0;
      if (!TryTextToFloat(std::get<std::string>(value_), &number)) break;
      return number;
    }
    case Kind::kDateTime:
      return std::get<DateTime>(value_).value;
    case Kind::kArray:
    case Kind::kPacket:
      break;
  }
  FailConversion(*this, Kind::kDouble);
}

std::string Variant::AsText() const {
  switch (kind()) {
    case Kind::kEmpty:
      return {};
    case Kind::kBoolean:
      return std::get<bool>(value_) ? "True" : "False";
    case Kind::kInteger:
      return std::to_string(std::get<std::int64_t>(value_));
    case Kind::kDouble:
      return DoubleText(std::get<double>(value_));
    case Kind::kText:
      return std::get<std::string>(value_);
    case Kind::kDateTime: {
      const DateTime date = std::get<DateTime>(value_);
      if (!IsDate(date.value)) break;
      return DateTimeText(date);
    }
    case Kind::kArray:
    case Kind::kPacket:
      break;
  }
  FailConversion(*this, Kind::kText);
}

DateTime Variant::AsDateTime() const {
  switch (kind()) {
    case Kind::kEmpty:
      return DateTime{};
    case Kind::kInteger:
      return DayCountToDate(static_cast<double>(std::get<std::int64_t>(value_)), *this);
    case Kind::kDouble:
      return DayCountToDate(std::get<double>(value_), *this);
    case Kind::kText: {
      DateTime date;
      if (!TryTextToDate(std::get<std::string>(value_), &date)) break;
      return date;
    }
    case Kind::kDateTime:
      return std::get<DateTime>(value_);
    case Kind::kBoolean:
    case Kind::kArray:
    case Kind::kPacket:
      break;
  }
  FailConversion(*this, Kind::kDateTime);
}

const VariantArray& Variant::AsArray() const {
  if (!IsArray()) FailConversion(*this, Kind::kArray);
  return std::get<VariantArray>(value_);
}

VariantArray& Variant::MutableArray() {
  if (!IsArray()) FailConversion(*this, Kind::kArray);
  return std::get<VariantArray>(value_);
}

const Packet& Variant::AsPacket() const {
  if (kind() != Kind::kPacket) FailConversion(*this, Kind::kPacket);
  return std::get<Packet>(value_);
}

}  // namespace zel
