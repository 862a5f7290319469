// FTAGENT.EXE: the companion program that the Manager starts by name.  It
// leaves a trace: one line with the UTC time appended to ftagent.log in its
// own folder, so that tests can count its starts.  A test may also leave it
// ftagent.set there: lines "NAME HEX" that it writes to the driver's key as
// binary values before it ends, as the real companion changes the store
// while the Manager starts.
#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

constexpr const char* kDriverKeyPath = "System\\CurrentControlSet\\Services\\VxD\\FTCACHE";

// The file name beside the program; false when the path does not fit.
bool BesideProgram(const char* name, char* path, size_t size) {
  DWORD length = GetModuleFileNameA(nullptr, path, static_cast<DWORD>(size));
  if (length == 0 || length >= size) return false;
  char* slash = strrchr(path, '\\');
  if (!slash) return false;
  return snprintf(slash + 1, size - static_cast<size_t>(slash + 1 - path), "%s", name) <
         static_cast<int>(size - static_cast<size_t>(slash + 1 - path));
}

void LogStart() {
  char path[MAX_PATH];
  if (!BesideProgram("ftagent.log", path, sizeof path)) return;
  SYSTEMTIME now;
  GetSystemTime(&now);
  char line[64];
  int size = snprintf(line, sizeof line, "%04u-%02u-%02u %02u:%02u:%02u started\r\n", now.wYear, now.wMonth, now.wDay,
                      now.wHour, now.wMinute, now.wSecond);
  HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, line, static_cast<DWORD>(size), &written, nullptr);
  CloseHandle(file);
}

void ApplySetFile() {
  char path[MAX_PATH];
  if (!BesideProgram("ftagent.set", path, sizeof path)) return;
  FILE* file = fopen(path, "r");
  if (!file) return;
  HKEY key;
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kDriverKeyPath, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) ==
      ERROR_SUCCESS) {
    char name[256], hex[1024];
    while (fscanf(file, "%255s %1023s", name, hex) == 2) {
      BYTE bytes[512];
      DWORD size = 0;
      for (const char* p = hex; p[0] && p[1] && size < sizeof bytes; p += 2) {
        unsigned value = 0;
        if (sscanf(p, "%2x", &value) != 1) break;
        bytes[size++] = static_cast<BYTE>(value);
      }
      RegSetValueExA(key, name, 0, REG_BINARY, bytes, size);
    }
    RegCloseKey(key);
  }
  fclose(file);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  LogStart();
  ApplySetFile();
  return 0;
}
