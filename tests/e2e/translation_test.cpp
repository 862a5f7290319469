// With the German translation installed as strings.lng, the tray's tip and a
// fatal box read it too. The panel's texts in German are a unit test.
#include "fake_tray.h"
#include "manager_session.h"
#include "text/message_text.h"
#include "text/text_catalog.h"

namespace {

// The installed translation's text, trimmed as the program trims it.
std::string German(TextId id) {
  char key[16], text[1000] = "";
  snprintf(key, sizeof key, "%d", id.key);
  GetPrivateProfileStringA(SectionNames[id.section - 1], key, "", text, sizeof text, kLanguageFile);
  TrimSpaces(text);
  return text;
}

TEST_F(ManagerTest, TrayAndFatalBoxInGerman) {
  ASSERT_TRUE(CopyFileA(SourceFile("lang/german.lng").c_str(), kLanguageFile, FALSE));
  FakeTray tray;
  ASSERT_TRUE(tray.Ready());
  run = StartManager();
  ASSERT_NE(run.window, nullptr);
  ASSERT_TRUE(tray.WaitCalls(1, 3000));
  EXPECT_EQ(tray.Calls()[0].tip, German(TEXT_TIP_ON));
  Ftctl("fail CACHE_DISABLE");
  TrayCommand(run, IDM_TOGGLE_CACHE);
  EXPECT_EQ(AnswerBox().text, German(TEXT_ERROR_CANNOT_CONTINUE));
}

}  // namespace
