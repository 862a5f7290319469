// The control panel of the real Manager: the sheet, its tabs and the page
// protocol's saves, the General, Advanced and About pages.
#include "fake_tray.h"
#include "panel_session.h"
#include "res/resource.h"

namespace {

constexpr const char* kSettingsRequest = "CACHE_SET_SETTINGS";
constexpr const char* kTabTitles[] = {"General",   "Advanced",   "File Manager",
                                      "Edit Mode", "Statistics", "About FileTrove"};

class Panel : public PanelTest {
 protected:
  static std::vector<std::string> TabTitles(HWND sheet) {
    std::vector<std::string> titles;
    for (int i = 0; i < SheetTabCount(sheet); i++) titles.push_back(SheetTabTitle(sheet, i));
    return titles;
  }
  static std::vector<std::string> DesignedTitles() { return {std::begin(kTabTitles), std::end(kTabTitles)}; }
  // Journal and store forgotten, so a test sees only what the panel does.
  static void ForgetStore() {
    Ftctl("reset");
    for (const char* name : {"CacheDir", "Data", "Data2", "Other", "DB"}) DeleteDriverValue(name);
  }
  static bool AllFiveStored() {
    Bytes data;
    for (const char* name : {"CacheDir", "Data", "Data2", "Other", "DB"})
      if (!ReadDriverValue(name, &data)) return false;
    return true;
  }
};

TEST_F(Panel, OpensOnGeneralWithSixTitlesOnceAndInFront) {
  HWND sheet = StartWithPanel();
  ASSERT_NE(sheet, nullptr);
  EXPECT_EQ(TabTitles(sheet), DesignedTitles());
  EXPECT_EQ(CurrentSheetTab(sheet), kGeneralTab);
  EXPECT_EQ(ControlText(CurrentSheetPage(sheet), IDC_GENERAL_ACTIVE), "A&ctivate Cache");

  // Another program's window in front; a second request raises the sheet
  // and opens no second one.
  HWND other = CreateWindowExA(0, "STATIC", "other program", WS_POPUP | WS_VISIBLE, 0, 0, 200, 200, nullptr,
                               nullptr, nullptr, nullptr);
  SetForegroundWindow(other);
  PostMessageA(run.window, 0x8064, 1006, WM_LBUTTONDBLCLK);
  Sync(run.window);
  Sleep(300);
  EXPECT_EQ(PanelCount(), 1);
  EXPECT_EQ(GetForegroundWindow(), sheet);
  DestroyWindow(other);

  // A language file's titles take effect at the next opening, not this one.
  WriteLanguageFile("[Main]\n1=Allgemein\n13=Bearbeiten\n4=Statistik\n");
  ChooseSheetTab(sheet, kAdvancedTab);
  EXPECT_EQ(SheetTabTitle(sheet, 0), "General");
  ASSERT_TRUE(CloseSheet(sheet, IDCANCEL));
  sheet = OpenPanel(run);
  ASSERT_NE(sheet, nullptr);
  EXPECT_EQ(TabTitles(sheet), (std::vector<std::string>{"Allgemein", "Advanced", "File Manager", "Bearbeiten",
                                                          "Statistik", "About FileTrove"}));
}

TEST_F(Panel, OkSavesOncePerVisitedPageAndCancelSavesNothing) {
  HWND sheet = StartWithPanel();
  ASSERT_NE(sheet, nullptr);
  ForgetStore();
  ASSERT_TRUE(CloseSheet(sheet, IDOK));
  auto requests = DriverLog();
  EXPECT_EQ(requests, std::vector<std::string>{"CACHE_SET_SETTINGS 0x8102 01000000010000002c01000064000000"});
  EXPECT_TRUE(AllFiveStored());

  for (int tab : {kAdvancedTab, kEditModeTab, kAboutTab}) {
    sheet = OpenPanel(run);
    ASSERT_NE(sheet, nullptr);
    ChooseSheetTab(sheet, tab);
    ChooseSheetTab(sheet, kGeneralTab);
    ForgetStore();
    ASSERT_TRUE(CloseSheet(sheet, IDOK));
    requests = DriverLog();
    EXPECT_EQ(CountRequests(requests, kSettingsRequest), 2) << "tab " << tab;
  }

  sheet = OpenPanel(run);
  ASSERT_NE(sheet, nullptr);
  for (int tab = kAdvancedTab; tab <= kAboutTab; tab++) ChooseSheetTab(sheet, tab);
  ForgetStore();
  ASSERT_TRUE(CloseSheet(sheet, IDCANCEL));
  EXPECT_TRUE(DriverLog().empty());
  Bytes data;
  EXPECT_FALSE(ReadDriverValue("Data", &data));
}

TEST_F(Panel, ActivateCacheSwitchesAtOnceAndFollowsTheTray) {
  FakeTray tray;
  ASSERT_TRUE(tray.Ready());
  HWND sheet = StartWithPanel();
  ASSERT_NE(sheet, nullptr);
  HWND general = CurrentSheetPage(sheet);
  ASSERT_TRUE(IsChecked(general, IDC_GENERAL_ACTIVE));

  ClickAndSync(general, IDC_GENERAL_ACTIVE);
  EXPECT_EQ(LaterRequests(), std::vector<std::string>{"CACHE_DISABLE 0x8101"});
  EXPECT_EQ(StoredWord("Data", 0), 0u);
  ASSERT_TRUE(tray.WaitCalls(2, 3000));
  EXPECT_EQ(tray.Calls().back().tip, "FileTrove is Off");

  // The tray's switch reaches the box while the sheet is open.
  TrayCommand(run, kToggleCommand);
  EXPECT_TRUE(IsChecked(general, IDC_GENERAL_ACTIVE));
  TrayCommand(run, kToggleCommand);
  EXPECT_FALSE(IsChecked(general, IDC_GENERAL_ACTIVE));

  // Cancel keeps caching off; the store then says 1 but the tray's switch wins.
  ASSERT_TRUE(CloseSheet(sheet, IDCANCEL));
  EXPECT_EQ(StoredWord("Data", 0), 0u);
  WriteDriverValue("Data", REG_BINARY, Concat({Le32(1), Le32(1), Le32(300), Le32(100)}));
  sheet = OpenPanel(run);
  ASSERT_NE(sheet, nullptr);
  EXPECT_FALSE(IsChecked(CurrentSheetPage(sheet), IDC_GENERAL_ACTIVE));
}

TEST_F(Panel, ShowProgressWaitsForApply) {
  HWND sheet = StartWithPanel();
  ASSERT_NE(sheet, nullptr);
  HWND general = CurrentSheetPage(sheet);
  ClickAndSync(general, IDC_GENERAL_PROGRESS);
  ASSERT_TRUE(CloseSheet(sheet, IDCANCEL));
  EXPECT_TRUE(LaterRequests().empty());
  EXPECT_EQ(StoredWord("Data", 4), 1u);

  sheet = OpenPanel(run);
  ASSERT_NE(sheet, nullptr);
  general = CurrentSheetPage(sheet);
  EXPECT_TRUE(IsChecked(general, IDC_GENERAL_PROGRESS));
  ClickAndSync(general, IDC_GENERAL_PROGRESS);
  PressApply(sheet);
  EXPECT_EQ(LaterRequests(), std::vector<std::string>{"CACHE_SET_SETTINGS 0x8102 01000000000000002c01000064000000"});
  EXPECT_EQ(StoredWord("Data", 4), 0u);
}

// Opens the Advanced page with the given stored "Data2".
class Advanced : public Panel {
 protected:
  HWND OpenAdvanced(uint32_t autoDelete, uint32_t days, HWND* sheetOut) {
    WriteDriverValue("Data2", REG_BINARY, Concat({Le32(autoDelete), Le32(days)}));
    HWND sheet = *sheetOut = run.window ? OpenPanel(run) : StartWithPanel();
    return sheet ? ChooseSheetTab(sheet, kAdvancedTab) : nullptr;
  }
};

TEST_F(Advanced, EmptyDaysAreRefusedOnceThenOneDayIsStored) {
  HWND sheet = nullptr;
  HWND page = OpenAdvanced(1, 30, &sheet);
  ASSERT_NE(page, nullptr);
  SetText(page, IDC_ADVANCED_DAYS, "");
  Ftctl("reset");
  PressButton(sheet, kApplyButton);
  Box box = AnswerBox();
  EXPECT_EQ(box.text, "Invalid time period");
  EXPECT_EQ(box.owner, sheet);
  EXPECT_TRUE(NoBoxWithin(500));
  EXPECT_EQ(ControlText(page, IDC_ADVANCED_DAYS), "1");
  EXPECT_EQ(CurrentSheetTab(sheet), kAdvancedTab);
  EXPECT_EQ(StoredWord("Data2", 4), 30u);
  EXPECT_EQ(CountRequests(DriverLog(), kSettingsRequest), 1) << "only the General page may save";

  PressApply(sheet);
  EXPECT_EQ(StoredWord("Data2", 4), 1u);
}

TEST_F(Advanced, FieldsAreStoredAsTyped) {
  struct Case {
    uint32_t autoDelete;
    const char* days;  // typed into an emptied edit; null: spun instead
    const char* size;
    const char* free;
    uint32_t storedDays, storedSize, storedFree;
  } cases[] = {
      {0, "", "0", "0", 45, 0, 0},             // off: empty days keep the old value
      {1, "7", "12345", "99", 7, 12345, 99},  // five typed digits pass the up-down's 9999
      {1, nullptr, "300", "100", 1000, 300, 100},
  };
  for (const Case& c : cases) {
    HWND sheet = nullptr;
    HWND page = OpenAdvanced(c.autoDelete, 45, &sheet);
    ASSERT_NE(page, nullptr);
    if (c.days) {
      SetText(page, IDC_ADVANCED_DAYS, "");
      TypeText(page, IDC_ADVANCED_DAYS, c.days);
    } else {  // 999 spun up by one shows as "1,000"
      SetText(page, IDC_ADVANCED_DAYS, "999");
      SendMessageA(GetDlgItem(page, IDC_ADVANCED_DAYS_SPIN), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 2));
      SendMessageA(GetDlgItem(page, IDC_ADVANCED_DAYS_SPIN), WM_LBUTTONUP, 0, MAKELPARAM(3, 2));
      EXPECT_NE(ControlText(page, IDC_ADVANCED_DAYS), "999");
    }
    SetText(page, IDC_ADVANCED_SIZE, "");
    TypeText(page, IDC_ADVANCED_SIZE, c.size);
    SetText(page, IDC_ADVANCED_FREE, "");
    TypeText(page, IDC_ADVANCED_FREE, c.free);
    ASSERT_TRUE(CloseSheet(sheet, IDOK));
    EXPECT_EQ(StoredWord("Data2", 4), c.storedDays) << c.size;
    EXPECT_EQ(StoredWord("Data", 8), c.storedSize) << c.size;
    EXPECT_EQ(StoredWord("Data", 12), c.storedFree) << c.size;
  }
}

