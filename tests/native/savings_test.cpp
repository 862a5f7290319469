// The Statistics page's figures and the reading of a typed cost.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "panel/savings.h"

namespace {

TEST(CostText, EditedFieldsAreReadWhenDigitsWithAtMostOnePoint) {
  const struct { const char* text; bool edited, valid; float cost; } cases[] = {  // from a stored 0.004
      {"19.50", true, true, 19.5f}, {"007.", true, true, 7.0f}, {".5", true, true, 0.5f}, {"", true, true, 0.0f},
      {".", true, true, 0.0f}, {"0.00", false, true, 0.004f}, {"1.2.3", true, false, 0.004f},
      {"1,5", true, false, 0.004f}, {"/", true, false, 0.004f}, {":", true, false, 0.004f},
      {"-1", true, false, 0.004f}, {"1e3", true, false, 0.004f}, {" 5", true, false, 0.004f},
      {"12345.67", true, true, 12345.67f},  // shown with more characters than can be typed
      {"1000000000000000000000000000000000000000", true, false, 0.004f},  // beyond the largest float
  };
  for (const auto& c : cases) {
    float cost = 0.004f;
    EXPECT_EQ(ReadCostText(c.text, c.edited, &cost), c.valid) << '"' << c.text << '"';
    EXPECT_EQ(cost, c.cost) << '"' << c.text << '"';
  }
  char shown[16];
  FormatCost(20.0f, shown, sizeof shown);
  EXPECT_STREQ(shown, "20.00");
}

// The three lines as the page formats them: kilobytes, hours, money.
TEST(Savings, FiguresFromTheCounterAtEachSpeedInTheirPrecision) {
  const struct { uint32_t kilobytes, speed; float perMegabyte, perHour; const char *bytes, *hours, *money; } cases[] = {
      {0, 1, 0.0f, 20.0f, "0", "0", "0.00"},
      {4800, 0, 0.0f, 20.0f, "4800", "1", "22.76"},  // 1.1378 hours
      {10240, 1, 0.5f, 3.0f, "10240", "2", "9.85"},
      {10240, 6, 0.5f, 0.0f, "10240", "0", "5.00"},
      {10240, 7, 0.5f, 0.0f, "10240", "0", "5.00"},       // LAN
      {360000, 8, 0.0f, 20.0f, "360000", "7", "142.22"},  // beyond the list: LAN speed
      {360000, 0xFFFFFFFF, 0.0f, 20.0f, "360000", "7", "142.22"},
      // The largest counter: bytes held as a float, hours from the exact count.
      {0xFFFFFFFF, 0, 0.0f, 1.0f, "4294967296", "1018066", "1018066.31"},
  };
  for (const auto& c : cases) {
    SavingsFigures figures = ComputeSavings(c.kilobytes, LineSpeedOf(c.speed), c.perMegabyte, c.perHour);
    char shown[3][32];
    snprintf(shown[0], sizeof shown[0], "%.0f", figures.Bytes / 1024.0);
    snprintf(shown[1], sizeof shown[1], "%.0f", static_cast<double>(figures.Hours));
    snprintf(shown[2], sizeof shown[2], "%.2f", static_cast<double>(figures.Money));
    EXPECT_EQ(std::string(shown[0]) + " " + shown[1] + " " + shown[2],
              std::string(c.bytes) + " " + c.hours + " " + c.money)
        << c.kilobytes << " at speed " << c.speed;
  }
}

}  // namespace
