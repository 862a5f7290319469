// Text lookup: language file first, string table second.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "harness.h"
#include "text/message_text.h"

namespace {

// Points the lookup at a language file of the test's own.
class LanguageFile : public ::testing::Test {
 protected:
  void SetUp() override {
    AppInstance = GetModuleHandleA(nullptr);
    snprintf(LanguageFilePath, sizeof LanguageFilePath, "%s", TempPath("ft_unit_strings.lng").c_str());
    DeleteFileA(LanguageFilePath);
  }
  void TearDown() override {
    DeleteFileA(LanguageFilePath);
    LanguageFilePath[0] = '\0';
  }
  bool Written() { return GetFileAttributesA(LanguageFilePath) != INVALID_FILE_ATTRIBUTES; }
  void Write(const std::string& contents) { WriteTextFile(LanguageFilePath, contents); }
};

TEST_F(LanguageFile, FileTextWinsTrimmedAndCutAndEmptyOrBlankValuesFallBack) {
  const struct { bool withFile; int section, key; const char* text; } cases[] = {
      {false, SECTION_ERRORS, 6, "FileTrove is already loaded"},
      {false, SECTION_FILE_MANAGER, 1, " Cached files until %d/%d/%d "},  // the table's blanks stay
      {true, SECTION_ERRORS, 6, "Schon geladen"},
      {true, SECTION_HINT, 1, "FileTrove is On"},           // empty
      {true, SECTION_HINT, 2, "FileTrove is Off"},          // a quoted blank
      {true, SECTION_MENU, 1, "Enable FileTrove"},          // quoted blanks
      {true, SECTION_MENU, 2, "xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx"},  // 60 cut to 49
      {true, SECTION_FILE_MANAGER, 1, "Bis %d.%d.%d"},
      {true, SECTION_STATISTICS, 14, "Total time saved:    %.0f hours"},
  };
  for (const auto& c : cases) {
    if (c.withFile && !Written())
      Write("[Errors]\n6=Schon geladen\n[Hint]\n1=\n2=\" \"\n[Menu]\n1=\"    \"\n2=" + std::string(60, 'x') +
            "\n[File Manager]\n1=   Bis %d.%d.%d   \n");
    char text[100];
    GetMessageText(TextId{c.section, c.key}, text, sizeof text);
    EXPECT_STREQ(text, c.text) << c.section << "/" << c.key;
  }
  for (const auto& [before, after] : {std::pair<std::string, std::string>{"\tIndented  ", "\tIndented"},
                                      {"    ", ""}, {"  a  b  ", "a  b"}}) {
    std::string text = before;
    TrimSpaces(&text[0]);
    EXPECT_EQ(text.c_str(), after) << "only blanks are trimmed";
  }
}

// A box shows a file text whole, longer than lookups cut texts to, and an
// empty file value falls back to the table. A text in neither source ends
// the process with 1 after its own box: that runs in a child process.
TEST_F(LanguageFile, BoxesShowWholeFileTextsOrTheTableOrEndTheProcess) {
  const std::string sixty(60, 'y');
  Write("[Errors]\n5=" + sixty + "\n6=\n");
  for (const auto& [key, text] : {std::pair{5, sixty}, std::pair{6, std::string("FileTrove is already loaded")}}) {
    auto shown = Opened([key = key] { ShowMessageText(nullptr, TextId{SECTION_ERRORS, key}, MB_OK); });
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].caption + ": " + shown[0].text, "FileTrove: " + text);
  }
  auto tell = [](HWND box) {
    fprintf(stderr, "box: %s\n", ControlText(box, 0xFFFF).c_str());
    PressButton(box, IDOK);
  };
  char text[MESSAGE_TEXT_SIZE];
  EXPECT_EXIT(Opened([] { ShowMessageText(nullptr, TextId{SECTION_ERRORS, 9}, MB_OK); }, tell),
              ::testing::ExitedWithCode(1), "box: Fatal system error!");
  EXPECT_EXIT(Opened([&] { GetMessageText(TextId{SECTION_ERRORS, 9}, text, sizeof text); }, tell),
              ::testing::ExitedWithCode(1), "box: Fatal system error!");
}

TEST_F(LanguageFile, FormatsFromTheFileMustTakeTheSameArguments) {
  Write("[File Manager]\n1=Bis %d.%d.%d\n8=%s Dateien\n10=%s geht nicht %n\n"
        "[Statistics]\n13=Gespart: %.0f KB\n15=Geld: %d\n16=Seit %d/%d/%d/%d\n");
  const struct { int section, key; const char* format; } cases[] = {
      {SECTION_FILE_MANAGER, 1, "Bis %d.%d.%d"}, {SECTION_FILE_MANAGER, 8, "%ld File(s), %.0lf K"},
      {SECTION_FILE_MANAGER, 10, "Cannot delete %s. File is probably in use."},
      {SECTION_STATISTICS, 13, "Gespart: %.0f KB"}, {SECTION_STATISTICS, 15, "Total money saved:   $%.2lf"},
      {SECTION_STATISTICS, 16, "Saved by cache since %d/%d/%d"},
  };
  for (const auto& c : cases) {
    char text[MESSAGE_TEXT_SIZE];
    GetFormatText(TextId{c.section, c.key}, text, sizeof text);
    EXPECT_STREQ(text, c.format) << c.section << "/" << c.key;
  }
}

}  // namespace
