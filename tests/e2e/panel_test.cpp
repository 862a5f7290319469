// The control panel of the real Manager driven from outside: the saves of
// OK, Apply and Cancel in the journal, the switches of the General and Edit
// Mode pages. The pages' own decisions are unit tests.
#include <gmock/gmock.h>

#include "fake_tray.h"
#include "manager_session.h"
#include "res/resource.h"

namespace {

using ::testing::StartsWith;

const std::string kSettingsRequest = "CACHE_SET_SETTINGS 0x8102";

class Panel : public ManagerTest {
 protected:
  // Journal and store forgotten, so a test sees only what the panel does.
  static void ForgetStore() {
    ResetDriver();
    DeleteDriverValue("CacheDir");
    for (const char* name : kRecordValues) DeleteDriverValue(name);
  }
  static bool AllFiveStored() {
    Bytes data;
    for (const char* name : kRecordValues)
      if (!ReadDriverValue(name, &data)) return false;
    return ReadDriverValue("CacheDir", &data);
  }
};

TEST_F(Panel, ApplyAndOkSaveOncePerCreatedPageAndCancelSavesNothing) {
  HWND sheet = StartWithPanel();
  ASSERT_NE(sheet, nullptr);
  ForgetStore();
  ClickAndSync(CurrentSheetPage(sheet), IDC_GENERAL_PROGRESS);  // taken at Apply
  ClickAndSync(sheet, kApplyButton);
  EXPECT_EQ(DriverLog(), std::vector<std::string>{"CACHE_SET_SETTINGS 0x8102 01000000000000002c01000064000000"});
  EXPECT_TRUE(AllFiveStored());
  ASSERT_TRUE(CloseSheet(sheet, IDCANCEL));

  const struct { int tab; std::vector<std::string> requests; } visits[] = {
      {kAdvancedTab, {kSettingsRequest, kSettingsRequest}},
      {kEditModeTab, {kSettingsRequest, "CACHE_SET_EDIT_TYPES 0x8105", kSettingsRequest}},
      {kAboutTab, {kSettingsRequest, kSettingsRequest}},
  };
  for (const auto& visit : visits) {
    sheet = OpenPanel(run);
    ASSERT_NE(sheet, nullptr);
    ChooseSheetTab(sheet, visit.tab);
    ChooseSheetTab(sheet, kGeneralTab);
    ForgetStore();
    ASSERT_TRUE(CloseSheet(sheet, IDOK));
    EXPECT_EQ(DriverRequests(), visit.requests) << "tab " << visit.tab;
    EXPECT_TRUE(AllFiveStored());
  }

  sheet = OpenPanel(run);
  ASSERT_NE(sheet, nullptr);
  EXPECT_FALSE(IsChecked(CurrentSheetPage(sheet), IDC_GENERAL_PROGRESS));
  ClickAndSync(CurrentSheetPage(sheet), IDC_GENERAL_PROGRESS);
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
  ASSERT_TRUE(tray.WaitCalls(2, kDefaultTimeoutMs));
  EXPECT_EQ(tray.Calls().back().tip, "FileTrove is Off");

  // The tray's switch reaches the box while the sheet is open.
  TrayCommand(run, IDM_TOGGLE_CACHE);
  EXPECT_TRUE(IsChecked(general, IDC_GENERAL_ACTIVE));
  TrayCommand(run, IDM_TOGGLE_CACHE);
  EXPECT_FALSE(IsChecked(general, IDC_GENERAL_ACTIVE));

  // Cancel keeps caching off; the store then says 1 but the tray's switch wins.
  ASSERT_TRUE(CloseSheet(sheet, IDCANCEL));
  EXPECT_EQ(StoredWord("Data", 0), 0u);
  WriteDriverValue("Data", REG_BINARY, Concat({Le32(1), Le32(1), Le32(300), Le32(100)}));
  sheet = OpenPanel(run);
  ASSERT_NE(sheet, nullptr);
  EXPECT_FALSE(IsChecked(CurrentSheetPage(sheet), IDC_GENERAL_ACTIVE));
}

// The Edit Mode switch hands the sorted list to the driver and the store at
// once, and a refused request ends the Manager before anything is saved.
TEST_F(Panel, EditModeSwitchSendsTheSortedListAtOnceAndARefusalEndsTheManagerUnsaved) {
  WriteDriverValue("DB", REG_BINARY, TypeTable(1, {".TXT", ".BMP", "", "", "", "", "", ".DOC"}));
  HWND sheet = StartWithPanel();
  ASSERT_NE(sheet, nullptr);
  HWND page = ChooseSheetTab(sheet, kEditModeTab);
  Bytes stored;
  const auto sorted = [](uint32_t on) { return Hex(TypeTable(on, {".BMP", ".DOC", ".TXT"})); };
  for (uint32_t on : {0u, 1u}) {
    const std::string table = sorted(on);
    ResetDriver();
    ClickAndSync(page, IDC_EDIT_ENABLE);
    auto requests = DriverLog();
    ASSERT_EQ(requests.size(), 2u) << on;
    EXPECT_EQ(requests[0], "CACHE_SET_EDIT_TYPES 0x8105 " + table);
    EXPECT_THAT(requests[1], StartsWith(kSettingsRequest));
    EXPECT_EQ(IsEnabled(page, IDC_EDIT_LIST), on == 1);
    ASSERT_TRUE(ReadDriverValue("DB", &stored));
    EXPECT_EQ(Hex(stored), table);
  }

  for (const char* name : kRecordValues) DeleteDriverValue(name);
  ResetDriver();
  FailRequest(CACHE_SET_EDIT_TYPES);
  PressButton(page, IDC_EDIT_ENABLE);
  EXPECT_EQ(AnswerBox(kDefaultTimeoutMs, run.program.pid).text, "Fatal Error. FileTrove is unable to continue.");
  EXPECT_EQ(ExitCodeOf(run.program), 1u);
  EXPECT_EQ(DriverLog(), std::vector<std::string>{"CACHE_SET_EDIT_TYPES 0x8105 " + sorted(0) + " failed"});
  for (const char* name : kRecordValues) EXPECT_FALSE(ReadDriverValue(name, &stored)) << name;
}

}  // namespace
