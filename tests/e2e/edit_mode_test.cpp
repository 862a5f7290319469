// The Edit Mode page of the real Manager: its switch sends the list to the
// driver at once, survives Cancel, and a refused request ends the Manager.
// The page's list, dialogs and type names are unit tests.
#include "panel_session.h"
#include "res/resource.h"

namespace {

constexpr const char* kEditTypesRequest = "CACHE_SET_EDIT_TYPES 0x8105";

// The stored "DB": the switch, then each slot's bytes (the rest zero).
Bytes Table(uint32_t enabled, const std::vector<std::string>& slots) {
  Bytes table = Le32(enabled);
  table.resize(184, 0);
  for (size_t i = 0; i < slots.size(); i++) memcpy(&table[4 + 6 * i], slots[i].data(), slots[i].size());
  return table;
}

class EditMode : public PanelTest {
 protected:
  HWND OpenEditMode() {
    sheet = run.window ? OpenPanel(run) : StartWithPanel();
    return sheet ? ChooseSheetTab(sheet, kEditModeTab) : nullptr;
  }
  HWND sheet = nullptr;
};

TEST_F(EditMode, SwitchSendsTheListSortedAtOnceKeepsItAfterCancelAndAFailureEndsTheManager) {
  WriteDriverValue("DB", REG_BINARY, Table(1, {".TXT", ".BMP", "", "", "", "", "", ".DOC"}));
  HWND page = OpenEditMode();
  ASSERT_NE(page, nullptr);
  const Bytes off = Table(0, {".BMP", ".DOC", ".TXT"});
  Ftctl("reset");
  ClickAndSync(page, IDC_EDIT_ENABLE);
  auto requests = DriverLog();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0], std::string(kEditTypesRequest) + " " + Hex(off));
  EXPECT_EQ(requests[1].rfind("CACHE_SET_SETTINGS", 0), 0u);
  EXPECT_FALSE(IsEnabled(page, IDC_EDIT_LIST));

  ASSERT_TRUE(CloseSheet(sheet, IDCANCEL));
  Bytes stored;
  ASSERT_TRUE(ReadDriverValue("DB", &stored));
  EXPECT_EQ(Hex(stored), Hex(off));
  page = OpenEditMode();
  ASSERT_NE(page, nullptr);
  EXPECT_FALSE(IsChecked(page, IDC_EDIT_ENABLE));
  ClickAndSync(page, IDC_EDIT_ENABLE);
  EXPECT_TRUE(IsEnabled(page, IDC_EDIT_LIST));
  EXPECT_EQ(StoredWord("DB", 0), 1u);

  // The driver refuses the table: the Manager ends before anything is saved.
  for (const char* name : kSettingsValues) DeleteDriverValue(name);
  Ftctl("reset");
  ASSERT_EQ(Ftctl("fail CACHE_SET_EDIT_TYPES").exitCode, 0u);
  PressButton(page, IDC_EDIT_ENABLE);
  EXPECT_EQ(AnswerBox(kDefaultTimeoutMs, run.program.pid).text, "Fatal Error. FileTrove is unable to continue.");
  EXPECT_EQ(ExitCodeOf(run), 1u);
  EXPECT_EQ(DriverLog(), std::vector<std::string>{std::string(kEditTypesRequest) + " " + Hex(off) + " failed"});
  for (const char* name : kSettingsValues) EXPECT_FALSE(ReadDriverValue(name, &stored)) << name;
}

}  // namespace
