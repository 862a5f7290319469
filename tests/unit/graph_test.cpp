// The performance graph: collection over a real folder and records, and the
// picture drawn into memory.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "harness.h"
#include "import_swap.h"
#include "panel/performance_graph.h"
#include "res/resource.h"
#include "settings/settings.h"
#include "text/message_text.h"

namespace {

struct CachedFile { uint64_t bytes; uint32_t hits; uint64_t stamp = 1; bool record = true; bool dotted = false; };
using Points = std::vector<std::pair<float, uint32_t>>;  // SizeK and Hits
constexpr int W = 500, H = 260;
constexpr uint32_t WHITE = 0xFFFFFF, BLACK = 0, RED = 0xFF0000, BLUE = 0x0000FF;

// The rectangles of the texts drawn: this program's import of TextOutA
// points at a recorder during each test.
std::vector<RECT> drawnTexts;
const FARPROC realTextOut = GetProcAddress(GetModuleHandleA("gdi32.dll"), "TextOutA");
BOOL WINAPI RecordTextOut(HDC dc, int x, int y, LPCSTR text, int length) {
  SIZE size = {};
  GetTextExtentPoint32A(dc, text, length, &size);
  drawnTexts.push_back({x, y, x + size.cx, y + size.cy});
  return reinterpret_cast<decltype(&TextOutA)>(realTextOut)(dc, x, y, text, length);
}
// Files of the test's own in a cache folder, with records under the driver's
// key, and a canvas in memory as the owner-drawn button hands it over.
class Graph : public ::testing::Test {
 protected:
  void SetUp() override {
    AppInstance = GetModuleHandleA(nullptr);
    LanguageFilePath[0] = '\0';
    snprintf(CacheDirectory, sizeof CacheDirectory, "%s", cache.path.c_str());
    BITMAPINFO info = {{sizeof(BITMAPINFOHEADER), W, -H, 1, 32, BI_RGB}};  // top-down
    dc = CreateCompatibleDC(nullptr);
    bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0);
    ASSERT_NE(bitmap, nullptr);
    SelectObject(dc, bitmap);
  }
  void TearDown() override {
    DeleteDC(dc);
    DeleteObject(bitmap);
    snprintf(CacheDirectory, sizeof CacheDirectory, "C:\\");
  }
  void Add(const CachedFile& file) {
    const std::string name = (file.dotted ? "." : "") + ("graphunit" + std::to_string(cache.made.size())) + ".dat";
    EXPECT_TRUE(cache.Make(name, file.bytes, file.record ? RecordBytes(file.stamp, 0, file.hits) : Bytes{})) << name;
  }
  // Draws the picture over a filled canvas; no two of its texts may meet.
  void Draw(UINT action = ODA_DRAWENTIRE, UINT control = IDC_GRAPH_CANVAS) {
    std::fill(bits, bits + W * H, 0x123456u);
    drawnTexts.clear();
    DRAWITEMSTRUCT item = {ODT_BUTTON, control, 0, action, 0, nullptr, dc, {0, 0, W, H}, 0};
    PerformanceDialogProc(nullptr, WM_DRAWITEM, control, reinterpret_cast<LPARAM>(&item));  // as the dialog draws
    for (size_t i = 0; i < drawnTexts.size(); i++)
      for (size_t j = i + 1; j < drawnTexts.size(); j++) {
        RECT both;
        EXPECT_FALSE(IntersectRect(&both, &drawnTexts[i], &drawnTexts[j])) << "texts " << i << " and " << j << " meet";
      }
  }
  uint32_t Pixel(int x, int y) const { return bits[y * W + x] & 0xFFFFFF; }
  // The vertical axis: the first column black from 40 pixels below the top
  // to 60 above the bottom, clear of labels and of curves near the origin.
  int AxisX() const {
    for (int x = 1; x < W; x++) {
      int y = 40;
      while (y < H - 60 && Pixel(x, y) == BLACK) y++;
      if (y == H - 60) return x;
    }
    return W;
  }
  // Tick marks crossing their axis: black on both sides of it.
  int Crossings(POINT from, POINT step, POINT across, int steps) const {
    int ticks = 0;
    for (int i = 0, x = from.x, y = from.y; i < steps; i++, x += step.x, y += step.y) {
      if (Pixel(x, y) != BLACK) continue;
      ticks++;
      EXPECT_EQ(Pixel(x + across.x, y + across.y), BLACK) << "a tick off its axis at " << x << "," << y;
    }
    return ticks;
  }

  MadeFolder cache{TempPath("ft_graph_unit")};
  ImportSwap textOut{"gdi32.dll", "TextOutA", reinterpret_cast<FARPROC>(RecordTextOut)};
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  uint32_t* bits = nullptr;
};

