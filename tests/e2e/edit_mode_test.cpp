// The Edit Mode page of the real Manager: the list from the stored table,
// the Add dialog, the switch that applies at once, and type names read from
// file types registered under HKEY_CLASSES_ROOT for the test.
#include <algorithm>

#include "panel_session.h"
#include "res/resource.h"

namespace {

constexpr int kExplanation = IDC_EDIT_EXPLANATION & 0xFFFF;  // as the template stores it
constexpr const char* kAddCaption = "Add New File Type:";
constexpr const char* kEditTypesRequest = "CACHE_SET_EDIT_TYPES 0x8105";

// The stored "DB": the switch, then each slot's bytes as given (at most 6,
// the rest of the slot and the unnamed slots zero).
Bytes Table(uint32_t enabled, const std::vector<std::string>& slots) {
  Bytes table = Le32(enabled);
  table.resize(184, 0);
  for (size_t i = 0; i < slots.size(); i++)
    memcpy(&table[4 + 6 * i], slots[i].data(), std::min<size_t>(6, slots[i].size()));
  return table;
}

class EditMode : public PanelTest {
 protected:
  void TearDown() override {
    PanelTest::TearDown();
    for (const char* key : kRegistered) DeleteKeyTree(HKEY_CLASSES_ROOT, key);
  }
  // Stores the table, opens the panel (starting the Manager when needed)
  // and returns the Edit Mode page.
  HWND OpenEditMode(const Bytes& table) {
    WriteDriverValue("DB", REG_BINARY, table);
    sheet = run.window ? OpenPanel(run) : StartWithPanel();
    return sheet ? ChooseSheetTab(sheet, kEditModeTab) : nullptr;
  }
  HWND OpenAddDialog(HWND page) {
    PressButton(page, IDC_EDIT_ADD);
    return WaitForWindow("#32770", kAddCaption, kDefaultTimeoutMs, run.program.pid);
  }
  // Ends the Add dialog with a button, or from its title bar (button 0).
  void EndAddDialog(HWND page, HWND dialog, int button) {
    if (button)
      PressButton(dialog, button);
    else
      PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(WaitWindowGone(dialog, kDefaultTimeoutMs));
    Sync(page);
  }
  // A file type: its key names the class (or only has another value), the
  // class's key gives the type's name.
  static void Register(const char* extension, const char* className, const char* typeName) {
    if (className)
      WriteValue(HKEY_CLASSES_ROOT, extension, "", REG_SZ, Text(className));
    else
      WriteValue(HKEY_CLASSES_ROOT, extension, "Content Type", REG_SZ, Text("text/plain"));
    if (className && typeName) WriteValue(HKEY_CLASSES_ROOT, className, "", REG_SZ, Text(typeName));
  }

