// The real Manager's start-up, refusals and exit, with the stand-in driver.
#include <utility>

#include "manager_session.h"

namespace {

// The records' bytes are the unit tests' matter; here: a first start stores
// all five values, starts the companion once and ends with 0 at WM_QUIT.
TEST_F(ManagerTest, FirstStartWritesTheFiveValuesAndQuitEndsWithZero) {
  run = StartManager();
  ASSERT_NE(run.window, nullptr);
  EXPECT_FALSE(IsWindowVisible(run.window));
  const std::pair<const char*, size_t> stored[] = {{"Data", 16}, {"Data2", 8}, {"DB", 184}, {"Other", 28}};
  for (const auto& [name, size] : stored) {
    Bytes value;
    EXPECT_TRUE(ReadDriverValue(name, &value)) << name;
    EXPECT_EQ(value.size(), size) << name;
  }
  EXPECT_EQ(AgentStarts(), 1);
  EXPECT_EQ(QuitManager(run), 0u);
}

TEST_F(ManagerTest, SecondStartIsRefusedWithoutTouchingTheDevice) {
  run = StartManager();
  ASSERT_NE(run.window, nullptr);
  auto journal = DriverLog();
  int agentStarts = AgentStarts();

  ManagerRun second;
  second.program = LaunchProgram(kManagerExe);
  Box box = AnswerBox(kDefaultTimeoutMs, second.program.pid);
  EXPECT_TRUE(box.found);
  EXPECT_EQ(box.text, "FileTrove is already loaded");
  EXPECT_EQ(ExitCodeOf(second), 1u);
  EXPECT_EQ(DriverLog(), journal);
  EXPECT_EQ(AgentStarts(), agentStarts);
}

TEST_F(ManagerTest, SystemOtherThanWindows95IsRefusedBeforeAnySettingIsRead) {
  WriteValue(HKEY_CURRENT_USER, kManagerAppDefaults, "Version", REG_SZ, Text("winxp"));
  run.program = LaunchProgram(kManagerExe);
  Box box = AnswerBox(kDefaultTimeoutMs, run.program.pid);
  EXPECT_EQ(box.text, "Fatal Error. This version of FileTrove requires Windows 95 operating system.");
  EXPECT_EQ(ExitCodeOf(run), 1u);
  Bytes value;
  EXPECT_FALSE(ReadDriverValue("Other", &value));
  EXPECT_EQ(AgentStarts(), 0);
  EXPECT_TRUE(DriverLog().empty());
}

TEST_F(ManagerTest, StoppedDriverIsFatalAndTheCompanionStaysDown) {
  ASSERT_EQ(Ftctl("stop").exitCode, 0u);
  run.program = LaunchProgram(kManagerExe);
  Box box = AnswerBox(kDefaultTimeoutMs, run.program.pid);
  EXPECT_EQ(box.text, "Fatal Error. Unable to load FileTrove device driver.");
  EXPECT_EQ(ExitCodeOf(run), 1u);
  EXPECT_EQ(AgentStarts(), 0);
  // The settings were loaded and, on this first start, written.
  Bytes value;
  EXPECT_TRUE(ReadDriverValue("Other", &value));
}

TEST_F(ManagerTest, LanguageFileNamesTheBoxes) {
  WriteLanguageFile("[Errors]\n6=   Schon geladen   \n");
  run = StartManager();
  ASSERT_NE(run.window, nullptr);
  ManagerRun second;
  second.program = LaunchProgram(kManagerExe);
  EXPECT_EQ(AnswerBox(kDefaultTimeoutMs, second.program.pid).text, "Schon geladen");
  EXPECT_EQ(ExitCodeOf(second), 1u);
}

}  // namespace
