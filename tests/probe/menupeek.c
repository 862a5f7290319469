/* MENUPEEK THREAD: hooks MENUPROBE.DLL into that thread of another program and
   sends the probe message to its open pop-up menu. A hook DLL must match the
   bitness of the program it enters, so this program is built at the
   Manager's bitness, beside its DLL. Exit code 0 when the probe answered. */
#include <windows.h>
#include <stdlib.h>

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  DWORD thread = (DWORD)strtoul(argv[1], NULL, 10);
  HWND popup = FindWindowA("#32768", NULL);
  HMODULE probe = LoadLibraryA("MENUPROBE.DLL");
  HOOKPROC hook = probe ? (HOOKPROC)GetProcAddress(probe, "MenuProbeHook") : NULL;
  HHOOK installed = hook ? SetWindowsHookExA(WH_CALLWNDPROC, hook, probe, thread) : NULL;
  if (!popup || !installed) return 1;
  DWORD_PTR result = 0;
  SendMessageTimeoutA(popup, RegisterWindowMessageA("FileTroveMenuProbe"), 0, 0, SMTO_ABORTIFHUNG, 3000, &result);
  UnhookWindowsHookEx(installed);
  return 0;
}
