#include "panel/performance_graph.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "panel/control_panel.h"
#include "res/resource.h"
#include "settings/cache_folder.h"
#include "settings/cached_records.h"
#include "settings/settings.h"
#include "text/message_text.h"

constexpr uint64_t PLOTTED_ABOVE_BYTES = 1024;
constexpr int MIN_GRAPH_FILES = 4;
constexpr int TICK_HALF = 3;
constexpr COLORREF BLACK = RGB(0, 0, 0);
constexpr COLORREF WITHOUT_COLOUR = RGB(255, 0, 0);
constexpr COLORREF WITH_COLOUR = RGB(0, 0, 255);
constexpr COLORREF MESSAGE_COLOUR = RGB(255, 0, 0);
constexpr int CURVE_PEN_WIDTH = 2;
static_assert(sizeof(POINT) == sizeof(SeriesPoint));

// ---- collection -------------------------------------------------------------

// Whether a cached file counts for the graph: larger than 1024 bytes, a
// readable record with hits. *fully also asks for a non-zero FileStamp; only
// such files are plotted. *point is set when it counts.
static bool GraphEntryQualifies(const CacheFolderEntry& entry, GraphPoint* point, bool* fully) {
  *fully = false;
  // The whole size: a file of 4 GB and more is plotted as large as it is.
  if (entry.Size <= PLOTTED_ABOVE_BYTES) return false;
  CachedFileRecord record;
  if (!ReadCachedFileRecord(entry.Name, &record)) return false;
  if (record.Hits == 0) return false;
  point->SizeK = static_cast<float>(entry.Size >> 10);
  point->Hits = record.Hits;
  *fully = record.FileStamp != 0;
  return true;
}

// First pass: the number of files that count, the array's capacity.
static bool CountQualifying(const CacheFolderEntry& entry, void* count) {
  GraphPoint point;
  bool fully;
  if (GraphEntryQualifies(entry, &point, &fully)) ++*static_cast<int*>(count);
  return true;
}

// Second pass: every file that counts fully, until the array is full (the
// folder may have changed since the first).
struct StoredPoints {
  GraphPoint* points;
  int capacity;
  int stored;
};

static bool StoreFullyQualifying(const CacheFolderEntry& entry, void* context) {
  auto* store = static_cast<StoredPoints*>(context);
  bool fully;
  if (GraphEntryQualifies(entry, &store->points[store->stored], &fully) && fully) store->stored++;
  return store->stored < store->capacity;
}

void CollectGraphPoints(GraphPoint** points, int* count) {
  *points = nullptr;
  *count = 0;
  int capacity = 0;
  ScanCacheFolder(CountQualifying, &capacity, DotNames::INCLUDED);
  if (capacity < MIN_GRAPH_FILES) return;
  auto stored = static_cast<GraphPoint*>(malloc(static_cast<size_t>(capacity) * sizeof(GraphPoint)));
  if (!stored) return;
  StoredPoints store = {stored, capacity, 0};
  ScanCacheFolder(StoreFullyQualifying, &store, DotNames::INCLUDED);
  int n = store.stored;
  if (n == 0) {
    free(stored);
    return;
  }
  // Stable, so that points of one size keep the folder's order in every build.
  std::stable_sort(stored, stored + n, [](const GraphPoint& a, const GraphPoint& b) { return a.SizeK < b.SizeK; });
  *points = stored;
  *count = n;
}

static POINT MapSeriesPoint(const GraphScale& scale, SeriesPoint point) {
  return {GraphPixelX(scale, point.X), GraphPixelY(scale, point.Y)};
}

// ---- drawing ------------------------------------------------------------------

static SIZE TextSize(HDC dc, const char* text) {
  SIZE size = {0, 0};
  GetTextExtentPoint32A(dc, text, static_cast<int>(strlen(text)), &size);
  return size;
}

static void PutText(HDC dc, int x, int y, const char* text) { TextOutA(dc, x, y, text, static_cast<int>(strlen(text))); }

static void DrawLine(HDC dc, int x1, int y1, int x2, int y2) {
  MoveToEx(dc, x1, y1, nullptr);
  LineTo(dc, x2, y2);
}

// Deletes a GDI object on the way out; it must no longer be selected then.
struct GdiGuard {
  HGDIOBJ object;
  explicit GdiGuard(HGDIOBJ created) : object(created) {}
  GdiGuard(const GdiGuard&) = delete;
  GdiGuard& operator=(const GdiGuard&) = delete;
  ~GdiGuard() {
    if (object) DeleteObject(object);
  }
};

// The off-screen picture of W by H pixels, with the stock pen, brush and
// font of the canvas selected; everything is given back on every way out.
struct OffscreenCanvas {
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  HGDIOBJ oldBitmap = nullptr, oldPen = nullptr, oldBrush = nullptr, oldFont = nullptr;

