#include "panel/advanced_page.h"

#include <commctrl.h>

#include <cstdio>
#include <cstring>

#include "panel/control_panel.h"
#include "res/resource.h"
#include "settings/settings.h"
#include "text/message_text.h"

char CacheDirCopy[MAX_PATH] = "";

constexpr int SIZE_DIGITS = 5;
constexpr int DAYS_DIGITS = 3;
constexpr int FREE_DIGITS = 3;
constexpr int SIZE_DAYS_MAX = 9999;
constexpr int FREE_MAX = 999;

bool ParseShownNumber(const char* text, const char* separator, UINT* value) {
  *value = 0;
  size_t separatorLength = separator ? strlen(separator) : 0;
  unsigned long long number = 0;
  bool digitSeen = false;
  for (const char* p = text; *p;) {
    if (*p >= '0' && *p <= '9') {
      number = number * 10 + static_cast<unsigned>(*p - '0');
      if (number > 0xFFFFFFFFull) return false;
      digitSeen = true;
      p++;
    } else if (digitSeen && separatorLength > 0 && strncmp(p, separator, separatorLength) == 0) {
      p += separatorLength;
    } else {
      return false;
    }
  }
  *value = static_cast<UINT>(number);
  return true;
}

static void AttachSpin(HWND page, int spinId, int editId, int maximum, uint32_t position) {
  HWND spin = GetDlgItem(page, spinId);
  SendMessageA(spin, UDM_SETBUDDY, reinterpret_cast<WPARAM>(GetDlgItem(page, editId)), 0);
  SendMessageA(spin, UDM_SETRANGE, 0, MAKELONG(maximum, 0));
  SendMessageA(spin, UDM_SETPOS, 0, MAKELONG(LOWORD(position), 0));
}

static void LimitDigits(HWND page, int editId, int digits) {
  SendDlgItemMessageA(page, editId, EM_LIMITTEXT, digits, 0);
}

static void EnableDays(HWND page, BOOL enable) {
  EnableWindow(GetDlgItem(page, IDC_ADVANCED_DAYS), enable);
  EnableWindow(GetDlgItem(page, IDC_ADVANCED_DAYS_SPIN), enable);
}

static void CreateAdvancedPage(HWND page) {
  AttachSpin(page, IDC_ADVANCED_SIZE_SPIN, IDC_ADVANCED_SIZE, SIZE_DAYS_MAX, CacheSettings.MaxFileSizeK);  // 1
  LimitDigits(page, IDC_ADVANCED_SIZE, SIZE_DIGITS);  // 2
  LimitDigits(page, IDC_ADVANCED_DAYS, DAYS_DIGITS);
  AttachSpin(page, IDC_ADVANCED_DAYS_SPIN, IDC_ADVANCED_DAYS, SIZE_DAYS_MAX,  // 3
             static_cast<uint32_t>(HousekeepingSettings.AutoDeleteDays));
  SetDlgItemInt(page, IDC_ADVANCED_FREE, CacheSettings.MinFreeDiskMB, FALSE);  // 4
  LimitDigits(page, IDC_ADVANCED_FREE, FREE_DIGITS);
  AttachSpin(page, IDC_ADVANCED_FREE_SPIN, IDC_ADVANCED_FREE, FREE_MAX, CacheSettings.MinFreeDiskMB);
  SetDlgItemInt(page, IDC_ADVANCED_DAYS, HousekeepingSettings.AutoDeleteDays, TRUE);  // 5
  SetDlgItemTextA(page, IDC_ADVANCED_DIRECTORY, CacheDirectory);  // 6
  snprintf(CacheDirCopy, sizeof CacheDirCopy, "%s", CacheDirectory);
  CheckDlgButton(page, IDC_ADVANCED_AUTO_DELETE, HousekeepingSettings.AutoDelete ? BST_CHECKED : BST_UNCHECKED);  // 7
  SetDlgItemInt(page, IDC_ADVANCED_SIZE, CacheSettings.MaxFileSizeK, FALSE);
  EnableDays(page, HousekeepingSettings.AutoDelete != 0);  // 8
  SetDialogLabels(page, IDD_ADVANCED);
}

// The days as the edit shows them: the up-down of 1035 groups thousands.
static UINT ReadDays(HWND page) {
  char text[32] = "";
  char separator[8] = "";
  GetDlgItemTextA(page, IDC_ADVANCED_DAYS, text, sizeof text);
  GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, separator, sizeof separator);
  UINT days = 0;
  ParseShownNumber(text, separator, &days);
  return days;
}

static bool ApplyAdvancedPage(HWND page) {
  snprintf(CacheDirectory, sizeof CacheDirectory, "%s", CacheDirCopy);  // 1
  HousekeepingSettings.AutoDelete = IsDlgButtonChecked(page, IDC_ADVANCED_AUTO_DELETE) == BST_CHECKED ? 1 : 0;  // 2
  if (HousekeepingSettings.AutoDelete == 1) {  // 3
    HousekeepingSettings.AutoDeleteDays = static_cast<int32_t>(ReadDays(page));
    if (HousekeepingSettings.AutoDeleteDays == 0) {
      ShowMessageText(page, TEXT_ADVANCED_INVALID_PERIOD, MB_ICONEXCLAMATION | MB_OK);
      HousekeepingSettings.AutoDeleteDays = 1;
      SetDlgItemInt(page, IDC_ADVANCED_DAYS, 1, FALSE);
      return false;
    }
  }
  CacheSettings.MaxFileSizeK = GetDlgItemInt(page, IDC_ADVANCED_SIZE, nullptr, FALSE);  // 4
  CacheSettings.MinFreeDiskMB = GetDlgItemInt(page, IDC_ADVANCED_FREE, nullptr, FALSE);
  SaveSettings();  // 5
  return true;
}

static const PageActions ADVANCED_ACTIONS = {nullptr, nullptr, ApplyAdvancedPage};

INT_PTR CALLBACK AdvancedPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      CreateAdvancedPage(page);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDC_ADVANCED_AUTO_DELETE)
        EnableDays(page, IsDlgButtonChecked(page, IDC_ADVANCED_AUTO_DELETE) == BST_CHECKED);
      return TRUE;
    case WM_NOTIFY:
      return AnswerSheetNotify(page, reinterpret_cast<const NMHDR*>(lParam), ADVANCED_ACTIONS);
  }
  return FALSE;
}
