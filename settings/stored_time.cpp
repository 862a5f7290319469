#include "settings/stored_time.h"

namespace {

constexpr uint64_t TICKS_PER_MILLISECOND = 10000;
constexpr uint64_t MILLISECONDS_PER_DAY = 24ull * 60 * 60 * 1000;
constexpr int64_t DAYS_FROM_1601_TO_1970 = 134774;

// The proleptic Gregorian date of a day counted from 1 January 1970.
void CivilDate(int64_t days, StoredDate* date) {
  days += 719468;  // from 1 March of year 0, so that a leap day ends each cycle year
  const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const int64_t dayOfEra = days - era * 146097;
  const int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;  // March is 0
  const int64_t month = shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9;
  date->Year = static_cast<uint16_t>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
  date->Month = static_cast<uint16_t>(month);
  date->Day = static_cast<uint16_t>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
}

}  // namespace

bool DateOfFileTime(StoredFileTime time, StoredDate* date) {
  const uint64_t ticks = (uint64_t{time.High} << 32) | time.Low;
  if (ticks >> 63) return false;
  const uint64_t milliseconds = ticks / TICKS_PER_MILLISECOND;
  const uint64_t days = milliseconds / MILLISECONDS_PER_DAY;
  uint64_t ofDay = milliseconds % MILLISECONDS_PER_DAY;
  StoredDate result = {};
  CivilDate(static_cast<int64_t>(days) - DAYS_FROM_1601_TO_1970, &result);
  result.DayOfWeek = static_cast<uint16_t>((days + 1) % 7);  // 1 January 1601 was a Monday
  result.Milliseconds = static_cast<uint16_t>(ofDay % 1000);
  ofDay /= 1000;
  result.Second = static_cast<uint16_t>(ofDay % 60);
  ofDay /= 60;
  result.Minute = static_cast<uint16_t>(ofDay % 60);
  result.Hour = static_cast<uint16_t>(ofDay / 60);
  *date = result;
  return true;
}
