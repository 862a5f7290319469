/* Drives the mouse inside the Wine desktop, as a user at the tray would:
   CLICKER move|left|right X Y, or CLICKER escape. */
#include <windows.h>
#include <stdlib.h>
#include <string.h>

static void Button(DWORD down, DWORD up) {
  mouse_event(down, 0, 0, 0, 0);
  Sleep(50);
  mouse_event(up, 0, 0, 0, 0);
}

int main(int argc, char** argv) {
  if (argc == 2 && strcmp(argv[1], "escape") == 0) {
    keybd_event(VK_ESCAPE, 0, 0, 0);
    keybd_event(VK_ESCAPE, 0, KEYEVENTF_KEYUP, 0);
    return 0;
  }
  if (argc != 4) return 2;
  SetCursorPos(atoi(argv[2]), atoi(argv[3]));
  Sleep(100);
  if (strcmp(argv[1], "left") == 0) Button(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
  else if (strcmp(argv[1], "right") == 0) Button(MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
  else if (strcmp(argv[1], "move") != 0) return 2;
  return 0;
}
