// allocation_counter.cpp: the unit test binary's replacement of the global
// operator new, counting while armed.
#include "tests/unit/allocation_counter.h"

#include <cstdlib>
#include <new>

namespace {
bool g_counting = false;
int g_allocations = 0;
}  // namespace

// The replacements pair malloc with free; GCC's optimiser, seeing free() reached
// from a delete expression once these are inlined, reports a mismatch that is not one.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif
void* operator new(std::size_t size) {
  if (g_counting) ++g_allocations;
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif

namespace alloccount {

void Start() {
  g_allocations = 0;
  g_counting = true;
}

int Stop() {
  g_counting = false;
  return g_allocations;
}

}  // namespace alloccount
