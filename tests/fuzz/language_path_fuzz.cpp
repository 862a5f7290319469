// The language file's path from a command line (input: room, command line,
// NUL, program folder). A path is never cut: it is empty or the program's
// own folder, as the command line or the folder spells it, and the file name.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz_text.h"
#include "app/language_file.h"

static bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const size_t room = 1 + data[0];
  size_t next = 0;
  const std::string commandLine = TextAt(data + 1, size - 1, &next);
  const std::string programDir = TextAt(data + 1 + next, size - 1 - next);

  std::vector<char> path(room + 1, '\x7f');  // one byte past the room, to see it untouched
  LanguageFilePathFor(commandLine.c_str(), programDir.c_str(), path.data(), room);
  if (path[room] != '\x7f') abort();
  const std::string result(path.data(), strnlen(path.data(), room));
  if (result.size() >= room) abort();  // unterminated
  if (result.empty()) return 0;
  if (!EndsWith(result, LANGUAGE_FILE_NAME)) abort();
  const std::string folder = result.substr(0, result.size() - strlen(LANGUAGE_FILE_NAME));
  const size_t quoted = commandLine[0] == '"' ? 1 : 0;
  const bool fromCommandLine = commandLine.compare(quoted, folder.size(), folder) == 0 && EndsWith(folder, "\\");
  const bool fromProgramDir = folder == programDir || folder == programDir + "\\";
  if (!fromCommandLine && !fromProgramDir) abort();
  return 0;
}
