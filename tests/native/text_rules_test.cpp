// Rules for texts the Manager does not write: a number field as the user
// sees it, and whether a translated format takes the built-in one's arguments.
#include <gtest/gtest.h>

#include <string>

#include "text/shown_number.h"
#include "text/text_rules.h"

namespace {

std::string Repeated(const char* piece, int times) {
  std::string text;
  for (int i = 0; i < times; i++) text += piece;
  return text;
}

TEST(FormatKeepsConversions, SameKindsInTheSameOrderAndNothingPastWhatIsCompared) {
  const struct { std::string builtIn, translated; bool kept; } cases[] = {
      {"Cached files until %d/%d/%d", "Bis %d.%d.%d", true},
      {"%ld File(s), %.0lf K", "%ld Datei(en), %.0f K", true},
      {"%ld File(s), %.0lf K", "%.0lf K, %ld File(s)", false},  // order
      {"%ld File(s)", "%d File(s)", false},                     // long apart from int
      {"Cannot delete %s.", "%s: %s", false},                   // one more
      {"Cannot delete %s.", "Nicht gelöscht.", false},          // one fewer
      {"%s", "%ls", false},
      {"100%% %s", "%s zu 100%%", true},
      {"%n", "%n", false},  // a built-in that is not allowed keeps nothing
      {Repeated("%s", 31), Repeated("%s", 31), true},
      // Past 31 conversions the lists are cut: neither fewer nor as many match.
      {Repeated("%s", 40), Repeated("%s", 31), false},
      {Repeated("%s", 40), Repeated("%s", 40), false},
      {Repeated("%s", 31), Repeated("%s", 32), false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FormatKeepsConversions(c.builtIn.c_str(), c.translated.c_str()), c.kept)
        << c.builtIn << " | " << c.translated;
}

TEST(ShownNumber, OnlyDigitsAndSeparatorsBetweenThemCountUpToTheFieldsMaximum) {
  constexpr uint32_t ANY = 4294967295u, DAYS = 2147483647u;
  const struct { const char* text; const char* separator; uint32_t maximum; bool readable; uint32_t value; } cases[] = {
      {"", ",", ANY, true, 0},        {"30", ",", ANY, true, 30},           {"5", "", ANY, true, 5},
      {"1,000", ",", ANY, true, 1000}, {"1\xa0" "000", "\xa0", ANY, true, 1000},
      {"1.000", ",", ANY, false, 0},  {",5", ",", ANY, false, 0},           {"1,", ",", ANY, false, 0},
      {"-5", ",", ANY, false, 0},     {" 7", ",", ANY, false, 0},           {"12a", ",", ANY, false, 0},
      {"4294967295", ",", ANY, true, 4294967295u},  {"4294967296", ",", ANY, false, 0},
      {"2147483647", ",", DAYS, true, 2147483647u}, {"2,147,483,648", ",", DAYS, false, 0},
  };
  for (const auto& c : cases) {
    uint32_t value = 99;
    EXPECT_EQ(ParseShownNumber(c.text, c.separator, c.maximum, &value), c.readable) << c.text;
    EXPECT_EQ(value, c.value) << c.text;
  }
}

TEST(FormatConversions, NamesEachArgumentKind) {
  auto kinds = [](const char* format) {
    char text[32];
    FormatConversions(format, text, sizeof text);
    return std::string(text);
  };
  EXPECT_EQ(kinds("%d/%d/%d"), "ddd");
  EXPECT_EQ(kinds("%ld File(s), %.0lf K"), "lf");
  EXPECT_EQ(kinds("$%.2lf and 100%% sure"), "f");
  EXPECT_EQ(kinds("%-10s|%05.1f"), "sf");
  EXPECT_EQ(kinds("%u %x %lu %lx %li"), "uuLLl");  // unsigned apart from signed, long apart from int
  EXPECT_EQ(kinds("%ls"), "?");
  EXPECT_EQ(kinds("no conversions"), "");
  EXPECT_EQ(kinds("%n"), "?");
  EXPECT_EQ(kinds("%*d"), "?");
  EXPECT_EQ(kinds("%lld"), "?");
  EXPECT_EQ(kinds("trailing %"), "?");
}

}  // namespace
