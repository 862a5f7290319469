#include "app/housekeeping.h"

#include <cstdio>

#include "settings/cached_records.h"
#include "settings/settings.h"

int DayNumber(SYSTEMTIME date) {
  static const int MONTH_DAYS[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  int days = 0;
  for (int year = 1; year < date.wYear; year++) days += year % 4 == 0 ? 366 : 365;
  for (int month = 1; month < date.wMonth && month <= 12; month++)
    days += month == 2 && date.wYear % 4 == 0 ? 29 : MONTH_DAYS[month - 1];
  return days + date.wDay;
}

int DaysBetween(SYSTEMTIME later, SYSTEMTIME earlier) { return DayNumber(later) - DayNumber(earlier); }

bool DueForDeletion(int age, int32_t autoDeleteDays) {
  if (age < 0) return false;  // used after today: the clock was set back
  return age >= (autoDeleteDays < 0 ? 0 : autoDeleteDays);
}

void RemoveUnusedCachedFiles() {
  if (HousekeepingSettings.AutoDelete == 0 || !CacheDirectoryUsable()) return;

  char pattern[MAX_PATH];
  int length = snprintf(pattern, sizeof pattern, "%s\\*.*", CacheDirectory);
  if (length < 0 || length >= static_cast<int>(sizeof pattern)) return;

  SYSTEMTIME today;
  GetSystemTime(&today);

  WIN32_FIND_DATAA entry;
  HANDLE scan = FindFirstFileA(pattern, &entry);
  if (scan == INVALID_HANDLE_VALUE) return;
  do {
    if (entry.cFileName[0] == '.' || (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
    // A path that does not fit is never cut: the cut name could be another file.
    char path[MAX_PATH];
    length = snprintf(path, sizeof path, "%s\\%s", CacheDirectory, entry.cFileName);
    if (length < 0 || length >= static_cast<int>(sizeof path)) continue;

    FILETIME lastUsed;
    if (!ReadLastUsed(entry.cFileName, &lastUsed)) continue;
    SYSTEMTIME lastUsedDate;
    if (!FileTimeToSystemTime(&lastUsed, &lastUsedDate)) continue;
    if (DueForDeletion(DaysBetween(today, lastUsedDate), HousekeepingSettings.AutoDeleteDays)) {
      DeleteFileA(path);
      DeleteCachedFileRecord(entry.cFileName);
    }
  } while (FindNextFileA(scan, &entry));
  FindClose(scan);
}
