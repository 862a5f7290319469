// The real Manager started, driven from outside as the shell and a user
// drive it, and ended, with the driver's key and journal in a known state.
#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "app/startup.h"
#include "app/tray.h"
#include "harness.h"

constexpr const char* kAgentLog = "C:\\FT\\ftagent.log";
// Values the companion writes to the driver's key at its start: "NAME HEX" lines.
constexpr const char* kAgentValues = "C:\\FT\\ftagent.set";
inline const std::string kLanguageFile = std::string(kProgramDir) + "\\" + LANGUAGE_FILE_NAME;
constexpr const char* kManagerAppDefaults = "Software\\Wine\\AppDefaults\\MANAGER.EXE";
constexpr const char* kPanelCaption = "FileTrove - Control Panel";

struct ManagerRun {
  Launched program;
  HWND window = nullptr;
};

// Starts MANAGER.EXE and waits for its hidden window and its two start-up
// requests (the window is found while it is still being made).
inline ManagerRun StartManager() {
  ManagerRun run;
  run.program = LaunchProgram(kManagerExe);
  if (run.program.process)
    run.window = WaitForWindow(MANAGER_NAME, MANAGER_NAME, kDefaultTimeoutMs, run.program.pid);
  if (run.window && !WaitUntil([] { return DriverRequests().size() >= 2; }, kDefaultTimeoutMs))
    HarnessFailure("the Manager sent no start-up requests");
  return run;
}

inline DWORD QuitManager(ManagerRun& run) {
  if (run.window) PostMessageA(run.window, WM_QUIT, 0, 0);
  return ExitCodeOf(run.program);
}

// The companion's starts: a line each in its log.
inline int AgentStarts() {
  std::ifstream log(kAgentLog, std::ios::binary);
  return static_cast<int>(std::count(std::istreambuf_iterator<char>(log), std::istreambuf_iterator<char>(), '\n'));
}

// Asks the Manager for its panel as the tray menu does and waits for the sheet.
inline HWND OpenPanel(const ManagerRun& run) {
  PostMessageA(run.window, WM_COMMAND, IDM_OPEN_PANEL, 0);
  HWND sheet = WaitForWindow("#32770", kPanelCaption, kDefaultTimeoutMs, run.program.pid);
  if (sheet) Sync(sheet);
  return sheet;
}

// Presses a sheet button (OK, Cancel) and waits for the sheet to go.
inline bool CloseSheet(HWND sheet, int button) {
  PressButton(sheet, button);
  return WaitWindowGone(sheet, kDefaultTimeoutMs);
}

// A tray menu command, handled before this returns.
inline void TrayCommand(const ManagerRun& run, UINT command) { SendAndWait(run.window, WM_COMMAND, command, 0); }

// Journal lines after the two start-up requests.
inline std::vector<std::string> LaterRequests() {
  auto lines = DriverLog();
  return lines.size() > 2 ? std::vector<std::string>(lines.begin() + 2, lines.end()) : std::vector<std::string>{};
}

// Answers every box the Manager shows now, until none is left.
inline void AnswerEveryBox() {
  for (HWND box; (box = FindWindowA("#32770", "FileTrove"));) {
    std::string text = ControlText(box, 0xFFFF);
    PressButton(box, IDOK);
    if (!WaitWindowGone(box, kDefaultTimeoutMs)) HarnessFailure("a box does not close: " + text);
  }
}

// Every Manager test: no Manager left running, an empty journal, no failures
// armed, no language file, the settings values gone (a first start), the
// Windows 95 identity in place; whatever a test leaves open is closed again.
class ManagerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(FindWindowA(MANAGER_NAME, MANAGER_NAME), nullptr) << "a Manager from another test still runs";
    ResetDriver();
    DeleteFileA(kAgentLog);
    DeleteFileA(kAgentValues);
    DeleteFileA(kLanguageFile.c_str());
    for (const char* name : kRecordValues) DeleteDriverValue(name);
    WriteValue(HKEY_CURRENT_USER, kManagerAppDefaults, "Version", REG_SZ, Text("win95"));
  }
  void TearDown() override {
    for (HWND sheet; (sheet = FindWindowA("#32770", kPanelCaption));) {
      AnswerEveryBox();
      if (!CloseSheet(sheet, IDCANCEL)) break;
    }
    if (run.program.process) {
      // A box that comes while the Manager ends is answered too: none is
      // left for the next test.
      if (run.window) PostMessageA(run.window, WM_QUIT, 0, 0);
      WaitUntil([&] {
        AnswerEveryBox();
        return WaitForSingleObject(run.program.process, 0) == WAIT_OBJECT_0;
      }, kDefaultTimeoutMs);
      if (ExitCodeOf(run.program, 0) == 0xFFFFFFFF) ADD_FAILURE() << "the Manager did not end";
    }
    AnswerEveryBox();
    ResetDriver();
    DeleteFileA(kAgentValues);
    DeleteFileA(kLanguageFile.c_str());
    WriteValue(HKEY_CURRENT_USER, kManagerAppDefaults, "Version", REG_SZ, Text("win95"));
    WriteDriverValue("CacheDir", REG_SZ, Text(kInstalledCacheDir));
  }
  // Starts the Manager and opens its panel.
  HWND StartWithPanel() {
    run = StartManager();
    return run.window ? OpenPanel(run) : nullptr;
  }

  ManagerRun run;
};
