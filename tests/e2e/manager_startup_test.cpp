// The real Manager's start-up, refusals and exit, with the stand-in driver.
#include <utility>

#include "manager_session.h"

namespace {

// The records' bytes are the unit tests' matter; here: a first start stores
// the values and starts the companion once, a second start is refused
// without touching the device (in the language file's words where it has
// them), and WM_QUIT ends the first with 0. A later start stores nothing.
TEST_F(ManagerTest, OnlyAFirstStartWritesTheValuesASecondIsRefusedQuitEndsWithZero) {
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
  auto journal = DriverLog();
  const std::pair<const char*, const char*> refusals[] = {{"", "FileTrove is already loaded"},
                                                          {"[Errors]\n6=   Schon geladen   \n", "Schon geladen"}};
  for (const auto& [language, text] : refusals) {
    if (*language) WriteTextFile(kLanguageFile.c_str(), language);
    Launched second = LaunchProgram(kManagerExe);
    EXPECT_EQ(AnswerBox(kDefaultTimeoutMs, second.pid).text, text);
    EXPECT_EQ(ExitCodeOf(second), 1u);
  }
  EXPECT_EQ(DriverLog(), journal);
  EXPECT_EQ(AgentStarts(), 1);
  EXPECT_EQ(QuitManager(run), 0u);

  const Bytes shortData = Concat({Le32(0), Le32(1)});  // a first start would store all 16 bytes
  WriteDriverValue("Data", REG_BINARY, shortData);
  run = StartManager();
  ASSERT_NE(run.window, nullptr);
  Bytes data;
  ASSERT_TRUE(ReadDriverValue("Data", &data));
  EXPECT_EQ(Hex(data), Hex(shortData));
}

// A system other than Windows 95 is refused before any setting is read; a
// stopped driver after the settings were loaded (and, first, written).
// The Windows 95 build knows the system by kernel32's OpenVxDHandle export,
// which 32-bit Wine's kernel32 has whatever version the prefix reports, so
// no prefix here is another system to it. The x86_64 build of the same
// sources asks the version, which the prefix sets: it stands for the
// Manager on another system.
TEST_F(ManagerTest, RefusalsEndWithOneAndTheCompanionStaysDown) {
  const struct { bool win95; const char* text; } cases[] = {
      {false, "Fatal Error. This version of FileTrove requires Windows 95 operating system."},
      {true, "Fatal Error. Unable to load FileTrove device driver."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    if (c.win95) ASSERT_EQ(Ftctl("stop").exitCode, 0u);
    else WriteValue(HKEY_CURRENT_USER, kManagerAppDefaults, "Version", REG_SZ, Text("winxp"));
    run.program = LaunchProgram(c.win95 ? kManagerExe : kVersionAskingManagerExe);
    EXPECT_EQ(AnswerBox(kDefaultTimeoutMs, run.program.pid).text, c.text);
    EXPECT_EQ(ExitCodeOf(run.program), 1u);
    EXPECT_EQ(AgentStarts(), 0);
    Bytes value;
    EXPECT_EQ(ReadDriverValue("Other", &value), c.win95);
    if (!c.win95) EXPECT_TRUE(DriverLog().empty());
    TearDown();
    ASSERT_NO_FATAL_FAILURE(SetUp());
  }
}

}  // namespace
