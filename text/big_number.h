// A fixed-size unsigned big integer for exact decimal and binary conversion
// of doubles: no heap, no C library. Limbs are little-endian 32-bit words.
// Every operation stays inside the array; one that would not fit marks the
// number as overflowed instead (callers size it so that never happens).
#pragma once
#include <cstddef>
#include <cstdint>

constexpr int BIG_NUMBER_LIMBS = 130;  // 4160 bits

struct BigNumber {
  uint32_t Limb[BIG_NUMBER_LIMBS];
  int Used;  // limbs in use; the highest one is nonzero
  bool Overflowed;
};

inline void BigSet(BigNumber* n, uint64_t value) {
  n->Limb[0] = static_cast<uint32_t>(value);
  n->Limb[1] = static_cast<uint32_t>(value >> 32);
  n->Used = n->Limb[1] ? 2 : (n->Limb[0] ? 1 : 0);
  n->Overflowed = false;
}

inline bool BigIsZero(const BigNumber* n) { return n->Used == 0; }

inline void BigTrim(BigNumber* n) {
  while (n->Used > 0 && n->Limb[n->Used - 1] == 0) n->Used--;
}

// value / divisor, and its remainder, in a way that needs only the 32-bit
// build's plain division helper.
inline uint64_t DivideSmall(uint64_t value, uint32_t divisor, uint32_t* remainder) {
  uint64_t quotient = value / divisor;
  *remainder = static_cast<uint32_t>(value) - static_cast<uint32_t>(quotient) * divisor;
  return quotient;
}

// n = n * factor + addend
inline void BigMulAdd(BigNumber* n, uint32_t factor, uint32_t addend) {
  uint64_t carry = addend;
  for (int i = 0; i < n->Used; i++) {
    uint64_t product = static_cast<uint64_t>(n->Limb[i]) * factor + carry;
    n->Limb[i] = static_cast<uint32_t>(product);
    carry = product >> 32;
  }
  if (carry == 0) return;
  if (n->Used == BIG_NUMBER_LIMBS) {
    n->Overflowed = true;
    return;
  }
  n->Limb[n->Used++] = static_cast<uint32_t>(carry);
}

// n = n / divisor; returns the remainder.
inline uint32_t BigDivSmall(BigNumber* n, uint32_t divisor) {
  uint32_t remainder = 0;
  for (int i = n->Used - 1; i >= 0; i--) {
    uint64_t part = (static_cast<uint64_t>(remainder) << 32) | n->Limb[i];
    n->Limb[i] = static_cast<uint32_t>(DivideSmall(part, divisor, &remainder));
  }
  BigTrim(n);
  return remainder;
}

inline void BigShiftLeft(BigNumber* n, int bits) {
  if (n->Used == 0 || bits <= 0) return;
  int words = bits / 32, rest = bits % 32;
  bool spills = rest && (n->Limb[n->Used - 1] >> (32 - rest)) != 0;
  int used = n->Used + words + (spills ? 1 : 0);
  if (used > BIG_NUMBER_LIMBS) {
    n->Overflowed = true;
    return;
  }
  for (int i = used - 1; i >= 0; i--) {
    int from = i - words;
    uint32_t high = from >= 0 && from < n->Used ? n->Limb[from] : 0;
    uint32_t low = from >= 1 && from - 1 < n->Used ? n->Limb[from - 1] : 0;
    n->Limb[i] = rest ? (high << rest) | (low >> (32 - rest)) : high;
  }
  n->Used = used;
}

inline void BigShiftRightOne(BigNumber* n) {
  for (int i = 0; i < n->Used; i++) {
    uint32_t next = i + 1 < n->Used ? n->Limb[i + 1] : 0;
    n->Limb[i] = (n->Limb[i] >> 1) | (next << 31);
  }
  BigTrim(n);
}

inline int BigBitLength(const BigNumber* n) {
  if (n->Used == 0) return 0;
  int bits = (n->Used - 1) * 32;
  for (uint32_t top = n->Limb[n->Used - 1]; top; top >>= 1) bits++;
  return bits;
}

// -1, 0 or 1 as a is below, equal to or above b.
inline int BigCompare(const BigNumber* a, const BigNumber* b) {
  if (a->Used != b->Used) return a->Used < b->Used ? -1 : 1;
  for (int i = a->Used - 1; i >= 0; i--)
    if (a->Limb[i] != b->Limb[i]) return a->Limb[i] < b->Limb[i] ? -1 : 1;
  return 0;
}

// a = a - b, for a >= b.
inline void BigSubtract(BigNumber* a, const BigNumber* b) {
  uint32_t borrow = 0;
  for (int i = 0; i < a->Used; i++) {
    uint64_t take = static_cast<uint64_t>(i < b->Used ? b->Limb[i] : 0) + borrow;
    borrow = a->Limb[i] < take ? 1 : 0;
    a->Limb[i] = static_cast<uint32_t>(a->Limb[i] - take);
  }
  BigTrim(a);
}
