// A number field's text: the first byte picks the group separator. A text
// read prints back to its digits (separators and leading zeros aside) and
// stays within the maximum; one refused reads as 0, and every text of digits
// alone within the maximum is read.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "fuzz_text.h"
#include "text/shown_number.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const char* const separators[] = {",", ".", " ", "", "\xA0", "''", nullptr};
  if (size < 1) return 0;
  const char* separator = separators[data[0] % (sizeof separators / sizeof *separators)];
  const uint32_t maximum = data[0] & 0x80 ? SHOWN_NUMBER_MAX : 2147483647u;
  const std::string text = TextAt(data + 1, size - 1);
  uint32_t value = 12345;
  const bool read = ParseShownNumber(text.c_str(), separator, maximum, &value);
  std::string digits;
  for (char c : text)
    if (c >= '0' && c <= '9') digits += c;
  const size_t first = digits.find_first_not_of('0');
  const std::string significant = first == std::string::npos ? "0" : digits.substr(first);
  if (!read) {
    if (value != 0) abort();
    if (digits == text && significant.size() <= 10 && strtoull(significant.c_str(), nullptr, 10) <= maximum) abort();
    return 0;
  }
  if (value > maximum || significant != std::to_string(value)) abort();
  return 0;
}
