#include "runtime/command_line.h"

// The program's token runs to the first blank outside quotes; the arguments
// start after the blanks that follow it.
const char* CommandLineArguments(const char* commandLine) {
  const char* p = commandLine;
  bool quoted = false;
  while (*p && (quoted || (*p != ' ' && *p != '\t'))) {
    if (*p == '"') quoted = !quoted;
    p++;
  }
  while (*p == ' ' || *p == '\t') p++;
  return p;
}
