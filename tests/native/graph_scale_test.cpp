// The performance graph's series, the ticks on its scale and where their
// labels go, with a font of the test's own: 6 by 13 pixels a character.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "panel/graph_scale.h"

namespace {

TEST(GraphSeries, TransfersCountEveryHitAndTheFirstFetchWithoutWrapping) {
  for (auto c : {std::pair<GraphPoint, float>{{3, 1}, 6}, {{2, 0xFFFFFFFF}, 8589934592.0f}}) {
    SeriesPoint without, with;
    BuildGraphSeries(&c.first, 1, &without, &with);
    EXPECT_EQ(without.Y, c.second) << c.first.Hits;
    EXPECT_EQ(with.Y, c.first.SizeK) << c.first.Hits;
  }
  const SeriesPoint without[] = {{2, 9}, {5, 6}}, with[] = {{2, 2}, {5, 5}};
  float maxX = -1, maxY = -1;
  FindSeriesMaxima(without, with, 2, &maxX, &maxY);
  EXPECT_EQ(maxX, 5);
  EXPECT_EQ(maxY, 9);
}

TEST(GraphScale, SizeTicksAreMultiplesOfTheTickValueUpToTheLargestSize) {
  const struct { float maxX; int stride; std::vector<std::string> labels; } cases[] = {
      {3, 1, {"0"}}, {50, 1, {"12", "24", "36", "48"}}, {150, 1, {"25", "50", "75", "100", "125", "150"}},
      {600, 1, {"125", "250", "375", "500"}}, {50000, 4, {"10240", "20480", "30720", "40960"}},
      {102400, 8, {"20480", "40960", "61440", "81920", "102400"}}, {200000, 1, {"50000", "100000", "150000", "200000"}},
      {8589934592.0f, 2, {"4294967296", "8589934592"}}};
  GraphTick ticks[HORIZONTAL_TICKS_MAX + VERTICAL_TICKS];
  for (const auto& c : cases) {
    int count = HorizontalTicks({50, 400, 200, c.maxX, 1000}, c.stride, ticks, HORIZONTAL_TICKS_MAX);
    std::vector<std::string> labels;
    for (int i = 0; i < count; i++) labels.push_back(ticks[i].Label);
    EXPECT_EQ(labels, c.labels) << c.maxX;
  }
  EXPECT_EQ(HorizontalTicks({50, 400, 200, 50000, 1000}, 1, ticks, HORIZONTAL_TICKS_MAX), 19);  // up to 48640
  EXPECT_EQ(HorizontalTicks({50, 400, 200, 50000, 1000}, 1, ticks, 5), 5) << "never beyond the room given";
  // 1 pixel = 5 kilobytes right of the axis at 50, 5 per pixel up from 230;
  // the top label at maxY, the tip of the vertical axis.
  const char* placed[] = {"256@101",   "512@152",   "768@203",  "1024@254", "1280@306", "1536@357", "1792@408",
                          "200.0@190", "400.0@150", "600.0@110", "800.0@70", "1000.0@30"};
  int count = HorizontalTicks({50, 400, 200, 2000, 1000}, 1, ticks, HORIZONTAL_TICKS_MAX);
  ASSERT_EQ(count, 7);
  VerticalTicks({50, 400, 200, 2000, 1000}, ticks + count);
  for (int i = 0; i < count + VERTICAL_TICKS; i++) EXPECT_EQ(ticks[i].Label + ("@" + std::to_string(ticks[i].Pixel)), placed[i]);
  // A 251 K file hit 88573 times: five steps of a fifth make more than the
  // largest value, whose tick still stands at the tip.
  VerticalTicks({50, 400, 200, 2000, 22232074}, ticks);
  EXPECT_EQ(ticks[4].Label + ("@" + std::to_string(ticks[4].Pixel)), "22232076.0@30");
}

TextExtent SixByThirteen(const char* label, void*) { return {6 * static_cast<int>(strlen(label)), 13}; }

// A canvas of 500 by 260 with the axis at 48 and the title "File Size (K)"
// in its corner: labels every step when they have room, else every second
// one; none that would reach the title, though its tick stays.
TEST(GraphScale, SizeLabelsTakeTheSmallestStrideThatGivesThemRoom) {
  constexpr int W = 500, H = 260;
  const TextBox title = {W - 5 - 78, H - 5 - 13, W - 5, H - 5};
  const struct { float maxX; int ticks; std::vector<std::string> labels; } cases[] = {
      {3, 1, {"0@48"}},
      {50, 4, {"12@137", "24@226", "36@315"}},
      {2000, 7, {"256@95", "512@143", "768@190", "1024@238", "1280@286", "1536@333", "1792@381"}},
      {50000, 9, {"5120@86", "10240@124", "15360@162", "20480@200", "25600@238", "30720@276", "35840@314",
                  "40960@352"}},
      {200000, 4, {"50000@141", "100000@234", "150000@327"}},
  };
  for (const auto& c : cases) {
    HorizontalLabels labels;
    PlaceHorizontalLabels({48, W - 78 - 50, H - 60, c.maxX, 1000}, W, H, title, SixByThirteen, nullptr, &labels);
    std::vector<std::string> placed;
    for (int i = 0; i < labels.Labelled; i++) {
      EXPECT_EQ(labels.Places[i].Top, H - 20);
      placed.push_back(labels.Ticks[i].Label + ("@" + std::to_string(labels.Places[i].Left)));
    }
    EXPECT_EQ(labels.Count, c.ticks) << c.maxX;
    EXPECT_EQ(placed, c.labels) << c.maxX;
  }
}

}  // namespace
