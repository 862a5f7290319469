// The File Manager page over 10,000 cached files with records: the time from
// the tab's activation to a filled list sorted by name, against the least
// that any such fill must do (one scan of the folder and one record read
// per file, as ReadCachedFileRecord reads it), and the memory that the rows
// hold. Prints the figures; not a test.
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "bench_cache.h"
#include "panel/control_panel.h"
#include "panel/file_manager_page.h"
#include "res/resource.h"
#include "settings/settings.h"
#include "text/message_text.h"

constexpr int FILE_COUNT = 10000;
constexpr int ROUNDS = 7;
constexpr const char* BENCH_CACHE = "C:\\FMBENCH";

// Shuffled so that the scan's order is not already the sorted one.
static void DescribeFile(int index, BenchFile* file) {
  snprintf(file->name, sizeof file->name, "Cached file %05d.dat", (index * 7919) % FILE_COUNT);
  file->size = static_cast<uint32_t>(strlen(file->name));
  file->record.FileStamp = 1;
  GetSystemTimeAsFileTime(&file->record.LastUsed);
  file->record.Hits = static_cast<uint32_t>(index);
}

// The sheet's two pages: another one to leave to, and the File Manager.
static HWND OpenSheet() {
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
  return reinterpret_cast<HWND>(PropertySheetA(&header));
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

int main() {
  HKEY key = OpenBenchCache(BENCH_CACHE, FILE_COUNT, DescribeFile);
  if (!key) return 1;
  AppInstance = GetModuleHandleA(nullptr);
  InitCommonControls();

  HWND sheet = OpenSheet();
  size_t heapBefore = HeapBytesInUse();
  SendMessageA(sheet, PSM_SETCURSEL, 1, 0);  // first visit: the page is made
  HWND page = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
  HWND list = GetDlgItem(page, IDC_FILES_LIST);
  if (!list) {
    fprintf(stderr, "the page made no list\n");
    RemoveBenchCache(key, FILE_COUNT, DescribeFile);
    return 1;
  }

  int found = 0;
  double visit = BestOf(ROUNDS, [&] {
    SendMessageA(sheet, PSM_SETCURSEL, 0, 0);  // leaving is not timed: the refill is the activation's
    auto start = std::chrono::steady_clock::now();
    SendMessageA(sheet, PSM_SETCURSEL, 1, 0);
    return Milliseconds(start);
  });
  double floor = BestOf(ROUNDS, [&] { found = ScanAndReadRecords(0); });

  int listed = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
  size_t rowBytes = 0;
  for (int i = 0; i < listed; i++) rowBytes += _msize(const_cast<CachedFileRow*>(RowOf(list, i)));
  size_t heapFilled = HeapBytesInUse();
  char totals[100] = "";
  GetDlgItemTextA(page, IDC_FILES_TOTALS, totals, sizeof totals);

  printf("cached files: %d, listed: %d, sorted by name: %s, totals line: \"%s\"\n", FILE_COUNT, listed,
         SortedByName(list, listed) ? "yes" : "NO", totals);
  printf("tab activation to a filled, sorted list: %.1f ms (best of %d)\n", visit, ROUNDS);
  printf("floor, one scan + %d record reads: %.1f ms (best of %d)\n", found, floor, ROUNDS);
  printf("ratio: %.2f\n", visit / floor);
  printf("rows: %zu bytes (%.1f per row, %.2f MB)\n", rowBytes, listed ? double(rowBytes) / listed : 0.0,
         rowBytes / 1048576.0);
  printf("heap growth with the page and its filled list: %.2f MB\n",
         (heapFilled > heapBefore ? heapFilled - heapBefore : 0) / 1048576.0);

  auto start = std::chrono::steady_clock::now();
  DestroyWindow(sheet);
  double closing = Milliseconds(start);
  size_t heapAfter = HeapBytesInUse();
  printf("closing the sheet: %.1f ms; heap still in use beyond the start: %.1f KB\n", closing,
         (heapAfter > heapBefore ? heapAfter - heapBefore : 0) / 1024.0);
  RemoveBenchCache(key, FILE_COUNT, DescribeFile);
  RegCloseKey(key);
  return 0;
}
