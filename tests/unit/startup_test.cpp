// Where the language file is looked for.
#include <gtest/gtest.h>

#include <string>

#include "app/startup.h"

namespace {

std::string PathFor(const char* commandLine, const char* programDir = "C:\\ELSEWHERE") {
  char path[MAX_PATH];
  LanguageFilePathFor(commandLine, programDir, path, sizeof path);
  return path;
}

TEST(LanguageFilePath, LiesInTheProgramsDirectory) {
  EXPECT_EQ(PathFor("C:\\FT\\MANAGER.EXE"), "C:\\FT\\strings.lng");
  EXPECT_EQ(PathFor("C:\\FT\\MANAGER.EXE /x"), "C:\\FT\\strings.lng");
  EXPECT_EQ(PathFor("\"C:\\Program Files\\FT\\Manager.exe\" /x"), "C:\\Program Files\\FT\\strings.lng");
  EXPECT_EQ(PathFor("\"C:\\Program Files\\FT\\Manager.exe"), "C:\\Program Files\\FT\\strings.lng");
}

TEST(LanguageFilePath, BareProgramNameUsesTheModulesDirectory) {
  EXPECT_EQ(PathFor("MANAGER.EXE /x", "C:\\FT"), "C:\\FT\\strings.lng");
  EXPECT_EQ(PathFor("\"MANAGER.EXE\"", "C:\\"), "C:\\strings.lng");
}

TEST(LanguageFilePath, TooLongForTheBufferMeansNoLanguageFile) {
  std::string longDir = "C:\\" + std::string(250, 'd') + "\\";
  EXPECT_EQ(PathFor((longDir + "MANAGER.EXE").c_str()), "");
  std::string fits = "C:\\" + std::string(244, 'd') + "\\";  // 248 + 11 = 259 characters
  EXPECT_EQ(PathFor((fits + "M.EXE").c_str()), fits + "strings.lng");
}

TEST(LanguageFilePath, BuiltFromOurOwnCommandLine) {
  BuildLanguageFilePath();
  std::string path = LanguageFilePath;
  ASSERT_GE(path.size(), 12u);
  EXPECT_EQ(path.substr(path.size() - 12), "\\strings.lng");
}

}  // namespace
