// heap.h (foundation): one named heap of the memory manager: a zero-filled
// block of 16 KiB pages, a page map (1 byte per page, 1 = in a frame) and the
// list of live frames, newest first. Frame operations run under the heap's
// recursive lock.
#pragma once
#include "foundation/mem_mgr.h"

namespace tam {

struct CMemMgr::_heap {
  char name[kHeapNameMax + 1] = {};
  uint32_t size = 0;       // pageCount * kPageSize
  uint32_t pageCount = 0;
  uint32_t usedPages = 0;  // pages given to frames
  uint32_t peakPages = 0;
  bool inUse = false;
  uint8_t* memory = nullptr;
  uint8_t* pageMap = nullptr;
  SFrame* frames = nullptr;
  CRecursiveLock lock;

  // Takes the block and page map from the system and stores the name.
  bool Create(const char* heapName, uint32_t bytes);
  // Destroys every frame (newest first, records deleted), frees the memory
  // and clears the name and the in-use mark.
  void Destroy();

  // A frame of ceil(bytes / kPageSize) pages (at least one): the first free
  // run of the page map, or system memory when none fits.
  SFrame* CreateFrame(uint32_t bytes);
  // Unlinks the frame and gives its pages (or system memory) back; false for
  // a frame of another heap. A frame of this heap that is not in the list is
  // a critical error. The record itself is left to the caller.
  bool DestroyFrame(SFrame* frame);
  // True when the frame is in the list of live frames.
  bool HasFrame(const SFrame* frame);

 private:
  // First page of the first run of count free pages, or pageCount.
  uint32_t FindFreeRun(uint32_t count) const;
};

}  // namespace tam
