// mem_mgr.cpp: the memory manager: the chain of heap blocks and the lookups
// that lead to a heap, all under the manager's mutex.
#include "foundation/mem_mgr.h"

#include "foundation/heap_block.h"

namespace tam {

CMemMgr::CMemMgr() : m_blocks(new CHeapBlock(nullptr)) {}

CMemMgr::~CMemMgr() {
  CLockGuard<CMutex> guard(&m_mutex);
  while (m_blocks) {
    CHeapBlock* next = m_blocks->Next();
    delete m_blocks;
    m_blocks = next;
  }
}

CMemMgr::_heap* CMemMgr::FindHeapLocked(const char* name) {
  for (CHeapBlock* block = m_blocks; block; block = block->Next())
    if (_heap* heap = block->Find(name)) return heap;
  return nullptr;
}

CMemMgr::_heap* CMemMgr::FindHeap(const char* name) {
  if (!name) return nullptr;
  CLockGuard<CMutex> guard(&m_mutex);
  return FindHeapLocked(name);
}

bool CMemMgr::CreateHeap(const char* name, uint32_t size) {
  if (!name) return false;
  CLockGuard<CMutex> guard(&m_mutex);
  if (FindHeapLocked(name)) return false;

  CHeapBlock* block = m_blocks;
  while (block && block->IsFull()) block = block->Next();
  if (!block) block = m_blocks = new CHeapBlock(m_blocks);
  return block->CreateHeap(name, size) != nullptr;
}

bool CMemMgr::DestroyHeap(const char* name) {
  if (!name) return false;
  CLockGuard<CMutex> guard(&m_mutex);
  for (CHeapBlock* block = m_blocks; block; block = block->Next()) {
    if (_heap* heap = block->Find(name)) {
      block->DestroyHeap(heap);
      return true;
    }
  }
  return false;
}

SFrame* CMemMgr::CreateFrame(const char* heapName, uint32_t size) {
  if (!heapName) return nullptr;
  CLockGuard<CMutex> guard(&m_mutex);
  _heap* heap = FindHeapLocked(heapName);
  return heap ? heap->CreateFrame(size) : nullptr;
}

bool CMemMgr::ReleaseFrame(SFrame* frame) {
  if (!frame) return false;
  CLockGuard<CMutex> guard(&m_mutex);
  _heap* heap = FindHeapLocked(frame->heap->name);
  if (heap != frame->heap) return false;
  heap->DestroyFrame(frame);
  delete frame;
  return true;
}

void* CMemMgr::FrameBase(const SFrame* frame) {
  if (!frame) return nullptr;
  CLockGuard<CMutex> guard(&m_mutex);
  return frame->heap->HasFrame(frame) ? frame->base : nullptr;
}

}  // namespace tam
