// The File Manager page of the real Manager over real cached files and
// records: listing, totals, sorting and deletion.
#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "panel_session.h"
#include "res/resource.h"

namespace {

constexpr const char* kCache = "C:\\FMCACHE";
constexpr const char* kSource = "C:\\FMSRC";
using Names = std::vector<std::string>;
using Rows = std::vector<std::vector<std::string>>;

Bytes Record(FILETIME lastUsed, uint32_t hits) {
  Bytes bytes(24, 0);
  bytes[0] = 1;
  memcpy(&bytes[8], &lastUsed, 8);
  memcpy(&bytes[16], &hits, 4);
  return bytes;
}

std::string Today(const char* format) {
  SYSTEMTIME today;
  GetSystemTime(&today);
  char text[64];
  snprintf(text, sizeof text, format, today.wMonth, today.wDay, today.wYear);
  return text;
}

std::wstring LongPath(const std::string& name, const char* folder = kCache) {
  std::string path = std::string("\\\\?\\") + folder + "\\" + name;
  return std::wstring(path.begin(), path.end());
}

class FileManager : public PanelTest {
 protected:
  void SetUp() override {
    PanelTest::SetUp();
    RemoveFolders();
    CreateDirectoryA(kCache, nullptr);
    WriteDriverValue("CacheDir", REG_SZ, Text(kCache));
    WriteDriverValue("Data2", REG_BINARY, Concat({Le32(0), Le32(30)}));  // no deletions at start-up
  }
  void TearDown() override {
    PanelTest::TearDown();
    for (const std::string& name : records) DeleteDriverValue(name.c_str());
    RemoveFolders();
  }
  // Wide calls on \\?\ paths reach every name that a test makes.
  static void RemoveFolders() {
    for (const char* folder : {kCache, kSource}) {
      WIN32_FIND_DATAW entry;
      HANDLE scan = FindFirstFileW(LongPath("*", folder).c_str(), &entry);
      if (scan != INVALID_HANDLE_VALUE) {
        do {
          std::wstring path = LongPath("", folder) + entry.cFileName;
          if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileW(path.c_str());
          else if (entry.cFileName[0] != L'.') RemoveDirectoryW(path.c_str());
        } while (FindNextFileW(scan, &entry));
        FindClose(scan);
      }
      RemoveDirectoryA(folder);
    }
  }
  static std::string PathOf(const std::string& name) { return std::string(kCache) + "\\" + name; }
  static bool FileThere(const std::string& name) {
    return GetFileAttributesA(PathOf(name).c_str()) != INVALID_FILE_ATTRIBUTES;
  }
  static bool RecordThere(const std::string& name) {
    Bytes value;
    return ReadDriverValue(name.c_str(), &value);
  }
  // A file of the given size (sparse beyond what is written), with a record
  // unless record is empty.
  void Cached(const std::string& name, uint64_t size, const Bytes& record = {}, const char* folder = kCache) {
    std::string path = std::string(folder) + "\\" + name;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
    LARGE_INTEGER end;
    end.QuadPart = static_cast<LONGLONG>(size);
    SetFilePointerEx(file, end, nullptr, FILE_BEGIN);
    SetEndOfFile(file);
    CloseHandle(file);
    if (!record.empty()) WriteDriverValue(name.c_str(), REG_BINARY, record);
    records.push_back(name);
  }
  // Starts the Manager with its panel on the File Manager tab.
  bool OpenFileManager() {
    sheet = run.window ? OpenPanel(run) : StartWithPanel();
    if (!sheet) return false;
    ChooseFileManager();
    return list != nullptr;
  }
  void ChooseFileManager() {
    page = ChooseSheetTab(sheet, kFileManagerTab);
    list = GetDlgItem(page, IDC_FILES_LIST);
  }
  Names ListedNames() const {
    Names names;
    for (const auto& row : ListViewRows(list, 1)) names.push_back(row[0]);
    return names;
  }
  std::string Totals() const { return ControlText(page, IDC_FILES_TOTALS); }
  // The Delete key acts through a posted key press: wait for its effect.
  bool WaitForRowCount(int count) const {
    for (int waited = 0; waited < 5000; waited += 25) {
      if (ListViewRowCount(list) == count) return true;
      Sleep(25);
    }
    return false;
  }