  static constexpr const char* kRegistered[] = {".FTQ", ".FTC", ".FTE", ".FTV", "FileTrove.TestDoc",
                                                "FileTrove.Unnamed"};
  HWND sheet = nullptr;
};

TEST_F(EditMode, ListShowsUsedSlotsSortedAndApplyWritesThemFromSlotZero) {
  struct Case {
    Bytes stored;
    std::vector<std::string> listed;
    Bytes applied;
  } cases[] = {
      {Table(1, {".TXT", ".BMP", "", "", "", "", "", ".DOC"}), {"BMP", "DOC", "TXT"},
       Table(1, {".BMP", ".DOC", ".TXT"})},
      // Slots without their NUL give four characters and stay within their slot.
      {Table(0, {".ABCDE", ".XLSXY", ".wri"}), {"ABCD", "wri", "XLSX"}, Table(0, {".ABCD", ".wri", ".XLSX"})},
  };
  for (const Case& c : cases) {
    HWND page = OpenEditMode(c.stored);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(ListBoxItems(page, IDC_EDIT_LIST), c.listed);
    Ftctl("reset");
    PressApply(sheet);
    auto requests = DriverLog();
    auto sent = std::find(requests.begin(), requests.end(), std::string(kEditTypesRequest) + " " + Hex(c.applied));
    ASSERT_NE(sent, requests.end()) << Hex(c.applied);
    ASSERT_NE(sent + 1, requests.end());
    EXPECT_EQ(sent[1].rfind("CACHE_SET_SETTINGS", 0), 0u);
    Bytes stored;
    ASSERT_TRUE(ReadDriverValue("DB", &stored));
    EXPECT_EQ(Hex(stored), Hex(c.applied));
    ASSERT_TRUE(CloseSheet(sheet, IDCANCEL));
  }
}

TEST_F(EditMode, SwitchAppliesTheListAtOnceAndSurvivesCancel) {
  HWND page = OpenEditMode(Table(1, {".BMP", ".DOC", ".TXT"}));
  ASSERT_NE(page, nullptr);
  HWND dialog = OpenAddDialog(page);
  ASSERT_NE(dialog, nullptr);
  SetText(dialog, IDC_ADDEXT_TEXT, "XLS");
  EndAddDialog(page, dialog, IDOK);

  const Bytes off = Table(0, {".BMP", ".DOC", ".TXT", ".XLS"});
  Ftctl("reset");
  ClickAndSync(page, IDC_EDIT_ENABLE);
  auto requests = DriverLog();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0], std::string(kEditTypesRequest) + " " + Hex(off));
  EXPECT_EQ(requests[1].rfind("CACHE_SET_SETTINGS", 0), 0u);

  const int switched[] = {IDC_EDIT_LIST,        IDC_EDIT_ADD,  IDC_EDIT_REMOVE,
                          IDC_EDIT_TYPES_FRAME, IDC_EDIT_ICON, IDC_EDIT_TYPE_NAME};
  const int alwaysOn[] = {IDC_EDIT_ENABLE, IDC_EDIT_GENERAL_FRAME, kExplanation};
  auto expectEnabled = [&](bool on) {
    for (int control : switched) EXPECT_EQ(IsEnabled(page, control), on) << control;
    for (int control : alwaysOn) EXPECT_TRUE(IsEnabled(page, control)) << control;
  };
  expectEnabled(false);

  ASSERT_TRUE(CloseSheet(sheet, IDCANCEL));
  Bytes stored;
  ASSERT_TRUE(ReadDriverValue("DB", &stored));
  EXPECT_EQ(Hex(stored), Hex(off));
  sheet = OpenPanel(run);
  ASSERT_NE(sheet, nullptr);
  page = ChooseSheetTab(sheet, kEditModeTab);
  EXPECT_FALSE(IsChecked(page, IDC_EDIT_ENABLE));
  EXPECT_EQ(ListBoxItems(page, IDC_EDIT_LIST).size(), 4u);
  expectEnabled(false);
  ClickAndSync(page, IDC_EDIT_ENABLE);
  expectEnabled(true);
  EXPECT_EQ(StoredWord("DB", 0), 1u);
}

TEST_F(EditMode, AddTakesUpToFourCharactersInUpperCaseOnceInAnyCase) {
  HWND page = OpenEditMode(Table(1, {".bmp", ".DOC"}));
  ASSERT_NE(page, nullptr);
  struct Step {
    const char* shownAtOpen;
    const char* typed;  // into the emptied field; null: left as shown
    const char* field;  // after typing
    int button;         // 0: closed from the title bar
    std::vector<std::string> listed;
  } steps[] = {
      {"TXT", nullptr, "TXT", IDCANCEL, {"bmp", "DOC"}},
      {"TXT", "abcde", "ABCD", IDOK, {"ABCD", "bmp", "DOC"}},
      {"ABCD", "BMP", "BMP", IDOK, {"ABCD", "bmp", "DOC"}},
      {"BMP", "zip", "ZIP", 0, {"ABCD", "bmp", "DOC"}},
      {"BMP", "t", "T", IDOK, {"ABCD", "bmp", "DOC", "T"}},
  };
  for (const Step& step : steps) {
    HWND dialog = OpenAddDialog(page);
    ASSERT_NE(dialog, nullptr) << step.field;
    EXPECT_EQ(ControlText(dialog, IDC_ADDEXT_TEXT), step.shownAtOpen);
    if (step.typed) {
      SetText(dialog, IDC_ADDEXT_TEXT, "");
      TypeText(dialog, IDC_ADDEXT_TEXT, step.typed);
    }
    EXPECT_EQ(ControlText(dialog, IDC_ADDEXT_TEXT), step.field);
    EndAddDialog(page, dialog, step.button);
    EXPECT_EQ(ListBoxItems(page, IDC_EDIT_LIST), step.listed) << step.field;
  }
}

TEST_F(EditMode, FullListRefusesAddWithABoxAndNoDialog) {
  std::vector<std::string> thirty;
  for (int i = 0; i < 30; i++) thirty.push_back(".T" + std::to_string(10 + i));
  HWND page = OpenEditMode(Table(1, thirty));
  ASSERT_NE(page, nullptr);
  ASSERT_EQ(ListBoxItems(page, IDC_EDIT_LIST).size(), 30u);
  PressButton(page, IDC_EDIT_ADD);
  Box box = AnswerBox(kDefaultTimeoutMs, run.program.pid);
  EXPECT_EQ(box.text, "Maximum nimber of file types is 30.");
  EXPECT_EQ(box.owner, sheet);
  EXPECT_EQ(WaitForWindow("#32770", kAddCaption, 300, run.program.pid), nullptr);
  EXPECT_EQ(ListBoxItems(page, IDC_EDIT_LIST).size(), 30u);
}

