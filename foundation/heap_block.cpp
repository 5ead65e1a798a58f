// heap_block.cpp: the heap records of one block.
#include "foundation/heap_block.h"

#include <cstring>

#include "foundation/report.h"

namespace tam {

CMemMgr::CHeapBlock::~CHeapBlock() {
  for (_heap& heap : m_heaps)
    if (heap.inUse) heap.Destroy();
}

CMemMgr::_heap* CMemMgr::CHeapBlock::CreateHeap(const char* name, uint32_t size) {
  for (_heap& heap : m_heaps) {
    if (heap.inUse) continue;
    if (!heap.Create(name, size)) return nullptr;
    ++m_used;
    return &heap;
  }
  // The block counted a free record that is not there.
  TAM_REPORT("tam::CMemMgr::CHeapBlock::CreateHeap()", "Unreachable code reached", "tamMemoryBlock", 89);
  return nullptr;
}

void CMemMgr::CHeapBlock::DestroyHeap(_heap* heap) {
  heap->Destroy();
  --m_used;
}

CMemMgr::_heap* CMemMgr::CHeapBlock::Find(const char* name) {
  for (_heap& heap : m_heaps)
    if (heap.inUse && std::strncmp(heap.name, name, kHeapNameMax) == 0) return &heap;
  return nullptr;
}

}  // namespace tam
