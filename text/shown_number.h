// A number as a page's field shows it: the reading rule, apart from the field.
#pragma once
#include <cstdint>

constexpr uint32_t SHOWN_NUMBER_MAX = 0xFFFFFFFF;

// Digits, with the given group separator between two digits ignored ("1,000" is
// 1000); empty text is 0. Any other character (a sign, a blank, a point) or
// a number above maximum makes the text unreadable: false, *value 0.
bool ParseShownNumber(const char* text, const char* separator, uint32_t maximum, uint32_t* value);
