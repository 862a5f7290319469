#include "text/text_catalog.h"

#include <windows.h>

#include "res/resource.h"

// Labels carry their dialog template's text; messages and formats the string
// table's. Blanks are part of the texts.
const CatalogEntry TEXT_CATALOG[] = {
    {TEXT_GENERAL_ACTIVATE, TEXT_LABEL, "A&ctivate Cache", IDD_GENERAL, IDC_GENERAL_ACTIVE},
    {TEXT_GENERAL_PROGRESS, TEXT_LABEL, "&Show caching progress", IDD_GENERAL, IDC_GENERAL_PROGRESS},
    {TEXT_GENERAL_NOTE, TEXT_LABEL, "Note: Ctrl+Space terminates caching of current file.", IDD_GENERAL,
     IDC_GENERAL_NOTE},

    {TEXT_ADVANCED_DIR_FRAME, TEXT_LABEL, " Cache Directory  ", IDD_ADVANCED, IDC_ADVANCED_DIR_FRAME},
    {TEXT_ADVANCED_DISK_FRAME, TEXT_LABEL, " Disk Maintenance ", IDD_ADVANCED, IDC_ADVANCED_DISK_FRAME},
    {TEXT_ADVANCED_AUTO_DELETE, TEXT_LABEL, "A&uto delete unused cached files", IDD_ADVANCED,
     IDC_ADVANCED_AUTO_DELETE},
    {TEXT_ADVANCED_DAYS_LABEL, TEXT_LABEL, "Delete files not used more than", IDD_ADVANCED, IDC_ADVANCED_DAYS_LABEL},
    {TEXT_ADVANCED_DAYS_UNIT, TEXT_LABEL, "Days", IDD_ADVANCED, IDC_ADVANCED_DAYS_UNIT},
    {TEXT_ADVANCED_SIZE_LABEL, TEXT_LABEL, "Maximum cacheable non-program file size", IDD_ADVANCED,
     IDC_ADVANCED_SIZE_LABEL},
    {TEXT_ADVANCED_SIZE_UNIT, TEXT_LABEL, "K", IDD_ADVANCED, IDC_ADVANCED_SIZE_UNIT},
    {TEXT_ADVANCED_FREE_LABEL, TEXT_LABEL, "Keep minimum free disk space  ", IDD_ADVANCED, IDC_ADVANCED_FREE_LABEL},
    {TEXT_ADVANCED_FREE_UNIT, TEXT_LABEL, "MB", IDD_ADVANCED, IDC_ADVANCED_FREE_UNIT},
    {TEXT_ADVANCED_INVALID_PERIOD, TEXT_BOX, "Invalid time period", 0, 0},

    {TEXT_FILES_CAPTION, TEXT_FORMAT, " Cached files until %d/%d/%d ", 0, 0},
    {TEXT_FILES_NAME_COLUMN, TEXT_MESSAGE, "Filename", 0, 0},
    {TEXT_FILES_SIZE_COLUMN, TEXT_MESSAGE, "File Size", 0, 0},
    {TEXT_FILES_USED_COLUMN, TEXT_MESSAGE, "Last used on", 0, 0},
    {TEXT_FILES_HITS_COLUMN, TEXT_MESSAGE, "Hits", 0, 0},
    {TEXT_FILES_DELETE, TEXT_LABEL, "D&elete", IDD_FILE_MANAGER, IDC_FILES_DELETE},
    {TEXT_FILES_NO_TOTALS, TEXT_MESSAGE, "0 File(s), 0 K", 0, 0},
    {TEXT_FILES_TOTALS, TEXT_FORMAT, "%ld File(s), %.0lf K", 0, 0},
    {TEXT_FILES_NOTHING_SELECTED, TEXT_BOX, "No item was selected.", 0, 0},
    {TEXT_FILES_CANNOT_DELETE, TEXT_FORMAT, "Cannot delete %s. File is probably in use.", 0, 0},
    {TEXT_FILES_NO_INFO, TEXT_MESSAGE, "No info available", 0, 0},

    {TEXT_STATS_COST_FRAME, TEXT_LABEL, " Cost parameters ", IDD_STATISTICS, IDC_STATS_COST_FRAME},
    {TEXT_STATS_MB_LABEL, TEXT_LABEL, "Cost of transfer per megabyte", IDD_STATISTICS, IDC_STATS_MB_LABEL},
    {TEXT_STATS_HOUR_LABEL, TEXT_LABEL, "Cost of an hour connection", IDD_STATISTICS, IDC_STATS_HOUR_LABEL},
    {TEXT_STATS_SPEED_LABEL, TEXT_LABEL, "LAN/Modem speed", IDD_STATISTICS, IDC_STATS_SPEED_LABEL},
    {TEXT_STATS_CURRENCY, TEXT_LABEL, "$", IDD_STATISTICS, IDC_STATS_MB_CURRENCY, IDC_STATS_HOUR_CURRENCY},
    {TEXT_STATS_CLEAR, TEXT_LABEL, "&Clear history", IDD_STATISTICS, IDC_STATS_CLEAR},
    {TEXT_STATS_INVALID_MB_COST, TEXT_BOX, "Invalid MegaByte cost value.", 0, 0},
    {TEXT_STATS_INVALID_HOUR_COST, TEXT_BOX, "Invalid Hour Cost value. ", 0, 0},
    {TEXT_STATS_KILOBYTES_LINE, TEXT_FORMAT, "Total kilobytes saved: %.0f", 0, 0},
    {TEXT_STATS_HOURS_LINE, TEXT_FORMAT, "Total time saved:    %.0f hours", 0, 0},
    {TEXT_STATS_MONEY_LINE, TEXT_FORMAT, "Total money saved:   $%.2lf", 0, 0},
    {TEXT_STATS_SINCE_CAPTION, TEXT_FORMAT, "Saved by cache since %d/%d/%d", 0, 0},

    {TEXT_ERROR_CANNOT_CONTINUE, TEXT_BOX, "Fatal Error. FileTrove is unable to continue.", 0, 0},
    {TEXT_ERROR_NO_DEVICE, TEXT_BOX, "Fatal Error. Unable to load FileTrove device driver.", 0, 0},
    {TEXT_ERROR_DISK_FULL, TEXT_BOX,
     "No more disk space available for Caching. Erase unused cached files using FileTrove's File Manager or free "
     "additional disk space.",
     0, 0},
    {TEXT_ERROR_ALREADY_LOADED, TEXT_BOX, "FileTrove is already loaded", 0, 0},
    {TEXT_ERROR_NEEDS_WINDOWS_95, TEXT_BOX,
     "Fatal Error. This version of FileTrove requires Windows 95 operating system.", 0, 0},

    {TEXT_TITLE_GENERAL, TEXT_MESSAGE, "General", 0, 0},
    {TEXT_TITLE_ADVANCED, TEXT_MESSAGE, "Advanced", 0, 0},
    {TEXT_TITLE_FILE_MANAGER, TEXT_MESSAGE, "File Manager", 0, 0},
    {TEXT_TITLE_STATISTICS, TEXT_MESSAGE, "Statistics", 0, 0},
    {TEXT_TITLE_ABOUT, TEXT_MESSAGE, "About FileTrove", 0, 0},
    {TEXT_TITLE_EDIT_MODE, TEXT_MESSAGE, "Edit Mode", 0, 0},

    {TEXT_MENU_ENABLE, TEXT_MESSAGE, "Enable FileTrove", 0, 0},
    {TEXT_MENU_DISABLE, TEXT_MESSAGE, "Disable FileTrove", 0, 0},
    {TEXT_MENU_OPEN_PANEL, TEXT_MESSAGE, "FileTrove Manager", 0, 0},
    {TEXT_TIP_ON, TEXT_MESSAGE, "FileTrove is On", 0, 0},
    {TEXT_TIP_OFF, TEXT_MESSAGE, "FileTrove is Off", 0, 0},

    {TEXT_GRAPH_CLOSE, TEXT_LABEL, "Close", IDD_PERFORMANCE, IDOK},
    {TEXT_GRAPH_WITH, TEXT_MESSAGE, "With FileTrove", 0, 0},
    {TEXT_GRAPH_WITHOUT, TEXT_MESSAGE, "Without FileTrove", 0, 0},
    {TEXT_GRAPH_X_TITLE, TEXT_MESSAGE, "File Size (K)", 0, 0},
    {TEXT_GRAPH_Y_TITLE, TEXT_MESSAGE, "Kilobytes Transferred", 0, 0},
    {TEXT_GRAPH_NO_MEMORY, TEXT_MESSAGE, "Not Enough Memory.", 0, 0},
    {TEXT_GRAPH_NO_DATA, TEXT_MESSAGE, "No Data Available.", 0, 0},
    {TEXT_GRAPH_CAPTION, TEXT_MESSAGE, "FileTrove Performance", 0, 0},

    {TEXT_EDIT_GENERAL_FRAME, TEXT_LABEL, "General Settings", IDD_EDIT_MODE, IDC_EDIT_GENERAL_FRAME},
    {TEXT_EDIT_TYPES_FRAME, TEXT_LABEL, "File Types", IDD_EDIT_MODE, IDC_EDIT_TYPES_FRAME},
    {TEXT_EDIT_ADD, TEXT_LABEL, "&Add...", IDD_EDIT_MODE, IDC_EDIT_ADD},
    {TEXT_EDIT_REMOVE, TEXT_LABEL, "&Remove", IDD_EDIT_MODE, IDC_EDIT_REMOVE},
    {TEXT_EDIT_NO_SELECTION, TEXT_MESSAGE, "No file selected", 0, 0},
    {TEXT_EDIT_NO_TYPES, TEXT_MESSAGE, "No files included", 0, 0},
    {TEXT_EDIT_UNKNOWN_TYPE, TEXT_MESSAGE, "Unknown Type", 0, 0},
    {TEXT_EDIT_LIST_FULL, TEXT_BOX, "Maximum nimber of file types is 30.", 0, 0},
    {TEXT_EDIT_ADD_TITLE, TEXT_MESSAGE, "Add New File Type:", 0, 0},
    {TEXT_EDIT_ADD_LABEL, TEXT_LABEL, "New File Type:", IDD_ADD_EXTENSION, IDC_ADDEXT_LABEL},
    {TEXT_EDIT_ADD_OK, TEXT_LABEL, "OK", IDD_ADD_EXTENSION, IDOK},
    {TEXT_EDIT_ADD_CANCEL, TEXT_LABEL, "Cancel", IDD_ADD_EXTENSION, IDCANCEL},
    {TEXT_EDIT_ENABLE, TEXT_LABEL, "Enable Edit Mode Cache", IDD_EDIT_MODE, IDC_EDIT_ENABLE},
    {TEXT_EDIT_EXPLANATION, TEXT_LABEL, "File types to be cached when open for editing.", IDD_EDIT_MODE,
     IDC_EDIT_EXPLANATION & 0xFFFF},
};
const int TEXT_CATALOG_SIZE = sizeof TEXT_CATALOG / sizeof TEXT_CATALOG[0];
