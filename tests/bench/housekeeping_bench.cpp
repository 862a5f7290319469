// Start-up housekeeping over 10,000 cached files (or the count given)
// against the least that the pass must do: one directory scan and, per
// file, the record read as ReadLastUsed does it (the key opened, queried and
// closed). Prints both times and their ratio; not a test.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/housekeeping.h"
#include "bench_cache.h"
#include "settings/settings.h"

static int FileCount = 10000;
constexpr const char* BENCH_CACHE = "C:\\BENCHCACHE";

// Empty files used today: kept, so every round sees the same files.
static void DescribeFile(int index, BenchFile* file) {
  snprintf(file->name, sizeof file->name, "bench%05d.dat", index);
  file->record.FileStamp = 1;
  file->record.LastUsed = NowAsFileTime();
}

int main(int argc, char** argv) {
  if (argc > 1) FileCount = atoi(argv[1]);
  if (FileCount < 1) return 1;
  if (!MakeBenchCache(BENCH_CACHE, FileCount, DescribeFile)) return 1;
  HousekeepingSettings = {1, 30};

  constexpr int ROUNDS = 3;
  int found = 0;
  auto [housekeeping, floor] =
      BestInTurns(ROUNDS, [] { RemoveUnusedCachedFiles(); }, [&] { found = ScanAndReadRecords(0); });
  printf("cached files: %d (records read by the floor: %d)\n", FileCount, found);
  printf("start-up housekeeping: %.1f ms (best of %d)\n", housekeeping, ROUNDS);
  printf("floor, one scan + a record read per file: %.1f ms (best of %d)\n", floor, ROUNDS);
  printf("ratio: %.2f\n", housekeeping / floor);
  RemoveBenchCache();
  return 0;
}
