// 64-bit division for the 32-bit build: the compiler calls these by name for
// every 64-bit / and %, as the 386 divides at most 64 bits by 32.
#include <cstdint>

static uint64_t DivideUnsigned(uint64_t dividend, uint64_t divisor, uint64_t* remainder) {
  // Both within 32 bits, or a zero divisor: one machine division (which
  // faults on zero, as a division by zero must).
  if (((dividend >> 32) == 0 && (divisor >> 32) == 0) || divisor == 0) {
    auto n = static_cast<uint32_t>(dividend), d = static_cast<uint32_t>(divisor);
    *remainder = n % d;
    return n / d;
  }
  uint64_t quotient = 0, rest = 0;
  for (int bit = 63; bit >= 0; bit--) {
    bool carry = (rest >> 63) != 0;
    rest = (rest << 1) | ((dividend >> bit) & 1);
    if (carry || rest >= divisor) {
      rest -= divisor;
      quotient |= uint64_t{1} << bit;
    }
  }
  *remainder = rest;
  return quotient;
}

static uint64_t Magnitude(int64_t value) { return value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value); }

extern "C" {

uint64_t __udivdi3(uint64_t a, uint64_t b) {
  uint64_t rest;
  return DivideUnsigned(a, b, &rest);
}

uint64_t __umoddi3(uint64_t a, uint64_t b) {
  uint64_t rest;
  DivideUnsigned(a, b, &rest);
  return rest;
}

// Truncated towards zero; the remainder takes the dividend's sign.
int64_t __divdi3(int64_t a, int64_t b) {
  uint64_t rest;
  uint64_t quotient = DivideUnsigned(Magnitude(a), Magnitude(b), &rest);
  return static_cast<int64_t>((a < 0) != (b < 0) ? 0 - quotient : quotient);
}

int64_t __moddi3(int64_t a, int64_t b) {
  uint64_t rest;
  DivideUnsigned(Magnitude(a), Magnitude(b), &rest);
  return static_cast<int64_t>(a < 0 ? 0 - rest : rest);
}

// Quotient and remainder at once, where code asks for both of one pair.
uint64_t __udivmoddi4(uint64_t a, uint64_t b, uint64_t* remainder) {
  uint64_t rest;
  uint64_t quotient = DivideUnsigned(a, b, &rest);
  if (remainder) *remainder = rest;
  return quotient;
}

int64_t __divmoddi4(int64_t a, int64_t b, int64_t* remainder) {
  if (remainder) *remainder = __moddi3(a, b);
  return __divdi3(a, b);
}
}
