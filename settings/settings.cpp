#include "settings/settings.h"

#include <cstring>

#include "settings/device.h"
#include "settings/registry_key.h"
#include "settings/system_time.h"
#include "text/format_text.h"

CacheSettingsRecord CacheSettings = {1, 1, 300, 100};
char CacheDirectory[MAX_PATH] = "C:\\";
HousekeepingRecord HousekeepingSettings = {1, 30};
SavingsRecord SavingsParameters = {};
EditModeRecord EditModeTable = {};

static bool SavingsLoaded = false;

bool CacheDirectoryUsable() { return CacheDirectory[0] != '\0'; }

static const char* const DEFAULT_EDIT_TYPES[] = {".BMP", ".DOC", ".TXT", ".WRI", ".XLS"};

LONG LoadSettings() {
  HKEY key;
  LONG opened = OpenDriverKey(&key);
  if (opened != ERROR_SUCCESS) return opened;
  KeyGuard guard{key};

  char path[MAX_PATH] = {};
  DWORD size = sizeof path;
  LONG read = RegQueryValueExA(key, "CacheDir", nullptr, nullptr, reinterpret_cast<BYTE*>(path), &size);
  if (read == ERROR_SUCCESS) {
    path[MAX_PATH - 1] = '\0';  // a value filling all 260 bytes keeps 259 characters
    FormatText(CacheDirectory, sizeof CacheDirectory, "%s", path);
  } else if (read != ERROR_FILE_NOT_FOUND) {
    // Stored but unreadable (too long): keeping "C:\" would point housekeeping
    // at the root of C:, so it names no folder at all.
    CacheDirectory[0] = '\0';
  }

  uint8_t data[sizeof CacheSettings];
  size = sizeof data;
  if (QueryValue(key, "Data", data, &size)) memcpy(&CacheSettings, data, size);

  uint8_t data2[sizeof HousekeepingSettings];
  size = sizeof data2;
  if (QueryValue(key, "Data2", data2, &size)) memcpy(&HousekeepingSettings, data2, size);

  uint8_t types[sizeof EditModeTable];
  size = sizeof types;
  if (QueryValue(key, "DB", types, &size)) {
    memcpy(&EditModeTable, types, size);
  } else {
    EditModeTable.EditModeEnabled = 1;
    for (int slot = 0; slot < 5; slot++)
      FormatText(EditModeTable.Extensions[slot], EDIT_TYPE_SLOT_SIZE, "%s", DEFAULT_EDIT_TYPES[slot]);
  }
  return ERROR_SUCCESS;
}

static void SetBinary(HKEY key, const char* name, const void* data, DWORD size) {
  RegSetValueExA(key, name, 0, REG_BINARY, static_cast<const BYTE*>(data), size);
}

void SaveSettings() {
  HKEY key;
  if (OpenDriverKey(&key) == ERROR_SUCCESS) {
    KeyGuard guard{key};
    // A stored value that could not be read, or read empty, stays as it is.
    if (CacheDirectoryUsable())
      RegSetValueExA(key, "CacheDir", 0, REG_SZ, reinterpret_cast<const BYTE*>(CacheDirectory),
                     static_cast<DWORD>(strlen(CacheDirectory)));
    SetBinary(key, "Data", &CacheSettings, sizeof CacheSettings);
    SetBinary(key, "Data2", &HousekeepingSettings, sizeof HousekeepingSettings);
    SetBinary(key, "Other", &SavingsParameters, sizeof SavingsParameters);
    SetBinary(key, "DB", &EditModeTable, sizeof EditModeTable);
  }
  if (DeviceHandle != 0) SendDeviceRequest(CACHE_SET_SETTINGS);
}

void SaveCacheActive() {
  HKEY key;
  if (OpenDriverKey(&key) != ERROR_SUCCESS) return;
  KeyGuard guard{key};
  uint8_t stored[sizeof CacheSettings];
  DWORD size = sizeof stored;
  DWORD type = 0;
  if (RegQueryValueExA(key, "Data", nullptr, &type, stored, &size) != ERROR_SUCCESS) return;
  DWORD flagBytes = size < sizeof CacheSettings.CacheActive ? size : sizeof CacheSettings.CacheActive;
  memcpy(stored, &CacheSettings.CacheActive, flagBytes);
  RegSetValueExA(key, "Data", 0, type, stored, size);
}

void LoadSavingsParameters() {
  SavingsLoaded = false;
  HKEY key;
  if (OpenDriverKey(&key) == ERROR_SUCCESS) {
    KeyGuard guard{key};
    uint8_t other[sizeof SavingsParameters] = {};  // a shorter value leaves zeros beyond it
    DWORD size = sizeof other;
    if (QueryValue(key, "Other", other, &size)) {
      memcpy(&SavingsParameters, other, sizeof other);
      SavingsLoaded = true;
    }
  }
  if (!SavingsLoaded) {
    SavingsParameters = {};
    SavingsParameters.Since = Today();
    SavingsParameters.LineSpeed = 1;
    SavingsParameters.CostPerMegabyte = 0.0f;
    SavingsParameters.CostPerHour = 20.0f;
  }
}

bool SavingsParametersStored() { return SavingsLoaded; }
