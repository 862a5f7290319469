// The File Manager page over a cache of many files with records (10,000, or
// the count given): the time from the tab's activation to a filled list
// sorted by name, against the least that any such fill must do (one scan of
// the folder and one record read per file, as ReadCachedFileRecord reads
// it); the memory that the rows hold; closing the sheet; and deleting every
// row with the Delete button. Prints the figures; not a test.
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "bench_cache.h"
#include "panel/control_panel.h"
#include "panel/file_manager_page.h"
#include "res/resource.h"
#include "settings/settings.h"
#include "text/message_text.h"

static int FileCount = 10000;
constexpr int ROUNDS = 7;
constexpr const char* BENCH_CACHE = "C:\\FMBENCH";

// Shuffled so that the scan's order is not already the sorted one.
static void DescribeFile(int index, BenchFile* file) {
  snprintf(file->name, sizeof file->name, "Cached file %05d.dat", (index * 7919) % FileCount);
  file->size = static_cast<uint32_t>(strlen(file->name));
  file->record.FileStamp = 1;
  GetSystemTimeAsFileTime(&file->record.LastUsed);
  file->record.Hits = static_cast<uint32_t>(index);
}

// The sheet's two pages, another one to leave to and the File Manager, with
// the File Manager shown; its list, or null.
static HWND OpenSheet(HWND* sheet, HWND* page) {
  static PROPSHEETPAGEA pages[2] = {};
  const int templates[2] = {IDD_ABOUT, IDD_FILE_MANAGER};
  const DLGPROC procedures[2] = {AboutPageProc, FileManagerPageProc};
  for (int i = 0; i < 2; i++) {
    pages[i].dwSize = sizeof pages[i];
    pages[i].hInstance = AppInstance;
    pages[i].pszTemplate = MAKEINTRESOURCEA(templates[i]);
    pages[i].pfnDlgProc = procedures[i];
  }
  PROPSHEETHEADERA header = {};
  header.dwSize = sizeof header;
  header.dwFlags = PSH_PROPSHEETPAGE | PSH_MODELESS;
  header.hInstance = AppInstance;
  header.pszCaption = "File Manager benchmark";
  header.nPages = 2;
  header.ppsp = pages;
  *sheet = reinterpret_cast<HWND>(PropertySheetA(&header));
  SendMessageA(*sheet, PSM_SETCURSEL, 1, 0);  // first visit: the page is made
  *page = reinterpret_cast<HWND>(SendMessageA(*sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
  return GetDlgItem(*page, IDC_FILES_LIST);
}

// Bytes in use on every heap of the process.
static size_t HeapBytesInUse() {
  HANDLE heaps[64];
  DWORD count = GetProcessHeaps(64, heaps);
  size_t used = 0;
  for (DWORD i = 0; i < count && i < 64; i++) {
    PROCESS_HEAP_ENTRY entry = {};
    HeapLock(heaps[i]);
    while (HeapWalk(heaps[i], &entry))
      if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) used += entry.cbData;
    HeapUnlock(heaps[i]);
  }
  return used;
}

static double Kilobytes(size_t now, size_t before) { return (now > before ? now - before : 0) / 1024.0; }

static const CachedFileRow* RowOf(HWND list, int index) {
  LVITEMA item = {};
  item.mask = LVIF_PARAM;
  item.iItem = index;
  SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
  return reinterpret_cast<const CachedFileRow*>(item.lParam);
}

static bool SortedByName(HWND list, int count) {
  for (int i = 1; i < count; i++)
    if (CompareRows(RowOf(list, i - 1), RowOf(list, i), COLUMN_NAME) > 0) return false;
  return true;
}

static std::string Totals(HWND page) {
  char totals[100] = "";
  GetDlgItemTextA(page, IDC_FILES_TOTALS, totals, sizeof totals);
  return totals;
}

// The fill at each activation against its floor, and the rows' memory;
// returns the fill's time.
static double MeasureFill(HWND sheet, HWND page, HWND list, size_t heapBefore) {
  double visit = BestOf(ROUNDS, [&] {
    SendMessageA(sheet, PSM_SETCURSEL, 0, 0);  // leaving is not timed: the refill is the activation's
    auto start = std::chrono::steady_clock::now();
    SendMessageA(sheet, PSM_SETCURSEL, 1, 0);
    return Milliseconds(start);
  });
  int found = 0;
  double floor = BestOf(ROUNDS, [&] { found = ScanAndReadRecords(0); });

  int listed = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
  size_t rowBytes = 0;
  for (int i = 0; i < listed; i++) rowBytes += _msize(const_cast<CachedFileRow*>(RowOf(list, i)));
  printf("cached files: %d, listed: %d, sorted by name: %s, totals line: \"%s\"\n", FileCount, listed,
         SortedByName(list, listed) ? "yes" : "NO", Totals(page).c_str());
  printf("tab activation to a filled, sorted list: %.1f ms (best of %d)\n", visit, ROUNDS);
  printf("floor, one scan + %d record reads: %.1f ms (best of %d)\n", found, floor, ROUNDS);
  printf("ratio: %.2f\n", visit / floor);
  printf("rows: %zu bytes (%.1f per row, %.2f MB)\n", rowBytes, listed ? double(rowBytes) / listed : 0.0,
         rowBytes / 1048576.0);
  printf("heap growth with the page and its filled list: %.2f MB\n", Kilobytes(HeapBytesInUse(), heapBefore) / 1024);
  return visit;
}

// Every row selected and the Delete button pressed, once: the files go too.
// Returns the deletion's time.
static double MeasureDeletion(double fill) {
  HWND sheet, page;
  size_t heapBefore = HeapBytesInUse();
  HWND list = OpenSheet(&sheet, &page);
  LVITEMA selected = {};
  selected.stateMask = LVIS_SELECTED;
  selected.state = LVIS_SELECTED;
  SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&selected));
  size_t heapFilled = HeapBytesInUse();
  auto start = std::chrono::steady_clock::now();
  SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_FILES_DELETE, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(page, IDC_FILES_DELETE)));
  double deletion = Milliseconds(start);
  size_t heapDeleted = HeapBytesInUse();
  printf("deleting every row: %.1f ms (%.2f times the fill); rows left: %d, files left: %d, totals line: \"%s\"\n",
         deletion, deletion / fill, static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)),
         ScanAndReadRecords(0), Totals(page).c_str());
  printf("heap freed by the deletion: %.1f KB of %.1f KB that the filled page held\n",
         Kilobytes(heapFilled, heapDeleted), Kilobytes(heapFilled, heapBefore));
  DestroyWindow(sheet);
  return deletion;
}

