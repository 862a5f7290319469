// Deleting the one listed file, start-up housekeeping over a real folder and
// records, and the watchdog's arithmetic.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "app/housekeeping.h"
#include "app/watchdog.h"
#include "harness.h"
#include "settings/cache_folder.h"
#include "settings/settings.h"

namespace {

TEST(FreeSpace, MegabytesDoNotWrapAbove4GBAndTheRootComesFromTheCacheDirectory) {
  EXPECT_EQ(FreeMegabytes(8, 512, 2 * 1024 * 1024), 8192u);       // 8 GB
  EXPECT_EQ(FreeMegabytes(64, 4096, 0xFFFFFFFFu), 0x3FFFFFFFull);  // 1 PB less a cluster
  EXPECT_EQ(FreeMegabytes(1, 512, 204801), 100u);                 // 100 MB and 512 bytes, rounded down
  char root[4];
  CacheDriveRoot("D:\\CACHE", root);
  EXPECT_STREQ(root, "D:\\");
  CacheDriveRoot("E:", root);
  EXPECT_EQ(memcmp(root, "E:\0", 4), 0);
  CacheDriveRoot("", root);
  EXPECT_EQ(root[0], '\0');
}

// A cache folder of the test's own as the cache directory.
class CacheFolderFiles : public ::testing::Test {
 protected:
  void SetUp() override { snprintf(CacheDirectory, sizeof CacheDirectory, "%s", cache.path.c_str()); }
  void TearDown() override { snprintf(CacheDirectory, sizeof CacheDirectory, "C:\\"); }
  MadeFolder cache{TempPath("ft_cache_unit")};
};

TEST_F(CacheFolderFiles, DeletesTheListedFileAndNeverAnotherItsNameReaches) {
  // The twin (none when unnamed) always stays; spelling: the target's name as
  // the ANSI scan spells it; nameShared: with the twin, but for case;
  // dropShortName: as if the scan had given none.
  struct File { std::string name; DWORD size; };
  struct Case { const char* label; File target, twin; const char* spelling; bool nameShared, dropShortName, gone; };
  const std::string omega = "\xCE\xA9mega.dat";
  const Case cases[] = {
      {"a trailing dot", {"dot.", 3}, {"dot", 0}, "dot.", false, false, true},
      {"a trailing dot, no short name", {"dot.", 3}, {"dot", 0}, "dot.", false, true, false},
      {"the plain twin", {"dot", 0}, {"dot.", 3}, "dot", false, false, true},
      {"a best-fit spelling", {omega, 3}, {"Omega.dat", 3}, "Omega.dat", true, false, true},
      {"the real spelling", {"Omega.dat", 3}, {omega, 3}, "Omega.dat", true, false, true},
      {"a best-fit spelling alone", {omega, 3}, {}, "Omega.dat", false, false, true},
      {"a trailing blank, nothing at its spelling", {"blank ", 1}, {}, "blank ", false, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    for (const File& file : {c.target, c.twin})
      if (!file.name.empty()) ASSERT_TRUE(cache.Make(file.name, file.size));
    WIN32_FIND_DATAW found = {};
    FindClose(FindFirstFileW(cache.Path(c.target.name).c_str(), &found));
    std::wstring alias = c.dropShortName ? L"" : found.cAlternateFileName;
    std::string shortName(alias.begin(), alias.end());
    EXPECT_EQ(DeleteListedFile({c.spelling, shortName.c_str(), c.target.size}, c.nameShared), c.gone);
    EXPECT_EQ(cache.There(c.target.name), !c.gone);
    if (!c.twin.name.empty()) EXPECT_TRUE(cache.There(c.twin.name));
    cache.Clear();
  }
}

// Switched off, housekeeping keeps everything; on, with 30 days, it deletes
// each due file and then its record, and nothing else: a file it cannot
// delete keeps its record, and a value of another length is no record. A
// file's record is named in lower case (REG_NONE: it has none).
TEST_F(CacheFolderFiles, HousekeepingDeletesDueFilesWithTheirRecordsOnly) {
  enum Kind { FILE, FOLDER, READ_ONLY, IN_USE };
  struct Row { std::string file; DWORD type; Bytes value; Kind kind; bool gone; };
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  const uint64_t day = 864000000000ull, time = Ticks(now);
  const uint64_t midnight = time - time % day;  // FILETIME counts from a midnight
  auto Record = [](uint64_t lastUsed) { return RecordBytes(1, lastUsed, 1); };
  const Bytes never = Record(0);
  const Row rows[] = {
      {"old30.dat", REG_BINARY, Record(midnight - 29 * day - 1), FILE, true},  // 30 days ago, just before midnight
      {"young29.dat", REG_BINARY, Record(midnight - 29 * day), FILE, false},
      {"Never.DAT", REG_BINARY, never, FILE, true},
      {"future.dat", REG_BINARY, Record(midnight + 2 * day), FILE, false},
      {"nodate.dat", REG_BINARY, Record(0x8000000000000000ull), FILE, false},  // a last use no date stands for
      {"norecord.dat", REG_NONE, {}, FILE, false},
      {"short23.dat", REG_BINARY, Bytes(never.begin(), never.begin() + 23), FILE, false},
      {"long25.dat", REG_BINARY, Concat({never, {0}}), FILE, false},
      {".dotted.dat", REG_BINARY, never, FILE, false},
      {"olddir", REG_BINARY, never, FOLDER, false},
      {"readonly.dat", REG_BINARY, never, READ_ONLY, false},
      {"inuse.dat", REG_BINARY, never, IN_USE, false},
      {std::string(251, 'n') + ".dat", REG_BINARY, never, FILE, true},  // reached by its short name only
  };
  auto recordName = [](const Row& row) {
    std::string name = row.file;
    return std::string(CharLowerA(&name[0]));
  };
  HANDLE held = INVALID_HANDLE_VALUE;
  for (const Row& row : rows) {
    ASSERT_TRUE(cache.Make(row.file, 1, {}, row.kind == FOLDER));
    if (row.type != REG_NONE) WriteDriverValue(recordName(row).c_str(), row.type, row.value);
    if (row.kind == READ_ONLY) SetFileAttributesW(cache.Path(row.file).c_str(), FILE_ATTRIBUTE_READONLY);
    if (row.kind == IN_USE)
      held = CreateFileW(cache.Path(row.file).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  }
  for (uint32_t autoDelete : {0u, 1u}) {
    HousekeepingSettings = {autoDelete, 30};
    RemoveUnusedCachedFiles();
    for (const Row& row : rows) {
      const bool gone = autoDelete && row.gone;
      Bytes value;
      EXPECT_EQ(cache.There(row.file), !gone) << recordName(row) << (autoDelete ? "" : ", switched off");
      if (row.type != REG_NONE) EXPECT_EQ(ReadDriverValue(recordName(row).c_str(), &value), !gone) << recordName(row);
    }
  }
  CloseHandle(held);
}

}  // namespace
