// Where the language file is looked for: beside the program, by the path the
// program was started with.
#pragma once
#include <cstddef>

constexpr const char* LANGUAGE_FILE_NAME = "strings.lng";

// The language file's path for a command line; programDir is used when the
// program's token holds no backslash (started by a bare name). Leaves path
// empty when the result does not fit.
void LanguageFilePathFor(const char* commandLine, const char* programDir, char* path, size_t pathSize);
