// allocator_test.cpp: runs of elements, construction, growth and the
// critical errors of the fixed-size allocators.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <functional>

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

// A node followed by child slots in the same element.
struct SNode {
  SNode* parent = nullptr;
  int symbol = 0;
  SNode** Children() { return reinterpret_cast<SNode**>(this + 1); }
};

constexpr char kAllocatorError[] =
    "critical error occured. there are some errorneous situations.\n\n"
    "\t1) there is no heap with given name\n"
    "\t2) allocator with the same name already exists\n"
    "\t3) frame (or page) size is too large";

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

// ---------------------------------------------------------------------------
// Runs, elements and growth
// ---------------------------------------------------------------------------

TEST_F(AllocatorTest, RunsAreConstructedFirstFitInOneFrame) {
  tam::CAllocator<SCounted> allocator("AllocTest", "counted", 0x1000);
  EXPECT_STREQ(allocator.HeapName(), "AllocTest");
  EXPECT_STREQ(allocator.Name(), "counted");
  ASSERT_EQ(ChunkCount(allocator), 1);
  EXPECT_EQ(allocator.Chunks()->capacity, 0x1000 / sizeof(SCounted));
  EXPECT_EQ(Heap()->usedPages, 1u);
  EXPECT_EQ(SCounted::constructed, 0);

  SCounted* run = allocator.New(3);
  ASSERT_NE(run, nullptr);
  EXPECT_EQ(SCounted::constructed, 3);
  EXPECT_EQ(run[2].value, 7);
  EXPECT_EQ(reinterpret_cast<uint8_t*>(run), allocator.Chunks()->base);
  EXPECT_EQ(allocator.New(), run + 3);
  EXPECT_EQ(allocator.New(0), run + 4);   // a zero count takes one element
  EXPECT_TRUE(allocator.Delete(run));
  EXPECT_EQ(run, nullptr);
  EXPECT_EQ(SCounted::destroyed, 3);
  EXPECT_EQ(reinterpret_cast<uint8_t*>(allocator.New(2)), allocator.Chunks()->base);

  tam::CAllocator<SCounted> inDefault(nullptr, "in default", 0x1000);
  EXPECT_STREQ(inDefault.HeapName(), "default");
  EXPECT_NE(inDefault.New(), nullptr);
  inDefault.DeleteAll();
}

// Without the construct mark elements are raw; a locked allocator runs alike.
TEST_F(AllocatorTest, RawAndLockedAllocatorsHandOutRuns) {
  tam::CAllocator<SCounted> raw("AllocTest", "raw", 0x1000, sizeof(SCounted), true, false);
  SCounted* run = raw.New(4);
  ASSERT_NE(run, nullptr);
  EXPECT_TRUE(raw.Delete(run));
  EXPECT_EQ(SCounted::constructed + SCounted::destroyed, 0);

  tam::CAllocator<SCounted> locked("AllocTest", "locked", 0x1000, sizeof(SCounted), true, true, true);
  SCounted* a = locked.New(2);
  SCounted* b = locked.New(1);
  EXPECT_EQ(b, a + 2);
  EXPECT_TRUE(locked.Delete(a));
  EXPECT_TRUE(locked.Delete(b));
}

TEST_F(AllocatorTest, ElementSizeLargerThanTheTypeHoldsTrailingSlots) {
  const uint32_t elementSize = sizeof(SNode) + 8 * sizeof(SNode*);
  tam::CAllocator<SNode> allocator("AllocTest", "Ortan Parsed", 0x4000, elementSize);
  EXPECT_EQ(allocator.ElementSize(), elementSize);
  EXPECT_EQ(allocator.Chunks()->capacity, 0x4000 / elementSize);
  SNode* a = allocator.New();
  SNode* b = allocator.New();
  ASSERT_TRUE(a && b);
  EXPECT_EQ(reinterpret_cast<uint8_t*>(b) - reinterpret_cast<uint8_t*>(a), elementSize);
  for (int i = 0; i < 8; ++i) a->Children()[i] = b;  // slots do not reach b
  EXPECT_EQ(b->symbol, 0);
}

TEST_F(AllocatorTest, GrowthChainsNewChunksInFrontAndDeleteAllFreesThem) {
  tam::CAllocator<SCounted> allocator("AllocTest", "small", 4 * sizeof(SCounted));
  const tam::SAllocChunk* first = allocator.Chunks();
  for (int i = 0; i < 4; ++i) ASSERT_NE(allocator.New(), nullptr);
  EXPECT_EQ(ChunkCount(allocator), 1);

  SCounted* fifth = allocator.New();
  ASSERT_NE(fifth, nullptr);
  ASSERT_EQ(ChunkCount(allocator), 2);
  EXPECT_EQ(allocator.Chunks()->next, first);
  EXPECT_EQ(reinterpret_cast<uint8_t*>(fifth), allocator.Chunks()->base);

  // A run larger than a frame gets a frame of its own size.
  ASSERT_NE(allocator.New(10), nullptr);
  EXPECT_EQ(ChunkCount(allocator), 3);
  EXPECT_EQ(allocator.Chunks()->capacity, 10u);
  EXPECT_EQ(SCounted::constructed, 15);

  allocator.DeleteAll();
  EXPECT_EQ(SCounted::destroyed, 15);
  for (const tam::SAllocChunk* chunk = allocator.Chunks(); chunk; chunk = chunk->next)
    EXPECT_EQ(chunk->list.Entry(0).length, chunk->capacity);
}

