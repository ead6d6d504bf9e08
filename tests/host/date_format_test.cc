#include "host/date_format.h"

#include <gtest/gtest.h>

#include <string>

#include "separator_fixture.h"
#include "zel/error.h"
#include "zel/format_settings.h"

namespace zel {
namespace {

DateTime At(int year, int month, int day, int hour = 0, int minute = 0, int second = 0,
            int millisecond = 0) {
  return EncodeDateTime(DateParts{year, month, day, hour, minute, second, millisecond});
}

using DateFormatTest = DefaultSettings;

TEST_F(DateFormatTest, StampMasks) {
  const DateTime moment = At(2026, 12, 8, 9, 5, 7);
  EXPECT_EQ(FormatDateTime("dd/mm/yyyy hh:nn:ss", moment), "08/12/2026 09:05:07");
  EXPECT_EQ(FormatDateTime("ddmmyyyyhhnnss", moment), "08122026090507");
  EXPECT_EQ(FormatDateTime("yyyymmddhhnnss", moment), "20261208090507");
  EXPECT_EQ(FormatDateTime("hhnn", moment), "0905");
  EXPECT_EQ(FormatDateTime("DDMMYYYY", moment), "08122026");
  EXPECT_EQ(FormatDateTime("MMYY", moment), "1226");
  EXPECT_EQ(FormatDateTime("ddmmyy", moment), "081226");
}

TEST_F(DateFormatTest, MonthLettersAfterAnHourAreTheMinute) {
  EXPECT_EQ(FormatDateTime("ddmmyyyyhhmss", At(2026, 12, 8, 9, 5, 7)), "0812202609507");
  EXPECT_EQ(FormatDateTime("ddmmyyyyhhmss", At(2026, 12, 7, 2, 5, 9)), "0712202602509");
  EXPECT_EQ(FormatDateTime("ddmmyyyyhhmss", At(2026, 12, 7, 2, 35, 9)), "07122026023509");
  EXPECT_EQ(FormatDateTime("hhmss", At(2026, 12, 7, 10, 5, 7)), "10507");
  EXPECT_EQ(FormatDateTime("hhnnss", At(2026, 12, 7, 10, 5, 7)), "100507");
  EXPECT_EQ(FormatDateTime("DD/MM/YYYY hh:mm", At(2026, 12, 7, 14, 3)), "07/12/2026 14:03");
  // After any other token 'm' is the month again.
  EXPECT_EQ(FormatDateTime("hh dd/mm", At(2026, 3, 7, 14, 45)), "14 07/03");
  EXPECT_EQ(FormatDateTime("nn:mm", At(2026, 3, 7, 14, 45)), "45:03");
}

TEST_F(DateFormatTest, SingleLettersDropTheLeadingZero) {
  EXPECT_EQ(FormatDateTime("d/m/yy h:n:s", At(2026, 3, 7, 9, 5, 4)), "7/3/26 9:5:4");
  EXPECT_EQ(FormatDateTime("hh:nn:ss.zzz", At(2026, 3, 7, 9, 5, 4, 42)), "09:05:04.042");
  EXPECT_EQ(FormatDateTime("z", At(2026, 3, 7, 9, 5, 4, 42)), "42");
  EXPECT_EQ(FormatDateTime("yyyy", At(99, 1, 1)), "0099");
}

TEST_F(DateFormatTest, SeparatorsComeFromTheSettingsAndQuotesAreCopied) {
  FormatSettings settings;
  settings.date_separator = '-';
  settings.time_separator = '.';
  SetFormatSettings(settings);
  const DateTime moment = At(2026, 12, 8, 9, 5, 7);
  EXPECT_EQ(FormatDateTime("dd/mm/yyyy hh:nn:ss", moment), "08-12-2026 09.05.07");
  EXPECT_EQ(FormatDateTime("'dd/mm:' dd", moment), "dd/mm: 08");
  EXPECT_EQ(FormatDateTime("\"Hora\" hh", moment), "Hora 09");
  EXPECT_EQ(FormatDateTime("dd_mm", moment), "08_12");
}

TEST_F(DateFormatTest, RefusesTokensTheDriverNeverUses) {
  const DateTime moment = At(2026, 12, 8, 9, 5, 7);
  for (const char* mask : {"dddd", "ddd", "mmm", "hh am/pm", "c", "t", "hhh", "zz"}) {
    EXPECT_THROW(FormatDateTime(mask, moment), Error) << mask;
  }
  EXPECT_THROW(FormatDateTime("dd", DateTime{1e9}), Error);
}

TEST_F(DateFormatTest, ShortDateAndLongTime) {
  const DateTime moment = At(2026, 12, 8, 9, 5, 7);
  EXPECT_EQ(DateToText(moment), "08/12/2026");
  EXPECT_EQ(TimeToText(moment), "09:05:07");
  EXPECT_EQ(DateTimeToText(moment), "08/12/2026 09:05:07");
  EXPECT_EQ(DateTimeToText(At(2026, 12, 8)), "08/12/2026");
}

TEST_F(DateFormatTest, ShortDateReadsBack) {
  EXPECT_EQ(TextToDate("08/12/2026").value, At(2026, 12, 8).value);
  EXPECT_EQ(TextToDate(" 8/3/2026 ").value, At(2026, 3, 8).value);
  EXPECT_EQ(TextToDate("07/12/26").value, At(2026, 12, 7).value);
  EXPECT_EQ(TextToDate("07/12/80").value, At(1980, 12, 7).value);
  EXPECT_EQ(TextToDate("29/02/2024").value, At(2024, 2, 29).value);
  for (double day = At(1999, 1, 1).value; day < At(2031, 1, 1).value; ++day) {
    ASSERT_EQ(TextToDate(DateToText(DateTime{day})).value, day);
  }
}

TEST_F(DateFormatTest, ShortDateFollowsTheFormatAndSeparator) {
  FormatSettings settings;
  settings.short_date_format = "yyyy-mm-dd";
  settings.date_separator = '-';
  SetFormatSettings(settings);
  EXPECT_EQ(DateToText(At(2026, 3, 8)), "2026-03-08");
  EXPECT_EQ(TextToDate("2026-03-08").value, At(2026, 3, 8).value);
  EXPECT_THROW(TextToDate("08/03/2026"), Error);
  for (double day = At(2026, 1, 1).value; day < At(2027, 1, 1).value; ++day) {
    ASSERT_EQ(TextToDate(DateToText(DateTime{day})).value, day);
  }
}

TEST_F(DateFormatTest, InvalidDatesAreRefused) {
  for (const char* bad : {"31/02/2026", "29/02/2026", "32/01/2026", "01/13/2026", "00/01/2026", "",
                          "07/12", "07/12/2026x", "07-12-2026", "007/12/2026", "07/12/20265",
                          "a7/12/2026", "07/12/2026 10:00"}) {
    DateTime value{5};
    EXPECT_FALSE(TryTextToDate(bad, &value)) << bad;
    EXPECT_EQ(value.value, 5) << bad;
    EXPECT_THROW(TextToDate(bad), Error) << bad;
  }
}

TEST_F(DateFormatTest, TimesAndDateTimesReadBack) {
  EXPECT_EQ(TextToTime("09:05").value, At(1899, 12, 30, 9, 5).value);
  EXPECT_EQ(TextToTime("9:05:07").value, At(1899, 12, 30, 9, 5, 7).value);
  EXPECT_EQ(TextToDateTime("07/12/26 02:05").value, At(2026, 12, 7, 2, 5).value);
  EXPECT_EQ(TextToDateTime("07/12/2026").value, At(2026, 12, 7).value);
  EXPECT_EQ(TextToDateTime("29/12/1899 06:00").value, -1.25);
  for (const char* bad : {"24:00", "9:60", "25:30", "09", "09:05:", "09:05:07:01", "9h05"}) {
    EXPECT_THROW(TextToTime(bad), Error) << bad;
  }
  EXPECT_THROW(TextToDateTime("07/12/26 25:00"), Error);
  EXPECT_THROW(TextToDateTime("07/12/2602:05"), Error);
}

// A clock difference written "hh:nn", read as a time and written "hhnn",
// gives the number of minutes the printer check compares.
TEST_F(DateFormatTest, DifferenceTextToMinutes) {
  EXPECT_EQ(FormatDateTime("hhnn", TextToTime("00:16")), "0016");
  EXPECT_EQ(FormatDateTime("hhnn", TextToTime("01:00")), "0100");
}

}  // namespace
}  // namespace zel
