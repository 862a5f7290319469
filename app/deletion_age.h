// When start-up housekeeping deletes a cached file: its age in days against
// the stored period, apart from the scan that finds the files.
#pragma once
#include <cstdint>

#include "settings/stored_time.h"

// Days since a fixed origin; every year divisible by 4 is a leap year. Only
// Year, Month (1 to 12) and Day count.
int DayNumber(StoredDate date);
int DaysBetween(StoredDate later, StoredDate earlier);
// Whether a file last used age days ago goes under a stored period: a period
// below zero counts as 0, and a last use after today always keeps the file.
bool DueForDeletion(int age, int32_t autoDeleteDays);
