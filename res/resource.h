// Resource ids shared by the resource script and the code, grouped per
// dialog. Numbers repeat across dialogs on purpose, never within one.
#pragma once

// A text's string-table id is derived from its section and key.
#define TEXT_ID(section, key) (((section) - 1) * 1000 + (key))

// Icons and bitmap
#define IDI_MANAGER   102  // the program's own icon
#define IDI_CACHE_ON  105  // tray icon while caching is on
#define IDI_CACHE_OFF 106  // tray icon while caching is off
#define IDB_PANEL     115  // picture on the General, Statistics and About pages

// Dialog templates
#define IDD_GENERAL       103
#define IDD_ADVANCED      104
#define IDD_FILE_MANAGER  105
#define IDD_STATISTICS    106
#define IDD_ABOUT         118
#define IDD_EDIT_MODE     119
#define IDD_ADD_EXTENSION 120
#define IDD_PERFORMANCE   121

// General page (103)
#define IDC_GENERAL_ACTIVE   1006
#define IDC_GENERAL_PROGRESS 1007
#define IDC_GENERAL_PICTURE  1046
#define IDC_GENERAL_NOTE     1081

// Advanced page (104)
#define IDC_ADVANCED_SIZE_SPIN   1028
#define IDC_ADVANCED_FREE_SPIN   1029
#define IDC_ADVANCED_SIZE        1030
#define IDC_ADVANCED_FREE        1031
#define IDC_ADVANCED_DAYS        1035
#define IDC_ADVANCED_DAYS_SPIN   1036
#define IDC_ADVANCED_AUTO_DELETE 1037
#define IDC_ADVANCED_DIRECTORY   1048
#define IDC_ADVANCED_DIR_FRAME   1082
#define IDC_ADVANCED_DISK_FRAME  1083
#define IDC_ADVANCED_DAYS_LABEL  1084
#define IDC_ADVANCED_DAYS_UNIT   1085
#define IDC_ADVANCED_SIZE_UNIT   1086
#define IDC_ADVANCED_FREE_UNIT   1087
#define IDC_ADVANCED_SIZE_LABEL  1088
#define IDC_ADVANCED_FREE_LABEL  1089

// File Manager page (105); the list view is created at run time
#define IDC_FILES_LIST   1000
#define IDC_FILES_DELETE 1039
#define IDC_FILES_FRAME  1075
#define IDC_FILES_TOTALS 1078

// Statistics page (106)
#define IDC_STATS_HOUR_COST     1036
#define IDC_STATS_KILOBYTES     1051
#define IDC_STATS_MONEY         1052
#define IDC_STATS_HOURS         1053
#define IDC_STATS_CLEAR         1056
#define IDC_STATS_MB_CURRENCY   1057
#define IDC_STATS_HOUR_CURRENCY 1058
#define IDC_STATS_PERFORMANCE   1059
#define IDC_STATS_PICTURE       1060
#define IDC_STATS_MB_COST       1061
#define IDC_STATS_SPEED         1070
#define IDC_STATS_SAVED_FRAME   1071
#define IDC_STATS_COST_FRAME    1090
#define IDC_STATS_MB_LABEL      1091
#define IDC_STATS_HOUR_LABEL    1092
#define IDC_STATS_SPEED_LABEL   1093

// About page (118)
#define IDC_ABOUT_PICTURE 1079
#define IDC_ABOUT_VERSION 1095
#define IDC_ABOUT_LINE    1096

// Edit Mode page (119)
#define IDC_EDIT_ENABLE        1100
#define IDC_EDIT_ICON          1103
#define IDC_EDIT_TYPES_FRAME   1110
#define IDC_EDIT_ADD           1112
#define IDC_EDIT_REMOVE        1113
#define IDC_EDIT_TYPE_NAME     1114
#define IDC_EDIT_LIST          1116
#define IDC_EDIT_GENERAL_FRAME 1119
#define IDC_EDIT_EXPLANATION   (-1)

// Add New Extension (120)
#define IDC_ADDEXT_TEXT  1099
#define IDC_ADDEXT_LABEL 1100

// Performance graph (121)
#define IDC_GRAPH_CANVAS 1117
