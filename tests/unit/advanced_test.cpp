// The Advanced page in a sheet: its fields, its refusals and its Apply.
#include <gtest/gtest.h>

#include "page_host.h"

namespace {

// The real page in a sheet of this process, over the stored "Data" and "Data2".
class AdvancedPage : public PageTest {
 protected:
  HWND OpenWith(uint32_t autoDelete, uint32_t days, uint32_t size, uint32_t free) {
    WriteDriverValue("Data", REG_BINARY, Concat({Le32(1), Le32(1), Le32(size), Le32(free)}));
    WriteDriverValue("Data2", REG_BINARY, Concat({Le32(autoDelete), Le32(days)}));
    return Open(IDD_ADVANCED, AdvancedPageProc);
  }
  // Empties a field and types into it; the field's own filter and limit apply.
  void Retype(int control, const char* text) {
    SetText(page, control, "");
    TypeText(page, control, text);
  }
};

TEST_F(AdvancedPage, FieldsShowTheStoreWholeAndApplyStoresWhatTheyShow) {
  // Stored, shown, typed (each field takes so many digits) or pasted (null:
  // left as shown), the days spun up once, and what Apply stores.
  const struct { const char* label; uint32_t autoDelete, days, size, free;
                 const char *shownFree, *typedDays, *typedSize, *typedFree, *pastedFree; bool spin;
                 uint32_t storedDays, storedSize, storedFree; } cases[] = {
      {"a floor above 999, pasted -5", 1, 30, 300, 100000, "100000", nullptr, nullptr, nullptr, "-5", false, 30, 300,
       100000},
      {"off: empty days keep theirs", 0, 45, 300, 100, "100", "", "0", nullptr, "0", false, 45, 0, 0},
      {"five size digits pass the up-down's 9999", 1, 45, 300, 100, "100", "1234", "123456", "1234", nullptr, false,
       123, 12345, 123},
      {"999 spun up shows 1,000", 1, 999, 300, 100, "100", nullptr, nullptr, nullptr, nullptr, true, 1000, 300, 100},
  };
  for (const auto& c : cases) {
    ASSERT_NE(OpenWith(c.autoDelete, c.days, c.size, c.free), nullptr);
    EXPECT_EQ(ControlText(page, IDC_ADVANCED_FREE), c.shownFree) << c.label;
    EXPECT_EQ(IsEnabled(page, IDC_ADVANCED_DAYS), c.autoDelete != 0) << c.label << ": the days follow the switch";
    if (c.typedDays) Retype(IDC_ADVANCED_DAYS, c.typedDays);
    if (c.typedSize) Retype(IDC_ADVANCED_SIZE, c.typedSize);
    if (c.typedFree) Retype(IDC_ADVANCED_FREE, c.typedFree);
    if (c.pastedFree) SetText(page, IDC_ADVANCED_FREE, c.pastedFree);
    if (c.spin) SendDlgItemMessageA(page, IDC_ADVANCED_DAYS_SPIN, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 2));
    if (c.spin) SendDlgItemMessageA(page, IDC_ADVANCED_DAYS_SPIN, WM_LBUTTONUP, 0, MAKELPARAM(3, 2));
    EXPECT_TRUE(Apply()) << c.label;
    EXPECT_EQ(StoredWord("Data2", 4), c.storedDays) << c.label;
    EXPECT_EQ(StoredWord("Data", 8), c.storedSize) << c.label;
    EXPECT_EQ(StoredWord("Data", 12), c.storedFree) << c.label;
    DestroyWindow(sheet);
  }
}

TEST_F(AdvancedPage, DaysOutsideOneTo2147483647AreRefusedOnceThenOneDayIsStored) {
  for (const char* days : {"", "0", "2147483648"}) {
    ASSERT_NE(OpenWith(1, 30, 300, 100), nullptr);
    SetText(page, IDC_ADVANCED_DAYS, days);
    bool accepted = true;
    EXPECT_EQ(OneBox([&] { accepted = Apply(); }), "FileTrove: Invalid time period") << days;
    EXPECT_FALSE(accepted);
    EXPECT_EQ(ControlText(page, IDC_ADVANCED_DAYS), "1");
    EXPECT_EQ(StoredWord("Data2", 4), 30u) << "nothing saved";
    EXPECT_TRUE(Apply());
    EXPECT_EQ(StoredWord("Data2", 4), 1u);
    DestroyWindow(sheet);
  }
}

TEST_F(AdvancedPage, AutoDeleteSwitchesTheDaysAtOnceAndApplySavesTheDirectoryShown) {
  WriteDriverValue("CacheDir", REG_SZ, Text("D:\\Cache & Co"));
  ASSERT_NE(OpenWith(1, 30, 300, 100), nullptr);
  EXPECT_EQ(ControlText(page, IDC_ADVANCED_DIRECTORY), "D:\\Cache & Co");
  EXPECT_TRUE(IsEnabled(page, IDC_ADVANCED_DAYS));
  Click(IDC_ADVANCED_AUTO_DELETE);
  EXPECT_FALSE(IsEnabled(page, IDC_ADVANCED_DAYS));
  EXPECT_FALSE(IsEnabled(page, IDC_ADVANCED_DAYS_SPIN));
  EXPECT_EQ(StoredWord("Data2", 0), 1u);
  snprintf(CacheDirectory, sizeof CacheDirectory, "E:\\elsewhere");
  ASSERT_TRUE(Apply());
  Bytes directory;
  ASSERT_TRUE(ReadDriverValue("CacheDir", &directory));
  EXPECT_STREQ(std::string(directory.begin(), directory.end()).c_str(), "D:\\Cache & Co");
  EXPECT_EQ(StoredWord("Data2", 0), 0u);
}

}  // namespace
