// A translated format against a built-in one (input: built-in, NUL,
// translation), the translation trimmed first as a language file's text is.
// A trimmed text is the inner part of what was read; a translation that
// passes takes the very arguments the built-in one takes, as the host C
// library's own parse of both says.
#include <printf.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz_text.h"
#include "text/text_rules.h"

static std::vector<int> ArgumentTypes(const std::string& format) {
  std::vector<int> types(parse_printf_format(format.c_str(), 0, nullptr));
  if (!types.empty()) parse_printf_format(format.c_str(), types.size(), types.data());
  return types;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  size_t next = 0;
  const std::string builtIn = TextAt(data, size, &next);
  const std::string read = TextAt(data + next, size - next);
  std::vector<char> trimmed(read.begin(), read.end());
  trimmed.push_back('\0');
  TrimSpaces(trimmed.data());
  const std::string translated(trimmed.data());
  const size_t inner = read.find_first_not_of(' ');
  if (translated != (inner == std::string::npos ? "" : read.substr(inner, read.find_last_not_of(' ') + 1 - inner)))
    abort();
  char kinds[8];
  FormatConversions(translated.c_str(), kinds, sizeof kinds);  // any text, any room
  if (strlen(kinds) >= sizeof kinds) abort();
  if (!FormatKeepsConversions(builtIn.c_str(), translated.c_str())) return 0;
  if (ArgumentTypes(builtIn) != ArgumentTypes(translated)) abort();
  return 0;
}
