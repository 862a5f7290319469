// General page: caching on or off.
#include <windows.h>

#include "app/tray.h"
#include "app/startup.h"
#include "panel/control_panel.h"
#include "res/resource.h"
#include "settings/settings.h"

constexpr uint32_t HANDOVER_EMPTY = 0xFFFFFFFF;

static void ShowCacheActive(HWND page) {
  CheckDlgButton(page, IDC_GENERAL_ACTIVE, CacheSettings.CacheActive ? BST_CHECKED : BST_UNCHECKED);
}

INT_PTR CALLBACK GeneralPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      CurrentPageWindow = page;
      // The sheet reloaded the settings; the tray's in-memory switch wins.
      if (ActiveAtPanelOpen != HANDOVER_EMPTY) CacheSettings.CacheActive = ActiveAtPanelOpen;
      ActiveAtPanelOpen = HANDOVER_EMPTY;
      ShowCacheActive(page);
      return TRUE;
    case WM_REFRESHSTATE:
      ShowCacheActive(page);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDC_GENERAL_ACTIVE && HIWORD(wParam) == BN_CLICKED) {
        ToggleCache(ManagerWindow);
        ShowCacheActive(page);
        return TRUE;
      }
      break;
    case WM_NOTIFY:
      return AnswerSheetNotify(page, reinterpret_cast<const NMHDR*>(lParam));
  }
  return FALSE;
}