// The least that deleting every file must do, timed over the cache made
// again: one DeleteFileA per file.
static void MeasureDeletionFloor(HKEY key, double deletion) {
  if (!MakeBenchCache(key, FileCount, DescribeFile)) return;
  auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < FileCount; i++) {
    BenchFile file = {};
    DescribeFile(i, &file);
    char path[MAX_PATH];
    if (CachedFilePath(file.name, path, sizeof path)) DeleteFileA(path);
  }
  double floor = Milliseconds(start);
  printf("deletion's floor, one DeleteFileA per file: %.1f ms; deletion's ratio: %.2f\n", floor, deletion / floor);
}

int main(int argc, char** argv) {
  if (argc > 1) FileCount = atoi(argv[1]);
  if (FileCount < 1 || FileCount % 7919 == 0) {
    fprintf(stderr, "a file count from 1, not a multiple of 7919\n");
    return 1;
  }
  HKEY key = OpenBenchCache(BENCH_CACHE, FileCount, DescribeFile);
  if (!key) return 1;
  AppInstance = GetModuleHandleA(nullptr);
  InitCommonControls();

  HWND sheet, page;
  size_t heapBefore = HeapBytesInUse();
  HWND list = OpenSheet(&sheet, &page);
  if (!list) {
    fprintf(stderr, "the page made no list\n");
    RemoveBenchCache(key, FileCount, DescribeFile);
    return 1;
  }
  double fill = MeasureFill(sheet, page, list, heapBefore);
  auto start = std::chrono::steady_clock::now();
  DestroyWindow(sheet);
  double closing = Milliseconds(start);
  printf("closing the sheet: %.1f ms; heap still in use beyond the start: %.1f KB\n", closing,
         Kilobytes(HeapBytesInUse(), heapBefore));
  MeasureDeletionFloor(key, MeasureDeletion(fill));
  RemoveBenchCache(key, FileCount, DescribeFile);
  RegCloseKey(key);
  return 0;
}
