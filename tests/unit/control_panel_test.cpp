// The Manager's windows made in-process: the tray's menu on a hidden window,
// and the whole control panel as the tray opens it, with its tabs' titles and
// every text of its pages, dialogs and boxes in the German translation.
#include <string>
#include <thread>
#include <vector>

#include "app/startup.h"
#include "app/tray.h"
#include "app/watchdog.h"
#include "fake_tray.h"
#include "catalog_text.h"
#include "page_host.h"
#include "settings/device.h"
#include "text/text_catalog.h"

namespace {

using Texts = std::vector<std::string>;

class ControlPanel : public PageTest {
 protected:
  // Opens the sheet as the tray does, hands it to inside and cancels it.
  void WithSheet(const std::function<void(HWND)>& inside) {
    auto shown = Opened([] { OpenControlPanel(nullptr); }, [&](HWND opened) {
      inside(opened);
      PressButton(opened, IDCANCEL);
    });
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].caption, "FileTrove - Control Panel");
  }
  static Texts Titles(HWND sheet) {
    HWND tabs = PropSheet_GetTabControl(sheet);
    Texts titles(TabCtrl_GetItemCount(tabs));
    for (size_t i = 0; i < titles.size(); i++) {
      char text[64] = "";
      TCITEMA item = {TCIF_TEXT, 0, 0, text, sizeof text};
      TabCtrl_GetItem(tabs, i, &item);
      titles[i] = text;
    }
    return titles;
  }
  // The language file's text, trimmed as the program trims it.
  static std::string German(TextId id) { return Trimmed(ProfileText(LanguageFilePath, id)); }
  // Every label the catalog gives this dialog shows its translation.
  static void ExpectLabels(HWND dialog, int dialogId) {
    int checked = 0;
    for (int i = 0; i < TEXT_CATALOG_SIZE; i++) {
      const CatalogEntry& entry = TEXT_CATALOG[i];
      if (entry.use != TEXT_LABEL || entry.dialog != dialogId) continue;
      EXPECT_EQ(ControlText(dialog, entry.control), German(entry.id)) << "dialog " << dialogId;
      checked++;
    }
    EXPECT_GT(checked, 0) << "dialog " << dialogId;
  }
};

// The titles come from the language file and the pages' records from the
// store at each opening (a refused Apply may have left other values in
// memory); the sheet opens on the General page; every page shown lights Apply.
TEST_F(ControlPanel, EachOpeningReadsTitlesAndStoreAndEveryPageShownLightsApply) {
  WriteDriverValue("Data2", REG_BINARY, Concat({Le32(1), Le32(45)}));
  HousekeepingSettings = {1, 1};
  WithSheet([](HWND sheet) {
    EXPECT_EQ(Titles(sheet), (Texts{"General", "Advanced", "File Manager", "Edit Mode", "Statistics",
                                    "About FileTrove"}));
    HWND general = CurrentSheetPage(sheet);
    EXPECT_EQ(ControlText(general, IDC_GENERAL_ACTIVE), "A&ctivate Cache");
    EXPECT_TRUE(IsEnabled(sheet, kApplyButton)) << "at the opening";
    SendAndWait(sheet, PSM_UNCHANGED, reinterpret_cast<WPARAM>(general), 0);
    ASSERT_FALSE(IsEnabled(sheet, kApplyButton));
    HWND advanced = ChooseSheetTab(sheet, kAdvancedTab);
    EXPECT_TRUE(IsEnabled(sheet, kApplyButton)) << "at a page change";
    EXPECT_EQ(ControlText(advanced, IDC_ADVANCED_DAYS), "45");
  });
  UseLanguageFile("[Main]\n1=Allgemein\n13=Bearbeiten\n4=Statistik\n[About FileTrove]\n1=Fassung\n");
  WithSheet([](HWND sheet) {
    EXPECT_EQ(Titles(sheet), (Texts{"Allgemein", "Advanced", "File Manager", "Bearbeiten", "Statistik",
                                    "About FileTrove"}));
    HWND about = ChooseSheetTab(sheet, kAboutTab);
    EXPECT_EQ(ControlText(about, IDC_ABOUT_VERSION), "Version 1.5") << "About takes no file text";
  });
}

