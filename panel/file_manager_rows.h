// File Manager page: the rows of the cached-file list, their order and the
// texts made from them, as plain functions over the rows.
#pragma once
#include <cstddef>
#include <cstdint>

#include "settings/stored_time.h"

// One listed file, owned by its list item. The name comes last and takes
// only the room it needs, so that large caches stay small in memory.
struct CachedFileRow {
  uint64_t Size;            // bytes, all 64 bits
  StoredFileTime LastUsed;  // from the file's record; zero without one
  uint32_t Hits;            // from the file's record; zero without one
  bool NameShared;          // another row's name is the same but for case
  char ShortName[14];       // the scan's short name; empty without one
  char Name[];              // up to FILE_NAME_MAX characters and the NUL
};

constexpr int FILE_LIST_COLUMNS = 4;
constexpr int COLUMN_NAME = 0;
constexpr int COLUMN_SIZE = 1;
constexpr int COLUMN_LAST_USED = 2;
constexpr int COLUMN_HITS = 3;
constexpr int FILE_NAME_MAX = 259;  // a path's room but its NUL

// A zeroed row holding the scanned file's names (the long one cut to
// FILE_NAME_MAX, the short one to its field) and size; null when the heap is
// exhausted. Free it with free().
CachedFileRow* NewCachedFileRow(const char* name, const char* shortName, uint64_t size);
// The sort order of the list: negative when a comes first. A missing row
// equals anything; a column without an order ranks everything equal.
int CompareRows(const CachedFileRow* a, const CachedFileRow* b, int column);

// The text of a cell: the row's own name for column 0, otherwise the text
// formatted into buffer (size at least 1; noInfo for a row without a date).
const char* CellText(const CachedFileRow* row, int column, const char* noInfo, char* buffer, size_t size);

// The K figure of the totals line: the fill rounds, a deletion does not.
double FillKilobytes(double bytes);
double DeletionKilobytes(double bytes);
// Takes a row that goes out of the totals; neither falls below zero.
void SubtractRow(uint32_t* count, double* bytes, uint64_t size);
// The totals line from a "%ld ... %.0lf" format.
void FormatTotals(const char* format, uint32_t count, double kilobytes, char* text, size_t size);
