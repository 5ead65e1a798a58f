// heap.h (foundation): one named heap of the memory manager: a zero-filled
// block of 16 KiB pages, a page map (1 byte per page, 1 = in a frame) and the
// list of live frames, newest first. Frame operations run under the heap's
// recursive lock.
//
// System memory of released own-memory frames is kept, up to kSpareBytesMax,
// and handed to the next own-memory frame of the same page count: a parser
// that takes and returns many 1 MiB frames per compile then reuses warm
// memory instead of faulting fresh pages in every time.
#pragma once
#include "foundation/mem_mgr.h"

namespace tam {

constexpr uint64_t kSpareBytesMax = 192ull << 20;   // system memory a heap keeps for reuse

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
  struct SSpare;                 // a kept system block; the link lives in the block
  SSpare* spares = nullptr;
  uint64_t spareBytes = 0;

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
  // System memory of pages pages: a kept block of that size, or a new one.
  void* TakeSystemMemory(uint32_t pages);
  // Keeps the block for reuse while the kept bytes stay within the limit,
  // else frees it.
  void GiveSystemMemory(void* memory, uint32_t pages);
  void FreeSpares();
};

}  // namespace tam
