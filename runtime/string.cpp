// The C library's memory, string and number calls that the Manager and the
// compiler use, with the standard's meaning. Built freestanding, so that the
// compiler does not turn these loops back into calls of themselves.
#include <climits>
#include <cstddef>

extern "C" {

void* memcpy(void* dest, const void* source, size_t count) {
  auto to = static_cast<unsigned char*>(dest);
  auto from = static_cast<const unsigned char*>(source);
  while (count--) *to++ = *from++;
  return dest;
}

void* memmove(void* dest, const void* source, size_t count) {
  auto to = static_cast<unsigned char*>(dest);
  auto from = static_cast<const unsigned char*>(source);
  if (to < from) {
    while (count--) *to++ = *from++;
  } else {
    while (count--) to[count] = from[count];
  }
  return dest;
}

void* memset(void* dest, int value, size_t count) {
  auto to = static_cast<unsigned char*>(dest);
  while (count--) *to++ = static_cast<unsigned char>(value);
  return dest;
}

int memcmp(const void* a, const void* b, size_t count) {
  auto p = static_cast<const unsigned char*>(a);
  auto q = static_cast<const unsigned char*>(b);
  for (; count; count--, p++, q++)
    if (*p != *q) return *p < *q ? -1 : 1;
  return 0;
}

size_t strlen(const char* text) {
  size_t length = 0;
  while (text[length]) length++;
  return length;
}

size_t strnlen(const char* text, size_t limit) {
  size_t length = 0;
  while (length < limit && text[length]) length++;
  return length;
}

int strcmp(const char* a, const char* b) {
  while (*a && *a == *b) a++, b++;
  return static_cast<unsigned char>(*a) - static_cast<unsigned char>(*b);
}

int strncmp(const char* a, const char* b, size_t count) {
  for (; count; count--, a++, b++) {
    if (*a != *b) return static_cast<unsigned char>(*a) - static_cast<unsigned char>(*b);
    if (!*a) break;
  }
  return 0;
}

char* strchr(const char* text, int wanted) {
  for (;; text++) {
    if (*text == static_cast<char>(wanted)) return const_cast<char*>(text);
    if (!*text) return nullptr;
  }
}

char* strrchr(const char* text, int wanted) {
  const char* found = nullptr;
  for (;; text++) {
    if (*text == static_cast<char>(wanted)) found = text;
    if (!*text) return const_cast<char*>(found);
  }
}

// Decimal (base 10) and the bases 2 to 36 as the standard reads them; a
// value beyond long is clamped. errno is not kept: nothing here reads it.
long strtol(const char* text, char** end, int base) {
  const char* p = text;
  while (*p == ' ' || (*p >= '\t' && *p <= '\r')) p++;
  bool negative = *p == '-';
  if (*p == '-' || *p == '+') p++;
  if ((base == 0 || base == 16) && p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) {
    auto digit = p[2];
    if ((digit >= '0' && digit <= '9') || ((digit | 0x20) >= 'a' && (digit | 0x20) <= 'f')) {
      p += 2;
      base = 16;
    }
  }
  if (base == 0) base = *p == '0' ? 8 : 10;
  unsigned long limit = negative ? static_cast<unsigned long>(LONG_MAX) + 1 : LONG_MAX;
  unsigned long value = 0;
  bool digitSeen = false, overflow = false;
  for (;; p++) {
    int digit;
    if (*p >= '0' && *p <= '9') digit = *p - '0';
    else if ((*p | 0x20) >= 'a' && (*p | 0x20) <= 'z') digit = (*p | 0x20) - 'a' + 10;
    else break;
    if (digit >= base) break;
    digitSeen = true;
    if (value > (limit - static_cast<unsigned long>(digit)) / static_cast<unsigned long>(base)) overflow = true;
    else value = value * static_cast<unsigned long>(base) + static_cast<unsigned long>(digit);
  }
  if (end) *end = const_cast<char*>(digitSeen ? p : text);
  if (overflow) return negative ? LONG_MIN : LONG_MAX;
  return negative ? static_cast<long>(0 - value) : static_cast<long>(value);
}
}
