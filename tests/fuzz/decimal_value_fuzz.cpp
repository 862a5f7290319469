// A cost or line speed as typed: DecimalValue reads the digits and the one
// point before any other character, and gives what the host's strtod gives
// for exactly those.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "fuzz_text.h"
#include "text/decimal_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text = TextAt(data, size);
  size_t read = 0;
  bool point = false;
  while (read < text.size() && ((text[read] >= '0' && text[read] <= '9') || (text[read] == '.' && !point))) {
    point = point || text[read] == '.';
    read++;
  }
  const std::string number = text.substr(0, read);
  const double expected = number.empty() || number == "." ? 0.0 : strtod(number.c_str(), nullptr);
  const double got = DecimalValue(text.c_str());
  if (memcmp(&got, &expected, sizeof got) != 0) abort();
  return 0;
}
