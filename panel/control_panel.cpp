#include "panel/control_panel.h"

#include <commctrl.h>
#include <prsht.h>

#include <cstddef>

#include "app/tray.h"
#include "res/resource.h"
#include "settings/settings.h"
#include "text/message_text.h"

// The Windows 95 page descriptor: exactly the fields of the first version, so
// that an array of them has the stride that the sheet walks by dwSize.
struct PageDescriptor {
  DWORD dwSize;
  DWORD dwFlags;
  HINSTANCE hInstance;
  LPCSTR pszTemplate;
  HICON hIcon;
  LPCSTR pszTitle;
  DLGPROC pfnDlgProc;
  LPARAM lParam;
  LPFNPSPCALLBACKA pfnCallback;
  UINT* pcRefParent;
};
static_assert(sizeof(PageDescriptor) == offsetof(PROPSHEETPAGEA, pcRefParent) + sizeof(UINT*));
static_assert(offsetof(PageDescriptor, pfnDlgProc) == offsetof(PROPSHEETPAGEA, pfnDlgProc));

struct PageEntry {
  int dialogTemplate;
  TextId title;
  DLGPROC procedure;
};

// Tab order; the General page comes first and is created first.
static const PageEntry PAGES[] = {
    {IDD_GENERAL, TEXT_TITLE_GENERAL, GeneralPageProc},
    {IDD_ADVANCED, TEXT_TITLE_ADVANCED, AdvancedPageProc},
    {IDD_FILE_MANAGER, TEXT_TITLE_FILE_MANAGER, FileManagerPageProc},
    {IDD_EDIT_MODE, TEXT_TITLE_EDIT_MODE, EditModePageProc},
    {IDD_STATISTICS, TEXT_TITLE_STATISTICS, StatisticsPageProc},
    {IDD_ABOUT, TEXT_TITLE_ABOUT, AboutPageProc},
};
constexpr int PAGE_COUNT = sizeof PAGES / sizeof PAGES[0];
static_assert(PAGE_COUNT == 6);
constexpr int PAGE_TITLE_SIZE = 56;
// Only "FileTrove - " is fixed; the rest of the caption is ours to choose.
static const char SHEET_CAPTION[] = "FileTrove - Control Panel";

// Read at every opening, so a changed language file shows at the next one.
static char PageTitles[PAGE_COUNT][PAGE_TITLE_SIZE];

int OpenControlPanel(HWND parent) {
  for (int i = 0; i < PAGE_COUNT; i++) GetMessageText(PAGES[i].title, PageTitles[i], PAGE_TITLE_SIZE);
  // The pages show the store: a refused Apply may have left memory changed.
  LoadSettings();

  PageDescriptor pages[PAGE_COUNT] = {};
  for (int i = 0; i < PAGE_COUNT; i++) {
    pages[i].dwSize = PROPSHEETPAGEA_V1_SIZE;
    pages[i].dwFlags = PSP_USETITLE;
    pages[i].hInstance = AppInstance;
    pages[i].pszTemplate = MAKEINTRESOURCEA(PAGES[i].dialogTemplate);
    pages[i].pszTitle = PageTitles[i];
    pages[i].pfnDlgProc = PAGES[i].procedure;
    pages[i].lParam = 0;
  }
  PROPSHEETHEADERA header = {};
  header.dwSize = PROPSHEETHEADERA_V1_SIZE;
  header.dwFlags = PSH_PROPSHEETPAGE;
  header.hwndParent = parent;
  header.hInstance = AppInstance;
  header.pszCaption = SHEET_CAPTION;
  header.nPages = PAGE_COUNT;
  header.nStartPage = 0;
  header.ppsp = reinterpret_cast<LPCPROPSHEETPAGEA>(pages);
  return static_cast<int>(PropertySheetA(&header));
}

static INT_PTR Answer(HWND page, LONG_PTR messageResult, INT_PTR procedureResult) {
  SetWindowLongPtrA(page, DWLP_MSGRESULT, messageResult);
  return procedureResult;
}

INT_PTR AnswerSheetNotify(HWND page, const NMHDR* notify, const PageActions& actions) {
  switch (notify->code) {
    case PSN_SETACTIVE:
      // Every shown page reports itself changed, so Apply is always enabled.
      // The Statistics page's figures are fresh before that report; the File
      // Manager's slow refill of its list comes after it, Apply already lit.
      if (actions.RefreshBeforeChanged) actions.RefreshBeforeChanged(page);
      SendMessageA(notify->hwndFrom, PSM_CHANGED, reinterpret_cast<WPARAM>(page), 0);
      if (actions.RefreshAfterChanged) actions.RefreshAfterChanged(page);
      return Answer(page, 0, TRUE);
    case PSN_KILLACTIVE:
      return Answer(page, 0, TRUE);
    case PSN_APPLY: {
      bool accepted = true;
      if (actions.Apply) {
        accepted = actions.Apply(page);
      } else {
        SavePanelSettings();
      }
      return Answer(page, accepted ? PSNRET_NOERROR : PSNRET_INVALID, TRUE);
    }
    case PSN_RESET:  // Cancel undoes nothing
      return Answer(page, 0, FALSE);
  }
  return TRUE;
}

void SavePanelSettings() {
  WaitCursor wait;
  SaveSettings();
}

void ShowPanelBitmap(HWND page, int controlId) {
  HWND picture = GetDlgItem(page, controlId);
  if (!PanelBitmap || !picture) return;
  SetWindowLongPtrA(picture, GWL_STYLE, GetWindowLongPtrA(picture, GWL_STYLE) | SS_BITMAP);
  SendMessageA(picture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(PanelBitmap));
}

uint32_t CheckBoxFlag(HWND page, int controlId) {
  return IsDlgButtonChecked(page, controlId) == BST_CHECKED ? 1 : 0;
}
