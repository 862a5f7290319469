// Start-up housekeeping's rules: the age of a last use in days, and when that
// age makes a file due under the stored period.
#include <gtest/gtest.h>

#include "app/deletion_age.h"

namespace {

StoredDate Date(uint16_t year, uint16_t month, uint16_t day, uint16_t hour = 0) {
  return {year, month, 0, day, hour, 0, 0, 0};
}

// Month and year ends count one day, every fourth year is a leap year (2100
// too), the hour does not count, and a later last use gives a negative age.
TEST(DayNumber, DaysBetweenDates) {
  const struct { StoredDate later, earlier; int days; } cases[] = {
      {Date(2026, 11, 1), Date(2026, 10, 31), 1}, {Date(2026, 10, 1), Date(2026, 9, 30), 1},
      {Date(2027, 1, 1), Date(2026, 12, 31), 1},  {Date(2026, 3, 31, 0), Date(2026, 3, 1, 23), 30},
      {Date(2026, 12, 6), Date(2025, 12, 6), 365}, {Date(1999, 3, 1), Date(1999, 2, 28), 1},
      {Date(2100, 3, 1), Date(2100, 2, 28), 2},   {Date(2101, 1, 1), Date(2100, 1, 1), 366},
      {Date(2026, 12, 6), Date(2026, 12, 8), -2},
  };
  for (const auto& c : cases)
    EXPECT_EQ(DaysBetween(c.later, c.earlier), c.days) << c.later.Year << "-" << c.later.Month << "-" << c.later.Day;
  EXPECT_EQ(DayNumber(Date(1, 1, 1)), 1);
}

TEST(DueForDeletion, AgeAgainstThePeriod) {
  const struct { int age; int32_t days; bool due; } cases[] = {
      {30, 30, true}, {29, 30, false}, {0, 0, true},        {-1, 0, false},
      {0, -1, true},  {-1, -30, false}, {5, INT32_MIN, true}, {INT32_MAX, INT32_MAX, true},
  };
  for (const auto& c : cases) EXPECT_EQ(DueForDeletion(c.age, c.days), c.due) << c.age << " days, period " << c.days;
}

}  // namespace
