// compile_bench.cpp: compiling generated scripts of 1,000 dialogs x 20
// controls and 200 x 40, with MB/s and controls/s, beside a memchr pass over
// the same bytes (the floor any scanner has to pay).
#include <benchmark/benchmark.h>

#include <cstring>

#include "bench/script_generator.h"
#include "korvogui/korvogui.h"
#include "runtime/window_manager.h"
#include "script/compiler.h"

namespace {

void EnsureInitialized() {
  static bool done = false;
  if (!done) {
    GUI_Initialize();
    done = true;
  }
}

void BM_CompileScript(benchmark::State& state) {
  EnsureInitialized();
  const int dialogs = static_cast<int>(state.range(0));
  const int controls = static_cast<int>(state.range(1));
  const std::string text = GenerateScript(dialogs, controls);
  for (auto _ : state) {
    CDialogTable* table = CompileScript(text.c_str());
    if (!table) state.SkipWithError(GetErrorText());
    benchmark::DoNotOptimize(table);
    delete table;
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
  state.counters["controls/s"] = benchmark::Counter(double(dialogs) * controls * double(state.iterations()),
                                                    benchmark::Counter::kIsRate);
  state.counters["bytes"] = double(text.size());
}
BENCHMARK(BM_CompileScript)->Args({1000, 20})->Args({200, 40})->Unit(benchmark::kMillisecond);

void BM_MemchrPass(benchmark::State& state) {
  const std::string text = GenerateScript(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  for (auto _ : state) {
    size_t lines = 0;
    for (const char* p = text.data(); (p = static_cast<const char*>(std::memchr(p, '\n', text.data() + text.size() - p))); ++p)
      ++lines;
    benchmark::DoNotOptimize(lines);
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}
BENCHMARK(BM_MemchrPass)->Args({1000, 20})->Args({200, 40})->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
