// The check that a translated format takes the built-in one's arguments.
#include <gtest/gtest.h>

#include <string>

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

}  // namespace
