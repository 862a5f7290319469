// The tray's pop-up menu on a hidden window of this process: its items
// follow the switch and the language file.
#include <thread>

#include "app/tray.h"
#include "page_host.h"
#include "settings/device.h"

namespace {

using Texts = std::vector<std::string>;

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

using TrayMenu = PageTest;  // for the store it puts back

TEST_F(TrayMenu, ItemsFollowTheSwitchAndTheLanguageFile) {
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
  }
  CloseDevice();
  DeviceHandle = 0;
}

}  // namespace
