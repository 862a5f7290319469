// FTAGENT.EXE: the companion program that the Manager starts by name.  It
// only leaves a trace: one line with the UTC time appended to ftagent.log
// in its own folder, so that tests can count its starts.
#include <windows.h>

#include <cstdio>
#include <cstring>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char path[MAX_PATH + 16] = {};
  DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return 0;
  char* slash = strrchr(path, '\\');
  if (!slash) return 0;
  snprintf(slash + 1, sizeof path - static_cast<size_t>(slash + 1 - path), "ftagent.log");

  SYSTEMTIME now;
  GetSystemTime(&now);
  char line[64];
  int size = snprintf(line, sizeof line, "%04u-%02u-%02u %02u:%02u:%02u started\r\n", now.wYear, now.wMonth, now.wDay,
                      now.wHour, now.wMinute, now.wSecond);

  HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 0;
  DWORD written = 0;
  WriteFile(file, line, static_cast<DWORD>(size), &written, nullptr);
  CloseHandle(file);
  return 0;
}
