// allocator_test.cpp: runs of elements, construction, growth and the
// critical errors of the fixed-size allocators.
#include <gtest/gtest.h>

#include <cstdint>

#include "foundation/allocator.h"
#include "expected_text.h"
#include "foundation/heap.h"
#include "tests/unit/foundation/report_recorder.h"

namespace {

// An element that counts its constructions and destructions.
struct SCounted {
  static inline int constructed = 0;
  static inline int destroyed = 0;
  SCounted() : value(7) { ++constructed; }
  ~SCounted() { ++destroyed; }
  int value;
};

class AllocatorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(tam::MemMgr().CreateHeap("AllocTest", 8 * tam::kPageSize));
    SCounted::constructed = SCounted::destroyed = 0;
  }
  void TearDown() override { tam::MemMgr().DestroyHeap("AllocTest"); }
  tam::CMemMgr::_heap* Heap() { return tam::MemMgr().FindHeap("AllocTest"); }
};

int ChunkCount(const tam::CAllocatorBase& allocator) {
  int count = 0;
  for (const tam::SAllocChunk* chunk = allocator.Chunks(); chunk; chunk = chunk->next) ++count;
  return count;
}

// Runs are constructed, taken first fit and given back whole; a zero count
// takes one element. A full chunk chains a new one in front; a run larger
// than a frame gets a frame of its own size; DeleteAll destroys every
// element. Raw (unconstructed) and locked allocators hand out runs alike; no
// heap name means "default". The frames go back to the heap with the
// allocator, unless it keeps them.
TEST_F(AllocatorTest, RunsGrowthAndRelease) {
  {
    tam::CAllocator<SCounted> allocator("AllocTest", "small", 4 * sizeof(SCounted));
    SCounted* run = allocator.New(3);
    ASSERT_NE(run, nullptr);
    EXPECT_EQ(run[2].value, 7);
    EXPECT_EQ(allocator.New(0), run + 3);
    EXPECT_TRUE(allocator.Delete(run));
    EXPECT_EQ(run, nullptr);
    EXPECT_EQ(SCounted::destroyed, 3);
    EXPECT_EQ(reinterpret_cast<uint8_t*>(allocator.New(2)), allocator.Chunks()->base);
    EXPECT_EQ(ChunkCount(allocator), 1);
    SCounted* next = allocator.New(2);
    ASSERT_EQ(ChunkCount(allocator), 2);
    EXPECT_EQ(reinterpret_cast<uint8_t*>(next), allocator.Chunks()->base);
    ASSERT_NE(allocator.New(10), nullptr);
    EXPECT_EQ(allocator.Chunks()->capacity, 10u);
    EXPECT_EQ(SCounted::constructed, 3 + 1 + 2 + 2 + 10);
    allocator.DeleteAll();
    EXPECT_EQ(SCounted::destroyed, SCounted::constructed);
    for (const tam::SAllocChunk* chunk = allocator.Chunks(); chunk; chunk = chunk->next)
      EXPECT_EQ(chunk->list.FreeCount(), chunk->capacity);
  }
  EXPECT_EQ(Heap()->usedPages, 0u);

  const int before = SCounted::constructed;
  {
    tam::CAllocator<SCounted> raw("AllocTest", "raw, keeps frames", 0x1000, sizeof(SCounted), false, false);
    tam::CAllocator<SCounted> locked("AllocTest", "locked", 0x1000, sizeof(SCounted), true, true, true);
    tam::CAllocator<SCounted> inDefault(nullptr, "in default", 0x1000);
    EXPECT_STREQ(inDefault.HeapName(), "default");
    for (tam::CAllocator<SCounted>* a : {&raw, &locked, &inDefault}) {
      SCounted* first = a->New(2);
      SCounted* second = a->New(1);
      EXPECT_EQ(second, first + 2) << a->Name();
      EXPECT_TRUE(a->Delete(first)) << a->Name();
      EXPECT_TRUE(a->Delete(second)) << a->Name();
    }
  }
  EXPECT_EQ(SCounted::constructed - before, 6);   // the raw allocator constructs nothing
  EXPECT_EQ(Heap()->usedPages, 1u);               // the raw allocator's, until the heap goes
}

// Null and foreign pointers are refused quietly; an interior, misaligned or
// twice-deleted pointer is an invalid deletion and reported, and so are a
// missing heap and a run too long for a chunk.
TEST_F(AllocatorTest, CriticalErrorsAreReported) {
  tamtest::CReportRecorder recorder(tam::ReportAnswer::Ignore);
  tam::CAllocator<SCounted> allocator("AllocTest", "counted", 0x1000);
  SCounted* none = nullptr;
  EXPECT_FALSE(allocator.Delete(none));
  SCounted local;
  SCounted* foreign = &local;
  EXPECT_FALSE(allocator.Delete(foreign));
  EXPECT_EQ(recorder.Count(), 0u);

  SCounted* run = allocator.New(3);
  SCounted* inside = run + 1;
  EXPECT_FALSE(allocator.Delete(inside));
  EXPECT_EQ(inside, run + 1);
  EXPECT_EQ(recorder.Count(), 1u);
  SCounted* misaligned = reinterpret_cast<SCounted*>(reinterpret_cast<uint8_t*>(run) + 1);
  EXPECT_FALSE(allocator.Delete(misaligned));
  SCounted* copy = run;
  EXPECT_TRUE(allocator.Delete(run));
  EXPECT_FALSE(allocator.Delete(copy));
  EXPECT_EQ(recorder.Count(), 3u);
  EXPECT_EQ(SCounted::destroyed, 3);

  // A missing heap, and a run longer than a chunk can index.
  tam::CAllocator<SCounted> lost("NoSuchHeap", "lost", 0x1000);
  EXPECT_EQ(lost.New(), nullptr);
  tam::CAllocator<uint8_t> bytes("AllocTest", "bytes", 0x1000, 1, true, false);
  EXPECT_EQ(bytes.New(70000), nullptr);
  EXPECT_NE(bytes.New(100), nullptr);  // the allocator goes on
  EXPECT_MATCHES_EXPECTED("unit/foundation/expected/allocator_reports.expected", recorder.Printed());
}

}  // namespace
