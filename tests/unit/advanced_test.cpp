// A field's number read as the user sees it, whatever the up-down wrote or
// another program pasted.
#include <gtest/gtest.h>

#include "text/shown_number.h"

namespace {

TEST(ShownNumber, OnlyDigitsAndSeparatorsBetweenThemCountUpToTheFieldsMaximum) {
  constexpr uint32_t ANY = 4294967295u, DAYS = 2147483647u;
  struct Case {
    const char* text;
    const char* separator;
    uint32_t maximum;
    bool readable;
    uint32_t value;
  } cases[] = {
      // numbers as shown
      {"", ",", ANY, true, 0}, {"30", ",", ANY, true, 30}, {"5", "", ANY, true, 5},
      {"1,000", ",", ANY, true, 1000}, {"1.000", ".", ANY, true, 1000}, {"1\xa0" "000", "\xa0", ANY, true, 1000},
      // anything else
      {"1.000", ",", ANY, false, 0}, {",5", ",", ANY, false, 0}, {"1,", ",", ANY, false, 0},
      {"1,,000", ",", ANY, false, 0}, {"-5", ",", ANY, false, 0}, {"+5", ",", ANY, false, 0},
      {" 7", ",", ANY, false, 0}, {"12a", ",", ANY, false, 0},
      // above the field's maximum
      {"4294967295", ",", ANY, true, 4294967295u}, {"4294967296", ",", ANY, false, 0},
      {"99999999999999999999", ",", ANY, false, 0}, {"2147483647", ",", DAYS, true, 2147483647u},
      {"2,147,483,648", ",", DAYS, false, 0}, {"4294967295", ",", DAYS, false, 0},
  };
  for (const Case& c : cases) {
    uint32_t value = 99;
    EXPECT_EQ(ParseShownNumber(c.text, c.separator, c.maximum, &value), c.readable) << c.text;
    EXPECT_EQ(value, c.value) << c.text;
  }
}

}  // namespace
