// Start-up housekeeping in the real Manager. Which files and records go, and
// what a stored folder name resolves to, are the unit tests' matter.
#include <cstdint>
#include <string>
#include <utility>

#include <gmock/gmock.h>

#include "manager_session.h"

namespace {

using ::testing::Contains;
using ::testing::Not;

// A first start with a period of 10 days deletes a file unused for 11 and
// its record, and keeps one unused for 9; the period is read again after
// the companion started, which may change it (here to 5 days). A folder
// named without a drive root ("\\?\") works and stays stored as it is, and
// the watchdog's check stops no caching for want of a root; without a
// stored folder the root of C: is the cache folder, and it is stored.
TEST_F(ManagerTest, HousekeepingAtStartDeletesByTheStoredPeriodInTheStoredFolder) {
  const struct { const char* stored; const char* folder; const char* companion; } rows[] = {
      {"\\\\?\\C:\\HKCACHE", "C:\\HKCACHE", nullptr},
      {nullptr, "C:", nullptr},
      {nullptr, "C:", "Data2 0100000005000000\n"},
  };
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  const uint64_t time = Ticks(now);
  for (const auto& row : rows) {
    SCOPED_TRACE(row.folder);
    for (const char* name : kRecordValues) DeleteDriverValue(name);
    WriteDriverValue("Data2", REG_BINARY, Concat({Le32(1), Le32(10)}));
    if (row.stored) WriteDriverValue("CacheDir", REG_SZ, Text(row.stored));
    else DeleteDriverValue("CacheDir");
    DeleteFileA(kAgentValues);
    if (row.companion) WriteTextFile(kAgentValues, row.companion);
    MadeFolder cache(row.folder);
    for (const auto& [name, daysAgo] : {std::pair{"hk_old.dat", 11ull}, std::pair{"hk_young.dat", 9ull}})
      ASSERT_TRUE(cache.Make(name, 0, RecordBytes(1, time - daysAgo * 864000000000ull, 1)));

    run = StartManager();
    ASSERT_NE(run.window, nullptr);
    if (row.stored) {
      SendAndWait(run.window, WM_TIMER, WATCHDOG_TIMER, 0);  // the watchdog's check, now
      EXPECT_THAT(DriverRequests(), Not(Contains("CACHE_DISK_LOW 0x8103")));
    }
    EXPECT_EQ(QuitManager(run), 0u);
    run = ManagerRun{};

    Bytes value;
    EXPECT_FALSE(cache.There("hk_old.dat") || ReadDriverValue("hk_old.dat", &value));
    EXPECT_EQ(cache.There("hk_young.dat") && ReadDriverValue("hk_young.dat", &value), row.companion == nullptr);
    ASSERT_TRUE(ReadDriverValue("CacheDir", &value));
    EXPECT_STREQ(std::string(value.begin(), value.end()).c_str(), row.stored ? row.stored : "C:\\");
  }
}

}  // namespace
