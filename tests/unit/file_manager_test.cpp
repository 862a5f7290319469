// The File Manager page's rows: their order, cell texts, totals and paths.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "harness.h"
#include "panel/file_manager_page.h"
#include "settings/cache_folder.h"
#include "settings/settings.h"

namespace {

struct FreeRow {
  void operator()(CachedFileRow* row) const { free(row); }
};
using Row = std::unique_ptr<CachedFileRow, FreeRow>;

Row MakeRow(const char* name, uint64_t size = 0, FILETIME lastUsed = {}, uint32_t hits = 0) {
  Row row(NewCachedFileRow({name, "", size}));
  row->LastUsed = lastUsed;
  row->Hits = hits;
  return row;
}

int Sign(int value) { return (value > 0) - (value < 0); }

TEST(FileManagerRows, CompareRowsInEachColumnsFixedOrder) {
  const FILETIME march7Morning = Utc(1997, 3, 7, 1), march7Night = Utc(1997, 3, 7, 23);
  struct Case {
    const char* label;
    Row a, b;
    int column;
    int sign;  // of CompareRows(a, b): negative puts a first
  };
  Case cases[] = {
      {"names without regard to case", MakeRow("Report.DOC"), MakeRow("report.doc"), 0, 0},
      {"names ascending", MakeRow("beta"), MakeRow("Alpha"), 0, 1},
      {"largest size first", MakeRow("a", 1000), MakeRow("b", 2000), 1, 1},
      {"sizes 2^31 and more apart", MakeRow("a", 1), MakeRow("b", 3000000000u), 1, 1},
      {"sizes at the extremes", MakeRow("a", 0xFFFFFFFFu), MakeRow("b", 0), 1, -1},
      {"sizes of 4 GB and more", MakeRow("a", 0xFFFFFFFFu), MakeRow("b", 0x100000000u), 1, 1},
      {"equal sizes", MakeRow("a", 7), MakeRow("b", 7), 1, 0},
      {"most hits first", MakeRow("a", 0, {}, 2), MakeRow("b", 0, {}, 5), 3, 1},
      {"hits at the extremes", MakeRow("a", 0, {}, 0), MakeRow("b", 0, {}, 0xFFFFFFFFu), 3, 1},
      {"hits 2^31 and more apart", MakeRow("a", 0, {}, 3000000000u), MakeRow("b", 0, {}, 1), 3, -1},
      {"same day, other hours", MakeRow("a", 0, march7Morning), MakeRow("b", 0, march7Night), 2, 0},
      {"most recent day first", MakeRow("a", 0, Utc(1997, 3, 6, 23)), MakeRow("b", 0, march7Morning), 2, 1},
      {"year before month and day", MakeRow("a", 0, Utc(1998, 1, 1)), MakeRow("b", 0, Utc(1997, 12, 31)), 2, -1},
      {"rows without a date last", MakeRow("a"), MakeRow("b", 0, Utc(1601, 1, 2)), 2, 1},
      {"a date that does not convert counts as none", MakeRow("a", 0, {0, 0x80000000u}), MakeRow("b"), 2, 0},
      {"a column without an order", MakeRow("a", 1), MakeRow("b", 2), 4, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Sign(CompareRows(c.a.get(), c.b.get(), c.column)), c.sign) << c.label;
    EXPECT_EQ(Sign(CompareRows(c.b.get(), c.a.get(), c.column)), -c.sign) << c.label << " (swapped)";
  }
  Row row = MakeRow("a", 5);
  for (int column = 0; column < FILE_LIST_COLUMNS; column++) {
    EXPECT_EQ(CompareRows(nullptr, row.get(), column), 0) << "a missing row, column " << column;
    EXPECT_EQ(CompareRows(row.get(), nullptr, column), 0) << "a missing row, column " << column;
  }
}

TEST(FileManagerRows, CellTextsAreTheRowsFieldsAndTheNameIsData) {
  Row dated = MakeRow("%s%n.dat", 5000000000u, Utc(1997, 3, 7, 23), 42);
  Row undated = MakeRow("plain.txt");
  struct Case {
    const CachedFileRow* row;
    int column;
    const char* text;
  };
  const Case cases[] = {{dated.get(), 1, "5000000000"}, {dated.get(), 2, "3/7/1997"}, {dated.get(), 3, "42"},
                        {undated.get(), 2, "No info available"}, {undated.get(), 3, "0"}, {nullptr, 1, ""}};
  char buffer[50];
  for (const Case& c : cases)
    EXPECT_STREQ(CellText(c.row, c.column, "No info available", buffer, sizeof buffer), c.text) << c.column;
  EXPECT_EQ(CellText(dated.get(), 0, "", buffer, sizeof buffer), dated->Name) << "the row's own name is handed out";

  std::string longest(FILE_NAME_MAX, 'n'), tooLong(300, 'x');
  EXPECT_EQ(MakeRow(longest.c_str())->Name, longest);
  EXPECT_EQ(MakeRow(tooLong.c_str())->Name, tooLong.substr(0, FILE_NAME_MAX));
}

TEST(FileManagerRows, TotalsRoundOnFillButNotOnDeletion) {
  const char* format = "%ld File(s), %.0lf K";
  char text[100];
  FormatTotals(format, 3, FillKilobytes(1000 + 1000 + 2000), text, sizeof text);
  EXPECT_STREQ(text, "3 File(s), 4 K");
  FormatTotals(format, 1, FillKilobytes(1023), text, sizeof text);
  EXPECT_STREQ(text, "1 File(s), 1 K") << "1023 bytes and half a kilobyte stay below 1.5 K";

  struct Step {
    uint32_t size;  // of the row that goes
    const char* text;
  };
  uint32_t count = 3;
  double bytes = 4000;
  const Step steps[] = {{2000, "2 File(s), 2 K"},  // 2000 / 1024 = 1.95
                        {1000, "1 File(s), 1 K"},
                        {1000, "0 File(s), 0 K"},
                        {5000, "0 File(s), 0 K"}};  // neither figure falls below zero
  for (const Step& step : steps) {
    SubtractRow(&count, &bytes, step.size);
    FormatTotals(format, count, DeletionKilobytes(bytes), text, sizeof text);
    EXPECT_STREQ(text, step.text);
  }
  FormatTotals(format, 10000, FillKilobytes(10000.0 * 0xFFFFFFFFu), text, sizeof text);
  EXPECT_STREQ(text, "10000 File(s), 41943039991 K") << "a sum beyond 32 bits";
  bytes = 6442450944.0 + 1024;  // 6 GB and 1 K
  SubtractRow(&count, &bytes, 5368709120u);  // 5 GB
  FormatTotals(format, count, DeletionKilobytes(bytes), text, sizeof text);
  EXPECT_STREQ(text, "0 File(s), 1048577 K") << "a row of 5 GB goes whole";
}

TEST(CacheFolder, PathsAreNeverCutShort) {
  char path[MAX_PATH];
  std::string fits(MAX_PATH - 1 - 11, 'f'), tooLong(MAX_PATH - 11, 't');  // after "C:\FTCACHE\"
  snprintf(CacheDirectory, sizeof CacheDirectory, "C:\\FTCACHE");
  EXPECT_TRUE(CachedFilePath(fits.c_str(), path, sizeof path));
  EXPECT_EQ(std::string(path), "C:\\FTCACHE\\" + fits);
  EXPECT_FALSE(CachedFilePath(tooLong.c_str(), path, sizeof path)) << "never cut short";
  EXPECT_TRUE(CachedFilePath("%s%n.dat", path, sizeof path));
  EXPECT_STREQ(path, "C:\\FTCACHE\\%s%n.dat");
  CacheDirectory[0] = '\0';
  EXPECT_FALSE(CachedFilePath("a.dat", path, sizeof path)) << "an unusable folder";
  snprintf(CacheDirectory, sizeof CacheDirectory, "C:\\");
}

}  // namespace
