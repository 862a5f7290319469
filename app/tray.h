// The hidden window: tray icon, pop-up menu, click and watchdog timers.
#pragma once
#include <windows.h>
#include <cstdint>

constexpr UINT TRAY_ICON_ID = 1006;
constexpr UINT WM_TRAYNOTIFY = 0x8064;
constexpr UINT WM_REFRESHSTATE = 0x8065;
constexpr UINT IDM_TOGGLE_CACHE = 142;
constexpr UINT IDM_OPEN_PANEL = 143;
constexpr UINT_PTR CLICK_TIMER = 100;
constexpr UINT_PTR WATCHDOG_TIMER = 101;
constexpr UINT WATCHDOG_PERIOD_MS = 3000;
constexpr int TRAY_TIP_LENGTH = 63;

extern HBITMAP PanelBitmap;
extern uint32_t ActiveAtPanelOpen;
extern HWND CurrentPageWindow;

LRESULT CALLBACK ManagerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void ToggleCache(HWND window);
