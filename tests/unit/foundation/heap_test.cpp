// heap_test.cpp: named heaps, pages and frames of a memory manager, and the
// reports of its impossible states.
#include <gtest/gtest.h>

#include <string>

#include "expected_text.h"
#include "foundation/heap.h"
#include "foundation/heap_block.h"
#include "foundation/mem_mgr.h"
#include "tests/unit/foundation/report_recorder.h"

namespace {

using tam::kPageSize;
using tam::SFrame;
using Heap = tam::CMemMgr::_heap;

// Names are required, unique and cut to 127 characters; sizes are rounded up
// to whole pages; heaps past the first block of records are found, and a
// destroyed heap's name and record are free again.
TEST(MemMgr, HeapsHaveUniqueNamesAndWholePages) {
  tam::CMemMgr mgr;
  EXPECT_FALSE(mgr.CreateHeap(nullptr, 100));
  ASSERT_TRUE(mgr.CreateHeap("H", 3 * kPageSize));
  EXPECT_FALSE(mgr.CreateHeap("H", 10 * kPageSize));
  const std::string name(200, 'n');
  ASSERT_TRUE(mgr.CreateHeap(name.c_str(), 0));
  EXPECT_EQ(mgr.FindHeap(name.substr(0, 127).c_str()), mgr.FindHeap(name.c_str()));
  EXPECT_EQ(mgr.FindHeap(name.substr(0, 126).c_str()), nullptr);
  EXPECT_EQ(mgr.FindHeap(name.c_str())->size, kPageSize);
  ASSERT_TRUE(mgr.CreateHeap("two", kPageSize + 1));
  EXPECT_EQ(mgr.FindHeap("two")->pageCount, 2u);

  for (int i = 0; i < 70; ++i) ASSERT_TRUE(mgr.CreateHeap(("heap" + std::to_string(i)).c_str(), 1));
  EXPECT_NE(mgr.FindHeap("heap69"), nullptr);
  ASSERT_NE(mgr.CreateFrame("heap5", 100), nullptr);  // destroyed with the heap
  EXPECT_TRUE(mgr.DestroyHeap("heap5"));
  EXPECT_FALSE(mgr.DestroyHeap("heap5"));
  EXPECT_EQ(mgr.CreateFrame("heap5", 100), nullptr);
  EXPECT_TRUE(mgr.CreateHeap("heap5", 1));
  EXPECT_EQ(mgr.FindHeap("heap5")->usedPages, 0u);
}

// Frames take the first run of free pages. A frame that finds none, the heap
// fragmented or too small, takes memory of its own from the system; released,
// that memory is kept by the heap and serves the next own-memory frame of the
// same page count, while other sizes get new memory.
TEST(MemMgr, FramesTakePagesFirstFitThenSystemMemory) {
  tam::CMemMgr mgr;
  ASSERT_TRUE(mgr.CreateHeap("H", 4 * kPageSize));
  Heap* heap = mgr.FindHeap("H");
  SFrame* pages[4];
  for (auto& page : pages) page = mgr.CreateFrame("H", kPageSize);
  EXPECT_EQ(mgr.FrameBase(pages[3]), heap->memory + 3 * kPageSize);
  EXPECT_TRUE(mgr.ReleaseFrame(pages[1]));
  EXPECT_TRUE(mgr.ReleaseFrame(pages[3]));
  EXPECT_EQ(heap->usedPages, 2u);

  SFrame* big = mgr.CreateFrame("H", 2 * kPageSize);
  ASSERT_NE(big, nullptr);
  EXPECT_TRUE(big->ownMemory);
  void* base = mgr.FrameBase(big);
  EXPECT_TRUE(base < heap->memory || base >= heap->memory + heap->size);
  static_cast<char*>(base)[2 * kPageSize - 1] = 1;  // the whole frame is usable
  EXPECT_TRUE(mgr.ReleaseFrame(big));
  EXPECT_EQ(heap->spareBytes, 2 * kPageSize);
  SFrame* other = mgr.CreateFrame("H", 0x100000);   // another size: fresh memory
  ASSERT_NE(other, nullptr);
  EXPECT_NE(mgr.FrameBase(other), base);
  SFrame* again = mgr.CreateFrame("H", 2 * kPageSize);
  EXPECT_EQ(mgr.FrameBase(again), base);
  EXPECT_EQ(heap->spareBytes, 0u);

  SFrame* first = mgr.CreateFrame("H", 1);  // the first free page again
  EXPECT_EQ(mgr.FrameBase(first), heap->memory + kPageSize);
  for (SFrame* frame : {again, other, first, pages[0], pages[2]}) EXPECT_TRUE(mgr.ReleaseFrame(frame));
  EXPECT_EQ(heap->usedPages, 0u);
  EXPECT_EQ(heap->frames, nullptr);
  EXPECT_TRUE(mgr.DestroyHeap("H"));   // frees the kept memory
}

// A missing heap gives no frame and a frame of another heap is refused, both
// without a report; a frame destroyed twice, and a full block of heap records
// asked for one more (the manager never does), are reported.
TEST(MemMgr, WrongHeapsAndImpossibleStates) {
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
  EXPECT_EQ(recorder.Count(), 0u);
  EXPECT_FALSE(heap->DestroyFrame(frame));
  delete frame;

  tam::CMemMgr::CHeapBlock block(nullptr);
  for (uint32_t i = 0; i < tam::CMemMgr::CHeapBlock::kHeapCount; ++i)
    ASSERT_NE(block.CreateHeap(("h" + std::to_string(i)).c_str(), 1), nullptr);
  EXPECT_TRUE(block.IsFull());
  EXPECT_EQ(block.CreateHeap("extra", 1), nullptr);
  block.DestroyHeap(block.Find("h7"));
  EXPECT_FALSE(block.IsFull());

  EXPECT_MATCHES_EXPECTED("unit/foundation/expected/heap_reports.expected", recorder.Printed());
}

}  // namespace
