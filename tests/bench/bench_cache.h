// What the benchmarks share: a cache folder of many files with a record
// each, made and removed again, the floor's scan, and the timing.
#pragma once
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "settings/cache_folder.h"
#include "settings/cached_records.h"
#include "settings/registry_key.h"
#include "settings/settings.h"

struct BenchFile {
  char name[64];
  uint32_t size;  // bytes; the file is sparse, only its size matters
  CachedFileRecord record;
};
// Now, as a record's last use.
inline StoredFileTime NowAsFileTime() {
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  return {now.dwLowDateTime, now.dwHighDateTime};
}
// Describes the index-th file of a benchmark's cache.
using DescribeBenchFile = void (*)(int index, BenchFile* file);

inline double Milliseconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - since).count();
}

// One run of work in ms: the whole call's, or what work returns when it
// times a part itself.
template <typename Work>
double TimeOnce(Work& work) {
  auto start = std::chrono::steady_clock::now();
  if constexpr (std::is_void_v<decltype(work())>) {
    work();
    return Milliseconds(start);
  } else {
    return work();
  }
}

// Runs work the given number of times and returns the best time in ms.
template <typename Work>
double BestOf(int rounds, Work work) {
  double best = 1e300;
  for (int round = 0; round < rounds; round++) best = std::min(best, TimeOnce(work));
  return best;
}

// A piece of work and its floor in turns, so that both meet the same load
// of the machine; the best time of each.
template <typename Work, typename Floor>
std::pair<double, double> BestInTurns(int rounds, Work work, Floor floor) {
  double bestWork = 1e300, bestFloor = 1e300;
  for (int round = 0; round < rounds; round++) {
    bestWork = std::min(bestWork, TimeOnce(work));
    bestFloor = std::min(bestFloor, TimeOnce(floor));
  }
  return {bestWork, bestFloor};
}

// Every file at the top of the folder, and the folder.
inline void RemoveBenchFolder(const char* folder) {
  char pattern[MAX_PATH];
  snprintf(pattern, sizeof pattern, "%s\\*.*", folder);
  std::vector<std::string> paths;  // deleted once the scan has ended
  WIN32_FIND_DATAA found;
  HANDLE scan = FindFirstFileA(pattern, &found);
  if (scan != INVALID_HANDLE_VALUE) {
    do {
      if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        paths.push_back(std::string(folder) + "\\" + found.cFileName);
    } while (FindNextFileA(scan, &found));
    FindClose(scan);
  }
  for (const std::string& path : paths) DeleteFileA(path.c_str());
  RemoveDirectoryA(folder);
}

// The benchmark's folder and the driver's key with everything in them, as an
// earlier or interrupted run may have left them.
inline void RemoveBenchCache() {
  RemoveBenchFolder(CacheDirectory);
  RegDeleteKeyA(DRIVER_KEY_ROOT, DRIVER_KEY_PATH);  // it holds records only, no keys
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

// The folder as new files in it are best named. Under Wine every new name
// costs a search of the whole folder for the name in another case, so that
// a cache of 30,000 files took minutes to make; a path in the host's own
// spelling (\\?\unix\...) is looked up as written. Elsewhere the folder.
inline bool NewFileFolder(const char* folder, char* path, size_t size) {
  using UnixName = char*(CDECL*)(const WCHAR*);
  auto unixName = reinterpret_cast<UnixName>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
  WCHAR wideFolder[MAX_PATH];
  char* hostFolder = nullptr;
  if (unixName && MultiByteToWideChar(CP_ACP, 0, folder, -1, wideFolder, MAX_PATH))
    hostFolder = unixName(wideFolder);
  int length = hostFolder ? snprintf(path, size, "\\\\?\\unix%s", hostFolder) : snprintf(path, size, "%s", folder);
  if (hostFolder) HeapFree(GetProcessHeap(), 0, hostFolder);
  for (char* c = path; *c; c++)
    if (*c == '/') *c = '\\';
  return length > 0 && static_cast<size_t>(length) < size;
}

// The benchmark's cache in folder, which becomes CacheDirectory: exactly the
// files that describe gives, each with its record under the driver's key,
// whatever an earlier run left. False, after saying why and with nothing
// left behind, when any could not be made.
inline bool MakeBenchCache(const char* folder, int count, DescribeBenchFile describe) {
  snprintf(CacheDirectory, sizeof CacheDirectory, "%s", folder);
  auto start = std::chrono::steady_clock::now();
  RemoveBenchCache();
  double removing = Milliseconds(start);
  start = std::chrono::steady_clock::now();
  char newFiles[2 * MAX_PATH];
  bool made = CreateDirectoryA(folder, nullptr) && NewFileFolder(folder, newFiles, sizeof newFiles);
  for (int i = 0; made && i < count; i++) {
    BenchFile file = {};
    describe(i, &file);
    char path[3 * MAX_PATH];
    HANDLE handle = INVALID_HANDLE_VALUE;
    int length = snprintf(path, sizeof path, "%s\\%s", newFiles, file.name);
    if (length > 0 && static_cast<size_t>(length) < sizeof path)
      handle = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    made = handle != INVALID_HANDLE_VALUE;
    if (made) {
      SetFilePointer(handle, static_cast<LONG>(file.size), nullptr, FILE_BEGIN);
      SetEndOfFile(handle);
      CloseHandle(handle);
    }
  }
  double files = Milliseconds(start);
  start = std::chrono::steady_clock::now();
  HKEY key = nullptr;
  made = made && RegCreateKeyExA(DRIVER_KEY_ROOT, DRIVER_KEY_PATH, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                                 nullptr) == ERROR_SUCCESS;
  for (int i = 0; made && i < count; i++) {
    BenchFile file = {};
    describe(i, &file);
    made = RegSetValueExA(key, file.name, 0, REG_BINARY, reinterpret_cast<const BYTE*>(&file.record),
                          sizeof file.record) == ERROR_SUCCESS;
  }
  if (key) RegCloseKey(key);
  double records = Milliseconds(start);
  if (!made) {
    fprintf(stderr, "cannot make the cached files and their records in %s\n", folder);
    RemoveBenchCache();
    return false;
  }
  printf("cache of %d files made: leftovers removed in %.0f ms, files made in %.0f ms, records written in %.0f ms\n",
         count, removing, files, records);
  return true;
}