  OffscreenCanvas(HDC target, int W, int H) {
    bitmap = CreateCompatibleBitmap(target, W, H);
    dc = bitmap ? CreateCompatibleDC(target) : nullptr;
    if (!dc) return;
    oldBitmap = SelectObject(dc, bitmap);
    oldPen = SelectObject(dc, GetStockObject(BLACK_PEN));
    oldBrush = SelectObject(dc, GetStockObject(WHITE_BRUSH));
    oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  }
  OffscreenCanvas(const OffscreenCanvas&) = delete;
  OffscreenCanvas& operator=(const OffscreenCanvas&) = delete;
  ~OffscreenCanvas() {
    if (dc) {
      SelectObject(dc, oldPen);
      SelectObject(dc, oldBrush);
      SelectObject(dc, oldFont);
      SelectObject(dc, oldBitmap);
      DeleteDC(dc);
    }
    if (bitmap) DeleteObject(bitmap);
  }
};

// The point array and the four curve arrays of one paint.
struct GraphArrays {
  GraphPoint* points = nullptr;
  SeriesPoint* without = nullptr;
  SeriesPoint* with = nullptr;
  POINT* withoutCurve = nullptr;
  POINT* withCurve = nullptr;

  GraphArrays() = default;
  GraphArrays(const GraphArrays&) = delete;
  GraphArrays& operator=(const GraphArrays&) = delete;
  ~GraphArrays() {
    free(points);
    free(without);
    free(with);
    free(withoutCurve);
    free(withCurve);
  }
  bool AllocateCurves(int count) {
    size_t bytes = static_cast<size_t>(count) * sizeof(SeriesPoint);
    without = static_cast<SeriesPoint*>(malloc(bytes));
    with = static_cast<SeriesPoint*>(malloc(bytes));
    withoutCurve = static_cast<POINT*>(malloc(bytes));
    withCurve = static_cast<POINT*>(malloc(bytes));
    return without && with && withoutCurve && withCurve;
  }
};

static void DrawGraphMessage(HDC dc, int W, int H, TextId message) {
  char text[MESSAGE_TEXT_SIZE];
  GetMessageText(message, text, sizeof text);
  SetTextColor(dc, MESSAGE_COLOUR);
  PutText(dc, W / 2 - 40, H / 2 + 10, text);
}

// The horizontal axis's title, in the canvas's bottom right corner.
static RECT AxisTitleRect(HDC dc, int W, int H, const char* title) {
  SIZE size = TextSize(dc, title);
  return {W - 5 - size.cx, H - 5 - size.cy, W - 5, H - 5};
}

static void DrawGraphAxes(HDC dc, int W, int H, int M) {
  SetBkMode(dc, TRANSPARENT);
  int axisY = H - AXIS_GAP;
  DrawLine(dc, M, axisY, W - AXIS_GAP, axisY);
  DrawLine(dc, W - AXIS_GAP, axisY, W - AXIS_GAP - TICK_HALF, axisY - TICK_HALF);
  DrawLine(dc, W - AXIS_GAP, axisY, W - AXIS_GAP - TICK_HALF, axisY + TICK_HALF);
  DrawLine(dc, M, axisY, M, AXIS_GAP);
  DrawLine(dc, M, AXIS_GAP, M - TICK_HALF, AXIS_GAP + TICK_HALF);
  DrawLine(dc, M, AXIS_GAP, M + TICK_HALF, AXIS_GAP + TICK_HALF);

  SetTextColor(dc, BLACK);
  char title[MESSAGE_TEXT_SIZE];
  GetMessageText(TEXT_GRAPH_Y_TITLE, title, sizeof title);
  PutText(dc, 5, TextSize(dc, title).cy / 2, title);
  GetMessageText(TEXT_GRAPH_X_TITLE, title, sizeof title);
  RECT place = AxisTitleRect(dc, W, H, title);
  PutText(dc, place.left, place.top, title);
}

// Bézier curves need one point more than a multiple of three; other counts
// are joined by straight lines.
static void DrawCurve(HDC dc, const POINT* curve, int count) {
  if (!PolyBezier(dc, curve, static_cast<DWORD>(count))) Polyline(dc, curve, count);
}

// One curve in its colour, with its legend: the line at lineX, the text
// ending 5 pixels from the canvas's right edge.
static void DrawCurveAndLegend(HDC dc, const POINT* curve, int count, COLORREF colour, TextId legend, int lineX,
                               int y, int W) {
  GdiGuard pen(CreatePen(PS_SOLID, CURVE_PEN_WIDTH, colour));
  SelectObject(dc, pen.object);
  DrawCurve(dc, curve, count);
  DrawLine(dc, lineX, y, lineX + 10, y);
  SelectObject(dc, GetStockObject(BLACK_PEN));
  char text[MESSAGE_TEXT_SIZE];
  GetMessageText(legend, text, sizeof text);
  SetTextColor(dc, colour);
  PutText(dc, W - TextSize(dc, text).cx - 5, y, text);
}

static TextExtent MeasureOnCanvas(const char* label, void* dc) {
  SIZE size = TextSize(static_cast<HDC>(dc), label);
  return {size.cx, size.cy};
}

