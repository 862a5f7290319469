#include "settings/stored_records.h"

#include <cstring>

static bool StoredAsBytes(uint32_t type) { return type == STORED_BINARY || type == STORED_WORD; }

// Copies a value of at most recordSize bytes over the start of the record.
static bool CopyOverStart(const StoredValue& value, void* record, size_t recordSize) {
  if (!StoredAsBytes(value.Type) || value.Size > recordSize) return false;
  if (value.Size > 0) memcpy(record, value.Bytes, value.Size);
  return true;
}

bool DecodeCacheSettings(const StoredValue& value, CacheSettingsRecord* record) {
  return CopyOverStart(value, record, sizeof *record);
}

bool DecodeHousekeeping(const StoredValue& value, HousekeepingRecord* record) {
  return CopyOverStart(value, record, sizeof *record);
}

bool DecodeEditModeTable(const StoredValue& value, EditModeRecord* record) {
  return CopyOverStart(value, record, sizeof *record);
}

bool DecodeSavings(const StoredValue& value, SavingsRecord* record) {
  SavingsRecord read = {};
  if (!CopyOverStart(value, &read, sizeof read)) return false;
  *record = read;
  return true;
}

bool DecodeCachedFileRecord(const StoredValue& value, CachedFileRecord* record) {
  return value.Size == sizeof *record && CopyOverStart(value, record, sizeof *record);
}

bool DecodeTotal(const StoredValue& value, uint32_t* total) {
  uint32_t read = 0;
  if (!CopyOverStart(value, &read, sizeof read)) return false;
  *total = read;
  return true;
}

void SetDefaultEditTypes(EditModeRecord* table) {
  static const char DEFAULT_TYPES[][sizeof ".BMP"] = {".BMP", ".DOC", ".TXT", ".WRI", ".XLS"};
  table->EditModeEnabled = 1;
  // Each with its NUL only: a slot's last byte stays as it was.
  for (int slot = 0; slot < 5; slot++) memcpy(table->Extensions[slot], DEFAULT_TYPES[slot], sizeof DEFAULT_TYPES[slot]);
}

SavingsRecord DefaultSavings(StoredDate today) {
  SavingsRecord savings = {};
  savings.Since = today;
  savings.LineSpeed = 1;
  savings.CostPerMegabyte = 0.0f;
  savings.CostPerHour = 20.0f;
  return savings;
}

void DecodeCacheDir(const StoredValue& value, char (&directory)[CACHE_DIR_SIZE]) {
  memset(directory, 0, sizeof directory);
  if ((value.Type != STORED_TEXT && value.Type != STORED_BINARY) || value.Size > CACHE_DIR_SIZE) return;
  // A value filling all the bytes keeps one less character, for the NUL.
  size_t length = value.Size < CACHE_DIR_SIZE ? value.Size : CACHE_DIR_SIZE - 1;
  if (length > 0) memcpy(directory, value.Bytes, length);
}

StoredValue CacheDirValue(const char (&directory)[CACHE_DIR_SIZE]) {
  return {STORED_TEXT, reinterpret_cast<const uint8_t*>(directory), strnlen(directory, CACHE_DIR_SIZE - 1)};
}

bool PutCacheActive(uint32_t cacheActive, uint32_t type, uint8_t* bytes, size_t size) {
  if (!StoredAsBytes(type) || size > sizeof(CacheSettingsRecord)) return false;
  if (size > 0) memcpy(bytes, &cacheActive, size < sizeof cacheActive ? size : sizeof cacheActive);
  return true;
}
