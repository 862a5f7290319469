// A text of a language file as the catalog names it.
#pragma once
#include <windows.h>

#include <cstdio>
#include <string>

#include "text/message_text.h"
#include "text/text_catalog.h"

inline std::string ProfileText(const std::string& file, TextId id) {
  char key[16], text[1200] = "";
  snprintf(key, sizeof key, "%d", id.key);
  GetPrivateProfileStringA(SectionNames[id.section - 1], key, "", text, sizeof text, file.c_str());
  return text;
}

// Trimmed as the program trims what it reads.
inline std::string Trimmed(std::string text) {
  TrimSpaces(&text[0]);
  return text.c_str();
}
