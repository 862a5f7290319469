#include "panel/control_panel.h"

#include <commctrl.h>
#include <prsht.h>

#include <cstddef>
#include <cstdio>

#include "app/startup.h"
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

struct PageEntry {
  int dialogTemplate;
  int titleKey;  // section "Main"
  DLGPROC procedure;
};

// Tab order; the General page comes first and is created first.
static const PageEntry PAGES[] = {
    {IDD_GENERAL, 1, GeneralPageProc},
};
constexpr int PAGE_COUNT = sizeof PAGES / sizeof PAGES[0];
constexpr int PAGE_TITLE_SIZE = 56;
constexpr int CAPTION_SIZE = 100;

static char SheetCaption[CAPTION_SIZE];
static char PageTitles[PAGE_COUNT][PAGE_TITLE_SIZE];

int OpenControlPanel(HWND parent) {
  for (int i = 0; i < PAGE_COUNT; i++) GetMessageText(SECTION_MAIN, PAGES[i].titleKey, PageTitles[i], PAGE_TITLE_SIZE);
  snprintf(SheetCaption, sizeof SheetCaption, "FileTrove - %s", "Control Panel");
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
  header.pszCaption = SheetCaption;
  header.nPages = PAGE_COUNT;
  header.nStartPage = 0;
  header.ppsp = reinterpret_cast<LPCPROPSHEETPAGEA>(pages);
  return static_cast<int>(PropertySheetA(&header));
}

INT_PTR AnswerSheetNotify(HWND page, const NMHDR* notify) {
  switch (notify->code) {
    case PSN_SETACTIVE:
      SendMessageA(notify->hwndFrom, PSM_CHANGED, reinterpret_cast<WPARAM>(page), 0);
      SetWindowLongPtrA(page, DWLP_MSGRESULT, 0);
      return TRUE;
    case PSN_KILLACTIVE:
      SetWindowLongPtrA(page, DWLP_MSGRESULT, 0);
      return TRUE;
    case PSN_APPLY:
      SaveSettings();
      SetWindowLongPtrA(page, DWLP_MSGRESULT, PSNRET_NOERROR);
      return TRUE;
    case PSN_RESET:
      SetWindowLongPtrA(page, DWLP_MSGRESULT, 0);
      return FALSE;
  }
  return TRUE;
}
