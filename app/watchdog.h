// Every few seconds: is the cache drive's free space above the minimum?
#pragma once
#include <windows.h>
#include <cstdint>

void CheckFreeSpace(HWND owner);
// Whole free megabytes from GetDiskFreeSpaceA's figures (64-bit product).
uint64_t FreeMegabytes(DWORD sectorsPerCluster, DWORD bytesPerSector, DWORD freeClusters);
// "C:\" with the first three characters of the cache directory over it.
void CacheDriveRoot(const char* cacheDirectory, char root[4]);
