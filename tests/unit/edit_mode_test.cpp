// The Edit Mode page's pieces: icon locations, table slots, and the icons
// that a real page shows for file types registered in this prefix.
#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "harness.h"
#include "panel/control_panel.h"
#include "panel/edit_mode_page.h"
#include "res/resource.h"
#include "text/message_text.h"

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

// A real page over types registered under HKEY_CLASSES_ROOT for the test.
class EditModeIcons : public ::testing::Test {
 protected:
  void SetUp() override {
    AppInstance = GetModuleHandleA(nullptr);
    GetModuleFileNameA(nullptr, program, sizeof program);  // holds icons 102, 105, 106
    const std::string path = program;
    const std::pair<const char*, std::string> types[] = {
        {"FTA", path + ",1"}, {"FTB", path}, {"FTC", path + ",-1"} /* -1 asks for a count */, {"FTM", ""}};
    for (const auto& [extension, icon] : types) {
      std::string className = std::string("FileTrove.Unit") + extension;
      WriteValue(HKEY_CLASSES_ROOT, (std::string(".") + extension).c_str(), "", REG_SZ, Text(className));
      WriteValue(HKEY_CLASSES_ROOT, className.c_str(), "", REG_SZ, Text("unit test type"));
      if (!icon.empty()) WriteValue(HKEY_CLASSES_ROOT, (className + "\\DefaultIcon").c_str(), "", REG_SZ, Text(icon));
      registered.push_back(std::string(".") + extension);
      registered.push_back(className);
    }
    EditModeTable = {1};
    const char* listed[] = {"FTA", "FTB", "FTC", "FTM", "FTX"};  // FTX is not registered
    for (int slot = 0; slot < 5; slot++) WriteSlotExtension(EditModeTable.Extensions[slot], listed[slot]);
    host = CreateWindowExA(0, "STATIC", "host", WS_POPUP, 0, 0, 600, 400, nullptr, nullptr, nullptr, nullptr);
    page = CreateDialogParamA(AppInstance, MAKEINTRESOURCEA(IDD_EDIT_MODE), host, EditModePageProc, 0);
  }
  void TearDown() override {
    if (page) DestroyWindow(page);
    DestroyWindow(host);
    for (const std::string& key : registered) DeleteKeyTree(HKEY_CLASSES_ROOT, key.c_str());
  }
  static Bytes Text(const std::string& text) { return Bytes(text.c_str(), text.c_str() + text.size() + 1); }
  // Selects a type by its place in the sorted list (-1: none); the icon shown.
  HICON Select(int index) {
    SendDlgItemMessageA(page, IDC_EDIT_LIST, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    ShowFileType(page, IDC_EDIT_LIST);
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

  char program[MAX_PATH] = "";
  std::vector<std::string> registered;
  HWND host = nullptr, page = nullptr;
};

TEST_F(EditModeIcons, DefaultIconOrTheLogoAndExtractedIconsAreReleased) {
  enum { kFTA, kFTB, kFTC, kFTM, kFTX, kNone = -1 };
  ASSERT_NE(page, nullptr);
  ASSERT_NE(ProgramIcon(0), ProgramIcon(1));
  const HICON logo = LoadIconA(nullptr, IDI_WINLOGO);
  HICON first = Select(kFTA);
  EXPECT_EQ(Pixels(first), ProgramIcon(1)) << "path,1";
  HICON second = Select(kFTB);
  EXPECT_EQ(Pixels(second), ProgramIcon(0)) << "path without an index";
  EXPECT_TRUE(Pixels(first).empty()) << "a replaced icon is destroyed";
  for (int type : {kFTC, kFTM, kFTX, kNone}) EXPECT_EQ(Select(type), logo) << type;
  EXPECT_TRUE(Pixels(second).empty());
  EXPECT_FALSE(Pixels(logo).empty());
  HICON third = Select(kFTA);
  DestroyWindow(page);
  page = nullptr;
  EXPECT_TRUE(Pixels(third).empty()) << "the page's end destroys its icon";
}

}  // namespace
