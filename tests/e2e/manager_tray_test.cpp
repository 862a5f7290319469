// The tray icon, clicks, menu commands and failing requests of the real
// Manager, driven as the shell drives it: by its tray callback message.
#include <cstring>

#include "fake_tray.h"
#include "panel_session.h"

namespace {

constexpr UINT kTrayNotify = 0x8064;
constexpr const char* kSettingsLine =
    "CACHE_SET_SETTINGS 0x8102 01000000010000002c01000064000000";

class Tray : public ManagerTest {
 protected:
  void SetUp() override {
    ManagerTest::SetUp();
    ASSERT_TRUE(tray.Ready());
    iconOn = ProgramIconHash(kManagerExe, 105);
    iconOff = ProgramIconHash(kManagerExe, 106);
    ASSERT_NE(iconOn, 0u);
    ASSERT_NE(iconOn, iconOff);
  }
  void TearDown() override {
    ClosePanels();
    ManagerTest::TearDown();
  }
  void Click(LPARAM mouseMessage) { PostMessageA(run.window, kTrayNotify, 1006, mouseMessage); }
  void Command(UINT id) { PostMessageA(run.window, WM_COMMAND, id, 0); }
  static void Settle() { Sleep(GetDoubleClickTime() + 700); }
  static void ClosePanels() {
    for (HWND sheet; (sheet = FindWindowA("#32770", kPanelCaption));) {
      PressButton(sheet, IDCANCEL);
      if (!WaitWindowGone(sheet, 3000)) break;
    }
  }
  static uint32_t StoredCacheActive() { return StoredWord("Data", 0); }

  FakeTray tray;
  uint64_t iconOn = 0, iconOff = 0;
};

TEST_F(Tray, StartSendsSettingsThenEditTypesAndAddsTheOnIcon) {
  run = StartManager();
  ASSERT_NE(run.window, nullptr);
  ASSERT_TRUE(tray.WaitCalls(1, 3000));
  Sleep(3500);  // past the first watchdog check: the disk has room, nothing more is sent
  auto lines = DriverLog();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], kSettingsLine);
  Bytes types;
  ASSERT_TRUE(ReadDriverValue("DB", &types));
  EXPECT_EQ(lines[1], "CACHE_SET_EDIT_TYPES 0x8105 " + Hex(types));

  auto calls = tray.Calls();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].action, static_cast<DWORD>(NIM_ADD));
  EXPECT_EQ(calls[0].window, run.window);
  EXPECT_EQ(calls[0].id, 1006u);
  EXPECT_EQ(calls[0].flags, 7u);
  EXPECT_EQ(calls[0].callbackMessage, kTrayNotify);
  EXPECT_EQ(calls[0].tip, "FileTrove is On");
  EXPECT_EQ(calls[0].iconWidth, 16u);
  EXPECT_EQ(calls[0].iconHash, iconOn);
  EXPECT_EQ(TrayMenuItems(run), (std::vector<std::string>{"142 Disable FileTrove", "143 FileTrove Manager"}));
}

TEST_F(Tray, StartWithCachingOffShowsTheOffIcon) {
  WriteDriverValue("Data", REG_BINARY, Concat({Le32(0), Le32(1), Le32(300), Le32(100)}));
  run = StartManager();
  ASSERT_TRUE(tray.WaitCalls(1, 3000));
  auto calls = tray.Calls();
  EXPECT_EQ(calls[0].tip, "FileTrove is Off");
  EXPECT_EQ(calls[0].iconHash, iconOff);
  EXPECT_EQ(DriverLog()[0], "CACHE_SET_SETTINGS 0x8102 00000000010000002c01000064000000");
  EXPECT_EQ(TrayMenuItems(run), (std::vector<std::string>{"142 Enable FileTrove", "143 FileTrove Manager"}));
}

TEST_F(Tray, SingleClickTogglesAfterTheDoubleClickTime) {
  run = StartManager();
  ASSERT_TRUE(tray.WaitCalls(1, 3000));
  DWORD posted = GetTickCount();
  Click(WM_LBUTTONDOWN);
  Click(WM_LBUTTONUP);
  Sleep(GetDoubleClickTime() / 2);
  // Only a toggle seen before the double-click time has passed is early; a
  // busy machine may wake this test later than asked.
  bool toggled = !LaterRequests().empty();
  if (GetTickCount() - posted < GetDoubleClickTime()) EXPECT_FALSE(toggled) << "toggled before the double-click time";
  Settle();
  EXPECT_EQ(LaterRequests(), std::vector<std::string>{"CACHE_DISABLE 0x8101"});
  EXPECT_EQ(StoredCacheActive(), 0u);
  auto calls = tray.Calls();
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[1].action, static_cast<DWORD>(NIM_MODIFY));
  EXPECT_EQ(calls[1].tip, "FileTrove is Off");
  EXPECT_EQ(calls[1].iconHash, iconOff);
  EXPECT_EQ(TrayMenuItems(run)[0], "142 Enable FileTrove");

  Click(WM_LBUTTONDOWN);
  Settle();
  EXPECT_EQ(LaterRequests(), (std::vector<std::string>{"CACHE_DISABLE 0x8101", "CACHE_ENABLE 0x8100"}));
  EXPECT_EQ(StoredCacheActive(), 1u);
  calls = tray.Calls();
  ASSERT_EQ(calls.size(), 3u);
  EXPECT_EQ(calls[2].tip, "FileTrove is On");
  EXPECT_EQ(calls[2].iconHash, iconOn);
  EXPECT_EQ(TrayMenuItems(run)[0], "142 Disable FileTrove");
}

