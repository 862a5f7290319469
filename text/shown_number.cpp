#include "text/shown_number.h"

#include <cstring>

bool ParseShownNumber(const char* text, const char* separator, uint32_t maximum, uint32_t* value) {
  *value = 0;
  size_t separatorLength = separator ? strlen(separator) : 0;
  uint64_t number = 0;
  bool digitSeen = false;
  for (const char* p = text; *p;) {
    if (*p >= '0' && *p <= '9') {
      number = number * 10 + static_cast<unsigned>(*p - '0');
      if (number > maximum) return false;
      digitSeen = true;
      p++;
    } else if (digitSeen && separatorLength > 0 && strncmp(p, separator, separatorLength) == 0 &&
               p[separatorLength] >= '0' && p[separatorLength] <= '9') {
      p += separatorLength;
    } else {
      return false;
    }
  }
  *value = static_cast<uint32_t>(number);
  return true;
}
