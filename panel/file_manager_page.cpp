// File Manager page: the list, sorting and deletion of cached files.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdlib>

#include "panel/control_panel.h"
#include "panel/file_manager_rows.h"
#include "res/resource.h"
#include "settings/cache_folder.h"
#include "settings/cached_records.h"
#include "settings/settings.h"
#include "settings/system_time.h"
#include "text/message_text.h"
#include "text/shown_date.h"

static_assert(FILE_NAME_MAX == MAX_PATH - 1);

constexpr int CAPTION_SIZE = 100;
constexpr int TOTALS_SIZE = 100;
constexpr int CELL_TEXT_SIZE = MESSAGE_TEXT_SIZE;

// The list's place inside its frame, in pixels from the frame's edges.
constexpr int LIST_INSET_SIDE = 6;
constexpr int LIST_INSET_TOP = 15;
constexpr int LIST_INSET_BOTTOM = 6;

struct FileListColumn {
  TextId title;
  char header[MESSAGE_TEXT_SIZE];
  int width;  // pixels
};
static FileListColumn ColumnTable[FILE_LIST_COLUMNS] = {{TEXT_FILES_NAME_COLUMN, "", 120},
                                                        {TEXT_FILES_SIZE_COLUMN, "", 100},
                                                        {TEXT_FILES_USED_COLUMN, "", 95},
                                                        {TEXT_FILES_HITS_COLUMN, "", 85}};

static HWND FileListView = nullptr;
static uint32_t ListedFileCount = 0;
static double ListedBytes = 0;
// Kept from the last fill, so that deleting thousands of rows does not look
// the texts up again for each one.
static char TotalsFormat[MESSAGE_TEXT_SIZE] = "";
static char NoInfoText[MESSAGE_TEXT_SIZE] = "";
// Cell texts of columns 1 to 3; the list copies each at once.
static char CellBuffer[CELL_TEXT_SIZE];
// Set while the list loses all its rows at once (for a new fill, which
// writes the totals line itself, or with the page): a row's deletion then
// only frees the row.
static bool EmptyingList = false;
// Set when a deleted row has left the totals and the line is not yet rewritten.
static bool RowsLeftTotals = false;

// A list of thousands of rows fills many times faster when it does not
// repaint and measure itself again after every row.
struct RedrawHeld {
  HWND list;
  explicit RedrawHeld(HWND held) : list(held) { SendMessageA(list, WM_SETREDRAW, FALSE, 0); }
  ~RedrawHeld() {
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
  }
};

// ---- the list ----------------------------------------------------------

static CachedFileRow* RowOf(HWND list, int index) {
  LVITEMA item = {};
  item.mask = LVIF_PARAM;
  item.iItem = index;
  if (!SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) return nullptr;
  return reinterpret_cast<CachedFileRow*>(item.lParam);
}

static void ShowTotals(HWND page, const char* text) { SetDlgItemTextA(page, IDC_FILES_TOTALS, text); }

// Inserts a row at the top of the list with call-back texts and counts it;
// false (and the row freed) when the list did not take it.
static bool InsertRowOnTop(HWND list, CachedFileRow* row) {
  LVITEMA item = {};
  item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
  item.iItem = 0;
  item.pszText = LPSTR_TEXTCALLBACKA;
  item.iImage = 0;
  item.lParam = reinterpret_cast<LPARAM>(row);
  int inserted = static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
  if (inserted < 0) {  // the list owns no row it did not take
    free(row);
    return false;
  }
  ListedBytes += static_cast<double>(row->Size);
  ListedFileCount += 1;
  for (int column = COLUMN_SIZE; column < FILE_LIST_COLUMNS; column++) {
    LVITEMA cell = {};
    cell.iSubItem = column;
    cell.pszText = LPSTR_TEXTCALLBACKA;
    SendMessageA(list, LVM_SETITEMTEXTA, inserted, reinterpret_cast<LPARAM>(&cell));
  }
  return true;
}

