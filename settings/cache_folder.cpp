#include "settings/cache_folder.h"

#include <cstdio>

#include "settings/registry_key.h"
#include "settings/settings.h"

constexpr const char* TOTAL_VALUE = "Total";

static uint64_t FoundSize(const WIN32_FIND_DATAA& found) {
  return (uint64_t{found.nFileSizeHigh} << 32) | found.nFileSizeLow;
}

bool CachedFilePath(const char* name, char* path, size_t size) {
  if (!CacheDirectoryUsable()) return false;
  int length = snprintf(path, size, "%s\\%s", CacheDirectory, name);
  return length >= 0 && static_cast<size_t>(length) < size;
}

void ScanCacheFolder(CacheFolderVisit visit, void* context) {
  char pattern[MAX_PATH];
  if (!CachedFilePath("*.*", pattern, sizeof pattern)) return;
  WIN32_FIND_DATAA found;
  HANDLE scan = FindFirstFileA(pattern, &found);
  if (scan == INVALID_HANDLE_VALUE) return;
  do {
    if (found.cFileName[0] == '.' || (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
    const CacheFolderEntry entry = {found.cFileName, found.cAlternateFileName, FoundSize(found)};
    if (!visit(entry, context)) break;
  } while (FindNextFileA(scan, &found));
  FindClose(scan);
}

uint32_t ReadTotalKilobytes() {
  HKEY key;
  if (OpenDriverKey(&key) != ERROR_SUCCESS) return 0;
  KeyGuard guard{key};
  uint32_t total = 0;  // a shorter value fills only its own bytes
  DWORD size = sizeof total;
  if (!QueryValue(key, TOTAL_VALUE, &total, &size)) return 0;
  return total;
}

void ClearTotalKilobytes() {
  HKEY key;
  if (OpenDriverKey(&key) != ERROR_SUCCESS) return;
  KeyGuard guard{key};
  const uint32_t zero = 0;
  RegSetValueExA(key, TOTAL_VALUE, 0, REG_BINARY, reinterpret_cast<const BYTE*>(&zero), sizeof zero);
}
