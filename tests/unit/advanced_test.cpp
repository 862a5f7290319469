// The days edit read as the user sees it, whatever the up-down wrote.
#include <gtest/gtest.h>

#include "panel/advanced_page.h"

namespace {

TEST(ShownNumber, GroupSeparatorsBetweenDigitsAreIgnored) {
  struct Case {
    const char* text;
    const char* separator;
    bool readable;
    UINT value;
  } cases[] = {
      {"", ",", true, 0},           {"30", ",", true, 30},        {"1,000", ",", true, 1000},
      {"9,999", ",", true, 9999},   {"1.000", ".", true, 1000},   {"1\xa0" "000", "\xa0", true, 1000},
      {"1.000", ",", false, 0},     {",5", ",", false, 0},        {"-1", ",", false, 0},
      {" 7", ",", false, 0},        {"12a", ",", false, 0},       {"4294967295", ",", true, 4294967295u},
      {"4294967296", ",", false, 0}, {"5", "", true, 5},
  };
  for (const Case& c : cases) {
    UINT value = 99;
    EXPECT_EQ(ParseShownNumber(c.text, c.separator, &value), c.readable) << c.text;
    EXPECT_EQ(value, c.value) << c.text;
  }
}

}  // namespace
