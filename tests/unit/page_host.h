// A control-panel page made from its template and procedure inside this
// process, in a modeless sheet beside the About page, so that a test drives
// what the page decides without starting the Manager. The store starts and
// ends without the pages' values but the installer's cache folder.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <functional>

#include "harness.h"
#include "panel/control_panel.h"
#include "res/resource.h"
#include "settings/settings.h"
#include "text/message_text.h"


class PageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    AppInstance = GetModuleHandleA(nullptr);
    ClearStore();
  }
  void TearDown() override {
    if (sheet) DestroyWindow(sheet);
    ClearStore();
  }
  static void ClearStore() {
    for (const char* name : kRecordValues) DeleteDriverValue(name);
    DeleteDriverValue("Total");  // the driver's counter, which the Statistics page reads and clears
    WriteDriverValue("CacheDir", REG_SZ, Text(kInstalledCacheDir));
    LanguageFilePath[0] = '\0';
  }
  // Loads the store as the sheet's opening does and shows the page.
  HWND Open(int dialogTemplate, DLGPROC procedure) {
    LoadSettings();
    PROPSHEETPAGEA pages[2] = {{sizeof pages[0], 0, AppInstance, {MAKEINTRESOURCEA(dialogTemplate)}},
                               {sizeof pages[1], 0, AppInstance, {MAKEINTRESOURCEA(IDD_ABOUT)}}};
    pages[0].pfnDlgProc = procedure;
    pages[1].pfnDlgProc = AboutPageProc;
    PROPSHEETHEADERA header = {sizeof header, PSH_PROPSHEETPAGE | PSH_MODELESS, nullptr, AppInstance};
    header.pszCaption = "page under test";
    header.nPages = 2;
    header.ppsp = pages;
    sheet = reinterpret_cast<HWND>(PropertySheetA(&header));
    return page = sheet ? PropSheet_GetCurrentPageHwnd(sheet) : nullptr;
  }
  // Presses Apply; true when every created page accepted it.
  bool Apply() { return SendMessageA(sheet, PSM_APPLY, 0, 0) != 0; }
  // Leaves the page for the About page and comes back.
  void Revisit() {
    PropSheet_SetCurSel(sheet, nullptr, 1);
    PropSheet_SetCurSel(sheet, nullptr, 0);
  }
  void Click(int control) { SendDlgItemMessageA(page, control, BM_CLICK, 0, 0); }
  // Every dialog or box the action opens, but the sheet.
  std::vector<Shown> Opened(const std::function<void()>& action, const std::function<void(HWND)>& answer = nullptr) {
    return ::Opened(action, answer, sheet);
  }
  // The one box the action shows, as "caption: text", when it shows it over the sheet.
  std::string OneBox(const std::function<void()>& action) {
    auto shown = Opened(action);
    bool one = shown.size() == 1 && shown[0].owner == sheet;
    return one ? shown[0].caption + ": " + shown[0].text : std::to_string(shown.size()) + " shown, not one";
  }
  // Writes a language file of the test's own and points the lookup at it.
  void UseLanguageFile(const std::string& contents) {
    snprintf(LanguageFilePath, sizeof LanguageFilePath, "%s", TempPath("ft_page_strings.lng").c_str());
    WriteTextFile(LanguageFilePath, contents);
  }

  HWND sheet = nullptr, page = nullptr;
};
