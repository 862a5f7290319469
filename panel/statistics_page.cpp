// Statistics page: savings since a date, cost parameters and the performance graph.
#include <windows.h>

#include <cstdlib>

#include "panel/control_panel.h"
#include "panel/performance_graph.h"
#include "panel/savings.h"
#include "res/resource.h"
#include "settings/cache_folder.h"
#include "settings/settings.h"
#include "settings/system_time.h"
#include "text/format_text.h"
#include "text/message_text.h"
#include "text/shown_date.h"

constexpr int LINE_SIZE = 256;
constexpr int COST_TYPING_LIMIT = 7;

// Whether the user changed a cost field since the page last wrote it.
static bool MegabyteCostEdited = false;
static bool HourCostEdited = false;

// The kilobytes, hours or money line formatted with one number.
static void FormatSavingsLine(TextId text, double value, char* line, size_t lineSize) {
  char format[MESSAGE_TEXT_SIZE];
  GetFormatText(text, format, sizeof format);
  FormatText(line, lineSize, format, value);
}

// The frame's caption: "Saved by cache since 12/5/2026".
static void FormatSinceCaption(const StoredDate& since, char* line, size_t lineSize) {
  char format[MESSAGE_TEXT_SIZE];
  GetFormatText(TEXT_STATS_SINCE_CAPTION, format, sizeof format);
  FormatShownDate(format, since, line, lineSize);
}

static void ShowLine(HWND page, int controlId, TextId text, double value) {
  char line[LINE_SIZE];
  FormatSavingsLine(text, value, line, sizeof line);
  SetDlgItemTextA(page, controlId, line);
}

static void ShowSince(HWND page) {
  char line[LINE_SIZE];
  FormatSinceCaption(SavingsParameters.Since, line, sizeof line);
  SetDlgItemTextA(page, IDC_STATS_SAVED_FRAME, line);
}

static void ShowSavings(HWND page) {
  float speed = LineSpeedOf(SavingsParameters.LineSpeed);
  SavingsFigures figures = ComputeSavings(ReadTotalKilobytes(), speed, SavingsParameters.CostPerMegabyte,
                                          SavingsParameters.CostPerHour);
  ShowLine(page, IDC_STATS_KILOBYTES, TEXT_STATS_KILOBYTES_LINE, figures.Bytes / 1024.0);
  ShowLine(page, IDC_STATS_HOURS, TEXT_STATS_HOURS_LINE, figures.Hours);
  ShowLine(page, IDC_STATS_MONEY, TEXT_STATS_MONEY_LINE, figures.Money);
  ShowSince(page);
}

static void ShowCost(HWND page, int controlId, float cost) {
  char text[64];
  FormatCost(cost, text, sizeof text);
  SetDlgItemTextA(page, controlId, text);
}

static void FillStatisticsPage(HWND page) {
  ShowPanelBitmap(page, IDC_STATS_PICTURE);
  SendDlgItemMessageA(page, IDC_STATS_MB_COST, EM_LIMITTEXT, COST_TYPING_LIMIT, 0);
  SendDlgItemMessageA(page, IDC_STATS_HOUR_COST, EM_LIMITTEXT, COST_TYPING_LIMIT, 0);
  ShowCost(page, IDC_STATS_HOUR_COST, SavingsParameters.CostPerHour);
  ShowCost(page, IDC_STATS_MB_COST, SavingsParameters.CostPerMegabyte);
  // The page's own writing is no edit: the fields show the stored costs.
  MegabyteCostEdited = false;
  HourCostEdited = false;
  if (SendDlgItemMessageA(page, IDC_STATS_SPEED, CB_GETCOUNT, 0, 0) <= 0) {
    for (const char* speed : LineSpeedList)
      SendDlgItemMessageA(page, IDC_STATS_SPEED, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(speed));
    // An index beyond the list (a stored -1 too) selects nothing.
    SendDlgItemMessageA(page, IDC_STATS_SPEED, CB_SETCURSEL,
                        static_cast<WPARAM>(static_cast<int>(SavingsParameters.LineSpeed)), 0);
  }
  ShowSavings(page);
}

