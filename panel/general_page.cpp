// General page: caching on or off at once, the caching-progress setting, and
// the tray's point of contact with the open sheet.
#include <windows.h>

#include "app/tray.h"
#include "panel/control_panel.h"
#include "res/resource.h"
#include "settings/settings.h"
#include "text/message_text.h"

constexpr uint32_t HANDOVER_EMPTY = 0xFFFFFFFF;

static void ShowCacheActive(HWND page) {
  CheckDlgButton(page, IDC_GENERAL_ACTIVE, CacheSettings.CacheActive ? BST_CHECKED : BST_UNCHECKED);
}

static void CreateGeneralPage(HWND page) {
  CurrentPageWindow = page;
  // The sheet reloaded the settings; the tray's in-memory switch wins.
  if (ActiveAtPanelOpen != HANDOVER_EMPTY) {
    CacheSettings.CacheActive = ActiveAtPanelOpen;
    ActiveAtPanelOpen = HANDOVER_EMPTY;
  }
  SetDialogLabels(page, IDD_GENERAL);
  ShowCacheActive(page);
  CheckDlgButton(page, IDC_GENERAL_PROGRESS, CacheSettings.ShowProgress ? BST_CHECKED : BST_UNCHECKED);
  ShowPanelBitmap(page, IDC_GENERAL_PICTURE);
}

// The box has already changed itself; ToggleCache inverts CacheActive back
// to the box's state and carries the switch to the driver, tray and store.
static void SwitchCacheAtOnce(HWND page) {
  CacheSettings.CacheActive = CheckBoxFlag(page, IDC_GENERAL_ACTIVE) ? 0 : 1;
  HWND sheetOwner = GetParent(GetParent(page));
  ToggleCache(sheetOwner);
}

static bool ApplyGeneralPage(HWND page) {
  CacheSettings.CacheActive = CheckBoxFlag(page, IDC_GENERAL_ACTIVE);
  CacheSettings.ShowProgress = CheckBoxFlag(page, IDC_GENERAL_PROGRESS);
  SavePanelSettings();
  return true;
}

static const PageActions GENERAL_ACTIONS = {nullptr, nullptr, ApplyGeneralPage};

INT_PTR CALLBACK GeneralPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      CreateGeneralPage(page);
      return TRUE;
    case WM_REFRESHSTATE:
      ShowCacheActive(page);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDC_GENERAL_ACTIVE) SwitchCacheAtOnce(page);
      return TRUE;
    case WM_NOTIFY:
      return AnswerSheetNotify(page, reinterpret_cast<const NMHDR*>(lParam), GENERAL_ACTIONS);
  }
  return FALSE;
}
