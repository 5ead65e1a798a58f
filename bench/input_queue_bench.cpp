// input_queue_bench.cpp: the input ring: a frame's worth of events appended
// then drained (the host's input calls, then GUI_Update), and an overflowing
// burst that keeps only the newest event.
#include <benchmark/benchmark.h>

#include "runtime/input_queue.h"

namespace {

void BM_InputQueueAppendThenTake(benchmark::State& state) {
  CGUI_InputQueue queue;
  const auto events = static_cast<int>(state.range(0));
  for (auto _ : state) {
    for (int i = 0; i < events; ++i) queue.Append(MakeKeyWord(i & 0xFF));
    uint32_t word = 0;
    uint32_t sum = 0;
    while (queue.Take(word)) sum += word;
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(int64_t(state.iterations()) * events);
}
BENCHMARK(BM_InputQueueAppendThenTake)->Arg(8)->Arg(256)->Arg(1023);

void BM_InputQueueOverflowingBurst(benchmark::State& state) {
  CGUI_InputQueue queue;
  const auto events = static_cast<int>(state.range(0));
  for (auto _ : state) {
    for (int i = 0; i < events; ++i) queue.Append(kLButtonDownWord);
    benchmark::DoNotOptimize(queue.PendingCount());
    queue.Flush();
  }
  state.SetItemsProcessed(int64_t(state.iterations()) * events);
}
BENCHMARK(BM_InputQueueOverflowingBurst)->Arg(4096);

}  // namespace
