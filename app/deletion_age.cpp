#include "app/deletion_age.h"

int DayNumber(StoredDate date) {
  static const int MONTH_DAYS[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  int days = 0;
  for (int year = 1; year < date.Year; year++) days += year % 4 == 0 ? 366 : 365;
  for (int month = 1; month < date.Month && month <= 12; month++)
    days += month == 2 && date.Year % 4 == 0 ? 29 : MONTH_DAYS[month - 1];
  return days + date.Day;
}

int DaysBetween(StoredDate later, StoredDate earlier) { return DayNumber(later) - DayNumber(earlier); }

bool DueForDeletion(int age, int32_t autoDeleteDays) {
  if (age < 0) return false;  // used after today: the clock was set back
  return age >= (autoDeleteDays < 0 ? 0 : autoDeleteDays);
}
