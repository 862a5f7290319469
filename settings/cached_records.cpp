#include "settings/cached_records.h"

#include "settings/registry_key.h"

bool ReadCachedFileRecord(const char* fileName, CachedFileRecord* record) {
  HKEY key;
  if (OpenDriverKey(&key) != ERROR_SUCCESS) return false;
  KeyGuard guard{key};
  uint8_t bytes[sizeof *record];
  StoredValue value;
  return QueryValue(key, fileName, bytes, sizeof bytes, &value) == ERROR_SUCCESS &&
         DecodeCachedFileRecord(value, record);
}

bool ReadLastUsed(const char* fileName, StoredFileTime* lastUsed) {
  CachedFileRecord record;
  if (!ReadCachedFileRecord(fileName, &record)) return false;
  *lastUsed = record.LastUsed;
  return true;
}

void DeleteCachedFileRecord(const char* fileName) {
  HKEY key;
  if (OpenDriverKey(&key) != ERROR_SUCCESS) return;
  KeyGuard guard{key};
  DeleteValue(key, fileName);
}
