// Day counting, deleting the one listed file, start-up housekeeping over a
// real folder and records, and the watchdog's arithmetic.
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

SYSTEMTIME Date(WORD year, WORD month, WORD day, WORD hour = 0) { return {year, month, 0, day, hour, 0, 0, 0}; }

// Month and year ends count one day, every fourth year is a leap year (2100
// too), the hour does not count, and a later last use gives a negative age.
TEST(DayNumber, DaysBetweenDates) {
  const struct { SYSTEMTIME later, earlier; int days; } cases[] = {
      {Date(2026, 11, 1), Date(2026, 10, 31), 1}, {Date(2026, 10, 1), Date(2026, 9, 30), 1},
      {Date(2027, 1, 1), Date(2026, 12, 31), 1},  {Date(2026, 3, 31, 0), Date(2026, 3, 1, 23), 30},
      {Date(2026, 12, 6), Date(2025, 12, 6), 365}, {Date(1999, 3, 1), Date(1999, 2, 28), 1},
      {Date(2100, 3, 1), Date(2100, 2, 28), 2},   {Date(2101, 1, 1), Date(2100, 1, 1), 366},
      {Date(2026, 12, 6), Date(2026, 12, 8), -2},
  };
  for (const auto& c : cases)
    EXPECT_EQ(DaysBetween(c.later, c.earlier), c.days) << c.later.wYear << "-" << c.later.wMonth << "-" << c.later.wDay;
  EXPECT_EQ(DayNumber(Date(1, 1, 1)), 1);
}

TEST(DueForDeletion, AgeAgainstThePeriod) {
  const struct { int age; int32_t days; bool due; } cases[] = {
      {30, 30, true}, {29, 30, false}, {0, 0, true},        {-1, 0, false},
      {0, -1, true},  {-1, -30, false}, {5, INT32_MIN, true}, {INT32_MAX, INT32_MAX, true},
  };
  for (const auto& c : cases) EXPECT_EQ(DueForDeletion(c.age, c.days), c.due) << c.age << " days, period " << c.days;
}

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

struct MadeFile { std::wstring name; DWORD size; };

// A cache folder of the test's own. Files are made through \\?\ paths,
// which keep what the ANSI calls cannot spell: a trailing dot or blank, a
// character outside the code page, a path beyond MAX_PATH.
class CacheFolderFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    folder = std::string(temp) + "ft_cache_unit";
    CreateDirectoryA(folder.c_str(), nullptr);
    snprintf(CacheDirectory, sizeof CacheDirectory, "%s", folder.c_str());
  }
  void TearDown() override {
    RemoveDirectoryA(folder.c_str());
    snprintf(CacheDirectory, sizeof CacheDirectory, "C:\\");
  }
  std::wstring Path(const std::wstring& name) const {
    return L"\\\\?\\" + std::wstring(folder.begin(), folder.end()) + L"\\" + name;
  }
  void Make(const MadeFile& file) const { ASSERT_TRUE(MakeFile(Path(file.name), file.size)); }
  bool There(const std::wstring& name) const {
    return GetFileAttributesW(Path(name).c_str()) != INVALID_FILE_ATTRIBUTES;
  }
  void Remove(const std::wstring& name) const {
    SetFileAttributesW(Path(name).c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(Path(name).c_str());
  }

  std::string folder;
};

