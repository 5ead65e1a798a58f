// lifecycle_test.cpp: the heaps of the static life cycle and the recursive
// lock.
#include <gtest/gtest.h>

#include <thread>

#include "foundation/heap.h"
#include "foundation/lock.h"
#include "foundation/ortan_heap.h"
#include "foundation/string_alloc.h"

namespace {

// The default and Ortan heaps exist while units use them; later Ortan users
// only count.
TEST(Lifecycle, DefaultAndOrtanHeapsExistWhileUnitsUseThem) {
  tam::CMemMgr::_heap* heap = tam::MemMgr().FindHeap("default");
  ASSERT_NE(heap, nullptr);
  EXPECT_EQ(heap->pageCount, 32u);
  tam::CMemMgr::_heap* ortan = tam::MemMgr().FindHeap("Ortan");
  ASSERT_NE(ortan, nullptr);
  EXPECT_EQ(ortan->pageCount, 32u);
  EXPECT_GE(tam::StringAlloc().ChunkCount(), 1u);
  {
    tam::COrtanHeapUser user;
    EXPECT_EQ(tam::MemMgr().FindHeap("Ortan"), ortan);
  }
  EXPECT_EQ(tam::MemMgr().FindHeap("Ortan"), ortan);
}

TEST(RecursiveLock, OwnerTakesItAgainAndTheLastReleaseFreesIt) {
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

  uint32_t otherOwner = 0;
  std::thread other([&] {
    lock.Lock();
    otherOwner = lock.Owner();
    lock.Unlock();
  });
  other.join();
  EXPECT_NE(otherOwner, 0u);
  EXPECT_EQ(lock.Owner(), 0u);
}

TEST(RecursiveLock, ThreadsTakeTurns) {
  tam::CRecursiveLock lock;
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
}

}  // namespace
