// The Statistics page's arithmetic: cost parsing, line speeds, savings lines.
#include <gtest/gtest.h>

#include <string>

#include "panel/statistics_page.h"
#include "text/message_text.h"

namespace {

TEST(CostText, DigitsWithAtMostOnePoint) {
  for (const char* text : {"12.50", ".5", "", ".", "20", "12345.67", "007."})
    EXPECT_TRUE(IsCostText(text)) << '"' << text << '"';
  for (const char* text : {"1.2.3", "-1", "+1", "1,5", "1e3", " 5", "5 ", "$5", ".."})
    EXPECT_FALSE(IsCostText(text)) << '"' << text << '"';
}

TEST(CostText, AnEditedFieldIsReadAFieldNobodyEditedKeepsItsCost) {
  const std::string manyDigits(100, '9');
  const struct {
    const char* text;
    bool edited;
    bool valid;
    float cost;  // from a stored 0.004
  } cases[] = {
      {"0.00", false, true, 0.004f},     {"", true, true, 0.0f},          {"12.50", true, true, 12.5f},
      {"0.00", true, true, 0.0f},        {"1,5", true, false, 0.004f},    {manyDigits.c_str(), true, false, 0.004f},
      {"1000000000000000000000000000000000000000", true, false, 0.004f},  // beyond the largest float
  };
  for (const auto& c : cases) {
    float cost = 0.004f;
    EXPECT_EQ(ReadCostText(c.text, c.edited, &cost), c.valid) << '"' << c.text << '"';
    EXPECT_EQ(cost, c.cost) << '"' << c.text << '"';
  }
}

TEST(LineSpeed, ListIndexOrLanSpeed) {
  const struct {
    uint32_t index;
    float speed;
  } cases[] = {{0, 9600}, {1, 14400}, {5, 57600}, {6, 115200}, {7, 115200}, {8, 115200}, {0xFFFFFFFF, 115200}};
  for (const auto& c : cases) EXPECT_EQ(LineSpeedOf(c.index), c.speed) << c.index;
  EXPECT_STREQ(LineSpeedList[7], "LAN");
}

// The lines as the page shows them, with the string table's formats.
class SavingsLines : public ::testing::Test {
 protected:
  void SetUp() override {
    AppInstance = GetModuleHandleA(nullptr);
    LanguageFilePath[0] = '\0';
  }
  static std::string Line(TextId text, double value) {
    char line[256];
    FormatSavingsLine(text, value, line, sizeof line);
    return line;
  }
};

TEST_F(SavingsLines, FiguresInTheirOrderAndPrecision) {
  const struct {
    uint32_t total;
    uint32_t lineSpeed;
    float perMegabyte, perHour;
    const char *kilobytes, *hours, *money;
  } cases[] = {
      {0, 1, 0.0f, 20.0f, "Total kilobytes saved: 0", "Total time saved:    0 hours", "Total money saved:   $0.00"},
      {4800, 0, 0.0f, 20.0f, "Total kilobytes saved: 4800", "Total time saved:    1 hours",
       "Total money saved:   $22.76"},
      {10240, 6, 0.5f, 0.0f, "Total kilobytes saved: 10240", "Total time saved:    0 hours",
       "Total money saved:   $5.00"},
      {10240, 7, 0.5f, 0.0f, "Total kilobytes saved: 10240", "Total time saved:    0 hours",
       "Total money saved:   $5.00"},
      // The largest counter: bytes held as a float, hours from the exact count.
      {0xFFFFFFFF, 0, 0.0f, 1.0f, "Total kilobytes saved: 4294967296", "Total time saved:    1018066 hours",
       "Total money saved:   $1018066.31"},
  };
  for (const auto& c : cases) {
    SavingsFigures figures = ComputeSavings(c.total, LineSpeedOf(c.lineSpeed), c.perMegabyte, c.perHour);
    EXPECT_EQ(Line(TEXT_STATS_KILOBYTES_LINE, figures.Bytes / 1024.0), c.kilobytes);
    EXPECT_EQ(Line(TEXT_STATS_HOURS_LINE, figures.Hours), c.hours) << c.total;
    EXPECT_EQ(Line(TEXT_STATS_MONEY_LINE, figures.Money), c.money) << c.total;
  }
  SavingsFigures lan = ComputeSavings(3000000, LineSpeedOf(7), 0, 1);
  SavingsFigures fastest = ComputeSavings(3000000, LineSpeedOf(6), 0, 1);
  EXPECT_EQ(lan.Hours, fastest.Hours);
  EXPECT_EQ(Line(TEXT_STATS_HOURS_LINE, lan.Hours), "Total time saved:    59 hours");
}

TEST_F(SavingsLines, SinceIsMonthDayYearWithoutZeros) {
  SYSTEMTIME since = {};
  since.wYear = 2026;
  since.wMonth = 12;
  since.wDay = 5;
  char caption[256];
  FormatSinceCaption(since, caption, sizeof caption);
  EXPECT_STREQ(caption, "Saved by cache since 12/5/2026");
}

}  // namespace
