#include "zel/date_time.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "zel/error.h"

namespace zel {
namespace {

DateParts Parts(int year, int month, int day, int hour = 0, int minute = 0, int second = 0,
                int millisecond = 0) {
  return DateParts{year, month, day, hour, minute, second, millisecond};
}

void ExpectParts(const DateParts& actual, const DateParts& expected) {
  EXPECT_EQ(actual.year, expected.year);
  EXPECT_EQ(actual.month, expected.month);
  EXPECT_EQ(actual.day, expected.day);
  EXPECT_EQ(actual.hour, expected.hour);
  EXPECT_EQ(actual.minute, expected.minute);
  EXPECT_EQ(actual.second, expected.second);
  EXPECT_EQ(actual.millisecond, expected.millisecond);
}

TEST(DateTimeTest, DaysCountFromThirtiethOfDecember1899) {
  EXPECT_EQ(EncodeDate(1899, 12, 30).value, 0);
  EXPECT_EQ(EncodeDate(1899, 12, 31).value, 1);
  EXPECT_EQ(EncodeDate(1900, 3, 1).value, 61);
  EXPECT_EQ(EncodeDate(2000, 2, 29).value, 36585);
  EXPECT_EQ(EncodeDate(2026, 12, 8).value, 46364);
  EXPECT_EQ(EncodeDate(1, 1, 1).value, -693593);
  EXPECT_EQ(EncodeDate(9999, 12, 31).value, 2958465);
}

TEST(DateTimeTest, TimeIsTheFractionOfTheDay) {
  EXPECT_EQ(EncodeDateTime(Parts(2026, 12, 8, 12)).value, 46364.5);
  EXPECT_EQ(EncodeDateTime(Parts(2026, 12, 8, 6)).value, 46364.25);
  EXPECT_EQ(EncodeTime(18, 0, 0, 0).value, 0.75);
  // Before day 0 the fraction still counts the time of day, away from zero.
  EXPECT_EQ(EncodeDateTime(Parts(1899, 12, 29, 6)).value, -1.25);
  ExpectParts(DecodeDateTime(DateTime{-1.25}), Parts(1899, 12, 29, 6));
  ExpectParts(DecodeDateTime(DateTime{-1.75}), Parts(1899, 12, 29, 18));
}

TEST(DateTimeTest, RefusesDatesAndTimesThatDoNotExist) {
  EXPECT_THROW(EncodeDate(2026, 2, 31), Error);
  EXPECT_THROW(EncodeDate(2026, 2, 29), Error);
  EXPECT_THROW(EncodeDate(1900, 2, 29), Error);
  EXPECT_NO_THROW(EncodeDate(2024, 2, 29));
  EXPECT_NO_THROW(EncodeDate(2000, 2, 29));
  EXPECT_THROW(EncodeDate(2026, 13, 1), Error);
  EXPECT_THROW(EncodeDate(2026, 0, 1), Error);
  EXPECT_THROW(EncodeDate(2026, 4, 0), Error);
  EXPECT_THROW(EncodeDate(2026, 4, 31), Error);
  EXPECT_THROW(EncodeDate(0, 1, 1), Error);
  EXPECT_THROW(EncodeDate(10000, 1, 1), Error);
  EXPECT_THROW(EncodeDateTime(Parts(2026, 1, 1, 24)), Error);
  EXPECT_THROW(EncodeDateTime(Parts(2026, 1, 1, 10, 60)), Error);
  EXPECT_THROW(EncodeDateTime(Parts(2026, 1, 1, 10, 0, 60)), Error);
  EXPECT_THROW(EncodeDateTime(Parts(2026, 1, 1, 10, 0, 0, 1000)), Error);
  EXPECT_THROW(EncodeTime(-1, 0, 0, 0), Error);
  EXPECT_TRUE(IsValidDate(2024, 2, 29));
  EXPECT_FALSE(IsValidDate(2100, 2, 29));
}

TEST(DateTimeTest, EveryDayDecodesToWhatWasEncoded) {
  for (int year : {1, 4, 100, 1582, 1899, 1900, 1999, 2000, 2024, 2026, 2100, 9999}) {
    for (int month = 1; month <= 12; ++month) {
      for (int day = 1; day <= 31; ++day) {
        if (!IsValidDate(year, month, day)) continue;
        const DateParts parts = Parts(year, month, day, 23, 59, 58, 999);
        ExpectParts(DecodeDateTime(EncodeDateTime(parts)), parts);
      }
    }
  }
  // Consecutive days have consecutive numbers across a whole leap cycle.
  double previous = EncodeDate(1899, 12, 31).value;
  for (double day = previous + 1; day < previous + 146097; ++day) {
    const DateParts parts = DecodeDateTime(DateTime{day});
    ASSERT_EQ(EncodeDate(parts.year, parts.month, parts.day).value, day);
  }
}

TEST(DateTimeTest, DecodeRoundsToTheNearestMillisecond) {
  const double noon = EncodeDateTime(Parts(2026, 12, 8, 12)).value;
  constexpr double kMillisecond = 1.0 / 86'400'000;
  ExpectParts(DecodeDateTime(DateTime{noon + 0.4 * kMillisecond}), Parts(2026, 12, 8, 12));
  ExpectParts(DecodeDateTime(DateTime{noon + 0.6 * kMillisecond}), Parts(2026, 12, 8, 12, 0, 0, 1));
  // Just before midnight rounds into the next day, not to 24:00.
  const double next_day = EncodeDate(2026, 12, 9).value;
  ExpectParts(DecodeDateTime(DateTime{next_day - 0.4 * kMillisecond}), Parts(2026, 12, 9));
  EXPECT_EQ(DateOf(DateTime{next_day - 0.4 * kMillisecond}).value, next_day);
  EXPECT_EQ(TimeOf(DateTime{next_day - 0.4 * kMillisecond}).value, 0);
}

TEST(DateTimeTest, DateAndTimeParts) {
  const DateTime moment = EncodeDateTime(Parts(2026, 12, 8, 18));
  EXPECT_EQ(DateOf(moment).value, 46364);
  EXPECT_EQ(TimeOf(moment).value, 0.75);
  EXPECT_EQ(DateOf(DateTime{-1.25}).value, -1);
  EXPECT_EQ(TimeOf(DateTime{-1.25}).value, 0.25);
}

TEST(DateTimeTest, MillisecondsOnAPlainTimeLine) {
  EXPECT_EQ(ToMilliseconds(DateTime{1.5}), 129'600'000);
  // 29/12/1899 06:00 is 18 hours before day 0.
  EXPECT_EQ(ToMilliseconds(DateTime{-1.25}), -64'800'000);
  EXPECT_EQ(ToMilliseconds(DateTime{-1.75}) - ToMilliseconds(DateTime{-1.25}), 43'200'000);
}

TEST(DateTimeTest, RefusesValuesOutsideTheCalendar) {
  EXPECT_THROW(DecodeDateTime(DateTime{std::numeric_limits<double>::quiet_NaN()}), Error);
  EXPECT_THROW(DecodeDateTime(DateTime{std::numeric_limits<double>::infinity()}), Error);
  EXPECT_THROW(DecodeDateTime(DateTime{2958466}), Error);
  EXPECT_THROW(DecodeDateTime(DateTime{-693594}), Error);
  EXPECT_THROW(DateOf(DateTime{1e300}), Error);
  EXPECT_NO_THROW(DecodeDateTime(DateTime{2958465.999}));
}

}  // namespace
}  // namespace zel
