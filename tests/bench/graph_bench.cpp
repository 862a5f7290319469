// One full paint of the performance graph over 10,000 cached files with
// records, against the least work any such paint must do: two scans of the
// cache folder and, in each, one record read per file as the Manager reads
// records (the driver's key opened, queried and closed). Prints both times
// and their ratio; not a test.
#include <windows.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "panel/performance_graph.h"
#include "res/resource.h"
#include "settings/cached_records.h"
#include "settings/registry_key.h"
#include "settings/settings.h"
#include "text/message_text.h"

constexpr int FILE_COUNT = 10000;
constexpr const char* BENCH_CACHE = "C:\\GRAPHBENCH";
constexpr int CANVAS_W = 506, CANVAS_H = 265;  // the dialog's canvas at 96 dots per inch
constexpr int ROUNDS = 3;

static double Milliseconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - since).count();
}

static void FileName(int index, char* name, size_t size) { snprintf(name, size, "graph%05d.dat", index); }

static void FilePath(int index, char* path, size_t size) {
  char name[32];
  FileName(index, name, sizeof name);
  snprintf(path, size, "%s\\%s", BENCH_CACHE, name);
}

// Files of 2 K to 2 M (sparse: only their sizes matter), each used from the cache.
static bool Prepare(HKEY key) {
  CreateDirectoryA(BENCH_CACHE, nullptr);
  for (int i = 0; i < FILE_COUNT; i++) {
    char name[32], path[MAX_PATH];
    FileName(i, name, sizeof name);
    FilePath(i, path, sizeof path);
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    SetFilePointer(file, static_cast<LONG>((2 + (i * 7919) % 2047) * 1024), nullptr, FILE_BEGIN);
    SetEndOfFile(file);
    CloseHandle(file);
    CachedFileRecord record = {};
    record.FileStamp = 1;
    record.Hits = 1 + static_cast<uint32_t>(i % 50);
    if (RegSetValueExA(key, name, 0, REG_BINARY, reinterpret_cast<const BYTE*>(&record), sizeof record) !=
        ERROR_SUCCESS)
      return false;
  }
  return true;
}

static void CleanUp(HKEY key) {
  for (int i = 0; i < FILE_COUNT; i++) {
    char name[32], path[MAX_PATH];
    FileName(i, name, sizeof name);
    FilePath(i, path, sizeof path);
    DeleteFileA(path);
    RegDeleteValueA(key, name);
  }
  RemoveDirectoryA(BENCH_CACHE);
}

// The floor: one scan with one record read per file larger than 1024 bytes.
static int ScanAndRead() {
  char pattern[MAX_PATH];
  snprintf(pattern, sizeof pattern, "%s\\*.*", BENCH_CACHE);
  WIN32_FIND_DATAA entry;
  HANDLE scan = FindFirstFileA(pattern, &entry);
  if (scan == INVALID_HANDLE_VALUE) return 0;
  int read = 0;
  do {
    CachedFileRecord record;
    if (entry.nFileSizeLow > 1024 && ReadCachedFileRecord(entry.cFileName, &record)) read++;
  } while (FindNextFileA(scan, &entry));
  FindClose(scan);
  return read;
}

int main() {
  AppInstance = GetModuleHandleA(nullptr);
  HKEY key;
  if (RegCreateKeyExA(DRIVER_KEY_ROOT, DRIVER_KEY_PATH, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
      ERROR_SUCCESS) {
    fprintf(stderr, "cannot open the driver's key\n");
    return 1;
  }
  if (!Prepare(key)) {
    fprintf(stderr, "cannot create the cached files\n");
    CleanUp(key);
    RegCloseKey(key);
    return 1;
  }
  snprintf(CacheDirectory, sizeof CacheDirectory, "%s", BENCH_CACHE);

  // The canvas's device context, as the dialog's owner-drawn button hands it over.
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = CANVAS_W;
  info.bmiHeader.biHeight = -CANVAS_H;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC canvas = CreateCompatibleDC(nullptr);
  HBITMAP picture = CreateDIBSection(canvas, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ oldPicture = SelectObject(canvas, picture);
  DRAWITEMSTRUCT item = {};
  item.CtlType = ODT_BUTTON;
  item.CtlID = IDC_GRAPH_CANVAS;
  item.itemAction = ODA_DRAWENTIRE;
  item.hDC = canvas;
  item.rcItem = {0, 0, CANVAS_W, CANVAS_H};

  double paint = 1e300, collect = 1e300, floor = 1e300;
  int read = 0, plotted = 0;
  for (int round = 0; round < ROUNDS; round++) {
    auto start = std::chrono::steady_clock::now();
    DrawPerformanceGraph(&item);
    double took = Milliseconds(start);
    if (took < paint) paint = took;
    start = std::chrono::steady_clock::now();
    GraphPoint* points = nullptr;
    CollectGraphPoints(&points, &plotted);
    free(points);
    took = Milliseconds(start);
    if (took < collect) collect = took;
    start = std::chrono::steady_clock::now();
    read = ScanAndRead() + ScanAndRead();
    took = Milliseconds(start);
    if (took < floor) floor = took;
  }
  printf("cached files: %d (points plotted: %d, records read by the two bare scans: %d)\n", FILE_COUNT, plotted, read);
  printf("one full graph paint: %.1f ms (best of %d), of which collecting the points: %.1f ms\n", paint, ROUNDS,
         collect);
  printf("two scans + a record read per file each: %.1f ms (best of %d)\n", floor, ROUNDS);
  printf("ratio: %.2f\n", paint / floor);

  SelectObject(canvas, oldPicture);
  DeleteObject(picture);
  DeleteDC(canvas);
  CleanUp(key);
  RegCloseKey(key);
  return 0;
}
