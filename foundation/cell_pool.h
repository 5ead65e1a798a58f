// cell_pool.h (foundation): 16-byte cells for the small records a compile
// makes and frees by the hundred thousand (number values and list cells),
// and small blocks of 32, 48 or 64 bytes for the string values beside them.
// Cells and blocks are cut from 64 KB blocks and kept on one free list per
// size behind a spin lock, so their churn stays out of the C heap: freed
// cells are not merged back into it each time a large object (a window) is
// allocated. When the last cell or block is freed, every block but the newest
// goes back to the C heap. Builds with the address sanitizer take every cell
// from the C heap, so it keeps checking each one.
#pragma once
#include <cstddef>

namespace tam {

constexpr size_t kCellSize = 16;

// A cell of kCellSize bytes, aligned to 16; throws std::bad_alloc when there
// is no memory.
void* AllocCell();
// Gives back a cell from AllocCell; null is ignored.
void FreeCell(void* cell) noexcept;

// The largest block the pool hands out.
constexpr size_t kSmallBlockMax = 64;
// A block of at least bytes bytes (1 to kSmallBlockMax), aligned to 16;
// throws std::bad_alloc when there is no memory.
void* AllocSmallBlock(size_t bytes);
// Gives back a block from AllocSmallBlock of the same bytes; null is ignored.
void FreeSmallBlock(void* block, size_t bytes) noexcept;

}  // namespace tam
