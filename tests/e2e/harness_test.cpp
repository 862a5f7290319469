// The harness itself: a crash must read as a failure, tools' output and exit
// codes must come through, registry round trips must hold.
#include <gtest/gtest.h>

#include "harness.h"

namespace {

TEST(Harness, CrashEndsQuicklyWithNonZeroCode) {
  for (int run = 0; run < 3; run++) {
    Launched crasher = LaunchProgram("C:\\FT\\CRASHER.EXE");
    ASSERT_NE(crasher.process, nullptr);
    DWORD exitCode = 0;
    ASSERT_TRUE(WaitExit(crasher, 5000, &exitCode)) << "a crash hung: is the crash handler still on?";
    EXPECT_NE(exitCode, 0u);
  }
}

TEST(Harness, ToolOutputAndExitCodeArrive) {
  ToolResult result = RunTool("cmd /c echo hello & echo oops 1>&2 & exit 3");
  EXPECT_EQ(result.exitCode, 3u);
  EXPECT_EQ(SplitLines(result.out), std::vector<std::string>{"hello "});
  EXPECT_EQ(SplitLines(result.err), std::vector<std::string>{"oops  "});
  EXPECT_EQ(Ftctl("fail NOSUCH").exitCode, 1u);
}

TEST(Harness, RegistryRoundTrip) {
  const char* key = "Software\\FileTroveTests\\Scratch";
  ASSERT_TRUE(WriteValue(HKEY_CURRENT_USER, key, "v", REG_BINARY, Concat({Le32(0x01020304), Le32(5)})));
  Bytes value;
  DWORD type = 0;
  ASSERT_TRUE(ReadValue(HKEY_CURRENT_USER, key, "v", &value, &type));
  EXPECT_EQ(Hex(value), "0403020105000000");
  EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
  DeleteKeyTree(HKEY_CURRENT_USER, "Software\\FileTroveTests");
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, key));
}

}  // namespace