// Every text the pages and their dialogs and boxes show but the File
// Manager's totals and the graph's drawn texts (their own tests' matter).
TEST_F(ControlPanel, PagesDialogsAndBoxesInTheGermanTranslation) {
  snprintf(LanguageFilePath, sizeof LanguageFilePath, "%s", SourceFile("lang/german.lng").c_str());
  WithSheet([](HWND sheet) {
    const TextId titles[] = {TEXT_TITLE_GENERAL,   TEXT_TITLE_ADVANCED,   TEXT_TITLE_FILE_MANAGER,
                             TEXT_TITLE_EDIT_MODE, TEXT_TITLE_STATISTICS, TEXT_TITLE_ABOUT};
    for (int tab = kGeneralTab; tab <= kAboutTab; tab++) EXPECT_EQ(Titles(sheet)[tab], German(titles[tab]));
    // Each page's labels and the box of a refusal; a typed text first, where
    // given. Statistics before Edit Mode: an Apply with Edit Mode made would
    // send the types to a driver this process has not opened.
    const struct { int tab, dialog, field; const char* typed; int button; TextId box; } pages[] = {
        {kGeneralTab, IDD_GENERAL, 0, nullptr, 0, {}},
        {kAdvancedTab, IDD_ADVANCED, IDC_ADVANCED_DAYS, "", kApplyButton, TEXT_ADVANCED_INVALID_PERIOD},
        {kFileManagerTab, IDD_FILE_MANAGER, 0, nullptr, IDC_FILES_DELETE, TEXT_FILES_NOTHING_SELECTED},
        {kStatisticsTab, IDD_STATISTICS, IDC_STATS_HOUR_COST, "x", kApplyButton, TEXT_STATS_INVALID_HOUR_COST},
        {kEditModeTab, IDD_EDIT_MODE, 0, nullptr, IDC_EDIT_REMOVE, TEXT_EDIT_NO_SELECTION},
    };
    for (const auto& p : pages) {
      HWND page = ChooseSheetTab(sheet, p.tab);
      ExpectLabels(page, p.dialog);
      if (p.typed) SetText(page, p.field, p.typed);
      if (!p.button) continue;
      PressButton(p.button == kApplyButton ? sheet : page, p.button);
      EXPECT_EQ(AnswerBox(kDefaultTimeoutMs, GetCurrentProcessId()).text, German(p.box)) << p.dialog;
    }
    HWND files = ChooseSheetTab(sheet, kFileManagerTab), statistics = ChooseSheetTab(sheet, kStatisticsTab),
         editMode = ChooseSheetTab(sheet, kEditModeTab);
    SYSTEMTIME today;
    GetSystemTime(&today);
    char text[256];
    snprintf(text, sizeof text, German(TEXT_FILES_CAPTION).c_str(), today.wMonth, today.wDay,
             today.wYear);
    EXPECT_EQ(ControlText(files, IDC_FILES_FRAME), text);
    HWND list = GetDlgItem(files, IDC_FILES_LIST);
    const TextId headers[] = {TEXT_FILES_NAME_COLUMN, TEXT_FILES_SIZE_COLUMN, TEXT_FILES_USED_COLUMN,
                              TEXT_FILES_HITS_COLUMN};
    for (int column = 0; column < 4; column++) {
      LVCOLUMNA header = {LVCF_TEXT, 0, 0, text, sizeof text, 0, 0, 0};
      ASSERT_TRUE(ListView_GetColumn(list, column, &header));
      EXPECT_EQ(text, German(headers[column]));
    }
    EXPECT_EQ(ControlText(editMode, IDC_EDIT_TYPE_NAME), German(TEXT_EDIT_NO_SELECTION));
    EXPECT_EQ(ControlText(statistics, IDC_STATS_HOUR_CURRENCY), German(TEXT_STATS_CURRENCY));
    // Nothing saved: no counter is stored.
    const struct { int control; TextId line; } lines[] = {{IDC_STATS_KILOBYTES, TEXT_STATS_KILOBYTES_LINE},
                                                        {IDC_STATS_HOURS, TEXT_STATS_HOURS_LINE},
                                                        {IDC_STATS_MONEY, TEXT_STATS_MONEY_LINE}};
    for (const auto& l : lines) {
      snprintf(text, sizeof text, German(l.line).c_str(), 0.0);
      EXPECT_EQ(ControlText(statistics, l.control), text);
    }
    // The pages' dialogs, found by their German captions.
    const struct { HWND page; int button; TextId caption; int dialog, close; } dialogs[] = {
        {editMode, IDC_EDIT_ADD, TEXT_EDIT_ADD_TITLE, IDD_ADD_EXTENSION, IDCANCEL},
        {statistics, IDC_STATS_PERFORMANCE, TEXT_GRAPH_CAPTION, IDD_PERFORMANCE, IDOK},
    };
    for (const auto& d : dialogs) {
      PressButton(d.page, d.button);
      HWND dialog = WaitForWindow("#32770", German(d.caption).c_str(), kDefaultTimeoutMs, GetCurrentProcessId());
      ASSERT_NE(dialog, nullptr) << German(d.caption);
      Sync(dialog);
      ExpectLabels(dialog, d.dialog);
      PressButton(dialog, d.close);
      ASSERT_TRUE(WaitWindowGone(dialog, kDefaultTimeoutMs));
    }
  });
}