// The rows of one scan, in scan order, each with its record.
struct ScannedRows {
  CachedFileRow** rows;
  size_t count;
  size_t capacity;
};

static bool CollectRow(const CacheFolderEntry& entry, void* context) {
  auto* scanned = static_cast<ScannedRows*>(context);
  if (scanned->count == scanned->capacity) {
    size_t capacity = scanned->capacity ? scanned->capacity * 2 : 256;
    auto* grown = static_cast<CachedFileRow**>(realloc(scanned->rows, capacity * sizeof(CachedFileRow*)));
    if (!grown) return false;  // the heap is exhausted: list what there is
    scanned->rows = grown;
    scanned->capacity = capacity;
  }
  CachedFileRow* row = NewCachedFileRow(entry.Name, entry.ShortName, entry.Size);
  if (!row) return true;
  CachedFileRecord record;
  if (ReadCachedFileRecord(row->Name, &record)) {
    row->LastUsed = record.LastUsed;
    row->Hits = record.Hits;
  }
  scanned->rows[scanned->count++] = row;
  return true;
}

// Inserts the rows in the list's order by name, rows of equal names in scan
// order, each on top, the last one first. The list view keeps an id per
// item in the order of insertion and looks the id up from the front, then
// closes the gap, whenever an item goes; it empties itself from the bottom.
// So the item that goes first was inserted first and every look-up ends at
// once. Its sort then finds the rows in order and moves none.
static void InsertScannedRows(HWND list, ScannedRows* scanned) {
  std::stable_sort(scanned->rows, scanned->rows + scanned->count, [](const CachedFileRow* a, const CachedFileRow* b) {
    return CompareRows(a, b, COLUMN_NAME) < 0;
  });
  for (size_t index = scanned->count; index > 0; index--) InsertRowOnTop(list, scanned->rows[index - 1]);
}

// Fills the list from the cache folder and writes the totals line.
static void FillFileList(HWND list, HWND page) {
  ListedFileCount = 0;
  ListedBytes = 0;
  if (list) {
    ScannedRows scanned = {};
    ScanCacheFolder(CollectRow, &scanned);
    InsertScannedRows(list, &scanned);
    free(scanned.rows);
  }

  // Kept for the deletions to come, which rewrite the line.
  GetFormatText(TEXT_FILES_TOTALS, TotalsFormat, sizeof TotalsFormat);
  char totals[TOTALS_SIZE];
  if (ListedFileCount == 0)
    GetMessageText(TEXT_FILES_NO_TOTALS, totals, sizeof totals);
  else
    FormatTotals(TotalsFormat, ListedFileCount, FillKilobytes(ListedBytes), totals, sizeof totals);
  ShowTotals(page, totals);
}

static int CALLBACK CompareItems(LPARAM a, LPARAM b, LPARAM column) {
  return CompareRows(reinterpret_cast<const CachedFileRow*>(a), reinterpret_cast<const CachedFileRow*>(b),
                     static_cast<int>(column));
}

static void SortFileList(HWND list, int column) {
  if (list) SendMessageA(list, LVM_SORTITEMS, column, reinterpret_cast<LPARAM>(CompareItems));
}

// Sorts a new fill by name and marks the rows whose names differ only in
// case, which now stand together: a deletion looks their paths up first.
static void SortFillByName(HWND list) {
  SortFileList(list, COLUMN_NAME);
  int count = list ? static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)) : 0;
  CachedFileRow* above = count > 0 ? RowOf(list, 0) : nullptr;
  for (int index = 1; index < count; index++) {
    CachedFileRow* row = RowOf(list, index);
    if (above && row && CompareRows(above, row, COLUMN_NAME) == 0) above->NameShared = row->NameShared = true;
    above = row;
  }
}

