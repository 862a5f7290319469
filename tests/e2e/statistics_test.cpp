// The Statistics page of the real Manager: the savings lines from the
// driver's counter, the cost fields on Apply, Clear history, and the
// performance graph's dialog.
#include <cstring>

#include "panel_session.h"

namespace {

constexpr int kKilobytes = 1051, kMoney = 1052, kHours = 1053, kSavedFrame = 1071;
constexpr int kHourCost = 1036, kMegabyteCost = 1061, kSpeed = 1070;
constexpr int kClear = 1056, kPerformance = 1059;
constexpr const char* kGraphCaption = "FileTrove Performance";
constexpr const char* kCacheFolder = "C:\\FTCACHE";

uint32_t Bits(float value) {
  uint32_t bits;
  memcpy(&bits, &value, sizeof bits);
  return bits;
}

class Statistics : public PanelTest {
 protected:
  void TearDown() override {
    PanelTest::TearDown();
    DeleteDriverValue("Total");
  }
  // "Other" as the page reads it: since a date, a speed index, two costs.
  static void StoreSavings(WORD year, WORD month, WORD day, uint32_t lineSpeed, float perMegabyte, float perHour) {
    WORD since[8] = {year, month, 0, day, 10, 20, 30, 0};
    Bytes stored(reinterpret_cast<uint8_t*>(since), reinterpret_cast<uint8_t*>(since) + sizeof since);
    WriteDriverValue("Other", REG_BINARY, Concat({stored, Le32(lineSpeed), Le32(Bits(perMegabyte)), Le32(Bits(perHour))}));
  }
  // Opens the panel (starting the Manager the first time) on the Statistics page.
  HWND OpenStatistics(HWND* sheet) {
    *sheet = run.window ? OpenPanel(run) : StartWithPanel();
    return *sheet ? ChooseSheetTab(*sheet, kStatisticsTab) : nullptr;
  }
  static std::vector<std::string> Lines(HWND page) {
    return {ControlText(page, kKilobytes), ControlText(page, kHours), ControlText(page, kMoney)};
  }
};

TEST_F(Statistics, FiguresFromTheDriversCounter) {
  // A 48 K file used 100 times from the cache: the driver counts 4800 K.
  const char* source = "C:\\FT\\stats48k.dat";
  FILE* file = fopen(source, "wb");
  ASSERT_NE(file, nullptr);
  fwrite(std::string(48 * 1024, 'x').data(), 1, 48 * 1024, file);
  fclose(file);
  CreateDirectoryA(kCacheFolder, nullptr);
  WriteDriverValue("CacheDir", REG_SZ, Text(kCacheFolder));
  DeleteDriverValue("Total");
  ASSERT_EQ(Ftctl(std::string("cache ") + source).exitCode, 0u);
  ASSERT_EQ(Ftctl("hit stats48k.dat 100").exitCode, 0u);
  StoreSavings(2026, 12, 5, 0, 0.0f, 20.0f);

  HWND sheet = nullptr;
  HWND page = OpenStatistics(&sheet);
  EXPECT_EQ(Lines(page), (std::vector<std::string>{"Total kilobytes saved: 4800", "Total time saved:    1 hours",
                                                   "Total money saved:   $22.76"}));
  EXPECT_EQ(ControlText(page, kSavedFrame), "Saved by cache since 12/5/2026");
  EXPECT_EQ(ControlText(page, kMegabyteCost), "0.00");
  EXPECT_EQ(ControlText(page, kHourCost), "20.00");
  EXPECT_EQ(ComboItems(page, kSpeed),
            (std::vector<std::string>{"9600", "14400", "19200", "28800", "38400", "57600", "115200", "LAN"}));
  EXPECT_EQ(ComboSelection(page, kSpeed), 0);

  DeleteFileA(source);
  DeleteFileA("C:\\FTCACHE\\stats48k.dat");
  DeleteDriverValue("stats48k.dat");
}

TEST_F(Statistics, InvalidCostsRefuseApplyWithTheirOwnBox) {
  StoreSavings(2026, 1, 1, 1, 1.0f, 20.0f);
  HWND sheet = nullptr;
  HWND page = OpenStatistics(&sheet);
  ASSERT_NE(page, nullptr);
  Bytes before, stored;
  ReadDriverValue("Other", &before);

  const std::string manyDigits(100, '9');  // pasted by another program: no finite float
  const struct {
    const char *megabyte, *hour, *box;
  } refusals[] = {
      {manyDigits.c_str(), "20", "Invalid MegaByte cost value."},
      {"1,5", "20", "Invalid MegaByte cost value."},
      {"3.5", "abc", "Invalid Hour Cost value."},
  };
  for (const auto& r : refusals) {
    SetText(page, kMegabyteCost, r.megabyte);
    SetText(page, kHourCost, r.hour);
    PressButton(sheet, kApplyButton);
    Box box = AnswerBox();
    EXPECT_EQ(box.text, r.box);
    EXPECT_EQ(box.owner, sheet);
    EXPECT_TRUE(NoBoxWithin(300));
    EXPECT_EQ(CurrentSheetTab(sheet), kStatisticsTab);
    ReadDriverValue("Other", &stored);
    EXPECT_EQ(stored, before) << r.box;
  }

  // The megabyte cost read before the refused hour cost stays in memory:
  // the next activation shows it, and the next Apply stores it.
  ChooseSheetTab(sheet, kAboutTab);
  page = ChooseSheetTab(sheet, kStatisticsTab);
  EXPECT_EQ(ControlText(page, kMegabyteCost), "3.50");
  EXPECT_EQ(ControlText(page, kHourCost), "20.00");
  PressApply(sheet);
  EXPECT_EQ(StoredWord("Other", 20), Bits(3.5f));
}

TEST_F(Statistics, SpeedBeyondTheListSelectsNothingAndCountsAsLan) {
  StoreSavings(2026, 1, 1, 8, 0.0f, 20.0f);
  WriteDriverValue("Total", REG_BINARY, Le32(360000));  // 7.1 hours at 115200, 56.9 at 14400
  for (int opening = 0; opening < 2; opening++) {
    HWND sheet = nullptr;
    HWND page = OpenStatistics(&sheet);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(ComboSelection(page, kSpeed), -1) << opening;
    EXPECT_EQ(ControlText(page, kHours), "Total time saved:    7 hours") << opening;
    PressApply(sheet);
    EXPECT_EQ(StoredWord("Other", 16), 0xFFFFFFFFu);
    ASSERT_TRUE(CloseSheet(sheet, IDCANCEL));
  }
}

TEST_F(Statistics, ClearHistoryResetsAtOnceButTheDateNeedsApply) {
  StoreSavings(2020, 1, 2, 0, 0.0f, 20.0f);
  WriteDriverValue("Total", REG_BINARY, Le32(4800));
  HWND sheet = nullptr;
  HWND page = OpenStatistics(&sheet);
  ASSERT_NE(page, nullptr);
  ClickAndSync(page, kClear);
  const std::vector<std::string> zeros = {"Total kilobytes saved: 0", "Total time saved:    0 hours",
                                          "Total money saved:   $0.00"};
  EXPECT_EQ(Lines(page), zeros);
  SYSTEMTIME today;
  GetSystemTime(&today);
  char caption[64];
  snprintf(caption, sizeof caption, "Saved by cache since %d/%d/%d", today.wMonth, today.wDay, today.wYear);
  EXPECT_EQ(ControlText(page, kSavedFrame), caption);
  Bytes total;
  ASSERT_TRUE(ReadDriverValue("Total", &total));
  EXPECT_EQ(total, Le32(0));

  ASSERT_TRUE(CloseSheet(sheet, IDCANCEL));
  page = OpenStatistics(&sheet);
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(ControlText(page, kSavedFrame), "Saved by cache since 1/2/2020");
  EXPECT_EQ(Lines(page), zeros);
}

TEST_F(Statistics, CostsNobodyTouchedKeepTheirStoredValues) {
  StoreSavings(2026, 1, 1, 1, 0.004f, 1.125f);
  HWND sheet = nullptr;
  HWND page = OpenStatistics(&sheet);
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(ControlText(page, kMegabyteCost), "0.00");
  ASSERT_TRUE(CloseSheet(sheet, IDOK));
  EXPECT_EQ(StoredWord("Other", 20), Bits(0.004f));
  EXPECT_EQ(StoredWord("Other", 24), Bits(1.125f));
}

TEST_F(Statistics, LargeCostsSurviveOkAndTypingStopsAtSeven) {
  StoreSavings(2026, 1, 1, 1, 12345.67f, 20.0f);
  HWND sheet = nullptr;
  HWND page = OpenStatistics(&sheet);
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(ControlText(page, kMegabyteCost), "12345.67");
  SetText(page, kHourCost, "");
  TypeText(page, kHourCost, "123456789");
  EXPECT_EQ(ControlText(page, kHourCost), "1234567");
  ASSERT_TRUE(CloseSheet(sheet, IDOK));
  EXPECT_EQ(StoredWord("Other", 20), Bits(12345.67f));
  EXPECT_EQ(StoredWord("Other", 24), Bits(1234567.0f));
}

TEST_F(Statistics, PerformanceOpensTheGraphAndCloseEndsIt) {
  HWND sheet = nullptr;
  HWND page = OpenStatistics(&sheet);
  ASSERT_NE(page, nullptr);
  for (int button : {IDOK, IDCANCEL}) {  // Close, or Escape and the close box
    PressButton(page, kPerformance);
    HWND graph = WaitForWindow("#32770", kGraphCaption, kDefaultTimeoutMs, run.program.pid);
    ASSERT_NE(graph, nullptr);
    Sync(graph);  // the window is found while its controls are still being made
    EXPECT_EQ(ControlText(graph, IDOK), "Close");
    EXPECT_EQ(GetWindow(graph, GW_OWNER), sheet);
    PostMessageA(graph, WM_COMMAND, button, 0);
    EXPECT_TRUE(WaitWindowGone(graph, kDefaultTimeoutMs)) << button;
  }
}

}  // namespace
