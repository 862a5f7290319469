// The performance graph: collection over a real folder and records, the
// scale the curves and ticks share, and the picture drawn into memory.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "harness.h"
#include "panel/performance_graph.h"
#include "res/resource.h"
#include "settings/settings.h"
#include "text/message_text.h"

namespace {

struct CachedFile { uint64_t bytes; uint32_t hits; uint64_t stamp = 1; bool record = true; };
using Points = std::vector<std::pair<float, uint32_t>>;  // SizeK and Hits
constexpr int W = 500, H = 260;
constexpr uint32_t WHITE = 0xFFFFFF, BLACK = 0, RED = 0xFF0000, BLUE = 0x0000FF;

// Every text the picture draws, with the rectangle it covers: this
// program's import of TextOutA points at a recorder during each test.
std::vector<RECT> drawnTexts;
const FARPROC realTextOut = GetProcAddress(GetModuleHandleA("gdi32.dll"), "TextOutA");

BOOL WINAPI RecordTextOut(HDC dc, int x, int y, LPCSTR text, int length) {
  SIZE size = {};
  GetTextExtentPoint32A(dc, text, length, &size);
  drawnTexts.push_back({x, y, x + size.cx, y + size.cy});
  return reinterpret_cast<decltype(&TextOutA)>(realTextOut)(dc, x, y, text, length);
}

// Points the import slot of this program that holds from at to.
void SwapImport(FARPROC from, FARPROC to) {
  auto base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
  auto headers = reinterpret_cast<IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
  const IMAGE_DATA_DIRECTORY& table = headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IAT];
  auto first = reinterpret_cast<FARPROC*>(base + table.VirtualAddress), end = first + table.Size / sizeof *first;
  FARPROC* slot = std::find(first, end, from);
  ASSERT_NE(slot, end);
  DWORD access;
  VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &access);
  *slot = to;
}

