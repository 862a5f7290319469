// The five settings records, stored as raw little-endian values under the
// driver's key; two of them are also the payloads of device requests.
#pragma once
#include <windows.h>
#include <cstddef>
#include <cstdint>

#include "settings/stored_time.h"

struct CacheSettingsRecord {  // "Data"
  uint32_t CacheActive;
  uint32_t ShowProgress;
  uint32_t MaxFileSizeK;
  uint32_t MinFreeDiskMB;
};
static_assert(sizeof(CacheSettingsRecord) == 16);
static_assert(offsetof(CacheSettingsRecord, ShowProgress) == 4);
static_assert(offsetof(CacheSettingsRecord, MaxFileSizeK) == 8);
static_assert(offsetof(CacheSettingsRecord, MinFreeDiskMB) == 12);

struct HousekeepingRecord {  // "Data2"
  uint32_t AutoDelete;
  int32_t AutoDeleteDays;
};
static_assert(sizeof(HousekeepingRecord) == 8);
static_assert(offsetof(HousekeepingRecord, AutoDeleteDays) == 4);

struct SavingsRecord {  // "Other"
  StoredDate Since;
  uint32_t LineSpeed;
  float CostPerMegabyte;
  float CostPerHour;
};
static_assert(sizeof(SavingsRecord) == 28);
static_assert(offsetof(SavingsRecord, LineSpeed) == 16);
static_assert(offsetof(SavingsRecord, CostPerMegabyte) == 20);
static_assert(offsetof(SavingsRecord, CostPerHour) == 24);

constexpr int EDIT_TYPE_SLOTS = 30;
constexpr int EDIT_TYPE_SLOT_SIZE = 6;
struct EditModeRecord {  // "DB"
  uint32_t EditModeEnabled;
  char Extensions[EDIT_TYPE_SLOTS][EDIT_TYPE_SLOT_SIZE];
};
static_assert(sizeof(EditModeRecord) == 184);
static_assert(offsetof(EditModeRecord, Extensions) == 4);

extern CacheSettingsRecord CacheSettings;
extern char CacheDirectory[MAX_PATH];
extern HousekeepingRecord HousekeepingSettings;
extern SavingsRecord SavingsParameters;
extern EditModeRecord EditModeTable;

// Whether CacheDirectory names a cache folder. It names none when the stored
// "CacheDir" could not be read or read empty: then nothing may be listed,
// measured or deleted there, and saving leaves the stored value alone.
bool CacheDirectoryUsable();

// Returns 0, or the registry's error code when the driver's key did not open.
LONG LoadSettings();
void SaveSettings();
void SaveCacheActive();
void LoadSavingsParameters();
// True when the last LoadSavingsParameters found a stored "Other" value.
bool SavingsParametersStored();
