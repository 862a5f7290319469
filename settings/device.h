// The caching driver's device: its name, its handle and the requests that
// steer it.
#pragma once
#include <windows.h>

constexpr const char* DEVICE_NAME = "FTCACHE";

extern HANDLE DeviceHandle;  // 0 until start-up opens the device

constexpr DWORD CACHE_ENABLE = 0x8100;
constexpr DWORD CACHE_DISABLE = 0x8101;
constexpr DWORD CACHE_SET_SETTINGS = 0x8102;
constexpr DWORD CACHE_DISK_LOW = 0x8103;
constexpr DWORD CACHE_DISK_OK = 0x8104;
constexpr DWORD CACHE_SET_EDIT_TYPES = 0x8105;

// Opens \\.\FTCACHE into DeviceHandle; false when there is no such device.
bool OpenDevice();
void CloseDevice();
// Sends one of the five requests other than CACHE_SET_EDIT_TYPES. On failure
// shows the fatal box and posts WM_QUIT; the caller carries on.
void SendDeviceRequest(DWORD code);
// Sends EditModeTable; on failure shows the fatal box and ends the process.
void SendEditModeTable();
