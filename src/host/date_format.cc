#include "host/date_format.h"

#include <charconv>
#include <string>

#include "zel/error.h"
#include "zel/format_settings.h"

namespace zel {
namespace {

char ToLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

void AppendNumber(int value, int min_width, std::string* out) {
  char digits[12];
  char* end = std::to_chars(digits, digits + sizeof digits, value).ptr;
  for (auto width = end - digits; width < min_width; ++width) out->push_back('0');
  out->append(digits, end);
}

[[noreturn]] void Unsupported(std::string_view mask) {
  throw Error("M\xE1scara de data n\xE3o suportada: " + std::string(mask));
}

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (ToLower(text[i]) != prefix[i]) return false;
  }
  return true;
}

// Names of days and months, the short and long formats inside a mask and
// the twelve-hour clock are never asked for by the driver; refusing them
// keeps a wrong mask from printing letters where a date was expected.
bool IsUnsupportedToken(std::string_view rest) {
  const char c = ToLower(rest.front());
  return c == 'c' || c == 't' || StartsWithIgnoringCase(rest, "am/pm") ||
         StartsWithIgnoringCase(rest, "a/p") || StartsWithIgnoringCase(rest, "ampm");
}

// Appends one token: `letter` (lower case) repeated `run` times.
// `after_hour` says the previous token was an hour, which makes 'm' a
// minute.
void AppendToken(std::string_view mask, char letter, std::size_t run, bool after_hour,
                 const DateParts& parts, std::string* out) {
  auto one_or_two = [&](int value) {
    if (run > 2) Unsupported(mask);
    AppendNumber(value, static_cast<int>(run), out);
  };
  switch (letter) {
    case 'd':
      one_or_two(parts.day);
      break;
    case 'm':
      one_or_two(after_hour ? parts.minute : parts.month);
      break;
    case 'y':
      if (run <= 2) {
        AppendNumber(parts.year % 100, 2, out);
      } else {
        AppendNumber(parts.year, 4, out);
      }
      break;
    case 'h':
      one_or_two(parts.hour);
      break;
    case 'n':
      one_or_two(parts.minute);
      break;
    case 's':
      one_or_two(parts.second);
      break;
    case 'z':
      if (run != 1 && run != 3) Unsupported(mask);
      AppendNumber(parts.millisecond, static_cast<int>(run), out);
      break;
  }
}

bool IsTokenLetter(char lower) {
  return lower == 'd' || lower == 'm' || lower == 'y' || lower == 'h' || lower == 'n' ||
         lower == 's' || lower == 'z';
}

void AppendFormatted(std::string_view mask, const DateParts& parts, std::string* out) {
  const FormatSettings& settings = CurrentFormatSettings();
  bool after_hour = false;
  std::size_t i = 0;
  while (i < mask.size()) {
    const char c = mask[i];
    if (c == '\'' || c == '"') {
      std::size_t close = mask.find(c, i + 1);
      if (close == std::string_view::npos) close = mask.size();
      out->append(mask.substr(i + 1, close - i - 1));
      i = close + 1;
      continue;
    }
    if (c == '/' || c == ':') {
      out->push_back(c == '/' ? settings.date_separator : settings.time_separator);
      ++i;
      continue;
    }
    if (IsUnsupportedToken(mask.substr(i))) Unsupported(mask);
    const char letter = ToLower(c);
    if (!IsTokenLetter(letter)) {
      out->push_back(c);
      ++i;
      continue;
    }
    std::size_t run = 1;
    while (i + run < mask.size() && ToLower(mask[i + run]) == letter) ++run;
    AppendToken(mask, letter, run, after_hour, parts, out);
    // Separators and literal text between "hh" and "mm" do not count, so
    // "hh:mm" is hours and minutes.
    after_hour = letter == 'h';
    i += run;
  }
}

// Reads 1 to 4 digits at *pos.
bool ReadNumber(std::string_view text, std::size_t* pos, int* value, int* width) {
  const std::size_t start = *pos;
  while (*pos < text.size() && *pos - start < 4 && IsDigit(text[*pos])) ++*pos;
  *width = static_cast<int>(*pos - start);
  if (*width == 0) return false;
  std::from_chars(text.data() + start, text.data() + *pos, *value);
  return true;
}

bool ReadSeparator(std::string_view text, std::size_t* pos, char separator) {
  if (*pos >= text.size() || text[*pos] != separator) return false;
  ++*pos;
  return true;
}

