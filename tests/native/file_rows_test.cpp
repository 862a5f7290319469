// The File Manager's rows: the order under each header, the cell texts and
// the totals, with file times written out as ticks since 1601.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "panel/file_manager_rows.h"

namespace {

constexpr uint64_t MARCH_7_1997_1AM = 0x01BC2A92E1B72800, MARCH_6_1997_11PM = 0x01BC2A821E2E5800,
                   FEBRUARY_28_1997 = 0x01BC250A570E8000, MARCH_7_1997_11PM = 0x01BC2B4B48981800;
constexpr uint64_t NO_DATE = 0x8000000000000000;  // past what converts

using Row = std::unique_ptr<CachedFileRow, decltype(&free)>;
Row MakeRow(const char* name, uint64_t size = 0, uint64_t lastUsed = 0, uint32_t hits = 0) {
  Row row(NewCachedFileRow(name, "NAME~1.DAT", size), &free);
  row->LastUsed = {static_cast<uint32_t>(lastUsed), static_cast<uint32_t>(lastUsed >> 32)};
  row->Hits = hits;
  return row;
}

TEST(FileManagerRows, EachHeaderOrdersItsOneWay) {
  const struct { Row a, b; int column, sign; } cases[] = {  // sign of CompareRows(a, b): negative puts a first
      {MakeRow("a.dat"), MakeRow("B.dat"), COLUMN_NAME, -1},
      {MakeRow("_"), MakeRow("A"), COLUMN_NAME, -1},  // letters as lower case: '_' before 'a'
      {MakeRow("small", 1), MakeRow("large", 4294967296), COLUMN_SIZE, 1},
      {MakeRow("the day before", 0, MARCH_6_1997_11PM), MakeRow("b", 0, MARCH_7_1997_1AM), COLUMN_LAST_USED, 1},
      {MakeRow("a month before", 0, FEBRUARY_28_1997), MakeRow("b", 0, MARCH_7_1997_1AM), COLUMN_LAST_USED, 1},
      {MakeRow("same day", 0, MARCH_7_1997_11PM), MakeRow("b", 0, MARCH_7_1997_1AM), COLUMN_LAST_USED, 0},
      {MakeRow("no date"), MakeRow("b", 0, MARCH_7_1997_1AM), COLUMN_LAST_USED, 1},
      {MakeRow("a date that does not convert", 0, NO_DATE), MakeRow("no date"), COLUMN_LAST_USED, 0},
      {MakeRow("a date whose low word is 0", 0, 0x01BC000000000000), MakeRow("b"), COLUMN_LAST_USED, -1},
      {MakeRow("most hits", 0, 0, 0xFFFFFFFF), MakeRow("none"), COLUMN_HITS, -1},
      {MakeRow("a column without an order"), MakeRow("b", 9, MARCH_7_1997_1AM, 9), FILE_LIST_COLUMNS, 0},
  };
  auto sign = [](int value) { return (value > 0) - (value < 0); };
  for (const auto& c : cases) {
    EXPECT_EQ(sign(CompareRows(c.a.get(), c.b.get(), c.column)), c.sign) << c.a->Name;
    EXPECT_EQ(sign(CompareRows(c.b.get(), c.a.get(), c.column)), -c.sign) << c.a->Name << " (swapped)";
  }
  for (int column = 0; column < FILE_LIST_COLUMNS; column++)
    EXPECT_TRUE(!CompareRows(nullptr, cases[0].b.get(), column) && !CompareRows(cases[0].b.get(), nullptr, column));
}

// Cells, names beyond the longest, a narrow buffer, totals below zero.
TEST(FileManagerRows, CellTextsNamesAndTotals) {
  const Row dated = MakeRow("dated.dat", 4294967296, MARCH_7_1997_11PM, 4294967295);
  const Row may2020 = MakeRow("x", 0, 0x01D6200C3DA61800);
  const struct { const CachedFileRow* row; int column; size_t size; std::string text; } cells[] = {
      {dated.get(), COLUMN_NAME, 50, "dated.dat"},    {dated.get(), COLUMN_SIZE, 50, "4294967296"},
      {dated.get(), COLUMN_LAST_USED, 50, "3/7/1997"}, {dated.get(), COLUMN_HITS, 50, "4294967295"},
      {dated.get(), COLUMN_SIZE, 5, "4294"},           {may2020.get(), COLUMN_LAST_USED, 50, "5/1/2020"},
      {nullptr, COLUMN_SIZE, 50, ""},
  };
  char text[50];
  for (const auto& c : cells) EXPECT_EQ(CellText(c.row, c.column, "No info", text, c.size), c.text) << c.text;
  for (uint64_t lastUsed : {uint64_t{0}, NO_DATE})
    EXPECT_STREQ(CellText(MakeRow("x", 0, lastUsed).get(), COLUMN_LAST_USED, "No info", text, 50), "No info");

  const std::string longest(FILE_NAME_MAX, 'n'), tooLong(300, 'x');
  EXPECT_EQ(MakeRow(longest.c_str())->Name, longest);
  EXPECT_EQ(MakeRow(tooLong.c_str())->Name, tooLong.substr(0, FILE_NAME_MAX));
  EXPECT_STREQ(Row(NewCachedFileRow("n", "0123456789ABCDEF", 0), &free)->ShortName, "0123456789ABC");

  // The fill rounds the kilobytes and a deletion does not: 4000 bytes, then 2000.
  FormatTotals("%ld File(s), %.0lf K", 3, FillKilobytes(4000), text, sizeof text);
  EXPECT_STREQ(text, "3 File(s), 4 K");
  FormatTotals("%ld File(s), %.0lf K", 2, DeletionKilobytes(2000), text, sizeof text);
  EXPECT_STREQ(text, "2 File(s), 2 K");
  FormatTotals("%ld File(s), %.0lf K", 1, DeletionKilobytes(511), text, sizeof text);
  EXPECT_STREQ(text, "1 File(s), 0 K");
  uint32_t count = 2;
  double bytes = 6442450944.0 + 1024;  // 6 GB and 1 K: a row of 5 GB goes whole, then neither figure goes below 0
  for (uint64_t size : {5368709120ull, 1073745000ull, 7ull}) SubtractRow(&count, &bytes, size);
  EXPECT_EQ(count, 0u);
  EXPECT_EQ(bytes, 0.0);
}

}  // namespace
