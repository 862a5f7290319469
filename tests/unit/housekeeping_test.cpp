// Day counting for the age of cached files, and the watchdog's arithmetic.
#include <gtest/gtest.h>

#include <cstring>

#include "app/housekeeping.h"
#include "app/watchdog.h"

namespace {

SYSTEMTIME Date(int year, int month, int day, int hour = 0) {
  SYSTEMTIME date = {};
  date.wYear = static_cast<WORD>(year);
  date.wMonth = static_cast<WORD>(month);
  date.wDay = static_cast<WORD>(day);
  date.wHour = static_cast<WORD>(hour);
  return date;
}

TEST(DayNumber, MonthAndYearEndsCountOneDay) {
  EXPECT_EQ(DaysBetween(Date(2026, 11, 1), Date(2026, 10, 31)), 1);
  EXPECT_EQ(DaysBetween(Date(2026, 10, 1), Date(2026, 9, 30)), 1);
  EXPECT_EQ(DaysBetween(Date(2027, 1, 1), Date(2026, 12, 31)), 1);
  EXPECT_EQ(DaysBetween(Date(2026, 3, 31, 0), Date(2026, 3, 1, 23)), 30);
  EXPECT_EQ(DaysBetween(Date(2026, 12, 6), Date(2025, 12, 6)), 365);
}

TEST(DayNumber, EveryFourthYearIsALeapYear) {
  EXPECT_EQ(DaysBetween(Date(2000, 3, 1), Date(2000, 2, 28)), 2);
  EXPECT_EQ(DaysBetween(Date(1999, 3, 1), Date(1999, 2, 28)), 1);
  EXPECT_EQ(DaysBetween(Date(1900, 3, 1), Date(1900, 2, 28)), 2);
  EXPECT_EQ(DaysBetween(Date(2100, 3, 1), Date(2100, 2, 28)), 2);
  EXPECT_EQ(DaysBetween(Date(2101, 1, 1), Date(2100, 1, 1)), 366);
}

TEST(DayNumber, LaterLastUseGivesNegativeAge) {
  EXPECT_EQ(DaysBetween(Date(2026, 12, 6), Date(2026, 12, 8)), -2);
  EXPECT_EQ(DayNumber(Date(1, 1, 1)), 1);
  // A zero FILETIME is 1 January 1601.
  FILETIME zero = {};
  SYSTEMTIME origin;
  ASSERT_TRUE(FileTimeToSystemTime(&zero, &origin));
  EXPECT_EQ(DaysBetween(Date(1601, 1, 2), origin), 1);
}

TEST(FreeSpace, ProductDoesNotWrapAbove4GB) {
  EXPECT_EQ(FreeMegabytes(8, 512, 2 * 1024 * 1024), 8192u);       // 8 GB
  EXPECT_EQ(FreeMegabytes(64, 4096, 0xFFFFFFFFu), 0x3FFFFFFFull);  // 1 PB less a cluster
  EXPECT_EQ(FreeMegabytes(1, 512, 204801), 100u);                 // 100 MB and 512 bytes, rounded down
  EXPECT_EQ(FreeMegabytes(0, 0, 0), 0u);
}

TEST(FreeSpace, RootComesFromTheCacheDirectory) {
  char root[4];
  CacheDriveRoot("D:\\CACHE", root);
  EXPECT_STREQ(root, "D:\\");
  CacheDriveRoot("E:", root);
  EXPECT_EQ(memcmp(root, "E:\0", 4), 0);
  CacheDriveRoot("", root);
  EXPECT_EQ(root[0], '\0');
}

}  // namespace
