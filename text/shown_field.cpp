#include "text/shown_field.h"

// Longer than any 32-bit number with separators: a longer text is unreadable.
constexpr int FIELD_TEXT_SIZE = 64;

bool ReadShownNumber(HWND dialog, int controlId, uint32_t maximum, uint32_t* value) {
  *value = 0;
  char text[FIELD_TEXT_SIZE] = "";
  char separator[8] = "";
  if (GetWindowTextLengthA(GetDlgItem(dialog, controlId)) >= FIELD_TEXT_SIZE) return false;
  GetDlgItemTextA(dialog, controlId, text, sizeof text);
  GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, separator, sizeof separator);
  return ParseShownNumber(text, separator, maximum, value);
}
