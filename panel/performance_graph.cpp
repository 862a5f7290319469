#include "panel/performance_graph.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "res/resource.h"
#include "settings/cached_records.h"
#include "settings/settings.h"
#include "text/message_text.h"


constexpr DWORD PLOTTED_ABOVE_BYTES = 1024;
constexpr COLORREF BLACK = RGB(0, 0, 0);
constexpr COLORREF WITHOUT_COLOUR = RGB(255, 0, 0);
constexpr COLORREF WITH_COLOUR = RGB(0, 0, 255);
constexpr COLORREF MESSAGE_COLOUR = RGB(255, 0, 0);
constexpr int CURVE_PEN_WIDTH = 2;
constexpr int TICK_HALF = 3;

// ---- collection -------------------------------------------------------------

bool GraphEntryQualifies(const WIN32_FIND_DATAA& entry, GraphPoint* point, bool* fully) {
  *fully = false;
  if (entry.cFileName[0] == '.' && entry.dwFileAttributes == FILE_ATTRIBUTE_DIRECTORY) return false;
  if (entry.nFileSizeLow <= PLOTTED_ABOVE_BYTES) return false;
  CachedFileRecord record;
  if (!ReadCachedFileRecord(entry.cFileName, &record)) return false;
  if (record.Hits == 0) return false;
  point->SizeK = static_cast<float>(entry.nFileSizeLow >> 10);
  point->Hits = record.Hits;
  *fully = record.FileStamp != 0;
  return true;
}

// First pass: the number of entries that count, the array's capacity.
static int CountQualifyingEntries(const char* pattern) {
  WIN32_FIND_DATAA entry;
  HANDLE scan = FindFirstFileA(pattern, &entry);
  if (scan == INVALID_HANDLE_VALUE) return 0;
  int count = 0;
  do {
    GraphPoint point;
    bool fully;
    if (GraphEntryQualifies(entry, &point, &fully)) count++;
  } while (FindNextFileA(scan, &entry));
  FindClose(scan);
  return count;
}

// Second pass: every entry that counts fully, through the whole directory,
// until the array is full (the directory may have changed since the first).
static int StoreFullyQualifyingEntries(const char* pattern, GraphPoint* points, int capacity) {
  WIN32_FIND_DATAA entry;
  HANDLE scan = FindFirstFileA(pattern, &entry);
  if (scan == INVALID_HANDLE_VALUE) return 0;
  int stored = 0;
  do {
    bool fully;
    if (GraphEntryQualifies(entry, &points[stored], &fully) && fully) stored++;
  } while (stored < capacity && FindNextFileA(scan, &entry));
  FindClose(scan);
  return stored;
}

int CompareGraphPoints(const void* a, const void* b) {
  float sizeA = static_cast<const GraphPoint*>(a)->SizeK;
  float sizeB = static_cast<const GraphPoint*>(b)->SizeK;
  if (sizeA > sizeB) return 1;
  if (sizeA < sizeB) return -1;
  return 0;
}

void CollectGraphPoints(GraphPoint** points, int* count) {
  *points = nullptr;
  *count = 0;
  if (!CacheDirectoryUsable()) return;

  char pattern[MAX_PATH];  // 1
  int length = snprintf(pattern, sizeof pattern, "%s\\*.*", CacheDirectory);
  if (length < 0 || length >= static_cast<int>(sizeof pattern)) return;
  int capacity = CountQualifyingEntries(pattern);  // 2
  if (capacity < MIN_GRAPH_FILES) return;          // 3
  auto stored = static_cast<GraphPoint*>(malloc(static_cast<size_t>(capacity) * sizeof(GraphPoint)));  // 4
  if (!stored) return;
  int n = StoreFullyQualifyingEntries(pattern, stored, capacity);  // 5-7
  if (n == 0) {
    free(stored);
    return;
  }
  qsort(stored, static_cast<size_t>(n), sizeof *stored, CompareGraphPoints);  // 8
  *points = stored;
  *count = n;
}

// ---- series, scale and ticks ------------------------------------------------

