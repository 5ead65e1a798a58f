// allocator_test.cpp: runs of elements, construction, growth and the
// critical errors of the fixed-size allocators.
#include <gtest/gtest.h>

#include <cstdint>

#include "foundation/allocator.h"
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
// takes one element. Raw (unconstructed) and locked allocators hand out runs
// alike; no heap name means "default".
TEST_F(AllocatorTest, RunsAreConstructedFirstFitAndReused) {
  tam::CAllocator<SCounted> allocator("AllocTest", "counted", 0x1000);
  SCounted* run = allocator.New(3);
  ASSERT_NE(run, nullptr);
  EXPECT_EQ(SCounted::constructed, 3);
  EXPECT_EQ(run[2].value, 7);
  EXPECT_EQ(allocator.New(), run + 3);
  EXPECT_EQ(allocator.New(0), run + 4);
  EXPECT_TRUE(allocator.Delete(run));
  EXPECT_EQ(run, nullptr);
  EXPECT_EQ(SCounted::destroyed, 3);
  EXPECT_EQ(reinterpret_cast<uint8_t*>(allocator.New(2)), allocator.Chunks()->base);

  const int before = SCounted::constructed;
  tam::CAllocator<SCounted> raw("AllocTest", "raw", 0x1000, sizeof(SCounted), true, false);
  tam::CAllocator<SCounted> locked("AllocTest", "locked", 0x1000, sizeof(SCounted), true, true, true);
  for (tam::CAllocator<SCounted>* a : {&raw, &locked}) {
    SCounted* first = a->New(2);
    SCounted* second = a->New(1);
    EXPECT_EQ(second, first + 2) << a->Name();
    EXPECT_TRUE(a->Delete(first)) << a->Name();
    EXPECT_TRUE(a->Delete(second)) << a->Name();
  }
  EXPECT_EQ(SCounted::constructed - before, 3);   // the raw allocator constructs nothing

  tam::CAllocator<SCounted> inDefault(nullptr, "in default", 0x1000);
  EXPECT_STREQ(inDefault.HeapName(), "default");
  EXPECT_NE(inDefault.New(), nullptr);
  inDefault.DeleteAll();
}

// A full chunk chains a new one in front; a run larger than a frame gets a
// frame of its own size; DeleteAll destroys every element.
TEST_F(AllocatorTest, GrowthChainsNewChunksAndDeleteAllFreesThem) {
  tam::CAllocator<SCounted> allocator("AllocTest", "small", 4 * sizeof(SCounted));
  for (int i = 0; i < 4; ++i) ASSERT_NE(allocator.New(), nullptr);
  EXPECT_EQ(ChunkCount(allocator), 1);
  SCounted* fifth = allocator.New();
  ASSERT_EQ(ChunkCount(allocator), 2);
  EXPECT_EQ(reinterpret_cast<uint8_t*>(fifth), allocator.Chunks()->base);
  ASSERT_NE(allocator.New(10), nullptr);
  EXPECT_EQ(ChunkCount(allocator), 3);
  EXPECT_EQ(allocator.Chunks()->capacity, 10u);

  allocator.DeleteAll();
  EXPECT_EQ(SCounted::destroyed, 15);
  for (const tam::SAllocChunk* chunk = allocator.Chunks(); chunk; chunk = chunk->next)
    EXPECT_EQ(chunk->list.FreeCount(), chunk->capacity);
}

// The frames go back to the heap with the allocator, unless it keeps them.
TEST_F(AllocatorTest, DestructionHandsFramesBackWhenAsked) {
  { tam::CAllocator<SCounted> allocator("AllocTest", "returns", 2 * tam::kPageSize); }
  EXPECT_EQ(Heap()->usedPages, 0u);
  { tam::CAllocator<SCounted> allocator("AllocTest", "keeps", 2 * tam::kPageSize, sizeof(SCounted), false); }
  EXPECT_EQ(Heap()->usedPages, 2u);  // until the heap goes
}

// ---------------------------------------------------------------------------
// Critical errors
// ---------------------------------------------------------------------------

// Null and foreign pointers are refused quietly; an interior, misaligned or
// twice-deleted pointer is an invalid deletion and reported.
TEST_F(AllocatorTest, InvalidDeletionsAreRefused) {
  tamtest::CReportRecorder recorder(tam::ReportAnswer::Ignore);
  tam::CAllocator<SCounted> allocator("AllocTest", "counted", 0x1000);
  SCounted* none = nullptr;
  EXPECT_FALSE(allocator.Delete(none));
  SCounted local;
  SCounted* foreign = &local;
  EXPECT_FALSE(allocator.Delete(foreign));
  EXPECT_TRUE(recorder.Reports().empty());

  SCounted* run = allocator.New(3);
  SCounted* inside = run + 1;
  EXPECT_FALSE(allocator.Delete(inside));
  EXPECT_EQ(inside, run + 1);
  ASSERT_EQ(recorder.Reports().size(), 1u);
  EXPECT_EQ(recorder.Reports()[0].message,
            tamtest::ReportMessage("tamAllocator", 365,
                                   "(\"CAllocator<_D>::Delete() : invalid deletion\", "
                                   "pList->pAlloc[dwIndex] != TAM_NULL)",
                                   false));
  SCounted* misaligned = reinterpret_cast<SCounted*>(reinterpret_cast<uint8_t*>(run) + 1);
  EXPECT_FALSE(allocator.Delete(misaligned));
  SCounted* copy = run;
  EXPECT_TRUE(allocator.Delete(run));
  EXPECT_FALSE(allocator.Delete(copy));
  EXPECT_EQ(recorder.Reports().size(), 3u);
  EXPECT_EQ(SCounted::destroyed, 3);
}

TEST_F(AllocatorTest, MissingHeapAndOverlongRunsAreReported) {
  tamtest::CReportRecorder recorder(tam::ReportAnswer::Ignore);
  tam::CAllocator<SCounted> allocator("NoSuchHeap", "lost", 0x1000);
  EXPECT_EQ(allocator.New(), nullptr);
  // A run longer than a chunk can index.
  tam::CAllocator<uint8_t> bytes("AllocTest", "bytes", 0x1000, 1, true, false);
  EXPECT_EQ(bytes.New(70000), nullptr);
  EXPECT_NE(bytes.New(100), nullptr);  // the allocator goes on
  const char* const expected[][2] = {
      {"CAllocator::CAllocator()",
       "critical error occured. there are some errorneous situations.\n\n"
       "\t1) there is no heap with given name\n"
       "\t2) allocator with the same name already exists\n"
       "\t3) frame (or page) size is too large"},
      {"CStringAlloc::Alloc()", "out of memory"},
      {"CAllocator<_D>::New()", "critical error occured"},
  };
  const int lines[] = {146, 284, 326};
  ASSERT_EQ(recorder.Reports().size(), 3u);
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(recorder.Reports()[i].caption, expected[i][0]);
    EXPECT_EQ(recorder.Reports()[i].message,
              tamtest::ReportMessage("tamAllocator", lines[i], expected[i][1], true));
  }
}

}  // namespace
