// Starting and ending the real Manager from a test, with the driver's key
// and journal in a known state.
#pragma once
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "app/tray.h"
#include "harness.h"

constexpr const char* kManagerTitle = "FileTrove Manager";
constexpr const char* kAgentLog = "C:\\FT\\ftagent.log";
constexpr const char* kLanguageFile = "C:\\FT\\strings.lng";
constexpr const char* kManagerAppDefaults = "Software\\Wine\\AppDefaults\\MANAGER.EXE";
inline const char* const kSettingsValues[] = {"Data", "Data2", "Other", "DB"};

struct ManagerRun {
  Launched program;
  HWND window = nullptr;
};

// Starts MANAGER.EXE and waits for its hidden window.
inline ManagerRun StartManager() {
  ManagerRun run;
  run.program = LaunchProgram(kManagerExe);
  if (run.program.process)
    run.window = WaitForWindow(kManagerTitle, kManagerTitle, kDefaultTimeoutMs, run.program.pid);
  return run;
}

// Posts WM_QUIT and returns the exit code (0xFFFFFFFF when it did not end).
inline DWORD QuitManager(ManagerRun& run) {
  DWORD exitCode = 0xFFFFFFFF;
  if (run.window) PostMessageA(run.window, WM_QUIT, 0, 0);
  if (!WaitExit(run.program, kDefaultTimeoutMs, &exitCode)) KillProgram(run.program);
  return exitCode;
}

// Runs the Manager to an early end (a refusal) and returns the exit code.
inline DWORD ExitCodeOf(ManagerRun& run) {
  DWORD exitCode = 0xFFFFFFFF;
  if (!WaitExit(run.program, kDefaultTimeoutMs, &exitCode)) KillProgram(run.program);
  return exitCode;
}

inline int AgentStarts() {
  FILE* file = fopen(kAgentLog, "rb");
  if (!file) return 0;
  int lines = 0;
  for (int c; (c = fgetc(file)) != EOF;) lines += c == '\n';
  fclose(file);
  return lines;
}

// Every Manager test: no Manager left running, an empty journal, no failures
// armed, no language file, the settings values gone (a first start), the
// Windows 95 identity in place.
class ManagerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(FindWindowA(kManagerTitle, kManagerTitle), nullptr) << "a Manager from another test still runs";
    ASSERT_EQ(Ftctl("reset").exitCode, 0u);
    DeleteFileA(kAgentLog);
    DeleteFileA(kLanguageFile);
    for (const char* name : kSettingsValues) DeleteDriverValue(name);
    WriteValue(HKEY_CURRENT_USER, kManagerAppDefaults, "Version", REG_SZ, Text("win95"));
  }
  void TearDown() override {
    if (run.program.process) {
      if (QuitManager(run) == 0xFFFFFFFF) ADD_FAILURE() << "the Manager did not end";
    }
    while (AnswerBox(200).found) {
    }
    Ftctl("reset");
    Ftctl("start");
    DeleteFileA(kLanguageFile);
    WriteValue(HKEY_CURRENT_USER, kManagerAppDefaults, "Version", REG_SZ, Text("win95"));
  }
  static void WriteLanguageFile(const std::string& contents) {
    FILE* file = fopen(kLanguageFile, "wb");
    ASSERT_NE(file, nullptr);
    fputs(contents.c_str(), file);
    fclose(file);
  }

  ManagerRun run;
};
