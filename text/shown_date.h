// A date as the Manager shows it: month/day/year without leading zeros.
#pragma once
#include <cstddef>

#include "settings/stored_time.h"

// The cells' form; captions take a text whose three conversions are the same.
constexpr const char* SHOWN_DATE_FORMAT = "%d/%d/%d";

// The date's month, day and year, in this order, into a format taking three
// ints: SHOWN_DATE_FORMAT, or a caption's text around it.
void FormatShownDate(const char* format, const StoredDate& date, char* text, size_t size);