TEST_F(Tray, ThreeOffOnSwitchesSendSixAlternatingRequests) {
  run = StartManager();
  ASSERT_NE(run.window, nullptr);
  for (int i = 0; i < 6; i++) Command(kToggleCommand);
  Sleep(1000);
  std::vector<std::string> expected;
  for (int i = 0; i < 3; i++) {
    expected.push_back("CACHE_DISABLE 0x8101");
    expected.push_back("CACHE_ENABLE 0x8100");
  }
  EXPECT_EQ(LaterRequests(), expected);
  EXPECT_EQ(StoredCacheActive(), 1u);
}

TEST_F(Tray, DoubleClickOpensOnePanelAndTogglesNothing) {
  run = StartManager();
  ASSERT_NE(run.window, nullptr);
  Click(WM_LBUTTONDOWN);
  Click(WM_LBUTTONUP);
  Click(WM_LBUTTONDBLCLK);
  HWND sheet = WaitForWindow("#32770", kPanelCaption, kDefaultTimeoutMs, run.program.pid);
  ASSERT_NE(sheet, nullptr);
  Settle();
  EXPECT_TRUE(LaterRequests().empty());

  // While it is open neither a double click nor the menu opens another.
  Click(WM_LBUTTONDOWN);
  Click(WM_LBUTTONDBLCLK);
  Command(kOpenPanelCommand);
  Settle();
  EXPECT_EQ(PanelCount(), 1);
  EXPECT_TRUE(LaterRequests().empty());

  // A toggle from the tray still works while the panel is open.
  Command(kToggleCommand);
  Sleep(500);
  EXPECT_EQ(LaterRequests(), std::vector<std::string>{"CACHE_DISABLE 0x8101"});

  PressButton(sheet, IDCANCEL);
  ASSERT_TRUE(WaitWindowGone(sheet, kDefaultTimeoutMs));
  // Closed, the menu opens it again.
  Command(kOpenPanelCommand);
  EXPECT_NE(WaitForWindow("#32770", kPanelCaption, kDefaultTimeoutMs, run.program.pid), nullptr);
}

TEST_F(Tray, CloseMessageChangesNothing) {
  run = StartManager();
  ASSERT_NE(run.window, nullptr);
  PostMessageA(run.window, WM_CLOSE, 0, 0);
  Sleep(500);
  EXPECT_TRUE(IsWindow(run.window));
  EXPECT_EQ(WaitForSingleObject(run.program.process, 0), static_cast<DWORD>(WAIT_TIMEOUT));
  EXPECT_TRUE(LaterRequests().empty());
  EXPECT_EQ(tray.Calls().size(), 1u);
}

TEST_F(Tray, FailingSettingsAtStartShowTheBoxAndEndWithZero) {
  ASSERT_EQ(Ftctl("fail CACHE_SET_SETTINGS").exitCode, 0u);
  run.program = LaunchProgram(kManagerExe);
  Box box = AnswerBox(kDefaultTimeoutMs, run.program.pid);
  EXPECT_EQ(box.text, "Fatal Error. FileTrove is unable to continue.");
  EXPECT_EQ(ExitCodeOf(run), 0u);
  auto lines = DriverLog();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].rfind("CACHE_SET_SETTINGS 0x8102", 0), 0u);
  EXPECT_EQ(lines[1].rfind("CACHE_SET_EDIT_TYPES 0x8105", 0), 0u);
}

TEST_F(Tray, FailingEditTypesEndTheManagerWithOne) {
  ASSERT_EQ(Ftctl("fail CACHE_SET_EDIT_TYPES").exitCode, 0u);
  run.program = LaunchProgram(kManagerExe);
  Box box = AnswerBox(kDefaultTimeoutMs, run.program.pid);
  EXPECT_EQ(box.text, "Fatal Error. FileTrove is unable to continue.");
  EXPECT_EQ(ExitCodeOf(run), 1u);
}

TEST_F(Tray, FailingDisableStillSavesTheSwitchBeforeTheEnd) {
  run = StartManager();
  ASSERT_NE(run.window, nullptr);
  ASSERT_EQ(Ftctl("fail CACHE_DISABLE").exitCode, 0u);
  Click(WM_LBUTTONDOWN);
  Box box = AnswerBox(kDefaultTimeoutMs, run.program.pid);
  EXPECT_EQ(box.text, "Fatal Error. FileTrove is unable to continue.");
  EXPECT_EQ(ExitCodeOf(run), 0u);
  EXPECT_EQ(StoredCacheActive(), 0u);
}

}  // namespace
