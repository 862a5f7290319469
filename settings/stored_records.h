// The settings values and the per-file records as the driver's key stores
// them: their layouts, the bytes each is written as, and what a value read
// back (its registry type and bytes) makes of its record. Raw little-endian
// structures: a record's bytes in memory are its stored bytes.
#pragma once
#include <cstddef>
#include <cstdint>

#include "settings/stored_time.h"

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "records are stored as they lie in memory");

// Registry types, numbered as the registry numbers them.
constexpr uint32_t STORED_TEXT = 1;             // REG_SZ
constexpr uint32_t STORED_EXPANDABLE_TEXT = 2;  // REG_EXPAND_SZ
constexpr uint32_t STORED_BINARY = 3;           // REG_BINARY
constexpr uint32_t STORED_WORD = 4;             // REG_DWORD: a little-endian word, the same bytes

// A value as read or to be written: Size bytes at Bytes.
struct StoredValue {
  uint32_t Type;
  const uint8_t* Bytes;
  size_t Size;
};

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
static_assert(sizeof(StoredDate) == 16);
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

// The driver's record of a cached file, a value named by the file's name.
struct CachedFileRecord {
  uint64_t FileStamp;
  StoredFileTime LastUsed;
  uint32_t Hits;
  uint32_t Reserved;  // the driver's own; never read
};
static_assert(sizeof(StoredFileTime) == 8);
static_assert(sizeof(CachedFileRecord) == 24);
static_assert(offsetof(CachedFileRecord, LastUsed) == 8);
static_assert(offsetof(CachedFileRecord, Hits) == 16);

// "CacheDir": a path of at most CACHE_DIR_SIZE - 1 characters and its NUL.
constexpr size_t CACHE_DIR_SIZE = 260;

// The values the driver and the Manager store as bytes ("Data", "Data2",
// "Other", "DB", a file's record, "Total") are read when stored as bytes or
// as a word; a text, or a value longer than its record, is refused: false,
// and the record stays as it is.

// "Data", "Data2", "DB": a shorter value replaces only the leading bytes.
bool DecodeCacheSettings(const StoredValue& value, CacheSettingsRecord* record);
bool DecodeHousekeeping(const StoredValue& value, HousekeepingRecord* record);
bool DecodeEditModeTable(const StoredValue& value, EditModeRecord* record);
// "Other": the whole record, zero beyond a shorter value.
bool DecodeSavings(const StoredValue& value, SavingsRecord* record);
// A file's record: exactly 24 bytes; a shorter one would leave LastUsed
// zero, the oldest date there is.
bool DecodeCachedFileRecord(const StoredValue& value, CachedFileRecord* record);
// "Total": the count of kilobytes saved; a shorter value fills only its own
// bytes of a count that starts at 0.
bool DecodeTotal(const StoredValue& value, uint32_t* total);

// "DB" missing or unreadable: edit mode on, with ".BMP", ".DOC", ".TXT",
// ".WRI" and ".XLS" in slots 0 to 4; the other slots keep what they hold.
void SetDefaultEditTypes(EditModeRecord* table);
// "Other" missing or unreadable: savings counted from today, line speed 1,
// costs 0.0 per megabyte and 20.0 per hour.
SavingsRecord DefaultSavings(StoredDate today);

// "CacheDir" read back: a text or bytes of at most CACHE_DIR_SIZE bytes
// names the path up to its first NUL, cut to CACHE_DIR_SIZE - 1 characters.
// Any other value names no folder: the path is empty.
void DecodeCacheDir(const StoredValue& value, char (&directory)[CACHE_DIR_SIZE]);

// What each value is written as: the record's own bytes, a text for "CacheDir"
// (its characters without the NUL).
template <typename Record>
StoredValue RecordValue(const Record& record) {
  return {STORED_BINARY, reinterpret_cast<const uint8_t*>(&record), sizeof record};
}
StoredValue CacheDirValue(const char (&directory)[CACHE_DIR_SIZE]);

// A stored "Data" with only its flag changed to cacheActive: as many of the
// flag's four bytes as the value holds. False, and bytes unchanged, when the
// value is not one "Data" is read from; it is then not written back.
bool PutCacheActive(uint32_t cacheActive, uint32_t type, uint8_t* bytes, size_t size);
