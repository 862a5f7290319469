// Dates and file times as the driver's records and the "Other" value store
// them: the layouts of the platform's SYSTEMTIME and FILETIME on plain types,
// so that the rules over them build and run anywhere.
#pragma once
#include <cstddef>
#include <cstdint>

struct StoredDate {  // SYSTEMTIME's layout
  uint16_t Year;
  uint16_t Month;
  uint16_t DayOfWeek;
  uint16_t Day;
  uint16_t Hour;
  uint16_t Minute;
  uint16_t Second;
  uint16_t Milliseconds;
};
static_assert(sizeof(StoredDate) == 16);
static_assert(offsetof(StoredDate, Day) == 6);
static_assert(offsetof(StoredDate, Milliseconds) == 14);

struct StoredFileTime {  // FILETIME's layout: 100-ns units since 1 January 1601, UTC
  uint32_t Low;
  uint32_t High;
};
static_assert(sizeof(StoredFileTime) == 8);

inline bool IsZero(StoredFileTime time) { return time.Low == 0 && time.High == 0; }

// The calendar date and time of a file time, as the platform converts it:
// false for a time past the largest signed 64-bit count.
bool DateOfFileTime(StoredFileTime time, StoredDate* date);
