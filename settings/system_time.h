// Today's date from the system clock, on the records' plain date type.
#pragma once
#include <windows.h>

#include <cstring>

#include "settings/stored_time.h"

static_assert(sizeof(SYSTEMTIME) == sizeof(StoredDate));
static_assert(sizeof(FILETIME) == sizeof(StoredFileTime));

// The system's UTC date and time now.
inline StoredDate Today() {
  SYSTEMTIME now;
  GetSystemTime(&now);
  StoredDate today;
  memcpy(&today, &now, sizeof today);
  return today;
}
