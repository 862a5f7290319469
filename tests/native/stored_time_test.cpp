// A record's last use as a calendar date, against dates worked out by hand.
#include <gtest/gtest.h>

#include "settings/stored_time.h"

TEST(StoredTime, FileTimesConvertToTheirUtcCalendarDates) {
  const struct { uint64_t ticks; StoredDate date; } cases[] = {
      {0, {1601, 1, 1, 1, 0, 0, 0, 0}},  // a Monday
      {0x01BC2A92E1B72800, {1997, 3, 5, 7, 1, 0, 0, 0}},
      {0x01BC2A92E1B72800 + 9999, {1997, 3, 5, 7, 1, 0, 0, 0}},  // below a millisecond
      {0x01BF8311163618F0, {2000, 2, 2, 29, 23, 59, 59, 999}},
      {0x014F6598C43F8000, {1900, 3, 4, 1, 0, 0, 0, 0}},  // 1900 had no 29 February
      {0x022F9F5BA88E6000, {2100, 2, 0, 28, 12, 0, 0, 0}},
      {0x7FFFFFFFFFFFFFFF, {30828, 9, 4, 14, 2, 48, 5, 477}},
  };
  for (const auto& c : cases) {
    StoredDate date = {};
    ASSERT_TRUE(DateOfFileTime({static_cast<uint32_t>(c.ticks), static_cast<uint32_t>(c.ticks >> 32)}, &date));
    const StoredDate& e = c.date;
    EXPECT_EQ(memcmp(&date, &e, sizeof date), 0)
        << std::hex << c.ticks << std::dec << ": " << date.Year << "-" << date.Month << "-" << date.Day << " weekday "
        << date.DayOfWeek << " " << date.Hour << ":" << date.Minute << ":" << date.Second << "." << date.Milliseconds;
  }
  StoredDate untouched = {1, 2, 3, 4, 5, 6, 7, 8};
  EXPECT_FALSE(DateOfFileTime({0, 0x80000000u}, &untouched));
  EXPECT_FALSE(DateOfFileTime({~0u, ~0u}, &untouched));
  EXPECT_EQ(untouched.Year, 1) << "a refused time leaves the date alone";
}
