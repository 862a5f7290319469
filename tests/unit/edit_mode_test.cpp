// The real Edit Mode page over file types registered in this prefix: names,
// icons, hints, Add and Remove.
#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "page_host.h"
#include "panel/edit_mode_page.h"

namespace {

// The real page over types registered under HKEY_CLASSES_ROOT for the test.
class EditModePage : public PageTest {
 protected:
  void SetUp() override {
    PageTest::SetUp();
    GetModuleFileNameA(nullptr, program, sizeof program);  // holds icons 102, 105, 106
    const std::string path = program;
    const std::pair<std::string, std::string> values[] = {  // the default values of keys
        {".FTA", "FileTrove.UnitA"}, {"FileTrove.UnitA", "FileTrove test document"},
        {"FileTrove.UnitA\\DefaultIcon", path + ",1"},
        {".FTB", "FileTrove.UnitB"}, {"FileTrove.UnitB", "unit test type"}, {"FileTrove.UnitB\\DefaultIcon", path},
        {".FTC", "FileTrove.UnitC"}, {"FileTrove.UnitC", ""},
        {"FileTrove.UnitC\\DefaultIcon", path + ",-1"},  // -1 asks for a count
        {".FTD", "FileTrove.NoSuchClass"},
        {".FTE", "FileTrove.UnitE"}, {"FileTrove.UnitE", std::string(260, 'n')},  // one byte more than read
    };
    for (const auto& value : values) WriteValue(HKEY_CLASSES_ROOT, value.first.c_str(), "", REG_SZ, Text(value.second));
  }
  void TearDown() override {
    PageTest::TearDown();
    for (const char* key : {".FTA", ".FTB", ".FTC", ".FTD", ".FTE", "FileTrove.UnitA", "FileTrove.UnitB",
                            "FileTrove.UnitC", "FileTrove.UnitE"})
      DeleteKeyTree(HKEY_CLASSES_ROOT, key);
  }
  HWND OpenEditMode(const Bytes& table) {
    WriteDriverValue("DB", REG_BINARY, table);
    return Open(IDD_EDIT_MODE, EditModePageProc);
  }
  // Selects an item by its place in the sorted list (-1: none) as a click
  // does; the icon shown.
  HICON Select(int index) {
    SelectListBoxItem(page, IDC_EDIT_LIST, index);
    return reinterpret_cast<HICON>(SendDlgItemMessageA(page, IDC_EDIT_ICON, STM_GETICON, 0, 0));
  }
  Bytes ProgramIcon(int index) {
    HICON icon = ExtractIconA(AppInstance, program, index);
    Bytes pixels = IconPixels(icon);
    DestroyIcon(icon);
    return pixels;
  }
  std::vector<std::string> Listed() { return ListBoxItems(page, IDC_EDIT_LIST); }

