// frame_bench.cpp: one frame of a team match as the game draws it — GUI_Update
// and GUI_Draw over the HUD with 16 radar blips, 4 timed messages, the chat
// with 12 lines and the score table of 8 rows, from the shipped UI script, the
// reference host recording its draws without rasterising. Counts the heap
// allocations of the frames after the first (malloc and its relatives, which
// operator new reaches too, of every library in the process).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "refhost/korvohost_graphics.h"
#include "tests/unit/match_scene.h"

// ---- Allocation counter -------------------------------------------------------------------

extern "C" {
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* p, size_t size);
void* __libc_memalign(size_t alignment, size_t size);
}

namespace {
bool g_counting = false;
long g_allocations = 0;
void Count() {
  if (g_counting) ++g_allocations;
}
}  // namespace

extern "C" {
void* malloc(size_t size) noexcept {
  Count();
  return __libc_malloc(size);
}
void* calloc(size_t count, size_t size) noexcept {
  Count();
  return __libc_calloc(count, size);
}
void* realloc(void* p, size_t size) noexcept {
  Count();
  return __libc_realloc(p, size);
}
void* aligned_alloc(size_t alignment, size_t size) noexcept {
  Count();
  return __libc_memalign(alignment, size);
}
int posix_memalign(void** out, size_t alignment, size_t size) noexcept {
  Count();
  void* p = __libc_memalign(alignment, size);
  if (!p) return 12;   // ENOMEM
  *out = p;
  return 0;
}
}  // extern "C"

namespace {

// ---- The frame -----------------------------------------------------------------------------

void BM_TeamMatchFrame(benchmark::State& state) {
  std::string error;
  if (!matchscene::Open(&error)) {
    state.SkipWithError(error.c_str());
    return;
  }
  g_allocations = 0;
  g_counting = true;
  matchscene::Frame();
  g_counting = false;
  const long first = g_allocations;

  g_allocations = 0;
  g_counting = true;
  for (auto _ : state) matchscene::Frame();
  g_counting = false;

  state.counters["allocs_first_frame"] = double(first);
  state.counters["allocs_per_frame"] = double(g_allocations) / double(state.iterations());
  state.counters["windows"] = matchscene::OpenWindows();
  state.counters["draws"] = double(korvohost::DrawList().size());
  matchscene::Close();
}
BENCHMARK(BM_TeamMatchFrame)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
