// Performance graph: the series of the cached files, the scale the curves and
// ticks share, the ticks and where their labels go, apart from the painting.
#pragma once
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

constexpr int AXIS_GAP = 30;  // pixels between the canvas edges and the axes' ends
constexpr int HORIZONTAL_TICKS_MAX = 64;
constexpr int VERTICAL_TICKS = 5;

// The without series (y = (Hits + 1) x SizeK) and the with series (y = SizeK).
void BuildGraphSeries(const GraphPoint* points, int count, SeriesPoint* without, SeriesPoint* with);
// The largest x and y of both series; 0 for none.
void FindSeriesMaxima(const SeriesPoint* without, const SeriesPoint* with, int count, float* maxX, float* maxY);

// Where a value lies on the canvas: the curves and the ticks share this scale.
struct GraphScale {
  int M;   // left margin: the vertical axis
  int PW;  // plot width: maxX lies at M + PW
  int PH;  // plot height: maxY lies at AXIS_GAP from the top, 0 on the axis at PH + AXIS_GAP
  float MaxX;
  float MaxY;
};
int GraphPixelX(const GraphScale& scale, double x);
int GraphPixelY(const GraphScale& scale, double y);

struct GraphTick {
  int Pixel;       // x of a horizontal tick, y of a vertical one
  char Label[32];  // a whole number horizontally, "%.1f" vertically
};
// The horizontal ticks: every stride-th multiple of the tick value (a
// quarter of a round size at or below MaxX) up to MaxX, each where its value
// lies; only 0 when the tick value is. Returns how many, at most capacity.
int HorizontalTicks(const GraphScale& scale, int stride, GraphTick* ticks, int capacity);
void VerticalTicks(const GraphScale& scale, GraphTick ticks[VERTICAL_TICKS]);

// A text's place on the canvas, in pixels.
struct TextBox {
  int Left, Top, Right, Bottom;
};
struct TextExtent {
  int Width, Height;
};
// How large a label shows in the canvas font.
using MeasureLabel = TextExtent (*)(const char* label, void* context);

// The horizontal ticks to draw and the boxes of the labels that go with the
// first Labelled of them.
struct HorizontalLabels {
  GraphTick Ticks[HORIZONTAL_TICKS_MAX];
  int Count;
  TextBox Places[HORIZONTAL_TICKS_MAX];
  int Labelled;
};
// The ticks at the smallest stride (1, 2, 4...) at which their labels clear
// each other: doubling keeps the values round (2560, 5120, 10240). Each label
// stands below its tick on a canvas of W by H; one that would leave the
// canvas or meet the axis title is left out, and so are those right of it,
// but their ticks stay.
void PlaceHorizontalLabels(const GraphScale& scale, int W, int H, const TextBox& title, MeasureLabel measure,
                           void* context, HorizontalLabels* labels);