TEST_F(Advanced, OkKeepsAStoredFreeSpaceFloorOf100000MegabytesWhole) {
  run = StartManager();
  WriteDriverValue("Data", REG_BINARY, Concat({Le32(1), Le32(1), Le32(300), Le32(100000)}));
  for (const char* pasted : {static_cast<const char*>(nullptr), "-5"}) {
    HWND sheet = nullptr;
    HWND page = OpenAdvanced(1, 30, &sheet);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(ControlText(page, IDC_ADVANCED_FREE), "100000");
    if (pasted) SetText(page, IDC_ADVANCED_FREE, pasted);
    ASSERT_TRUE(CloseSheet(sheet, IDOK));
    EXPECT_EQ(StoredWord("Data", 12), 100000u) << (pasted ? pasted : "untouched");
  }
}

TEST_F(Advanced, AutoDeleteEnablesDaysAtOnceAndTheDirectoryIsKept) {
  WriteDriverValue("CacheDir", REG_SZ, Text("D:\\Cache & Co"));
  HWND sheet = nullptr;
  HWND page = OpenAdvanced(1, 30, &sheet);
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(ControlText(page, IDC_ADVANCED_DIRECTORY), "D:\\Cache & Co");
  EXPECT_TRUE(IsEnabled(page, IDC_ADVANCED_DAYS));
  ClickAndSync(page, IDC_ADVANCED_AUTO_DELETE);
  EXPECT_FALSE(IsEnabled(page, IDC_ADVANCED_DAYS));
  EXPECT_FALSE(IsEnabled(page, IDC_ADVANCED_DAYS_SPIN));
  EXPECT_EQ(StoredWord("Data2", 0), 1u);
  ASSERT_TRUE(CloseSheet(sheet, IDOK));
  Bytes directory;
  ASSERT_TRUE(ReadDriverValue("CacheDir", &directory));
  directory.push_back(0);
  EXPECT_STREQ(reinterpret_cast<const char*>(directory.data()), "D:\\Cache & Co");
  EXPECT_EQ(StoredWord("Data2", 0), 0u);
}

