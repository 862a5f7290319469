#include "app/tray.h"

#include <shellapi.h>

#include "app/startup.h"
#include "app/watchdog.h"
#include "panel/control_panel.h"
#include "res/resource.h"
#include "settings/device.h"
#include "settings/settings.h"
#include "text/format_text.h"
#include "text/message_text.h"

static HMENU TrayMenu = nullptr;
HBITMAP PanelBitmap = nullptr;
static uint32_t PanelOpen = 0;
static uint32_t DoubleClickSeen = 0;
uint32_t ActiveAtPanelOpen = 0;
HWND CurrentPageWindow = nullptr;

static HICON LoadTrayIcon(int iconId) {
  return static_cast<HICON>(LoadImageA(AppInstance, MAKEINTRESOURCEA(iconId), IMAGE_ICON, 16, 16, 0));
}

static void NotifyTray(HWND window, DWORD action, UINT iconId, HICON icon, const char* tip) {
  NOTIFYICONDATAA data = {};
  data.cbSize = NOTIFYICONDATAA_V1_SIZE;  // the Windows 95 form
  data.hWnd = window;
  data.uID = iconId;
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = WM_TRAYNOTIFY;
  data.hIcon = icon;
  FormatText(data.szTip, TRAY_TIP_LENGTH + 1, "%s", tip ? tip : "");
  Shell_NotifyIconA(action, &data);
  if (icon) DestroyIcon(icon);
}

// The tray icon and tip that show the current CacheActive.
static void ShowCacheState(HWND window, DWORD action) {
  char tip[MESSAGE_TEXT_SIZE];
  GetMessageText(CacheSettings.CacheActive ? TEXT_TIP_ON : TEXT_TIP_OFF, tip, sizeof tip);
  NotifyTray(window, action, TRAY_ICON_ID, LoadTrayIcon(CacheSettings.CacheActive ? IDI_CACHE_ON : IDI_CACHE_OFF),
             tip);
}

static void ToggleItemText(char* text, int size) {
  GetMessageText(CacheSettings.CacheActive ? TEXT_MENU_DISABLE : TEXT_MENU_ENABLE, text, size);
}

static void InstallTrayIcon(HWND window) {
  ShowCacheState(window, NIM_ADD);
  SendDeviceRequest(CACHE_SET_SETTINGS);
  SendEditModeTable();
}

static void RemoveTrayIcon(HWND window) {
  CacheSettings.CacheActive = 0;
  NotifyTray(window, NIM_DELETE, TRAY_ICON_ID, nullptr, nullptr);
  SendDeviceRequest(CACHE_DISABLE);
}

void ToggleCache(HWND window) {
  CacheSettings.CacheActive = CacheSettings.CacheActive ? 0 : 1;
  ShowCacheState(window, NIM_MODIFY);
  SendDeviceRequest(CacheSettings.CacheActive ? CACHE_ENABLE : CACHE_DISABLE);

  char item[MESSAGE_TEXT_SIZE];
  ToggleItemText(item, sizeof item);
  ModifyMenuA(TrayMenu, 0, MF_BYPOSITION | MF_STRING, IDM_TOGGLE_CACHE, item);
  SaveCacheActive();
}

static void CreateTrayMenu() {
  TrayMenu = CreatePopupMenu();
  char item[MESSAGE_TEXT_SIZE];
  ToggleItemText(item, sizeof item);
  AppendMenuA(TrayMenu, MF_STRING, IDM_TOGGLE_CACHE, item);
  GetMessageText(TEXT_MENU_OPEN_PANEL, item, sizeof item);
  AppendMenuA(TrayMenu, MF_STRING, IDM_OPEN_PANEL, item);
}

static void ShowTrayMenu(HWND window, int x, int y) {
  // Without the foreground the menu would not close when the user clicks elsewhere.
  SetForegroundWindow(window);
  TrackPopupMenuEx(TrayMenu, TPM_VERTICAL, x, y, window, nullptr);
}

static void OpenPanelFromTray() {
  if (PanelOpen == 0) {
    PanelOpen = 1;
    ActiveAtPanelOpen = CacheSettings.CacheActive;
    OpenControlPanel(ManagerWindow);
    PanelOpen = 0;
  } else {
    // A page is a child window: where it cannot take the foreground, its sheet does.
    HWND sheet = GetParent(CurrentPageWindow);
    if (!SetForegroundWindow(CurrentPageWindow) || GetForegroundWindow() != sheet) SetForegroundWindow(sheet);
  }
}

static void ToggleFromTray(HWND window) {
  ToggleCache(window);
  if (PanelOpen) SendMessageA(CurrentPageWindow, WM_REFRESHSTATE, 0, 0);
}

static void OnTrayNotify(HWND window, LPARAM mouseMessage) {
  switch (mouseMessage) {
    case WM_LBUTTONDOWN:
      if (DoubleClickSeen == 0) SetTimer(window, CLICK_TIMER, GetDoubleClickTime(), nullptr);
      break;
    case WM_LBUTTONDBLCLK:
      if (DoubleClickSeen == 0) {
        DoubleClickSeen = 1;
        OpenPanelFromTray();
      }
      break;
  }
}

LRESULT CALLBACK ManagerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      PanelBitmap = LoadBitmapA(reinterpret_cast<CREATESTRUCTA*>(lParam)->hInstance, MAKEINTRESOURCEA(IDB_PANEL));
      CreateTrayMenu();
      InstallTrayIcon(window);
      SetTimer(window, WATCHDOG_TIMER, WATCHDOG_PERIOD_MS, nullptr);
      return 0;
    case WM_DESTROY:
      DestroyMenu(TrayMenu);
      KillTimer(window, WATCHDOG_TIMER);
      DeleteObject(PanelBitmap);
      RemoveTrayIcon(window);
      return 0;
    case WM_SIZE:
    case WM_CLOSE:  // the Manager cannot be closed this way
      return 0;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDM_TOGGLE_CACHE) {
        ToggleFromTray(window);
        return 0;
      }
      if (LOWORD(wParam) == IDM_OPEN_PANEL) {
        OpenPanelFromTray();
        return 0;
      }
      break;
    case WM_TIMER:
      if (wParam == CLICK_TIMER) {
        KillTimer(window, CLICK_TIMER);
        if (DoubleClickSeen == 0) ToggleFromTray(window);
        DoubleClickSeen = 0;
      } else if (wParam == WATCHDOG_TIMER) {
        CheckFreeSpace(PanelOpen ? CurrentPageWindow : ManagerWindow);
      }
      break;
    case WM_TRAYNOTIFY:
      if (lParam == WM_RBUTTONDOWN) {
        POINT cursor;
        if (GetCursorPos(&cursor)) ShowTrayMenu(window, cursor.x, cursor.y);
        return 0;
      }
      OnTrayNotify(window, lParam);
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}