void BuildGraphSeries(const GraphPoint* points, int count, SeriesPoint* without, SeriesPoint* with) {
  for (int i = 0; i < count; i++) {
    uint32_t transfers = points[i].Hits + 1;  // every hit and the first fetch
    without[i] = {points[i].SizeK, static_cast<float>(static_cast<double>(transfers) * points[i].SizeK)};
    with[i] = {points[i].SizeK, points[i].SizeK};
  }
}

void FindSeriesMaxima(const SeriesPoint* without, const SeriesPoint* with, int count, float* maxX, float* maxY) {
  *maxX = 0.0f;
  *maxY = 0.0f;
  for (const SeriesPoint* series : {without, with}) {
    for (int i = 0; i < count; i++) {
      if (series[i].X > *maxX) *maxX = series[i].X;
      if (series[i].Y > *maxY) *maxY = series[i].Y;
    }
  }
}

int GraphPixelX(const GraphScale& scale, double x) { return static_cast<int>(x * scale.PW / scale.MaxX + scale.M); }

int GraphPixelY(const GraphScale& scale, double y) {
  return static_cast<int>(-(y * scale.PH / scale.MaxY) + scale.PH + static_cast<double>(AXIS_GAP));
}

POINT MapSeriesPoint(const GraphScale& scale, SeriesPoint point) {
  return {GraphPixelX(scale, point.X), GraphPixelY(scale, point.Y)};
}

float LabelMaximumX(float maxX) {
  if (maxX > 102400.0f) return maxX;
  if (maxX > 10240.0f) return 10240.0f;
  if (maxX > 1024.0f) return 1024.0f;
  if (maxX > 500.0f) return 500.0f;
  if (maxX > 200.0f) return 200.0f;
  if (maxX > 100.0f) return 100.0f;
  return maxX;
}

// Labels keep their round values; each stands where its value lies on the
// curves' scale, so that the axes read true.
void HorizontalTicks(const GraphScale& scale, GraphTick ticks[HORIZONTAL_TICKS]) {
  int step = static_cast<int>(LabelMaximumX(scale.MaxX) / 4.0);
  for (int i = 1; i <= HORIZONTAL_TICKS; i++) {
    int value = i * step;
    ticks[i - 1].Pixel = GraphPixelX(scale, value);
    snprintf(ticks[i - 1].Label, sizeof ticks[i - 1].Label, "%d", value);
  }
}

