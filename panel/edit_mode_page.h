// Edit Mode page: the file types that the driver caches also when they are
// opened for editing, each shown with its name and icon from the system's
// file-type entries.
#pragma once
#include <windows.h>

#include "settings/file_type_rules.h"
#include "settings/settings.h"

// Shows the name and icon of the type selected in the list listId.
void ShowFileType(HWND page, int listId);
