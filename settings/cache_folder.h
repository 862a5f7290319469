// The cache folder: the scan of its top level, the path and deletion of a
// cached file; and the driver's "Total" counter of kilobytes saved.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>

// A regular file as the scan reports it; the texts live only during the visit.
struct CacheFolderEntry {
  const char* Name;       // the long name
  const char* ShortName;  // the scan's short name; empty when it gave none
  uint64_t Size;          // bytes, all 64 bits
};

// Called for each file in scan order; returning false ends the scan.
using CacheFolderVisit = bool (*)(const CacheFolderEntry& entry, void* context);

// Which entries a scan reports besides regular files with ordinary names:
// the graph also counts files whose names begin with a dot.
enum class DotNames { SKIPPED, INCLUDED };

// Visits the regular files at the top level of CacheDirectory. Directories
// are skipped, and names that begin with a dot unless asked for; a folder
// that is unusable or cannot be scanned gives nothing.
void ScanCacheFolder(CacheFolderVisit visit, void* context, DotNames dotNames = DotNames::SKIPPED);

// CacheDirectory\name; false when the folder is unusable or the path does
// not fit. It is never cut short: a cut path could name another file.
bool CachedFilePath(const char* name, char* path, size_t size);

// Deletes the listed file and never another one. True when the file is gone
// (deleted now or no longer there); false when it could not be deleted or
// no path reaches it. nameShared: another file of the folder may have the
// same name but for case, so the path is looked up before the deletion.
bool DeleteListedFile(const CacheFolderEntry& listed, bool nameShared);

// The driver's counter "Total": 0 when the key or the value cannot be read.
uint32_t ReadTotalKilobytes();
// Writes 0 into "Total"; nothing when the key does not open.
void ClearTotalKilobytes();
