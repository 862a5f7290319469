// Start-up housekeeping in the real Manager. Which files and records go, and
// what a stored folder name resolves to, are the unit tests' matter.
#include <cstdint>
#include <string>
#include <utility>

#include "manager_session.h"

namespace {

constexpr const char* kFolder = "C:\\HKCACHE";

class Housekeeping : public ManagerTest {
 protected:
  void SetUp() override {
    ManagerTest::SetUp();
    CreateDirectoryA(kFolder, nullptr);
  }
  void TearDown() override {
    ManagerTest::TearDown();
    for (const std::string name : {"hk_old.dat", "hk_young.dat"}) {
      DeleteFileA((std::string(kFolder) + "\\" + name).c_str());
      DeleteFileA(("C:\\" + name).c_str());
      DeleteDriverValue(name.c_str());
    }
    RemoveDirectoryA(kFolder);
  }
};

// A first start with a period of 10 days deletes a file unused for 11 and
// its record, and keeps one unused for 9. A folder named without a drive
// root ("\\?\") works and stays stored as it is, and the watchdog's check
// stops no caching for want of a root; without a stored folder the root of
// C: is the cache folder, and it is stored.
TEST_F(Housekeeping, StartDeletesByTheStoredPeriodInTheStoredFolder) {
  const struct { const char* stored; std::string folder; } rows[] = {{"\\\\?\\C:\\HKCACHE", kFolder}, {nullptr, "C:"}};
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  const uint64_t time = (uint64_t{now.dwHighDateTime} << 32) | now.dwLowDateTime;
  for (const auto& row : rows) {
    SCOPED_TRACE(row.folder);
    for (const char* name : kSettingsValues) DeleteDriverValue(name);
    WriteDriverValue("Data2", REG_BINARY, Concat({Le32(1), Le32(10)}));
    if (row.stored) WriteDriverValue("CacheDir", REG_SZ, Text(row.stored));
    else DeleteDriverValue("CacheDir");
    for (const auto& [name, daysAgo] : {std::pair{"hk_old.dat", 11ull}, std::pair{"hk_young.dat", 9ull}}) {
      CloseHandle(CreateFileA((row.folder + "\\" + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
      const uint64_t lastUsed = time - daysAgo * 864000000000ull;
      WriteDriverValue(name, REG_BINARY, RecordBytes(1, lastUsed, 1));
    }

    run = StartManager();
    ASSERT_NE(run.window, nullptr);
    if (row.stored) {
      SendAndWait(run.window, WM_TIMER, WATCHDOG_TIMER, 0);  // the watchdog's check, now
      for (const std::string& request : DriverLog()) EXPECT_EQ(request.find("CACHE_DISK_LOW"), std::string::npos);
    }
    EXPECT_EQ(QuitManager(run), 0u);
    run = ManagerRun{};

    Bytes value;
    EXPECT_EQ(GetFileAttributesA((row.folder + "\\hk_old.dat").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_FALSE(ReadDriverValue("hk_old.dat", &value));
    EXPECT_NE(GetFileAttributesA((row.folder + "\\hk_young.dat").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(ReadDriverValue("hk_young.dat", &value));
    ASSERT_TRUE(ReadDriverValue("CacheDir", &value));
    EXPECT_STREQ(std::string(value.begin(), value.end()).c_str(), row.stored ? row.stored : "C:\\");
  }
}

}  // namespace
