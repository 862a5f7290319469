// The tray icon, clicks, menu commands and failing requests of the real
// Manager, driven as the shell drives it: by its tray callback message.
#include "app/tray.h"
#include "fake_tray.h"
#include "manager_session.h"
#include "res/resource.h"

namespace {

const std::string kDisable = "CACHE_DISABLE 0x8101", kEnable = "CACHE_ENABLE 0x8100";
// The tests' own double-click time: long, so that a switch before it shows
// however slowly the machine runs.
constexpr UINT kDoubleClickMs = 1500;

class Tray : public ManagerTest {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(ManagerTest::SetUp());
    ASSERT_TRUE(tray.Ready());
    ASSERT_NE(iconOn, 0u);
    ASSERT_NE(iconOn, iconOff);
    ASSERT_TRUE(SetDoubleClickTime(kDoubleClickMs));
  }
  void TearDown() override {
    ManagerTest::TearDown();
    SetDoubleClickTime(systemDoubleClickMs);
  }
  void Again() {
    TearDown();
    run = {};
    SetUp();
  }
  void Click(LPARAM mouseMessage) { PostMessageA(run.window, WM_TRAYNOTIFY, TRAY_ICON_ID, mouseMessage); }
  // The click timer's tick, now: what it does is done when this returns.
  void ClickTimerTick() { SendAndWait(run.window, WM_TIMER, CLICK_TIMER, 0); }
  // Makes another window the foreground and waits until the action raises the panel.
  static bool Raises(HWND sheet, const std::function<void()>& action) {
    HWND other = CreateWindowExA(0, "STATIC", "other program", WS_POPUP | WS_VISIBLE, 0, 0, 200, 200, nullptr,
                                 nullptr, nullptr, nullptr);
    SetForegroundWindow(other);
    bool raised = GetForegroundWindow() == other;
    action();
    raised = raised && WaitUntil([&] { return GetForegroundWindow() == sheet; }, kDefaultTimeoutMs);
    DestroyWindow(other);
    return raised;
  }
  // The last call's tip and whether its icon is the one for caching on.
  void ExpectShown(DWORD action, bool on) {
    TrayCall call = tray.Calls().back();
    EXPECT_EQ(call.action, action);
    EXPECT_EQ(call.tip, on ? "FileTrove is On" : "FileTrove is Off");
    EXPECT_EQ(call.iconHash, on ? iconOn : iconOff);
  }

  FakeTray tray;
  const UINT systemDoubleClickMs = GetDoubleClickTime();
  const uint64_t iconOn = ProgramIconHash(kManagerExe, IDI_CACHE_ON);
  const uint64_t iconOff = ProgramIconHash(kManagerExe, IDI_CACHE_OFF);
};

TEST_F(Tray, StartShowsTheStoredStateAndSendsSettingsThenEditTypes) {
  const Bytes installed = TypeTable(1, {".BMP", ".DOC", ".TXT", ".WRI", ".XLS"}), own = TypeTable(0, {".ABC"});
  const struct { bool on; const char* settings; const Bytes& types; } cases[] = {
      {true, "01000000010000002c01000064000000", installed},  // a first start
      {false, "00000000010000002c01000064000000", own},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.on);
    if (!c.on) {
      WriteDriverValue("Data", REG_BINARY, Concat({Le32(0), Le32(1), Le32(300), Le32(100)}));
      WriteDriverValue("DB", REG_BINARY, own);
    }
    size_t before = tray.Calls().size();
    run = StartManager();
    ASSERT_TRUE(tray.WaitCalls(before + 1, kDefaultTimeoutMs));
    ASSERT_EQ(tray.Calls().size(), before + 1);
    ExpectShown(NIM_ADD, c.on);
    TrayCall call = tray.Calls().back();
    EXPECT_EQ(call.window, run.window);
    EXPECT_EQ(call.id, TRAY_ICON_ID);
    EXPECT_EQ(call.flags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
    EXPECT_EQ(call.callbackMessage, WM_TRAYNOTIFY);
    EXPECT_EQ(DriverLog(), (std::vector<std::string>{std::string("CACHE_SET_SETTINGS 0x8102 ") + c.settings,
                                                     "CACHE_SET_EDIT_TYPES 0x8105 " + Hex(c.types)}));
    ASSERT_NO_FATAL_FAILURE(Again());
  }
}