// The field's whole text, to be freed: a cost of 10000 or more is shown with
// more characters than can be typed, and must read back as shown.
static char* FieldText(HWND page, int controlId) {
  HWND field = GetDlgItem(page, controlId);
  int size = GetWindowTextLengthA(field) + 1;
  auto text = static_cast<char*>(malloc(static_cast<size_t>(size > 1 ? size : 1)));
  if (!text) return nullptr;
  int length = GetWindowTextA(field, text, size);
  text[length > 0 && length < size ? length : 0] = '\0';
  return text;
}

// Reads one cost field; false after the field's message when it is no cost.
static bool ReadCost(HWND page, int controlId, bool edited, TextId invalid, float* cost) {
  char* text = FieldText(page, controlId);
  bool read = ReadCostText(text ? text : "", edited, cost);
  free(text);
  if (read) return true;
  ShowMessageText(page, invalid, MB_ICONEXCLAMATION);
  return false;
}

// A valid megabyte cost stays read even when the hour cost is refused.
static bool ReadCostFields(HWND page) {
  if (!ReadCost(page, IDC_STATS_MB_COST, MegabyteCostEdited, TEXT_STATS_INVALID_MB_COST,
                &SavingsParameters.CostPerMegabyte))
    return false;
  if (!ReadCost(page, IDC_STATS_HOUR_COST, HourCostEdited, TEXT_STATS_INVALID_HOUR_COST,
                &SavingsParameters.CostPerHour))
    return false;
  LRESULT selected = SendDlgItemMessageA(page, IDC_STATS_SPEED, CB_GETCURSEL, 0, 0);
  SavingsParameters.LineSpeed = static_cast<uint32_t>(static_cast<int>(selected));
  return true;
}

static void ClearHistory(HWND page) {
  WaitCursor wait;
  ClearTotalKilobytes();
  ShowLine(page, IDC_STATS_KILOBYTES, TEXT_STATS_KILOBYTES_LINE, 0.0);
  ShowLine(page, IDC_STATS_HOURS, TEXT_STATS_HOURS_LINE, 0.0);
  ShowLine(page, IDC_STATS_MONEY, TEXT_STATS_MONEY_LINE, 0.0);
  const StoredDate now = Today();
  SavingsParameters.Since.Year = now.Year;
  SavingsParameters.Since.Month = now.Month;
  SavingsParameters.Since.Day = now.Day;
  ShowSince(page);
}

static bool ApplyStatisticsPage(HWND page) {
  if (!ReadCostFields(page)) return false;
  SavePanelSettings();
  return true;
}

static void CreateStatisticsPage(HWND page) {
  LoadSavingsParameters();
  FillStatisticsPage(page);
  SetDialogLabels(page, IDD_STATISTICS);
}

static const PageActions STATISTICS_ACTIONS = {FillStatisticsPage, nullptr, ApplyStatisticsPage};

INT_PTR CALLBACK StatisticsPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      CreateStatisticsPage(page);
      return TRUE;
    case WM_COMMAND:
      if (HIWORD(wParam) == EN_CHANGE && LOWORD(wParam) == IDC_STATS_MB_COST) MegabyteCostEdited = true;
      if (HIWORD(wParam) == EN_CHANGE && LOWORD(wParam) == IDC_STATS_HOUR_COST) HourCostEdited = true;
      if (LOWORD(wParam) == IDC_STATS_CLEAR) {
        ClearHistory(page);
      } else if (LOWORD(wParam) == IDC_STATS_PERFORMANCE) {
        DialogBoxParamA(AppInstance, MAKEINTRESOURCEA(IDD_PERFORMANCE), page, PerformanceDialogProc, 0);
      }
      return TRUE;
    case WM_NOTIFY:
      return AnswerSheetNotify(page, reinterpret_cast<const NMHDR*>(lParam), STATISTICS_ACTIONS);
  }
  return FALSE;
}
