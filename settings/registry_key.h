// The driver's registry key and a guard that closes an opened key.
#pragma once
#include <windows.h>

inline const HKEY DRIVER_KEY_ROOT = HKEY_LOCAL_MACHINE;
constexpr const char* DRIVER_KEY_PATH = "System\\CurrentControlSet\\Services\\VxD\\FTCACHE";

// Opens DriverKey (never creates it); 0 or the registry's error code.
inline LONG OpenDriverKey(HKEY* key) { return RegOpenKeyA(DRIVER_KEY_ROOT, DRIVER_KEY_PATH, key); }

struct KeyGuard {
  HKEY key;
  ~KeyGuard() { RegCloseKey(key); }
  KeyGuard(const KeyGuard&) = delete;  // a copy would close the key twice
  KeyGuard& operator=(const KeyGuard&) = delete;
};

// Queries a value into buffer; true and *size = bytes returned on success.
inline bool QueryValue(HKEY key, const char* name, void* buffer, DWORD* size) {
  return RegQueryValueExA(key, name, nullptr, nullptr, static_cast<BYTE*>(buffer), size) == ERROR_SUCCESS;
}
