// The driver's per-file records under its key, named by the cached file's name.
#pragma once
#include "settings/stored_records.h"

// A value that DecodeCachedFileRecord refuses counts as unreadable.
bool ReadCachedFileRecord(const char* fileName, CachedFileRecord* record);
bool ReadLastUsed(const char* fileName, StoredFileTime* lastUsed);
void DeleteCachedFileRecord(const char* fileName);
