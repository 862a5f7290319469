// The control panel: a modal property sheet over the settings records, and
// the protocol that every page follows towards it.
#pragma once
#include <windows.h>

#include <cstdint>

// Shows the sheet modally; returns when the user has closed it.
int OpenControlPanel(HWND parent);

INT_PTR CALLBACK GeneralPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK AdvancedPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK FileManagerPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK EditModePageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK StatisticsPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK AboutPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

// What a page adds to the protocol's answers; every member may be null.
struct PageActions {
  void (*RefreshBeforeChanged)(HWND page);  // on activation, before PSM_CHANGED
  void (*RefreshAfterChanged)(HWND page);   // on activation, after PSM_CHANGED
  // Copies the controls into the records, validates and saves; false refuses
  // the Apply. Null: the page has nothing to copy and only saves.
  bool (*Apply)(HWND page);
};

// The protocol's answer to a sheet notification: the dialog procedure's
// result, with the message result set where the protocol sets one.
INT_PTR AnswerSheetNotify(HWND page, const NMHDR* notify, const PageActions& actions);

// Shows PanelBitmap in a picture frame of the page, when both exist.
void ShowPanelBitmap(HWND page, int controlId);

// A check box's state as the records store a flag: 1 checked, else 0.
uint32_t CheckBoxFlag(HWND page, int controlId);

// The system's wait cursor while work that the user can feel runs on the
// Manager's only thread, which answers nothing meanwhile; the cursor shown
// before comes back on every way out. End it before a box is shown.
struct WaitCursor {
  HCURSOR previous;
  WaitCursor() : previous(SetCursor(LoadCursorA(nullptr, IDC_WAIT))) {}
  ~WaitCursor() { SetCursor(previous); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
};

// SaveSettings under the wait cursor: every page's Apply ends with it.
void SavePanelSettings();
