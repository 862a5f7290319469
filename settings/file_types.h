// The system's file-type entries under HKEY_CLASSES_ROOT, read only: the
// name and icon location of the type an extension belongs to.
#pragma once
#include "settings/file_type_rules.h"

struct FileTypeEntry {
  RegistryText Name;      // the class's default text; empty when it has none
  RegistryText IconFile;  // "DefaultIcon" up to its last comma; empty when none
  int IconIndex;          // the number after that comma, 0 without one
};

// The entry of the type ".extension": false when the extension has no entry
// or its class has no key (an unknown type).
bool ReadFileType(const char* extension, FileTypeEntry* entry);
