// The registry, reached only through here: the driver's key, the system's
// file-type entries, a guard that closes an opened key, and reads that hand
// a value's type and size to the records' rules to judge.
#pragma once
#include <windows.h>

#include "settings/stored_records.h"

static_assert(REG_SZ == STORED_TEXT && REG_EXPAND_SZ == STORED_EXPANDABLE_TEXT && REG_BINARY == STORED_BINARY &&
              REG_DWORD == STORED_WORD);

inline const HKEY DRIVER_KEY_ROOT = HKEY_LOCAL_MACHINE;
constexpr const char* DRIVER_KEY_PATH = "System\\CurrentControlSet\\Services\\VxD\\FTCACHE";

// Opens DriverKey (never creates it); 0 or the registry's error code.
inline LONG OpenDriverKey(HKEY* key) { return RegOpenKeyA(DRIVER_KEY_ROOT, DRIVER_KEY_PATH, key); }

// Opens a key below parent for reading; 0 or the registry's error code.
inline LONG OpenKeyToRead(HKEY parent, const char* name, HKEY* key) {
  return RegOpenKeyExA(parent, name, 0, KEY_READ, key);
}

struct KeyGuard {
  HKEY key;
  ~KeyGuard() { RegCloseKey(key); }
  KeyGuard(const KeyGuard&) = delete;  // a copy would close the key twice
  KeyGuard& operator=(const KeyGuard&) = delete;
};

// Reads the value name (null: the key's default value) of at most capacity
// bytes into buffer: 0 and *value its type and the bytes read, or the
// registry's error code (ERROR_MORE_DATA for a longer value) and a value of
// no type, which every record refuses.
inline LONG QueryValue(HKEY key, const char* name, uint8_t* buffer, DWORD capacity, StoredValue* value) {
  DWORD type = REG_NONE, size = capacity;
  LONG status = RegQueryValueExA(key, name, nullptr, &type, buffer, &size);
  if (status == ERROR_SUCCESS) *value = {type, buffer, size};
  else *value = {REG_NONE, buffer, 0};
  return status;
}

// Writes a value; as everywhere in the store, a failed write goes unnoticed.
inline void SetValue(HKEY key, const char* name, const StoredValue& value) {
  RegSetValueExA(key, name, 0, value.Type, value.Bytes, static_cast<DWORD>(value.Size));
}

inline void DeleteValue(HKEY key, const char* name) { RegDeleteValueA(key, name); }
