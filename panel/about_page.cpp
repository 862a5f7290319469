// About page: the picture, the version and one line; it edits nothing but
// saves on Apply like every other page.
#include <windows.h>

#include "panel/control_panel.h"
#include "res/resource.h"

static const PageActions ABOUT_ACTIONS = {nullptr, nullptr, nullptr};

INT_PTR CALLBACK AboutPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      ShowPanelBitmap(page, IDC_ABOUT_PICTURE);
      return TRUE;
    case WM_COMMAND:
      return TRUE;
    case WM_NOTIFY:
      return AnswerSheetNotify(page, reinterpret_cast<const NMHDR*>(lParam), ABOUT_ACTIONS);
  }
  return FALSE;
}
