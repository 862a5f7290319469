// A cost field's text as typed or shown: read when it is digits with at most
// one point and a finite float, and then exactly the host's strtod of it as
// a float. A cost of up to six significant digits prints back to them, and
// its field shows it as the host's printf does; a text refused or not
// edited leaves the cost alone.
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "fuzz_text.h"
#include "panel/savings.h"

constexpr float UNREAD = -1.0f;  // no text reads as a negative cost

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text = TextAt(data, size);
  const bool costText =
      text.find_first_not_of("0123456789.") == std::string::npos && text.find('.') == text.rfind('.');
  const float expected =
      costText && text != "." && !text.empty() ? static_cast<float>(strtod(text.c_str(), nullptr)) : 0.0f;

  float cost = UNREAD;
  if (!ReadCostText(text.c_str(), false, &cost) || cost != UNREAD) abort();
  const bool read = ReadCostText(text.c_str(), true, &cost);
  if (read != (costText && std::isfinite(expected))) abort();
  if (!read) {
    if (cost != UNREAD) abort();
    return 0;
  }
  if (memcmp(&cost, &expected, sizeof cost) != 0) abort();

  std::string digits;  // the significant ones
  for (char c : text)
    if (c != '.') digits += c;
  digits.erase(0, digits.find_first_not_of('0') == std::string::npos ? digits.size() : digits.find_first_not_of('0'));
  digits.erase(digits.find_last_not_of('0') + 1);
  if (digits.empty() && cost != 0.0f) abort();
  if (!digits.empty() && digits.size() <= FLT_DIG && cost >= FLT_MIN) {
    char printed[64];
    snprintf(printed, sizeof printed, "%.*e", static_cast<int>(digits.size()) - 1, static_cast<double>(cost));
    std::string mantissa(printed, strcspn(printed, "e"));
    mantissa.erase(mantissa.find('.') == std::string::npos ? mantissa.size() : mantissa.find('.'), 1);
    if (mantissa != digits) abort();
  }

  char shown[64], host[64];
  FormatCost(cost, shown, sizeof shown);
  snprintf(host, sizeof host, "%.2f", static_cast<double>(cost));
  if (strcmp(shown, host) != 0) abort();
  return 0;
}
