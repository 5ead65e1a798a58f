// throttle_test.cpp: failed-login windows and locks on a clock stepped by hand.
#include <gtest/gtest.h>

#include "lobbyd/throttle.h"

namespace lobbyd {
namespace {

struct ThrottleTest : ::testing::Test {
  int64_t now = 1'000'000;
  CLoginThrottle throttle{[this] { return now; }};
};

// Five failures within a minute lock a key (the first lock lasts 30 s, see
// below); a refund takes back one try, failures older than the window do
// not count, and the lock uses the failures up.
TEST_F(ThrottleTest, FiveFailuresWithinAMinuteLock) {
  for (int i = 0; i < 4; ++i) throttle.Fail("id:falcon");
  throttle.Refund("id:falcon");
  throttle.Fail("id:falcon");
  EXPECT_FALSE(throttle.Locked("id:falcon"));
  now += 60'000;   // the failures so far are out of the window now
  for (int i = 0; i < 3; ++i) throttle.Fail("id:falcon");
  EXPECT_FALSE(throttle.Locked("id:falcon"));
  throttle.Fail("id:falcon");
  EXPECT_FALSE(throttle.Locked("id:falcon"));
  throttle.Fail("id:falcon");
  EXPECT_TRUE(throttle.Locked("id:falcon"));
  EXPECT_FALSE(throttle.Locked("id:other"));
  now += 30'000;
  EXPECT_FALSE(throttle.Locked("id:falcon"));
  throttle.Fail("id:falcon");
  EXPECT_FALSE(throttle.Locked("id:falcon"));
}

TEST_F(ThrottleTest, LocksInARowDoubleUpToTheLongestAndAreForgotten) {
  const SThrottleRule& rule = CLoginThrottle::kPairRule;
  // Lock lengths of consecutive locks: 30 s, 60 s, 120 s ... at most the longest.
  for (int64_t expected : {30'000, 60'000, 120'000, 240'000, 480'000, 900'000, 900'000}) {
    for (int i = 0; i < rule.maxFailures; ++i) throttle.Fail("k");
    now += expected - 1;
    EXPECT_TRUE(throttle.Locked("k")) << expected;
    now += 1;
    EXPECT_FALSE(throttle.Locked("k")) << expected;
  }
  // A quiet time after the last lock starts the doubling over.
  now += rule.forgetMs;
  for (int i = 0; i < rule.maxFailures; ++i) throttle.Fail("k");
  now += rule.lockMs;
  EXPECT_FALSE(throttle.Locked("k"));
}

TEST_F(ThrottleTest, ClearForgetsAndOldKeysExpire) {
  for (int i = 0; i < 4; ++i) throttle.Fail("id:a");
  throttle.Clear("id:a");
  throttle.Fail("id:a");
  EXPECT_FALSE(throttle.Locked("id:a"));
  for (int i = 0; i < 100; ++i) throttle.Fail("address:" + std::to_string(i));
  EXPECT_EQ(throttle.Tracked(), 101u);
  now += 60'000;
  EXPECT_FALSE(throttle.Locked("id:a"));
  EXPECT_EQ(throttle.Tracked(), 0u);
}

}  // namespace
}  // namespace lobbyd
