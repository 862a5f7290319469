// Start-up housekeeping over 10,000 cached files against the least that any
// such pass must do: one directory scan and one registry query per file.
// Prints both times and their ratio; not a test.
#include <windows.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "app/housekeeping.h"
#include "settings/registry_key.h"
#include "settings/settings.h"

constexpr int FILE_COUNT = 10000;
constexpr const char* BENCH_CACHE = "C:\\BENCHCACHE";

static double Milliseconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - since).count();
}

static void FileName(int index, char* name, size_t size) { snprintf(name, size, "bench%05d.dat", index); }

static bool Prepare(HKEY key) {
  CreateDirectoryA(BENCH_CACHE, nullptr);
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  uint8_t record[24] = {1};
  memcpy(record + 8, &now, sizeof now);  // used today: kept, so every run sees the same files
  for (int i = 0; i < FILE_COUNT; i++) {
    char name[32], path[MAX_PATH];
    FileName(i, name, sizeof name);
    snprintf(path, sizeof path, "%s\\%s", BENCH_CACHE, name);
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    if (RegSetValueExA(key, name, 0, REG_BINARY, record, sizeof record) != ERROR_SUCCESS) return false;
  }
  return true;
}

static void CleanUp(HKEY key) {
  for (int i = 0; i < FILE_COUNT; i++) {
    char name[32], path[MAX_PATH];
    FileName(i, name, sizeof name);
    snprintf(path, sizeof path, "%s\\%s", BENCH_CACHE, name);
    DeleteFileA(path);
    RegDeleteValueA(key, name);
  }
  RemoveDirectoryA(BENCH_CACHE);
}

// The floor: the scan and one query per file on a key opened once.
static int BareScan(HKEY key) {
  char pattern[MAX_PATH];
  snprintf(pattern, sizeof pattern, "%s\\*.*", BENCH_CACHE);
  WIN32_FIND_DATAA entry;
  HANDLE scan = FindFirstFileA(pattern, &entry);
  if (scan == INVALID_HANDLE_VALUE) return 0;
  int found = 0;
  do {
    uint8_t record[24];
    DWORD size = sizeof record;
    if (RegQueryValueExA(key, entry.cFileName, nullptr, nullptr, record, &size) == ERROR_SUCCESS) found++;
  } while (FindNextFileA(scan, &entry));
  FindClose(scan);
  return found;
}

int main() {
  HKEY key;
  if (RegCreateKeyExA(DRIVER_KEY_ROOT, DRIVER_KEY_PATH, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
      ERROR_SUCCESS) {
    fprintf(stderr, "cannot open the driver's key\n");
    return 1;
  }
  if (!Prepare(key)) {
    fprintf(stderr, "cannot create the cached files\n");
    CleanUp(key);
    return 1;
  }
  snprintf(CacheDirectory, sizeof CacheDirectory, "%s", BENCH_CACHE);
  HousekeepingSettings = {1, 30};

  constexpr int ROUNDS = 3;
  double housekeeping = 1e300, bare = 1e300;
  int found = 0;
  for (int round = 0; round < ROUNDS; round++) {
    auto start = std::chrono::steady_clock::now();
    RemoveUnusedCachedFiles();
    double took = Milliseconds(start);
    if (took < housekeeping) housekeeping = took;
    start = std::chrono::steady_clock::now();
    found = BareScan(key);
    took = Milliseconds(start);
    if (took < bare) bare = took;
  }
  printf("cached files: %d (records found by the bare scan: %d)\n", FILE_COUNT, found);
  printf("start-up housekeeping: %.1f ms (best of %d)\n", housekeeping, ROUNDS);
  printf("bare scan + one query per file: %.1f ms (best of %d)\n", bare, ROUNDS);
  printf("ratio: %.2f\n", housekeeping / bare);
  CleanUp(key);
  RegCloseKey(key);
  return 0;
}
