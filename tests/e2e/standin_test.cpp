// What the Manager's tests lean on in the stand-in driver: the journal line
// of each request, with its bytes, and an armed failure.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "harness.h"

namespace {

std::string Zeros(size_t bytes) { return std::string(bytes * 2, '0'); }

class StandinDriver : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(Ftctl("reset").exitCode, 0u); }
  void TearDown() override { Ftctl("reset"); }
};

TEST_F(StandinDriver, JournalHoldsEachRequestWithItsBytesAndRefusals) {
  const std::string settings = "01000000" "01000000" "2c010000" "64000000";
  EXPECT_EQ(Ftctl("send CACHE_SET_SETTINGS " + settings).exitCode, 0u);
  EXPECT_EQ(Ftctl("send CACHE_SET_EDIT_TYPES 01" + Zeros(183)).exitCode, 0u);
  EXPECT_EQ(Ftctl("send CACHE_DISK_LOW").exitCode, 0u);
  EXPECT_EQ(Ftctl("send CACHE_SET_SETTINGS " + Zeros(15)).exitCode, 1u);
  EXPECT_EQ(DriverLog(), (std::vector<std::string>{
                             "CACHE_SET_SETTINGS 0x8102 " + settings,
                             "CACHE_SET_EDIT_TYPES 0x8105 01" + Zeros(183),
                             "CACHE_DISK_LOW 0x8103",
                             "CACHE_SET_SETTINGS 0x8102 " + Zeros(15) + " refused",
                         }));
}

TEST_F(StandinDriver, ArmedFailureFailsOnlyThatRequestUntilReset) {
  ASSERT_EQ(Ftctl("fail CACHE_DISABLE").exitCode, 0u);
  EXPECT_EQ(Ftctl("send CACHE_DISABLE").exitCode, 1u);
  EXPECT_EQ(Ftctl("send CACHE_ENABLE").exitCode, 0u);
  EXPECT_EQ(DriverLog(), (std::vector<std::string>{"CACHE_DISABLE 0x8101 failed", "CACHE_ENABLE 0x8100"}));
  ASSERT_EQ(Ftctl("reset").exitCode, 0u);
  EXPECT_EQ(Ftctl("send CACHE_DISABLE").exitCode, 0u);
}

}  // namespace
