// The real Manager's start-up, refusals and exit, with the stand-in driver.
#include <cstring>

#include "manager_session.h"

namespace {

TEST_F(ManagerTest, FirstStartWritesTheDefaultRecordsAndQuitEndsWithZero) {
  run = StartManager();
  ASSERT_NE(run.window, nullptr);
  EXPECT_FALSE(IsWindowVisible(run.window));

  Bytes value;
  DWORD type = 0;
  ASSERT_TRUE(ReadDriverValue("Data", &value, &type));
  EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
  EXPECT_EQ(Hex(value), "01000000010000002c01000064000000");
  ASSERT_TRUE(ReadDriverValue("Data2", &value));
  EXPECT_EQ(Hex(value), "010000001e000000");
  ASSERT_TRUE(ReadDriverValue("DB", &value));
  ASSERT_EQ(value.size(), 184u);
  EXPECT_EQ(Hex(Bytes(value.begin(), value.begin() + 34)),
            "01000000" "2e424d5000" "00" "2e444f4300" "00" "2e54585400" "00" "2e57524900" "00" "2e584c5300" "00");
  EXPECT_EQ(Bytes(value.begin() + 34, value.end()), Bytes(150, 0));

  ASSERT_TRUE(ReadDriverValue("Other", &value));
  ASSERT_EQ(value.size(), 28u);
  SYSTEMTIME today, since;
  GetSystemTime(&today);
  memcpy(&since, value.data(), sizeof since);
  EXPECT_EQ(since.wYear, today.wYear);
  EXPECT_EQ(since.wMonth, today.wMonth);
  EXPECT_EQ(since.wDay, today.wDay);
  EXPECT_EQ(Hex(Bytes(value.begin() + 16, value.end())), "01000000" "00000000" "0000a041");

  // The installer's cache folder is written back without its NUL.
  ASSERT_TRUE(ReadDriverValue("CacheDir", &value, &type));
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(std::string(value.begin(), value.end()).c_str(), std::string("C:\\FTCACHE"));

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
