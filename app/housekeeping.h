// At start-up: delete cached files unused for AutoDeleteDays days.
#pragma once
#include <windows.h>

#include <cstdint>

#include "settings/stored_time.h"

void RemoveUnusedCachedFiles();
// Whether a file last used age days ago goes under a stored period: a period
// below zero counts as 0, and a last use after today always keeps the file.
bool DueForDeletion(int age, int32_t autoDeleteDays);
// Days since a fixed origin; every year divisible by 4 is a leap year.
int DayNumber(StoredDate date);
int DaysBetween(StoredDate later, StoredDate earlier);
