// The Windows 95 runtime's own decisions, built for this machine: the
// command line given to WinMain, and 64-bit division against the machine's.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>

#include "runtime/command_line.h"

extern "C" {
uint64_t __udivdi3(uint64_t a, uint64_t b);
uint64_t __umoddi3(uint64_t a, uint64_t b);
int64_t __divdi3(int64_t a, int64_t b);
int64_t __moddi3(int64_t a, int64_t b);
uint64_t __udivmoddi4(uint64_t a, uint64_t b, uint64_t* remainder);
int64_t __divmoddi4(int64_t a, int64_t b, int64_t* remainder);
}

TEST(Win95Runtime, WinMainGetsTheArgumentsAfterTheProgram) {
  const struct { const char* line; const char* arguments; } cases[] = {
      {"MANAGER.EXE", ""},
      {"MANAGER.EXE /x y", "/x y"},
      {"C:\\FT\\MANAGER.EXE \t  a", "a"},
      {"\"C:\\Program Files\\FT\\MANAGER.EXE\" a b", "a b"},
      {"\"C:\\FT\\MANAGER.EXE\"", ""},
      {"C:\\\"odd dir\"\\M.EXE z", "z"},
      {"\"unclosed quote a b", ""},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_STREQ(CommandLineArguments(c.line), c.arguments) << c.line;
}

TEST(Win95Runtime, DivisionAgreesWithTheMachinesOnEdgesAndAtRandom) {
  std::vector<std::pair<uint64_t, uint64_t>> pairs = {
      {0, 1}, {1, 1}, {7, 2}, {0xFFFFFFFFull, 0xFFFFFFFFull}, {0x100000000ull, 3}, {~0ull, 1}, {~0ull, ~0ull},
      {~0ull, 0x8000000000000000ull}, {0x8000000000000000ull, ~0ull}, {~0ull - 1, ~0ull}, {1234567890123ull, 1000},
      {0x7FFFFFFFFFFFFFFFull, 0x100000001ull}, {0x8000000000000000ull, 1}, {10, 0x100000000ull}};
  std::mt19937_64 random(1995);
  for (int i = 0; i < 200000; i++) {
    uint64_t a = random() >> (random() % 64), b = random() >> (random() % 64);
    pairs.push_back({a, b ? b : 1});
  }
  for (auto [a, b] : pairs) {
    ASSERT_EQ(__udivdi3(a, b), a / b) << a << " / " << b;
    ASSERT_EQ(__umoddi3(a, b), a % b) << a << " % " << b;
    uint64_t rest = 0;
    ASSERT_EQ(__udivmoddi4(a, b, &rest), a / b) << a << " / " << b;
    ASSERT_EQ(rest, a % b) << a << " % " << b;
    auto sa = static_cast<int64_t>(a), sb = static_cast<int64_t>(b);
    if (sb == 0 || (sa == INT64_MIN && sb == -1)) continue;
    ASSERT_EQ(__divdi3(sa, sb), sa / sb) << sa << " / " << sb;
    ASSERT_EQ(__moddi3(sa, sb), sa % sb) << sa << " % " << sb;
    int64_t signedRest = 0;
    ASSERT_EQ(__divmoddi4(sa, sb, &signedRest), sa / sb) << sa << " / " << sb;
    ASSERT_EQ(signedRest, sa % sb) << sa << " % " << sb;
  }
}
