// foundation_bench.cpp: the foundation allocators against malloc and new on
// the compiler's own allocation pattern: many parse-node-sized elements taken
// one at a time during a parse and freed together at its end, evaluation
// records taken and returned one by one, and short-lived token strings.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "foundation/allocator.h"
#include "foundation/mem_mgr.h"
#include "foundation/string.h"

namespace {

// A parse node with its eight child slots, as the parser lays them out.
struct SNodeLike {
  uint32_t symbol;
  uint8_t terminal;
  void* value;
  void* children[8];
  char pad[136 - 96];
};
constexpr uint32_t kFrameBytes = 0x100000;
const char* const kHeap = "Bench";

void EnsureHeap() {
  static const bool created = tam::MemMgr().CreateHeap(kHeap, 0x80000);
  (void)created;
}

// ---- Nodes: taken one by one, freed together --------------------------------------------

void BM_NodesAllocatorFreedTogether(benchmark::State& state) {
  EnsureHeap();
  const auto count = static_cast<uint32_t>(state.range(0));
  for (auto _ : state) {
    tam::CAllocator<SNodeLike> nodes(kHeap, "Bench Nodes", kFrameBytes, sizeof(SNodeLike), true, false);
    for (uint32_t i = 0; i < count; ++i) {
      SNodeLike* node = nodes.New(1);
      node->symbol = i;
      benchmark::DoNotOptimize(node);
    }
  }  // the allocator hands its frames back
  state.SetItemsProcessed(int64_t(state.iterations()) * count);
}
BENCHMARK(BM_NodesAllocatorFreedTogether)->Arg(10000)->Arg(800000)->Unit(benchmark::kMillisecond);

void BM_NodesMallocFreedOneByOne(benchmark::State& state) {
  const auto count = static_cast<size_t>(state.range(0));
  std::vector<SNodeLike*> nodes(count);
  for (auto _ : state) {
    for (size_t i = 0; i < count; ++i) {
      nodes[i] = static_cast<SNodeLike*>(std::malloc(sizeof(SNodeLike)));
      nodes[i]->symbol = static_cast<uint32_t>(i);
    }
    for (SNodeLike* node : nodes) std::free(node);
  }
  state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(count));
}
BENCHMARK(BM_NodesMallocFreedOneByOne)->Arg(10000)->Arg(800000)->Unit(benchmark::kMillisecond);

void BM_NodesNewDeleteOneByOne(benchmark::State& state) {
  const auto count = static_cast<size_t>(state.range(0));
  std::vector<std::unique_ptr<SNodeLike>> nodes(count);
  for (auto _ : state) {
    for (size_t i = 0; i < count; ++i) {
      nodes[i] = std::make_unique<SNodeLike>();
      nodes[i]->symbol = static_cast<uint32_t>(i);
    }
    for (auto& node : nodes) node.reset();
  }
  state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(count));
}
BENCHMARK(BM_NodesNewDeleteOneByOne)->Arg(10000)->Arg(800000)->Unit(benchmark::kMillisecond);

// ---- Evaluation records: a few live at a time ---------------------------------------------

struct SRecordLike {
  uint32_t column, line;
  void* text[3];
  void* value;
  uint32_t symbol;
  void* prev;
  void* next;
};

void BM_RecordsAllocatorTakeReturn(benchmark::State& state) {
  EnsureHeap();
  tam::CAllocator<SRecordLike> records(kHeap, "Bench Records", kFrameBytes, sizeof(SRecordLike), true,
                                       false);
  SRecordLike* live[4] = {};
  uint32_t i = 0;
  for (auto _ : state) {
    SRecordLike*& slot = live[i++ % 4];
    if (slot) records.Delete(slot);
    slot = records.New(1);
    benchmark::DoNotOptimize(slot);
  }
  for (SRecordLike*& record : live)
    if (record) records.Delete(record);
}
BENCHMARK(BM_RecordsAllocatorTakeReturn);

void BM_RecordsMallocTakeReturn(benchmark::State& state) {
  void* live[4] = {};
  uint32_t i = 0;
  for (auto _ : state) {
    void*& slot = live[i++ % 4];
    std::free(slot);
    slot = std::malloc(sizeof(SRecordLike));
    benchmark::DoNotOptimize(slot);
  }
  for (void* record : live) std::free(record);
}
BENCHMARK(BM_RecordsMallocTakeReturn);

// ---- Short-lived strings ----------------------------------------------------------------------

const char* const kTokens[] = {"BUTTON", "\"Control 7\"", "IDC_BUTTON_00012_007", "CF_TABSTOP", "0.050",
                               "\"menuline07.tga\""};

void BM_ShortStringsPooled(benchmark::State& state) {
  uint32_t i = 0;
  for (auto _ : state) {
    tam::CString text(kTokens[i++ % 6]);
    benchmark::DoNotOptimize(text.Data());
  }
}
BENCHMARK(BM_ShortStringsPooled);

void BM_ShortStringsStd(benchmark::State& state) {
  uint32_t i = 0;
  for (auto _ : state) {
    // Past the small-string buffer, as a pooled unit would be.
    std::string text(kTokens[i++ % 6]);
    text.reserve(64);
    benchmark::DoNotOptimize(text.data());
  }
}
BENCHMARK(BM_ShortStringsStd);

void BM_ShortStringsMalloc(benchmark::State& state) {
  uint32_t i = 0;
  for (auto _ : state) {
    const char* token = kTokens[i++ % 6];
    const size_t length = std::strlen(token);
    auto* text = static_cast<char*>(std::malloc(64));
    std::memcpy(text, token, length + 1);
    benchmark::DoNotOptimize(text);
    std::free(text);
  }
}
BENCHMARK(BM_ShortStringsMalloc);

// Token texts kept for a whole parse (one per terminal node), then freed
// newest first, as the parser's clear does.
void BM_TokenTextsPooledKeptThenFreed(benchmark::State& state) {
  const auto count = static_cast<size_t>(state.range(0));
  for (auto _ : state) {
    std::vector<tam::CString> texts;
    texts.reserve(count);
    for (size_t i = 0; i < count; ++i) texts.emplace_back(kTokens[i % 6]);
    while (!texts.empty()) texts.pop_back();
  }
  state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(count));
}
BENCHMARK(BM_TokenTextsPooledKeptThenFreed)->Arg(10000)->Arg(400000)->Unit(benchmark::kMillisecond);

void BM_TokenTextsStdKeptThenFreed(benchmark::State& state) {
  const auto count = static_cast<size_t>(state.range(0));
  for (auto _ : state) {
    std::vector<std::string> texts;
    texts.reserve(count);
    for (size_t i = 0; i < count; ++i) {
      texts.emplace_back(kTokens[i % 6]);
      texts.back().reserve(64);
    }
    while (!texts.empty()) texts.pop_back();
  }
  state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(count));
}
BENCHMARK(BM_TokenTextsStdKeptThenFreed)->Arg(10000)->Arg(400000)->Unit(benchmark::kMillisecond);

}  // namespace
