#include "settings/file_types.h"

#include "settings/registry_key.h"
#include "text/format_text.h"

// A key's default value as a text; false when it is none.
static bool ReadDefaultText(HKEY key, RegistryText& text) {
  uint8_t buffer[REGISTRY_TEXT_SIZE];
  StoredValue value;
  return QueryValue(key, nullptr, buffer, sizeof buffer, &value) == ERROR_SUCCESS && DecodeRegistryText(value, text);
}

// The icon location that the class's "DefaultIcon" names; the file empty when none.
static void ReadIconLocation(HKEY classKey, FileTypeEntry* entry) {
  entry->IconFile[0] = '\0';
  entry->IconIndex = 0;
  HKEY iconKey;
  if (OpenKeyToRead(classKey, "DefaultIcon", &iconKey) != ERROR_SUCCESS) return;
  KeyGuard guard{iconKey};
  if (ReadDefaultText(iconKey, entry->IconFile)) entry->IconIndex = SplitIconLocation(entry->IconFile);
}

bool ReadFileType(const char* extension, FileTypeEntry* entry) {
  char typeKeyName[1 + EXTENSION_SIZE];
  FormatText(typeKeyName, sizeof typeKeyName, ".%s", extension);
  RegistryText className;
  {
    HKEY typeKey;
    if (OpenKeyToRead(HKEY_CLASSES_ROOT, typeKeyName, &typeKey) != ERROR_SUCCESS) return false;
    KeyGuard typeGuard{typeKey};
    // An empty class name would open HKEY_CLASSES_ROOT itself.
    if (!ReadDefaultText(typeKey, className) || className[0] == '\0') return false;
  }
  HKEY classKey;
  if (OpenKeyToRead(HKEY_CLASSES_ROOT, className, &classKey) != ERROR_SUCCESS) return false;
  KeyGuard classGuard{classKey};
  if (!ReadDefaultText(classKey, entry->Name)) entry->Name[0] = '\0';
  ReadIconLocation(classKey, entry);
  return true;
}
