// The performance graph: collection over a real folder and records, the
// scale the curves and ticks share, and the picture drawn into memory.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "harness.h"
#include "panel/performance_graph.h"
#include "res/resource.h"
#include "settings/settings.h"
#include "text/message_text.h"

namespace {

struct CachedFile {
  DWORD bytes;
  uint32_t hits;
  uint64_t stamp = 1;
  bool record = true;
};

// A cache folder of the test's own, with records under the driver's key.
class GraphCache : public ::testing::Test {
 protected:
  void SetUp() override {
    AppInstance = GetModuleHandleA(nullptr);
    LanguageFilePath[0] = '\0';
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    folder = std::string(temp) + "ft_graph_unit";
    CreateDirectoryA(folder.c_str(), nullptr);
    snprintf(CacheDirectory, sizeof CacheDirectory, "%s", folder.c_str());
  }
  void TearDown() override {
    for (const std::string& name : names) {
      DeleteFileA((folder + "\\" + name).c_str());
      DeleteDriverValue(name.c_str());
    }
    RemoveDirectoryA(folder.c_str());
    snprintf(CacheDirectory, sizeof CacheDirectory, "C:\\");
  }
  void Add(const CachedFile& file) {
    char name[32];
    snprintf(name, sizeof name, "graphunit%02zu.dat", names.size());
    names.push_back(name);
    HANDLE handle = CreateFileA((folder + "\\" + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(handle, INVALID_HANDLE_VALUE);
    SetFilePointer(handle, static_cast<LONG>(file.bytes), nullptr, FILE_BEGIN);
    SetEndOfFile(handle);
    CloseHandle(handle);
    if (file.record)
      WriteDriverValue(name, REG_BINARY,
                       Concat({Le32(static_cast<uint32_t>(file.stamp)), Le32(static_cast<uint32_t>(file.stamp >> 32)),
                               Le32(0), Le32(0), Le32(file.hits), Le32(0)}));
  }
  // SizeK and Hits of each collected point, in order.
  static std::vector<std::pair<float, uint32_t>> Collect() {
    GraphPoint* points = nullptr;
    int count = -1;
    CollectGraphPoints(&points, &count);
    std::vector<std::pair<float, uint32_t>> collected;
    for (int i = 0; i < count; i++) collected.push_back({points[i].SizeK, points[i].Hits});
    free(points);
    return collected;
  }

  std::string folder;
  std::vector<std::string> names;
};

using Points = std::vector<std::pair<float, uint32_t>>;

TEST_F(GraphCache, CollectsFilesOfMoreThan1024BytesUsedFromTheCache) {
  const struct {
    const char* what;
    std::vector<CachedFile> files;
    Points expected;
    bool usable = true;
  } cases[] = {
      {"three files are no data", {{4096, 1}, {8192, 2}, {2048, 3}}, {}},
      {"an unusable cache folder lists nothing", {{2048, 1}, {4096, 1}, {6144, 1}, {8192, 1}}, {}, false},
      // "." and ".." come first in the folder: all four points are kept.
      {"four files, sorted", {{8192, 2}, {2048, 3}, {5120, 1}, {4096, 9}}, {{2, 3}, {4, 9}, {5, 1}, {8, 2}}},
      {"what is left out",
       {
           {1024, 5},                                          // never plotted
           {1025, 1},                                          // SizeK 1
           {10240, 3, 0},                                      // zero FileStamp: counted, not plotted
           {2048, 0},                                          // never used from the cache
           {3072, 4, 1, false},                                // no record
           {5120, 7, 0x100000000},  // a stamp with only high bits
           {8192, 1},
           {4096, 2},
       },
       {{1, 1}, {4, 2}, {5, 7}, {8, 1}}},
      {"four counted, three plotted", {{2048, 1, 0}, {4096, 1}, {6144, 1}, {8192, 1}}, {{4, 1}, {6, 1}, {8, 1}}},
  };
  for (const auto& c : cases) {
    for (const CachedFile& file : c.files) Add(file);
    if (!c.usable) CacheDirectory[0] = '\0';
    EXPECT_EQ(Collect(), c.expected) << c.what;
    TearDown();
    names.clear();
    SetUp();
  }
}

TEST(GraphScale, TickLabelsStandWhereTheirValuesLie) {
  const struct {
    float maxX;
    const char* labels[HORIZONTAL_TICKS];
  } cases[] = {
      {3, {"0", "0", "0", "0"}},
      {50, {"12", "24", "36", "48"}},
      {150, {"25", "50", "75", "100"}},
      {300, {"50", "100", "150", "200"}},
      {2000, {"256", "512", "768", "1024"}},
      {50000, {"2560", "5120", "7680", "10240"}},
      {200000, {"50000", "100000", "150000", "200000"}},
  };
  for (const auto& c : cases) {
    GraphScale scale = {50, 400, 200, c.maxX, 1000};
    GraphTick ticks[HORIZONTAL_TICKS];
    HorizontalTicks(scale, ticks);
    for (int i = 0; i < HORIZONTAL_TICKS; i++) {
      EXPECT_STREQ(ticks[i].Label, c.labels[i]) << c.maxX;
      // The pixel carries the label's value on the curves' scale (1 pixel = maxX/400).
      double value = atof(ticks[i].Label);
      EXPECT_NEAR(ticks[i].Pixel, 50 + value * 400 / c.maxX, 1.0) << c.maxX << " " << c.labels[i];
    }
  }
  GraphScale scale = {50, 400, 200, 2000, 1000};
  GraphTick ticks[VERTICAL_TICKS];
  VerticalTicks(scale, ticks);
  const char* labels[] = {"200.0", "400.0", "600.0", "800.0", "1000.0"};
  const int pixels[] = {190, 150, 110, 70, 30};  // the top label at maxY, the top of the vertical axis
  for (int i = 0; i < VERTICAL_TICKS; i++) {
    EXPECT_STREQ(ticks[i].Label, labels[i]);
    EXPECT_EQ(ticks[i].Pixel, pixels[i]);
  }
}

// A canvas in memory, as the dialog's owner-drawn button would hand it over.
class GraphPicture : public GraphCache {
 protected:
  static constexpr int W = 500, H = 260;
  static constexpr uint32_t WHITE = 0xFFFFFF, BLACK = 0, RED = 0xFF0000, BLUE = 0x0000FF;

  void SetUp() override {
    GraphCache::SetUp();
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = W;
    info.bmiHeader.biHeight = -H;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    dc = CreateCompatibleDC(nullptr);
    bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0);
    ASSERT_NE(bitmap, nullptr);
    oldBitmap = SelectObject(dc, bitmap);
  }
  void TearDown() override {
    SelectObject(dc, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(dc);
    GraphCache::TearDown();
  }
  void Draw(UINT action = ODA_DRAWENTIRE) {
    for (int i = 0; i < W * H; i++) bits[i] = 0x123456;
    DRAWITEMSTRUCT item = {};
    item.CtlType = ODT_BUTTON;
    item.CtlID = IDC_GRAPH_CANVAS;
    item.itemAction = action;
    item.hDC = dc;
    item.rcItem = {0, 0, W, H};
    DrawPerformanceGraph(&item);
  }
  uint32_t Pixel(int x, int y) const { return bits[y * W + x] & 0xFFFFFF; }
  // Whether the colour is within a pixel of (x, y): pens are 2 pixels wide.
  bool Near(POINT p, uint32_t colour) const {
    for (int y = p.y - 1; y <= p.y + 1; y++)
      for (int x = p.x - 1; x <= p.x + 1; x++)
        if (x >= 0 && y >= 0 && x < W && y < H && Pixel(x, y) == colour) return true;
    return false;
  }
  int Count(uint32_t colour, const RECT& inside, bool within) const {
    int count = 0;
    for (int y = 0; y < H; y++)
      for (int x = 0; x < W; x++) {
        POINT p = {x, y};
        if (Pixel(x, y) == colour && (PtInRect(&inside, p) != FALSE) == within) count++;
      }
    return count;
  }
  // The scale the picture uses, measured as it measures it.
  GraphScale Scale(float maxX, float maxY) const {
    HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SIZE eights, title;
    GetTextExtentPoint32A(dc, "88888888", 8, &eights);
    GetTextExtentPoint32A(dc, "File Size (K)", 13, &title);
    SelectObject(dc, old);
    return {eights.cx, W - title.cx - 50, H - 60, maxX, maxY};
  }

  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  HGDIOBJ oldBitmap = nullptr;
  uint32_t* bits = nullptr;
};

TEST_F(GraphPicture, CurvesThroughTheirMappedPoints) {
  // The second file's many hits put a sharp peak into the without curve,
  // which a Bézier curve passes below and straight lines pass through.
  const uint32_t hits[] = {1, 40, 1, 3, 1, 5, 2};
  const struct {
    int files;
    bool bezier;
  } cases[] = {{4, true}, {5, false}, {6, false}, {7, true}};
  for (const auto& c : cases) {
    for (int i = 0; i < c.files; i++) Add({static_cast<DWORD>((i + 1) * 2048), hits[i]});
    Draw();
    GraphScale scale = Scale(static_cast<float>(c.files * 2), 164);  // the largest y: 4 K used 41 times
    std::vector<POINT> red, blue;
    for (int i = 0; i < c.files; i++) {
      float sizeK = static_cast<float>((i + 1) * 2);
      red.push_back(MapSeriesPoint(scale, {sizeK, (hits[i] + 1) * sizeK}));
      blue.push_back(MapSeriesPoint(scale, {sizeK, sizeK}));
    }

    EXPECT_EQ(Pixel(0, 0), BLACK) << c.files;
    EXPECT_EQ(Pixel(W - 1, H - 1), BLACK);
    EXPECT_EQ(Pixel(W - 10, H / 2), WHITE);
    for (const POINT& p : blue) EXPECT_TRUE(Near(p, BLUE)) << c.files << " files, with point " << p.x << "," << p.y;
    for (int i = 0; i < c.files; i++) {
      bool onCurve = !c.bezier || i % 3 == 0;  // a Bézier curve passes its control points by
      EXPECT_EQ(Near(red[i], RED), onCurve) << c.files << " files, without point " << i;
    }
    if (c.bezier) {
      POINT half = {(red[0].x + 3 * red[1].x + 3 * red[2].x + red[3].x + 4) / 8,
                    (red[0].y + 3 * red[1].y + 3 * red[2].y + red[3].y + 4) / 8};
      EXPECT_TRUE(Near(half, RED)) << c.files << " files: the first Bézier segment's middle";
    }
    GraphTick ticks[HORIZONTAL_TICKS];
    HorizontalTicks(scale, ticks);
    for (const GraphTick& tick : ticks) EXPECT_EQ(Pixel(tick.Pixel, H - 28), BLACK) << "tick at " << tick.Pixel;
    TearDown();
    names.clear();
    SetUp();
  }
}

TEST_F(GraphPicture, ThreeFilesShowNoDataInRed) {
  for (DWORD bytes : {2048u, 4096u, 6144u}) Add({bytes, 2});
  Draw(ODA_SELECT);
  EXPECT_EQ(Pixel(W / 2, H / 2), 0x123456u) << "a selection change leaves the picture alone";
  Draw();
  RECT message = {W / 2 - 40, H / 2 + 10, W / 2 + 80, H / 2 + 26};
  EXPECT_GT(Count(RED, message, true), 20);
  EXPECT_EQ(Count(RED, message, false), 0);
  EXPECT_EQ(Count(BLUE, message, false), 0);
  EXPECT_EQ(Pixel(0, 0), BLACK);
  EXPECT_EQ(Pixel(W - 10, H / 2), WHITE);
}

}  // namespace