static void ShowCaption(HWND page) {
  char format[MESSAGE_TEXT_SIZE];
  GetFormatText(TEXT_FILES_CAPTION, format, sizeof format);
  char caption[CAPTION_SIZE];
  FormatShownDate(format, Today(), caption, sizeof caption);
  SetDlgItemTextA(page, IDC_FILES_FRAME, caption);
}

// Deletes the files of the selected rows from the top down and stops at the
// first one that cannot go. Returns the index of that row, or the number of
// rows when every file went.
static int DeleteFilesOfSelectedRows(HWND list) {
  int index = static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, -1, LVNI_SELECTED));
  while (index >= 0) {
    const CachedFileRow* row = RowOf(list, index);
    if (row && !DeleteListedFile({row->Name, row->ShortName, row->Size}, row->NameShared)) return index;
    index = static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, index, LVNI_SELECTED));
  }
  return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
}

// Removes the selected rows above the given index, from the bottom up: the
// list view moves every row below a deleted one, and with its redrawing
// on it scrolls and repaints after each deletion.
static void RemoveSelectedRows(HWND list, int above) {
  RedrawHeld held(list);
  for (int index = above - 1; index >= 0; index--)
    if (SendMessageA(list, LVM_GETITEMSTATE, index, LVIS_SELECTED) & LVIS_SELECTED)
      SendMessageA(list, LVM_DELETEITEM, index, 0);
}

// Deletes the files of the selected rows from the top down, stopping at the
// first one that cannot go, and removes the rows of the files that went.
// Returns the row of the file that stayed, or null.
static const CachedFileRow* DeleteSelectedRows(HWND list) {
  WaitCursor wait;
  int stop = DeleteFilesOfSelectedRows(list);
  const CachedFileRow* kept = RowOf(list, stop);  // it stays, but moves up
  RemoveSelectedRows(list, stop);
  if (RowsLeftTotals) {
    char totals[TOTALS_SIZE];
    FormatTotals(TotalsFormat, ListedFileCount, DeletionKilobytes(ListedBytes), totals, sizeof totals);
    ShowTotals(GetParent(list), totals);
    RowsLeftTotals = false;
  }
  return kept;
}

// The box about a file that could not go shows after the rows of those that
// went have left the list, with the cursor as it was.
static void DeleteSelectedFiles(HWND list) {
  if (SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0) == 0) {
    ShowMessageText(list, TEXT_FILES_NOTHING_SELECTED, MB_ICONEXCLAMATION);
    return;
  }
  const CachedFileRow* kept = DeleteSelectedRows(list);
  if (kept) ShowFormattedMessage(list, TEXT_FILES_CANNOT_DELETE, kept->Name, MB_ICONEXCLAMATION);
}

