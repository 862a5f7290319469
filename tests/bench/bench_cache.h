// What the benchmarks share: a cache folder of many files with a record
// each, made and removed again, the floor's scan, and the timing.
#pragma once
#include <windows.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <type_traits>

#include "settings/cache_folder.h"
#include "settings/cached_records.h"
#include "settings/registry_key.h"
#include "settings/settings.h"

struct BenchFile {
  char name[64];
  uint32_t size;  // bytes; the file is sparse, only its size matters
  CachedFileRecord record;
};
// Describes the index-th file of a benchmark's cache.
using DescribeBenchFile = void (*)(int index, BenchFile* file);

inline double Milliseconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - since).count();
}

// Runs work the given number of times and returns the best time in ms:
// the whole call's, or what work returns when it times a part itself.
template <typename Work>
double BestOf(int rounds, Work work) {
  double best = 1e300;
  for (int round = 0; round < rounds; round++) {
    auto start = std::chrono::steady_clock::now();
    double took;
    if constexpr (std::is_void_v<decltype(work())>) {
      work();
      took = Milliseconds(start);
    } else {
      took = work();
    }
    if (took < best) best = took;
  }
  return best;
}

inline void RemoveBenchCache(HKEY key, int count, DescribeBenchFile describe) {
  for (int i = 0; i < count; i++) {
    BenchFile file = {};
    describe(i, &file);
    char path[MAX_PATH];
    if (CachedFilePath(file.name, path, sizeof path)) DeleteFileA(path);
    RegDeleteValueA(key, file.name);
  }
  RemoveDirectoryA(CacheDirectory);
}

// The files in CacheDirectory and their records under the driver's key;
// false (and nothing left behind) when any could not be made.
inline bool MakeBenchCache(HKEY key, int count, DescribeBenchFile describe) {
  CreateDirectoryA(CacheDirectory, nullptr);
  for (int i = 0; i < count; i++) {
    BenchFile file = {};
    describe(i, &file);
    char path[MAX_PATH];
    HANDLE handle = INVALID_HANDLE_VALUE;
    if (CachedFilePath(file.name, path, sizeof path))
      handle = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    bool made = handle != INVALID_HANDLE_VALUE;
    if (made) {
      SetFilePointer(handle, static_cast<LONG>(file.size), nullptr, FILE_BEGIN);
      SetEndOfFile(handle);
      CloseHandle(handle);
      made = RegSetValueExA(key, file.name, 0, REG_BINARY, reinterpret_cast<const BYTE*>(&file.record),
                            sizeof file.record) == ERROR_SUCCESS;
    }
    if (!made) {
      RemoveBenchCache(key, count, describe);
      return false;
    }
  }
  return true;
}

struct FloorScan {
  uint64_t minimumSize;
  int read;
};

inline bool ReadRecordOfScannedFile(const CacheFolderEntry& entry, void* context) {
  auto* floor = static_cast<FloorScan*>(context);
  CachedFileRecord record;
  if ((floor->minimumSize == 0 || entry.Size > floor->minimumSize) && ReadCachedFileRecord(entry.Name, &record))
    floor->read++;
  return true;
}

// The floor every reader of the cache shares: one scan of the cache folder
// and, per file (with a minimumSize, only per file larger than that), the
// record read as the Manager reads records (the driver's key opened,
// queried and closed). Returns the records read.
inline int ScanAndReadRecords(uint64_t minimumSize) {
  FloorScan floor = {minimumSize, 0};
  ScanCacheFolder(ReadRecordOfScannedFile, &floor);
  return floor.read;
}

// The driver's key (created if the bench prefix has none yet) with the
// benchmark's cache made in folder, which becomes CacheDirectory; null,
// after saying why, on failure.
inline HKEY OpenBenchCache(const char* folder, int count, DescribeBenchFile describe) {
  snprintf(CacheDirectory, sizeof CacheDirectory, "%s", folder);
  HKEY key = nullptr;
  if (RegCreateKeyExA(DRIVER_KEY_ROOT, DRIVER_KEY_PATH, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
      ERROR_SUCCESS) {
    fprintf(stderr, "cannot open the driver's key\n");
    return nullptr;
  }
  if (!MakeBenchCache(key, count, describe)) {
    fprintf(stderr, "cannot create the cached files\n");
    RegCloseKey(key);
    return nullptr;
  }
  return key;
}
