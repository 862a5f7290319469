#include "app/housekeeping.h"

#include "settings/cache_folder.h"
#include "settings/cached_records.h"
#include "settings/settings.h"
#include "settings/system_time.h"

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
