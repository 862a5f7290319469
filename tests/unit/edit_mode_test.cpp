// The Edit Mode page: icon locations, table slots, and the real page over
// file types registered in this prefix: names, hints, icons, Add and Remove.
#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "page_host.h"
#include "panel/edit_mode_page.h"

namespace {

TEST(SplitIconLocation, CutsAtTheLastCommaAndReadsTheIndexAsAtoi) {
  struct Case {
    const char* location;
    const char* path;
    int index;
  } cases[] = {
      {"C:\\WIN\\SHELL.DLL,3", "C:\\WIN\\SHELL.DLL", 3},
      {"C:\\A,B\\X.EXE,-2", "C:\\A,B\\X.EXE", -2},  // only the last comma counts
      {"X.EXE, 12abc", "X.EXE", 12},
      {"X.EXE,abc", "X.EXE", 0},
      {"C:\\WIN\\NOTE.EXE", "C:\\WIN\\NOTE.EXE", 0},
      {"", "", 0},
  };
  for (const Case& c : cases) {
    char text[64];
    snprintf(text, sizeof text, "%s", c.location);
    EXPECT_EQ(SplitIconLocation(text), c.index) << c.location;
    EXPECT_STREQ(text, c.path) << c.location;
  }
}

TEST(EditModeSlots, ReadAtMostFourCharactersAndWriteWithinTheSlot) {
  struct Case {
    char stored[EDIT_TYPE_SLOT_SIZE];
    bool used;
    const char* shown;
    char written[EDIT_TYPE_SLOT_SIZE];
  } cases[] = {
      {{'.', 'B', 'M', 'P', 0, 'x'}, true, "BMP", {'.', 'B', 'M', 'P', 0, 0}},
      {{'.', 'A', 'B', 'C', 'D', 'E'}, true, "ABCD", {'.', 'A', 'B', 'C', 'D', 0}},  // no NUL stored
      {{'X', 'D', 'O', 'C', 0, 0}, true, "DOC", {'.', 'D', 'O', 'C', 0, 0}},
      {{'.', 0, 'Z', 'Z', 'Z', 'Z'}, true, "", {'.', 0, 0, 0, 0, 0}},
      {{0, 'T', 'X', 'T', 0, 0}, false, "", {}},
  };
  for (const Case& c : cases) {
    char shown[EXTENSION_SIZE] = "?";
    EXPECT_EQ(ReadSlotExtension(c.stored, shown), c.used) << c.shown;
    EXPECT_STREQ(shown, c.shown);
    if (!c.used) continue;
    // Written into the middle of a table: the neighbours stay untouched.
    char slots[3][EDIT_TYPE_SLOT_SIZE];
    memset(slots, '#', sizeof slots);
    WriteSlotExtension(slots[1], shown);
    EXPECT_EQ(memcmp(slots[1], c.written, EDIT_TYPE_SLOT_SIZE), 0) << c.shown;
    EXPECT_EQ(slots[0][5], '#');
    EXPECT_EQ(slots[2][0], '#');
  }
}

// The stored "DB": the switch and the slots' extensions (without their dot).
Bytes Table(uint32_t enabled, const std::vector<std::string>& extensions) {
  EditModeRecord table = {enabled};
  for (size_t i = 0; i < extensions.size(); i++) WriteSlotExtension(table.Extensions[i], extensions[i].c_str());
  return Bytes(reinterpret_cast<uint8_t*>(&table), reinterpret_cast<uint8_t*>(&table + 1));
}

// The real page over types registered under HKEY_CLASSES_ROOT for the test.
class EditModePage : public PageTest {
 protected:
  void SetUp() override {
    PageTest::SetUp();
    GetModuleFileNameA(nullptr, program, sizeof program);  // holds icons 102, 105, 106
    const std::string path = program;
    const struct {
      const char* extension;
      const char* className;  // null: the key names no class
      const char* typeName;   // null: the class has no key
      std::string icon;       // empty: no DefaultIcon
    } types[] = {
        {"FTA", "FileTrove.UnitA", "FileTrove test document", path + ",1"},
        {"FTB", "FileTrove.UnitB", "unit test type", path},
        {"FTC", "FileTrove.UnitC", "", path + ",-1"},  // -1 asks for a count
        {"FTD", "FileTrove.NoSuchClass", nullptr, ""},
        {"FTM", "FileTrove.UnitM", "unit test type", ""},
        {"FTV", nullptr, nullptr, ""},
    };
    for (const auto& type : types) {
      const std::string key = std::string(".") + type.extension;
      registered.push_back(key);
      if (!type.className) {
        WriteValue(HKEY_CLASSES_ROOT, key.c_str(), "Content Type", REG_SZ, Text("text/plain"));
        continue;
      }
      WriteValue(HKEY_CLASSES_ROOT, key.c_str(), "", REG_SZ, Text(type.className));
      if (!type.typeName) continue;
      registered.push_back(type.className);
      WriteValue(HKEY_CLASSES_ROOT, type.className, "", REG_SZ, Text(type.typeName));
      if (!type.icon.empty())
        WriteValue(HKEY_CLASSES_ROOT, (std::string(type.className) + "\\DefaultIcon").c_str(), "", REG_SZ,
                   Text(type.icon));
    }
  }
  void TearDown() override {
    PageTest::TearDown();
    for (const std::string& key : registered) DeleteKeyTree(HKEY_CLASSES_ROOT, key.c_str());
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
  // The icon's colour pixels; empty once the icon has been destroyed.
  static std::vector<uint32_t> Pixels(HICON icon) {
    ICONINFO info = {};
    if (!GetIconInfo(icon, &info)) return {};
    BITMAPINFO format = {{sizeof(BITMAPINFOHEADER), 32, 32, 1, 32, BI_RGB}};
    std::vector<uint32_t> pixels(32 * 32);
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, info.hbmColor, 0, 32, pixels.data(), &format, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return pixels;
  }
  std::vector<uint32_t> ProgramIcon(int index) {
    HICON icon = ExtractIconA(AppInstance, program, index);
    auto pixels = Pixels(icon);
    DestroyIcon(icon);
    return pixels;
  }
  std::vector<std::string> Listed() { return ListBoxItems(page, IDC_EDIT_LIST); }

  char program[MAX_PATH] = "";
  std::vector<std::string> registered;
};

TEST_F(EditModePage, ListsTheUsedSlotsSortedAndEnablesItsControlsByTheSwitch) {
  const int switched[] = {IDC_EDIT_LIST,        IDC_EDIT_ADD,  IDC_EDIT_REMOVE,
                          IDC_EDIT_TYPES_FRAME, IDC_EDIT_ICON, IDC_EDIT_TYPE_NAME};
  const int alwaysOn[] = {IDC_EDIT_ENABLE, IDC_EDIT_GENERAL_FRAME, IDC_EDIT_EXPLANATION & 0xFFFF};
  for (uint32_t on : {0u, 1u}) {
    Bytes table = Table(on, {"TXT", "BMP"});
    memcpy(&table[4 + 6 * 7], ".DOC\0", 6);  // after empty slots
    ASSERT_NE(OpenEditMode(table), nullptr);
    EXPECT_EQ(Listed(), (std::vector<std::string>{"BMP", "DOC", "TXT"}));
    EXPECT_EQ(IsChecked(page, IDC_EDIT_ENABLE), on == 1);
    for (int control : switched) EXPECT_EQ(IsEnabled(page, control), on == 1) << control;
    for (int control : alwaysOn) EXPECT_TRUE(IsEnabled(page, control)) << control;
    DestroyWindow(sheet);
  }
}

// Names come from the registered classes, icons from their DefaultIcon or
// else the Windows logo; the hints, and "Unknown Type" after a known type,
// from the language file or else the string table. An extracted icon is
// destroyed once replaced, and with the page.
TEST_F(EditModePage, TypeNamesIconsAndHintsInBetween) {
  enum { kFTA, kFTB, kFTC, kFTD, kFTM, kFTV, kFTX, kNone = -1 };  // FTX is not registered
  const struct {
    int type;
    const char* name;  // null: the hint
    int icon;          // the program's icon of that index; -1: the logo
  } steps[] = {
      {kFTA, "FileTrove test document", 1}, {kFTX, nullptr, -1}, {kFTA, "FileTrove test document", 1},
      {kFTC, nullptr, -1}, {kFTA, "FileTrove test document", 1}, {kFTD, nullptr, -1},
      {kFTB, "unit test type", 0},          {kFTV, nullptr, -1}, {kFTM, "unit test type", -1},
      {kNone, nullptr, -1},
  };
  const struct {
    const char* languageFile;
    const char *noSelection, *noTypes, *unknown;
  } runs[] = {
      {nullptr, "No file selected", "No files included", "Unknown Type"},
      {"[Edit Mode]\n5=Keine Auswahl\n6=Keine Typen\n7=Unbekannt\n", "Keine Auswahl", "Keine Typen", "Unbekannt"},
  };
  const HICON logo = LoadIconA(nullptr, IDI_WINLOGO);
  ASSERT_NE(ProgramIcon(0), ProgramIcon(1));
  for (const auto& texts : runs) {
    if (texts.languageFile) UseLanguageFile(texts.languageFile);
    ASSERT_NE(OpenEditMode(Table(1, {"FTA", "FTX", "FTC", "FTD", "FTV", "FTM", "FTB"})), nullptr);
    EXPECT_EQ(ControlText(page, IDC_EDIT_TYPE_NAME), texts.noSelection);
    HICON extracted = nullptr;
    for (const auto& step : steps) {
      HICON icon = Select(step.type);
      EXPECT_EQ(ControlText(page, IDC_EDIT_TYPE_NAME),
                step.name ? step.name : step.type == kNone ? texts.noSelection : texts.unknown) << step.type;
      if (step.icon < 0) EXPECT_EQ(icon, logo) << step.type;
      else EXPECT_EQ(Pixels(icon), ProgramIcon(step.icon)) << step.type;
      if (extracted && extracted != icon) EXPECT_TRUE(Pixels(extracted).empty()) << "replaced, " << step.type;
      extracted = step.icon < 0 ? nullptr : icon;
    }
    EXPECT_FALSE(Pixels(logo).empty());
    auto shown = Opened([&] { Click(IDC_EDIT_REMOVE); });
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, texts.noSelection);
    EXPECT_EQ(shown[0].owner, sheet);
    for (int left = 7; left > 0; left--) {
      Select(0);
      EXPECT_TRUE(Opened([&] { Click(IDC_EDIT_REMOVE); }).empty());
    }
    EXPECT_EQ(Listed().size(), 0u);
    EXPECT_EQ(ControlText(page, IDC_EDIT_TYPE_NAME), texts.noTypes);
    DestroyWindow(sheet);
  }
  OpenEditMode(Table(1, {"FTA"}));
  HICON last = Select(0);
  DestroyWindow(sheet);
  EXPECT_TRUE(Pixels(last).empty()) << "the page's end destroys its icon";
}

TEST_F(EditModePage, AddTakesUpToFourCharactersInUpperCaseOnceInAnyCase) {
  ASSERT_NE(OpenEditMode(Table(1, {"bmp", "DOC"})), nullptr);
  const struct {
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
  for (const auto& step : steps) {
    std::string shownAtOpen, field;
    auto shown = Opened([&] { Click(IDC_EDIT_ADD); },
                        [&](HWND dialog) {
                          shownAtOpen = ControlText(dialog, IDC_ADDEXT_TEXT);
                          if (step.typed) {
                            SetText(dialog, IDC_ADDEXT_TEXT, "");
                            TypeText(dialog, IDC_ADDEXT_TEXT, step.typed);
                          }
                          field = ControlText(dialog, IDC_ADDEXT_TEXT);
                          if (step.button)
                            PressButton(dialog, step.button);
                          else
                            PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
                        });
    ASSERT_EQ(shown.size(), 1u) << step.field;
    EXPECT_EQ(shown[0].caption, "Add New File Type:");
    EXPECT_EQ(shownAtOpen, step.shownAtOpen);
    EXPECT_EQ(field, step.field);
    EXPECT_EQ(Listed(), step.listed) << step.field;
  }
}

TEST_F(EditModePage, AFullListRefusesAddWithABoxAndNoDialog) {
  std::vector<std::string> thirty;
  for (int i = 0; i < 30; i++) thirty.push_back("T" + std::to_string(10 + i));
  ASSERT_NE(OpenEditMode(Table(1, thirty)), nullptr);
  auto shown = Opened([&] { Click(IDC_EDIT_ADD); });
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].caption, "FileTrove");
  EXPECT_EQ(shown[0].text, "Maximum nimber of file types is 30.");
  EXPECT_EQ(shown[0].owner, sheet);
  EXPECT_EQ(Listed().size(), 30u);
}

}  // namespace
