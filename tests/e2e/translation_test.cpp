// With the German translation installed as strings.lng, everything the user
// reads comes from it: tray, tab titles, every label of every page and
// dialog, the texts the pages make, and the boxes.
#include <algorithm>
#include <cstring>

#include "fake_tray.h"
#include "panel_session.h"
#include "res/resource.h"
#include "text/message_text.h"
#include "text/text_catalog.h"

namespace {

class Translation : public PanelTest {
 protected:
  void SetUp() override {
    PanelTest::SetUp();
    std::string source = std::string("Z:") + FT_SOURCE_DIR + "/lang/german.lng";
    std::replace(source.begin(), source.end(), '/', '\\');
    ASSERT_TRUE(CopyFileA(source.c_str(), kLanguageFile, FALSE)) << source;
  }
  // The installed translation's text, trimmed as the program trims it.
  static std::string German(TextId id) {
    char key[16], text[1000] = "";
    snprintf(key, sizeof key, "%d", id.key);
    GetPrivateProfileStringA(SectionNames[id.section - 1], key, "", text, sizeof text, kLanguageFile);
    TrimSpaces(text);
    return text;
  }
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
  static std::string Formatted(TextId id, double value) {
    char line[256];
    snprintf(line, sizeof line, German(id).c_str(), value);
    return line;
  }
  // Opens a page's dialog with its button, finds it by its German caption,
  // checks its labels and closes it again.
  void ExpectDialogInGerman(HWND page, int button, TextId caption, int dialogId, int closeButton) {
    PressButton(page, button);
    HWND dialog = WaitForWindow("#32770", German(caption).c_str(), kDefaultTimeoutMs, run.program.pid);
    ASSERT_NE(dialog, nullptr) << German(caption);
    ExpectLabels(dialog, dialogId);
    PressButton(dialog, closeButton);
    ASSERT_TRUE(WaitWindowGone(dialog, kDefaultTimeoutMs));
  }
  // Presses a button that opens a box and returns the box's text.
  static std::string BoxAfter(HWND dialog, int button) {
    PressButton(dialog, button);
    return AnswerBox().text;
  }
};

TEST_F(Translation, TrayTabsPagesDialogsAndBoxes) {
  FakeTray tray;
  ASSERT_TRUE(tray.Ready());
  run = StartManager();
  ASSERT_NE(run.window, nullptr);
  ASSERT_TRUE(tray.WaitCalls(1, 3000));
  EXPECT_EQ(tray.Calls()[0].tip, German(TEXT_TIP_ON));
  EXPECT_EQ(TrayMenuItems(run), (std::vector<std::string>{"142 " + German(TEXT_MENU_DISABLE),
                                                          "143 " + German(TEXT_MENU_OPEN_PANEL)}));

  HWND sheet = OpenPanel(run);
  ASSERT_NE(sheet, nullptr);
  const TextId titles[] = {TEXT_TITLE_GENERAL,   TEXT_TITLE_ADVANCED,   TEXT_TITLE_FILE_MANAGER,
                           TEXT_TITLE_EDIT_MODE, TEXT_TITLE_STATISTICS, TEXT_TITLE_ABOUT};
  for (int tab = 0; tab < 6; tab++) EXPECT_EQ(SheetTabTitle(sheet, tab), German(titles[tab]));

  ExpectLabels(ChooseSheetTab(sheet, kGeneralTab), IDD_GENERAL);

  HWND advanced = ChooseSheetTab(sheet, kAdvancedTab);
  ExpectLabels(advanced, IDD_ADVANCED);
  SetText(advanced, IDC_ADVANCED_DAYS, "");
  EXPECT_EQ(BoxAfter(sheet, kApplyButton), German(TEXT_ADVANCED_INVALID_PERIOD));

  HWND files = ChooseSheetTab(sheet, kFileManagerTab);
  ExpectLabels(files, IDD_FILE_MANAGER);
  EXPECT_EQ(ControlText(files, IDC_FILES_FRAME).rfind(German(TEXT_FILES_CAPTION).substr(0, 16), 0), 0u)
      << ControlText(files, IDC_FILES_FRAME);
  EXPECT_EQ(BoxAfter(files, IDC_FILES_DELETE), German(TEXT_FILES_NOTHING_SELECTED));

  HWND editMode = ChooseSheetTab(sheet, kEditModeTab);
  ExpectLabels(editMode, IDD_EDIT_MODE);
  EXPECT_EQ(ControlText(editMode, IDC_EDIT_TYPE_NAME), German(TEXT_EDIT_NO_SELECTION));
  EXPECT_EQ(BoxAfter(editMode, IDC_EDIT_REMOVE), German(TEXT_EDIT_NO_SELECTION));
  ASSERT_NO_FATAL_FAILURE(ExpectDialogInGerman(editMode, IDC_EDIT_ADD, TEXT_EDIT_ADD_TITLE, IDD_ADD_EXTENSION, IDCANCEL));

  HWND statistics = ChooseSheetTab(sheet, kStatisticsTab);
  ExpectLabels(statistics, IDD_STATISTICS);
  EXPECT_EQ(ControlText(statistics, IDC_STATS_HOUR_CURRENCY), German(TEXT_STATS_CURRENCY));
  EXPECT_EQ(ControlText(statistics, IDC_STATS_HOURS), Formatted(TEXT_STATS_HOURS_LINE, 0));
  ASSERT_NO_FATAL_FAILURE(ExpectDialogInGerman(statistics, IDC_STATS_PERFORMANCE, TEXT_GRAPH_CAPTION, IDD_PERFORMANCE, IDOK));
  SetText(statistics, IDC_STATS_HOUR_COST, "x");
  EXPECT_EQ(BoxAfter(sheet, kApplyButton), German(TEXT_STATS_INVALID_HOUR_COST));
  ASSERT_TRUE(CloseSheet(sheet, IDCANCEL));

  // A failing request is fatal in German.
  Ftctl("fail CACHE_DISABLE");
  TrayCommand(run, kToggleCommand);
  EXPECT_EQ(AnswerBox().text, German(TEXT_ERROR_CANNOT_CONTINUE));
}

}  // namespace
