#include "text/message_text.h"

#include "text/format_text.h"

HINSTANCE AppInstance = nullptr;
char LanguageFilePath[MAX_PATH] = "";

const char SectionNames[SECTION_COUNT][SECTION_NAME_SIZE] = {
    "General", "Advanced", "File Manager", "Statistics", "About FileTrove", "",
    "Errors",  "",         "Main",         "Menu",       "Hint",            "Graph",
    "Edit Mode",
};

static const char BOX_CAPTION[] = "FileTrove";
static const char FATAL_TEXT[] = "Fatal system error!";

// Reads section/key from the language file; empty when it does not hold it.
static void ReadLanguageFile(int section, int key, char* dest, int destSize) {
  dest[0] = '\0';
  if (section < 1 || section > SECTION_COUNT || LanguageFilePath[0] == '\0') return;
  char keyText[16];
  FormatText(keyText, sizeof keyText, "%d", key);
  GetPrivateProfileStringA(SectionNames[section - 1], keyText, "", dest, destSize, LanguageFilePath);
}

static bool LoadTableText(int section, int key, char* dest, int destSize) {
  dest[0] = '\0';
  return LoadStringA(AppInstance, (section - 1) * 1000 + key, dest, destSize) > 0;
}

[[noreturn]] static void FatalTextMissing(HWND owner) {
  MessageBoxA(owner, FATAL_TEXT, BOX_CAPTION, MB_ICONHAND);
  TerminateProcess(GetCurrentProcess(), 1);
  ExitProcess(1);  // not reached: TerminateProcess on ourselves does not return
}

// A label from the language file, else the built-in text.
static void SetControlText(HWND dialog, int controlId, TextId id) {
  char text[LABEL_TEXT_SIZE];
  ReadLanguageFile(id.section, id.key, text, sizeof text);
  TrimSpaces(text);
  if (text[0] != '\0') SetDlgItemTextA(dialog, controlId, text);
}

void SetDialogLabels(HWND dialog, int dialogTemplate) {
  for (int i = 0; i < TEXT_CATALOG_SIZE; i++) {
    const CatalogEntry& entry = TEXT_CATALOG[i];
    if (entry.use != TEXT_LABEL || entry.dialog != dialogTemplate) continue;
    SetControlText(dialog, entry.control, entry.id);
    if (entry.sameTextControl) SetControlText(dialog, entry.sameTextControl, entry.id);
  }
}

// A file text that is empty once trimmed (a quoted blank, 6=" ") counts as
// missing, like an empty one: the string table's text is used instead.
void ShowMessageText(HWND owner, TextId id, UINT style) {
  char text[BOX_TEXT_SIZE];
  ReadLanguageFile(id.section, id.key, text, sizeof text);
  TrimSpaces(text);
  if (text[0] == '\0') {
    if (!LoadTableText(id.section, id.key, text, sizeof text)) FatalTextMissing(owner);
    TrimSpaces(text);
  }
  MessageBoxA(owner, text, BOX_CAPTION, style);
}

void ShowFormattedMessage(HWND owner, TextId id, const char* argument, UINT style) {
  char format[MESSAGE_TEXT_SIZE];
  GetFormatText(id, format, sizeof format);
  char message[MESSAGE_TEXT_SIZE + MAX_PATH];
  FormatText(message, sizeof message, format, argument);
  MessageBoxA(owner, message, BOX_CAPTION, style);
}

void SetDialogTitle(HWND dialog, TextId id) {
  char title[MESSAGE_TEXT_SIZE];
  GetMessageText(id, title, sizeof title);
  SetWindowTextA(dialog, title);
}

void GetMessageText(TextId id, char* dest, int destSize) {
  ReadLanguageFile(id.section, id.key, dest, destSize < MESSAGE_TEXT_SIZE ? destSize : MESSAGE_TEXT_SIZE);
  TrimSpaces(dest);
  if (dest[0] != '\0') return;
  if (!LoadTableText(id.section, id.key, dest, destSize)) FatalTextMissing(nullptr);
}

void GetFormatText(TextId id, char* dest, int destSize) {
  char table[BOX_TEXT_SIZE];
  if (!LoadTableText(id.section, id.key, table, sizeof table)) {
    // Without a table text there is nothing to check against: no file text is safe.
    FatalTextMissing(nullptr);
  }
  GetMessageText(id, dest, destSize);
  if (!FormatKeepsConversions(table, dest)) FormatText(dest, destSize, "%s", table);
}
