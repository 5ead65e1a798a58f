// cell_pool.h (foundation): 16-byte cells for the small records a compile
// makes and frees by the hundred thousand (number values and list cells).
// Cells are cut from 64 KB blocks and kept on one free list behind a spin
// lock, so their churn stays out of the C heap: freed cells are not merged
// back into it each time a large object (a window) is allocated. When the
// last cell is freed, every block but the newest goes back to the C heap. Builds with the address
// sanitizer take every cell from the C heap, so it keeps checking each one.
#pragma once
#include <cstddef>

namespace tam {

constexpr size_t kCellSize = 16;

// A cell of kCellSize bytes, aligned to 16; throws std::bad_alloc when there
// is no memory.
void* AllocCell();
// Gives back a cell from AllocCell; null is ignored.
void FreeCell(void* cell) noexcept;

}  // namespace tam
