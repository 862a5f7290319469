// Edit Mode page: the file types that the driver caches also when they are
// opened for editing, each shown with its name and icon from the system's
// file-type entries.
#pragma once
#include <windows.h>

#include "settings/settings.h"

constexpr int EXTENSION_CHARS = 4;  // at most, without the dot
constexpr int EXTENSION_SIZE = EXTENSION_CHARS + 1;

// Shows the name and icon of the type selected in the list listId.
void ShowFileType(HWND page, int listId);

// "path,index": ends the text at the last comma and returns the number after
// it as atoi reads it; without a comma the text stays whole and 0 is returned.
int SplitIconLocation(char* location);

// A slot's extension without its dot, at most EXTENSION_CHARS characters even
// when the stored slot lacks its NUL; false for an empty slot.
bool ReadSlotExtension(const char (&slot)[EDIT_TYPE_SLOT_SIZE], char (&extension)[EXTENSION_SIZE]);
// Fills a slot with '.', at most EXTENSION_CHARS characters of the text and NUL.
// The slot's other bytes are zeroed.
void WriteSlotExtension(char (&slot)[EDIT_TYPE_SLOT_SIZE], const char* extension);
