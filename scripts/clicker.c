/* Drives the mouse and keyboard inside the Wine desktop, as a user would:
     CLICKER move|left|right|double X Y
     CLICKER key [ctrl+|shift+|alt+]NAME   (NAME: escape, enter, tab, delete,
                                            down, up, space, next, a letter)
     CLICKER rect TITLE FILE               (writes "x y width height" of the
                                            top-level window with that title)
     CLICKER tab TITLE INDEX               (clicks that tab of the property
                                            sheet with that title)
     CLICKER at TITLE ID DX DY             (clicks DX, DY inside the visible
                                            control ID of that window) */
#include <windows.h>
#include <commctrl.h>
#include <ctype.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

/* Every event carries the absolute position, and the pointer is moved twice:
   a button event can otherwise land where the pointer was before. */
static void MoveTo(int x, int y) {
  for (int i = 0; i < 2; i++) {
    SetCursorPos(x, y);
    mouse_event(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1),
                y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1), 0, 0);
    Sleep(250);
  }
}

static void Button(DWORD down, DWORD up) {
  POINT at;
  GetCursorPos(&at);
  DWORD x = at.x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1), y = at.y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
  mouse_event(down | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, x, y, 0, 0);
  Sleep(50);
  mouse_event(up | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, x, y, 0, 0);
}

static void Press(BYTE vk, int down) {
  keybd_event(vk, (BYTE)MapVirtualKeyA(vk, MAPVK_VK_TO_VSC), down ? 0 : KEYEVENTF_KEYUP, 0);
  Sleep(30);
}

static int KeyCode(const char* name) {
  static const struct {
    const char* name;
    BYTE vk;
  } keys[] = {{"escape", VK_ESCAPE}, {"enter", VK_RETURN}, {"tab", VK_TAB}, {"delete", VK_DELETE},
              {"down", VK_DOWN},     {"up", VK_UP},        {"space", VK_SPACE}, {"next", VK_NEXT}};
  for (size_t i = 0; i < sizeof keys / sizeof keys[0]; i++)
    if (strcmp(name, keys[i].name) == 0) return keys[i].vk;
  if (strlen(name) == 1 && isalnum((unsigned char)name[0])) return toupper((unsigned char)name[0]);
  return 0;
}

static int Key(const char* spec) {
  BYTE modifiers[3];
  int count = 0;
  for (;;) {
    if (strncmp(spec, "ctrl+", 5) == 0) modifiers[count++] = VK_CONTROL, spec += 5;
    else if (strncmp(spec, "shift+", 6) == 0) modifiers[count++] = VK_SHIFT, spec += 6;
    else if (strncmp(spec, "alt+", 4) == 0) modifiers[count++] = VK_MENU, spec += 4;
    else break;
    if (count == 3) break;
  }
  int vk = KeyCode(spec);
  if (!vk) return 2;
  for (int i = 0; i < count; i++) Press(modifiers[i], 1);
  Press((BYTE)vk, 1);
  Press((BYTE)vk, 0);
  for (int i = count - 1; i >= 0; i--) Press(modifiers[i], 0);
  return 0;
}

static int Rect(const char* title, const char* path) {
  HWND window = FindWindowA(NULL, title);
  RECT r;
  if (!window || !GetWindowRect(window, &r)) return 1;
  FILE* file = fopen(path, "w");
  if (!file) return 1;
  fprintf(file, "%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
  fclose(file);
  return 0;
}

/* The tab's rectangle is read inside the sheet's process: TCM_GETITEMRECT
   carries a pointer that is not copied across processes. */
static int ClickTab(const char* title, int index) {
  HWND sheet = FindWindowA(NULL, title);
  HWND tabs = sheet ? FindWindowExA(sheet, NULL, "SysTabControl32", NULL) : NULL;
  DWORD pid = 0;
  if (!tabs) return 1;
  GetWindowThreadProcessId(tabs, &pid);
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
  if (!process) return 1;
  RECT* remote = (RECT*)VirtualAllocEx(process, NULL, sizeof(RECT), MEM_COMMIT, PAGE_READWRITE);
  RECT r = {0, 0, 0, 0};
  BOOL read = remote && SendMessageA(tabs, TCM_GETITEMRECT, index, (LPARAM)remote) &&
              ReadProcessMemory(process, remote, &r, sizeof r, NULL);
  if (remote) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  CloseHandle(process);
  if (!read) return 1;
  POINT centre = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  ClientToScreen(tabs, &centre);
  MoveTo(centre.x, centre.y);
  Button(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
  return 0;
}

struct Search {
  int id;
  HWND found;
};

static BOOL CALLBACK MatchControl(HWND child, LPARAM data) {
  struct Search* search = (struct Search*)data;
  if (GetDlgCtrlID(child) != search->id || !IsWindowVisible(child)) return TRUE;
  search->found = child;
  return FALSE;
}

static int ClickControl(const char* title, int id, int dx, int dy) {
  HWND window = FindWindowA(NULL, title);
  struct Search search = {id, NULL};
  if (!window) return 1;
  EnumChildWindows(window, MatchControl, (LPARAM)&search);
  if (!search.found) return 1;
  POINT at = {dx, dy};
  ClientToScreen(search.found, &at);
  MoveTo(at.x, at.y);
  Button(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
  return 0;
}

int main(int argc, char** argv) {
  if (argc == 2 && strcmp(argv[1], "escape") == 0) return Key("escape");
  if (argc == 3 && strcmp(argv[1], "key") == 0) return Key(argv[2]);
  if (argc == 4 && strcmp(argv[1], "rect") == 0) return Rect(argv[2], argv[3]);
  if (argc == 4 && strcmp(argv[1], "tab") == 0) return ClickTab(argv[2], atoi(argv[3]));
  if (argc == 6 && strcmp(argv[1], "at") == 0) return ClickControl(argv[2], atoi(argv[3]), atoi(argv[4]), atoi(argv[5]));
  if (argc != 4) return 2;
  MoveTo(atoi(argv[2]), atoi(argv[3]));
  if (strcmp(argv[1], "left") == 0) Button(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
  else if (strcmp(argv[1], "right") == 0) Button(MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
  else if (strcmp(argv[1], "double") == 0) {
    Button(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
    Sleep(80);
    Button(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
  } else if (strcmp(argv[1], "move") != 0) return 2;
  return 0;
}
