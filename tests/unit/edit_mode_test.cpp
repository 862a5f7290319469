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
      {"X.EXE,", "X.EXE", 0},
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
  char slot[EDIT_TYPE_SLOT_SIZE];
  WriteSlotExtension(slot, "TOOLONG");
  EXPECT_EQ(std::string(slot, sizeof slot), std::string(".TOOL\0", 6));
}

// A real page over types registered under HKEY_CLASSES_ROOT for the test.
class EditModeIcons : public ::testing::Test {
 protected:
  void SetUp() override {
    AppInstance = GetModuleHandleA(nullptr);
    GetModuleFileNameA(nullptr, program, sizeof program);  // holds icons 102, 105, 106
    char dir[MAX_PATH];
    GetTempPathA(sizeof dir, dir);
    snprintf(noIcons, sizeof noIcons, "%sft_no_icons.txt", dir);
    if (FILE* file = fopen(noIcons, "wb")) {
      fputs("no icons here\n", file);
      fclose(file);
    }
    Register("FTA", "FileTrove.UnitA", (std::string(program) + ",1").c_str());
    Register("FTB", "FileTrove.UnitB", program);
    Register("FTN", "FileTrove.UnitN", noIcons);
    Register("FTC", "FileTrove.UnitC", (std::string(program) + ",-1").c_str());  // -1 asks for the count
    Register("FTM", "FileTrove.UnitM", nullptr);

    EditModeTable = {};
    const char* listed[] = {".FTA", ".FTB", ".FTC", ".FTM", ".FTN", ".FTX"};  // FTX is not registered
    for (int slot = 0; slot < 6; slot++) WriteSlotExtension(EditModeTable.Extensions[slot], listed[slot] + 1);
    EditModeTable.EditModeEnabled = 1;
    host = CreateWindowExA(0, "STATIC", "host", WS_POPUP, 0, 0, 600, 400, nullptr, nullptr, nullptr, nullptr);
    page = CreateDialogParamA(AppInstance, MAKEINTRESOURCEA(IDD_EDIT_MODE), host, EditModePageProc, 0);
    logo = LoadIconA(nullptr, IDI_WINLOGO);
  }
  void TearDown() override {
    if (page) DestroyWindow(page);
    DestroyWindow(host);
    for (const char* key : {".FTA", ".FTB", ".FTC", ".FTN", ".FTM", "FileTrove.UnitA", "FileTrove.UnitB",
                            "FileTrove.UnitC", "FileTrove.UnitN", "FileTrove.UnitM"})
      DeleteKeyTree(HKEY_CLASSES_ROOT, key);
    DeleteFileA(noIcons);
  }
  static void Register(const char* extension, const char* className, const char* iconLocation) {
    auto text = [](const char* value) { return Bytes(value, value + strlen(value) + 1); };
    WriteValue(HKEY_CLASSES_ROOT, (std::string(".") + extension).c_str(), "", REG_SZ, text(className));
    WriteValue(HKEY_CLASSES_ROOT, className, "", REG_SZ, text("unit test type"));
    if (iconLocation)
      WriteValue(HKEY_CLASSES_ROOT, (std::string(className) + "\\DefaultIcon").c_str(), "", REG_SZ,
                 text(iconLocation));
  }
  // Selects a type (by its place in the sorted list) and returns the icon shown.
  HICON Select(int index) {
    SendDlgItemMessageA(page, IDC_EDIT_LIST, LB_SETCURSEL, index, 0);
    ShowFileType(page, IDC_EDIT_LIST);
    return reinterpret_cast<HICON>(SendDlgItemMessageA(page, IDC_EDIT_ICON, STM_GETICON, 0, 0));
  }
  static std::vector<uint32_t> Pixels(HICON icon) {
    ICONINFO info = {};
    if (!GetIconInfo(icon, &info)) return {};
    BITMAP bitmap = {};
    GetObjectA(info.hbmColor, sizeof bitmap, &bitmap);
    BITMAPINFO format = {};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = bitmap.bmWidth;
    format.bmiHeader.biHeight = bitmap.bmHeight;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    std::vector<uint32_t> pixels(static_cast<size_t>(bitmap.bmWidth) * bitmap.bmHeight);
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, info.hbmColor, 0, bitmap.bmHeight, pixels.data(), &format, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return pixels;
  }
  std::vector<uint32_t> PixelsInProgram(int index) {
    HICON icon = ExtractIconA(AppInstance, program, index);
    auto pixels = Pixels(icon);
    DestroyIcon(icon);
    return pixels;
  }
  static bool Alive(HICON icon) {
    ICONINFO info = {};
    if (!GetIconInfo(icon, &info)) return false;
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return true;
  }

  char program[MAX_PATH] = "";
  char noIcons[MAX_PATH] = "";
  HWND host = nullptr, page = nullptr;
  HICON logo = nullptr;
};

enum { kFTA, kFTB, kFTC, kFTM, kFTN, kFTX };

TEST_F(EditModeIcons, DefaultIconOrTheWindowsLogo) {
  ASSERT_NE(page, nullptr);
  ASSERT_NE(PixelsInProgram(0), PixelsInProgram(1));
  EXPECT_EQ(Pixels(Select(kFTA)), PixelsInProgram(1)) << "path,1";
  EXPECT_EQ(Pixels(Select(kFTB)), PixelsInProgram(0)) << "path without an index";
  EXPECT_EQ(Select(kFTC), logo) << "index -1";
  EXPECT_EQ(Select(kFTM), logo) << "no DefaultIcon";
  EXPECT_EQ(Select(kFTN), logo) << "a file without icons";
  EXPECT_EQ(Select(kFTX), logo) << "not registered";
  SendDlgItemMessageA(page, IDC_EDIT_LIST, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  ShowFileType(page, IDC_EDIT_LIST);
  EXPECT_EQ(reinterpret_cast<HICON>(SendDlgItemMessageA(page, IDC_EDIT_ICON, STM_GETICON, 0, 0)), logo);
}

TEST_F(EditModeIcons, ExtractedIconsAreReleasedWhenReplacedAndWithThePage) {
  ASSERT_NE(page, nullptr);
  HICON first = Select(kFTA);
  HICON second = Select(kFTB);
  EXPECT_FALSE(Alive(first));
  ASSERT_TRUE(Alive(second));
  Select(kFTX);
  EXPECT_FALSE(Alive(second));
  EXPECT_TRUE(Alive(logo));
  HICON third = Select(kFTA);
  ASSERT_TRUE(Alive(third));
  DestroyWindow(page);
  page = nullptr;
  EXPECT_FALSE(Alive(third));
}

}  // namespace
