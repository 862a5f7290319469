// Formatted text with no C library: integers by repeated division, doubles
// through their exact decimal expansion held in a digit array (the integer
// part complete, the fraction turned into digits nine at a time from a big
// integer), then rounded half to even where the conversion cuts it.
#include "text/format_text.h"

#include <cstdint>
#include <cstring>
#include <type_traits>

#include "text/big_number.h"

namespace {

constexpr uint64_t INT_LIMIT = 0x7FFFFFFF;
constexpr int DEFAULT_FLOAT_PRECISION = 6;

struct Output {
  char* Dest;
  size_t Size;
  uint64_t Count;  // characters of the whole text so far, written or not
};

void Put(Output* out, char c) {
  if (out->Count + 1 < out->Size) out->Dest[out->Count] = c;
  out->Count++;
}

void PutRepeated(Output* out, char c, int64_t times) {
  for (int64_t i = 0; i < times; i++) Put(out, c);
}

void PutText(Output* out, const char* text, int64_t length) {
  for (int64_t i = 0; i < length; i++) Put(out, text[i]);
}

enum Length { LENGTH_NONE, LENGTH_HH, LENGTH_H, LENGTH_L, LENGTH_LL, LENGTH_Z, LENGTH_J };

struct Spec {
  bool Left, Plus, Space, Alternate, Zero;
  int Width;
  int Precision;  // -1: none given
  Length Size;
  char Conversion;
};

// A field of prefix, zeros and body: the padding before it is written here,
// the padding after it is returned for PutFieldEnd.
int64_t PutFieldStart(Output* out, const Spec& spec, const char* prefix, int64_t zeros, int64_t bodyLength,
                      bool zeroPads) {
  int64_t prefixLength = static_cast<int64_t>(strlen(prefix));
  int64_t total = prefixLength + zeros + bodyLength;
  int64_t pad = spec.Width > total ? spec.Width - total : 0;
  if (zeroPads && spec.Zero && !spec.Left) {
    zeros += pad;
    pad = 0;
  }
  if (!spec.Left) PutRepeated(out, ' ', pad);
  PutText(out, prefix, prefixLength);
  PutRepeated(out, '0', zeros);
  return spec.Left ? pad : 0;
}

void PutFieldEnd(Output* out, int64_t pad) { PutRepeated(out, ' ', pad); }

// ---- integers ----------------------------------------------------------

void FormatInteger(Output* out, const Spec& spec, unsigned long long magnitude, bool negative) {
  char c = spec.Conversion;
  uint32_t base = c == 'o' ? 8 : (c == 'x' || c == 'X') ? 16 : 10;
  const char* digitChars = c == 'X' ? "0123456789ABCDEF" : "0123456789abcdef";
  char digits[24];  // 22 octal digits at most
  int count = 0;
  for (unsigned long long v = magnitude; v;) {
    uint32_t digit;
    v = DivideSmall(v, base, &digit);
    digits[count++] = digitChars[digit];
  }

  int64_t minimum = spec.Precision < 0 ? 1 : spec.Precision;
  int64_t zeros = minimum > count ? minimum - count : 0;
  if (c == 'o' && spec.Alternate && zeros == 0) zeros = 1;  // the first digit a zero

  const char* prefix = "";
  if (c == 'd' || c == 'i') prefix = negative ? "-" : spec.Plus ? "+" : spec.Space ? " " : "";
  if (spec.Alternate && magnitude != 0 && c == 'x') prefix = "0x";
  if (spec.Alternate && magnitude != 0 && c == 'X') prefix = "0X";

  int64_t pad = PutFieldStart(out, spec, prefix, zeros, count, spec.Precision < 0);
  while (count > 0) Put(out, digits[--count]);
  PutFieldEnd(out, pad);
}

// ---- the decimal digits of a double ------------------------------------

// Digit positions are powers of ten: 0 is the units digit, -1 the tenths.
// The fraction of a double has at most 1074 digits, its integer part at most
// 309 (17 when it has a fraction at all); one more place holds a carry.
constexpr int FRACTION_STEP = 9;
constexpr uint32_t FRACTION_STEP_FACTOR = 1000000000;
constexpr int MAX_INTEGER_DIGITS = 309;
constexpr int DIGIT_CAPACITY = 1 + 17 + 1074 + FRACTION_STEP + 16;

struct Digits {
  uint8_t Digit[DIGIT_CAPACITY];  // Digit[i] is the digit at position Top - i
  int64_t Top;
  int64_t Count;
  BigNumber Fraction;  // the rest not yet in Digit: Fraction / 2^FractionBits
  int FractionBits;
};

// The exact digits of m * 2^e, the integer part complete.
void StartDigits(Digits* d, uint64_t m, int e) {
  uint8_t integer[MAX_INTEGER_DIGITS + 1];  // least significant first
  int length = 0;
  if (e >= 0) {
    BigNumber n;
    BigSet(&n, m);
    BigShiftLeft(&n, e);
    while (!BigIsZero(&n)) {
      uint32_t group = BigDivSmall(&n, FRACTION_STEP_FACTOR);
      for (int i = 0; i < FRACTION_STEP && (group || !BigIsZero(&n)) && length < MAX_INTEGER_DIGITS; i++) {
        integer[length++] = static_cast<uint8_t>(group % 10);
        group /= 10;
      }
    }
    BigSet(&d->Fraction, 0);
    d->FractionBits = 0;
  } else {
    int k = -e;
    uint64_t whole = k < 64 ? m >> k : 0;
    while (whole) {
      uint32_t digit;
      whole = DivideSmall(whole, 10, &digit);
      integer[length++] = static_cast<uint8_t>(digit);
    }
    BigSet(&d->Fraction, k < 64 ? m & ((uint64_t{1} << k) - 1) : m);
    d->FractionBits = k;
  }
  if (length == 0) integer[length++] = 0;
  d->Digit[0] = 0;
  for (int i = 0; i < length; i++) d->Digit[1 + i] = integer[length - 1 - i];
  d->Top = length;
  d->Count = length + 1;
}

uint32_t LimbAt(const BigNumber* n, int i) { return i < n->Used ? n->Limb[i] : 0; }

// Turns the next nine digits of the fraction into Digit.
void NextFractionDigits(Digits* d) {
  BigNumber* f = &d->Fraction;
  BigMulAdd(f, FRACTION_STEP_FACTOR, 0);
  int word = d->FractionBits / 32, bit = d->FractionBits % 32;
  uint32_t chunk = LimbAt(f, word) >> bit;
  if (bit) chunk |= LimbAt(f, word + 1) << (32 - bit);
  if (word < f->Used) {
    f->Limb[word] &= (uint32_t{1} << bit) - 1;
    f->Used = word + 1;
    BigTrim(f);
  }
  char step[FRACTION_STEP];
  for (int i = FRACTION_STEP - 1; i >= 0; i--) {
    step[i] = static_cast<char>(chunk % 10);
    chunk /= 10;
  }
  for (int i = 0; i < FRACTION_STEP && d->Count < DIGIT_CAPACITY; i++) d->Digit[d->Count++] = step[i];
}

// Makes sure every digit down to position low is in Digit (or is zero).
void DigitsDownTo(Digits* d, int64_t low) {
  while (d->Top - (d->Count - 1) > low && !BigIsZero(&d->Fraction) && d->Count + FRACTION_STEP <= DIGIT_CAPACITY)
    NextFractionDigits(d);
}

int DigitAt(const Digits* d, int64_t position) {
  int64_t index = d->Top - position;
  return index >= 0 && index < d->Count ? d->Digit[index] : 0;
}

// The position of the first nonzero digit; 0 for zero.
int64_t LeadingPosition(Digits* d) {
  for (int64_t i = 0;; i++) {
    if (i == d->Count) {
      if (BigIsZero(&d->Fraction) || d->Count + FRACTION_STEP > DIGIT_CAPACITY) return 0;
      NextFractionDigits(d);
    }
    if (d->Digit[i]) return d->Top - i;
  }
}

// The position of the last nonzero digit; 0 for zero. Call after RoundAt.
int64_t TrailingPosition(const Digits* d) {
  for (int64_t i = d->Count - 1; i >= 0; i--)
    if (d->Digit[i]) return d->Top - i;
  return 0;
}

// Rounds half to even to position keep, which is below Top; every digit
// below it becomes zero.
void RoundAt(Digits* d, int64_t keep) {
  DigitsDownTo(d, keep - 1);
  int64_t keepIndex = d->Top - keep;
  int first = DigitAt(d, keep - 1);
  bool rest = !BigIsZero(&d->Fraction);
  for (int64_t i = keepIndex + 2; i < d->Count && !rest; i++) rest = d->Digit[i] != 0;
  bool up = first > 5 || (first == 5 && (rest || (DigitAt(d, keep) & 1)));
  if (keepIndex + 1 < d->Count) d->Count = keepIndex + 1;
  BigSet(&d->Fraction, 0);
  if (!up) return;
  for (int64_t i = keepIndex; i >= 0; i--) {
    if (++d->Digit[i] < 10) break;
    d->Digit[i] = 0;
  }
}

// ---- floating conversions ----------------------------------------------

// The highest position %f writes: the carry place if rounding reached it,
// else the first nonzero digit, never below the units.
int64_t IntegerLead(const Digits* d) {
  int64_t lead = d->Top;
  while (lead > 0 && DigitAt(d, lead) == 0) lead--;
  return lead;
}

// Digits as %f writes them: the integer part, then `decimals` places.
void PutFixed(Output* out, const Digits* d, int64_t decimals, bool point) {
  for (int64_t p = IntegerLead(d); p >= 0; p--) Put(out, static_cast<char>('0' + DigitAt(d, p)));
  if (point) Put(out, '.');
  for (int64_t p = -1; p >= -decimals; p--) Put(out, static_cast<char>('0' + DigitAt(d, p)));
}

// Digits as %e writes them: one before the point, `decimals` after, then the
// exponent of ten with at least two digits.
void PutExponential(Output* out, const Digits* d, int64_t lead, int64_t decimals, bool point, bool upper,
                    char* exponent, int exponentLength) {
  Put(out, static_cast<char>('0' + DigitAt(d, lead)));
  if (point) Put(out, '.');
  for (int64_t p = lead - 1; p >= lead - decimals; p--) Put(out, static_cast<char>('0' + DigitAt(d, p)));
  Put(out, upper ? 'E' : 'e');
  PutText(out, exponent, exponentLength);
}

int ExponentText(int64_t lead, char* text) {
  int length = 0;
  text[length++] = lead < 0 ? '-' : '+';
  auto magnitude = static_cast<uint32_t>(lead < 0 ? -lead : lead);  // 324 at most
  char reversed[10];  // the digits of any uint32_t
  int count = 0;
  for (; magnitude || count < 2; magnitude /= 10) reversed[count++] = static_cast<char>('0' + magnitude % 10);
  while (count > 0) text[length++] = reversed[--count];
  return length;
}

void FormatFloat(Output* out, const Spec& spec, double value) {
  uint64_t bits;
  memcpy(&bits, &value, sizeof bits);
  bool negative = (bits >> 63) != 0;
  int exponentField = static_cast<int>((bits >> 52) & 0x7FF);
  uint64_t fraction = bits & ((uint64_t{1} << 52) - 1);
  char c = spec.Conversion;
  bool upper = c == 'F' || c == 'E' || c == 'G';
  const char* sign = negative ? "-" : spec.Plus ? "+" : spec.Space ? " " : "";

  if (exponentField == 0x7FF) {
    const char* name = fraction ? (upper ? "NAN" : "nan") : (upper ? "INF" : "inf");
    int64_t pad = PutFieldStart(out, spec, sign, 0, 3, false);
    PutText(out, name, 3);
    PutFieldEnd(out, pad);
    return;
  }

  uint64_t m = exponentField ? fraction | (uint64_t{1} << 52) : fraction;
  int e = exponentField ? exponentField - 1075 : -1074;
  Digits d;
  StartDigits(&d, m, e);

  int64_t precision = spec.Precision < 0 ? DEFAULT_FLOAT_PRECISION : spec.Precision;
  bool fixed = c == 'f' || c == 'F';
  if (c == 'g' || c == 'G') {
    if (precision == 0) precision = 1;
    int64_t lead = m ? LeadingPosition(&d) : 0;
    if (m) {
      RoundAt(&d, lead - (precision - 1));
      lead = LeadingPosition(&d);
    }
    fixed = lead >= -4 && lead < precision;
    precision = fixed ? precision - 1 - lead : precision - 1;
    if (!spec.Alternate) {
      // Trailing zeros go, and the point with them.
      int64_t trailing = m ? TrailingPosition(&d) : 0;
      int64_t kept = fixed ? -trailing : lead - trailing;
      if (kept < 0) kept = 0;
      if (kept < precision) precision = kept;
    }
  } else if (fixed) {
    RoundAt(&d, -precision);
  } else if (m) {
    RoundAt(&d, LeadingPosition(&d) - precision);
  }
  bool point = precision > 0 || spec.Alternate;

  if (fixed) {
    int64_t pad = PutFieldStart(out, spec, sign, 0, IntegerLead(&d) + 1 + (point ? 1 : 0) + precision, true);
    PutFixed(out, &d, precision, point);
    PutFieldEnd(out, pad);
    return;
  }
  int64_t lead = m ? LeadingPosition(&d) : 0;
  char exponent[12];  // a sign and up to ten digits
  int exponentLength = ExponentText(lead, exponent);
  int64_t pad = PutFieldStart(out, spec, sign, 0, 1 + (point ? 1 : 0) + precision + 1 + exponentLength, true);
  PutExponential(out, &d, lead, precision, point, upper, exponent, exponentLength);
  PutFieldEnd(out, pad);
}

// ---- the format --------------------------------------------------------

// Digits of a width or precision, held at INT_LIMIT.
int ReadCount(const char** p) {
  uint64_t value = 0;
  for (; **p >= '0' && **p <= '9'; (*p)++) {
    value = value * 10 + static_cast<uint64_t>(**p - '0');
    if (value > INT_LIMIT) value = INT_LIMIT;
  }
  return static_cast<int>(value);
}

// Reads one conversion after its '%'; false when it is not one supported.
bool ReadSpec(const char** p, va_list* args, Spec* spec) {
  *spec = Spec{};
  spec->Precision = -1;
  for (;; (*p)++) {
    char flag = **p;
    if (flag == '-') spec->Left = true;
    else if (flag == '+') spec->Plus = true;
    else if (flag == ' ') spec->Space = true;
    else if (flag == '#') spec->Alternate = true;
    else if (flag == '0') spec->Zero = true;
    else break;
  }
  if (**p == '*') {
    (*p)++;
    int width = va_arg(*args, int);
    if (width < 0) {
      spec->Left = true;
      width = width < -static_cast<int>(INT_LIMIT) ? static_cast<int>(INT_LIMIT) : -width;
    }
    spec->Width = width;
  } else {
    spec->Width = ReadCount(p);
  }
  if (**p == '.') {
    (*p)++;
    if (**p == '*') {
      (*p)++;
      int precision = va_arg(*args, int);
      spec->Precision = precision < 0 ? -1 : precision;
    } else {
      spec->Precision = ReadCount(p);
    }
  }
  switch (**p) {
    case 'h':
      (*p)++;
      spec->Size = LENGTH_H;
      if (**p == 'h') {
        (*p)++;
        spec->Size = LENGTH_HH;
      }
      break;
    case 'l':
      (*p)++;
      spec->Size = LENGTH_L;
      if (**p == 'l') {
        (*p)++;
        spec->Size = LENGTH_LL;
      }
      break;
    case 'z':
      (*p)++;
      spec->Size = LENGTH_Z;
      break;
    case 'j':
      (*p)++;
      spec->Size = LENGTH_J;
      break;
    default:
      break;
  }
  spec->Conversion = **p;
  if (spec->Conversion == '\0') return false;
  (*p)++;
  switch (spec->Conversion) {
    case 'd': case 'i': case 'u': case 'o': case 'x': case 'X':
      return true;
    case 'c': case 's': case '%':
      return spec->Size == LENGTH_NONE;
    case 'f': case 'F': case 'e': case 'E': case 'g': case 'G':
      return spec->Size == LENGTH_NONE || spec->Size == LENGTH_L;
    default:
      return false;
  }
}

void FormatSigned(Output* out, const Spec& spec, va_list* args) {
  long long value;
  switch (spec.Size) {
    case LENGTH_HH: value = static_cast<signed char>(va_arg(*args, int)); break;
    case LENGTH_H: value = static_cast<short>(va_arg(*args, int)); break;
    case LENGTH_L: value = va_arg(*args, long); break;
    case LENGTH_LL: value = va_arg(*args, long long); break;
    case LENGTH_Z: value = va_arg(*args, std::make_signed_t<size_t>); break;
    case LENGTH_J: value = va_arg(*args, intmax_t); break;
    default: value = va_arg(*args, int); break;
  }
  unsigned long long magnitude = static_cast<unsigned long long>(value);
  if (value < 0) magnitude = 0 - magnitude;
  FormatInteger(out, spec, magnitude, value < 0);
}

void FormatUnsigned(Output* out, const Spec& spec, va_list* args) {
  unsigned long long value;
  switch (spec.Size) {
    case LENGTH_HH: value = static_cast<unsigned char>(va_arg(*args, unsigned)); break;
    case LENGTH_H: value = static_cast<unsigned short>(va_arg(*args, unsigned)); break;
    case LENGTH_L: value = va_arg(*args, unsigned long); break;
    case LENGTH_LL: value = va_arg(*args, unsigned long long); break;
    case LENGTH_Z: value = va_arg(*args, size_t); break;
    case LENGTH_J: value = va_arg(*args, uintmax_t); break;
    default: value = va_arg(*args, unsigned); break;
  }
  FormatInteger(out, spec, value, false);
}

void FormatString(Output* out, const Spec& spec, const char* text) {
  if (!text) text = "(null)";
  int64_t length = 0;
  while ((spec.Precision < 0 || length < spec.Precision) && text[length]) length++;
  int64_t pad = PutFieldStart(out, spec, "", 0, length, false);
  PutText(out, text, length);
  PutFieldEnd(out, pad);
}

}  // namespace

