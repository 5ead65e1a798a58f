// heap_block_test.cpp: a block of heap records on its own: filling it, and the
// critical report when it is asked for a heap with no free record.
#include <gtest/gtest.h>

#include <string>

#include "foundation/heap.h"
#include "foundation/heap_block.h"
#include "tests/unit/foundation/report_recorder.h"

namespace {

using Block = tam::CMemMgr::CHeapBlock;

// Fills every record of the block with a one-page heap named "hN".
void Fill(Block& block) {
  for (uint32_t i = 0; i < Block::kHeapCount; ++i)
    ASSERT_NE(block.CreateHeap(("h" + std::to_string(i)).c_str(), 1), nullptr);
}

TEST(HeapBlock, ThirtyTwoHeapsFillTheBlock) {
  Block block(nullptr);
  Fill(block);
  EXPECT_TRUE(block.IsFull());
  EXPECT_NE(block.Find("h0"), nullptr);
  EXPECT_NE(block.Find("h31"), nullptr);
  block.DestroyHeap(block.Find("h7"));
  EXPECT_FALSE(block.IsFull());
  EXPECT_EQ(block.Find("h7"), nullptr);
}

// The memory manager never asks a full block; a block asked anyway has no free
// record and raises the report that stands for an impossible state.
TEST(HeapBlock, FullBlockAskedForAHeapIsReported) {
  tamtest::CReportRecorder recorder(tam::ReportAnswer::Ignore);
  Block block(nullptr);
  Fill(block);
  EXPECT_EQ(block.CreateHeap("extra", 1), nullptr);
  ASSERT_EQ(recorder.Reports().size(), 1u);
  EXPECT_EQ(recorder.Reports()[0].caption, "tam::CMemMgr::CHeapBlock::CreateHeap()");
  EXPECT_EQ(recorder.Reports()[0].text, "Unreachable code reached");
  EXPECT_EQ(recorder.Reports()[0].message,
            tamtest::ReportMessage("tamMemoryBlock", 89, "Unreachable code reached", true));
  EXPECT_EQ(block.Find("extra"), nullptr);
}

}  // namespace
