#include "app/housekeeping.h"

#include <cstdint>

#include "settings/cache_folder.h"
#include "settings/cached_records.h"
#include "settings/settings.h"
#include "settings/system_time.h"

int DayNumber(StoredDate date) {
  static const int MONTH_DAYS[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  int days = 0;
  for (int year = 1; year < date.Year; year++) days += year % 4 == 0 ? 366 : 365;
  for (int month = 1; month < date.Month && month <= 12; month++)
    days += month == 2 && date.Year % 4 == 0 ? 29 : MONTH_DAYS[month - 1];
  return days + date.Day;
}

int DaysBetween(StoredDate later, StoredDate earlier) { return DayNumber(later) - DayNumber(earlier); }

// A file age days old goes when age reaches the period; a negative age (a
// last use after today) never does, and a negative period counts as 0.
bool DueForDeletion(int age, int32_t autoDeleteDays) {
  if (age < 0) return false;  // used after today: the clock was set back
  return age >= (autoDeleteDays < 0 ? 0 : autoDeleteDays);
}

// Judges one scanned file by its record and, when it is due, deletes that
// file (never another one its name reaches) and then its record. A file
// that could not be deleted keeps its record for the next start. The scan
// shows no other file, so the path is always looked up; few files are due
// at a start. The context is today's date.
static bool RemoveIfUnused(const CacheFolderEntry& entry, void* context) {
  const StoredDate& today = *static_cast<const StoredDate*>(context);
  StoredFileTime lastUsed;
  if (!ReadLastUsed(entry.Name, &lastUsed)) return true;
  StoredDate lastUsedDate;
  if (!DateOfFileTime(lastUsed, &lastUsedDate)) return true;
  if (DueForDeletion(DaysBetween(today, lastUsedDate), HousekeepingSettings.AutoDeleteDays) &&
      DeleteListedFile(entry, true))
    DeleteCachedFileRecord(entry.Name);
  return true;
}

void RemoveUnusedCachedFiles() {
  if (HousekeepingSettings.AutoDelete == 0) return;
  StoredDate today = Today();
  ScanCacheFolder(RemoveIfUnused, &today);
}
