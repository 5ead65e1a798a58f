// cell_pool_test.cpp: cells of the cell pool, alone, by the block and from
// several threads.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <set>
#include <thread>
#include <utility>
#include <vector>

#include "foundation/cell_pool.h"

namespace {

// Fills a cell with a pattern of its own index.
void Mark(void* cell, uint32_t index) {
  uint32_t words[tam::kCellSize / 4];
  for (uint32_t& w : words) w = index;
  std::memcpy(cell, words, sizeof words);
}

bool HasMark(const void* cell, uint32_t index) {
  uint32_t words[tam::kCellSize / 4];
  std::memcpy(words, cell, sizeof words);
  for (uint32_t w : words)
    if (w != index) return false;
  return true;
}

TEST(CellPool, CellsAreDistinctAlignedAndKeepTheirBytesAcrossBlocks) {
  constexpr uint32_t kCount = 20000;   // several blocks
  std::vector<void*> cells;
  for (uint32_t i = 0; i < kCount; ++i) {
    void* cell = tam::AllocCell();
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(cell) % tam::kCellSize, 0u) << "cell " << i;
    Mark(cell, i);
    cells.push_back(cell);
  }
  EXPECT_EQ(std::set<void*>(cells.begin(), cells.end()).size(), kCount);
  for (uint32_t i = 0; i < kCount; ++i) EXPECT_TRUE(HasMark(cells[i], i)) << "cell " << i;

  // Every other cell given back and taken again: the others stay untouched.
  for (uint32_t i = 0; i < kCount; i += 2) tam::FreeCell(cells[i]);
  for (uint32_t i = 0; i < kCount; i += 2) Mark(cells[i] = tam::AllocCell(), i);
  for (uint32_t i = 0; i < kCount; ++i) EXPECT_TRUE(HasMark(cells[i], i)) << "cell " << i;
  EXPECT_EQ(std::set<void*>(cells.begin(), cells.end()).size(), kCount);

  for (void* cell : cells) tam::FreeCell(cell);
  tam::FreeCell(nullptr);

  // After the last cell went back, new cells are usable again.
  void* again = tam::AllocCell();
  Mark(again, 7);
  EXPECT_TRUE(HasMark(again, 7));
  tam::FreeCell(again);
}

TEST(CellPool, ThreadsTakeAndGiveCellsAtOnce) {
  constexpr int kThreads = 4, kRounds = 200, kBatch = 300;
  std::vector<std::thread> threads;
  std::vector<int> faults(kThreads, 0);
  for (int t = 0; t < kThreads; ++t)
    threads.emplace_back([t, &faults] {
      std::vector<void*> cells(kBatch);
      for (int round = 0; round < kRounds; ++round) {
        for (int i = 0; i < kBatch; ++i) Mark(cells[i] = tam::AllocCell(), uint32_t(t * kBatch + i));
        for (int i = 0; i < kBatch; ++i)
          if (!HasMark(cells[i], uint32_t(t * kBatch + i))) ++faults[t];
        for (void* cell : cells) tam::FreeCell(cell);
      }
    });
  for (std::thread& th : threads) th.join();
  for (int t = 0; t < kThreads; ++t) EXPECT_EQ(faults[t], 0) << "thread " << t;
}

TEST(CellPool, SmallBlocksOfEverySizeAreDistinctAlignedAndKeepTheirBytes) {
  std::vector<std::pair<void*, size_t>> blocks;
  for (uint32_t i = 0; i < 4000; ++i) {
    const size_t bytes = 1 + i % tam::kSmallBlockMax;
    void* block = tam::AllocSmallBlock(bytes);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(block) % tam::kCellSize, 0u);
    std::memset(block, int(i & 0xFF), bytes);
    blocks.emplace_back(block, bytes);
  }
  std::set<void*> distinct;
  for (uint32_t i = 0; i < blocks.size(); ++i) {
    const auto* bytes = static_cast<const unsigned char*>(blocks[i].first);
    for (size_t b = 0; b < blocks[i].second; ++b) ASSERT_EQ(bytes[b], i & 0xFF) << "block " << i;
    distinct.insert(blocks[i].first);
  }
  EXPECT_EQ(distinct.size(), blocks.size());
  for (auto& [block, bytes] : blocks) tam::FreeSmallBlock(block, bytes);
  tam::FreeSmallBlock(nullptr, 16);
}

}  // namespace
