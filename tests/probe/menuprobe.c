/* Hooked into another program's thread by a test: when it receives the probe
   message, it writes the item texts of its open pop-up menu to a file (one
   line each) and closes the menu. Menus cannot be read from another process. */
#include <windows.h>
#include <stdio.h>

#ifndef MN_GETHMENU
#define MN_GETHMENU 0x01E1
#endif

static UINT ProbeMessage;

static void WriteItems(HWND popup) {
  HMENU menu = (HMENU)SendMessageA(popup, MN_GETHMENU, 0, 0);
  FILE* out = fopen("C:\\FT\\menuprobe.txt", "wb");
  if (!out) return;
  int count = menu ? GetMenuItemCount(menu) : 0;
  for (int i = 0; i < count; i++) {
    char text[256] = "";
    GetMenuStringA(menu, i, text, sizeof text, MF_BYPOSITION);
    fprintf(out, "%u %s\n", GetMenuItemID(menu, i), text);
  }
  fclose(out);
}

__declspec(dllexport) LRESULT CALLBACK MenuProbeHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION) {
    const CWPSTRUCT* call = (const CWPSTRUCT*)lParam;
    if (call->message == ProbeMessage) {
      WriteItems(call->hwnd);
      EndMenu();
    }
  }
  return CallNextHookEx(NULL, code, wParam, lParam);
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  (void)instance;
  (void)reserved;
  if (reason == DLL_PROCESS_ATTACH) ProbeMessage = RegisterWindowMessageA("FileTroveMenuProbe");
  return TRUE;
}
