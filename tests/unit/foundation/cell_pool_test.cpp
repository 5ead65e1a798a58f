// cell_pool_test.cpp: cells and small blocks of the cell pool, alone and by
// the pool block.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <set>
#include <vector>

#include "foundation/cell_pool.h"

namespace {

// Every other one a cell, the others small blocks of every size.
struct SBlock {
  void* at;
  size_t bytes;
  bool cell;
};
SBlock Take(uint32_t i) {
  if (i % 2) return {tam::AllocCell(), tam::kCellSize, true};
  const size_t bytes = 1 + i / 2 % tam::kSmallBlockMax;
  return {tam::AllocSmallBlock(bytes), bytes, false};
}
void Give(const SBlock& block) {
  if (block.cell) tam::FreeCell(block.at);
  else tam::FreeSmallBlock(block.at, block.bytes);
}

// Fills a block with a byte of its index, and checks it.
void Mark(const SBlock& block, uint32_t index) { std::memset(block.at, int(index & 0xFF), block.bytes); }
bool HasMark(const SBlock& block, uint32_t index) {
  const auto* bytes = static_cast<const unsigned char*>(block.at);
  return std::all_of(bytes, bytes + block.bytes, [index](unsigned char b) { return b == (index & 0xFF); });
}

// Cells and small blocks are distinct, aligned and keep their bytes across
// the pool's blocks; every other one given back and taken again leaves the
// others untouched; after the last went back, new ones are usable again.
TEST(CellPool, CellsAndSmallBlocksAreDistinctAlignedAndKeepTheirBytes) {
  constexpr uint32_t kCount = 20000;   // several blocks of the pool
  std::vector<SBlock> blocks;
  for (uint32_t i = 0; i < kCount; ++i) {
    blocks.push_back(Take(i));
    ASSERT_EQ(reinterpret_cast<uintptr_t>(blocks[i].at) % tam::kCellSize, 0u) << "block " << i;
    Mark(blocks[i], i);
  }
  for (int pass = 0; pass < 2; ++pass) {
    std::set<void*> distinct;
    for (uint32_t i = 0; i < kCount; ++i) {
      ASSERT_TRUE(HasMark(blocks[i], i)) << "pass " << pass << ", block " << i;
      distinct.insert(blocks[i].at);
    }
    EXPECT_EQ(distinct.size(), kCount);
    for (uint32_t i = 0; i < kCount; i += 3) Give(blocks[i]);
    for (uint32_t i = 0; i < kCount; i += 3) Mark(blocks[i] = Take(i), i);
  }
  for (const SBlock& block : blocks) Give(block);
  Give({nullptr, tam::kCellSize, true});
  Give({nullptr, 8, false});

  const SBlock again = Take(1);
  Mark(again, 7);
  EXPECT_TRUE(HasMark(again, 7));
  Give(again);
}

}  // namespace
