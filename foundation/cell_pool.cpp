// cell_pool.cpp: the free list of 16-byte cells and its blocks.
#include "foundation/cell_pool.h"

#include <atomic>
#include <new>
#include <thread>

#if defined(__SANITIZE_ADDRESS__)
#define KORVO_CELLS_FROM_HEAP 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KORVO_CELLS_FROM_HEAP 1
#endif
#endif

namespace tam {

#if defined(KORVO_CELLS_FROM_HEAP)

void* AllocCell() { return ::operator new(kCellSize, std::align_val_t{kCellSize}); }

void FreeCell(void* cell) noexcept {
  if (cell) ::operator delete(cell, std::align_val_t{kCellSize});
}

void* AllocSmallBlock(size_t bytes) { return ::operator new(bytes, std::align_val_t{kCellSize}); }

void FreeSmallBlock(void* block, [[maybe_unused]] size_t bytes) noexcept {
  if (block) ::operator delete(block, std::align_val_t{kCellSize});
}

#else

namespace {

struct SFreeCell {
  SFreeCell* next;
};

// A block: its link to the previous block, then the cells.
constexpr size_t kBlockSize = 64 * 1024;
struct alignas(kCellSize) SBlockHead {
  SBlockHead* prev;
};
constexpr size_t kCellsPerBlock = (kBlockSize - sizeof(SBlockHead)) / kCellSize;

// Sizes: 16, 32, 48 and 64 bytes, one free list each.
constexpr size_t kSizes = kSmallBlockMax / kCellSize;
size_t SizeIndex(size_t bytes) { return bytes <= kCellSize ? 0 : (bytes - 1) / kCellSize; }

struct SPool {
  std::atomic_flag busy;
  SFreeCell* free[kSizes] = {};   // cells and blocks given back, per size
  unsigned char* fresh = nullptr; // the newest block's cells never handed out
  unsigned char* end = nullptr;
  SBlockHead* blocks = nullptr;   // the newest first
  size_t live = 0;   // cells and blocks handed out and not given back
};

SPool& Pool() {
  static SPool pool;
  return pool;
}

class CPoolGuard {
 public:
  explicit CPoolGuard(SPool& pool) : m_pool(pool) {
    while (m_pool.busy.test_and_set(std::memory_order_acquire)) std::this_thread::yield();
  }
  ~CPoolGuard() { m_pool.busy.clear(std::memory_order_release); }
  CPoolGuard(const CPoolGuard&) = delete;
  CPoolGuard& operator=(const CPoolGuard&) = delete;

 private:
  SPool& m_pool;
};

void UseCellsOf(SPool& pool, SBlockHead* block) {
  pool.fresh = reinterpret_cast<unsigned char*>(block + 1);
  pool.end = pool.fresh + kCellsPerBlock * kCellSize;
}

void Grow(SPool& pool) {
  auto* block = static_cast<SBlockHead*>(::operator new(kBlockSize, std::align_val_t{kCellSize}));
  block->prev = pool.blocks;
  pool.blocks = block;
  UseCellsOf(pool, block);
}

// Once no cell is in use, hands back every block but the newest, which stays
// for the next cells: a value made and freed alone costs no block.
void Shrink(SPool& pool) {
  SBlockHead* kept = pool.blocks;
  while (SBlockHead* block = kept->prev) {
    kept->prev = block->prev;
    ::operator delete(block, std::align_val_t{kCellSize});
  }
  for (SFreeCell*& list : pool.free) list = nullptr;
  UseCellsOf(pool, kept);
}

// A cell or block of size index k (k + 1 cells) under the guard.
void* Take(SPool& pool, size_t k) {
  void* cell;
  if (SFreeCell* given = pool.free[k]) {
    pool.free[k] = given->next;
    cell = given;
  } else {
    const size_t bytes = (k + 1) * kCellSize;
    if (static_cast<size_t>(pool.end - pool.fresh) < bytes) Grow(pool);
    cell = pool.fresh;
    pool.fresh += bytes;
  }
  ++pool.live;
  return cell;
}

void Give(SPool& pool, void* cell, size_t k) {
  auto* freed = static_cast<SFreeCell*>(cell);
  freed->next = pool.free[k];
  pool.free[k] = freed;
  if (--pool.live == 0) Shrink(pool);
}

}  // namespace

void* AllocCell() {
  SPool& pool = Pool();
  CPoolGuard guard(pool);
  return Take(pool, 0);
}

void FreeCell(void* cell) noexcept {
  if (!cell) return;
  SPool& pool = Pool();
  CPoolGuard guard(pool);
  Give(pool, cell, 0);
}

void* AllocSmallBlock(size_t bytes) {
  SPool& pool = Pool();
  CPoolGuard guard(pool);
  return Take(pool, SizeIndex(bytes));
}

void FreeSmallBlock(void* block, size_t bytes) noexcept {
  if (!block) return;
  SPool& pool = Pool();
  CPoolGuard guard(pool);
  Give(pool, block, SizeIndex(bytes));
}

#endif

}  // namespace tam
