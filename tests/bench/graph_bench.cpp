// One full paint of the performance graph over 10,000 cached files with
// records (or the count given), against the least work any such paint must
// do: two scans of the cache folder and, in each, one record read per file
// as the Manager reads records (the driver's key opened, queried and
// closed). Prints both times and their ratio; not a test.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "bench_cache.h"
#include "panel/performance_graph.h"
#include "res/resource.h"
#include "settings/settings.h"
#include "text/message_text.h"

static int FileCount = 10000;
constexpr const char* BENCH_CACHE = "C:\\GRAPHBENCH";
constexpr int CANVAS_W = 506, CANVAS_H = 265;  // the dialog's canvas at 96 dots per inch
constexpr int ROUNDS = 3;

// Files of 2 K to 2 M, each used from the cache.
static void DescribeFile(int index, BenchFile* file) {
  snprintf(file->name, sizeof file->name, "graph%05d.dat", index);
  file->size = static_cast<uint32_t>((2 + (index * 7919) % 2047) * 1024);
  file->record.FileStamp = 1;
  file->record.Hits = 1 + static_cast<uint32_t>(index % 50);
}

int main(int argc, char** argv) {
  if (argc > 1) FileCount = atoi(argv[1]);
  if (FileCount < 1) return 1;
  AppInstance = GetModuleHandleA(nullptr);
  if (!MakeBenchCache(BENCH_CACHE, FileCount, DescribeFile)) return 1;

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

  int read = 0, plotted = 0;
  auto [paint, floor] = BestInTurns(
      ROUNDS, [&] { DrawPerformanceGraph(&item); },
      [&] { read = ScanAndReadRecords(1024) + ScanAndReadRecords(1024); });
  double collect = BestOf(ROUNDS, [&] {
    GraphPoint* points = nullptr;
    CollectGraphPoints(&points, &plotted);
    free(points);
  });
  printf("cached files: %d (points plotted: %d, records read by the two bare scans: %d)\n", FileCount, plotted, read);
  printf("one full graph paint: %.1f ms (best of %d), of which collecting the points: %.1f ms\n", paint, ROUNDS,
         collect);
  printf("two scans + a record read per file each: %.1f ms (best of %d)\n", floor, ROUNDS);
  printf("ratio: %.2f\n", paint / floor);

  SelectObject(canvas, oldPicture);
  DeleteObject(picture);
  DeleteDC(canvas);
  RemoveBenchCache();
  return 0;
}
