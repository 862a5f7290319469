// Every settings value, a file's record and "Total" from any bytes of any
// type (input: a type byte, then the value). A value refused leaves its
// record alone; one taken is no longer than its record, replaces its leading
// bytes and leaves the rest (or zeroes it), and the record reads back from
// the bytes it is written as; "CacheDir" ends within its buffer and within
// what was read; SaveCacheActive changes only the flag's bytes.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "settings/stored_records.h"

template <typename Record>
static void Check(bool (*decode)(const StoredValue&, Record*), const StoredValue& value, bool zeroBeyond) {
  Record record, again;
  memset(&record, 0x5A, sizeof record);
  memset(&again, 0xA5, sizeof again);
  const auto* bytes = reinterpret_cast<const uint8_t*>(&record);
  const bool taken = decode(value, &record);
  const size_t replaced = taken ? value.Size : 0;
  if (taken && (value.Size > sizeof record || memcmp(bytes, value.Bytes, value.Size) != 0)) abort();
  for (size_t i = replaced; i < sizeof record; i++)
    if (bytes[i] != (taken && zeroBeyond ? 0 : 0x5A)) abort();
  if (taken && (!decode(RecordValue(record), &again) || memcmp(&again, &record, sizeof record) != 0)) abort();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const StoredValue value = {data[0] & 0x0Fu, data + 1, size - 1};
  Check(DecodeCacheSettings, value, false);
  Check(DecodeHousekeeping, value, false);
  Check(DecodeEditModeTable, value, false);
  Check(DecodeSavings, value, true);
  Check(DecodeCachedFileRecord, value, false);
  Check(DecodeTotal, value, true);

  char directory[CACHE_DIR_SIZE], again[CACHE_DIR_SIZE];
  DecodeCacheDir(value, directory);
  const size_t length = strnlen(directory, sizeof directory);
  if (length == sizeof directory || length > value.Size || memcmp(directory, value.Bytes, length) != 0) abort();
  DecodeCacheDir(CacheDirValue(directory), again);
  if (length > 0 && strcmp(again, directory) != 0) abort();

  uint8_t stored[32];
  const size_t storedSize = value.Size < sizeof stored ? value.Size : sizeof stored;
  memcpy(stored, value.Bytes, storedSize);
  const uint32_t flag = 0x01020304;
  const size_t flagBytes = PutCacheActive(flag, value.Type, stored, storedSize) ? (storedSize < 4 ? storedSize : 4) : 0;
  if (memcmp(stored, &flag, flagBytes) || memcmp(stored + flagBytes, value.Bytes + flagBytes, storedSize - flagBytes))
    abort();
  return 0;
}
