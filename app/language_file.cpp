#include "app/language_file.h"

#include <cstring>

#include "text/format_text.h"

void LanguageFilePathFor(const char* commandLine, const char* programDir, char* path, size_t pathSize) {
  path[0] = '\0';
  // The program's token: quoted up to the next quote, else up to the first blank.
  const char* start = commandLine;
  char stop = ' ';
  if (*start == '"') {
    start++;
    stop = '"';
  }
  const char* end = start;
  while (*end && *end != stop) end++;

  // Keep it up to and including its last backslash.
  const char* lastSlash = nullptr;
  for (const char* p = start; p < end; p++)
    if (*p == '\\') lastSlash = p;

  int written;
  if (lastSlash) {
    written = FormatText(path, pathSize, "%.*s%s", static_cast<int>(lastSlash + 1 - start), start,
                         LANGUAGE_FILE_NAME);
  } else {
    // Started by a bare name: the language file lies in the program's own folder.
    size_t dirLength = strlen(programDir);
    const char* separator = dirLength > 0 && programDir[dirLength - 1] != '\\' ? "\\" : "";
    written = FormatText(path, pathSize, "%s%s%s", programDir, separator, LANGUAGE_FILE_NAME);
  }
  // A cut path would name another file: no language file instead.
  if (written < 0 || static_cast<size_t>(written) >= pathSize) path[0] = '\0';
}
