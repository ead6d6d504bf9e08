#include "closing/movement_date.h"

#include <gtest/gtest.h>

namespace zel {
namespace {

const DateTime kNow =
    EncodeDateTime({.year = 2026, .month = 12, .day = 7, .hour = 10, .minute = 5});
const DateTime kToday = EncodeDate(2026, 12, 7);

TEST(MovementDateOrToday, ReadsDayMonthAndYear) {
  EXPECT_EQ(MovementDateOrToday("051226", kNow), EncodeDate(2026, 12, 5));
  EXPECT_EQ(MovementDateOrToday("290224", kNow), EncodeDate(2024, 2, 29));
}

TEST(MovementDateOrToday, TheCenturyIsTheCurrentOne) {
  EXPECT_EQ(MovementDateOrToday("311299", kNow), EncodeDate(2099, 12, 31));
  const DateTime next_century = EncodeDate(2101, 1, 2);
  EXPECT_EQ(MovementDateOrToday("010101", next_century), EncodeDate(2101, 1, 1));
}

TEST(MovementDateOrToday, NoDayOpenIsToday) {
  EXPECT_EQ(MovementDateOrToday("000000", kNow), kToday);
}

TEST(MovementDateOrToday, AnythingButADateIsToday) {
  EXPECT_EQ(MovementDateOrToday("      ", kNow), kToday);  // printer did not answer
  EXPECT_EQ(MovementDateOrToday("310226", kNow), kToday);  // 31 February
  EXPECT_EQ(MovementDateOrToday("1312 6", kNow), kToday);
  EXPECT_EQ(MovementDateOrToday("0512", kNow), kToday);
  EXPECT_EQ(MovementDateOrToday("", kNow), kToday);
  EXPECT_EQ(MovementDateOrToday("-11226", kNow), kToday);
}

TEST(MovementDateOrToday, TheTimeOfDayIsDropped) {
  const DateTime evening = EncodeDateTime({.year = 2026, .month = 3, .day = 1, .hour = 23});
  EXPECT_EQ(MovementDateOrToday("280226", evening), EncodeDate(2026, 2, 28));
  EXPECT_EQ(MovementDateOrToday("000000", evening), EncodeDate(2026, 3, 1));
}

}  // namespace
}  // namespace zel
