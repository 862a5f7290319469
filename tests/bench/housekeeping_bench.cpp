// Start-up housekeeping over 10,000 cached files against the least that the
// pass must do: one directory scan and, per file, the record read as
// ReadLastUsed does it (the key opened, queried and closed).
// Prints both times and their ratio; not a test.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "app/housekeeping.h"
#include "bench_cache.h"
#include "settings/settings.h"

constexpr int FILE_COUNT = 10000;
constexpr const char* BENCH_CACHE = "C:\\BENCHCACHE";

// Empty files used today: kept, so every round sees the same files.
static void DescribeFile(int index, BenchFile* file) {
  snprintf(file->name, sizeof file->name, "bench%05d.dat", index);
  file->record.FileStamp = 1;
  GetSystemTimeAsFileTime(&file->record.LastUsed);
}

int main() {
  HKEY key = OpenBenchCache(BENCH_CACHE, FILE_COUNT, DescribeFile);
  if (!key) return 1;
  HousekeepingSettings = {1, 30};

  constexpr int ROUNDS = 3;
  int found = 0;
  double housekeeping = BestOf(ROUNDS, [] { RemoveUnusedCachedFiles(); });
  double floor = BestOf(ROUNDS, [&] { found = ScanAndReadRecords(0); });
  printf("cached files: %d (records read by the floor: %d)\n", FILE_COUNT, found);
  printf("start-up housekeeping: %.1f ms (best of %d)\n", housekeeping, ROUNDS);
  printf("floor, one scan + a record read per file: %.1f ms (best of %d)\n", floor, ROUNDS);
  printf("ratio: %.2f\n", housekeeping / floor);
  RemoveBenchCache(key, FILE_COUNT, DescribeFile);
  RegCloseKey(key);
  return 0;
}
