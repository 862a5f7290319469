// The value of a decimal text, with no C library.
#pragma once

// Digits with at most one '.' ("12", "0.5", ".5", "5."), any number of them,
// rounded to the nearest double, ties to even; too large a value is
// +infinity. Reading stops at any other character; an empty text or "." is 0.
double DecimalValue(const char* text);
