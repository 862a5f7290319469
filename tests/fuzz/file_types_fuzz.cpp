// The Edit Mode table and a file-type entry's text from any bytes (input:
// the table's 184 bytes, then a type byte and the text). Every listed
// extension ends within its 5 bytes and every rebuilt slot within its 6, and
// the rebuilt table lists the same; a text read ends within its buffer and
// what was read; an icon index prints back to the digits after the last comma.
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "settings/file_type_rules.h"

// The index as atoi reads the digits, clamped to an int.
static std::string IndexRead(const char* text) {
  while (*text == ' ' || (*text >= '\t' && *text <= '\r')) text++;
  const bool negative = *text == '-';
  if (*text == '-' || *text == '+') text++;
  std::string digits;
  for (; *text >= '0' && *text <= '9'; text++)
    if (!digits.empty() || *text != '0') digits += *text;
  if (digits.empty()) return "0";
  if (digits.size() > 10 || (digits.size() == 10 && digits > (negative ? "2147483648" : "2147483647")))
    return std::to_string(negative ? INT_MIN : INT_MAX);
  return (negative ? "-" : "") + digits;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  EditModeRecord table = {}, rebuilt;
  memcpy(&table, data, size < sizeof table ? size : sizeof table);
  ExtensionText listed[EDIT_TYPE_SLOTS], again[EDIT_TYPE_SLOTS];
  const int count = ListedExtensions(table, listed);
  memset(&rebuilt, 0x23, sizeof rebuilt);
  SetEditTypes(&rebuilt, listed, count);
  if (count < 0 || count > EDIT_TYPE_SLOTS || ListedExtensions(rebuilt, again) != count) abort();
  for (int slot = 0; slot < EDIT_TYPE_SLOTS; slot++) {
    const char* bytes = rebuilt.Extensions[slot];
    if (slot < count ? bytes[0] != '.' || strnlen(bytes, EDIT_TYPE_SLOT_SIZE) == EDIT_TYPE_SLOT_SIZE ||
                           strnlen(listed[slot], EXTENSION_SIZE) == EXTENSION_SIZE || strcmp(again[slot], listed[slot])
                     : bytes[0] != 0)
      abort();
  }
  if (size <= sizeof table) return 0;

  const StoredValue value = {data[sizeof table] & 0x0Fu, data + sizeof table + 1, size - sizeof table - 1};
  RegistryText text;
  memset(text, 'x', sizeof text);
  const bool read = DecodeRegistryText(value, text);
  const size_t length = strnlen(text, sizeof text);
  if (length == sizeof text || length > value.Size || (!read && length != 0)) abort();
  const char* stored = reinterpret_cast<const char*>(value.Bytes);
  const std::string location(stored, strnlen(stored, value.Size));
  std::string split = location;
  const size_t comma = location.rfind(',');
  const int index = SplitIconLocation(&split[0]);
  if (comma == std::string::npos ? index != 0 || split != location
                                 : strcmp(split.c_str(), location.substr(0, comma).c_str()) != 0 ||
                                       std::to_string(index) != IndexRead(location.c_str() + comma + 1))
    abort();
  return 0;
}
