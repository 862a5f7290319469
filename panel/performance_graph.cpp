#include "panel/performance_graph.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "panel/control_panel.h"
#include "res/resource.h"
#include "settings/cache_folder.h"
#include "settings/cached_records.h"
#include "settings/settings.h"
#include "text/format_text.h"
#include "text/message_text.h"

constexpr uint64_t PLOTTED_ABOVE_BYTES = 1024;
constexpr int MIN_GRAPH_FILES = 4;
constexpr int AXIS_GAP = 30;  // pixels between the canvas edges and the axes' ends
constexpr int TICK_HALF = 3;
constexpr int LABEL_GAP = 4;  // the least room between two texts side by side
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

// ---- series, scale and ticks ------------------------------------------------

void BuildGraphSeries(const GraphPoint* points, int count, SeriesPoint* without, SeriesPoint* with) {
  for (int i = 0; i < count; i++) {
    // Every hit and the first fetch; counted wide, as 4294967295 hits + 1 would wrap to 0.
    double transfers = static_cast<double>(points[i].Hits) + 1.0;
    without[i] = {points[i].SizeK, static_cast<float>(transfers * points[i].SizeK)};
    with[i] = {points[i].SizeK, points[i].SizeK};
  }
}

static void FindSeriesMaxima(const SeriesPoint* without, const SeriesPoint* with, int count, float* maxX,
                             float* maxY) {
  *maxX = 0.0f;
  *maxY = 0.0f;
  for (const SeriesPoint* series : {without, with}) {
    for (int i = 0; i < count; i++) {
      if (series[i].X > *maxX) *maxX = series[i].X;
      if (series[i].Y > *maxY) *maxY = series[i].Y;
    }
  }
}

static int GraphPixelX(const GraphScale& scale, double x) {
  return static_cast<int>(x * scale.PW / scale.MaxX + scale.M);
}

static int GraphPixelY(const GraphScale& scale, double y) {
  return static_cast<int>(-(y * scale.PH / scale.MaxY) + scale.PH + static_cast<double>(AXIS_GAP));
}

static POINT MapSeriesPoint(const GraphScale& scale, SeriesPoint point) {
  return {GraphPixelX(scale, point.X), GraphPixelY(scale, point.Y)};
}

// The horizontal labels' largest value: a round number at or below the
// largest file size.
static float LabelMaximumX(float maxX) {
  if (maxX > 102400.0f) return maxX;
  if (maxX > 10240.0f) return 10240.0f;
  if (maxX > 1024.0f) return 1024.0f;
  if (maxX > 500.0f) return 500.0f;
  if (maxX > 200.0f) return 200.0f;
  if (maxX > 100.0f) return 100.0f;
  return maxX;
}

static GraphTick HorizontalTick(const GraphScale& scale, int64_t value) {
  GraphTick tick;
  tick.Pixel = GraphPixelX(scale, static_cast<double>(value));
  FormatText(tick.Label, sizeof tick.Label, "%lld", static_cast<long long>(value));
  return tick;
}

int HorizontalTicks(const GraphScale& scale, int stride, GraphTick* ticks, int capacity) {
  if (capacity < 1) return 0;
  // Wide: a file of 2 TB is more kilobytes than an int holds.
  auto step = static_cast<int64_t>(LabelMaximumX(scale.MaxX) / 4.0) * stride;
  if (step <= 0) {  // the largest file is below 4 K
    ticks[0] = HorizontalTick(scale, 0);
    return 1;
  }
  int count = 0;
  for (int64_t value = step; count < capacity && static_cast<double>(value) <= scale.MaxX; value += step)
    ticks[count++] = HorizontalTick(scale, value);
  return count;
}

void VerticalTicks(const GraphScale& scale, GraphTick ticks[VERTICAL_TICKS]) {
  float step = static_cast<float>(scale.MaxY / 5.0);
  for (int i = 1; i <= VERTICAL_TICKS; i++) {
    float value = static_cast<float>(i) * step;
    ticks[i - 1].Pixel = GraphPixelY(scale, value);
    FormatText(ticks[i - 1].Label, sizeof ticks[i - 1].Label, "%.1f", value);
  }
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

static bool TextsMeet(const RECT& a, const RECT& b) {
  return a.left < b.right + LABEL_GAP && b.left < a.right + LABEL_GAP && a.top < b.bottom && b.top < a.bottom;
}

// The horizontal ticks at the smallest stride (1, 2, 4...) at which their
// labels clear each other: doubling keeps the values round (2560, 5120,
// 10240). Each label stands where its value lies; one that would leave the
// canvas or meet the axis title is left out, and so are those right of it,
// but their ticks are drawn.
static void DrawHorizontalTicks(HDC dc, const GraphScale& scale, int W, int H) {
  char title[MESSAGE_TEXT_SIZE];
  GetMessageText(TEXT_GRAPH_X_TITLE, title, sizeof title);
  RECT titleRect = AxisTitleRect(dc, W, H, title);
  GraphTick ticks[HORIZONTAL_TICKS_MAX];
  RECT places[HORIZONTAL_TICKS_MAX];
  int count = 0, labelled = 0;
  for (int stride = 1;; stride *= 2) {
    count = HorizontalTicks(scale, stride, ticks, HORIZONTAL_TICKS_MAX);
    labelled = 0;
    bool clear = true;
    for (int i = 0; i < count; i++) {
      SIZE size = TextSize(dc, ticks[i].Label);
      RECT place = {ticks[i].Pixel, H - 20, ticks[i].Pixel + size.cx, H - 20 + size.cy};
      if (place.right >= W || TextsMeet(place, titleRect)) break;
      if (labelled > 0 && TextsMeet(place, places[labelled - 1])) clear = false;
      places[labelled++] = place;
    }
    if (clear || count <= 1) break;
  }
  for (int i = 0; i < count; i++)
    DrawLine(dc, ticks[i].Pixel, H - AXIS_GAP + TICK_HALF, ticks[i].Pixel, H - AXIS_GAP - TICK_HALF);
  for (int i = 0; i < labelled; i++) PutText(dc, places[i].left, places[i].top, ticks[i].Label);
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
    case WM_INITDIALOG: {
      char caption[MESSAGE_TEXT_SIZE];
      GetMessageText(TEXT_GRAPH_CAPTION, caption, sizeof caption);
      SetWindowTextA(dialog, caption);
      SetDialogLabels(dialog, IDD_PERFORMANCE);
      return TRUE;
    }
    case WM_DRAWITEM:
      DrawPerformanceGraph(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) EndDialog(dialog, LOWORD(wParam));
      return TRUE;  // a click on the canvas changes nothing
  }
  return FALSE;
}
