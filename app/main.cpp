// The Manager's entry: single instance, Windows 95 only, settings loaded and
// pushed to the caching driver, then a hidden window in the tray.
#include <windows.h>
#include <commctrl.h>

#include "app/housekeeping.h"
#include "app/startup.h"
#include "app/tray.h"
#include "res/resource.h"
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
  bool windows95 = RunsOnWindows95();  // 1
  AppInstance = instance;              // 2
  BuildLanguageFilePath();             // 3

  if (FindWindowA(MANAGER_NAME, MANAGER_NAME)) {  // 4
    ShowMessageText(nullptr, TEXT_ERROR_ALREADY_LOADED, MB_ICONEXCLAMATION);
    return 1;
  }
  InitCommonControls();  // 5
  if (!windows95) {      // 6
    ShowMessageText(nullptr, TEXT_ERROR_NEEDS_WINDOWS_95, MB_ICONHAND);
    return 1;
  }

  LoadSettings();  // 7
  LoadSavingsParameters();
  if (!SavingsParametersStored()) SaveSettings();  // a first start writes all five values

  char devicePath[MAX_PATH];  // 8
  wsprintfA(devicePath, "\\\\.\\%s", DEVICE_NAME);
  // 9. Windows 95 ignores access and disposition for a VxD; NT-family systems
  // need write access for the requests' codes and a real disposition.
  HANDLE device = CreateFileA(devicePath, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (device == INVALID_HANDLE_VALUE) {
    ShowMessageText(nullptr, TEXT_ERROR_NO_DEVICE, MB_ICONHAND);
    return 1;
  }
  DeviceHandle = device;

  WinExec(AGENT_PROGRAM, SW_RESTORE);  // 10
  LoadSettings();                      // 11
  RemoveUnusedCachedFiles();           // 12

  WNDCLASSA windowClass = {};  // 13
  windowClass.lpfnWndProc = ManagerWindowProc;
  windowClass.hInstance = AppInstance;
  windowClass.hIcon = LoadIconA(AppInstance, MAKEINTRESOURCEA(IDI_MANAGER));
  windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.lpszClassName = MANAGER_NAME;
  RegisterClassA(&windowClass);

  ManagerWindow = CreateWindowExA(0, MANAGER_NAME, MANAGER_NAME, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,  // 14
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, AppInstance,
                                  nullptr);
  ShowWindow(ManagerWindow, SW_HIDE);  // 15
  UpdateWindow(ManagerWindow);

  MSG message;  // 16
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  CloseHandle(DeviceHandle);  // 17
  return 0;
}
