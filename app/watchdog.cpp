#include "app/watchdog.h"

#include "app/startup.h"
#include "app/tray.h"
#include "settings/device.h"
#include "settings/settings.h"
#include "text/message_text.h"

static uint32_t DiskSpaceOk = 1;

uint64_t FreeMegabytes(DWORD sectorsPerCluster, DWORD bytesPerSector, DWORD freeClusters) {
  // In 32 bits the product wraps on drives with 4 GB or more free.
  return (uint64_t{freeClusters} * bytesPerSector * sectorsPerCluster) >> 20;
}

void CacheDriveRoot(const char* cacheDirectory, char root[4]) {
  root[0] = 'C';
  root[1] = ':';
  root[2] = '\\';
  root[3] = '\0';
  bool ended = false;
  for (int i = 0; i < 3; i++) {
    if (cacheDirectory[i] == '\0') ended = true;
    root[i] = ended ? '\0' : cacheDirectory[i];
  }
}

void CheckFreeSpace(HWND owner) {
  if (!CacheDirectoryUsable()) return;
  char root[4];
  CacheDriveRoot(CacheDirectory, root);
  DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
  // A root that is none (a relative or "\\?\" path) gives no free space to
  // judge by: reading that as a full disk would stop caching for nothing.
  if (!GetDiskFreeSpaceA(root, &sectorsPerCluster, &bytesPerSector, &freeClusters, &totalClusters)) return;
  uint64_t freeMB = FreeMegabytes(sectorsPerCluster, bytesPerSector, freeClusters);

  if (CacheSettings.MinFreeDiskMB < freeMB) {
    if (DiskSpaceOk == 0) {
      DiskSpaceOk = 1;
      SendDeviceRequest(CACHE_DISK_OK);
    }
    return;
  }
  if (DiskSpaceOk == 0) return;
  SendDeviceRequest(CACHE_DISK_LOW);
  DiskSpaceOk = 0;
  if (CacheSettings.CacheActive) {
    // No check may run while the warning is up.
    KillTimer(ManagerWindow, WATCHDOG_TIMER);
    ShowMessageText(owner, TEXT_ERROR_DISK_FULL, MB_ICONEXCLAMATION);
    SetTimer(ManagerWindow, WATCHDOG_TIMER, WATCHDOG_PERIOD_MS, nullptr);
  }
}
