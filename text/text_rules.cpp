#include "text/text_rules.h"

#include <cstring>

void TrimSpaces(char* text) {
  size_t start = 0;
  while (text[start] == ' ') start++;
  memmove(text, text + start, strlen(text + start) + 1);
  size_t length = strlen(text);
  while (length > 0 && text[length - 1] == ' ') length--;
  text[length] = '\0';
}

int FormatConversions(const char* format, char* kinds, int kindsSize) {
  int count = 0;
  auto put = [&](char kind) {
    if (count < kindsSize - 1) kinds[count] = kind;
    count++;
  };
  for (const char* p = format; *p; p++) {
    if (*p != '%') continue;
    p++;
    if (*p == '%') continue;
    while (*p && strchr("-+ #0", *p)) p++;
    while (*p >= '0' && *p <= '9') p++;
    if (*p == '.') {
      p++;
      while (*p >= '0' && *p <= '9') p++;
    }
    // Lengths: l and none are the only ones our callers pass.
    bool isLong = false;
    if (*p == 'l') {
      isLong = true;
      p++;
    }
    char kind = '?';
    if (*p && strchr("di", *p)) kind = isLong ? 'l' : 'd';
    else if (*p && strchr("ux", *p)) kind = isLong ? 'L' : 'u';
    else if (*p && strchr("feg", *p)) kind = 'f';  // %f and %lf both take a double
    else if (*p == 's' && !isLong) kind = 's';
    put(kind);
    if (kind == '?') break;
    if (*p == '\0') break;
  }
  if (kindsSize > 0) kinds[count < kindsSize - 1 ? count : kindsSize - 1] = '\0';
  return count;
}

bool FormatKeepsConversions(const char* builtIn, const char* translated) {
  char wanted[32], found[32];
  int wantedCount = FormatConversions(builtIn, wanted, sizeof wanted);
  int foundCount = FormatConversions(translated, found, sizeof found);
  // Lists cut short could hide a difference past their ends: a format with
  // more conversions than fit is never judged the same.
  return wantedCount < static_cast<int>(sizeof wanted) && foundCount == wantedCount &&
         strchr(wanted, '?') == nullptr && strcmp(wanted, found) == 0;
}
