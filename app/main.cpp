// The Manager's entry: single instance, Windows 95 only, settings loaded and
// pushed to the caching driver, then a hidden window in the tray.
#include <windows.h>
#include <commctrl.h>

#include "app/housekeeping.h"
#include "app/startup.h"
#include "app/tray.h"
#include "res/resource.h"
#include "settings/device.h"
#include "settings/settings.h"
#include "text/message_text.h"

// Windows 95 is the system whose kernel32 exports OpenVxDHandle. A 64-bit
// kernel32 never has it, so that build asks for the version instead.
static bool RunsOnWindows95() {
#ifdef _WIN64
  DWORD version = GetVersion();
  bool windows9x = (version & 0x80000000u) != 0;
  return windows9x && LOBYTE(LOWORD(version)) == 4 && HIBYTE(LOWORD(version)) == 0;
#else
  return GetProcAddress(GetModuleHandleA("kernel32"), "OpenVxDHandle") != nullptr;
#endif
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  bool windows95 = RunsOnWindows95();
  AppInstance = instance;
  BuildLanguageFilePath();

  if (FindWindowA(MANAGER_NAME, MANAGER_NAME)) {
    ShowMessageText(nullptr, TEXT_ERROR_ALREADY_LOADED, MB_ICONEXCLAMATION);
    return 1;
  }
  InitCommonControls();
  if (!windows95) {
    ShowMessageText(nullptr, TEXT_ERROR_NEEDS_WINDOWS_95, MB_ICONHAND);
    return 1;
  }

  LoadSettings();
  LoadSavingsParameters();
  // A first start writes all five values; the device is not open yet, so no request goes out.
  if (!SavingsParametersStored()) SaveSettings();

  if (!OpenDevice()) {
    ShowMessageText(nullptr, TEXT_ERROR_NO_DEVICE, MB_ICONHAND);
    return 1;
  }
  WinExec(AGENT_PROGRAM, SW_RESTORE);
  // Read again: the store may have changed since the first read (the companion
  // just started, the driver now loaded), and housekeeping judges by it.
  LoadSettings();
  RemoveUnusedCachedFiles();

  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = ManagerWindowProc;
  windowClass.hInstance = AppInstance;
  windowClass.hIcon = LoadIconA(AppInstance, MAKEINTRESOURCEA(IDI_MANAGER));
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.lpszClassName = MANAGER_NAME;
  RegisterClassA(&windowClass);

  // The window is never shown: it only receives the tray's and the timers' messages.
  ManagerWindow = CreateWindowExA(0, MANAGER_NAME, MANAGER_NAME, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, AppInstance,
                                  nullptr);
  ShowWindow(ManagerWindow, SW_HIDE);
  UpdateWindow(ManagerWindow);

  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  CloseDevice();
  return 0;
}
