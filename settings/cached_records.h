// The driver's per-file records under its key, named by the cached file's name.
#pragma once
#include <windows.h>
#include <cstddef>
#include <cstdint>

#include "settings/stored_time.h"

struct CachedFileRecord {
  uint64_t FileStamp;
  StoredFileTime LastUsed;
  uint32_t Hits;
  uint32_t Reserved;  // the driver's own; never read
};
static_assert(sizeof(CachedFileRecord) == 24);
static_assert(offsetof(CachedFileRecord, LastUsed) == 8);
static_assert(offsetof(CachedFileRecord, Hits) == 16);

// A value of any length but 24 bytes counts as unreadable: a shorter one
// would leave LastUsed zero, the oldest date there is.
bool ReadCachedFileRecord(const char* fileName, CachedFileRecord* record);
bool ReadLastUsed(const char* fileName, StoredFileTime* lastUsed);
void DeleteCachedFileRecord(const char* fileName);
