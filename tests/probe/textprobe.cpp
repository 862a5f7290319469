// Looks up one text the way the Manager does, for tests that must see the
// boxes and the fatal path from outside:
//   TEXTPROBE box SECTION KEY    shows it with ShowMessageText
//   TEXTPROBE get SECTION KEY    prints GetMessageText's result
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/startup.h"
#include "text/message_text.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    fprintf(stderr, "usage: textprobe box|get SECTION KEY\n");
    return 2;
  }
  AppInstance = GetModuleHandleA(nullptr);
  BuildLanguageFilePath();
  int section = atoi(argv[2]);
  int key = atoi(argv[3]);
  if (strcmp(argv[1], "box") == 0) {
    ShowMessageText(nullptr, TextId{section, key}, MB_ICONEXCLAMATION);
  } else {
    char text[MESSAGE_TEXT_SIZE];
    GetMessageText(TextId{section, key}, text, sizeof text);
    printf("%s\n", text);
  }
  return 0;
}
