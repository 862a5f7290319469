// A number in an edit field, read as the user sees it on the page.
#pragma once
#include <windows.h>

#include <cstdint>

#include "text/shown_number.h"

// ParseShownNumber on a control's text, with the user's thousands separator
// (the one an up-down writes).
bool ReadShownNumber(HWND dialog, int controlId, uint32_t maximum, uint32_t* value);
