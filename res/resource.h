// Resource ids shared by the resource script and the code.
#pragma once

// A text's string-table id is derived from its section and key.
#define TEXT_ID(section, key) (((section) - 1) * 1000 + (key))

// Icons and bitmap
#define IDI_MANAGER   102  // the program's own icon
#define IDI_CACHE_ON  105  // tray icon while caching is on
#define IDI_CACHE_OFF 106  // tray icon while caching is off
#define IDB_PANEL     115  // picture on the General, Statistics and About pages

// Dialog templates of the control panel's pages
#define IDD_GENERAL   103

// General page
#define IDC_GENERAL_ACTIVE 1006
