// Every user-visible text, looked up by section and key: first in the
// language file, then in the string table.
#pragma once
#include <windows.h>

#include "text/text_catalog.h"
#include "text/text_rules.h"

constexpr int SECTION_FILE_MANAGER = 3;
constexpr int SECTION_STATISTICS = 4;
constexpr int SECTION_ERRORS = 7;
constexpr int SECTION_MENU = 10;
constexpr int SECTION_HINT = 11;

constexpr int SECTION_COUNT = 13;
constexpr int SECTION_NAME_SIZE = 50;
constexpr int LABEL_TEXT_SIZE = 100;    // a label's language-file read
constexpr int BOX_TEXT_SIZE = 1000;     // ShowMessageText's reads
constexpr int MESSAGE_TEXT_SIZE = 50;   // GetMessageText's language-file read

// The module whose string table backs every text, and the language file
// beside the program (empty when there is none).
extern HINSTANCE AppInstance;
extern char LanguageFilePath[MAX_PATH];

extern const char SectionNames[SECTION_COUNT][SECTION_NAME_SIZE];

// Sets every label that TEXT_CATALOG records for the dialog template; a label
// the language file lacks keeps the template's text.
void SetDialogLabels(HWND dialog, int dialogTemplate);
void ShowMessageText(HWND owner, TextId text, UINT style);
// A box of a format text with one text argument; the argument is data (a
// file's name), never read as a format.
void ShowFormattedMessage(HWND owner, TextId format, const char* argument, UINT style);
// A dialog's title from its message text.
void SetDialogTitle(HWND dialog, TextId title);
// dest holds destSize characters (at least MESSAGE_TEXT_SIZE).
void GetMessageText(TextId text, char* dest, int destSize);
// As GetMessageText, for a text used as a printf format: a language-file text
// is taken only when its conversions match the string table's in number and
// kind; otherwise the string table's text is used.
void GetFormatText(TextId text, char* dest, int destSize);
