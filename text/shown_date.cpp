#include "text/shown_date.h"

#include "text/format_text.h"

void FormatShownDate(const char* format, const StoredDate& date, char* text, size_t size) {
  FormatText(text, size, format, date.Month, date.Day, date.Year);
}
