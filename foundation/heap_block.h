// heap_block.h (foundation): a block of 32 heap records. The memory manager
// chains blocks, the newest in front, and adds one when all are full.
#pragma once
#include "foundation/heap.h"

namespace tam {

class CMemMgr::CHeapBlock {
 public:
  static constexpr uint32_t kHeapCount = 32;

  explicit CHeapBlock(CHeapBlock* next) : m_next(next) {}
  // Destroys every live heap of the block.
  ~CHeapBlock();
  CHeapBlock(const CHeapBlock&) = delete;
  CHeapBlock& operator=(const CHeapBlock&) = delete;

  bool IsFull() const { return m_used == kHeapCount; }
  CHeapBlock* Next() const { return m_next; }

  // Creates the heap in the first free record; null when the system gives no
  // memory for it.
  _heap* CreateHeap(const char* name, uint32_t size);
  // Destroys a live heap of this block and frees its record.
  void DestroyHeap(_heap* heap);
  // The live heap of that name in this block (the stored, cut name compared
  // exactly), or null.
  _heap* Find(const char* name);

 private:
  _heap m_heaps[kHeapCount];
  CHeapBlock* m_next;
  uint32_t m_used = 0;
};

}  // namespace tam
