// The Edit Mode table's file types and the system's texts for a type, apart
// from the page and the registry: the list the page shows from the stored
// slots, the slots rebuilt from the list, a text read from a file-type entry
// and the icon location it names.
#pragma once
#include <cstddef>

#include "settings/stored_records.h"

constexpr int EXTENSION_CHARS = 4;  // at most, without the dot
constexpr int EXTENSION_SIZE = EXTENSION_CHARS + 1;
using ExtensionText = char[EXTENSION_SIZE];

// The used slots' extensions without their dots, slot 0 first, each at most
// EXTENSION_CHARS characters even when the slot lacks its NUL; a slot whose
// first byte is 0 is skipped. Returns how many were listed.
int ListedExtensions(const EditModeRecord& table, ExtensionText (&listed)[EDIT_TYPE_SLOTS]);

// The slots rebuilt from the page's list, in its order: each of the first
// count (at most EDIT_TYPE_SLOTS) gets '.', at most EXTENSION_CHARS characters
// of its text and zeros; every other slot is zeroed.
void SetEditTypes(EditModeRecord* table, const ExtensionText* listed, int count);

// Texts read from a file-type entry: at most 260 bytes, plus a NUL of ours.
constexpr size_t REGISTRY_TEXT_SIZE = 260;
using RegistryText = char[REGISTRY_TEXT_SIZE + 1];

// A key's default value as a text: one stored as text (expandable or not) of
// at most REGISTRY_TEXT_SIZE bytes, up to its first NUL. Anything else reads
// as no text: false, and the text is empty.
bool DecodeRegistryText(const StoredValue& value, RegistryText& text);

// "path,index": ends the text at the last comma and returns the number after
// it as atoi reads it, clamped to an int; without a comma the text stays
// whole and 0 is returned.
int SplitIconLocation(char* location);