// The items of the menu a right click on the icon opens ("142 Disable
// FileTrove", …); the menu is closed again.
Texts MenuItems(HWND window) {
  Texts items;
  std::thread reader([&] {
    HWND popup = WaitForWindow("#32768", nullptr, kDefaultTimeoutMs, GetCurrentProcessId());
    auto menu = reinterpret_cast<HMENU>(SendAndWait(popup, MN_GETHMENU, 0, 0));
    for (int i = 0; menu && i < GetMenuItemCount(menu); i++) {
      char text[256] = "";
      GetMenuStringA(menu, i, text, sizeof text, MF_BYPOSITION);
      items.push_back(std::to_string(GetMenuItemID(menu, i)) + " " + text);
    }
    PostMessageA(window, WM_CANCELMODE, 0, 0);
  });
  SendMessageA(window, WM_TRAYNOTIFY, TRAY_ICON_ID, WM_RBUTTONDOWN);  // returns once the menu closed
  reader.join();
  return items;
}

using TrayWindow = PageTest;  // for the store as installed at its start and end

// The menu's items follow the switch and the language file; the window's end
// takes the icon away and switches caching off.
TEST_F(TrayWindow, MenuFollowsTheSwitchAndTheLanguageFileTheEndRemovesTheIconAndStopsCaching) {
  FakeTray tray;
  ASSERT_TRUE(tray.Ready());
  ASSERT_TRUE(OpenDevice());  // the window tells the driver its state
  WNDCLASSA windowClass = {0, ManagerWindowProc, 0, 0, AppInstance};
  windowClass.lpszClassName = "tray under test";
  RegisterClassA(&windowClass);
  const struct { const char* languageFile; Texts on, off; } runs[] = {
      {nullptr, {"142 Disable FileTrove", "143 FileTrove Manager"}, {"142 Enable FileTrove", "143 FileTrove Manager"}},
      {"[Menu]\n1=  Ein  \n2=Aus\n3=Verwaltung\n", {"142 Aus", "143 Verwaltung"}, {"142 Ein", "143 Verwaltung"}},
  };
  for (const auto& run : runs) {
    if (run.languageFile) UseLanguageFile(run.languageFile);
    CacheSettings.CacheActive = 1;
    HWND window = CreateWindowExA(0, "tray under test", "", 0, 0, 0, 0, 0, nullptr, nullptr, AppInstance, nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(MenuItems(window), run.on);
    ToggleCache(window);
    EXPECT_EQ(MenuItems(window), run.off);
    ToggleCache(window);
    EXPECT_EQ(MenuItems(window), run.on);
    DestroyWindow(window);
    EXPECT_EQ(tray.Calls().back().action, static_cast<DWORD>(NIM_DELETE));
    EXPECT_EQ(DriverRequests().back(), "CACHE_DISABLE 0x8101");
    EXPECT_EQ(CacheSettings.CacheActive, 0u);
  }
  CloseDevice();
  DeviceHandle = 0;
}

// Stands for the hidden window: WM_APP asks whether the watchdog's timer runs
// (and stops it).
LRESULT CALLBACK TimerProbe(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_APP) return KillTimer(window, WATCHDOG_TIMER);
  return DefWindowProcA(window, message, wParam, lParam);
}

// No check may run while the free-space warning is up: the watchdog's timer
// stops for it and runs again once the warning is answered.
TEST_F(TrayWindow, WatchdogsTimerStopsWhileTheWarningIsUp) {
  ASSERT_TRUE(OpenDevice());
  ResetDriver();
  WNDCLASSA windowClass = {0, TimerProbe, 0, 0, AppInstance};
  windowClass.lpszClassName = "watchdog under test";
  RegisterClassA(&windowClass);
  ManagerWindow = CreateWindowExA(0, "watchdog under test", "", 0, 0, 0, 0, 0, nullptr, nullptr, AppInstance, nullptr);
  ASSERT_NE(ManagerWindow, nullptr);
  SetTimer(ManagerWindow, WATCHDOG_TIMER, WATCHDOG_PERIOD_MS, nullptr);
  CacheSettings = {1, 1, 300, 0xFFFFFFFF};  // more free megabytes than any drive has: low
  LRESULT runningDuringWarning = -1;
  auto shown = Opened([] { CheckFreeSpace(ManagerWindow); }, [&](HWND box) {
    runningDuringWarning = SendAndWait(ManagerWindow, WM_APP, 0, 0);
    PressButton(box, IDOK);
  });
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(runningDuringWarning, FALSE);
  EXPECT_TRUE(KillTimer(ManagerWindow, WATCHDOG_TIMER)) << "the checks did not resume";
  CacheSettings.MinFreeDiskMB = 0;  // room again, as the next check finds
  CheckFreeSpace(ManagerWindow);
  EXPECT_EQ(DriverRequests(), (Texts{"CACHE_DISK_LOW 0x8103", "CACHE_DISK_OK 0x8104"}));
  DestroyWindow(ManagerWindow);
  ManagerWindow = nullptr;
  CacheSettings = {1, 1, 300, 100};
  CloseDevice();
  DeviceHandle = 0;
}

}  // namespace
