// Day counting for the age of cached files, deleting the one listed file,
// housekeeping's records, and the watchdog's arithmetic.
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

SYSTEMTIME Date(int year, int month, int day, int hour = 0) {
  SYSTEMTIME date = {};
  date.wYear = static_cast<WORD>(year);
  date.wMonth = static_cast<WORD>(month);
  date.wDay = static_cast<WORD>(day);
  date.wHour = static_cast<WORD>(hour);
  return date;
}

TEST(DayNumber, MonthAndYearEndsCountOneDay) {
  EXPECT_EQ(DaysBetween(Date(2026, 11, 1), Date(2026, 10, 31)), 1);
  EXPECT_EQ(DaysBetween(Date(2026, 10, 1), Date(2026, 9, 30)), 1);
  EXPECT_EQ(DaysBetween(Date(2027, 1, 1), Date(2026, 12, 31)), 1);
  EXPECT_EQ(DaysBetween(Date(2026, 3, 31, 0), Date(2026, 3, 1, 23)), 30);
  EXPECT_EQ(DaysBetween(Date(2026, 12, 6), Date(2025, 12, 6)), 365);
}

TEST(DayNumber, EveryFourthYearIsALeapYear) {
  EXPECT_EQ(DaysBetween(Date(2000, 3, 1), Date(2000, 2, 28)), 2);
  EXPECT_EQ(DaysBetween(Date(1999, 3, 1), Date(1999, 2, 28)), 1);
  EXPECT_EQ(DaysBetween(Date(1900, 3, 1), Date(1900, 2, 28)), 2);
  EXPECT_EQ(DaysBetween(Date(2100, 3, 1), Date(2100, 2, 28)), 2);
  EXPECT_EQ(DaysBetween(Date(2101, 1, 1), Date(2100, 1, 1)), 366);
}

TEST(DayNumber, LaterLastUseGivesNegativeAge) {
  EXPECT_EQ(DaysBetween(Date(2026, 12, 6), Date(2026, 12, 8)), -2);
  EXPECT_EQ(DayNumber(Date(1, 1, 1)), 1);
  // A zero FILETIME is 1 January 1601.
  FILETIME zero = {};
  SYSTEMTIME origin;
  ASSERT_TRUE(FileTimeToSystemTime(&zero, &origin));
  EXPECT_EQ(DaysBetween(Date(1601, 1, 2), origin), 1);
}

TEST(DueForDeletion, AgeAgainstThePeriod) {
  const struct {
    int age;
    int32_t days;
    bool due;
  } cases[] = {
      {30, 30, true},   {29, 30, false},       {0, 0, true},          {1, 0, true},
      {-1, 0, false},   {0, -1, true},         {5, INT32_MIN, true},  {-1, -30, false},
      {-400, INT32_MIN, false}, {INT32_MAX, INT32_MAX, true}, {INT32_MAX - 1, INT32_MAX, false},
  };
  for (const auto& c : cases) EXPECT_EQ(DueForDeletion(c.age, c.days), c.due) << c.age << " days, period " << c.days;
}

TEST(FreeSpace, ProductDoesNotWrapAbove4GB) {
  EXPECT_EQ(FreeMegabytes(8, 512, 2 * 1024 * 1024), 8192u);       // 8 GB
  EXPECT_EQ(FreeMegabytes(64, 4096, 0xFFFFFFFFu), 0x3FFFFFFFull);  // 1 PB less a cluster
  EXPECT_EQ(FreeMegabytes(1, 512, 204801), 100u);                 // 100 MB and 512 bytes, rounded down
  EXPECT_EQ(FreeMegabytes(0, 0, 0), 0u);
}

TEST(FreeSpace, RootComesFromTheCacheDirectory) {
  char root[4];
  CacheDriveRoot("D:\\CACHE", root);
  EXPECT_STREQ(root, "D:\\");
  CacheDriveRoot("E:", root);
  EXPECT_EQ(memcmp(root, "E:\0", 4), 0);
  CacheDriveRoot("", root);
  EXPECT_EQ(root[0], '\0');
}

struct MadeFile {
  std::wstring name;
  DWORD size;
};

// A cache folder of the test's own. Files are made through \\?\ paths,
// which keep what the ANSI calls cannot spell: a trailing dot or blank, a
// character outside the code page.
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
  void Make(const MadeFile& file) const {
    HANDLE handle = CreateFileW(Path(file.name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(handle, INVALID_HANDLE_VALUE);
    SetFilePointer(handle, static_cast<LONG>(file.size), nullptr, FILE_BEGIN);
    SetEndOfFile(handle);
    CloseHandle(handle);
  }
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
  struct Case {
    const char* label;
    MadeFile target, twin;  // the twin (none when unnamed) always stays
    const char* spelling;   // the target's name as the ANSI scan spells it
    bool nameShared;        // with the twin's spelling, but for case
    bool dropShortName;     // as if the scan had given none
    bool gone;
  };
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

// A due file goes with its record, and only that file; a file that stays
// keeps its record.
TEST_F(CacheFolderFiles, HousekeepingDeletesARecordOnlyWithItsFile) {
  enum Kind { PLAIN, READ_ONLY, IN_USE };
  struct Row {
    const wchar_t* name;
    const char* recordName;
    bool due;
    Kind kind;
    bool kept;  // file and record alike
  };
  const Row rows[] = {{L"old.dat", "old.dat", true, PLAIN, false},
                      {L"readonly.dat", "readonly.dat", true, READ_ONLY, true},
                      {L"inuse.dat", "inuse.dat", true, IN_USE, true},
                      {L"dot.", "dot.", true, PLAIN, false},
                      {L"dot", "dot", false, PLAIN, true}};
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  HANDLE held = INVALID_HANDLE_VALUE;
  for (const Row& row : rows) {
    Make({row.name, 1});
    FILETIME lastUsed = row.due ? FILETIME{} : now;
    WriteDriverValue(row.recordName, REG_BINARY,
                     Concat({Le32(1), Le32(0), Le32(lastUsed.dwLowDateTime), Le32(lastUsed.dwHighDateTime), Le32(1),
                             Le32(0)}));
    if (row.kind == READ_ONLY) SetFileAttributesW(Path(row.name).c_str(), FILE_ATTRIBUTE_READONLY);
    if (row.kind == IN_USE)
      held = CreateFileW(Path(row.name).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  }
  HousekeepingSettings = {1, 30};
  RemoveUnusedCachedFiles();
  CloseHandle(held);

  for (const Row& row : rows) {
    Bytes record;
    EXPECT_EQ(There(row.name), row.kept) << row.recordName;
    EXPECT_EQ(ReadDriverValue(row.recordName, &record), row.kept) << row.recordName;
    DeleteDriverValue(row.recordName);
    Remove(row.name);
  }
}

}  // namespace