TEST_F(Graph, CollectsFilesOfMoreThan1024BytesUsedFromTheCacheSorted) {
  const struct { std::vector<CachedFile> files; Points expected; } cases[] = {
      {{{4096, 1}, {8192, 2}, {2048, 3}}, {}},  // three files are no data
      {{{2048, 1}, {4096, 2, 0}, {8192, 3, 0}, {3072, 4, 0}}, {{2, 1}}},  // four count, one is plotted
      {{{4096, 1}, {8192, 2}, {2048, 3}, {3072, 4, 1, true, true}}, {{2, 3}, {3, 4}, {4, 1}, {8, 2}}},  // a dot-named one too
      // By the whole size: 4 GB and more, and 4 GB + 512 bytes.
      {{{8192, 2}, {0x140000000, 1}, {2048, 3}, {0x100000200, 4}}, {{2, 3}, {8, 2}, {4194304, 4}, {5242880, 1}}},
      // 1024 bytes; 1025; a zero FileStamp, counted but not plotted; never used
      // from the cache; no record; a stamp with only high bits. Four count.
      {{{1024, 5}, {1025, 1}, {10240, 3, 0}, {2048, 0}, {3072, 4, 1, false}, {5120, 7, 0x100000000}, {4096, 2}},
       {{1, 1}, {4, 2}, {5, 7}}},
  };
  for (const auto& c : cases) {
    for (const CachedFile& file : c.files) Add(file);
    GraphPoint* points = nullptr;
    int count = -1;
    CollectGraphPoints(&points, &count);
    Points collected;
    for (int i = 0; i < count; i++) collected.push_back({points[i].SizeK, points[i].Hits});
    free(points);
    EXPECT_EQ(collected, c.expected) << c.files.size() << " files";
    cache.Clear();
  }
}

TEST_F(Graph, CurvesInsideThePlotTheWithoutCurveOnTopTicksOnTheirAxes) {
  // The second file's many hits put a sharp peak into the without curve:
  // straight lines reach it at the top of the vertical axis, a Bezier curve
  // (for 3n + 1 points) passes below it.
  for (int files : {4, 5}) {
    SCOPED_TRACE(files);
    for (int i = 0; i < files; i++) Add({(i + 1) * 2048u, i == 1 ? 40u : 1u});
    Draw();
    int axisX = AxisX();
    const RECT plot = {axisX - 1, 29, W - 29, H - 29}, legend = {W - 150, 0, W, 45};  // pens 2 pixels wide
    int redTop = H, blueBefore = H;
    for (int x = 0; x < W; x++) {
      int red = H, blue = H;  // the highest pixel of each curve in this column
      for (int y = H - 1; y >= 0; y--) {
        POINT p = {x, y};
        uint32_t colour = Pixel(x, y);
        if ((colour != RED && colour != BLUE) || PtInRect(&legend, p)) continue;
        EXPECT_TRUE(PtInRect(&plot, p)) << "curve outside the plot at " << x << "," << y;
        (colour == RED ? red : blue) = y;
      }
      if (red < H && blue < H) EXPECT_LE(red, blue + 1) << "the without curve below the with curve at " << x;
      if (blue < H) {
        EXPECT_LE(blue, blueBefore) << "the with curve falls at " << x;
        blueBefore = blue;
      }
      redTop = std::min(redTop, red);
    }
    EXPECT_LT(blueBefore, H - 32) << "no with curve";
    // The legends' texts in their curves' colours, right of the plot.
    int redText = 0, blueText = 0;
    for (int y = 0; y < 45; y++)
      for (int x = W - 28; x < W - 5; x++) (y < 27 ? redText : blueText) += Pixel(x, y) == (y < 27 ? RED : BLUE);
    EXPECT_GT(redText, 0) << "the without legend";
    EXPECT_GT(blueText, 0) << "the with legend";
    EXPECT_TRUE(files == 5 ? redTop <= 31 : redTop > 40 && redTop < H - 40) << "the without curve's top at " << redTop;
    // Sizes 2 to 8 or 10 K: a tick every 2 K.
    EXPECT_EQ(Crossings({axisX + 2, H - 28}, {1, 0}, {0, -4}, W - 40 - axisX), files);
    EXPECT_EQ(Crossings({axisX + 2, 34}, {0, 1}, {-4, 0}, H - 64), VERTICAL_TICKS - 1);  // the top one at the tip
    cache.Clear();
  }
}

// Labels run into the axis title, or crowd, as the largest file grows.
TEST_F(Graph, NoTwoTextsMeetWhateverTheLargestFile) {
  for (uint64_t largestK : {100, 50000, 100000, 200000}) {
    SCOPED_TRACE(largestK);
    for (uint64_t sizeK : {uint64_t{2}, uint64_t{3}, uint64_t{4}, largestK}) Add({sizeK * 1024, 1});
    Draw();
    EXPECT_GE(drawnTexts.size(), 11u);  // two titles, two legends, five vertical labels, some horizontal ones
    cache.Clear();
  }
}

TEST_F(Graph, ThreeFilesShowNoDataInRedAndOnlyTheCanvasIsDrawnWhole) {
  for (DWORD bytes : {2048u, 4096u, 6144u}) Add({bytes, 2});
  Draw(ODA_SELECT);
  EXPECT_EQ(Pixel(W / 2, H / 2), 0x123456u) << "a selection change";
  Draw(ODA_DRAWENTIRE, IDC_GRAPH_CANVAS + 1);
  EXPECT_EQ(Pixel(W / 2, H / 2), 0x123456u) << "another control";
  Draw();
  const RECT message = {W / 2 - 40, H / 2 + 10, W / 2 + 80, H / 2 + 26};
  int inside = 0, outside = 0;  // red pixels; blue or red ones
  for (int y = 0; y < H; y++)
    for (int x = 0; x < W; x++) {
      POINT p = {x, y};
      if (PtInRect(&message, p)) inside += Pixel(x, y) == RED;
      else outside += Pixel(x, y) == RED || Pixel(x, y) == BLUE;
    }
  EXPECT_GT(inside, 20);
  EXPECT_EQ(outside, 0);
  EXPECT_EQ((std::vector<uint32_t>{Pixel(0, 0), Pixel(W - 1, H - 1), Pixel(W - 10, H / 2)}),
            (std::vector<uint32_t>{BLACK, BLACK, WHITE}));  // the frame and the white inside
}

}  // namespace
