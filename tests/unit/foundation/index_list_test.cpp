// index_list_test.cpp: first-fit runs and merging release of the index list.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "foundation/index_list.h"

namespace {

using Runs = std::vector<std::pair<int, int>>;  // (first index, length)

// The free runs in list order; checks the back links on the way.
Runs FreeRuns(const tam::CIndexList& list) {
  Runs runs;
  uint16_t prev = tam::kNoIndex;
  for (uint16_t i = list.Head(); i != tam::kNoIndex; i = list.Entry(i).next) {
    EXPECT_EQ(list.Entry(i).prev, prev) << "back link of run " << i;
    runs.emplace_back(i, list.Entry(i).length);
    prev = i;
  }
  return runs;
}

// A fresh list is one free run; capacities stay below kNoIndex. An exact
// fit empties the free list, and a run given back whole fills it again.
// (How releases merge: ScrambledReleasesKeepTheFreeListExact.)
TEST(IndexList, CapacityAndExactFit) {
  tam::CIndexList list;
  EXPECT_FALSE(list.Create(0));
  EXPECT_FALSE(list.Create(65535));
  ASSERT_TRUE(list.Create(65534));
  ASSERT_TRUE(list.Create(10));
  EXPECT_EQ(FreeRuns(list), (Runs{{0, 10}}));
  tam::SIndexEntry* all = list.Alloc(10);
  ASSERT_NE(all, nullptr);
  EXPECT_EQ(list.Head(), tam::kNoIndex);
  EXPECT_EQ(list.Alloc(1), nullptr);
  list.Free(all);
  EXPECT_EQ(FreeRuns(list), (Runs{{0, 10}}));
  EXPECT_EQ(list.Alloc(11), nullptr);
}

// Many runs released in a scrambled order over a list wider than one word
// group of the free-run bitmap: along the way and at the end the free list
// must be exactly the maximal free stretches, in index order.
TEST(IndexList, ScrambledReleasesKeepTheFreeListExact) {
  constexpr uint32_t kCapacity = 9000;
  tam::CIndexList list;
  ASSERT_TRUE(list.Create(kCapacity));
  std::vector<bool> used(kCapacity, false);
  const auto expected = [&used] {
    Runs runs;
    for (uint32_t i = 0; i < used.size();) {
      if (used[i]) {
        ++i;
        continue;
      }
      const uint32_t start = i;
      while (i < used.size() && !used[i]) ++i;
      runs.emplace_back(start, i - start);
    }
    return runs;
  };

  std::vector<tam::SIndexEntry*> taken;
  uint32_t seed = 12345;
  const auto next = [&seed] { return (seed = seed * 1103515245u + 12345u) >> 16; };
  while (tam::SIndexEntry* run = list.Alloc(1 + next() % 5)) {
    for (uint32_t i = 0; i < run->length; ++i) used[list.IndexOf(run) + i] = true;
    taken.push_back(run);
  }
  for (size_t i = taken.size(); i > 1; --i) std::swap(taken[i - 1], taken[next() % i]);

  for (size_t k = 0; k < taken.size(); ++k) {
    const uint32_t first = list.IndexOf(taken[k]);
    for (uint32_t i = 0; i < taken[k]->length; ++i) used[first + i] = false;
    list.Free(taken[k]);
    if (k % 97 == 0 || k + 1 == taken.size()) {
      ASSERT_EQ(FreeRuns(list), expected()) << "after release " << k;
    }
    // Refill now and then so that releases meet fresh splits too.
    if (k % 50 == 49) {
      tam::SIndexEntry* again = list.Alloc(2);
      ASSERT_NE(again, nullptr);
      for (uint32_t i = 0; i < 2; ++i) used[list.IndexOf(again) + i] = true;
      taken.push_back(again);
    }
  }
  EXPECT_EQ(FreeRuns(list), (Runs{{0, static_cast<int>(kCapacity)}}));
}

}  // namespace
