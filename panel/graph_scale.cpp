#include "panel/graph_scale.h"

#include <initializer_list>

#include "text/format_text.h"

constexpr int LABEL_GAP = 4;  // the least room between two texts side by side
constexpr int LABEL_TOP = 20;  // pixels between a size label's top and the canvas's bottom

void BuildGraphSeries(const GraphPoint* points, int count, SeriesPoint* without, SeriesPoint* with) {
  for (int i = 0; i < count; i++) {
    // Every hit and the first fetch; counted wide, as 4294967295 hits + 1 would wrap to 0.
    double transfers = static_cast<double>(points[i].Hits) + 1.0;
    without[i] = {points[i].SizeK, static_cast<float>(transfers * points[i].SizeK)};
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
    // At the exact fifth of MaxY: five float steps can round past MaxY, above the axis's tip.
    ticks[i - 1].Pixel = GraphPixelY(scale, i * static_cast<double>(scale.MaxY) / VERTICAL_TICKS);
    FormatText(ticks[i - 1].Label, sizeof ticks[i - 1].Label, "%.1f", value);
  }
}

static bool TextsMeet(const TextBox& a, const TextBox& b) {
  return a.Left < b.Right + LABEL_GAP && b.Left < a.Right + LABEL_GAP && a.Top < b.Bottom && b.Top < a.Bottom;
}

void PlaceHorizontalLabels(const GraphScale& scale, int W, int H, const TextBox& title, MeasureLabel measure,
                           void* context, HorizontalLabels* labels) {
  for (int stride = 1;; stride *= 2) {
    labels->Count = HorizontalTicks(scale, stride, labels->Ticks, HORIZONTAL_TICKS_MAX);
    labels->Labelled = 0;
    bool clear = true;
    for (int i = 0; i < labels->Count; i++) {
      const GraphTick& tick = labels->Ticks[i];
      TextExtent size = measure(tick.Label, context);
      TextBox place = {tick.Pixel, H - LABEL_TOP, tick.Pixel + size.Width, H - LABEL_TOP + size.Height};
      if (place.Right >= W || TextsMeet(place, title)) break;
      if (labels->Labelled > 0 && TextsMeet(place, labels->Places[labels->Labelled - 1])) clear = false;
      labels->Places[labels->Labelled++] = place;
    }
    if (clear || labels->Count <= 1) return;
  }
}