// Day, month and year in the order the short date format gives them.
bool ParseDate(std::string_view text, std::size_t* pos, DateTime* date) {
  const FormatSettings& settings = CurrentFormatSettings();
  int day = 0, month = 0, year = 0, year_width = 0;
  std::string_view order = "dmy";
  char from_format[3];
  int found = 0;
  for (char c : settings.short_date_format) {
    const char letter = ToLower(c);
    if ((letter == 'd' || letter == 'm' || letter == 'y') &&
        std::string_view(from_format, found).find(letter) == std::string_view::npos) {
      from_format[found++] = letter;
    }
  }
  if (found == 3) order = std::string_view(from_format, 3);
  for (int k = 0; k < 3; ++k) {
    if (k > 0 && !ReadSeparator(text, pos, settings.date_separator)) return false;
    int value = 0, width = 0;
    if (!ReadNumber(text, pos, &value, &width)) return false;
    if (order[k] == 'y') {
      year = value;
      year_width = width;
    } else if (width > 2) {
      return false;
    } else {
      (order[k] == 'd' ? day : month) = value;
    }
  }
  // Two-digit years: 00-49 are this century, 50-99 the last one.
  if (year_width <= 2) year += year < 50 ? 2000 : 1900;
  if (!IsValidDate(year, month, day)) return false;
  *date = EncodeDate(year, month, day);
  return true;
}

// Hours and minutes, optionally seconds, with the time separator.
bool ParseTime(std::string_view text, std::size_t* pos, DateTime* time) {
  const char separator = CurrentFormatSettings().time_separator;
  int fields[3] = {0, 0, 0};
  int count = 0;
  while (count < 3) {
    if (count > 0 && !ReadSeparator(text, pos, separator)) break;
    int width = 0;
    if (!ReadNumber(text, pos, &fields[count], &width) || width > 2) return false;
    ++count;
  }
  if (count < 2 || fields[0] > 23 || fields[1] > 59 || fields[2] > 59) return false;
  *time = EncodeTime(fields[0], fields[1], fields[2], 0);
  return true;
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::string NotValidMessage(std::string_view text, const char* what) {
  return "'" + std::string(text) + "' n\xE3o \xE9 " + what;
}

}  // namespace

std::string FormatDateTime(std::string_view mask, DateTime value) {
  const DateParts parts = DecodeDateTime(value);
  std::string out;
  out.reserve(mask.size() + 8);
  AppendFormatted(mask, parts, &out);
  return out;
}

std::string DateToText(DateTime value) {
  return FormatDateTime(CurrentFormatSettings().short_date_format, value);
}

std::string TimeToText(DateTime value) {
  return FormatDateTime(CurrentFormatSettings().long_time_format, value);
}

std::string DateTimeToText(DateTime value) {
  const DateParts parts = DecodeDateTime(value);
  const FormatSettings& settings = CurrentFormatSettings();
  std::string out;
  AppendFormatted(settings.short_date_format, parts, &out);
  if (parts.hour != 0 || parts.minute != 0 || parts.second != 0 || parts.millisecond != 0) {
    out.push_back(' ');
    AppendFormatted(settings.long_time_format, parts, &out);
  }
  return out;
}

bool TryTextToDate(std::string_view text, DateTime* value) {
  text = TrimBlanks(text);
  std::size_t pos = 0;
  DateTime date;
  if (!ParseDate(text, &pos, &date) || pos != text.size()) return false;
  *value = date;
  return true;
}

DateTime TextToDate(std::string_view text) {
  DateTime value;
  if (!TryTextToDate(text, &value)) throw Error(NotValidMessage(text, "uma data v\xE1lida"));
  return value;
}

bool TryTextToTime(std::string_view text, DateTime* value) {
  text = TrimBlanks(text);
  std::size_t pos = 0;
  DateTime time;
  if (!ParseTime(text, &pos, &time) || pos != text.size()) return false;
  *value = time;
  return true;
}

DateTime TextToTime(std::string_view text) {
  DateTime value;
  if (!TryTextToTime(text, &value)) throw Error(NotValidMessage(text, "uma hora v\xE1lida"));
  return value;
}

bool TryTextToDateTime(std::string_view text, DateTime* value) {
  text = TrimBlanks(text);
  std::size_t pos = 0;
  DateTime date;
  if (!ParseDate(text, &pos, &date)) return false;
  DateTime time;
  if (pos < text.size()) {
    if (!IsBlank(text[pos])) return false;
    while (pos < text.size() && IsBlank(text[pos])) ++pos;
    if (!ParseTime(text, &pos, &time) || pos != text.size()) return false;
  }
  *value = DateTime{date.value < 0 ? date.value - time.value : date.value + time.value};
  return true;
}

DateTime TextToDateTime(std::string_view text) {
  DateTime value;
  if (!TryTextToDateTime(text, &value)) {
    throw Error(NotValidMessage(text, "uma data e hora v\xE1lida"));
  }
  return value;
}

}  // namespace zel
