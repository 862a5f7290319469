// Advanced page: the cache directory shown, automatic deletion, largest
// cacheable file and free space to keep edited and checked.
#pragma once
#include <windows.h>

extern char CacheDirCopy[MAX_PATH];

// The number an edit shows, read as the user sees it: digits with the given
// group separator between them ignored ("1,000" is 1000). Empty text is 0;
// any other character, or a number beyond 32 bits, makes the text unreadable
// (false, *value 0).
bool ParseShownNumber(const char* text, const char* separator, UINT* value);
