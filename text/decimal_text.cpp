// Exact decimal to double: the text is a big integer D times 10^exponent;
// long division of the two big integers gives the 53 bits of the double and
// a remainder that decides the rounding.
#include "text/decimal_text.h"

#include <cstdint>
#include <cstring>

#include "text/big_number.h"

namespace {

// Halfway points between doubles have fewer than 770 significant digits, so
// 800 digits and one standing for any nonzero rest round like the whole text.
constexpr int KEPT_DIGITS = 800;
// Beyond these positions of the leading digit the value is infinite or zero.
constexpr int LEAD_INFINITE = 309;  // 10^309 > the largest double
constexpr int LEAD_ZERO = -326;     // 10^-325 < half the smallest double
constexpr int EXPONENT_FLOOR = -100000;
constexpr uint64_t INFINITY_BITS = uint64_t{0x7FF} << 52;
constexpr uint32_t STEP_FACTOR = 1000000000;
constexpr int STEP_DIGITS = 9;
constexpr int LOWEST_BIT = -1074;  // of the smallest double
constexpr int MANTISSA_BITS = 53;

double FromBits(uint64_t bits) {
  double value;
  memcpy(&value, &bits, sizeof value);
  return value;
}

// n = n * 10^count
void MultiplyByPowerOfTen(BigNumber* n, int count) {
  for (; count >= STEP_DIGITS; count -= STEP_DIGITS) BigMulAdd(n, STEP_FACTOR, 0);
  uint32_t factor = 1;
  for (; count > 0; count--) factor *= 10;
  BigMulAdd(n, factor, 0);
}

void ShiftLeftSigned(BigNumber* n, int bits) {
  if (bits > 0) BigShiftLeft(n, bits);
}

}  // namespace

double DecimalValue(const char* text) {
  // The kept digits D and the power of ten of the last one.
  uint8_t digit[KEPT_DIGITS + 1];
  int count = 0;
  int exponent = 0;
  bool point = false, dropped = false;
  for (const char* p = text;; p++) {
    if (*p == '.' && !point) {
      point = true;
      continue;
    }
    if (*p < '0' || *p > '9') break;
    int value = *p - '0';
    if (count == 0 && value == 0) {
      if (point && exponent > EXPONENT_FLOOR) exponent--;
    } else if (count < KEPT_DIGITS) {
      digit[count++] = static_cast<uint8_t>(value);
      if (point) exponent--;
    } else {
      dropped = dropped || value != 0;
      if (!point && exponent < LEAD_INFINITE) exponent++;
    }
  }
  if (count == 0) return 0.0;
  if (dropped) {
    digit[count++] = 1;
    exponent--;
  }
  int lead = count - 1 + exponent;
  if (lead >= LEAD_INFINITE) return FromBits(INFINITY_BITS);
  if (lead <= LEAD_ZERO) return 0.0;

  // value = a / b
  BigNumber a, b;
  BigSet(&a, 0);
  for (int i = 0; i < count;) {
    uint32_t step = 0, factor = 1;
    for (int j = 0; j < STEP_DIGITS && i < count; j++, i++) {
      step = step * 10 + digit[i];
      factor *= 10;
    }
    BigMulAdd(&a, factor, step);
  }
  BigSet(&b, 1);
  if (exponent >= 0)
    MultiplyByPowerOfTen(&a, exponent);
  else
    MultiplyByPowerOfTen(&b, -exponent);

  // 2^top <= a / b < 2^(top + 1)
  int top = BigBitLength(&a) - BigBitLength(&b);
  {
    BigNumber scaledA = a, scaledB = b;
    ShiftLeftSigned(&scaledB, top);
    ShiftLeftSigned(&scaledA, -top);
    if (BigCompare(&scaledA, &scaledB) < 0) top--;
  }
  // The double's lowest bit and the quotient q = floor(a / b / 2^low).
  int low = top - (MANTISSA_BITS - 1);
  if (low < LOWEST_BIT) low = LOWEST_BIT;
  ShiftLeftSigned(&a, -low);
  ShiftLeftSigned(&b, low);
  uint64_t quotient = 0;
  int bits = top - low;  // the quotient's highest bit; none when negative
  if (bits >= 0) {
    BigShiftLeft(&b, bits);
    for (int i = bits; i >= 0; i--) {
      quotient <<= 1;
      if (BigCompare(&a, &b) >= 0) {
        BigSubtract(&a, &b);
        quotient |= 1;
      }
      if (i > 0) BigShiftRightOne(&b);
    }
  }
  // a is now the remainder against b: above half rounds up, half to even.
  BigShiftLeft(&a, 1);
  int half = BigCompare(&a, &b);
  if (half > 0 || (half == 0 && (quotient & 1))) quotient++;
  // Exponent and mantissa in one sum: a carry out of the mantissa raises the
  // exponent, and a quotient below 2^52 at the lowest bit is subnormal.
  uint64_t result = (static_cast<uint64_t>(low - LOWEST_BIT) << 52) + quotient;
  if (result >= INFINITY_BITS) result = INFINITY_BITS;
  return FromBits(result);
}