// Type names come from the registered classes; the hints, and "Unknown Type"
// after a known type, from the language file or else the built-in texts.
TEST_F(EditMode, TypeNamesFromTheClassesAndHintsInBetween) {
  Register(".FTQ", "FileTrove.TestDoc", "FileTrove test document");
  Register(".FTC", "FileTrove.NoSuchClass", nullptr);  // class without a key
  Register(".FTE", "FileTrove.Unnamed", "");          // class without a name
  Register(".FTV", nullptr, nullptr);                   // no class named
  enum { kFTC, kFTE, kFTQ, kFTU, kFTV };                // FTU is not registered
  struct Texts {
    const char* languageFile;
    const char* frame;
    const char* explanation;
    const char* noSelection;
    const char* noTypes;
    const char* unknown;
  } runs[] = {
      {nullptr, "File Types", "File types to be cached when open for editing.", "No file selected",
       "No files included", "Unknown Type"},
      {"[Edit Mode]\n2=Dateitypen\n5=Keine Auswahl\n6=Keine Typen\n7=Unbekannt\n14=Erklaerung\n", "Dateitypen",
       "Erklaerung", "Keine Auswahl", "Keine Typen", "Unbekannt"},
  };
  for (const Texts& texts : runs) {
    if (texts.languageFile) {
      ASSERT_TRUE(CloseSheet(sheet, IDCANCEL));
      WriteLanguageFile(texts.languageFile);
    }
    HWND page = OpenEditMode(Table(1, {".FTQ", ".FTU", ".FTC", ".FTE", ".FTV"}));
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(ControlText(page, IDC_EDIT_TYPES_FRAME), texts.frame);
    EXPECT_EQ(ControlText(page, kExplanation), texts.explanation);
    EXPECT_EQ(ControlText(page, IDC_EDIT_TYPE_NAME), texts.noSelection);
    for (int unknown : {kFTU, kFTC, kFTE, kFTV}) {
      SelectListBoxItem(page, IDC_EDIT_LIST, kFTQ);
      EXPECT_EQ(ControlText(page, IDC_EDIT_TYPE_NAME), "FileTrove test document");
      SelectListBoxItem(page, IDC_EDIT_LIST, unknown);
      EXPECT_EQ(ControlText(page, IDC_EDIT_TYPE_NAME), texts.unknown) << unknown;
    }
    SelectListBoxItem(page, IDC_EDIT_LIST, -1);
    EXPECT_EQ(ControlText(page, IDC_EDIT_TYPE_NAME), texts.noSelection);
    PressButton(page, IDC_EDIT_REMOVE);
    EXPECT_EQ(AnswerBox(kDefaultTimeoutMs, run.program.pid).text, texts.noSelection);
    for (int left = 5; left > 0; left--) {
      SelectListBoxItem(page, IDC_EDIT_LIST, 0);
      ClickAndSync(page, IDC_EDIT_REMOVE);
    }
    EXPECT_EQ(ControlText(page, IDC_EDIT_TYPE_NAME), texts.noTypes);
  }
}

TEST_F(EditMode, FailingEditTypesEndTheManagerBeforeAnythingIsSaved) {
  HWND page = OpenEditMode(Table(1, {".BMP"}));
  ASSERT_NE(page, nullptr);
  for (const char* name : kSettingsValues) DeleteDriverValue(name);
  Ftctl("reset");
  ASSERT_EQ(Ftctl("fail CACHE_SET_EDIT_TYPES").exitCode, 0u);
  PressButton(page, IDC_EDIT_ENABLE);
  EXPECT_EQ(AnswerBox(kDefaultTimeoutMs, run.program.pid).text, "Fatal Error. FileTrove is unable to continue.");
  EXPECT_EQ(ExitCodeOf(run), 1u);
  EXPECT_EQ(DriverLog(), std::vector<std::string>{std::string(kEditTypesRequest) + " " +
                                                  Hex(Table(0, {".BMP"})) + " failed"});
  Bytes stored;
  for (const char* name : kSettingsValues) EXPECT_FALSE(ReadDriverValue(name, &stored)) << name;
}

}  // namespace
