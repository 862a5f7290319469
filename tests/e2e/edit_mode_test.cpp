// The Edit Mode page of the real Manager: its switch hands the sorted list to
// the driver and the store at once, and a refused request ends the Manager
// before anything is saved. What the page decides is a unit test.
#include "manager_session.h"
#include "res/resource.h"

namespace {

// The stored "DB": the switch, then each slot's bytes (the rest zero).
Bytes Table(uint32_t enabled, const std::vector<std::string>& slots) {
  Bytes table = Le32(enabled);
  table.resize(184, 0);
  for (size_t i = 0; i < slots.size(); i++) memcpy(&table[4 + 6 * i], slots[i].data(), slots[i].size());
  return table;
}

using EditMode = ManagerTest;

TEST_F(EditMode, SwitchSendsTheSortedListAtOnceAndARefusalEndsTheManagerUnsaved) {
  WriteDriverValue("DB", REG_BINARY, Table(1, {".TXT", ".BMP", "", "", "", "", "", ".DOC"}));
  HWND sheet = StartWithPanel();
  ASSERT_NE(sheet, nullptr);
  HWND page = ChooseSheetTab(sheet, kEditModeTab);
  Bytes stored;
  const auto sorted = [](uint32_t on) { return Hex(Table(on, {".BMP", ".DOC", ".TXT"})); };
  for (uint32_t on : {0u, 1u}) {
    const std::string table = sorted(on);
    Ftctl("reset");
    ClickAndSync(page, IDC_EDIT_ENABLE);
    auto requests = DriverLog();
    ASSERT_EQ(requests.size(), 2u) << on;
    EXPECT_EQ(requests[0], "CACHE_SET_EDIT_TYPES 0x8105 " + table);
    EXPECT_EQ(requests[1].rfind("CACHE_SET_SETTINGS", 0), 0u);
    EXPECT_EQ(IsEnabled(page, IDC_EDIT_LIST), on == 1);
    ASSERT_TRUE(ReadDriverValue("DB", &stored));
    EXPECT_EQ(Hex(stored), table);
  }

  for (const char* name : kSettingsValues) DeleteDriverValue(name);
  Ftctl("reset");
  ASSERT_EQ(Ftctl("fail CACHE_SET_EDIT_TYPES").exitCode, 0u);
  PressButton(page, IDC_EDIT_ENABLE);
  EXPECT_EQ(AnswerBox(kDefaultTimeoutMs, run.program.pid).text, "Fatal Error. FileTrove is unable to continue.");
  EXPECT_EQ(ExitCodeOf(run), 1u);
  EXPECT_EQ(DriverLog(), std::vector<std::string>{"CACHE_SET_EDIT_TYPES 0x8105 " + sorted(0) + " failed"});
  for (const char* name : kSettingsValues) EXPECT_FALSE(ReadDriverValue(name, &stored)) << name;
}

}  // namespace