// Files of the test's own in a cache folder, with records under the
// driver's key, and a canvas in memory as the owner-drawn button hands it over.
class Graph : public ::testing::Test {
 protected:
  void SetUp() override {
    AppInstance = GetModuleHandleA(nullptr);
    LanguageFilePath[0] = '\0';
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    home = std::string(temp) + "ft_graph_unit";
    UseFolder(home);
    BITMAPINFO info = {{sizeof(BITMAPINFOHEADER), W, -H, 1, 32, BI_RGB}};  // top-down
    dc = CreateCompatibleDC(nullptr);
    bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0);
    ASSERT_NE(bitmap, nullptr);
    SelectObject(dc, bitmap);
    SwapImport(realTextOut, reinterpret_cast<FARPROC>(RecordTextOut));
  }
  void TearDown() override {
    SwapImport(reinterpret_cast<FARPROC>(RecordTextOut), realTextOut);
    UseFolder("");
    DeleteDC(dc);
    DeleteObject(bitmap);
    snprintf(CacheDirectory, sizeof CacheDirectory, "C:\\");
  }
  // Removes the files and records made so far and makes path the cache folder.
  void UseFolder(const std::string& path) {
    for (const std::string& name : names) {
      DeleteFileA((folder + "\\" + name).c_str());
      DeleteDriverValue(name.c_str());
    }
    names.clear();
    if (!folder.empty()) RemoveDirectoryA(folder.c_str());
    folder = path;
    CreateDirectoryA(folder.c_str(), nullptr);
    snprintf(CacheDirectory, sizeof CacheDirectory, "%s", folder.c_str());
  }
  void Add(const CachedFile& file) {
    char name[32];
    snprintf(name, sizeof name, "graphunit%02zu.dat", names.size());
    names.push_back(name);
    HANDLE handle = CreateFileA((folder + "\\" + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(handle, INVALID_HANDLE_VALUE);
    LONG high = static_cast<LONG>(file.bytes >> 32);
    SetFilePointer(handle, static_cast<LONG>(file.bytes), &high, FILE_BEGIN);
    SetEndOfFile(handle);
    CloseHandle(handle);
    if (file.record)
      WriteDriverValue(name, REG_BINARY,
                       Concat({Le32(static_cast<uint32_t>(file.stamp)), Le32(static_cast<uint32_t>(file.stamp >> 32)),
                               Le32(0), Le32(0), Le32(file.hits), Le32(0)}));
  }
  // Draws the picture; no two of its texts may meet.
  void Draw(UINT action = ODA_DRAWENTIRE) {
    std::fill(bits, bits + W * H, 0x123456u);
    drawnTexts.clear();
    DRAWITEMSTRUCT item = {ODT_BUTTON, IDC_GRAPH_CANVAS, 0, action, 0, nullptr, dc, {0, 0, W, H}, 0};
    DrawPerformanceGraph(&item);
    for (size_t i = 0; i < drawnTexts.size(); i++)
      for (size_t j = i + 1; j < drawnTexts.size(); j++) {
        RECT both;
        EXPECT_FALSE(IntersectRect(&both, &drawnTexts[i], &drawnTexts[j])) << "texts " << i << " and " << j << " meet";
      }
  }
  uint32_t Pixel(int x, int y) const { return bits[y * W + x] & 0xFFFFFF; }
  int Count(uint32_t colour, const RECT& inside, bool within) const {
    int count = 0;
    for (int y = 0; y < H; y++)
      for (int x = 0; x < W; x++) {
        POINT p = {x, y};
        count += Pixel(x, y) == colour && (PtInRect(&inside, p) != FALSE) == within;
      }
    return count;
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

  std::string home, folder;
  std::vector<std::string> names;
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  uint32_t* bits = nullptr;
};

TEST_F(Graph, CollectsFilesOfMoreThan1024BytesUsedFromTheCache) {
  const struct { const char* what; std::vector<CachedFile> files; Points expected; bool usable = true; } cases[] = {
      {"three files are no data", {{4096, 1}, {8192, 2}, {2048, 3}}, {}},
      {"an unusable cache folder lists nothing, not the drive's root", {{2048, 1}, {4096, 1}, {6144, 1}, {8192, 1}},
       {}, false},
      // "." and ".." come first in the folder: all four points are kept.
      {"four files, sorted", {{8192, 2}, {2048, 3}, {5120, 1}, {4096, 9}}, {{2, 3}, {4, 9}, {5, 1}, {8, 2}}},
      // 1024 bytes, never plotted; 1025, SizeK 1; a zero FileStamp, counted but not plotted;
      // never used from the cache; no record; a stamp with only high bits.
      {"what is left out",
       {{1024, 5}, {1025, 1}, {10240, 3, 0}, {2048, 0}, {3072, 4, 1, false}, {5120, 7, 0x100000000}, {8192, 1},
        {4096, 2}},
       {{1, 1}, {4, 2}, {5, 7}, {8, 1}}},
      {"four counted, three plotted", {{2048, 1, 0}, {4096, 1}, {6144, 1}, {8192, 1}}, {{4, 1}, {6, 1}, {8, 1}}},
      {"4 GB and more by the whole size",
       {{0x100000200, 1}, {0x140000000, 2}, {2048, 3}, {4096, 4}},
       {{2, 3}, {4, 4}, {4194304, 1}, {5242880, 2}}},
  };
  char current[MAX_PATH];
  GetCurrentDirectoryA(sizeof current, current);
  for (const auto& c : cases) {
    // Files with records at the current drive's root: an empty folder's
    // pattern "\*.*" would name them.
    if (!c.usable) UseFolder(home.substr(0, 2));
    SetCurrentDirectoryA((home.substr(0, 2) + "\\").c_str());
    for (const CachedFile& file : c.files) Add(file);
    if (!c.usable) CacheDirectory[0] = '\0';
    GraphPoint* points = nullptr;
    int count = -1;
    CollectGraphPoints(&points, &count);
    Points collected;
    for (int i = 0; i < count; i++) collected.push_back({points[i].SizeK, points[i].Hits});
    free(points);
    EXPECT_EQ(collected, c.expected) << c.what;
    SetCurrentDirectoryA(current);
    UseFolder(home);
  }
}

TEST(GraphSeries, TransfersCountEveryHitAndTheFirstFetchWithoutWrapping) {
  const struct { GraphPoint point; float without; } cases[] = {
      {{3, 1}, 6}, {{1024, 99}, 102400}, {{2, 0xFFFFFFFF}, 8589934592.0f}};
  for (const auto& c : cases) {
    SeriesPoint without, with;
    BuildGraphSeries(&c.point, 1, &without, &with);
    EXPECT_EQ(without.Y, c.without) << c.point.Hits;
    EXPECT_GE(without.Y, with.Y) << c.point.Hits;
  }
}

TEST(GraphScale, TickLabelsStandWhereTheirValuesLie) {
  const struct { float maxX; const char* labels[HORIZONTAL_TICKS]; } cases[] = {
      {3, {"0", "0", "0", "0"}}, {50, {"12", "24", "36", "48"}}, {150, {"25", "50", "75", "100"}},
      {300, {"50", "100", "150", "200"}}, {2000, {"256", "512", "768", "1024"}},
      {50000, {"2560", "5120", "7680", "10240"}}, {200000, {"50000", "100000", "150000", "200000"}},
  };
  for (const auto& c : cases) {
    GraphTick ticks[HORIZONTAL_TICKS];
    HorizontalTicks({50, 400, 200, c.maxX, 1000}, ticks);
    for (int i = 0; i < HORIZONTAL_TICKS; i++) {
      EXPECT_STREQ(ticks[i].Label, c.labels[i]) << c.maxX;
      // The pixel carries the label's value on the curves' scale (1 pixel = maxX/400).
      EXPECT_NEAR(ticks[i].Pixel, 50 + atof(ticks[i].Label) * 400 / c.maxX, 1.0) << c.maxX << " " << c.labels[i];
    }
  }
  GraphTick ticks[VERTICAL_TICKS];
  VerticalTicks({50, 400, 200, 2000, 1000}, ticks);
  const char* labels[] = {"200.0", "400.0", "600.0", "800.0", "1000.0"};
  const int pixels[] = {190, 150, 110, 70, 30};  // the top label at maxY, the top of the vertical axis
  for (int i = 0; i < VERTICAL_TICKS; i++) {
    EXPECT_STREQ(ticks[i].Label, labels[i]);
    EXPECT_EQ(ticks[i].Pixel, pixels[i]);
  }
}

TEST_F(Graph, CurvesInsideThePlotTheWithoutCurveOnTop) {
  // The second file's many hits put a sharp peak into the without curve:
  // straight lines reach it at the top of the vertical axis, a Bézier curve
  // passes below it.
  const uint32_t hits[] = {1, 40, 1, 3, 1, 5, 2};
  const struct { int files; bool bezier; } cases[] = {{4, true}, {5, false}, {6, false}, {7, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.files);
    for (int i = 0; i < c.files; i++) Add({(i + 1) * 2048u, hits[i]});
    Draw();
    int axisX = 1;  // the vertical axis: the first black pixel just above the horizontal one
    while (axisX < W && Pixel(axisX, H - 31) != BLACK) axisX++;
    const RECT plot = {axisX - 1, 29, W - 29, H - 29};  // pens are 2 pixels wide
    const RECT legend = {W - 150, 0, W, 45};
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
    EXPECT_TRUE(c.bezier ? redTop > 40 && redTop < H - 40 : redTop <= 31) << "the without curve's top at " << redTop;
    EXPECT_EQ(Crossings({axisX + 2, H - 28}, {1, 0}, {0, -4}, W - 40 - axisX), HORIZONTAL_TICKS);
    EXPECT_EQ(Crossings({axisX + 2, 34}, {0, 1}, {-4, 0}, H - 64), VERTICAL_TICKS - 1);  // the top one at the tip
    UseFolder(home);
  }
}

TEST_F(Graph, ThreeFilesShowNoDataInRed) {
  for (DWORD bytes : {2048u, 4096u, 6144u}) Add({bytes, 2});
  Draw(ODA_SELECT);
  EXPECT_EQ(Pixel(W / 2, H / 2), 0x123456u) << "a selection change leaves the picture alone";
  Draw();
  RECT message = {W / 2 - 40, H / 2 + 10, W / 2 + 80, H / 2 + 26};
  EXPECT_GT(Count(RED, message, true), 20);
  EXPECT_EQ(Count(RED, message, false), 0);
  EXPECT_EQ(Count(BLUE, message, false), 0);
  EXPECT_EQ(Pixel(0, 0), BLACK);
  EXPECT_EQ(Pixel(W - 1, H - 1), BLACK);
  EXPECT_EQ(Pixel(W - 10, H / 2), WHITE);
}

TEST_F(Graph, NoTwoTextsMeetWhateverTheLargestFile) {
  for (uint64_t largestK : {50, 100, 2000, 50000, 100000, 200000}) {
    SCOPED_TRACE(largestK);
    for (uint64_t sizeK : {uint64_t{2}, uint64_t{3}, uint64_t{4}, largestK}) Add({sizeK * 1024, 1});
    Draw();
    EXPECT_GE(drawnTexts.size(), 11u);  // two titles, two legends, five vertical labels, some horizontal ones
    UseFolder(home);
  }
}

}  // namespace