  char program[MAX_PATH] = "";
};

TEST_F(EditModePage, ListsTheUsedSlotsSortedAndEnablesItsControlsByTheSwitch) {
  for (uint32_t on : {0u, 1u}) {
    // A slot starting with NUL is unused, whatever follows; a used one shows
    // at most four characters after any first byte.
    const std::string unused("\0TXT", 4);
    ASSERT_NE(OpenEditMode(TypeTable(on, {".TXT", ".BMP", unused, "", "", "", "", "XDOC", ".ABCDE"})), nullptr);
    EXPECT_EQ(Listed(), (std::vector<std::string>{"ABCD", "BMP", "DOC", "TXT"}));
    EXPECT_EQ(IsChecked(page, IDC_EDIT_ENABLE), on == 1);
    for (int control : {IDC_EDIT_LIST, IDC_EDIT_ADD, IDC_EDIT_REMOVE, IDC_EDIT_TYPES_FRAME, IDC_EDIT_ICON,
                        IDC_EDIT_TYPE_NAME})
      EXPECT_EQ(IsEnabled(page, control), on == 1) << control;
    DestroyWindow(sheet);
  }
}

// Names come from the registered classes, icons from their DefaultIcon or
// else the Windows logo, and replace those shown before. An extracted icon
// is destroyed once replaced, and with the page.
TEST_F(EditModePage, TypeNamesIconsAndHintsReplaceTheLastOnes) {
  enum { kFTA, kFTB, kFTC, kFTD, kFTE, kFTX, kNone = -1 };  // sorted; FTX is not registered
  const char *a = "FileTrove test document", *unknown = "Unknown Type", *none = "No file selected";
  const struct { int type; const char* name; int icon; } steps[] = {  // icon: the program's of that index, -1 the logo
      {kFTA, a, 1}, {kFTX, unknown, -1}, {kFTB, "unit test type", 0}, {kFTC, unknown, -1},
      {kFTA, a, 1}, {kFTD, unknown, -1}, {kFTE, unknown, -1}, {kFTA, a, 1}, {kNone, none, -1},
  };
  const HICON logo = LoadIconA(nullptr, IDI_WINLOGO);
  ASSERT_NE(ProgramIcon(0), ProgramIcon(1));
  ASSERT_NE(OpenEditMode(TypeTable(1, {".FTA", ".FTX", ".FTC", ".FTD", ".FTB", ".FTE"})), nullptr);
  EXPECT_EQ(ControlText(page, IDC_EDIT_TYPE_NAME), none);
  HICON extracted = nullptr;
  for (const auto& step : steps) {
    HICON icon = Select(step.type);
    EXPECT_EQ(ControlText(page, IDC_EDIT_TYPE_NAME), step.name) << step.type;
    if (step.icon < 0) EXPECT_EQ(icon, logo) << step.type;
    else EXPECT_EQ(IconPixels(icon), ProgramIcon(step.icon)) << step.type;
    if (extracted && extracted != icon) EXPECT_TRUE(IconPixels(extracted).empty()) << "replaced, " << step.type;
    extracted = step.icon < 0 ? nullptr : icon;
  }
  EXPECT_FALSE(IconPixels(logo).empty());

  // Remove without a selection shows the hint in a box.
  EXPECT_EQ(OneBox([&] { Click(IDC_EDIT_REMOVE); }), std::string("FileTrove: ") + none);
  for (int left = 5; left >= 0; left--) {
    EXPECT_TRUE(Opened([&] { Select(0), Click(IDC_EDIT_REMOVE); }).empty());
    EXPECT_EQ(ControlText(page, IDC_EDIT_TYPE_NAME), left > 0 ? none : "No files included") << left << " left";
  }
  EXPECT_EQ(Listed().size(), 0u);
  DestroyWindow(sheet);

  OpenEditMode(TypeTable(1, {".FTA"}));
  HICON last = Select(0);
  DestroyWindow(sheet);
  EXPECT_TRUE(IconPixels(last).empty()) << "the page's end destroys its icon";
}

// Up to four characters in upper case, added on OK only and once in any
// case, until the list holds 30 types; the field shows the last one taken.
// The hint follows an Add: a first type listed is one not yet selected.
TEST_F(EditModePage, AddingToAnEmptyListTurnsTheHintToNoneSelected) {
  ASSERT_NE(OpenEditMode(TypeTable(1, {})), nullptr);
  EXPECT_EQ(ControlText(page, IDC_EDIT_TYPE_NAME), "No files included");
  Opened([&] { Click(IDC_EDIT_ADD); }, [&](HWND dialog) {
    SetText(dialog, IDC_ADDEXT_TEXT, "TXT");
    PressButton(dialog, IDOK);
  });
  EXPECT_EQ(Listed(), std::vector<std::string>{"TXT"});
  EXPECT_EQ(ControlText(page, IDC_EDIT_TYPE_NAME), "No file selected");
}

TEST_F(EditModePage, AddTakesUpToFourCharactersInUpperCaseOnceInAnyCaseUpToThirty) {
  std::vector<std::string> slots = {".bmp"};
  for (int i = 10; i < 36; i++) slots.push_back(".T" + std::to_string(i));
  ASSERT_NE(OpenEditMode(TypeTable(1, slots)), nullptr);
  // Typed into the emptied field, then the field; a button 0 closes from the
  // title bar; the list's length afterwards.
  const struct { const char *shownAtOpen, *typed, *field; int button; size_t listed; } steps[] = {
      {"TXT", "xyz", "XYZ", IDCANCEL, 27}, {"TXT", "abcde", "ABCD", IDOK, 28}, {"ABCD", "BMP", "BMP", IDOK, 28},
      {"BMP", "zip", "ZIP", 0, 28},        {"BMP", "", "", IDOK, 28},          {"", "t", "T", IDOK, 29},
      {"T", "u", "U", IDOK, 30},
  };
  for (const auto& step : steps) {
    std::string shownAtOpen, field;
    auto shown = Opened([&] { Click(IDC_EDIT_ADD); }, [&](HWND dialog) {
      shownAtOpen = ControlText(dialog, IDC_ADDEXT_TEXT);
      SetText(dialog, IDC_ADDEXT_TEXT, "");
      TypeText(dialog, IDC_ADDEXT_TEXT, step.typed);
      field = ControlText(dialog, IDC_ADDEXT_TEXT);
      if (step.button) PressButton(dialog, step.button);
      else PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    });
    ASSERT_EQ(shown.size(), 1u) << step.typed;
    EXPECT_EQ(shown[0].caption, "Add New File Type:");
    EXPECT_EQ(shownAtOpen, step.shownAtOpen);
    EXPECT_EQ(field, step.field);
    EXPECT_EQ(Listed().size(), step.listed) << step.typed;
  }
  EXPECT_EQ(Listed()[0], "ABCD");
  EXPECT_EQ(OneBox([&] { Click(IDC_EDIT_ADD); }), "FileTrove: Maximum nimber of file types is 30.");
  EXPECT_EQ(Listed().size(), 30u);
}

}  // namespace
