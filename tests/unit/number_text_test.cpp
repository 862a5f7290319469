// Formatting into buffers and reading decimal texts, with the expected texts
// and values written out. Also built natively beside the comparison with the
// host's own C library (tests/native).
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstring>
#include <string>

#include "text/decimal_text.h"
#include "text/format_text.h"

namespace {

// The whole text; the length returned must be the length written.
std::string Formatted(const char* format, ...) {
  char text[2048];
  va_list args;
  va_start(args, format);
  int length = FormatTextV(text, sizeof text, format, args);
  va_end(args);
  EXPECT_EQ(length, static_cast<int>(strlen(text))) << format;
  return text;
}

struct FormatCase {
  const char* call;
  std::string text;
  const char* expected;
};
#define CASE(expected, ...) {#__VA_ARGS__, Formatted(__VA_ARGS__), expected}

TEST(FormatText, WritesWhatCWould) {
  const std::string zeros323(323, '0');
  const FormatCase cases[] = {
      // Integers: widths, flags, precisions, lengths.
      CASE("42|   42|42   |-0042|+0|+5| 7|007|", "%d|%5d|%-5d|%05d|%+d|%+i|% d|%.3d|%.0d", 42, 42, 42, -42, 0, 5, 7, 7, 0),
      CASE("    -007|     007|-7", "%8.3d|%08.3d|%-0d", -7, 7, -7),
      CASE("-2147483648|4294967295", "%d|%u", INT_MIN, UINT_MAX),
      CASE("ff|FF|0xff|0XFF|0|010|0|0", "%x|%X|%#x|%#X|%#x|%#o|%o|%#.0o", 255u, 255u, 255u, 255u, 0u, 8u, 0u, 0u),
      CASE("0x0000ff|  0x00ff", "%#08x|%#8.4x", 255u, 255u),
      CASE("44|-56|4464|-1", "%hhd|%hhd|%hu|%hd", 300, 200, 70000, 65535),
      CASE("-9223372036854775808|18446744073709551615", "%lld|%llu", LLONG_MIN, ULLONG_MAX),
      CASE("-2147483648|4294967295|12345|-5|777", "%ld|%lu|%zu|%jd|%llo", -2147483647L - 1, 4294967295UL,
           static_cast<size_t>(12345), static_cast<intmax_t>(-5), 511ULL),
      // * takes an int; a negative width is the - flag, a negative precision none.
      CASE("   42|42   |  007|3.141590", "%*d|%*d|%*.*d|%.*f", 5, 42, -5, 42, 5, 3, 7, -1, 3.14159),
      // Characters and texts.
      CASE("x|  x|x  |%|   ab|ab   |abc|(null)|(nu", "%c|%3c|%-3c|%%|%5s|%-5s|%.*s|%s|%.3s", 'x', 'x', 'x', "ab", "ab",
           3, "abcdef", static_cast<const char*>(nullptr), static_cast<const char*>(nullptr)),
      // Exact ties round to even; what only looks like a tie rounds by its true value.
      CASE("0.12|0.38|2|4|0|-0|0.2", "%.2f|%.2f|%.0f|%.0f|%.0f|%.0f|%.1f", 0.125, 0.375, 2.5, 3.5, 0.5, -0.5, 0.25),
      CASE("1.00|0.1|0.3|0.5|12.35|2.001|10.0", "%.2f|%.1f|%.1f|%.1f|%.2f|%.3f|%.1f", 1.005, 0.05, 0.35, 0.45,
           12.345, 2.0005, 9.96),
      CASE("1e+01|8e+00|1e+05|0.99|0.9", "%.0e|%.0e|%.3g|%.2g|%.1g", 9.5, 8.5, 99950.0, 0.995, 0.95),
      // Every digit of the exact value.
      CASE("0.10000000000000000555|0.10000000000000001|0.29999999999999999", "%.20f|%.17g|%.17g", 0.1, 0.1, 0.3),
      CASE("99999999999999991611392|10000000000000000000000", "%.0f|%.0f", 1e23, 1e22),
      CASE("0.0000000000000000008673617379884035472060", "%.40f", 0x1p-60),
      CASE("4.940656458412465441765687928682213723650598026143247644255857e-324|4.941e-324|4.94066e-324|0.000000",
           "%.60e|%.3e|%g|%f", 0x1p-1074, 0x1p-1074, 0x1p-1074, 0x1p-1074),
      CASE("2.2250738585072013830902327e-308", "%.25e", 0x1p-1022),
      CASE("17976931348623157081452742373170435679807056752584499659891747680315726078002853876058955863276687817154045"
           "89535143824642343213268894641827684675467035375169860499105765512820762454900903893289440758685084551339"
           "42304583236903222948165808559332123348274797826204144723168738177180919299881250404026184124858368",
           "%.0f", 1.7976931348623157e308),
      // Styles, %g's choice and its trailing zeros, the alternate form.
      CASE("1.234568e+04|1.234568E+04|0.000000e+00|1E-10|-0.000000", "%e|%E|%e|%G|%f", 12345.678, 12345.678, 0.0,
           1e-10, -0.0),
      CASE("100000|1e+06|0.0001|1e-05|1.23457e+08|0.0001234|1e+15|0", "%g|%g|%g|%g|%g|%g|%g|%g", 100000.0, 1e6,
           0.0001, 0.00001, 123456789.0, 0.0001234, 1e15, 0.0),
      CASE("1.00000|100.000|1.00|1.|1.e+00|0.00000", "%#g|%#g|%#.3g|%#.0f|%#.0e|%#g", 1.0, 100.0, 1.0, 1.0, 1.0, 0.0),
      CASE("1.00000e+06|1.00e+03|10.0", "%#g|%#.3g|%#.3g", 999999.5, 999.96, 9.9996),  // rounding carries
      CASE("-00003.142|3.14      |+1.5e+00| 2|   +1", "%010.3f|%-10.2f|%+.1e|% .0f|%+5.0f", -3.14159, 3.14159, 1.5,
           2.0, 1.0),
      // Infinities and NaN: no zero padding, a sign even on NaN.
      CASE("inf|INF|-inf|  nan|+inf| -inf|-nan|NAN| inf", "%f|%F|%e|%5.1f|%+f|%05f|%f|%G|% g", __builtin_inf(),
           __builtin_inf(), -__builtin_inf(), __builtin_nan(""), __builtin_inf(), -__builtin_inf(),
           -__builtin_nan(""), __builtin_nan(""), __builtin_inf()),
      // What the Manager prints.
      CASE("3 File(s), 2048 K|$12.35|12/31/1999", "%ld File(s), %.0lf K|$%.2lf|%d/%d/%d", 3L, 2048.5, 12.345, 12, 31,
           1999),
      CASE("C:\\FT\\strings.lng|\\\\.\\FTCACHE", "%.*s%s|\\\\.\\%s", 6, "C:\\FT\\MANAGER.EXE", "strings.lng",
           "FTCACHE"),
      // Conversions not supported are copied and take no argument.
      CASE("%p|7|%n|%a|%5.2Lf|%ls|%q|end%", "%p|%d|%n|%a|%5.2Lf|%ls|%q|end%", 7),
  };
  for (const auto& c : cases) EXPECT_EQ(c.text, c.expected) << c.call;
}

TEST(FormatText, CutsToTheBufferAndCountsTheWhole) {
  char text[16];
  const struct { size_t size; const char* written; } cases[] = {{16, "123456"}, {7, "123456"}, {6, "12345"},
                                                              {2, "1"}, {1, ""}};
  for (const auto& c : cases) {
    memset(text, '#', sizeof text);
    EXPECT_EQ(FormatText(text, c.size, "%d", 123456), 6) << c.size;
    EXPECT_STREQ(text, c.written) << c.size;
    if (c.size < sizeof text) {
      EXPECT_EQ(text[c.size], '#') << c.size;  // nothing past the size
    }
  }
  memset(text, '#', sizeof text);
  EXPECT_EQ(FormatText(text, 0, "%s", "abc"), 3);
  EXPECT_EQ(text[0], '#');
  EXPECT_EQ(FormatText(nullptr, 0, "%.400f|%.500e", 1.0, 1e308), 402 + 1 + 507);
  EXPECT_EQ(FormatText(text, sizeof text, "%1000d", 5), 1000);
  EXPECT_EQ(std::string(text), std::string(15, ' '));
}

struct DecimalCase {
  std::string text;
  double value;
};

TEST(DecimalValue, RoundsToTheNearestDoubleTiesToEven) {
  const std::string nines400(400, '9');
  const std::string zeros323(323, '0');
  const std::string largest =
      "179769313486231570814527423731704356798070567525844996598917476803157260780028538760589558632766878171540458953"
      "514382464234321326889464182768467546703537516986049910576551282076245490090389328944075868508455133942304583236"
      "903222948165808559332123348274797826204144723168738177180919299881250404026184124858368";
  // Halfway between the largest double and the next power of two.
  const std::string aboveLargest =
      "179769313486231580793728971405303415079934132710037826936173778980444968292764750946649017977587207096330286416"
      "692887910946555547851940402630657488671505820681908902000708383676273854845817711531764475730270069855571366959"
      "622842914819860834936475292719074168444365510704342711559699508093042880177904174497792";
  // 2^-1075, exactly half the smallest double, from its first nonzero digit.
  const std::string halfSmallest =
      "24703282292062327208828439643411068618252990130716238221279284125033775363510437593264991818081799618989828234"
      "77228588654633283551779698981993873980053909390631503565951557022639229085839244910518443593180284993653615250"
      "03193704576782492193656236698636584807570015857692699037063119282795585513329278343384093519780155312465972635"
      "79574622766465272827220056374006485499977096599470454020828166226237857393450736339007967761930577506740176324"
      "67360096895134053553745851666113422376667860416215968046191446729184030053005753084904876539171138659164623952"
      "49126236538818796362393732804238910186723484976682350898633885879256283027559956575244555072551893136908362547"
      "79186948667994968324049705821028513185451396213837722826145437693412532098591327667236328125";
  // Halfway between 0.1 and the double after it.
  const std::string aboveTenth = "0.100000000000000012490009027033011079765856266021728515625";
  const DecimalCase cases[] = {
      {"", 0.0}, {".", 0.0}, {"0", 0.0}, {"000.000", 0.0}, {"5.", 5.0}, {".5", 0.5},
      {"0.1", 0.1}, {"123.456", 123.456}, {"12.50", 12.5}, {"0.07", 0.07}, {"115200", 115200.0},
      {"1.2.3", 1.2},  // reading stops at the second point
      // Ties between integers above 2^53 go to the even one.
      {"9007199254740993", 0x1p53}, {"9007199254740995", 0x1p53 + 4}, {"9007199254740993.0000000000000000000001", 0x1p53 + 2},
      {"100000000000000000000000", 1e23},
      {aboveTenth, 0.1}, {aboveTenth + "000000000000000000000000000001", 0x1.999999999999bp-4},
      {aboveTenth + std::string(900, '0') + "1", 0x1.999999999999bp-4},  // decided past the 800th digit
      {"0.1000000000000000124900090270330110797658562660217285156249999999", 0.1},
      {"0." + std::string(1000, '3'), 1.0 / 3.0},
      // The largest double, and where rounding reaches infinity.
      {largest, 0x1.fffffffffffffp1023}, {largest + ".999999", 0x1.fffffffffffffp1023},
      {aboveLargest, __builtin_inf()}, {aboveLargest.substr(0, 308) + "1", 0x1.fffffffffffffp1023},
      {nines400, __builtin_inf()}, {"1" + std::string(308, '0'), 1e308},
      // Subnormals: the smallest double, half of it (a tie, to zero) and just above half.
      {"0." + zeros323 + "4940656458412465441765687928682213723650598026143247644255856825", 0x1p-1074},
      {"0." + zeros323 + halfSmallest, 0.0},
      {"0." + zeros323 + halfSmallest + "1", 0x1p-1074},
      {"0." + zeros323 + halfSmallest.substr(0, 60), 0.0},
      {"0." + std::string(400, '0') + "1", 0.0},
      // Around the smallest normal double.
      {"0." + std::string(307, '0') + "22250738585072011", 0x0.fffffffffffffp-1022},
      {"0." + std::string(307, '0') + "22250738585072012", 0x1p-1022},
  };
  for (const auto& c : cases) {
    double value = DecimalValue(c.text.c_str());
    uint64_t got, want;
    memcpy(&got, &value, sizeof got);
    memcpy(&want, &c.value, sizeof want);
    EXPECT_EQ(got, want) << c.text.substr(0, 80) << " read as " << value;
  }
}

}  // namespace
