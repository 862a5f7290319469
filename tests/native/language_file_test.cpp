// Where the language file is looked for: beside the program, by the path it
// was started with, never cut short.
#include <gtest/gtest.h>

#include <string>

#include "app/language_file.h"

namespace {

std::string PathFor(const std::string& commandLine, const char* programDir) {
  char path[260];  // MAX_PATH
  LanguageFilePathFor(commandLine.c_str(), programDir, path, sizeof path);
  return path;
}

TEST(LanguageFilePath, BesideTheProgramNeverCutShort) {
  const std::string fits = "C:\\" + std::string(244, 'd') + "\\";  // 248 + 11 = 259 characters
  const struct { std::string commandLine; const char* programDir; std::string path; } cases[] = {
      {"C:\\FT\\MANAGER.EXE", "C:\\ELSEWHERE", "C:\\FT\\strings.lng"},
      {"C:\\FT\\MANAGER.EXE /x", "C:\\ELSEWHERE", "C:\\FT\\strings.lng"},
      {"\"C:\\Program Files\\FT\\Manager.exe\" /x", "C:\\ELSEWHERE", "C:\\Program Files\\FT\\strings.lng"},
      {"\"C:\\Program Files\\FT\\Manager.exe", "C:\\ELSEWHERE", "C:\\Program Files\\FT\\strings.lng"},
      // A bare name: the program's own folder.
      {"MANAGER.EXE /x", "C:\\FT", "C:\\FT\\strings.lng"},
      {"\"MANAGER.EXE\"", "C:\\", "C:\\strings.lng"},
      // A path that does not fit means no language file, never a cut one.
      {"C:\\" + std::string(250, 'd') + "\\MANAGER.EXE", "C:\\ELSEWHERE", ""},
      {fits + "M.EXE", "C:\\ELSEWHERE", fits + "strings.lng"},
  };
  for (const auto& c : cases) EXPECT_EQ(PathFor(c.commandLine, c.programDir), c.path) << c.commandLine;
}

}  // namespace
