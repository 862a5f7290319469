// The Statistics page: the real page over the stored parameters and the
// driver's counter.
#include <gtest/gtest.h>

#include <string>

#include "page_host.h"

namespace {

class StatisticsPage : public PageTest {
 protected:
  // "Other" as the page reads it: since a date, a speed index, two costs.
  static void StoreSavings(WORD year, WORD month, WORD day, uint32_t lineSpeed, float perMegabyte, float perHour) {
    WORD since[8] = {year, month, 0, day, 10, 20, 30, 0};
    Bytes other(reinterpret_cast<uint8_t*>(since), reinterpret_cast<uint8_t*>(since) + sizeof since);
    for (uint32_t word : {lineSpeed, Bits(perMegabyte), Bits(perHour)}) other = Concat({other, Le32(word)});
    WriteDriverValue("Other", REG_BINARY, other);
  }
  static uint32_t Bits(float value) { uint32_t bits; memcpy(&bits, &value, 4); return bits; }
  HWND OpenStatistics() { return Open(IDD_STATISTICS, StatisticsPageProc); }
  // The three savings lines and the frame's caption.
  std::vector<std::string> Shown() {
    std::vector<std::string> texts;
    for (int control : {IDC_STATS_KILOBYTES, IDC_STATS_HOURS, IDC_STATS_MONEY, IDC_STATS_SAVED_FRAME})
      texts.push_back(ControlText(page, control));
    return texts;
  }
};

TEST_F(StatisticsPage, ShowsTheDriversCounterWithTheStoredParametersInTheirPrecision) {
  // Total (none stored, or its bytes), the stored speed index and costs; the
  // lines shown; the speed selected, which Apply stores (none: 0xFFFFFFFF).
  const Bytes none;
  const struct { Bytes total; uint32_t speed; float perMegabyte, perHour; const char *kilobytes, *hours, *money;
                 uint32_t selected; } cases[] = {
      {none, 1, 0.0f, 20.0f, "0", "0", "0.00", 1},
      {Le32(10240), 7, 0.5f, 0.0f, "10240", "0", "5.00", 7},                // LAN
      {Le32(360000), 8, 0.0f, 20.0f, "360000", "7", "142.22", 0xFFFFFFFF},  // beyond the list: LAN speed
  };
  for (const auto& c : cases) {
    StoreSavings(2026, 12, 5, c.speed, c.perMegabyte, c.perHour);
    DeleteDriverValue("Total");
    if (!c.total.empty()) WriteDriverValue("Total", REG_BINARY, c.total);
    ASSERT_NE(OpenStatistics(), nullptr);
    EXPECT_EQ(Shown(), (std::vector<std::string>{std::string("Total kilobytes saved: ") + c.kilobytes,
                                                 std::string("Total time saved:    ") + c.hours + " hours",
                                                 std::string("Total money saved:   $") + c.money,
                                                 "Saved by cache since 12/5/2026"}));
    EXPECT_EQ(ComboItems(page, IDC_STATS_SPEED),
              (std::vector<std::string>{"9600", "14400", "19200", "28800", "38400", "57600", "115200", "LAN"}));
    EXPECT_EQ(static_cast<uint32_t>(SendDlgItemMessageA(page, IDC_STATS_SPEED, CB_GETCURSEL, 0, 0)), c.selected);
    ASSERT_TRUE(Apply());
    EXPECT_EQ(StoredWord("Other", 16), c.selected);
    DestroyWindow(sheet);
  }
}

// An invalid cost is refused with its field's box and nothing stored; a
// megabyte cost read before a refused hour cost stays read. Costs nobody
// edited keep what they stand for; typed ones are read, at most 7 characters.
TEST_F(StatisticsPage, ApplyReadsEditedCostsOnlyAndRefusesInvalidOnes) {
  StoreSavings(2026, 1, 1, 1, 0.004f, 1.125f);
  ASSERT_NE(OpenStatistics(), nullptr);
  Bytes before, stored;
  ReadDriverValue("Other", &before);
  const struct { const char *megabyte, *hour, *box; } refusals[] = {
      {"1,5", "20", "Invalid MegaByte cost value."}, {"3.5", "abc", "Invalid Hour Cost value."}};
  for (const auto& r : refusals) {
    SetText(page, IDC_STATS_MB_COST, r.megabyte);
    SetText(page, IDC_STATS_HOUR_COST, r.hour);
    bool accepted = true;
    EXPECT_EQ(OneBox([&] { accepted = Apply(); }), std::string("FileTrove: ") + r.box);
    EXPECT_FALSE(accepted);
    ReadDriverValue("Other", &stored);
    EXPECT_EQ(stored, before) << r.box;
  }
  Revisit();
  EXPECT_EQ(ControlText(page, IDC_STATS_MB_COST), "3.50");
  EXPECT_EQ(ControlText(page, IDC_STATS_HOUR_COST), "1.12");
  ASSERT_TRUE(Apply());
  EXPECT_EQ(StoredWord("Other", 20), Bits(3.5f));
  EXPECT_EQ(StoredWord("Other", 24), Bits(1.125f));
  for (int field : {IDC_STATS_MB_COST, IDC_STATS_HOUR_COST}) {
    SetText(page, field, "");
    TypeText(page, field, field == IDC_STATS_MB_COST ? "123456789" : "98765.4321");
  }
  EXPECT_EQ(ControlText(page, IDC_STATS_MB_COST), "1234567");
  EXPECT_EQ(ControlText(page, IDC_STATS_HOUR_COST), "98765.4");
  ASSERT_TRUE(Apply());
  EXPECT_EQ(StoredWord("Other", 20), Bits(1234567.0f));
  EXPECT_EQ(StoredWord("Other", 24), Bits(98765.4f));
}

TEST_F(StatisticsPage, ClearHistoryZeroesTheCounterAtOnceAndTheDateWaitsForApply) {
  StoreSavings(2020, 1, 2, 0, 0.0f, 20.0f);
  WriteDriverValue("Total", REG_BINARY, Le32(4800));
  ASSERT_NE(OpenStatistics(), nullptr);
  Bytes before, stored;
  ReadDriverValue("Other", &before);
  Click(IDC_STATS_CLEAR);
  SYSTEMTIME today;
  GetSystemTime(&today);
  char since[64];
  snprintf(since, sizeof since, "Saved by cache since %d/%d/%d", today.wMonth, today.wDay, today.wYear);
  EXPECT_EQ(Shown(), (std::vector<std::string>{"Total kilobytes saved: 0", "Total time saved:    0 hours",
                                               "Total money saved:   $0.00", since}));
  ASSERT_TRUE(ReadDriverValue("Total", &stored));
  EXPECT_EQ(stored, Le32(0));
  ReadDriverValue("Other", &stored);
  EXPECT_EQ(stored, before);
  ASSERT_TRUE(Apply());
  EXPECT_EQ(StoredWord("Other", 0), today.wYear | (today.wMonth << 16u));
  EXPECT_EQ(StoredWord("Other", 4) >> 16, today.wDay);
}

// OK closing the graph is an end-to-end test, in German.
TEST_F(StatisticsPage, PerformanceOpensTheGraphOverTheSheetAndCancelEndsIt) {
  ASSERT_NE(OpenStatistics(), nullptr);
  auto shown = Opened([&] { Click(IDC_STATS_PERFORMANCE); },
                      [](HWND graph) { PostMessageA(graph, WM_COMMAND, IDCANCEL, 0); });
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].caption, "FileTrove Performance");
  EXPECT_EQ(shown[0].owner, sheet);
}

}  // namespace