void VerticalTicks(const GraphScale& scale, GraphTick ticks[VERTICAL_TICKS]) {
  float step = static_cast<float>(scale.MaxY / 5.0);
  for (int i = 1; i <= VERTICAL_TICKS; i++) {
    float value = static_cast<float>(i) * step;
    ticks[i - 1].Pixel = GraphPixelY(scale, value);
    snprintf(ticks[i - 1].Label, sizeof ticks[i - 1].Label, "%.1f", value);
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

// The off-screen picture and the pens drawn with; everything is given back
// and deleted on every way out.
struct GraphCanvas {
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  HGDIOBJ oldBitmap = nullptr, oldPen = nullptr, oldBrush = nullptr, oldFont = nullptr;
  HPEN redPen = nullptr, bluePen = nullptr;

  ~GraphCanvas() {
    if (dc) {
      SelectObject(dc, oldPen);
      SelectObject(dc, oldBrush);
      SelectObject(dc, oldFont);
      SelectObject(dc, oldBitmap);
      DeleteDC(dc);
    }
    if (bitmap) DeleteObject(bitmap);
    if (redPen) DeleteObject(redPen);
    if (bluePen) DeleteObject(bluePen);
  }
};

// The point array and the four curve arrays of one paint.
struct GraphArrays {
  GraphPoint* points = nullptr;
  SeriesPoint* without = nullptr;
  SeriesPoint* with = nullptr;
  POINT* withoutCurve = nullptr;
  POINT* withCurve = nullptr;

  ~GraphArrays() { Free(); }
  void Free() {
    free(points);
    free(without);
    free(with);
    free(withoutCurve);
    free(withCurve);
    points = nullptr;
    without = with = nullptr;
    withoutCurve = withCurve = nullptr;
  }
};

static void CopyToCanvas(const DRAWITEMSTRUCT* drawItem, HDC dc, int W, int H) {
  BitBlt(drawItem->hDC, drawItem->rcItem.left, drawItem->rcItem.top, W, H, dc, 0, 0, SRCCOPY);
}

static void DrawGraphMessage(HDC dc, int W, int H, TextId message) {
  char text[MESSAGE_TEXT_SIZE];
  GetMessageText(message, text, sizeof text);
  SetTextColor(dc, MESSAGE_COLOUR);
  PutText(dc, W / 2 - 40, H / 2 + 10, text);
}

// Bézier curves need one point more than a multiple of three; other counts
// are joined by straight lines.
static void DrawCurve(HDC dc, const POINT* curve, int count) {
  if (!PolyBezier(dc, curve, static_cast<DWORD>(count))) Polyline(dc, curve, count);
}

void DrawGraphAxes(HDC dc, int W, int H, int M) {
  SetBkMode(dc, TRANSPARENT);  // 1
  int axisY = H - AXIS_GAP;
  DrawLine(dc, M, axisY, W - AXIS_GAP, axisY);  // 2
  DrawLine(dc, W - AXIS_GAP, axisY, W - AXIS_GAP - TICK_HALF, axisY - TICK_HALF);
  DrawLine(dc, W - AXIS_GAP, axisY, W - AXIS_GAP - TICK_HALF, axisY + TICK_HALF);
  DrawLine(dc, M, axisY, M, AXIS_GAP);  // 3
  DrawLine(dc, M, AXIS_GAP, M - TICK_HALF, AXIS_GAP + TICK_HALF);
  DrawLine(dc, M, AXIS_GAP, M + TICK_HALF, AXIS_GAP + TICK_HALF);

  SetTextColor(dc, BLACK);  // 4
  char title[MESSAGE_TEXT_SIZE];
  GetMessageText(TEXT_GRAPH_Y_TITLE, title, sizeof title);
  SIZE size = TextSize(dc, title);
  PutText(dc, 5, size.cy / 2, title);
  GetMessageText(TEXT_GRAPH_X_TITLE, title, sizeof title);  // 5
  size = TextSize(dc, title);
  PutText(dc, W - 5 - size.cx, H - 5 - size.cy, title);
}

void DrawPerformanceGraph(const DRAWITEMSTRUCT* drawItem) {
  if (drawItem->CtlID != IDC_GRAPH_CANVAS || drawItem->itemAction != ODA_DRAWENTIRE) return;  // 1

  int W = drawItem->rcItem.right - drawItem->rcItem.left;  // 2
  int H = drawItem->rcItem.bottom - drawItem->rcItem.top;
  GraphCanvas canvas;
  canvas.dc = CreateCompatibleDC(drawItem->hDC);
  if (!canvas.dc) return;
  canvas.bitmap = CreateCompatibleBitmap(drawItem->hDC, W, H);
  if (!canvas.bitmap) return;
  HDC dc = canvas.dc;
  canvas.oldBitmap = SelectObject(dc, canvas.bitmap);
  canvas.oldPen = SelectObject(dc, GetStockObject(BLACK_PEN));
  canvas.oldBrush = SelectObject(dc, GetStockObject(WHITE_BRUSH));
  canvas.oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));

  int M = TextSize(dc, "88888888").cx;  // 3
  Rectangle(dc, 0, 0, W, H);          // 4
  DrawGraphAxes(dc, W, H, M);         // 5

  GraphArrays arrays;  // 6
  int n = 0;
  CollectGraphPoints(&arrays.points, &n);
  if (n == 0) {  // 7
    DrawGraphMessage(dc, W, H, TEXT_GRAPH_NO_DATA);
    CopyToCanvas(drawItem, dc, W, H);
    return;
  }

  char text[MESSAGE_TEXT_SIZE];  // 8
  GraphScale scale = {};
  scale.M = M;
  scale.PH = H - 60;
  GetMessageText(TEXT_GRAPH_X_TITLE, text, sizeof text);
  scale.PW = W - TextSize(dc, text).cx - 50;

  size_t bytes = static_cast<size_t>(n) * sizeof(SeriesPoint);  // 9
  arrays.without = static_cast<SeriesPoint*>(malloc(bytes));
  arrays.with = static_cast<SeriesPoint*>(malloc(bytes));
  arrays.withoutCurve = static_cast<POINT*>(malloc(bytes));
  arrays.withCurve = static_cast<POINT*>(malloc(bytes));
  if (!arrays.without || !arrays.with || !arrays.withoutCurve || !arrays.withCurve) {
    DrawGraphMessage(dc, W, H, TEXT_GRAPH_NO_MEMORY);
    CopyToCanvas(drawItem, dc, W, H);
    return;
  }

  BuildGraphSeries(arrays.points, n, arrays.without, arrays.with);  // 10
  FindSeriesMaxima(arrays.without, arrays.with, n, &scale.MaxX, &scale.MaxY);
  for (int i = 0; i < n; i++) {  // 11
    arrays.withoutCurve[i] = MapSeriesPoint(scale, arrays.without[i]);
    arrays.withCurve[i] = MapSeriesPoint(scale, arrays.with[i]);
  }

  canvas.redPen = CreatePen(PS_SOLID, CURVE_PEN_WIDTH, WITHOUT_COLOUR);  // 12
  SelectObject(dc, canvas.redPen);
  DrawCurve(dc, arrays.withoutCurve, n);

  SetTextColor(dc, WITHOUT_COLOUR);  // 13
  GetMessageText(TEXT_GRAPH_WITHOUT, text, sizeof text);
  int A = TextSize(drawItem->hDC, text).cx;
  PutText(dc, W - A - 5, 10, text);
  DrawLine(dc, W - A - 20, 10, W - A - 10, 10);

  canvas.bluePen = CreatePen(PS_SOLID, CURVE_PEN_WIDTH, WITH_COLOUR);  // 14
  SelectObject(dc, canvas.bluePen);
  DrawCurve(dc, arrays.withCurve, n);

  DrawLine(dc, W - A - 20, 30, W - A - 10, 30);  // 15
  SetTextColor(dc, WITH_COLOUR);
  GetMessageText(TEXT_GRAPH_WITH, text, sizeof text);
  int B = TextSize(drawItem->hDC, text).cx;
  PutText(dc, W - B - 5, 30, text);

  SetTextColor(dc, BLACK);  // 16
  SelectObject(dc, GetStockObject(BLACK_PEN));
  GraphTick horizontal[HORIZONTAL_TICKS];
  HorizontalTicks(scale, horizontal);
  for (const GraphTick& tick : horizontal) {
    DrawLine(dc, tick.Pixel, H - AXIS_GAP + TICK_HALF, tick.Pixel, H - AXIS_GAP - TICK_HALF);
    PutText(dc, tick.Pixel, H - 20, tick.Label);
  }

  SelectObject(dc, GetStockObject(BLACK_PEN));  // 17
  GraphTick vertical[VERTICAL_TICKS];
  VerticalTicks(scale, vertical);
  for (const GraphTick& tick : vertical) {
    DrawLine(dc, M - TICK_HALF, tick.Pixel, M + TICK_HALF, tick.Pixel);
    PutText(dc, 1, tick.Pixel - 5, tick.Label);
  }

  arrays.Free();                     // 18
  CopyToCanvas(drawItem, dc, W, H);  // 19
}  // 20: the canvas deletes its pens, bitmap and context

// ---- the dialog ---------------------------------------------------------------

INT_PTR CALLBACK PerformanceDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      char caption[MESSAGE_TEXT_SIZE];
      GetMessageText(TEXT_GRAPH_CAPTION, caption, sizeof caption);
      SetWindowTextA(dialog, caption);
      SetControlText(dialog, IDOK, TEXT_GRAPH_CLOSE);
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
