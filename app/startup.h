// Process-wide handles filled by start-up.
#pragma once
#include <windows.h>
#include <cstddef>

#include "settings/device.h"
#include "text/message_text.h"

extern HWND ManagerWindow;

constexpr const char* MANAGER_NAME = "FileTrove Manager";  // window class and title
constexpr const char* AGENT_PROGRAM = "FTAGENT.EXE";
constexpr const char* LANGUAGE_FILE_NAME = "strings.lng";

void BuildLanguageFilePath();
// The language file's path for a command line; programDir is used when the
// program's token holds no backslash (started by a bare name). Leaves path
// empty when the result does not fit.
void LanguageFilePathFor(const char* commandLine, const char* programDir, char* path, size_t pathSize);
