// Edit Mode page: file types cached when opened for editing.
#include <windows.h>

#include "panel/control_panel.h"

static const PageActions PAGE_ACTIONS = {nullptr, nullptr, nullptr};

INT_PTR CALLBACK EditModePageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      return TRUE;
    case WM_COMMAND:
      return TRUE;
    case WM_NOTIFY:
      return AnswerSheetNotify(page, reinterpret_cast<const NMHDR*>(lParam), PAGE_ACTIONS);
  }
  return FALSE;
}
