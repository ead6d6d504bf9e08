// zel::Variant is a value the host passes to the driver or gets back from it:
// empty, Boolean, integer, double, text, date-time, an array of variants, or
// a data packet (a whole dataset, structure and rows, as bytes in the
// dataset's own versioned format).
//
// Text is bytes in the Windows-1252 code page. Conversions follow the host's
// rules (see the As* functions) and raise zel::Error, naming the value and
// the wanted type, when a value does not convert; the messages are
// Portuguese Windows-1252 text, ready to be shown to the operator. A Variant
// owns its value; copies are deep. Not thread-safe; the driver is called from
// one thread.
#ifndef ZEL_VARIANT_H_
#define ZEL_VARIANT_H_

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "zel/date_time.h"

namespace zel {

class Variant;
using VariantArray = std::vector<Variant>;

// Marks the bytes of a data packet, to tell them apart from a text.
struct Packet {
  std::string bytes;
  bool operator==(const Packet&) const = default;
};

class Variant {
 public:
  enum class Kind { kEmpty, kBoolean, kInteger, kDouble, kText, kDateTime, kArray, kPacket };

  Variant() = default;
  Variant(bool value) : value_(value) {}
  Variant(int value) : value_(static_cast<std::int64_t>(value)) {}
  Variant(std::int64_t value) : value_(value) {}
  Variant(double value) : value_(value) {}
  Variant(std::string value) : value_(std::move(value)) {}
  Variant(std::string_view value) : value_(std::string(value)) {}
  Variant(const char* value) : value_(std::string(value)) {}
  Variant(DateTime value) : value_(value) {}
  Variant(VariantArray value) : value_(std::move(value)) {}
  Variant(Packet value) : value_(std::move(value)) {}

  Kind kind() const { return static_cast<Kind>(value_.index()); }
  bool IsEmpty() const { return kind() == Kind::kEmpty; }
  bool IsArray() const { return kind() == Kind::kArray; }
  // The host's name of the kind ("Empty", "Boolean", "Integer", "Double",
  // "String", "Date", "Array", "Packet"), for error messages.
  const char* KindName() const;
  static const char* KindName(Kind kind);

  // Host conversions. Empty gives False, 0, 0.0, "" and day 0.
  // Boolean: integers, doubles and date-times are true when non-zero; texts
  // "True" and "False" in any case, or a number.
  // Integer and Double: a Boolean gives 1 or 0; a text must hold a number in
  // the current decimal separator, and for Integer an integral one ("2,5" is
  // refused). Integer from a double or date-time rounds half away from zero;
  // a value outside the 64-bit range is refused.
  // Text: from a double its shortest decimal form with the current separator
  // ("NAN", "INF", "-INF" for the special values); from a Boolean
  // "True"/"False"; from a date-time the short date (and long time when there
  // is a time part).
  // DateTime: from a number the day count it holds, within the years 1 to
  // 9999; from a text the short date format.
  // Blanks around a text are ignored when it is read as a Boolean or number.
  // NaN converts only to Double and Text. Arrays and packets convert to
  // nothing else, and a Boolean does not convert to a date-time: asking
  // raises zel::Error.
  bool AsBoolean() const;
  std::int64_t AsInteger() const;
  double AsDouble() const;
  std::string AsText() const;
  DateTime AsDateTime() const;

  // Raise zel::Error when the variant is not an array / a packet.
  const VariantArray& AsArray() const;
  VariantArray& MutableArray();
  const Packet& AsPacket() const;

  bool operator==(const Variant&) const = default;

 private:
  std::variant<std::monostate, bool, std::int64_t, double, std::string, DateTime, VariantArray,
               Packet>
      value_;
};

// A parameter array: an array of two-element (name, value) arrays.
// MakeParams({{"ESQUEMACOR", "001"}, {"QTDE", 2.0}}) builds one.
Variant MakeParams(std::initializer_list<std::pair<std::string, Variant>> pairs);

// The value stored under `name` in a parameter array; names compare ignoring
// case and the first match wins. The whole array is checked whatever name is
// asked: raises zel::Error naming the problem when `params` is not an array,
// an element is not a two-element array or its name is not a text, or `name`
// is not there. The messages are one line, for the operator.
Variant RecebeParams(const Variant& params, std::string_view name);

}  // namespace zel

#endif  // ZEL_VARIANT_H_
