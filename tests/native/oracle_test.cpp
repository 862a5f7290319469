// FormatText against the host's snprintf and DecimalValue against its strtod,
// both exact in glibc, over seeded random formats, values and digit texts.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "text/decimal_text.h"
#include "text/format_text.h"

namespace {

constexpr size_t BUFFER_SIZE = 2400;  // above the longest text asked for
constexpr char UNTOUCHED = 0x5A;

std::mt19937_64 Random(12345);

uint64_t Below(uint64_t bound) { return Random() % bound; }
bool Chance(int percent) { return Below(100) < static_cast<uint64_t>(percent); }

double FromBits(uint64_t bits) {
  double value;
  memcpy(&value, &bits, sizeof value);
  return value;
}

uint64_t BitsOf(double value) {
  uint64_t bits;
  memcpy(&bits, &value, sizeof bits);
  return bits;
}

int Failures = 0;

// Both into buffers of the same random size; the texts, what lies past them
// and the lengths must agree.
template <typename... Args>
void Compare(const std::string& format, Args... args) {
  static char mine[BUFFER_SIZE], theirs[BUFFER_SIZE];
  size_t size = Chance(80) ? BUFFER_SIZE : Below(12);
  memset(mine, UNTOUCHED, sizeof mine);
  memset(theirs, UNTOUCHED, sizeof theirs);
  int a = FormatText(size ? mine : nullptr, size, format.c_str(), args...);
  int b = snprintf(size ? theirs : nullptr, size, format.c_str(), args...);
  if (a == b && memcmp(mine, theirs, sizeof mine) == 0) return;
  if (++Failures > 20) return;
  ADD_FAILURE() << "format \"" << format << "\" size " << size << ": \"" << std::string(mine, strnlen(mine, size))
                << "\" (" << a << ") against \"" << std::string(theirs, strnlen(theirs, size)) << "\" (" << b << ")";
}

// Flags, width and precision, each maybe taken from an argument.
struct Field {
  std::string text;
  bool starWidth = false, starPrecision = false;
  int width = 0, precision = 0;
  int effectivePrecision = -1;  // -1: none
};

Field RandomField(int maxPrecision) {
  Field f;
  f.text = "%";
  for (char flag : {'-', '+', ' ', '#', '0'})
    if (Chance(15)) f.text += flag;
  if (Chance(10)) {
    f.starWidth = true;
    f.width = static_cast<int>(Below(61)) - 30;
    f.text += '*';
  } else if (Chance(40)) {
    f.text += std::to_string(Below(30));
  }
  if (Chance(10)) {
    f.starPrecision = true;
    f.precision = static_cast<int>(Below(static_cast<uint64_t>(maxPrecision) + 5)) - 4;
    f.text += ".*";
    f.effectivePrecision = f.precision < 0 ? -1 : f.precision;
  } else if (Chance(60)) {
    f.text += '.';
    f.effectivePrecision = Chance(5) ? 0 : static_cast<int>(Below(static_cast<uint64_t>(maxPrecision) + 1));
    if (f.effectivePrecision) f.text += std::to_string(f.effectivePrecision);
  }
  return f;
}

template <typename T>
void CompareField(const Field& f, const std::string& format, T value) {
  if (f.starWidth && f.starPrecision) Compare(format, f.width, f.precision, value);
  else if (f.starWidth) Compare(format, f.width, value);
  else if (f.starPrecision) Compare(format, f.precision, value);
  else Compare(format, value);
}

double RandomDouble() {
  switch (Below(8)) {
    case 0:  // anything, NaN and infinities now and then
      return FromBits(Random());
    case 1:  // subnormals
      return FromBits((Random() & 0x800FFFFFFFFFFFFF) >> Below(52));
    case 2:  // short binary fractions: exact ties at many precisions
      return std::ldexp(static_cast<double>(Below(1 << 20)), -static_cast<int>(Below(24)));
    case 3:  // short decimals, near ties
      return static_cast<double>(Below(1000000)) / std::pow(10.0, static_cast<double>(Below(8)));
    case 4:  // integers
      return static_cast<double>(static_cast<int64_t>(Random()) >> Below(64));
    case 5:  // numbers of everyday size
      return std::ldexp(static_cast<double>(Random() >> 11), static_cast<int>(Below(80)) - 90);
    case 6: {
      const double special[] = {0.0, -0.0, HUGE_VAL, -HUGE_VAL, NAN, -NAN, DBL_MAX, DBL_MIN, DBL_TRUE_MIN, 0.5, 9.5,
                                0.95, 999999.5, 1e15, 1e16, 1e17, 1e-4, 1e-5, 0.00009999995};
      return special[Below(sizeof special / sizeof special[0])];
    }
    default: {  // near a power of ten, where %g changes style and rounding carries
      double ten = std::pow(10.0, static_cast<double>(Below(40)) - 20);
      return std::nextafter(ten, Chance(50) ? 0.0 : HUGE_VAL) * (Chance(50) ? 1 : -1);
    }
  }
}

// Whether %g's rounding to `precision` digits carries into the next power of
// ten, as 999999.5 does at six. With # glibc then drops the zeros C keeps
// ("1.e+06", not "1.00000e+06"); the unit tests hold the C text.
bool CarriesToNextPower(double value, int precision) {
  if (!std::isfinite(value) || value == 0) return false;
  if (precision < 0) precision = 6;
  if (precision == 0) precision = 1;
  static char rounded[BUFFER_SIZE], longer[BUFFER_SIZE];
  snprintf(rounded, sizeof rounded, "%.*e", precision - 1, std::fabs(value));
  snprintf(longer, sizeof longer, "%.*e", precision + 20, std::fabs(value));
  return atoi(strchr(rounded, 'e') + 1) != atoi(strchr(longer, 'e') + 1);
}

TEST(FormatTextOracle, FloatsMatchTheHostLibrary) {
  const char conversions[] = "fFeEgG";
  int skipped = 0;
  for (int i = 0; i < 150000 && Failures <= 20; i++) {
    int maxPrecision = Chance(2) ? 1100 : Chance(10) ? 120 : 25;
    Field f = RandomField(maxPrecision);
    char conversion = conversions[Below(6)];
    std::string format = (Chance(20) ? "a" : "") + f.text + (Chance(10) ? "l" : "") + conversion +
                         (Chance(20) ? "z" : "");
    double value = RandomDouble();
    if ((conversion == 'g' || conversion == 'G') && f.text.find('#') != std::string::npos &&
        CarriesToNextPower(value, f.effectivePrecision)) {
      skipped++;
      continue;
    }
    CompareField(f, format, value);
  }
  EXPECT_EQ(Failures, 0);
  EXPECT_LT(skipped, 1500);
}

TEST(FormatTextOracle, IntegersCharactersAndTextsMatchTheHostLibrary) {
  Failures = 0;
  const char* lengths[] = {"", "hh", "h", "l", "ll", "z", "j"};
  const char* texts[] = {"", "a", "text", "a longer text of some forty characters...", "tab\there"};
  for (int i = 0; i < 150000 && Failures <= 20; i++) {
    Field f = RandomField(30);
    uint64_t bits = Random() >> Below(64);
    int kind = static_cast<int>(Below(10));
    if (kind < 8) {
      const char* length = lengths[Below(7)];
      char conversion = "diuoxX"[Below(6)];
      std::string format = f.text + length + conversion;
      bool isSigned = conversion == 'd' || conversion == 'i';
      if (!strcmp(length, "l")) {
        if (isSigned) CompareField(f, format, static_cast<long>(bits));
        else CompareField(f, format, static_cast<unsigned long>(bits));
      } else if (!strcmp(length, "ll") || !strcmp(length, "j")) {
        if (isSigned) CompareField(f, format, static_cast<long long>(bits));
        else CompareField(f, format, static_cast<unsigned long long>(bits));
      } else if (!strcmp(length, "z")) {
        if (isSigned) CompareField(f, format, static_cast<ssize_t>(bits));
        else CompareField(f, format, static_cast<size_t>(bits));
      } else {
        if (isSigned) CompareField(f, format, static_cast<int>(bits));
        else CompareField(f, format, static_cast<unsigned>(bits));
      }
    } else if (kind == 8) {
      CompareField(f, f.text + "c", static_cast<int>(Below(256)));
    } else {
      CompareField(f, f.text + "s", texts[Below(5)]);
    }
  }
  // The Manager's own formats.
  for (int i = 0; i < 20000; i++) {
    double amount = RandomDouble();
    Compare("%ld File(s), %.0lf K", static_cast<long>(Random()), amount);
    Compare("Total money saved:   $%.2lf", amount);
    Compare("Total time saved:    %.0f hours|%.1f", amount, amount);
    Compare(" Cached files until %d/%d/%d ", static_cast<int>(Below(13)), static_cast<int>(Below(32)),
            static_cast<int>(Below(3000)));
    Compare("%.*s%s", static_cast<int>(Below(20)), "C:\\FT\\MANAGER.EXE", "strings.lng");
    Compare("%llu|%u", static_cast<unsigned long long>(Random()), static_cast<unsigned>(Random()));
  }
  EXPECT_EQ(Failures, 0);
}

// ---- decimal texts -----------------------------------------------------

std::string RandomDigits(size_t count) {
  std::string digits;
  for (size_t i = 0; i < count; i++) digits += static_cast<char>('0' + Below(10));
  return digits;
}

// Digits with a point somewhere, or none, and maybe leading zeros.
std::string RandomDecimal() {
  size_t count;
  switch (Below(10)) {
    case 0: case 1: case 2: case 3: case 4: count = Below(20); break;
    case 5: case 6: case 7: count = 20 + Below(40); break;
    case 8: count = 60 + Below(840); break;
    default: count = 900 + Below(600); break;
  }
  std::string text = std::string(Chance(20) ? Below(5) : 0, '0') + RandomDigits(count);
  if (Chance(70)) text.insert(Below(text.size() + 1), ".");
  if (Chance(10)) text = "." + std::string(280 + Below(60), '0') + text;  // far below 1
  if (Chance(5)) text = RandomDigits(305 + Below(8)) + text;            // around the largest double
  return text;
}

// The exact decimal of a long double, without an exponent or trailing zeros.
std::string ExactText(long double value) {
  static char text[BUFFER_SIZE];
  snprintf(text, sizeof text, "%.1200Lf", value);
  std::string s = text;
  while (s.back() == '0') s.pop_back();
  return s;
}

// Texts just at, below and above the point halfway between a double and the
// next one up: each long double holds such a midpoint exactly.
std::string NearHalfway() {
  uint64_t exponent = Chance(20) ? Below(60) : Chance(20) ? 2000 + Below(47) : 1 + Below(2046);
  double low = FromBits((exponent << 52) | (Random() & 0xFFFFFFFFFFFFF));
  double high = std::nextafter(low, HUGE_VAL);
  long double middle = (static_cast<long double>(low) + static_cast<long double>(high)) / 2;
  switch (Below(4)) {
    case 0: return ExactText(middle);
    case 1: return ExactText(std::nextafter(middle, 0.0L));
    case 2: return ExactText(std::nextafter(middle, static_cast<long double>(INFINITY)));
    default: {
      std::string text = ExactText(middle);  // a one far beyond the last digit
      if (text.find('.') == std::string::npos) text += '.';
      return text + std::string(Below(400), '0') + "1";
    }
  }
}

TEST(DecimalValueOracle, MatchesTheHostLibrary) {
  int failures = 0;
  for (int i = 0; i < 40000 && failures <= 20; i++) {
    std::string text = i % 2 ? NearHalfway() : RandomDecimal();
    double mine = DecimalValue(text.c_str());
    double theirs = strtod(text.c_str(), nullptr);
    if (BitsOf(mine) == BitsOf(theirs)) continue;
    failures++;
    ADD_FAILURE() << text.substr(0, 120) << (text.size() > 120 ? "..." : "") << " (" << text.size()
                  << " characters): " << mine << " against " << theirs;
  }
  EXPECT_EQ(failures, 0);
}

}  // namespace