TEST_F(Tray, ClicksAndMenuCommands) {
  run = StartManager();
  ASSERT_TRUE(tray.WaitCalls(1, kDefaultTimeoutMs));
  SendAndWait(run.window, WM_CLOSE, 0, 0);  // changes nothing

  // A double click opens the panel, and its click's tick toggles nothing;
  // while it is open neither a double click nor the menu opens another:
  // they raise it over another program's window.
  Click(WM_LBUTTONDOWN);
  Click(WM_LBUTTONUP);
  Click(WM_LBUTTONDBLCLK);
  HWND sheet = WaitForWindow("#32770", kPanelCaption, kDefaultTimeoutMs, run.program.pid);
  ASSERT_NE(sheet, nullptr);
  ClickTimerTick();
  EXPECT_TRUE(LaterRequests().empty());
  EXPECT_TRUE(Raises(sheet, [&] {
    Click(WM_LBUTTONDOWN);
    Click(WM_LBUTTONDBLCLK);
  })) << "by a double click";
  ClickTimerTick();
  EXPECT_TRUE(Raises(sheet, [&] { PostMessageA(run.window, WM_COMMAND, IDM_OPEN_PANEL, 0); })) << "by the menu";
  EXPECT_FALSE(FindWindowExA(nullptr, FindWindowA("#32770", kPanelCaption), "#32770", kPanelCaption)) << "two panels";
  EXPECT_TRUE(IsWindow(run.window));
  EXPECT_TRUE(LaterRequests().empty());

  // The menu's switch works while the panel is open.
  TrayCommand(run, IDM_TOGGLE_CACHE);
  EXPECT_EQ(LaterRequests(), std::vector<std::string>{kDisable});
  EXPECT_EQ(StoredWord("Data", 0), 0u);
  ExpectShown(NIM_MODIFY, false);
  ASSERT_TRUE(CloseSheet(sheet, IDCANCEL));

  // A single click switches once the double-click time has passed.
  DWORD posted = GetTickCount();
  Click(WM_LBUTTONDOWN);
  Click(WM_LBUTTONUP);
  ASSERT_TRUE(WaitUntil([] { return LaterRequests().size() > 1; }, kDefaultTimeoutMs));
  EXPECT_GE(GetTickCount() - posted, kDoubleClickMs - 50) << "switched before the double-click time";
  EXPECT_EQ(LaterRequests(), (std::vector<std::string>{kDisable, kEnable}));
  EXPECT_EQ(StoredWord("Data", 0), 1u);
  ExpectShown(NIM_MODIFY, true);

  // Two more off-on switches alternate; closed, the menu opens the panel again.
  for (int i = 0; i < 4; i++) TrayCommand(run, IDM_TOGGLE_CACHE);
  EXPECT_EQ(LaterRequests(), (std::vector<std::string>{kDisable, kEnable, kDisable, kEnable, kDisable, kEnable}));
  EXPECT_EQ(StoredWord("Data", 0), 1u);
  EXPECT_EQ(tray.Calls().size(), 7u);
  EXPECT_NE(OpenPanel(run), nullptr);
}

TEST_F(Tray, FailingRequestShowsTheFatalBoxAndEnds) {
  const struct { DWORD request; bool atStart; DWORD exitCode; uint32_t stored; size_t requests; } cases[] = {
      {CACHE_SET_SETTINGS, true, 0, 1, 2},  // the edit types still go out
      {CACHE_SET_EDIT_TYPES, true, 1, 1, 2},
      {CACHE_DISABLE, false, 0, 0, 3},  // the switch is saved before the end
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.request);
    if (!c.atStart) ASSERT_NE((run = StartManager()).window, nullptr);
    FailRequest(c.request);
    if (c.atStart) run.program = LaunchProgram(kManagerExe);
    else Click(WM_LBUTTONDOWN);
    EXPECT_EQ(AnswerBox(kDefaultTimeoutMs, run.program.pid).text, "Fatal Error. FileTrove is unable to continue.");
    EXPECT_EQ(ExitCodeOf(run.program), c.exitCode);
    EXPECT_EQ(StoredWord("Data", 0), c.stored);
    auto names = DriverRequests();
    EXPECT_EQ(names.size(), c.requests);
    names.resize(2);
    EXPECT_EQ(names, (std::vector<std::string>{"CACHE_SET_SETTINGS 0x8102", "CACHE_SET_EDIT_TYPES 0x8105"}));
    ASSERT_NO_FATAL_FAILURE(Again());
  }
}

// The installed German translation reaches the tip and a fatal box too.
TEST_F(Tray, TipAndFatalBoxInTheInstalledTranslation) {
  ASSERT_TRUE(CopyFileA(SourceFile("lang/german.lng").c_str(), kLanguageFile.c_str(), FALSE));
  run = StartManager();
  ASSERT_TRUE(tray.WaitCalls(1, kDefaultTimeoutMs));
  EXPECT_EQ(tray.Calls()[0].tip, "FileTrove ist eingeschaltet");
  FailRequest(CACHE_DISABLE);
  PostMessageA(run.window, WM_COMMAND, IDM_TOGGLE_CACHE, 0);  // the box holds the command's handler
  EXPECT_EQ(AnswerBox(kDefaultTimeoutMs, run.program.pid).text, "Schwerer Fehler. FileTrove kann nicht weiterarbeiten.");
}

}  // namespace
