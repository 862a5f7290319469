// A file's record from any bytes (input: the 24 bytes stored, then 8 bytes
// of a second file time). A last use that converts gives a real calendar
// date and time, and the day numbers of two file times keep their order at
// day granularity: equal within a day, strictly ordered across days.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "app/deletion_age.h"
#include "settings/stored_records.h"

namespace {

constexpr uint64_t TICKS_PER_DAY = 864000000000ull;

uint64_t Ticks(StoredFileTime time) { return (uint64_t{time.High} << 32) | time.Low; }

bool ValidDate(const StoredDate& date) {
  static const int MONTH_DAYS[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (date.Month < 1 || date.Month > 12 || date.Day < 1 || date.Year < 1601) return false;
  const bool leap = date.Year % 4 == 0 && (date.Year % 100 != 0 || date.Year % 400 == 0);
  const int days = date.Month == 2 && leap ? 29 : MONTH_DAYS[date.Month - 1];
  return date.Day <= days && date.DayOfWeek < 7 && date.Hour < 24 && date.Minute < 60 && date.Second < 60 &&
         date.Milliseconds < 1000;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < sizeof(CachedFileRecord)) return 0;
  CachedFileRecord record;
  if (!DecodeCachedFileRecord({STORED_BINARY, data, sizeof record}, &record)) abort();
  StoredFileTime other = {};
  memcpy(&other, data + sizeof record, size - sizeof record < sizeof other ? size - sizeof record : sizeof other);
  StoredDate first, second;
  const bool firstDated = DateOfFileTime(record.LastUsed, &first);
  const bool secondDated = DateOfFileTime(other, &second);
  if ((firstDated && !ValidDate(first)) || (secondDated && !ValidDate(second))) abort();
  if (firstDated && secondDated) {
    const uint64_t firstDay = Ticks(record.LastUsed) / TICKS_PER_DAY, secondDay = Ticks(other) / TICKS_PER_DAY;
    const int between = DaysBetween(second, first);
    if (firstDay == secondDay ? between != 0 : (firstDay < secondDay) != (between > 0)) abort();
  }
  return 0;
}
