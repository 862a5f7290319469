// The File Manager page over a cache of many files with records (10,000, or
// the count given), each piece of work against its floor, the least that
// any such work must do: the tab's activation to a filled list sorted by
// name (one scan of the folder and one record read per file, as
// ReadCachedFileRecord reads it); closing the sheet (the sheet closed over no
// files, a bare list of as many items destroyed and as many rows freed); deleting every row with the
// Delete button (one DeleteFileA per listed file, the calls the deletion
// makes, each timed). Also the memory that the rows hold. Prints the
// figures; not a test.
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "bench_cache.h"
#include "panel/control_panel.h"
#include "panel/file_manager_rows.h"
#include "res/resource.h"
#include "settings/cache_folder.h"
#include "settings/settings.h"
#include "text/message_text.h"

static int FileCount = 10000;
constexpr int ROUNDS = 7;
constexpr const char* BENCH_CACHE = "C:\\FMBENCH";
constexpr const char* NO_FILES = "C:\\FMBENCH-NO-FILES";  // never made

// Shuffled so that the scan's order is not already the sorted one.
static void DescribeFile(int index, BenchFile* file) {
  snprintf(file->name, sizeof file->name, "Cached file %05d.dat", (index * 7919) % FileCount);
  file->size = static_cast<uint32_t>(strlen(file->name));
  file->record.FileStamp = 1;
  file->record.LastUsed = NowAsFileTime();
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

// The fill at each activation against its floor, in turns, and the rows'
// memory; returns the fill's time.
static double MeasureFill(HWND sheet, HWND page, HWND list, size_t heapBefore) {
  int found = 0;
  auto [visit, floor] = BestInTurns(
      ROUNDS,
      [&] {
        SendMessageA(sheet, PSM_SETCURSEL, 0, 0);  // leaving is not timed: the refill is the activation's
        auto start = std::chrono::steady_clock::now();
        SendMessageA(sheet, PSM_SETCURSEL, 1, 0);
        return Milliseconds(start);
      },
      [&] { found = ScanAndReadRecords(0); });

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

// The least that closing must do: the same sheet closed over a folder with
// no files; a bare list of as many items, each inserted on top as the page
// inserts its rows, destroyed with the window it tells of each item that
// goes; and as many rows of the same sizes freed.
static double TimeClosingFloor(HWND list) {
  char folder[MAX_PATH];
  snprintf(folder, sizeof folder, "%s", CacheDirectory);
  snprintf(CacheDirectory, sizeof CacheDirectory, "%s", NO_FILES);
  HWND emptySheet, emptyPage;
  OpenSheet(&emptySheet, &emptyPage);
  auto start = std::chrono::steady_clock::now();
  DestroyWindow(emptySheet);
  double sheet = Milliseconds(start);
  snprintf(CacheDirectory, sizeof CacheDirectory, "%s", folder);

  int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
  auto** rows = static_cast<void**>(calloc(static_cast<size_t>(count) + 1, sizeof(void*)));
  HWND owner = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr, AppInstance, nullptr);
  HWND bare = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | LVS_REPORT, 0, 0, 400, 300, owner, nullptr,
                              AppInstance, nullptr);
  if (!rows || !bare) return -1;
  for (int i = count - 1; i >= 0; i--) {
    rows[i] = malloc(_msize(const_cast<CachedFileRow*>(RowOf(list, i))));
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.pszText = LPSTR_TEXTCALLBACKA;
    item.lParam = reinterpret_cast<LPARAM>(rows[i]);
    SendMessageA(bare, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
  }
  start = std::chrono::steady_clock::now();
  DestroyWindow(owner);
  for (int i = 0; i < count; i++) free(rows[i]);
  double floor = sheet + Milliseconds(start);
  free(rows);
  return floor;
}

// This program's import of DeleteFileA points at TimedDeleteFile during the
// deletion, which times each call the page makes.
struct DeleteFileCalls {
  int count;
  double milliseconds;
  std::chrono::steady_clock::time_point lastEnd;
};
static DeleteFileCalls Calls;
static FARPROC RealDeleteFile;

static BOOL WINAPI TimedDeleteFile(LPCSTR path) {
  auto start = std::chrono::steady_clock::now();
  BOOL deleted = reinterpret_cast<decltype(&DeleteFileA)>(RealDeleteFile)(path);
  Calls.lastEnd = std::chrono::steady_clock::now();
  Calls.milliseconds += std::chrono::duration<double, std::milli>(Calls.lastEnd - start).count();
  Calls.count++;
  return deleted;
}

// The slot of this program's import table that holds function; null if none.
static FARPROC* ImportSlot(FARPROC function) {
  auto base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
  auto nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
  const IMAGE_DATA_DIRECTORY& table = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IAT];
  auto first = reinterpret_cast<FARPROC*>(base + table.VirtualAddress), end = first + table.Size / sizeof *first;
  FARPROC* slot = std::find(first, end, function);
  return slot == end ? nullptr : slot;
}

