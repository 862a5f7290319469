// The free-space watchdog against real free space: the scripts map S: to a
// 64 MB filesystem.
#include <algorithm>
#include <atomic>
#include <thread>

#include "app/tray.h"
#include "manager_session.h"

namespace {

constexpr const char* kFill = "S:\\fill.bin";
const std::string kLow = "CACHE_DISK_LOW 0x8103", kOk = "CACHE_DISK_OK 0x8104", kEnable = "CACHE_ENABLE 0x8100";
const std::string kWarning =
    "No more disk space available for Caching. Erase unused cached files using FileTrove's File Manager or free "
    "additional disk space.";

class Watchdog : public ManagerTest {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(ManagerTest::SetUp());
    DeleteFileA(kFill);
    if (GetDriveTypeA("S:\\") == DRIVE_NO_ROOT_DIR)
      GTEST_SKIP() << "drive S: is not mapped (the test script could not mount it)";
    WriteDriverValue("CacheDir", REG_SZ, Text("S:\\CACHE"));
  }
  void TearDown() override {
    DeleteFileA(kFill);
    ManagerTest::TearDown();
  }
  // Leaves exactly freeMB megabytes free on S:.
  static void LeaveFree(uint64_t freeMB) {
    DeleteFileA(kFill);
    ULARGE_INTEGER available, total, free;
    ASSERT_TRUE(GetDiskFreeSpaceExA("S:\\", &available, &total, &free));
    HANDLE file = CreateFileA(kFill, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    std::vector<char> block(1024 * 1024, 'f');
    for (uint64_t left = free.QuadPart - freeMB * 1024 * 1024; left > 0;) {
      DWORD done = 0;
      ASSERT_TRUE(WriteFile(file, block.data(), static_cast<DWORD>(std::min<uint64_t>(left, block.size())), &done,
                            nullptr));
      left -= done;
    }
    CloseHandle(file);
    ASSERT_TRUE(GetDiskFreeSpaceExA("S:\\", &available, &total, &free));
    ASSERT_EQ(free.QuadPart, freeMB * 1024 * 1024);
  }
  // The watchdog's check, now, and the warning it shows ("" for none) with
  // its owner, answered. The watchdog's own timer goes on meanwhile: a check
  // of its own finds the same space and its warning is the same.
  Shown Check() {
    std::atomic<bool> checked{false};
    std::thread tick([&] {
      // Returns once a warning is answered.
      SendMessageTimeoutA(run.window, WM_TIMER, WATCHDOG_TIMER, 0, SMTO_NORMAL, 3 * kDefaultTimeoutMs, nullptr);
      checked = true;
    });
    HWND box = nullptr;
    WaitUntil([&] { return (box = WaitForWindow("#32770", "FileTrove", 0, run.program.pid)) || checked; },
              kDefaultTimeoutMs);
    Shown shown = {"", "", nullptr};
    if (box) {
      shown = {"FileTrove", ControlText(box, 0xFFFF), GetWindow(box, GW_OWNER)};
      PressButton(box, IDOK);
    }
    tick.join();
    return shown;
  }
};

// Caching off at the start and 32 MB the minimum: the driver hears of each
// change between low and room; the user is warned once, only while caching
// is on, over the panel while it is open.
TEST_F(Watchdog, TellsTheDriverEachChangeAndWarnsOnceWhileCaching) {
  WriteDriverValue("Data", REG_BINARY, Concat({Le32(0), Le32(1), Le32(300), Le32(32)}));
  ASSERT_NO_FATAL_FAILURE(LeaveFree(33));
  run = StartManager();
  ASSERT_NE(run.window, nullptr);
  EXPECT_EQ(Check().text, "");
  EXPECT_TRUE(LaterRequests().empty()) << "a megabyte above the minimum is room";

  ASSERT_NO_FATAL_FAILURE(LeaveFree(20));
  EXPECT_EQ(Check().text, "");
  EXPECT_EQ(LaterRequests(), std::vector<std::string>{kLow});
  TrayCommand(run, IDM_TOGGLE_CACHE);  // switching caching on brings no warning either
  EXPECT_EQ(Check().text, "");
  EXPECT_EQ(LaterRequests(), (std::vector<std::string>{kLow, kEnable}));

  DeleteFileA(kFill);
  EXPECT_EQ(Check().text, "");
  EXPECT_EQ(LaterRequests(), (std::vector<std::string>{kLow, kEnable, kOk}));

  ASSERT_NO_FATAL_FAILURE(LeaveFree(32));  // exactly the minimum counts as low
  Shown warning = Check();
  EXPECT_EQ(warning.text, kWarning);
  EXPECT_EQ(warning.owner, run.window);
  EXPECT_EQ(LaterRequests(), (std::vector<std::string>{kLow, kEnable, kOk, kLow}));
  EXPECT_EQ(Check().text, "");
  EXPECT_EQ(LaterRequests().size(), 4u);

  HWND sheet = OpenPanel(run);
  ASSERT_NE(sheet, nullptr);
  DeleteFileA(kFill);
  EXPECT_EQ(Check().text, "");
  ASSERT_NO_FATAL_FAILURE(LeaveFree(32));
  warning = Check();
  EXPECT_EQ(warning.text, kWarning);
  EXPECT_EQ(warning.owner, sheet);
  EXPECT_EQ(LaterRequests(), (std::vector<std::string>{kLow, kEnable, kOk, kLow, kOk, kLow}));
}

}  // namespace
