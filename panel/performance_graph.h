// Performance graph: per cached file, the kilobytes transferred with and
// without the cache against the file's size, drawn off-screen and copied to
// the canvas in one step.
#pragma once
#include <windows.h>

#include <cstdint>

struct GraphPoint {
  float SizeK;    // the file's whole size, in whole kilobytes
  uint32_t Hits;  // from the file's record
};
static_assert(sizeof(GraphPoint) == 8);

struct SeriesPoint {
  float X;
  float Y;
};
static_assert(sizeof(SeriesPoint) == 8);

constexpr int HORIZONTAL_TICKS_MAX = 64;
constexpr int VERTICAL_TICKS = 5;

INT_PTR CALLBACK PerformanceDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Scans the cache folder and hands back a sorted array (free() it) and its
// count; a count of 0 means no data and no array.
void CollectGraphPoints(GraphPoint** points, int* count);

// The without series (y = (Hits + 1) x SizeK) and the with series (y = SizeK).
void BuildGraphSeries(const GraphPoint* points, int count, SeriesPoint* without, SeriesPoint* with);

// Where a value lies on the canvas: the curves and the ticks share this scale.
struct GraphScale {
  int M;   // left margin: the vertical axis
  int PW;  // plot width: maxX lies at M + PW
  int PH;  // plot height: maxY lies at 30 from the top, 0 on the axis at PH + 30
  float MaxX;
  float MaxY;
};

struct GraphTick {
  int Pixel;       // x of a horizontal tick, y of a vertical one
  char Label[32];  // a whole number horizontally, "%.1f" vertically
};
// The horizontal ticks: every stride-th multiple of the tick value (a
// quarter of a round size at or below MaxX) up to MaxX, each where its value
// lies; only 0 when the tick value is. Returns how many, at most capacity.
int HorizontalTicks(const GraphScale& scale, int stride, GraphTick* ticks, int capacity);
void VerticalTicks(const GraphScale& scale, GraphTick ticks[VERTICAL_TICKS]);

void DrawPerformanceGraph(const DRAWITEMSTRUCT* drawItem);
