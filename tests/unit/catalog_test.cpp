// The text catalog against what the program carries and what translators
// get: the template, the German translation, the string table and the
// dialog templates must all agree with it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <regex>
#include <set>
#include <string>
#include <utility>

#include "catalog_text.h"
#include "harness.h"
#include "res/resource.h"
#include "text/message_text.h"
#include "text/text_catalog.h"

namespace {

// Every (section, key) the file holds.
std::set<std::pair<int, int>> ProfileKeys(const std::string& file) {
  std::set<std::pair<int, int>> keys;
  char names[4096] = "", section[8192];
  GetPrivateProfileSectionNamesA(names, sizeof names, file.c_str());
  for (const char* name = names; *name; name += strlen(name) + 1) {
    int number = 0;
    for (int i = 0; i < SECTION_COUNT; i++)
      if (strcmp(SectionNames[i], name) == 0) number = i + 1;
    GetPrivateProfileSectionA(name, section, sizeof section, file.c_str());
    for (const char* line = section; *line; line += strlen(line) + 1) keys.insert({number, atoi(line)});
  }
  return keys;
}

std::set<std::pair<int, int>> CatalogKeys() {
  std::set<std::pair<int, int>> keys;
  for (int i = 0; i < TEXT_CATALOG_SIZE; i++) keys.insert({TEXT_CATALOG[i].id.section, TEXT_CATALOG[i].id.key});
  return keys;
}

// A format's conversions as written ("d", "lf"), without their flags, widths
// and precisions; "%%" is none.
std::string Conversions(const std::string& format) {
  static const std::regex conversion("%(%|[-+ #0]*[0-9]*(?:\\.[0-9]*)?(l?[a-zA-Z]))");
  std::string kinds;
  for (std::sregex_iterator it(format.begin(), format.end(), conversion), end; it != end; ++it)
    if ((*it)[2].matched) kinds += (*it)[2].str() + " ";
  return kinds;
}

// Dialog templates hold the labels' English, the string table the rest.
INT_PTR CALLBACK QuietDialog(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

TEST(TextCatalog, EnglishIsWhatTheProgramShowsWithoutALanguageFile) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  HWND parent = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, instance, nullptr);
  for (int i = 0; i < TEXT_CATALOG_SIZE; i++) {
    const CatalogEntry& entry = TEXT_CATALOG[i];
    char shown[1200] = "";
    if (entry.use == TEXT_LABEL) {
      HWND dialog = CreateDialogParamA(instance, MAKEINTRESOURCEA(entry.dialog), parent, QuietDialog, 0);
      ASSERT_NE(dialog, nullptr) << entry.dialog;
      GetDlgItemTextA(dialog, entry.control, shown, sizeof shown);
      DestroyWindow(dialog);
    } else {
      LoadStringA(instance, TEXT_ID(entry.id.section, entry.id.key), shown, sizeof shown);
    }
    EXPECT_STREQ(shown, entry.english) << entry.id.section << "/" << entry.id.key;
  }
  DestroyWindow(parent);
}

// The template holds every text once, in English; the German translation
// holds every one too, fitting its buffer with the English one's conversions
// and mnemonics.
TEST(TextCatalog, TemplateAndTranslationHoldEveryText) {
  EXPECT_EQ(CatalogKeys().size(), static_cast<size_t>(TEXT_CATALOG_SIZE)) << "a text is named twice";
  for (const char* file : {"lang/template.lng", "lang/german.lng"})
    EXPECT_EQ(ProfileKeys(SourceFile(file)), CatalogKeys()) << file;
  for (int i = 0; i < TEXT_CATALOG_SIZE; i++) {
    const CatalogEntry& entry = TEXT_CATALOG[i];
    EXPECT_EQ(ProfileText(SourceFile("lang/template.lng"), entry.id), entry.english);
    std::string text = Trimmed(ProfileText(SourceFile("lang/german.lng"), entry.id));
    size_t size = entry.use == TEXT_LABEL ? LABEL_TEXT_SIZE : entry.use == TEXT_BOX ? BOX_TEXT_SIZE : MESSAGE_TEXT_SIZE;
    EXPECT_FALSE(text.empty()) << entry.english;
    EXPECT_LT(text.size(), size) << text;
    EXPECT_EQ(Conversions(text), Conversions(entry.english)) << text;
    const std::string source = entry.english;
    EXPECT_EQ(std::count(text.begin(), text.end(), '&'), std::count(source.begin(), source.end(), '&')) << text;
  }
}

}  // namespace
