#include "settings/cached_records.h"

#include "settings/registry_key.h"

bool ReadCachedFileRecord(const char* fileName, CachedFileRecord* record) {
  HKEY key;
  if (OpenDriverKey(&key) != ERROR_SUCCESS) return false;
  KeyGuard guard{key};
  CachedFileRecord read = {};
  DWORD size = sizeof read;
  if (!QueryValue(key, fileName, &read, &size) || size != sizeof read) return false;
  *record = read;
  return true;
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
  RegDeleteValueA(key, fileName);
}
