// throttle_test.cpp: failed-login windows and locks on a clock stepped by hand.
#include <gtest/gtest.h>

#include "lobbyd/throttle.h"

namespace lobbyd {
namespace {

struct ThrottleTest : ::testing::Test {
  int64_t now = 1'000'000;
  CLoginThrottle throttle{[this] { return now; }};
};

// Failures older than the window do not count; locks in a row double up to
// the longest, a lock uses its failures up, and a quiet time starts the
// doubling over; quiet keys are forgotten. Counting to a lock, refunds, other
// keys and clearing are StoreTest's (its SQLite store is this throttle).
TEST_F(ThrottleTest, OldFailuresLapseLocksDoubleAndQuietKeysAreForgotten) {
  const SThrottleRule& rule = CLoginThrottle::kPairRule;
  for (int i = 0; i < rule.maxFailures - 1; ++i) throttle.Fail("window");
  now += rule.windowMs;
  throttle.Fail("window");
  EXPECT_FALSE(throttle.Locked("window"));
  for (int64_t expected : {30'000, 60'000, 120'000, 240'000, 480'000, 900'000, 900'000}) {
    for (int i = 0; i < rule.maxFailures; ++i) throttle.Fail("k");
    now += expected - 1;
    EXPECT_TRUE(throttle.Locked("k")) << expected;
    now += 1;
    EXPECT_FALSE(throttle.Locked("k")) << expected;
  }
  throttle.Fail("k");
  EXPECT_FALSE(throttle.Locked("k"));
  now += rule.forgetMs;
  for (int i = 0; i < rule.maxFailures; ++i) throttle.Fail("k");
  now += rule.lockMs;
  EXPECT_FALSE(throttle.Locked("k"));

  CLoginThrottle quiet{[this] { return now; }};
  for (int i = 0; i < 100; ++i) quiet.Fail("address:" + std::to_string(i));
  EXPECT_EQ(quiet.Tracked(), 100u);
  now += rule.windowMs;
  EXPECT_FALSE(quiet.Locked("address:0"));
  EXPECT_EQ(quiet.Tracked(), 0u);
}

}  // namespace
}  // namespace lobbyd
