// Formatted text into a buffer, as C99 snprintf does, with no C library.
//
// Returns the length the whole text has (what would be written with room
// enough, the terminating NUL not counted); writes at most size - 1
// characters and a NUL when size > 0, nothing when size is 0 (dest may then
// be null). A text longer than INT_MAX gives -1.
//
// Flags - + space # 0; width and precision as digits or *; lengths hh h l ll
// z j; conversions d i u o x X c s f F e E g G and %%. Floating conversions
// print the exact decimal value of the double rounded half to even at the
// precision asked, for any precision. A null %s prints as "(null)", cut by the
// precision like any text. Any other conversion (%n, %p, %a, %ls, %Lf...)
// is copied to the text as written and consumes no argument.
#pragma once
#include <cstdarg>
#include <cstddef>

int FormatText(char* dest, size_t size, const char* format, ...) __attribute__((format(gnu_printf, 3, 4)));
int FormatTextV(char* dest, size_t size, const char* format, va_list args)
    __attribute__((format(gnu_printf, 3, 0)));
