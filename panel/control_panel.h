// The control panel: a modal property sheet over the settings records.
#pragma once
#include <windows.h>

// Shows the sheet modally; returns when the user has closed it.
int OpenControlPanel(HWND parent);

INT_PTR CALLBACK GeneralPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

// What every page answers to the sheet's notifications; pages call it for
// the codes they do not handle themselves.
INT_PTR AnswerSheetNotify(HWND page, const NMHDR* notify);
