// The real Manager with its control panel open, driven from outside as a
// user would: tabs chosen, controls read and set, OK, Cancel and Apply
// pressed, boxes answered, requests counted in the driver's journal.
#pragma once
#include <cstring>
#include <string>
#include <vector>

#include "app/tray.h"
#include "manager_session.h"

constexpr const char* kPanelCaption = "FileTrove - Control Panel";
constexpr UINT kOpenPanelCommand = IDM_OPEN_PANEL;
constexpr UINT kToggleCommand = IDM_TOGGLE_CACHE;
constexpr const char* kInstalledCacheDir = "C:\\FTCACHE";  // as the driver's installer names it

// Tabs in their order.
enum PanelTab { kGeneralTab, kAdvancedTab, kFileManagerTab, kEditModeTab, kStatisticsTab, kAboutTab };

// Asks the Manager for its panel as the tray menu does and waits for the sheet.
inline HWND OpenPanel(const ManagerRun& run) {
  PostMessageA(run.window, WM_COMMAND, kOpenPanelCommand, 0);
  HWND sheet = WaitForWindow("#32770", kPanelCaption, kDefaultTimeoutMs, run.program.pid);
  if (sheet) Sync(sheet);
  return sheet;
}

inline int PanelCount() {
  int count = 0;
  for (HWND window = nullptr; (window = FindWindowExA(nullptr, window, "#32770", kPanelCaption));) count++;
  return count;
}

// Presses a sheet button (OK, Cancel) and waits for the sheet to go.
inline bool CloseSheet(HWND sheet, int button) {
  PressButton(sheet, button);
  return WaitWindowGone(sheet, kDefaultTimeoutMs);
}

// Presses Apply and waits for every page's answer; the sheet stays. Where
// the Apply shows a box, use PressButton and AnswerBox instead.
inline void PressApply(HWND sheet) { SendAndWait(GetDlgItem(sheet, kApplyButton), BM_CLICK, 0, 0); }

// A tray menu command, handled before this returns.
inline void TrayCommand(const ManagerRun& run, UINT command) { SendAndWait(run.window, WM_COMMAND, command, 0); }

// Journal lines that begin with a request's name.
inline int CountRequests(const std::vector<std::string>& lines, const char* name) {
  int count = 0;
  for (const std::string& line : lines) count += line.rfind(name, 0) == 0;
  return count;
}

// Journal lines after the two start-up requests.
inline std::vector<std::string> LaterRequests() {
  auto lines = DriverLog();
  return lines.size() > 2 ? std::vector<std::string>(lines.begin() + 2, lines.end()) : std::vector<std::string>{};
}

// Manager tests with a panel: whatever a test leaves open is closed again.
class PanelTest : public ManagerTest {
 protected:
  void TearDown() override {
    for (HWND sheet; (sheet = FindWindowA("#32770", kPanelCaption));) {
      while (AnswerBox(200).found) {
      }
      if (!CloseSheet(sheet, IDCANCEL)) break;
    }
    ManagerTest::TearDown();
    WriteDriverValue("CacheDir", REG_SZ, Text(kInstalledCacheDir));
  }
  // Starts the Manager and opens its panel.
  HWND StartWithPanel() {
    run = StartManager();
    return run.window ? OpenPanel(run) : nullptr;
  }
};
