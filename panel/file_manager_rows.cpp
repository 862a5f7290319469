#include "panel/file_manager_rows.h"

#include <cstdlib>
#include <cstring>

#include "text/format_text.h"
#include "text/shown_date.h"

static size_t CachedFileRowBytes(size_t nameLength) { return offsetof(CachedFileRow, Name) + nameLength + 1; }

CachedFileRow* NewCachedFileRow(const char* name, const char* shortName, uint64_t size) {
  size_t length = strnlen(name, FILE_NAME_MAX);
  auto* row = static_cast<CachedFileRow*>(calloc(1, CachedFileRowBytes(length)));
  if (!row) return nullptr;
  row->Size = size;
  FormatText(row->ShortName, sizeof row->ShortName, "%s", shortName);
  memcpy(row->Name, name, length);  // the NUL is calloc's
  return row;
}

// The UTC date of a last use; false when there is none (zero) or the time
// does not convert.
static bool LastUsedDate(StoredFileTime lastUsed, StoredDate* date) {
  return !IsZero(lastUsed) && DateOfFileTime(lastUsed, date);
}

// The UTC date as one number that orders like year, month, day; 0 without one.
static uint32_t DateKey(StoredFileTime lastUsed) {
  StoredDate date;
  if (!LastUsedDate(lastUsed, &date)) return 0;
  return date.Year * 10000u + date.Month * 100u + date.Day;
}

// Compared, never subtracted: two values far apart would overflow.
static int LargestFirst(uint64_t a, uint64_t b) { return a < b ? 1 : a > b ? -1 : 0; }

// Names in the order of the C library's _stricmp in its own locale: ASCII
// letters as lower case, every other byte by its value.
static int CompareNames(const char* a, const char* b) {
  auto lower = [](char c) -> int {
    auto code = static_cast<unsigned char>(c);
    return code >= 'A' && code <= 'Z' ? code + ('a' - 'A') : code;
  };
  while (*a && lower(*a) == lower(*b)) a++, b++;
  return lower(*a) - lower(*b);
}

int CompareRows(const CachedFileRow* a, const CachedFileRow* b, int column) {
  if (!a || !b) return 0;
  switch (column) {
    case COLUMN_NAME:
      return CompareNames(a->Name, b->Name);
    case COLUMN_SIZE:
      return LargestFirst(a->Size, b->Size);
    case COLUMN_LAST_USED:
      return LargestFirst(DateKey(a->LastUsed), DateKey(b->LastUsed));
    case COLUMN_HITS:
      return LargestFirst(a->Hits, b->Hits);
  }
  return 0;
}

const char* CellText(const CachedFileRow* row, int column, const char* noInfo, char* buffer, size_t size) {
  if (size > 0) buffer[0] = '\0';
  if (!row) return buffer;
  StoredDate date;
  switch (column) {
    case COLUMN_NAME:
      return row->Name;
    case COLUMN_SIZE:
      FormatText(buffer, size, "%llu", static_cast<unsigned long long>(row->Size));
      break;
    case COLUMN_LAST_USED:
      if (LastUsedDate(row->LastUsed, &date))
        FormatShownDate(SHOWN_DATE_FORMAT, date, buffer, size);
      else
        FormatText(buffer, size, "%s", noInfo);
      break;
    case COLUMN_HITS:
      FormatText(buffer, size, "%u", row->Hits);
      break;
  }
  return buffer;
}

double FillKilobytes(double bytes) { return (bytes + 512) / 1024; }

double DeletionKilobytes(double bytes) { return bytes / 1024; }

void SubtractRow(uint32_t* count, double* bytes, uint64_t size) {
  if (*count > 0) *count -= 1;
  if (*bytes > 0) {
    *bytes -= static_cast<double>(size);
    if (*bytes < 0) *bytes = 0;
  }
}

void FormatTotals(const char* format, uint32_t count, double kilobytes, char* text, size_t size) {
  FormatText(text, size, format, static_cast<long>(count), kilobytes);
}
