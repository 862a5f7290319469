#include "settings/settings.h"

#include "settings/device.h"
#include "settings/registry_key.h"
#include "settings/system_time.h"

static_assert(sizeof CacheDirectory == MAX_PATH);

CacheSettingsRecord CacheSettings = {1, 1, 300, 100};
char CacheDirectory[CACHE_DIR_SIZE] = "C:\\";
HousekeepingRecord HousekeepingSettings = {1, 30};
SavingsRecord SavingsParameters = {};
EditModeRecord EditModeTable = {};

static bool SavingsLoaded = false;

bool CacheDirectoryUsable() { return CacheDirectory[0] != '\0'; }

LONG LoadSettings() {
  HKEY key;
  LONG opened = OpenDriverKey(&key);
  if (opened != ERROR_SUCCESS) return opened;
  KeyGuard guard{key};

  uint8_t buffer[CACHE_DIR_SIZE];  // room for the longest of the five
  StoredValue value;
  // Stored but unreadable (too long): keeping "C:\" would point housekeeping
  // at the root of C:, so it names no folder at all.
  if (QueryValue(key, "CacheDir", buffer, CACHE_DIR_SIZE, &value) != ERROR_FILE_NOT_FOUND)
    DecodeCacheDir(value, CacheDirectory);
  if (QueryValue(key, "Data", buffer, sizeof CacheSettings, &value) == ERROR_SUCCESS)
    DecodeCacheSettings(value, &CacheSettings);
  if (QueryValue(key, "Data2", buffer, sizeof HousekeepingSettings, &value) == ERROR_SUCCESS)
    DecodeHousekeeping(value, &HousekeepingSettings);
  if (QueryValue(key, "DB", buffer, sizeof EditModeTable, &value) != ERROR_SUCCESS ||
      !DecodeEditModeTable(value, &EditModeTable))
    SetDefaultEditTypes(&EditModeTable);
  return ERROR_SUCCESS;
}

void SaveSettings() {
  HKEY key;
  if (OpenDriverKey(&key) == ERROR_SUCCESS) {
    KeyGuard guard{key};
    // A stored value that could not be read, or read empty, stays as it is.
    if (CacheDirectoryUsable()) SetValue(key, "CacheDir", CacheDirValue(CacheDirectory));
    SetValue(key, "Data", RecordValue(CacheSettings));
    SetValue(key, "Data2", RecordValue(HousekeepingSettings));
    SetValue(key, "Other", RecordValue(SavingsParameters));
    SetValue(key, "DB", RecordValue(EditModeTable));
  }
  if (DeviceHandle != 0) SendDeviceRequest(CACHE_SET_SETTINGS);
}

void SaveCacheActive() {
  HKEY key;
  if (OpenDriverKey(&key) != ERROR_SUCCESS) return;
  KeyGuard guard{key};
  uint8_t stored[sizeof CacheSettings];
  StoredValue value;
  if (QueryValue(key, "Data", stored, sizeof stored, &value) == ERROR_SUCCESS &&
      PutCacheActive(CacheSettings.CacheActive, value.Type, stored, value.Size))
    SetValue(key, "Data", value);
}

void LoadSavingsParameters() {
  SavingsLoaded = false;
  HKEY key;
  if (OpenDriverKey(&key) == ERROR_SUCCESS) {
    KeyGuard guard{key};
    uint8_t other[sizeof SavingsParameters];
    StoredValue value;
    SavingsLoaded = QueryValue(key, "Other", other, sizeof other, &value) == ERROR_SUCCESS &&
                    DecodeSavings(value, &SavingsParameters);
  }
  if (!SavingsLoaded) SavingsParameters = DefaultSavings(Today());
}

bool SavingsParametersStored() { return SavingsLoaded; }
