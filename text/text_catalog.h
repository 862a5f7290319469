// Every text the program reads, named once by section and key. Lookups take
// these names; the translator's template and the tests are checked against
// TEXT_CATALOG, which also gives each text's English form.
#pragma once

struct TextId {
  int section;
  int key;
};

constexpr bool operator==(TextId a, TextId b) { return a.section == b.section && a.key == b.key; }

// General page
constexpr TextId TEXT_GENERAL_ACTIVATE{1, 1};
constexpr TextId TEXT_GENERAL_PROGRESS{1, 2};
constexpr TextId TEXT_GENERAL_NOTE{1, 3};
// Advanced page
constexpr TextId TEXT_ADVANCED_DIR_FRAME{2, 1};
constexpr TextId TEXT_ADVANCED_DISK_FRAME{2, 2};
constexpr TextId TEXT_ADVANCED_AUTO_DELETE{2, 3};
constexpr TextId TEXT_ADVANCED_DAYS_LABEL{2, 4};
constexpr TextId TEXT_ADVANCED_DAYS_UNIT{2, 5};
constexpr TextId TEXT_ADVANCED_SIZE_LABEL{2, 6};
constexpr TextId TEXT_ADVANCED_SIZE_UNIT{2, 7};
constexpr TextId TEXT_ADVANCED_FREE_LABEL{2, 8};
constexpr TextId TEXT_ADVANCED_FREE_UNIT{2, 9};
constexpr TextId TEXT_ADVANCED_INVALID_PERIOD{2, 10};
// File Manager page
constexpr TextId TEXT_FILES_CAPTION{3, 1};
constexpr TextId TEXT_FILES_NAME_COLUMN{3, 2};
constexpr TextId TEXT_FILES_SIZE_COLUMN{3, 3};
constexpr TextId TEXT_FILES_USED_COLUMN{3, 4};
constexpr TextId TEXT_FILES_HITS_COLUMN{3, 5};
constexpr TextId TEXT_FILES_DELETE{3, 6};
constexpr TextId TEXT_FILES_NO_TOTALS{3, 7};
constexpr TextId TEXT_FILES_TOTALS{3, 8};
constexpr TextId TEXT_FILES_NOTHING_SELECTED{3, 9};
constexpr TextId TEXT_FILES_CANNOT_DELETE{3, 10};
constexpr TextId TEXT_FILES_NO_INFO{3, 11};
// Statistics page
constexpr TextId TEXT_STATS_COST_FRAME{4, 5};
constexpr TextId TEXT_STATS_MB_LABEL{4, 6};
constexpr TextId TEXT_STATS_HOUR_LABEL{4, 7};
constexpr TextId TEXT_STATS_SPEED_LABEL{4, 8};
constexpr TextId TEXT_STATS_CURRENCY{4, 9};
constexpr TextId TEXT_STATS_CLEAR{4, 10};
constexpr TextId TEXT_STATS_INVALID_MB_COST{4, 11};
constexpr TextId TEXT_STATS_INVALID_HOUR_COST{4, 12};
constexpr TextId TEXT_STATS_KILOBYTES_LINE{4, 13};
constexpr TextId TEXT_STATS_HOURS_LINE{4, 14};
constexpr TextId TEXT_STATS_MONEY_LINE{4, 15};
constexpr TextId TEXT_STATS_SINCE_CAPTION{4, 16};
// Errors
constexpr TextId TEXT_ERROR_CANNOT_CONTINUE{7, 2};
constexpr TextId TEXT_ERROR_NO_DEVICE{7, 3};
constexpr TextId TEXT_ERROR_DISK_FULL{7, 5};
constexpr TextId TEXT_ERROR_ALREADY_LOADED{7, 6};
constexpr TextId TEXT_ERROR_NEEDS_WINDOWS_95{7, 7};
// Page titles
constexpr TextId TEXT_TITLE_GENERAL{9, 1};
constexpr TextId TEXT_TITLE_ADVANCED{9, 2};
constexpr TextId TEXT_TITLE_FILE_MANAGER{9, 3};
constexpr TextId TEXT_TITLE_STATISTICS{9, 4};
constexpr TextId TEXT_TITLE_ABOUT{9, 5};
constexpr TextId TEXT_TITLE_EDIT_MODE{9, 13};
// Tray menu and tip
constexpr TextId TEXT_MENU_ENABLE{10, 1};
constexpr TextId TEXT_MENU_DISABLE{10, 2};
constexpr TextId TEXT_MENU_OPEN_PANEL{10, 3};
constexpr TextId TEXT_TIP_ON{11, 1};
constexpr TextId TEXT_TIP_OFF{11, 2};
// Performance graph
constexpr TextId TEXT_GRAPH_CLOSE{12, 1};
constexpr TextId TEXT_GRAPH_WITH{12, 2};
constexpr TextId TEXT_GRAPH_WITHOUT{12, 3};
constexpr TextId TEXT_GRAPH_X_TITLE{12, 4};
constexpr TextId TEXT_GRAPH_Y_TITLE{12, 5};
constexpr TextId TEXT_GRAPH_NO_MEMORY{12, 6};
constexpr TextId TEXT_GRAPH_NO_DATA{12, 7};
constexpr TextId TEXT_GRAPH_CAPTION{12, 8};
// Edit Mode page and its Add dialog
constexpr TextId TEXT_EDIT_GENERAL_FRAME{13, 1};
constexpr TextId TEXT_EDIT_TYPES_FRAME{13, 2};
constexpr TextId TEXT_EDIT_ADD{13, 3};
constexpr TextId TEXT_EDIT_REMOVE{13, 4};
constexpr TextId TEXT_EDIT_NO_SELECTION{13, 5};
constexpr TextId TEXT_EDIT_NO_TYPES{13, 6};
constexpr TextId TEXT_EDIT_UNKNOWN_TYPE{13, 7};
constexpr TextId TEXT_EDIT_LIST_FULL{13, 8};
constexpr TextId TEXT_EDIT_ADD_TITLE{13, 9};
constexpr TextId TEXT_EDIT_ADD_LABEL{13, 10};
constexpr TextId TEXT_EDIT_ADD_OK{13, 11};
constexpr TextId TEXT_EDIT_ADD_CANCEL{13, 12};
constexpr TextId TEXT_EDIT_ENABLE{13, 13};
constexpr TextId TEXT_EDIT_EXPLANATION{13, 14};

// How a text is read: a label only from the language file (the control keeps
// its template text otherwise, at most 99 characters); a box's text and a
// message fall back to the string table (at most 999 and 49 characters from
// the language file); a format is a message whose conversions must match
// the English ones.
enum TextUse { TEXT_LABEL, TEXT_BOX, TEXT_MESSAGE, TEXT_FORMAT };

struct CatalogEntry {
  TextId id;
  TextUse use;
  const char* english;  // what the program shows without a language file
  int dialog;           // labels: the dialog template and a control showing it
  int control;
  int sameTextControl = 0;  // labels: a second control showing the same text, or 0
};

extern const CatalogEntry TEXT_CATALOG[];
extern const int TEXT_CATALOG_SIZE;