TEST_F(AllocatorTest, DestructionHandsFramesBackWhenAsked) {
  {
    tam::CAllocator<SCounted> allocator("AllocTest", "returns", 2 * tam::kPageSize);
    EXPECT_EQ(Heap()->usedPages, 2u);
  }
  EXPECT_EQ(Heap()->usedPages, 0u);
  EXPECT_EQ(Heap()->frames, nullptr);
  {
    tam::CAllocator<SCounted> allocator("AllocTest", "keeps", 2 * tam::kPageSize, sizeof(SCounted), false);
  }
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
  EXPECT_EQ(foreign, &local);
  EXPECT_TRUE(recorder.Reports().empty());

  SCounted* run = allocator.New(3);
  SCounted* inside = run + 1;
  EXPECT_FALSE(allocator.Delete(inside));
  EXPECT_EQ(inside, run + 1);
  EXPECT_EQ(SCounted::destroyed, 0);
  ASSERT_EQ(recorder.Reports().size(), 1u);
  EXPECT_EQ(recorder.Reports()[0].caption, "tam::_tam_assert failed");
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
  ASSERT_EQ(recorder.Reports().size(), 1u);
  EXPECT_EQ(recorder.Reports()[0].caption, "CAllocator::CAllocator()");
  EXPECT_EQ(recorder.Reports()[0].message, tamtest::ReportMessage("tamAllocator", 146, kAllocatorError, true));
  EXPECT_EQ(allocator.Chunks(), nullptr);
  EXPECT_EQ(allocator.New(), nullptr);
  ASSERT_EQ(recorder.Reports().size(), 2u);
  EXPECT_EQ(recorder.Reports()[1].caption, "CStringAlloc::Alloc()");
  EXPECT_EQ(recorder.Reports()[1].message, tamtest::ReportMessage("tamAllocator", 284, "out of memory", true));

  // A run longer than a chunk can index.
  tam::CAllocator<uint8_t> bytes("AllocTest", "bytes", 0x1000, 1, true, false);
  EXPECT_EQ(bytes.New(70000), nullptr);
  ASSERT_EQ(recorder.Reports().size(), 3u);
  EXPECT_EQ(recorder.Reports()[2].caption, "CAllocator<_D>::New()");
  EXPECT_EQ(recorder.Reports()[2].message,
            tamtest::ReportMessage("tamAllocator", 326, "critical error occured", true));
  EXPECT_NE(bytes.New(100), nullptr);  // the allocator goes on
}

}  // namespace

// The same critical errors answered with retry (without a debugger the break
// returns and the call goes on with its failure value) and with abort (the
// process ends with exit code -1).
TEST_F(AllocatorTest, CriticalErrorsAnsweredWithRetryGoOnWithTheFailure) {
  tamtest::CReportRecorder recorder(tam::ReportAnswer::Retry);
  tam::CAllocator<SCounted> lost("NoSuchHeap", "lost", 0x1000);
  EXPECT_EQ(lost.Chunks(), nullptr);
  EXPECT_EQ(lost.New(), nullptr);
  tam::CAllocator<SCounted> allocator("AllocTest", "counted", 0x1000);
  SCounted* run = allocator.New(2);
  SCounted* inside = run + 1;
  EXPECT_FALSE(allocator.Delete(inside));
  ASSERT_EQ(recorder.Reports().size(), 3u);
  EXPECT_EQ(recorder.Reports()[0].caption, "CAllocator::CAllocator()");
  EXPECT_EQ(recorder.Reports()[1].caption, "CStringAlloc::Alloc()");
  EXPECT_EQ(recorder.Reports()[2].caption, "tam::_tam_assert failed");
  EXPECT_TRUE(allocator.Delete(run));
}

TEST_F(AllocatorTest, CriticalErrorsAnsweredWithAbortEndTheProcess) {
  const std::function<void()> failures[] = {
      [] {
        tam::CAllocator<SCounted> allocator("AllocTest", "counted", 0x1000);
        SCounted* inside = allocator.New(2) + 1;
        allocator.Delete(inside);
      },
      [] { tam::CAllocator<SCounted> lost("NoSuchHeap", "lost", 0x1000); },
  };
  for (const auto& fail : failures) {
    EXPECT_EXIT(
        {
          tamtest::CReportRecorder recorder(tam::ReportAnswer::Abort);
          fail();
          std::exit(0);
        },
        ::testing::ExitedWithCode(255), "");
  }
}