static void PointSlot(FARPROC* slot, FARPROC to) {
  DWORD access;
  VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &access);
  *slot = to;
  VirtualProtect(slot, sizeof *slot, access, &access);
}

// Every row selected and the Delete button pressed once: the files go too.
// Its floor is the deletion's own DeleteFileA calls, one per listed file,
// each timed as the page makes it, so that both share whatever else the
// machine does meanwhile. What is left is the page's: walking the selected
// rows and building each path, until the last file went; then removing and
// freeing the rows and writing the totals line.
static void MeasureDeletion(double fill) {
  HWND sheet, page;
  size_t heapBefore = HeapBytesInUse();
  HWND list = OpenSheet(&sheet, &page);
  LVITEMA selected = {};
  selected.stateMask = LVIS_SELECTED;
  selected.state = LVIS_SELECTED;
  SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&selected));
  int listed = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
  size_t heapFilled = HeapBytesInUse();
  RealDeleteFile = GetProcAddress(GetModuleHandleA("kernel32.dll"), "DeleteFileA");
  FARPROC* slot = ImportSlot(RealDeleteFile);
  if (!slot) {
    fprintf(stderr, "this program does not import DeleteFileA\n");
    DestroyWindow(sheet);
    return;
  }
  Calls = {};
  PointSlot(slot, reinterpret_cast<FARPROC>(TimedDeleteFile));
  auto start = std::chrono::steady_clock::now();
  SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_FILES_DELETE, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(page, IDC_FILES_DELETE)));
  auto end = std::chrono::steady_clock::now();
  PointSlot(slot, RealDeleteFile);
  double deletion = std::chrono::duration<double, std::milli>(end - start).count();
  double rows = Calls.count ? std::chrono::duration<double, std::milli>(end - Calls.lastEnd).count() : 0;
  size_t heapDeleted = HeapBytesInUse();
  printf("deleting every row: %.1f ms (%.2f times the fill); rows left: %d, files left: %d, totals line: \"%s\"\n",
         deletion, deletion / fill, static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)),
         ScanAndReadRecords(0), Totals(page).c_str());
  printf("floor, its %d DeleteFileA calls (one per listed file: %s): %.1f ms\n", Calls.count,
         Calls.count == listed ? "yes" : "NO", Calls.milliseconds);
  printf("ratio: %.2f\n", deletion / Calls.milliseconds);
  printf("the rest: walking the selected rows and building each path %.1f ms; removing and freeing the rows and "
         "the totals line %.1f ms\n",
         deletion - Calls.milliseconds - rows, rows);
  printf("heap freed by the deletion: %.1f KB of %.1f KB that the filled page held\n",
         Kilobytes(heapFilled, heapDeleted), Kilobytes(heapFilled, heapBefore));
  DestroyWindow(sheet);
}

int main(int argc, char** argv) {
  if (argc > 1) FileCount = atoi(argv[1]);
  if (FileCount < 1 || FileCount % 7919 == 0) {
    fprintf(stderr, "a file count from 1, not a multiple of 7919\n");
    return 1;
  }
  if (!MakeBenchCache(BENCH_CACHE, FileCount, DescribeFile)) return 1;
  AppInstance = GetModuleHandleA(nullptr);
  InitCommonControls();

  HWND sheet, page;
  size_t heapBefore = HeapBytesInUse();
  HWND list = OpenSheet(&sheet, &page);
  if (!list) {
    fprintf(stderr, "the page made no list\n");
    RemoveBenchCache();
    return 1;
  }
  double fill = MeasureFill(sheet, page, list, heapBefore);
  double closingFloor = TimeClosingFloor(list);
  auto start = std::chrono::steady_clock::now();
  DestroyWindow(sheet);
  double closing = Milliseconds(start);
  printf("closing the sheet: %.1f ms; heap still in use beyond the start: %.1f KB\n", closing,
         Kilobytes(HeapBytesInUse(), heapBefore));
  printf("floor, the sheet closed over no files, a bare list of as many items destroyed and as many rows freed: "
         "%.1f ms\n",
         closingFloor);
  printf("ratio: %.2f\n", closing / closingFloor);
  MeasureDeletion(fill);
  RemoveBenchCache();
  return 0;
}
