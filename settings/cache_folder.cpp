#include "settings/cache_folder.h"

#include <cstring>

#include "settings/registry_key.h"
#include "settings/settings.h"
#include "text/format_text.h"

constexpr const char* TOTAL_VALUE = "Total";

static uint64_t FoundSize(const WIN32_FIND_DATAA& found) {
  return (uint64_t{found.nFileSizeHigh} << 32) | found.nFileSizeLow;
}

bool CachedFilePath(const char* name, char* path, size_t size) {
  if (!CacheDirectoryUsable()) return false;
  int length = FormatText(path, size, "%s\\%s", CacheDirectory, name);
  return length >= 0 && static_cast<size_t>(length) < size;
}

void ScanCacheFolder(CacheFolderVisit visit, void* context, DotNames dotNames) {
  char pattern[MAX_PATH];
  if (!CachedFilePath("*.*", pattern, sizeof pattern)) return;
  WIN32_FIND_DATAA found;
  HANDLE scan = FindFirstFileA(pattern, &found);
  if (scan == INVALID_HANDLE_VALUE) return;
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    if (found.cFileName[0] == '.' && dotNames == DotNames::SKIPPED) continue;
    const CacheFolderEntry entry = {found.cFileName, found.cAlternateFileName, FoundSize(found)};
    if (!visit(entry, context)) break;
  } while (FindNextFileA(scan, &found));
  FindClose(scan);
}

static bool Missing(DWORD error) { return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND; }

// Whether the file found at a path is the listed one: same name, short name
// and size.
static bool NamesListedFile(const WIN32_FIND_DATAA& found, const CacheFolderEntry& listed) {
  return strcmp(found.cFileName, listed.Name) == 0 && strcmp(found.cAlternateFileName, listed.ShortName) == 0 &&
         FoundSize(found) == listed.Size;
}

// Where a path leads: to the listed file, to nothing at all, or not to the
// listed file (another file is there, or the path cannot be built).
enum class Reach { LISTED_FILE, NOTHING, NOT_THE_FILE };

// What the path CacheDirectory\name leads to.
static Reach ReachByName(const char* name, const CacheFolderEntry& listed, char* path, size_t size) {
  if (!CachedFilePath(name, path, size)) return Reach::NOT_THE_FILE;
  WIN32_FIND_DATAA found;
  HANDLE lookup = FindFirstFileA(path, &found);
  if (lookup == INVALID_HANDLE_VALUE) return Missing(GetLastError()) ? Reach::NOTHING : Reach::NOT_THE_FILE;
  FindClose(lookup);
  return NamesListedFile(found, listed) ? Reach::LISTED_FILE : Reach::NOT_THE_FILE;
}

// The ANSI calls drop a trailing dot or blank and spell characters outside
// the code page by best fit, so the path of a listed name can lead to
// another file. A name without such an end that no other file shares (case
// aside) can lead astray only by best fit, and then to no file at all: its
// path need not be looked up before the deletion.
static bool NameTrusted(const char* name, bool nameShared) {
  size_t length = strlen(name);
  return !nameShared && length > 0 && name[length - 1] != '.' && name[length - 1] != ' ';
}

bool DeleteListedFile(const CacheFolderEntry& listed, bool nameShared) {
  char path[MAX_PATH];
  Reach reach;
  if (NameTrusted(listed.Name, nameShared) && CachedFilePath(listed.Name, path, sizeof path)) {
    if (DeleteFileA(path)) return true;
    if (!Missing(GetLastError())) return false;
    reach = Reach::NOTHING;
  } else {
    reach = ReachByName(listed.Name, listed, path, sizeof path);
  }
  // A short name is the one spelling that the ANSI calls never change.
  if (reach != Reach::LISTED_FILE && listed.ShortName[0] != '\0')
    reach = ReachByName(listed.ShortName, listed, path, sizeof path);
  if (reach == Reach::NOTHING) return true;
  if (reach == Reach::NOT_THE_FILE) return false;
  return DeleteFileA(path) || Missing(GetLastError());
}

uint32_t ReadTotalKilobytes() {
  HKEY key;
  if (OpenDriverKey(&key) != ERROR_SUCCESS) return 0;
  KeyGuard guard{key};
  uint8_t bytes[sizeof(uint32_t)];
  StoredValue value;
  uint32_t total = 0;
  if (QueryValue(key, TOTAL_VALUE, bytes, sizeof bytes, &value) != ERROR_SUCCESS || !DecodeTotal(value, &total))
    return 0;
  return total;
}

void ClearTotalKilobytes() {
  HKEY key;
  if (OpenDriverKey(&key) != ERROR_SUCCESS) return;
  KeyGuard guard{key};
  const uint32_t zero = 0;
  SetValue(key, TOTAL_VALUE, RecordValue(zero));
}