TEST_F(CacheFolderFiles, DeletesTheListedFileAndNeverAnotherItsNameReaches) {
  // The twin (none when unnamed) always stays; spelling: the target's name as
  // the ANSI scan spells it; nameShared: with the twin, but for case;
  // dropShortName: as if the scan had given none.
  struct Case { const char* label; MadeFile target, twin; const char* spelling; bool nameShared, dropShortName, gone; };
  const std::wstring omega = L"\u03A9mega.dat";
  const Case cases[] = {
      {"a trailing dot", {L"dot.", 3}, {L"dot", 0}, "dot.", false, false, true},
      {"a trailing dot, no short name", {L"dot.", 3}, {L"dot", 0}, "dot.", false, true, false},
      {"the plain twin", {L"dot", 0}, {L"dot.", 3}, "dot", false, false, true},
      {"a best-fit spelling", {omega, 3}, {L"Omega.dat", 3}, "Omega.dat", true, false, true},
      {"the real spelling", {L"Omega.dat", 3}, {omega, 3}, "Omega.dat", true, false, true},
      {"a best-fit spelling alone", {omega, 3}, {}, "Omega.dat", false, false, true},
      {"a trailing blank, nothing at its spelling", {L"blank ", 1}, {}, "blank ", false, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    Make(c.target);
    if (!c.twin.name.empty()) Make(c.twin);
    WIN32_FIND_DATAW found = {};
    FindClose(FindFirstFileW(Path(c.target.name).c_str(), &found));
    std::wstring alias = c.dropShortName ? L"" : found.cAlternateFileName;
    std::string shortName(alias.begin(), alias.end());
    EXPECT_EQ(DeleteListedFile({c.spelling, shortName.c_str(), c.target.size}, c.nameShared), c.gone);
    EXPECT_EQ(There(c.target.name), !c.gone);
    if (!c.twin.name.empty()) EXPECT_TRUE(There(c.twin.name));
    Remove(c.target.name);
    Remove(c.twin.name);
  }
}

// Switched off, housekeeping keeps everything; on, with 30 days, it deletes
// each due file and then its record, and nothing else: a file it cannot
// delete keeps its record, and only 24-byte values are records. A file's
// record is named in lower case (REG_NONE: it has none).
TEST_F(CacheFolderFiles, HousekeepingDeletesDueFilesWithTheirRecordsOnly) {
  enum Kind { FILE, FOLDER, READ_ONLY, IN_USE };
  struct Row { std::wstring file; DWORD type; Bytes value; Kind kind; bool gone; };
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  const uint64_t day = 864000000000ull, time = (uint64_t{now.dwHighDateTime} << 32) | now.dwLowDateTime;
  const uint64_t midnight = time - time % day;  // FILETIME counts from a midnight
  auto Record = [](uint64_t lastUsed) { return RecordBytes(1, lastUsed, 1); };
  const Bytes never = Record(0);
  const Row rows[] = {
      {L"old30.dat", REG_BINARY, Record(midnight - 29 * day - 1), FILE, true},  // 30 days ago, just before midnight
      {L"young29.dat", REG_BINARY, Record(midnight - 29 * day), FILE, false},
      {L"Never.DAT", REG_BINARY, never, FILE, true},
      {L"future.dat", REG_BINARY, Record(midnight + 2 * day), FILE, false},
      {L"norecord.dat", REG_NONE, {}, FILE, false},
      {L"empty.dat", REG_BINARY, {}, FILE, false},
      {L"short16.dat", REG_BINARY, Bytes(never.begin(), never.begin() + 16), FILE, false},
      {L"short23.dat", REG_BINARY, Bytes(never.begin(), never.begin() + 23), FILE, false},
      {L"long25.dat", REG_BINARY, Concat({never, {0}}), FILE, false},
      {L"dword.dat", REG_DWORD, Le32(0), FILE, false},
      {L".dotted.dat", REG_BINARY, never, FILE, false},
      {L"olddir", REG_BINARY, never, FOLDER, false},
      {L"readonly.dat", REG_BINARY, never, READ_ONLY, false},
      {L"inuse.dat", REG_BINARY, never, IN_USE, false},
      {std::wstring(251, L'n') + L".dat", REG_BINARY, never, FILE, true},  // reached by its short name only
  };
  auto recordName = [](const Row& row) {
    std::string name(row.file.begin(), row.file.end());
    return std::string(CharLowerA(&name[0]));
  };
  HANDLE held = INVALID_HANDLE_VALUE;
  for (const Row& row : rows) {
    if (row.kind == FOLDER) CreateDirectoryW(Path(row.file).c_str(), nullptr);
    else Make({row.file, 1});
    if (row.type != REG_NONE) WriteDriverValue(recordName(row).c_str(), row.type, row.value);
    if (row.kind == READ_ONLY) SetFileAttributesW(Path(row.file).c_str(), FILE_ATTRIBUTE_READONLY);
    if (row.kind == IN_USE)
      held = CreateFileW(Path(row.file).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  }
  for (uint32_t autoDelete : {0u, 1u}) {
    HousekeepingSettings = {autoDelete, 30};
    RemoveUnusedCachedFiles();
    for (const Row& row : rows) {
      const bool gone = autoDelete && row.gone;
      Bytes value;
      EXPECT_EQ(There(row.file), !gone) << recordName(row) << (autoDelete ? "" : ", switched off");
      if (row.type != REG_NONE) EXPECT_EQ(ReadDriverValue(recordName(row).c_str(), &value), !gone) << recordName(row);
    }
  }
  CloseHandle(held);
  for (const Row& row : rows) {
    DeleteDriverValue(recordName(row).c_str());
    if (row.kind == FOLDER) RemoveDirectoryW(Path(row.file).c_str());
    else Remove(row.file);
  }
}

}  // namespace
