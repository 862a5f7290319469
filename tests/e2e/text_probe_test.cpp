// Message boxes and the fatal path of the text lookup, seen from outside.
#include <string>

#include "manager_session.h"

namespace {

constexpr const char* kProbe = "C:\\FT\\TEXTPROBE.EXE";

class TextBoxes : public ManagerTest {
 protected:
  // Runs the probe and answers its box; returns the box's text.
  std::string ProbeBox(const std::string& args, DWORD* exitCode) {
    Launched probe = LaunchProgram(std::string(kProbe) + " " + args);
    Box box = AnswerBox(kDefaultTimeoutMs, probe.pid);
    if (!WaitExit(probe, kDefaultTimeoutMs, exitCode)) KillProgram(probe);
    return box.found ? box.text : "(no box)";
  }
};

TEST_F(TextBoxes, BoxShowsLongFileTextWhole) {
  std::string sixty(60, 'y');
  WriteLanguageFile("[Errors]\n5=" + sixty + "\n");
  DWORD exitCode = 0;
  EXPECT_EQ(ProbeBox("box 7 5", &exitCode), sixty);
  EXPECT_EQ(exitCode, 0u);
}

TEST_F(TextBoxes, TextInNeitherSourceEndsTheProcessWithOne) {
  DWORD exitCode = 0;
  EXPECT_EQ(ProbeBox("box 7 9", &exitCode), "Fatal system error!");
  EXPECT_EQ(exitCode, 1u);
  EXPECT_EQ(ProbeBox("get 7 9", &exitCode), "Fatal system error!");
  EXPECT_EQ(exitCode, 1u);
  // An empty file value falls back to the table and is no fault.
  WriteLanguageFile("[Errors]\n6=\n");
  EXPECT_EQ(ProbeBox("box 7 6", &exitCode), "FileTrove is already loaded");
  EXPECT_EQ(exitCode, 0u);
}

}  // namespace
