// Process-wide handles filled by start-up.
#pragma once
#include <windows.h>
#include <cstddef>

#include "app/language_file.h"
#include "settings/device.h"
#include "text/message_text.h"

extern HWND ManagerWindow;

constexpr const char* MANAGER_NAME = "FileTrove Manager";  // window class and title
constexpr const char* AGENT_PROGRAM = "FTAGENT.EXE";

void BuildLanguageFilePath();
