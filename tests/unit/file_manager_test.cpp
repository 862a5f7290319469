// The File Manager page: the real page over a cache folder and records of the
// test's own.
#include <gtest/gtest.h>

#include <string>

#include "import_swap.h"
#include "page_host.h"
#include "panel/file_manager_rows.h"
#include "settings/cache_folder.h"

namespace {

using Texts = std::vector<std::string>;

constexpr const char* kFolder = "C:\\FTFMUNIT";

Bytes Record(FILETIME lastUsed, uint32_t hits) {
  return RecordBytes(1, Ticks(lastUsed), hits);
}

class FileManagerPage : public PageTest {
 protected:
  void Make(const std::string& name, uint64_t size, const Bytes& record = {}) {
    EXPECT_TRUE(cache.Make(name, size, record)) << name;
  }
  HWND OpenFiles(const Bytes& cacheDir = Text(kFolder)) {
    WriteDriverValue("CacheDir", REG_SZ, cacheDir);
    Open(IDD_FILE_MANAGER, FileManagerPageProc);
    return list = GetDlgItem(page, IDC_FILES_LIST);
  }
  // Each row's first cells as the list shows them, joined by '|'.
  Texts Listed(int columns = 1) const {
    Texts rows(ListView_GetItemCount(list));
    char cell[300];
    for (int at = 0; at < static_cast<int>(rows.size()) * columns; at++) {
      ListView_GetItemText(list, at / columns, at % columns, cell, sizeof cell);
      rows[at / columns] += (at % columns ? "|" : "") + std::string(cell);
    }
    return rows;
  }
  std::string Totals() const { return ControlText(page, IDC_FILES_TOTALS); }
  void Select(std::initializer_list<int> rows) {
    ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
    for (int row : rows) ListView_SetItemState(list, row, LVIS_SELECTED, LVIS_SELECTED);
  }
  // Deletes the selection by the button or the Delete key; the boxes shown.
  Texts Delete(bool byKey = false) {
    Texts texts;
    auto press = [&] { byKey ? (void)SendMessageA(list, WM_KEYDOWN, VK_DELETE, 0) : Click(IDC_FILES_DELETE); };
    for (const Shown& box : Opened(press)) texts.push_back(box.caption + ": " + box.text);
    return texts;
  }
  HWND list = nullptr;
  MadeFolder cache{kFolder};
};

TEST_F(FileManagerPage, ListsTheFilesWithTheirRecordsInTheLanguageInUse) {
  Make("dated.dat", 10, Record(Utc(1997, 3, 7, 23), 5));
  Make("norecord.dat", 20);
  Make("damaged.dat", 30, Concat({Record(Utc(1997, 3, 7, 1), 5), {0}}));
  Make("Zero.dat", 963, Record(FILETIME{}, 3));  // 1023 bytes in all: just below 1.5 K
  for (const char* name : {".hidden", "..two"}) Make(name, 1, Record(Utc(1997, 3, 7, 1), 1));
  for (const char* folder : {"adir", "zdir"}) cache.Make(folder, 0, {}, true);
  const struct { const char* languageFile; Texts headers; std::string noInfo; const char *totals, *button, *frame; }
      runs[] = {{nullptr, {"Filename", "File Size", "Last used on", "Hits"}, "No info available", "4 File(s), 1 K",
                 "D&elete", " Cached files until %d/%d/%d "},
                {"[File Manager]\n1=  Stand %d.%d.%d  \n2=Datei\n3=Groesse\n4=Zuletzt\n5=Treffer\n6=&Loeschen\n"
                 "8=%ld Dateien, %.0lf K\n11=Keine Angabe\n",
                 {"Datei", "Groesse", "Zuletzt", "Treffer"}, "Keine Angabe", "4 Dateien, 1 K", "&Loeschen",
                 "Stand %d.%d.%d"}};
  SYSTEMTIME today;
  GetSystemTime(&today);
  char text[100];
  for (const auto& run : runs) {
    if (run.languageFile) UseLanguageFile(run.languageFile);
    ASSERT_NE(OpenFiles(), nullptr);
    EXPECT_EQ(Listed(4), (Texts{"damaged.dat|30|" + run.noInfo + "|0", "dated.dat|10|3/7/1997|5",
                                "norecord.dat|20|" + run.noInfo + "|0", "Zero.dat|963|" + run.noInfo + "|3"}));
    for (int column = 0; column < FILE_LIST_COLUMNS; column++) {
      LVCOLUMNA header = {LVCF_TEXT, 0, 0, text, sizeof text, 0, 0, 0};
      ListView_GetColumn(list, column, &header);
      EXPECT_EQ(text, run.headers[column]);
    }
    EXPECT_EQ(Totals(), run.totals);
    EXPECT_EQ(ControlText(page, IDC_FILES_DELETE), run.button);
    snprintf(text, sizeof text, run.frame, today.wMonth, today.wDay, today.wYear);
    EXPECT_EQ(ControlText(page, IDC_FILES_FRAME), text);
    EXPECT_EQ(GetWindowLongA(list, GWL_STYLE), WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT);
    EXPECT_EQ(GetWindowLongA(list, GWL_EXSTYLE), 0);
    DestroyWindow(sheet);
  }
}

TEST_F(FileManagerPage, EachHeaderSortsInItsOneOrderAndEveryVisitRescansByName) {
  Make("b.dat", 1, Record(Utc(2020, 5, 1, 23), 7));
  Make("A.dat", 4294967296ull, Record(Utc(2020, 5, 1, 1), 0xFFFFFFFFu));  // sparse
  Make("c.dat", 2000, Record(Utc(2021, 1, 1, 0), 0));
  Make("D.dat", 500);
  ASSERT_NE(OpenFiles(), nullptr);
  EXPECT_EQ(Listed(4), (Texts{"A.dat|4294967296|5/1/2020|4294967295", "b.dat|1|5/1/2020|7", "c.dat|2000|1/1/2021|0",
                              "D.dat|500|No info available|0"}));
  EXPECT_EQ(Totals(), "4 File(s), 4194307 K");  // rounded: 4194306.44 without the half kilobyte
  // Header clicks as the list reports them; rows that rank equal keep their order.
  const std::pair<int, Texts> sorts[] = {
      {1, {"A.dat", "c.dat", "D.dat", "b.dat"}}, {1, {"A.dat", "c.dat", "D.dat", "b.dat"}},
      {2, {"c.dat", "A.dat", "b.dat", "D.dat"}}, {3, {"A.dat", "b.dat", "c.dat", "D.dat"}},
      {2, {"c.dat", "A.dat", "b.dat", "D.dat"}}, {0, {"A.dat", "b.dat", "c.dat", "D.dat"}}, {1, {}}};
  for (const auto& [column, order] : sorts) {
    NMLISTVIEW click = {{list, IDC_FILES_LIST, LVN_COLUMNCLICK}, -1, column};
    SendMessageA(page, WM_NOTIFY, IDC_FILES_LIST, reinterpret_cast<LPARAM>(&click));
    if (!order.empty()) EXPECT_EQ(Listed(), order) << column;
  }
  Make("B-new.dat", 1);  // cached after the last click, while another page shows
  Revisit();
  EXPECT_EQ(Listed(), (Texts{"A.dat", "B-new.dat", "b.dat", "c.dat", "D.dat"}));
}

TEST_F(FileManagerPage, DeletesTheSelectedFilesUpToOneInUseAndPassesFilesAlreadyGone) {
  const Texts names = {"%s%n.dat", "a.dat", "b.dat", "c.dat", "d.dat", "e.dat"};
  for (const std::string& name : names) Make(name, 50, Record(Utc(2020, 1, 1), 1));
  ASSERT_NE(OpenFiles(), nullptr);
  Select({1, 4});
  EXPECT_EQ(Delete(), Texts{});
  EXPECT_EQ(Listed(), (Texts{"%s%n.dat", "b.dat", "c.dat", "e.dat"}));
  EXPECT_EQ(Totals(), "4 File(s), 0 K");  // 200 bytes, not rounded
  for (const std::string& name : names) {
    EXPECT_EQ(cache.There(name), name != "a.dat" && name != "d.dat") << name;
    EXPECT_EQ(StoredWord(name.c_str(), 16), 1u) << name << ": the record is the driver's";
  }
  for (bool byKey : {true, false}) {
    Select({});
    EXPECT_EQ(Delete(byKey), Texts{"FileTrove: No item was selected."});
  }
  // The deletion stops at a file in use: the rows below keep their selection.
  HANDLE held = CreateFileW(cache.Path("c.dat").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  Select({0, 1, 2, 3});
  EXPECT_EQ(Delete(true), Texts{"FileTrove: Cannot delete c.dat. File is probably in use."});
  CloseHandle(held);
  EXPECT_EQ(Listed(), (Texts{"c.dat", "e.dat"}));
  EXPECT_EQ(ListView_GetSelectedCount(list), 2u);
  EXPECT_EQ(Totals(), "2 File(s), 0 K");
  EXPECT_FALSE(cache.There("%s%n.dat") || cache.There("b.dat"));
  ASSERT_TRUE(cache.There("c.dat") && DeleteFileW(cache.Path("e.dat").c_str()));
  Select({1});
  EXPECT_EQ(Delete(), Texts{});
  EXPECT_EQ(Listed(), (Texts{"c.dat"}));
}

// The cursor at each file's deletion and at the box: this program's imports
// of DeleteFileA and MessageBoxA note it, then make the call.
std::vector<HCURSOR> cursorsSeen;
const FARPROC realDeleteFile = GetProcAddress(GetModuleHandleA("kernel32.dll"), "DeleteFileA");
const FARPROC realMessageBox = GetProcAddress(GetModuleHandleA("user32.dll"), "MessageBoxA");
BOOL WINAPI DeleteNotingCursor(LPCSTR path) {
  cursorsSeen.push_back(GetCursor());
  return reinterpret_cast<decltype(&DeleteFileA)>(realDeleteFile)(path);
}
int WINAPI ShowNotingCursor(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
  cursorsSeen.push_back(GetCursor());
  return reinterpret_cast<decltype(&MessageBoxA)>(realMessageBox)(owner, text, caption, type);
}

// The hourglass while the files go; the cursor from before is back when the
// box about a file in use shows, and after.
TEST_F(FileManagerPage, DeletingShowsTheWaitCursorAndGivesTheCursorBeforeItBack) {
  for (const char* name : {"a.dat", "b.dat", "c.dat", "d.dat"}) Make(name, 1);
  ASSERT_NE(OpenFiles(), nullptr);
  ImportSwap deletion("kernel32.dll", "DeleteFileA", reinterpret_cast<FARPROC>(DeleteNotingCursor));
  ImportSwap box("user32.dll", "MessageBoxA", reinterpret_cast<FARPROC>(ShowNotingCursor));
  const HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW), cross = LoadCursorA(nullptr, IDC_CROSS),
                wait = LoadCursorA(nullptr, IDC_WAIT);
  ASSERT_TRUE(arrow && cross && wait && arrow != wait);
  HANDLE held = CreateFileW(cache.Path("c.dat").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  SetCursor(arrow);
  Select({0, 1, 2});
  EXPECT_EQ(Delete(), Texts{"FileTrove: Cannot delete c.dat. File is probably in use."});
  CloseHandle(held);
  EXPECT_EQ(cursorsSeen, (std::vector<HCURSOR>{wait, wait, wait, arrow}));  // a, b, c in use, the box
  EXPECT_EQ(GetCursor(), arrow);
  cursorsSeen.clear();
  SetCursor(cross);
  Select({0, 1});
  EXPECT_EQ(Delete(true), Texts{});
  EXPECT_EQ(cursorsSeen, (std::vector<HCURSOR>{wait, wait}));
  EXPECT_EQ(GetCursor(), cross);
  EXPECT_EQ(Listed(), Texts{});
}

// The ANSI calls spell "dot." as "dot" and an omega as "O", and 255 characters
// make a path beyond MAX_PATH: such rows go by their short names, never taking
// a twin's file. A path that does not fit is never cut short; a folder that
// names no usable folder lists nothing, not the root.
TEST_F(FileManagerPage, DeletesRowsTheCallsCannotSpellAndUnusableFoldersListNothing) {
  const std::string longName = "L" + std::string(250, 'n') + ".dat";
  for (const char* name : {"dot", "dot.", "Omega.dat"}) Make(name, 1);
  Make("\xCE\xA9mega.dat", 2);
  Make(longName, 0, Record(Utc(2020, 2, 3, 4), 9));
  ASSERT_NE(OpenFiles(), nullptr);
  Texts listed = Listed(4);
  ASSERT_EQ(Listed(), (Texts{"dot", "dot.", longName, "Omega.dat", "Omega.dat"}));
  EXPECT_EQ(listed[2], longName + "|0|2/3/2020|9");
  Select({1, 2, listed[3] == "Omega.dat|2|No info available|0" ? 3 : 4});
  EXPECT_EQ(Delete(), Texts{});
  EXPECT_EQ(Listed(2), (Texts{"dot|1", "Omega.dat|1"}));
  EXPECT_TRUE(cache.There("dot") && cache.There("Omega.dat"));
  EXPECT_FALSE(cache.There("dot.") || cache.There("\xCE\xA9mega.dat") || cache.There(longName));
  DestroyWindow(sheet);
  DeleteFileW(cache.Path("dot").c_str());
  ASSERT_NE(OpenFiles(), nullptr);
  EXPECT_EQ(Totals(), "1 File(s), 1 K") << "one file of one byte left";
  DestroyWindow(sheet);

  char path[MAX_PATH];
  snprintf(CacheDirectory, sizeof CacheDirectory, "C:\\FTCACHE");  // 11 characters with the backslash after it
  EXPECT_TRUE(CachedFilePath(std::string(MAX_PATH - 12, 'f').c_str(), path, sizeof path));
  EXPECT_FALSE(CachedFilePath(std::string(MAX_PATH - 11, 'f').c_str(), path, sizeof path)) << "never cut short";
  MadeFolder root("C:");
  ASSERT_TRUE(root.Make("ft_fm_root.dat", 0, Record(Utc(2020, 2, 3, 4), 9)));
  for (const Bytes& stored : {Text("C:\\" + std::string(257, 'x')), Bytes{0}}) {
    snprintf(CacheDirectory, sizeof CacheDirectory, "C:\\");  // as the Manager starts
    ASSERT_NE(OpenFiles(stored), nullptr);
    EXPECT_EQ(Listed(), Texts{}) << stored.size();
    EXPECT_EQ(Totals(), "0 File(s), 0 K");
    DestroyWindow(sheet);
  }
}

}  // namespace
