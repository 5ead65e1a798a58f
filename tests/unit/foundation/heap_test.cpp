// heap_test.cpp: named heaps, pages and frames of a memory manager, and a
// block of heap records on its own.
#include <gtest/gtest.h>

#include <string>

#include "foundation/heap.h"
#include "foundation/heap_block.h"
#include "foundation/mem_mgr.h"
#include "tests/unit/foundation/report_recorder.h"

namespace {

using tam::kPageSize;
using tam::SFrame;
using Heap = tam::CMemMgr::_heap;

// ---------------------------------------------------------------------------
// Heaps
// ---------------------------------------------------------------------------

// Names are required, unique and cut to 127 characters; sizes are rounded up
// to whole pages; a destroyed heap's name and record are free again, in the
// first block of heap records and in later ones.
TEST(MemMgrHeaps, NamesSizesAndDestruction) {
  tam::CMemMgr mgr;
  EXPECT_FALSE(mgr.CreateHeap(nullptr, 100));
  ASSERT_TRUE(mgr.CreateHeap("H", 3 * kPageSize));
  EXPECT_FALSE(mgr.CreateHeap("H", 10 * kPageSize));
  const std::string name(200, 'n');
  ASSERT_TRUE(mgr.CreateHeap(name.c_str(), 100));
  EXPECT_EQ(mgr.FindHeap(name.substr(0, 127).c_str()), mgr.FindHeap(name.c_str()));
  EXPECT_EQ(mgr.FindHeap(name.substr(0, 126).c_str()), nullptr);

  const struct {
    const char* name;
    uint32_t size, pages;
  } sizes[] = {{"one", 1, 1}, {"two", kPageSize + 1, 2}, {"zero", 0, 1}};
  for (const auto& s : sizes) {
    ASSERT_TRUE(mgr.CreateHeap(s.name, s.size));
    EXPECT_EQ(mgr.FindHeap(s.name)->pageCount, s.pages) << s.name;
    EXPECT_EQ(mgr.FindHeap(s.name)->size, s.pages * kPageSize) << s.name;
  }

  ASSERT_NE(mgr.CreateFrame("H", 100), nullptr);  // destroyed with the heap
  EXPECT_TRUE(mgr.DestroyHeap("H"));
  EXPECT_EQ(mgr.CreateFrame("H", 100), nullptr);
  EXPECT_FALSE(mgr.DestroyHeap("H"));
  EXPECT_TRUE(mgr.CreateHeap("H", 2 * kPageSize));
  EXPECT_EQ(mgr.FindHeap("H")->usedPages, 0u);
  for (int i = 0; i < 70; ++i) ASSERT_TRUE(mgr.CreateHeap(("heap" + std::to_string(i)).c_str(), 1));
  EXPECT_NE(mgr.FindHeap("heap69"), nullptr);
  EXPECT_TRUE(mgr.DestroyHeap("heap5"));
  EXPECT_TRUE(mgr.CreateHeap("again", 1));
  EXPECT_NE(mgr.FindHeap("again"), nullptr);
}

// A block of 32 records fills; the memory manager never asks a full block,
// and a block asked anyway raises the report of an impossible state.
TEST(HeapBlock, ThirtyTwoHeapsFillTheBlockAndOneMoreIsReported) {
  using Block = tam::CMemMgr::CHeapBlock;
  tamtest::CReportRecorder recorder(tam::ReportAnswer::Ignore);
  Block block(nullptr);
  for (uint32_t i = 0; i < Block::kHeapCount; ++i)
    ASSERT_NE(block.CreateHeap(("h" + std::to_string(i)).c_str(), 1), nullptr);
  EXPECT_TRUE(block.IsFull());
  EXPECT_EQ(block.CreateHeap("extra", 1), nullptr);
  ASSERT_EQ(recorder.Reports().size(), 1u);
  EXPECT_EQ(recorder.Reports()[0].caption, "tam::CMemMgr::CHeapBlock::CreateHeap()");
  EXPECT_EQ(recorder.Reports()[0].message,
            tamtest::ReportMessage("tamMemoryBlock", 89, "Unreachable code reached", true));
  block.DestroyHeap(block.Find("h7"));
  EXPECT_FALSE(block.IsFull());
  EXPECT_EQ(block.Find("h7"), nullptr);
}

// ---------------------------------------------------------------------------
// Frames
// ---------------------------------------------------------------------------

TEST(MemMgrFrames, FramesTakePagesFirstFit) {
  tam::CMemMgr mgr;
  ASSERT_TRUE(mgr.CreateHeap("H", 8 * kPageSize));
  Heap* heap = mgr.FindHeap("H");
  SFrame* a = mgr.CreateFrame("H", 20000);
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->pageCount, 2u);
  EXPECT_EQ(mgr.FrameBase(a), heap->memory);
  SFrame* b = mgr.CreateFrame("H", kPageSize);
  EXPECT_EQ(mgr.FrameBase(b), heap->memory + 2 * kPageSize);
  EXPECT_EQ(heap->usedPages, 3u);

