// The free-space watchdog against real free space: the scripts map S: to a
// 64 MB filesystem.
#include <cstring>

#include "fake_tray.h"
#include "manager_session.h"

namespace {

constexpr const char* kFill = "S:\\fill.bin";
constexpr DWORD kCheckWaitMs = 4000;  // a check runs every 3000 ms

class Watchdog : public ManagerTest {
 protected:
  void SetUp() override {
    ManagerTest::SetUp();
    DeleteFileA(kFill);
    if (GetDriveTypeA("S:\\") == DRIVE_NO_ROOT_DIR)
      GTEST_SKIP() << "drive S: is not mapped (the test script could not mount it)";
    WriteDriverValue("CacheDir", REG_SZ, Text("S:\\CACHE"));
  }
  void TearDown() override {
    DeleteFileA(kFill);
    ManagerTest::TearDown();
    WriteDriverValue("CacheDir", REG_SZ, Text("C:\\FTCACHE"));
  }
  static void StoreMinimum(uint32_t minFreeMB, uint32_t active = 1) {
    WriteDriverValue("Data", REG_BINARY, Concat({Le32(active), Le32(1), Le32(300), Le32(minFreeMB)}));
  }
  // Leaves exactly freeMB megabytes free on S:.
  static void LeaveFree(uint64_t freeMB) {
    ULARGE_INTEGER available, total, free;
    ASSERT_TRUE(GetDiskFreeSpaceExA("S:\\", &available, &total, &free));
    uint64_t fill = free.QuadPart - freeMB * 1024 * 1024;
    HANDLE file = CreateFileA(kFill, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    std::vector<char> block(1024 * 1024, 'f');
    for (uint64_t written = 0; written < fill;) {
      DWORD chunk = static_cast<DWORD>(fill - written < block.size() ? fill - written : block.size());
      DWORD done = 0;
      ASSERT_TRUE(WriteFile(file, block.data(), chunk, &done, nullptr));
      written += done;
    }
    CloseHandle(file);
    ASSERT_TRUE(GetDiskFreeSpaceExA("S:\\", &available, &total, &free));
    ASSERT_EQ(free.QuadPart, freeMB * 1024 * 1024);
  }
  std::vector<std::string> LaterRequests() {
    auto lines = DriverLog();
    return lines.size() > 2 ? std::vector<std::string>(lines.begin() + 2, lines.end()) : std::vector<std::string>{};
  }

  FakeTray tray;
};

TEST_F(Watchdog, FallWarnsOnceAndRiseTellsTheDriverSilently) {
  StoreMinimum(32);
  run = StartManager();
  ASSERT_NE(run.window, nullptr);
  Sleep(kCheckWaitMs);
  EXPECT_TRUE(LaterRequests().empty());

  LeaveFree(32);  // exactly the minimum counts as low
  Box box = AnswerBox(kCheckWaitMs + 1000, run.program.pid);
  EXPECT_EQ(box.text,
            "No more disk space available for Caching. Erase unused cached files using FileTrove's File Manager "
            "or free additional disk space.");
  EXPECT_EQ(LaterRequests(), std::vector<std::string>{"CACHE_DISK_LOW 0x8103"});
  EXPECT_TRUE(NoBoxWithin(2 * kCheckWaitMs, run.program.pid));
  EXPECT_EQ(LaterRequests().size(), 1u);

  DeleteFileA(kFill);
  EXPECT_TRUE(NoBoxWithin(kCheckWaitMs, run.program.pid));
  EXPECT_EQ(LaterRequests(), (std::vector<std::string>{"CACHE_DISK_LOW 0x8103", "CACHE_DISK_OK 0x8104"}));
}

TEST_F(Watchdog, NoWarningWhileCachingIsOff) {
  StoreMinimum(32, 0);
  run = StartManager();
  ASSERT_NE(run.window, nullptr);
  LeaveFree(20);
  EXPECT_TRUE(NoBoxWithin(kCheckWaitMs, run.program.pid));
  EXPECT_EQ(LaterRequests(), std::vector<std::string>{"CACHE_DISK_LOW 0x8103"});
  // Switching caching on later brings no warning either.
  PostMessageA(run.window, WM_COMMAND, 142, 0);
  EXPECT_TRUE(NoBoxWithin(kCheckWaitMs, run.program.pid));
  EXPECT_EQ(LaterRequests(), (std::vector<std::string>{"CACHE_DISK_LOW 0x8103", "CACHE_ENABLE 0x8100"}));
}

}  // namespace
