// The File Manager's rows from any scan and records (input: per row 8 bytes
// of size, 8 of last use, 4 of hits, a name length and the name). Each
// header's order is a strict weak ordering that agrees with the host's
// strcasecmp, the numbers and the host's gmtime of the last use, and a sort
// by it leaves no row before one that must precede it. Every cell text fits
// its buffer, whatever its room.
#include <time.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <strings.h>
#include <vector>

#include "panel/file_manager_rows.h"

constexpr int MAX_ROWS = 12;
constexpr size_t CELL_ROOM = 50;  // the page's cell buffer

static int Sign(long long value) { return (value > 0) - (value < 0); }

static uint64_t Ticks(const CachedFileRow* row) { return (uint64_t{row->LastUsed.High} << 32) | row->LastUsed.Low; }

// The row's date by the host's calendar as year, month and day in one number; 0 without one.
static long long HostDate(const CachedFileRow* row) {
  const uint64_t ticks = Ticks(row);
  if (ticks == 0 || ticks >> 63) return 0;
  const time_t seconds = static_cast<time_t>(ticks / 10000000) - 11644473600;
  struct tm date;
  if (!gmtime_r(&seconds, &date)) abort();
  return (date.tm_year + 1900LL) * 10000 + (date.tm_mon + 1) * 100 + date.tm_mday;
}

// What CompareRows must answer, by the host's own means.
static int Expected(const CachedFileRow* a, const CachedFileRow* b, int column) {
  switch (column) {
    case COLUMN_NAME:
      return Sign(strcasecmp(a->Name, b->Name));
    case COLUMN_SIZE:
      return a->Size < b->Size ? 1 : a->Size > b->Size ? -1 : 0;
    case COLUMN_LAST_USED:
      return Sign(HostDate(b) - HostDate(a));
    case COLUMN_HITS:
      return Sign(static_cast<long long>(b->Hits) - a->Hits);
  }
  return 0;
}

static void CheckCells(const CachedFileRow* row, size_t room) {
  for (int column = 0; column < FILE_LIST_COLUMNS; column++) {
    std::vector<char> buffer(room);
    const char* text = CellText(row, column, "No info available", buffer.data(), room);
    if (column != COLUMN_NAME && strnlen(text, room) == room) abort();
    if (room < CELL_ROOM) continue;
    std::string expected = row->Name;
    if (column == COLUMN_SIZE) expected = std::to_string(row->Size);
    if (column == COLUMN_HITS) expected = std::to_string(row->Hits);
    if (column == COLUMN_LAST_USED) {
      const long long date = HostDate(row);
      expected = date == 0 ? "No info available"
                           : std::to_string(date / 100 % 100) + "/" + std::to_string(date % 100) + "/" +
                                 std::to_string(date / 10000);
    }
    if (expected != text) abort();
  }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<CachedFileRow*> rows;
  size_t at = 0;
  while (rows.size() < MAX_ROWS && at + 21 <= size) {
    uint64_t bytes, lastUsed;
    uint32_t hits;
    memcpy(&bytes, data + at, 8);
    memcpy(&lastUsed, data + at + 8, 8);
    memcpy(&hits, data + at + 16, 4);
    const size_t length = std::min<size_t>(data[at + 20], size - at - 21);
    const std::string name(reinterpret_cast<const char*>(data + at + 21), length);
    at += 21 + length;
    CachedFileRow* row = NewCachedFileRow(name.c_str(), name.c_str(), bytes);
    if (!row) abort();
    row->LastUsed = {static_cast<uint32_t>(lastUsed), static_cast<uint32_t>(lastUsed >> 32)};
    row->Hits = hits;
    if (strncmp(row->Name, name.c_str(), FILE_NAME_MAX) != 0 || strlen(row->Name) > FILE_NAME_MAX ||
        strnlen(row->ShortName, sizeof row->ShortName) == sizeof row->ShortName)
      abort();
    CheckCells(row, 1 + (bytes >> 58));  // rooms of 1 to 64
    CheckCells(row, CELL_ROOM);
    rows.push_back(row);
  }

  for (int column = 0; column <= FILE_LIST_COLUMNS; column++) {
    auto compare = [column](const CachedFileRow* a, const CachedFileRow* b) { return Sign(CompareRows(a, b, column)); };
    for (const CachedFileRow* a : rows)
      for (const CachedFileRow* b : rows) {
        if (compare(a, b) != Expected(a, b, column) || compare(a, b) != -compare(b, a)) abort();
        for (const CachedFileRow* c : rows)
          if (compare(a, b) <= 0 && compare(b, c) <= 0 && compare(a, c) > 0) abort();  // not transitive
      }
    std::vector<CachedFileRow*> sorted = rows;
    std::sort(sorted.begin(), sorted.end(),
              [&](const CachedFileRow* a, const CachedFileRow* b) { return compare(a, b) < 0; });
    for (size_t i = 1; i < sorted.size(); i++)
      if (compare(sorted[i], sorted[i - 1]) < 0) abort();
  }
  for (CachedFileRow* row : rows) free(row);
  return 0;
}
