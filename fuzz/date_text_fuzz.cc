// Dates as text, both ways: any mask a caller could pass with any value,
// the short-date and time texts read back, and the regional formats they
// follow chosen by the input. Everything either gives a value or raises
// zel::Error. On the way: a date read from a text writes back as a short
// date that reads as the same day.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <string>

#include "fuzz_input.h"
#include "host/date_format.h"
#include "zel/date_time.h"
#include "zel/error.h"
#include "zel/format_settings.h"

namespace {

using zel::fuzz::FuzzInput;

void Check(bool condition) {
  if (!condition) std::abort();
}

template <typename Conversion>
void Try(Conversion conversion) {
  try {
    conversion();
  } catch (const zel::Error&) {
    // Refused with a message.
  }
}

// '/' in a format is the date separator in force.
const char* const kShortDates[] = {"dd/mm/yyyy", "d/m/yy", "yyyy/mm/dd", "mm/dd/yyyy"};
const char* const kLongTimes[] = {"hh:nn:ss", "h:nn", "hh:nn:ss.zzz"};

void Write(zel::DateTime value, const std::string& mask) {
  Try([&] { zel::FormatDateTime(mask, value); });
  Try([&] { zel::DateToText(value); });
  Try([&] { zel::TimeToText(value); });
  Try([&] { zel::DateTimeToText(value); });
  Try([&] { zel::DecodeDateTime(value); });
  Try([&] { zel::ToMilliseconds(value); });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput in(data, size);
  zel::FormatSettings settings;
  settings.short_date_format = kShortDates[in.Byte() % std::size(kShortDates)];
  // A two-digit year is read back in the century the host assumes, so only
  // a four-digit year must read back as the same day.
  const bool whole_years = settings.short_date_format.find("yyyy") != std::string::npos;
  settings.long_time_format = kLongTimes[in.Byte() % std::size(kLongTimes)];
  if (in.Flag()) {
    settings.date_separator = '-';
    settings.time_separator = '.';
  }
  zel::SetFormatSettings(settings);
  const zel::DateTime value{in.Double()};
  const std::string mask = in.Text(64);
  const std::string text = in.Rest();

  Write(value, mask);

  zel::DateTime read;
  if (zel::TryTextToDate(text, &read)) {
    Write(read, mask);
    zel::DateTime again;
    Check(!whole_years || (zel::TryTextToDate(zel::DateToText(read), &again) && again == read));
  }
  if (zel::TryTextToTime(text, &read)) Write(read, mask);
  if (zel::TryTextToDateTime(text, &read)) Write(read, mask);
  Try([&] { zel::TextToDate(text); });
  Try([&] { zel::TextToTime(text); });
  Try([&] { zel::TextToDateTime(text); });
  return 0;
}
