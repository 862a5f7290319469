// Rules for texts read from the language file, apart from where they are read.
#pragma once

// Blanks (spaces only) at either end removed in place.
void TrimSpaces(char* text);

// The conversions of a printf format as one letter each ("ddd" for
// "%d/%d/%d"), or ending in "?" at the first one that is not allowed, as
// many as kinds holds; returns how many the format has (up to that "?").
int FormatConversions(const char* format, char* kinds, int kindsSize);

// True when a translated format takes the same arguments as the built-in one:
// its conversions match in number and kind, and both hold only allowed ones.
bool FormatKeepsConversions(const char* builtIn, const char* translated);
