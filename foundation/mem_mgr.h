// mem_mgr.h (foundation): the memory manager. Named heaps are large blocks cut
// into 16 KiB pages; frames are runs of pages handed out first fit, or blocks
// of system memory when a heap is too full or too fragmented.
#pragma once
#include <cstdint>

#include "foundation/lifecycle.h"
#include "foundation/lock.h"

namespace tam {

constexpr uint32_t kPageSize = 16384;
constexpr uint32_t kHeapNameMax = 127;  // longer names are cut

struct SFrame;

class CMemMgr {
 public:
  struct _heap;      // heap.h
  class CHeapBlock;  // heap_block.h

  CMemMgr();
  virtual ~CMemMgr();
  CMemMgr(const CMemMgr&) = delete;
  CMemMgr& operator=(const CMemMgr&) = delete;

  // False for a null name or one already in use; the size is rounded up to
  // whole pages (at least one).
  bool CreateHeap(const char* name, uint32_t size);
  // Destroys the heap's frames (their records too) and its memory.
  bool DestroyHeap(const char* name);
  // A frame of at least size bytes, or null when no live heap has the name.
  SFrame* CreateFrame(const char* heapName, uint32_t size);
  // Hands the frame back to its heap and deletes the record; false (and the
  // record kept) when the frame's heap is no longer the live heap of its name.
  bool ReleaseFrame(SFrame* frame);
  // The frame's memory while the frame is in its heap's list, else null.
  void* FrameBase(const SFrame* frame);
  // The live heap of that name, or null.
  _heap* FindHeap(const char* name);

 private:
  _heap* FindHeapLocked(const char* name);

  CHeapBlock* m_blocks;
  CMutex m_mutex;
};

// A frame: a run of a heap's pages, or system memory (own-memory mark).
struct SFrame {
  CMemMgr::_heap* heap;
  uint32_t firstPage;
  uint32_t pageCount;
  void* base;
  SFrame* prev;
  SFrame* next;
  bool released;
  bool ownMemory;
};

// The module's memory manager, built by the first foundation user.
CMemMgr& MemMgr();

}  // namespace tam
