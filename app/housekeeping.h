// At start-up: delete cached files unused for AutoDeleteDays days.
#pragma once
#include <windows.h>
#include <cstdint>

void RemoveUnusedCachedFiles();
// Days since a fixed origin; every year divisible by 4 is a leap year.
int DayNumber(SYSTEMTIME date);
int DaysBetween(SYSTEMTIME later, SYSTEMTIME earlier);
// A file age days old goes when age reaches the period; a negative age (a
// last use after today) never does, and a negative period counts as 0.
bool DueForDeletion(int age, int32_t autoDeleteDays);