TEST_F(Panel, LanguageFileLabelsGeneralAndAdvancedButNotAbout) {
  struct Case {
    int tab, control;
    const char* english;
    const char* translated;
  } cases[] = {
      {kGeneralTab, IDC_GENERAL_ACTIVE, "A&ctivate Cache", "Cache &aktiv"},
      {kGeneralTab, IDC_GENERAL_NOTE, "Note: Ctrl+Space terminates caching of current file.", "Hinweis"},
      {kAdvancedTab, IDC_ADVANCED_DISK_FRAME, " Disk Maintenance ", "Wartung"},
      {kAboutTab, IDC_ABOUT_VERSION, "Version 1.5", "Version 1.5"},
  };
  HWND sheet = StartWithPanel();
  ASSERT_NE(sheet, nullptr);
  for (const Case& c : cases) EXPECT_EQ(ControlText(ChooseSheetTab(sheet, c.tab), c.control), c.english);
  ASSERT_TRUE(CloseSheet(sheet, IDCANCEL));

  WriteLanguageFile(
      "[General]\n1=Cache &aktiv\n3=  Hinweis  \n[Advanced]\n2=Wartung\n[About FileTrove]\n1=Fassung\n");
  sheet = OpenPanel(run);
  ASSERT_NE(sheet, nullptr);
  for (const Case& c : cases) EXPECT_EQ(ControlText(ChooseSheetTab(sheet, c.tab), c.control), c.translated);
}

}  // namespace