// Takes a row that leaves the list out of the totals and frees it. The
// totals line is the deletion's to rewrite, once at its end.
static void ForgetRow(const NMLISTVIEW* deletion) {
  auto* row = reinterpret_cast<CachedFileRow*>(deletion->lParam);
  if (!row) return;
  SubtractRow(&ListedFileCount, &ListedBytes, row->Size);
  free(row);
  if (EmptyingList) return;  // every item goes now: none keeps a pointer, no one reads the line
  RowsLeftTotals = true;
  LVITEMA item = {};
  item.mask = LVIF_PARAM;
  item.iItem = deletion->iItem;
  item.lParam = 0;
  SendMessageA(deletion->hdr.hwndFrom, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

static void SupplyCellText(NMLVDISPINFOA* request) {
  if (!(request->item.mask & LVIF_TEXT)) return;
  const auto* row = reinterpret_cast<const CachedFileRow*>(request->item.lParam);
  request->item.pszText =
      const_cast<char*>(CellText(row, request->item.iSubItem, NoInfoText, CellBuffer, sizeof CellBuffer));
}

static void AnswerListNotify(const NMHDR* notify) {
  switch (notify->code) {
    case LVN_GETDISPINFOA:
      SupplyCellText(reinterpret_cast<NMLVDISPINFOA*>(const_cast<NMHDR*>(notify)));
      break;
    case LVN_COLUMNCLICK:
      SortFileList(notify->hwndFrom, reinterpret_cast<const NMLISTVIEW*>(notify)->iSubItem);
      break;
    case LVN_KEYDOWN:
      if (reinterpret_cast<const NMLVKEYDOWN*>(notify)->wVKey == VK_DELETE) DeleteSelectedFiles(notify->hwndFrom);
      break;
    case LVN_DELETEITEM:
      ForgetRow(reinterpret_cast<const NMLISTVIEW*>(notify));
      break;
  }
}

// ---- the page ----------------------------------------------------------

// Creates FileListView inside the frame, fills it and sorts it by name;
// null when the list could not be made whole.
static HWND CreateFileList(HWND page) {
  for (int column = 0; column < FILE_LIST_COLUMNS; column++)
    GetMessageText(ColumnTable[column].title, ColumnTable[column].header, sizeof ColumnTable[column].header);
  GetMessageText(TEXT_FILES_NO_INFO, NoInfoText, sizeof NoInfoText);

  RECT frame = {};
  GetWindowRect(GetDlgItem(page, IDC_FILES_FRAME), &frame);
  POINT corners[2] = {{frame.left + LIST_INSET_SIDE, frame.top + LIST_INSET_TOP},
                      {frame.right - LIST_INSET_SIDE, frame.bottom - LIST_INSET_BOTTOM}};
  ScreenToClient(page, &corners[0]);
  ScreenToClient(page, &corners[1]);

  HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(page, GWLP_HINSTANCE));
  HWND list = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT, corners[0].x,
                              corners[0].y, corners[1].x - corners[0].x, corners[1].y - corners[0].y, page,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_FILES_LIST)), instance, nullptr);
  for (int index = 0; list && index < FILE_LIST_COLUMNS; index++) {
    LVCOLUMNA column = {};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    column.fmt = LVCFMT_LEFT;
    column.cx = ColumnTable[index].width;
    column.pszText = ColumnTable[index].header;
    column.iSubItem = index;
    if (SendMessageA(list, LVM_INSERTCOLUMNA, index, reinterpret_cast<LPARAM>(&column)) < 0) list = nullptr;
  }
  WaitCursor wait;
  if (list) {
    RedrawHeld held(list);
    FillFileList(list, page);
    SortFillByName(list);
  } else {
    FillFileList(list, page);
  }
  return list;
}

static void RefreshFileList(HWND page) {
  WaitCursor wait;
  if (FileListView) {
    RedrawHeld held(FileListView);
    EmptyingList = true;
    SendMessageA(FileListView, LVM_DELETEALLITEMS, 0, 0);
    EmptyingList = false;
    FillFileList(FileListView, page);
    SortFillByName(FileListView);
  } else {
    FillFileList(FileListView, page);
  }
  ShowCaption(page);
}

static const PageActions FILE_MANAGER_ACTIONS = {nullptr, RefreshFileList, nullptr};

INT_PTR CALLBACK FileManagerPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      EmptyingList = false;
      FileListView = CreateFileList(page);
      ShowCaption(page);
      SetDialogLabels(page, IDD_FILE_MANAGER);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDC_FILES_DELETE) DeleteSelectedFiles(FileListView);
      return TRUE;
    case WM_NOTIFY: {
      const auto* notify = reinterpret_cast<const NMHDR*>(lParam);
      if (notify->idFrom == IDC_FILES_LIST) {
        AnswerListNotify(notify);
        return FALSE;
      }
      return AnswerSheetNotify(page, notify, FILE_MANAGER_ACTIONS);
    }
    case WM_DESTROY:  // the list goes next, with all its rows
      EmptyingList = true;
      FileListView = nullptr;
      return FALSE;
  }
  return FALSE;
}