  HWND sheet = nullptr, page = nullptr, list = nullptr;
  std::vector<std::string> records;
};

TEST_F(FileManager, EmptyThenEveryVisitRescansWithTotalsOfFillAndDeletion) {
  ASSERT_TRUE(OpenFileManager());
  EXPECT_EQ(ListViewRowCount(list), 0);
  EXPECT_EQ(Totals(), "0 File(s), 0 K");
  EXPECT_EQ(ControlText(page, IDC_FILES_FRAME), Today(" Cached files until %d/%d/%d "));
  EXPECT_EQ(ControlText(page, IDC_FILES_DELETE), "D&elete");
  const Names headers = {"Filename", "File Size", "Last used on", "Hits"};
  for (int column = 0; column < 4; column++) EXPECT_EQ(ListViewHeader(list, column), headers[column]);
  EXPECT_EQ(GetWindowLongA(list, GWL_STYLE), WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT);
  EXPECT_EQ(GetWindowLongA(list, GWL_EXSTYLE), 0);

  // Cached by the driver while another tab shows: the next visit lists them.
  CreateDirectoryA(kSource, nullptr);
  Cached("one.dat", 1000, {}, kSource);
  Cached("two.dat", 1000, {}, kSource);
  Cached("big.dat", 2000, {}, kSource);
  ChooseSheetTab(sheet, kGeneralTab);
  ASSERT_EQ(Ftctl("cache C:\\FMSRC\\one.dat C:\\FMSRC\\two.dat C:\\FMSRC\\big.dat").exitCode, 0u);
  ChooseFileManager();
  const std::string today = Today("%d/%d/%d");
  EXPECT_EQ(ListViewRows(list, 4),
            (Rows{{"big.dat", "2000", today, "0"}, {"one.dat", "1000", today, "0"}, {"two.dat", "1000", today, "0"}}));
  EXPECT_EQ(Totals(), "3 File(s), 4 K");  // (4000 + 512) / 1024

  SelectListViewRows(list, {0});
  ClickAndSync(page, IDC_FILES_DELETE);
  EXPECT_EQ(ListedNames(), (Names{"one.dat", "two.dat"}));
  EXPECT_EQ(Totals(), "2 File(s), 2 K");  // 2000 / 1024, no rounding up
  EXPECT_FALSE(FileThere("big.dat"));
  EXPECT_TRUE(RecordThere("big.dat"));

  // The page stores nothing of its own but saves the records on OK, as every visited page does.
  Ftctl("reset");
  ASSERT_TRUE(CloseSheet(sheet, IDOK));
  EXPECT_EQ(CountRequests(DriverLog(), "CACHE_SET_SETTINGS"), 2);
}

TEST_F(FileManager, ListsFilesWithTheirRecordsAndTheLanguageFilesTexts) {
  Cached("dated.dat", 10, Record(Utc(1997, 3, 7, 23), 5));
  Cached("norecord.dat", 20);
  Bytes tooLong = Record(Utc(1997, 3, 7, 1), 5);
  tooLong.push_back(0);
  Cached("long25.dat", 30, tooLong);
  Cached("Zero.dat", 40, Record(FILETIME{}, 3));
  Cached(".hidden", 1, Record(Utc(1997, 3, 7, 1), 1));
  Cached("..two", 1);
  CreateDirectoryA("C:\\FMCACHE\\adir", nullptr);
  CreateDirectoryA("C:\\FMCACHE\\zdir", nullptr);
  WriteDriverValue("adir", REG_BINARY, Record(Utc(1997, 3, 7, 1), 1));
  records.push_back("adir");

  ASSERT_TRUE(OpenFileManager());
  const Rows listed = {{"dated.dat", "10", "3/7/1997", "5"},
                       {"long25.dat", "30", "No info available", "0"},
                       {"norecord.dat", "20", "No info available", "0"},
                       {"Zero.dat", "40", "No info available", "3"}};
  EXPECT_EQ(ListViewRows(list, 4), listed);
  EXPECT_EQ(Totals(), "4 File(s), 1 K");

  // A language file's texts come with the next opening.
  ASSERT_TRUE(CloseSheet(sheet, IDCANCEL));
  WriteLanguageFile(
      "[File Manager]\n1=  Stand %d.%d.%d  \n2=Datei\n3=Groesse\n4=Zuletzt\n5=Treffer\n6=&Loeschen\n"
      "8=%ld Dateien, %.0lf K\n11=Keine Angabe\n");
  ASSERT_TRUE(OpenFileManager());
  const Names headers = {"Datei", "Groesse", "Zuletzt", "Treffer"};
  for (int column = 0; column < 4; column++) EXPECT_EQ(ListViewHeader(list, column), headers[column]);
  EXPECT_EQ(Totals(), "4 Dateien, 1 K");
  EXPECT_EQ(ListViewCell(list, 1, 2), "Keine Angabe");
  EXPECT_EQ(ControlText(page, IDC_FILES_DELETE), "&Loeschen");
  EXPECT_EQ(ControlText(page, IDC_FILES_FRAME), Today("Stand %d.%d.%d"));
}

TEST_F(FileManager, EachHeaderSortsInItsOneOrderAndEveryVisitByName) {
  Cached("b-small.dat", 1, Record(Utc(2020, 5, 1, 1), 7));
  Cached("A-huge.dat", 5000000000ull, Record(Utc(2020, 5, 1, 23), 0xFFFFFFFFu));  // sparse
  Cached("c-mid.dat", 2000, Record(Utc(2021, 1, 1, 0), 0));
  Cached("D-none.dat", 500);
  ASSERT_TRUE(OpenFileManager());
  const Names byName = {"A-huge.dat", "b-small.dat", "c-mid.dat", "D-none.dat"};
  EXPECT_EQ(ListedNames(), byName);
  EXPECT_EQ(ListViewCell(list, 0, 1), "5000000000");
  EXPECT_EQ(ListViewCell(list, 0, 3), "4294967295");

  for (int click = 0; click < 2; click++) {
    ClickListViewHeader(list, 1);
    EXPECT_EQ(ListedNames(), (Names{"A-huge.dat", "c-mid.dat", "D-none.dat", "b-small.dat"})) << "click " << click;
  }
  ClickListViewHeader(list, 2);  // the two rows of 5/1/2020 are equal, the row without a date last
  Names byDate = ListedNames();
  ASSERT_EQ(byDate.size(), 4u);
  EXPECT_EQ(byDate[0], "c-mid.dat");
  EXPECT_EQ(byDate[3], "D-none.dat");
  ClickListViewHeader(list, 3);
  Names byHits = ListedNames();
  ASSERT_EQ(byHits.size(), 4u);
  EXPECT_EQ(Names(byHits.begin(), byHits.begin() + 2), (Names{"A-huge.dat", "b-small.dat"}));
  ClickListViewHeader(list, 0);
  EXPECT_EQ(ListedNames(), byName);

  ClickListViewHeader(list, 1);
  ChooseSheetTab(sheet, kAboutTab);
  ChooseFileManager();
  EXPECT_EQ(ListedNames(), byName);
}

TEST_F(FileManager, DeletesExactlyTheSelectedFilesByButtonOrKey) {
  for (const char* name : {"a.dat", "b.dat", "c.dat", "d.dat", "e.dat", "f.dat"})
    Cached(name, 100, Record(Utc(2020, 1, 1, 0), 1));
  ASSERT_TRUE(OpenFileManager());

  SelectListViewRows(list, {1, 4});
  ClickAndSync(page, IDC_FILES_DELETE);
  EXPECT_EQ(ListedNames(), (Names{"a.dat", "c.dat", "d.dat", "f.dat"}));
  for (const char* name : {"a.dat", "b.dat", "c.dat", "d.dat", "e.dat", "f.dat"}) {
    bool deleted = name[0] == 'b' || name[0] == 'e';
    EXPECT_EQ(FileThere(name), !deleted) << name;
    EXPECT_TRUE(RecordThere(name)) << name;
  }
  EXPECT_EQ(Totals(), "4 File(s), 0 K");  // 400 / 1024

  SelectListViewRows(list, {});
  PressKeyIn(page, list, VK_DELETE);
  Box box = AnswerBox();
  EXPECT_TRUE(box.found);
  EXPECT_EQ(box.text, "No item was selected.");

  SelectListViewRows(list, {0, 3});
  PressKeyIn(page, list, VK_DELETE);
  ASSERT_TRUE(WaitForRowCount(2));
  EXPECT_EQ(ListedNames(), (Names{"c.dat", "d.dat"}));
  EXPECT_FALSE(FileThere("a.dat"));
  EXPECT_FALSE(FileThere("f.dat"));
}

TEST_F(FileManager, StopsAtAFileInUseAndPassesFilesAlreadyGone) {
  for (const char* name : {"%s%n.dat", "a.dat", "b-inuse.dat", "c.dat", "gone.dat"}) Cached(name, 10);
  ASSERT_TRUE(OpenFileManager());
  ASSERT_EQ(ListViewCell(list, 0, 0), "%s%n.dat");
  HANDLE held = CreateFileA(PathOf("b-inuse.dat").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);

  SelectListViewRows(list, {0, 1, 2, 3});
  PressButton(page, IDC_FILES_DELETE);
  Box box = AnswerBox();
  CloseHandle(held);
  EXPECT_EQ(box.text, "Cannot delete b-inuse.dat. File is probably in use.");
  Sync(page);
  EXPECT_EQ(ListedNames(), (Names{"b-inuse.dat", "c.dat", "gone.dat"}));
  EXPECT_EQ(SendAndWait(list, LVM_GETSELECTEDCOUNT, 0, 0), 2);
  EXPECT_FALSE(FileThere("%s%n.dat"));
  EXPECT_FALSE(FileThere("a.dat"));
  EXPECT_TRUE(FileThere("b-inuse.dat"));
  EXPECT_TRUE(FileThere("c.dat"));

  ASSERT_TRUE(DeleteFileA(PathOf("gone.dat").c_str()));
  SelectListViewRows(list, {2});
  PressButton(page, IDC_FILES_DELETE);
  EXPECT_TRUE(NoBoxWithin(500, run.program.pid));
  EXPECT_EQ(ListedNames(), (Names{"b-inuse.dat", "c.dat"}));
}

// A long name (255 characters, the most this host's file system holds)
// makes a path beyond MAX_PATH: it is listed whole and deleted through its
// short name, never through a cut path. A stored folder that names no
// usable folder lists nothing.
TEST_F(FileManager, LongNamesAreNeverCutAndUnusableFoldersListNothing) {
  std::string longName = "L" + std::string(250, 'n') + ".dat";
  HANDLE file = CreateFileW(LongPath(longName).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  CloseHandle(file);
  WriteDriverValue(longName.c_str(), REG_BINARY, Record(Utc(2020, 2, 3, 4), 9));
  records.push_back(longName);

  ASSERT_TRUE(OpenFileManager());
  EXPECT_EQ(ListViewRows(list, 4), (Rows{{longName, "0", "2/3/2020", "9"}}));
  SelectListViewRows(list, {0});
  ClickAndSync(page, IDC_FILES_DELETE);
  EXPECT_EQ(ListViewRowCount(list), 0);
  EXPECT_EQ(GetFileAttributesW(LongPath(longName).c_str()), INVALID_FILE_ATTRIBUTES);
  ASSERT_TRUE(CloseSheet(sheet, IDCANCEL));

  const char* rootFile = "C:\\fm_root.dat";
  HANDLE root = CreateFileA(rootFile, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(root, INVALID_HANDLE_VALUE);
  CloseHandle(root);
  struct Stored {
    const char* label;
    Bytes value;
  };
  const Stored unusable[] = {{"261-byte string", Text("C:\\" + std::string(257, 'x'))}, {"only a NUL", Bytes{0}}};
  for (const Stored& stored : unusable) {
    SCOPED_TRACE(stored.label);
    WriteDriverValue("CacheDir", REG_SZ, stored.value);
    ASSERT_TRUE(OpenFileManager());
    EXPECT_EQ(ListViewRowCount(list), 0);
    EXPECT_EQ(Totals(), "0 File(s), 0 K");
    ASSERT_TRUE(CloseSheet(sheet, IDCANCEL));
  }
  DeleteFileA(rootFile);
}

// The ANSI calls spell "dot." as "dot" and a Greek capital omega by best
// fit as "O": Delete on such a row deletes that file and leaves its twin.
TEST_F(FileManager, DeletingANameTheCallsCannotSpellLeavesItsTwin) {
  const std::wstring omega = LongPath("") + L"\u03A9mega.dat";
  for (const std::wstring& path : {LongPath("dot"), LongPath("dot."), LongPath("Omega.dat"), omega}) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    SetFilePointer(file, path == omega ? 2 : 1, nullptr, FILE_BEGIN);  // the omega's row shows 2 bytes
    SetEndOfFile(file);
    CloseHandle(file);
  }
  ASSERT_TRUE(OpenFileManager());
  ASSERT_EQ(ListedNames(), (Names{"dot", "dot.", "Omega.dat", "Omega.dat"}));
  SelectListViewRows(list, {1, ListViewCell(list, 2, 1) == "2" ? 2 : 3});
  ClickAndSync(page, IDC_FILES_DELETE);
  EXPECT_EQ(ListViewRows(list, 2), (Rows{{"dot", "1"}, {"Omega.dat", "1"}}));
  for (const std::wstring& path : {LongPath("dot"), LongPath("Omega.dat")})
    EXPECT_NE(GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES);
  for (const std::wstring& path : {LongPath("dot."), omega})
    EXPECT_EQ(GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
