// The graph's scale and ticks over any cached files (input: canvas width and
// height, the font's character width and height, the room for ticks, then
// per file 8 bytes of size and 4 of hits). Every point lies inside the plot;
// the ticks stay within their room and their axis, with labels strictly
// increasing; no placed size label leaves the canvas or meets the title or
// another label.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "panel/graph_scale.h"

struct Font {
  int width, height;
};

static TextExtent Measure(const char* label, void* font) {
  const Font& f = *static_cast<Font*>(font);
  return {f.width * static_cast<int>(strlen(label)), f.height};
}

static bool Meet(const TextBox& a, const TextBox& b) {  // with the 4 pixels labels keep apart
  return a.Left < b.Right + 4 && b.Left < a.Right + 4 && a.Top < b.Bottom && b.Top < a.Bottom;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 6) return 0;
  const int W = 300 + data[0] * 7, H = 120 + data[1] * 4;
  Font font = {4 + data[2] % 7, 8 + data[3] % 13};
  const int capacity = 1 + data[4] % HORIZONTAL_TICKS_MAX;
  std::vector<GraphPoint> points;
  for (size_t at = 5; at + 12 <= size; at += 12) {
    uint64_t bytes;
    uint32_t hits;
    memcpy(&bytes, data + at, 8);
    memcpy(&hits, data + at + 8, 4);
    if (bytes > 1024 && hits > 0) points.push_back({static_cast<float>(bytes >> 10), hits});
  }
  if (points.empty()) return 0;
  const int n = static_cast<int>(points.size());
  std::vector<SeriesPoint> without(points.size()), with(points.size());
  BuildGraphSeries(points.data(), n, without.data(), with.data());
  GraphScale scale = {8 * font.width, W - 13 * font.width - 50, H - 2 * AXIS_GAP, 0, 0};
  FindSeriesMaxima(without.data(), with.data(), n, &scale.MaxX, &scale.MaxY);
  if (scale.MaxX < 1 || scale.MaxY < 2) abort();
  for (int i = 0; i < n; i++) {
    if (without[i].Y < with[i].Y || with[i].Y != with[i].X) abort();
    for (const SeriesPoint& p : {without[i], with[i]}) {
      int x = GraphPixelX(scale, p.X), y = GraphPixelY(scale, p.Y);
      if (x < scale.M || x > scale.M + scale.PW || y < AXIS_GAP || y > AXIS_GAP + scale.PH) abort();
    }
  }

  GraphTick ticks[HORIZONTAL_TICKS_MAX];
  for (int stride = 1; stride <= 64; stride *= 2) {
    const int count = HorizontalTicks(scale, stride, ticks, capacity);
    if (count < 0 || count > capacity) abort();
    long long before = -1;
    for (int i = 0; i < count; i++) {
      const long long value = strtoll(ticks[i].Label, nullptr, 10);
      if (value <= before || value > scale.MaxX || ticks[i].Pixel < scale.M || ticks[i].Pixel > scale.M + scale.PW)
        abort();
      before = value;
    }
  }
  GraphTick vertical[VERTICAL_TICKS];
  VerticalTicks(scale, vertical);
  for (int i = 0; i < VERTICAL_TICKS; i++) {
    const GraphTick& tick = vertical[i];
    if (tick.Pixel < AXIS_GAP || tick.Pixel > AXIS_GAP + scale.PH) abort();
    if (i > 0 && (strtod(tick.Label, nullptr) <= strtod(vertical[i - 1].Label, nullptr) ||
                  tick.Pixel >= vertical[i - 1].Pixel))
      abort();
  }

  const TextBox title = {W - 5 - 13 * font.width, H - 5 - font.height, W - 5, H - 5};
  HorizontalLabels labels;
  PlaceHorizontalLabels(scale, W, H, title, Measure, &font, &labels);
  if (labels.Count > HORIZONTAL_TICKS_MAX || labels.Labelled > labels.Count) abort();
  for (int i = 0; i < labels.Labelled; i++) {
    const TextBox& place = labels.Places[i];
    if (place.Left != labels.Ticks[i].Pixel || place.Right >= W || Meet(place, title)) abort();
    if (i > 0 && Meet(place, labels.Places[i - 1])) abort();
  }
  return 0;
}
