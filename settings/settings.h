// The five settings records and the operations that move them to and from
// the driver's key; two of them are also the payloads of device requests.
#pragma once
#include <windows.h>

#include "settings/stored_records.h"

extern CacheSettingsRecord CacheSettings;
extern char CacheDirectory[CACHE_DIR_SIZE];
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
