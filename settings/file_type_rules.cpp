#include "settings/file_type_rules.h"

#include <climits>
#include <cstdlib>
#include <cstring>

int ListedExtensions(const EditModeRecord& table, ExtensionText (&listed)[EDIT_TYPE_SLOTS]) {
  int count = 0;
  for (const auto& slot : table.Extensions) {
    if (slot[0] == '\0') continue;
    int length = 0;
    while (length < EXTENSION_CHARS && slot[1 + length] != '\0') {
      listed[count][length] = slot[1 + length];
      length++;
    }
    listed[count++][length] = '\0';
  }
  return count;
}

void SetEditTypes(EditModeRecord* table, const ExtensionText* listed, int count) {
  memset(table->Extensions, 0, sizeof table->Extensions);
  for (int slot = 0; slot < count && slot < EDIT_TYPE_SLOTS; slot++) {
    char* bytes = table->Extensions[slot];
    bytes[0] = '.';
    for (int i = 0; i < EXTENSION_CHARS && listed[slot][i] != '\0'; i++) bytes[1 + i] = listed[slot][i];
  }
}

bool DecodeRegistryText(const StoredValue& value, RegistryText& text) {
  memset(text, 0, sizeof text);
  if ((value.Type != STORED_TEXT && value.Type != STORED_EXPANDABLE_TEXT) || value.Size > REGISTRY_TEXT_SIZE)
    return false;
  if (value.Size > 0) memcpy(text, value.Bytes, value.Size);
  return true;
}

int SplitIconLocation(char* location) {
  char* comma = strrchr(location, ',');
  if (!comma) return 0;
  *comma = '\0';
  // strtol clamps to long, which is wider than int on some hosts.
  long index = strtol(comma + 1, nullptr, 10);
  if (index > INT_MAX) return INT_MAX;
  if (index < INT_MIN) return INT_MIN;
  return static_cast<int>(index);
}