// The size ticks, and the labels of those that have room, in the canvas font.
static void DrawHorizontalTicks(HDC dc, const GraphScale& scale, int W, int H) {
  char title[MESSAGE_TEXT_SIZE];
  GetMessageText(TEXT_GRAPH_X_TITLE, title, sizeof title);
  RECT titleRect = AxisTitleRect(dc, W, H, title);
  HorizontalLabels labels;
  PlaceHorizontalLabels(scale, W, H, {titleRect.left, titleRect.top, titleRect.right, titleRect.bottom},
                        MeasureOnCanvas, dc, &labels);
  for (int i = 0; i < labels.Count; i++) {
    int x = labels.Ticks[i].Pixel;
    DrawLine(dc, x, H - AXIS_GAP + TICK_HALF, x, H - AXIS_GAP - TICK_HALF);
  }
  for (int i = 0; i < labels.Labelled; i++)
    PutText(dc, labels.Places[i].Left, labels.Places[i].Top, labels.Ticks[i].Label);
}

static void DrawVerticalTicks(HDC dc, const GraphScale& scale) {
  GraphTick ticks[VERTICAL_TICKS];
  VerticalTicks(scale, ticks);
  for (const GraphTick& tick : ticks) {
    DrawLine(dc, scale.M - TICK_HALF, tick.Pixel, scale.M + TICK_HALF, tick.Pixel);
    PutText(dc, 1, tick.Pixel - 5, tick.Label);
  }
}

// The curves, their legends and the ticks of the cached files, or the
// message that there is nothing to plot.
static void DrawGraphPlot(HDC dc, int W, int H, int M) {
  GraphArrays arrays;
  int n = 0;
  CollectGraphPoints(&arrays.points, &n);
  if (n == 0) return DrawGraphMessage(dc, W, H, TEXT_GRAPH_NO_DATA);
  if (!arrays.AllocateCurves(n)) return DrawGraphMessage(dc, W, H, TEXT_GRAPH_NO_MEMORY);

  char text[MESSAGE_TEXT_SIZE];
  GetMessageText(TEXT_GRAPH_X_TITLE, text, sizeof text);
  GraphScale scale = {M, W - TextSize(dc, text).cx - 50, H - 60, 0.0f, 0.0f};
  BuildGraphSeries(arrays.points, n, arrays.without, arrays.with);
  FindSeriesMaxima(arrays.without, arrays.with, n, &scale.MaxX, &scale.MaxY);
  for (int i = 0; i < n; i++) {
    arrays.withoutCurve[i] = MapSeriesPoint(scale, arrays.without[i]);
    arrays.withCurve[i] = MapSeriesPoint(scale, arrays.with[i]);
  }

  // Both legend lines stand one above the other, left of the wider text.
  GetMessageText(TEXT_GRAPH_WITHOUT, text, sizeof text);
  int lineX = W - TextSize(dc, text).cx - 20;
  DrawCurveAndLegend(dc, arrays.withoutCurve, n, WITHOUT_COLOUR, TEXT_GRAPH_WITHOUT, lineX, 10, W);
  DrawCurveAndLegend(dc, arrays.withCurve, n, WITH_COLOUR, TEXT_GRAPH_WITH, lineX, 30, W);
  SetTextColor(dc, BLACK);
  DrawHorizontalTicks(dc, scale, W, H);
  DrawVerticalTicks(dc, scale);
}

void DrawPerformanceGraph(const DRAWITEMSTRUCT* drawItem) {
  // Selection and focus changes of the canvas button leave the picture alone.
  if (drawItem->CtlID != IDC_GRAPH_CANVAS || drawItem->itemAction != ODA_DRAWENTIRE) return;
  WaitCursor wait;  // every paint scans the folder and reads every record
  int W = drawItem->rcItem.right - drawItem->rcItem.left;
  int H = drawItem->rcItem.bottom - drawItem->rcItem.top;
  OffscreenCanvas canvas(drawItem->hDC, W, H);
  if (!canvas.dc) return;

  int M = TextSize(canvas.dc, "88888888").cx;
  Rectangle(canvas.dc, 0, 0, W, H);
  DrawGraphAxes(canvas.dc, W, H, M);
  DrawGraphPlot(canvas.dc, W, H, M);
  BitBlt(drawItem->hDC, drawItem->rcItem.left, drawItem->rcItem.top, W, H, canvas.dc, 0, 0, SRCCOPY);
}

// ---- the dialog ---------------------------------------------------------------

INT_PTR CALLBACK PerformanceDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      SetDialogTitle(dialog, TEXT_GRAPH_CAPTION);
      SetDialogLabels(dialog, IDD_PERFORMANCE);
      return TRUE;
    case WM_DRAWITEM:
      DrawPerformanceGraph(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) EndDialog(dialog, LOWORD(wParam));
      return TRUE;  // a click on the canvas changes nothing
  }
  return FALSE;
}
