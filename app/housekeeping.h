// At start-up: delete cached files unused for AutoDeleteDays days.
#pragma once
#include <windows.h>

void RemoveUnusedCachedFiles();
// Days since a fixed origin; every year divisible by 4 is a leap year.
int DayNumber(SYSTEMTIME date);
int DaysBetween(SYSTEMTIME later, SYSTEMTIME earlier);
