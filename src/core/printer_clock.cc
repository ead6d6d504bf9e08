// The printer's clock: reading it, and checking it against the computer's
// before the register may sell.
#include <cctype>
#include <exception>
#include <string>

#include "core/data_module.h"
#include "core/start_support.h"
#include "core/vendor_call.h"
#include "host/codepage.h"
#include "host/date_format.h"
#include "host/number_format.h"
#include "host/string_functions.h"
#include "platform/env.h"
#include "zel/error.h"
#include "zel/operations.h"

namespace zel {
namespace {

// The printer may run this many minutes away from the computer.
constexpr int kToleratedMinutes = 15;

// Two-digit field starting at `position` of a digits-only text.
int TwoDigits(std::string_view text, std::size_t position) {
  return (text[position] - '0') * 10 + (text[position + 1] - '0');
}

bool AllDigits(std::string_view text) {
  for (char c : text) {
    if (std::isdigit(static_cast<unsigned char>(c)) == 0) return false;
  }
  return true;
}

// A two-digit year as the host's short-date reading takes it.
int FullYear(int two_digits) { return two_digits < 50 ? 2000 + two_digits : 1900 + two_digits; }

// The printer's DDMMYYhhnn... as a date-time to the minute; raises
// zel::Error when it is no date.
DateTime PrinterDateTime(std::string_view text) {
  if (text.size() < 10 || !AllDigits(text.substr(0, 10))) {
    throw Error(Utf8ToCp1252("Data e hora da impressora fiscal inválidas: \"") + std::string(text) +
                "\"");
  }
  DateParts parts;
  parts.day = TwoDigits(text, 0);
  parts.month = TwoDigits(text, 2);
  parts.year = FullYear(TwoDigits(text, 4));
  parts.hour = TwoDigits(text, 6);
  parts.minute = TwoDigits(text, 8);
  return EncodeDateTime(parts);
}

// Whether the printer's clock (seconds ignored) is within the tolerance of
// `now`. The difference is read as hours and minutes ("hh:nn"), so a
// difference of a whole day or more must be refused on its hours alone: a
// printer exactly one day off reads "24:00", which as a time of day would be
// midnight. A printer date that is no date is refused too.
bool ClockAgrees(std::string_view printer_date_time, DateTime now) {
  DateTime printer;
  try {
    printer = PrinterDateTime(printer_date_time);
  } catch (const Error&) {
    return false;
  }
  std::string difference = SubtDataHoraPlo(printer, now);
  if (difference.starts_with('-')) difference.erase(0, 1);
  const std::size_t colon = difference.find(':');
  std::int64_t hours = 0;
  std::int64_t minutes = 0;
  if (colon == std::string::npos || !TryTextToInt(difference.substr(0, colon), &hours) ||
      !TryTextToInt(difference.substr(colon + 1), &minutes)) {
    return false;
  }
  return hours < 24 && hours * 100 + minutes <= kToleratedMinutes;
}

// DDMMYY of the movement date; the century is the current one.
DateTime MovementDate(std::string_view text, DateTime now) {
  if (text.size() < 6 || !AllDigits(text.substr(0, 6))) {
    throw Error(Utf8ToCp1252("Data de movimento inválida: \"") + std::string(text) + "\"");
  }
  const int century = DecodeDateTime(now).year / 100;
  return EncodeDate(century * 100 + TwoDigits(text, 4), TwoDigits(text, 2), TwoDigits(text, 0));
}

}  // namespace

int ReadPrinterClock(std::string& date_time) {
  std::string date = Blanks(6);
  std::string time = Blanks(6);
  const int status = CallVendor(Zel00101::Bematech_FI_DataHoraImpressora, date, time);
  date_time = date + time;
  LogReply("Bematech_FI_DataHoraImpressora", date_time);
  return status;
}

}  // namespace zel

namespace Zel00101 {

bool Data_Imp(const std::string& EsquemaCor, std::string& DataHora) {
  const int status = zel::ReadPrinterClock(DataHora);
  return AnalisaRetorno(EsquemaCor, status, true, false, false);
}

bool VerificaData(const std::string& EsquemaCor, zel::DateTime& Data, std::string& DataHora,
                  const std::string& DataMovimento, bool LeImpressora) {
  using namespace zel;
  bool verdict = true;
  try {
    if (LeImpressora && !Data_Imp(EsquemaCor, DataHora)) return false;
    const DateTime now = Env::Current()->Now();
    if (!DataHora.empty() && !ClockAgrees(DataHora, now)) {
      ShowDialog(MsgPadrao("DataDif"), EsquemaCor, kStartDialog);
      verdict = false;
    }
    Data = DataMovimento.empty() ? DateOf(now) : MovementDate(DataMovimento, now);
  } catch (const std::exception&) {
    Data = DateOf(Env::Current()->Now());
  }
  return verdict;
}

}  // namespace Zel00101

ZEL_EXPORT_PLAIN_NAME(bool, Data_Imp, (const std::string& EsquemaCor, std::string& DataHora),
                      (EsquemaCor, DataHora))
ZEL_EXPORT_PLAIN_NAME(bool, VerificaData,
                      (const std::string& EsquemaCor, zel::DateTime& Data, std::string& DataHora,
                       const std::string& DataMovimento, bool LeImpressora),
                      (EsquemaCor, Data, DataHora, DataMovimento, LeImpressora))
