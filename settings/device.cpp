#include "settings/device.h"

#include "settings/settings.h"
#include "text/format_text.h"
#include "text/message_text.h"

HANDLE DeviceHandle = 0;

bool OpenDevice() {
  char path[16];
  FormatText(path, sizeof path, "\\\\.\\%s", DEVICE_NAME);
  // Windows 95 ignores access and disposition for a VxD; NT-family systems
  // need write access for the requests' codes and a real disposition.
  HANDLE device = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (device == INVALID_HANDLE_VALUE) return false;
  DeviceHandle = device;
  return true;
}

void CloseDevice() { CloseHandle(DeviceHandle); }

void SendDeviceRequest(DWORD code) {
  // NT-family systems need a byte-count variable even where the value is unused.
  DWORD returned = 0;
  BOOL done;
  if (code == CACHE_SET_SETTINGS) {
    done = DeviceIoControl(DeviceHandle, code, &CacheSettings, sizeof CacheSettings, nullptr, 0, &returned,
                           nullptr);
  } else {
    DWORD output = 0;
    done = DeviceIoControl(DeviceHandle, code, nullptr, 0, &output, sizeof output, &returned, nullptr);
  }
  if (!done) {
    ShowMessageText(nullptr, TEXT_ERROR_CANNOT_CONTINUE, MB_ICONHAND);
    PostQuitMessage(1);
  }
}

void SendEditModeTable() {
  DWORD returned = 0;
  if (!DeviceIoControl(DeviceHandle, CACHE_SET_EDIT_TYPES, &EditModeTable, sizeof EditModeTable, nullptr, 0,
                       &returned, nullptr)) {
    ShowMessageText(nullptr, TEXT_ERROR_CANNOT_CONTINUE, MB_ICONHAND);
    TerminateProcess(GetCurrentProcess(), 1);
  }
}
