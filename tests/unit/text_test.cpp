// Text lookup: language file first, string table second.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "app/startup.h"
#include "text/message_text.h"

namespace {

// Points the lookup at a language file of the test's own.
class LanguageFile : public ::testing::Test {
 protected:
  void SetUp() override {
    AppInstance = GetModuleHandleA(nullptr);
    char dir[MAX_PATH];
    GetTempPathA(sizeof dir, dir);
    snprintf(LanguageFilePath, sizeof LanguageFilePath, "%sft_unit_strings.lng", dir);
    DeleteFileA(LanguageFilePath);
  }
  void TearDown() override {
    DeleteFileA(LanguageFilePath);
    LanguageFilePath[0] = '\0';
  }
  void Write(const std::string& contents) {
    FILE* file = fopen(LanguageFilePath, "wb");
    ASSERT_NE(file, nullptr);
    fputs(contents.c_str(), file);
    fclose(file);
    // The profile functions cache files; flush so each test reads its own.
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, LanguageFilePath);
  }
  std::string Get(int section, int key, int size = MESSAGE_TEXT_SIZE) {
    char text[100];
    GetMessageText(TextId{section, key}, text, size);
    return text;
  }
  std::string Format(int section, int key) {
    char text[MESSAGE_TEXT_SIZE];
    GetFormatText(TextId{section, key}, text, sizeof text);
    return text;
  }
};

TEST_F(LanguageFile, FileTextWinsAndEmptyValuesFallBack) {
  EXPECT_EQ(Get(SECTION_ERRORS, 6), "FileTrove is already loaded");  // no file at all
  Write("[Errors]\n6=Schon geladen\n[Hint]\n1=\n2=\" \"\n[Menu]\n1=\"    \"\n");
  EXPECT_EQ(Get(SECTION_ERRORS, 6), "Schon geladen");
  EXPECT_EQ(Get(SECTION_HINT, 1), "FileTrove is On");
  // Quoted blanks trim to nothing and count as missing too.
  EXPECT_EQ(Get(SECTION_HINT, 2), "FileTrove is Off");
  EXPECT_EQ(Get(SECTION_MENU, 1), "Enable FileTrove");
}

TEST_F(LanguageFile, LongFileTextIsCutTo49Characters) {
  std::string sixty(60, 'x');
  Write("[Menu]\n1=" + sixty + "\n");
  EXPECT_EQ(Get(SECTION_MENU, 1, 100), std::string(49, 'x'));
}

TEST_F(LanguageFile, BlanksKeptFromTableAndTrimmedFromFile) {
  EXPECT_EQ(Get(SECTION_FILE_MANAGER, 1), " Cached files until %d/%d/%d ");
  EXPECT_EQ(Get(SECTION_STATISTICS, 14), "Total time saved:    %.0f hours");
  Write("[File Manager]\n1=   Bis %d.%d.%d   \n");
  EXPECT_EQ(Get(SECTION_FILE_MANAGER, 1), "Bis %d.%d.%d");
}

TEST_F(LanguageFile, TrimSpacesTouchesBlanksOnly) {
  char tab[] = "\tIndented  ";
  TrimSpaces(tab);
  EXPECT_STREQ(tab, "\tIndented");
  char blanks[] = "    ";
  TrimSpaces(blanks);
  EXPECT_STREQ(blanks, "");
  char inner[] = "  a  b  ";
  TrimSpaces(inner);
  EXPECT_STREQ(inner, "a  b");
}

TEST_F(LanguageFile, FormatsFromTheFileMustTakeTheSameArguments) {
  Write(
      "[File Manager]\n1=Bis %d.%d.%d\n8=%s Dateien\n10=%s geht nicht %n\n"
      "[Statistics]\n13=Gespart: %.0f KB\n15=Geld: %d\n16=Seit %d/%d/%d/%d\n");
  EXPECT_EQ(Format(SECTION_FILE_MANAGER, 1), "Bis %d.%d.%d");
  EXPECT_EQ(Format(SECTION_FILE_MANAGER, 8), "%ld File(s), %.0lf K");
  EXPECT_EQ(Format(SECTION_FILE_MANAGER, 10), "Cannot delete %s. File is probably in use.");
  EXPECT_EQ(Format(SECTION_STATISTICS, 13), "Gespart: %.0f KB");
  EXPECT_EQ(Format(SECTION_STATISTICS, 15), "Total money saved:   $%.2lf");
  EXPECT_EQ(Format(SECTION_STATISTICS, 16), "Saved by cache since %d/%d/%d");
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
  EXPECT_EQ(kinds("no conversions"), "");
  EXPECT_EQ(kinds("%n"), "?");
  EXPECT_EQ(kinds("%*d"), "?");
  EXPECT_EQ(kinds("%lld"), "?");
  EXPECT_EQ(kinds("trailing %"), "?");
}

}  // namespace