  EXPECT_TRUE(mgr.ReleaseFrame(a));
  EXPECT_EQ(heap->usedPages, 1u);
  SFrame* c = mgr.CreateFrame("H", 1);  // the first free page again
  EXPECT_EQ(mgr.FrameBase(c), heap->memory);
  EXPECT_TRUE(mgr.ReleaseFrame(b));
  EXPECT_TRUE(mgr.ReleaseFrame(c));
  EXPECT_EQ(heap->usedPages, 0u);
  EXPECT_EQ(heap->frames, nullptr);
}

// A frame that finds no run of free pages, the heap fragmented or too small,
// takes memory of its own from the system. Released, that memory is kept by
// the heap and serves the next own-memory frame of the same page count;
// other sizes get new memory.
TEST(MemMgrFrames, FramesWithoutRoomInTheHeapTakeSystemMemory) {
  tam::CMemMgr mgr;
  ASSERT_TRUE(mgr.CreateHeap("H", 4 * kPageSize));
  Heap* heap = mgr.FindHeap("H");
  SFrame* pages[4];
  for (auto& page : pages) page = mgr.CreateFrame("H", kPageSize);
  mgr.ReleaseFrame(pages[1]);
  mgr.ReleaseFrame(pages[3]);

  SFrame* big = mgr.CreateFrame("H", 20000);
  ASSERT_NE(big, nullptr);
  EXPECT_TRUE(big->ownMemory);
  EXPECT_EQ(heap->usedPages, 2u);
  void* base = mgr.FrameBase(big);
  EXPECT_TRUE(base < heap->memory || base >= heap->memory + heap->size);
  static_cast<char*>(base)[2 * kPageSize - 1] = 1;  // the whole frame is usable
  EXPECT_TRUE(mgr.ReleaseFrame(big));
  EXPECT_EQ(heap->spareBytes, 2 * kPageSize);

  SFrame* other = mgr.CreateFrame("H", 0x100000);   // another size: fresh memory
  ASSERT_NE(other, nullptr);
  EXPECT_NE(mgr.FrameBase(other), base);
  SFrame* again = mgr.CreateFrame("H", 20000);
  EXPECT_EQ(mgr.FrameBase(again), base);
  EXPECT_EQ(heap->spareBytes, 0u);
  EXPECT_TRUE(mgr.ReleaseFrame(again));
  EXPECT_TRUE(mgr.ReleaseFrame(other));
  EXPECT_EQ(heap->spareBytes, 2 * kPageSize + 0x100000u);
  EXPECT_TRUE(mgr.DestroyHeap("H"));   // frees the kept memory
}

// A missing heap gives no frame and a frame of another heap is refused, both
// without a report; a frame destroyed twice is reported.
TEST(MemMgrFrames, WrongHeapsAndDoubleDestructionAreRefused) {
  tamtest::CReportRecorder recorder(tam::ReportAnswer::Ignore);
  tam::CMemMgr mgr;
  EXPECT_EQ(mgr.CreateFrame("none", 10), nullptr);
  EXPECT_EQ(mgr.CreateFrame(nullptr, 10), nullptr);
  ASSERT_TRUE(mgr.CreateHeap("A", kPageSize));
  ASSERT_TRUE(mgr.CreateHeap("B", kPageSize));
  Heap* heap = mgr.FindHeap("A");
  SFrame* frame = mgr.CreateFrame("A", 10);
  EXPECT_FALSE(mgr.FindHeap("B")->DestroyFrame(frame));
  ASSERT_TRUE(heap->DestroyFrame(frame));
  EXPECT_EQ(mgr.FrameBase(frame), nullptr);
  EXPECT_TRUE(recorder.Reports().empty());

  EXPECT_FALSE(heap->DestroyFrame(frame));
  ASSERT_EQ(recorder.Reports().size(), 1u);
  EXPECT_EQ(recorder.Reports()[0].caption, "CMemMgr::_heap::DestroyFrame()");
  EXPECT_EQ(recorder.Reports()[0].message,
            tamtest::ReportMessage("tamMemoryHeap", 371, "unreachable code reached", true));
  delete frame;
}

}  // namespace