int FormatTextV(char* dest, size_t size, const char* format, va_list args) {
  Output out = {dest, size, 0};
  va_list rest;
  va_copy(rest, args);
  const char* p = format;
  while (*p) {
    if (*p != '%') {
      Put(&out, *p++);
      continue;
    }
    const char* start = p++;
    Spec spec;
    if (!ReadSpec(&p, &rest, &spec)) {
      PutText(&out, start, p - start);
      continue;
    }
    switch (spec.Conversion) {
      case 'd': case 'i':
        FormatSigned(&out, spec, &rest);
        break;
      case 'u': case 'o': case 'x': case 'X':
        FormatUnsigned(&out, spec, &rest);
        break;
      case 'c': {
        char c = static_cast<char>(static_cast<unsigned char>(va_arg(rest, int)));
        int64_t pad = PutFieldStart(&out, spec, "", 0, 1, false);
        Put(&out, c);
        PutFieldEnd(&out, pad);
        break;
      }
      case 's':
        FormatString(&out, spec, va_arg(rest, const char*));
        break;
      case '%':
        Put(&out, '%');
        break;
      default:
        FormatFloat(&out, spec, va_arg(rest, double));
        break;
    }
  }
  va_end(rest);
  if (size > 0) dest[out.Count < size ? out.Count : size - 1] = '\0';
  return out.Count > INT_LIMIT ? -1 : static_cast<int>(out.Count);
}

int FormatText(char* dest, size_t size, const char* format, ...) {
  va_list args;
  va_start(args, format);
  int length = FormatTextV(dest, size, format, args);
  va_end(args);
  return length;
}
