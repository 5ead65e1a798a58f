// lock_test.cpp: the recursive lock.
#include <gtest/gtest.h>

#include <thread>

#include "foundation/lock.h"

namespace {

// Two threads take the lock twice each, in turns (a lock that does not count
// its owner's depth would hang here); the last release frees it.
TEST(RecursiveLock, OwnerTakesItAgainAndThreadsTakeTurns) {
  tam::CRecursiveLock lock;
  int counter = 0;
  auto work = [&] {
    for (int i = 0; i < 10000; ++i) {
      tam::CLockGuard<tam::CRecursiveLock> outer(&lock);
      tam::CLockGuard<tam::CRecursiveLock> inner(&lock);
      if (lock.Depth() == 2) ++counter;
    }
  };
  std::thread a(work), b(work);
  a.join();
  b.join();
  EXPECT_EQ(counter, 20000);
  EXPECT_EQ(lock.Owner(), 0u);
}

}  // namespace
