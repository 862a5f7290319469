// Advanced page: the cache directory shown, automatic deletion, largest
// cacheable file and free space to keep edited and checked.
#include <windows.h>
#include <commctrl.h>

#include <cstdint>

#include "panel/control_panel.h"
#include "res/resource.h"
#include "settings/settings.h"
#include "text/format_text.h"
#include "text/message_text.h"
#include "text/shown_field.h"

// The directory the page showed; Apply saves this one.
static char CacheDirCopy[MAX_PATH] = "";

constexpr int SIZE_DIGITS = 5;
constexpr int DAYS_DIGITS = 3;
constexpr int FREE_DIGITS = 3;
constexpr uint32_t SIZE_DAYS_MAX = 9999;
constexpr uint32_t FREE_MAX = 999;
constexpr uint32_t DAYS_STORABLE_MAX = 0x7FFFFFFF;  // AutoDeleteDays is signed

// The up-down first, then the number: the up-down's 16-bit position would
// clamp and rewrite any number put in before it.
static void ShowNumberWithSpin(HWND page, int spinId, int editId, uint32_t maximum, uint32_t number, BOOL isSigned) {
  HWND spin = GetDlgItem(page, spinId);
  SendMessageA(spin, UDM_SETBUDDY, reinterpret_cast<WPARAM>(GetDlgItem(page, editId)), 0);
  SendMessageA(spin, UDM_SETRANGE, 0, MAKELONG(maximum, 0));
  SendMessageA(spin, UDM_SETPOS, 0, MAKELONG(number < maximum ? number : maximum, 0));
  SetDlgItemInt(page, editId, number, isSigned);
}

static void LimitDigits(HWND page, int editId, int digits) {
  SendDlgItemMessageA(page, editId, EM_LIMITTEXT, digits, 0);
}

static void EnableDays(HWND page, BOOL enable) {
  EnableWindow(GetDlgItem(page, IDC_ADVANCED_DAYS), enable);
  EnableWindow(GetDlgItem(page, IDC_ADVANCED_DAYS_SPIN), enable);
}

static void CreateAdvancedPage(HWND page) {
  LimitDigits(page, IDC_ADVANCED_SIZE, SIZE_DIGITS);
  LimitDigits(page, IDC_ADVANCED_DAYS, DAYS_DIGITS);
  LimitDigits(page, IDC_ADVANCED_FREE, FREE_DIGITS);
  ShowNumberWithSpin(page, IDC_ADVANCED_SIZE_SPIN, IDC_ADVANCED_SIZE, SIZE_DAYS_MAX, CacheSettings.MaxFileSizeK,
                     FALSE);
  ShowNumberWithSpin(page, IDC_ADVANCED_DAYS_SPIN, IDC_ADVANCED_DAYS, SIZE_DAYS_MAX,
                     static_cast<uint32_t>(HousekeepingSettings.AutoDeleteDays), TRUE);
  ShowNumberWithSpin(page, IDC_ADVANCED_FREE_SPIN, IDC_ADVANCED_FREE, FREE_MAX, CacheSettings.MinFreeDiskMB, FALSE);
  SetDlgItemTextA(page, IDC_ADVANCED_DIRECTORY, CacheDirectory);
  FormatText(CacheDirCopy, sizeof CacheDirCopy, "%s", CacheDirectory);
  CheckDlgButton(page, IDC_ADVANCED_AUTO_DELETE, HousekeepingSettings.AutoDelete ? BST_CHECKED : BST_UNCHECKED);
  EnableDays(page, HousekeepingSettings.AutoDelete != 0);
  SetDialogLabels(page, IDD_ADVANCED);
}

// A size that is not a number as shown keeps its stored value, shown again.
static void ReadSizeField(HWND page, int editId, uint32_t* stored) {
  uint32_t number = 0;
  if (ReadShownNumber(page, editId, SHOWN_NUMBER_MAX, &number))
    *stored = number;
  else
    SetDlgItemInt(page, editId, *stored, FALSE);
}

static bool ApplyAdvancedPage(HWND page) {
  FormatText(CacheDirectory, sizeof CacheDirectory, "%s", CacheDirCopy);
  HousekeepingSettings.AutoDelete = CheckBoxFlag(page, IDC_ADVANCED_AUTO_DELETE);
  if (HousekeepingSettings.AutoDelete == 1) {
    uint32_t days = 0;
    if (!ReadShownNumber(page, IDC_ADVANCED_DAYS, DAYS_STORABLE_MAX, &days) || days == 0) {
      ShowMessageText(page, TEXT_ADVANCED_INVALID_PERIOD, MB_ICONEXCLAMATION | MB_OK);
      HousekeepingSettings.AutoDeleteDays = 1;
      SetDlgItemInt(page, IDC_ADVANCED_DAYS, 1, FALSE);
      return false;
    }
    HousekeepingSettings.AutoDeleteDays = static_cast<int32_t>(days);
  }
  ReadSizeField(page, IDC_ADVANCED_SIZE, &CacheSettings.MaxFileSizeK);
  ReadSizeField(page, IDC_ADVANCED_FREE, &CacheSettings.MinFreeDiskMB);
  SavePanelSettings();
  return true;
}

static const PageActions ADVANCED_ACTIONS = {nullptr, nullptr, ApplyAdvancedPage};

INT_PTR CALLBACK AdvancedPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      CreateAdvancedPage(page);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDC_ADVANCED_AUTO_DELETE) EnableDays(page, CheckBoxFlag(page, IDC_ADVANCED_AUTO_DELETE));
      return TRUE;
    case WM_NOTIFY:
      return AnswerSheetNotify(page, reinterpret_cast<const NMHDR*>(lParam), ADVANCED_ACTIONS);
  }
  return FALSE;
}
