// lifecycle_test.cpp: the recursive lock.
#include <gtest/gtest.h>

#include <thread>

#include "foundation/lock.h"

namespace {

// The owner takes the lock again and the last release frees it; two threads
// taking it (twice each) take turns.
TEST(RecursiveLock, OwnerTakesItAgainAndThreadsTakeTurns) {
  tam::CRecursiveLock lock;
  EXPECT_EQ(lock.Owner(), 0u);
  lock.Lock();
  lock.Lock();
  EXPECT_NE(lock.Owner(), 0u);
  EXPECT_EQ(lock.Depth(), 2u);
  lock.Unlock();
  EXPECT_EQ(lock.Depth(), 1u);
  lock.Unlock();
  EXPECT_EQ(lock.Owner(), 0u);

  int counter = 0;
  auto work = [&] {
    for (int i = 0; i < 10000; ++i) {
      tam::CLockGuard<tam::CRecursiveLock> outer(&lock);
      tam::CLockGuard<tam::CRecursiveLock> inner(&lock);
      ++counter;
    }
  };
  std::thread a(work), b(work);
  a.join();
  b.join();
  EXPECT_EQ(counter, 20000);
  EXPECT_EQ(lock.Owner(), 0u);
}

}  // namespace
