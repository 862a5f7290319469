#include "app/startup.h"

#include <cstring>


HWND ManagerWindow = nullptr;

void BuildLanguageFilePath() {
  char programDir[MAX_PATH] = "";
  DWORD length = GetModuleFileNameA(nullptr, programDir, sizeof programDir);
  if (length == 0 || length >= sizeof programDir) {
    programDir[0] = '\0';
  } else {
    char* lastSlash = strrchr(programDir, '\\');
    if (lastSlash) *lastSlash = '\0';
  }
  LanguageFilePathFor(GetCommandLineA(), programDir, LanguageFilePath, sizeof LanguageFilePath);
}
