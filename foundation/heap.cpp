// heap.cpp: a named heap: page search, frames and their release.
#include "foundation/heap.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "foundation/report.h"

namespace tam {

struct CMemMgr::_heap::SSpare {
  SSpare* next;
  uint32_t pages;
};

// ---------------------------------------------------------------------------
// Life of the heap
// ---------------------------------------------------------------------------

bool CMemMgr::_heap::Create(const char* heapName, uint32_t bytes) {
  uint64_t pages = (static_cast<uint64_t>(bytes) + kPageSize - 1) / kPageSize;
  if (pages == 0) pages = 1;
  if (pages * kPageSize > UINT32_MAX) return false;
  memory = static_cast<uint8_t*>(std::aligned_alloc(kPageSize, pages * kPageSize));
  if (memory) std::memset(memory, 0, pages * kPageSize);
  pageMap = static_cast<uint8_t*>(std::calloc(pages, 1));
  if (!memory || !pageMap) {
    std::free(memory);
    std::free(pageMap);
    memory = pageMap = nullptr;
    return false;
  }
  std::strncpy(name, heapName, kHeapNameMax);
  name[kHeapNameMax] = '\0';
  pageCount = static_cast<uint32_t>(pages);
  size = pageCount * kPageSize;
  usedPages = peakPages = 0;
  frames = nullptr;
  inUse = true;
  return true;
}

void CMemMgr::_heap::Destroy() {
  CLockGuard<CRecursiveLock> guard(&lock);
  while (frames) {
    SFrame* frame = frames;
    DestroyFrame(frame);
    delete frame;
  }
  FreeSpares();
  std::free(memory);
  std::free(pageMap);
  memory = pageMap = nullptr;
  name[0] = '\0';
  size = pageCount = usedPages = peakPages = 0;
  inUse = false;
}

// ---------------------------------------------------------------------------
// Frames
// ---------------------------------------------------------------------------

uint32_t CMemMgr::_heap::FindFreeRun(uint32_t count) const {
  uint32_t run = 0;
  for (uint32_t page = 0; page < pageCount; ++page) {
    run = pageMap[page] ? 0 : run + 1;
    if (run == count) return page + 1 - count;
  }
  return pageCount;
}

SFrame* CMemMgr::_heap::CreateFrame(uint32_t bytes) {
  uint32_t pages = static_cast<uint32_t>((static_cast<uint64_t>(bytes) + kPageSize - 1) / kPageSize);
  if (pages == 0) pages = 1;

  CLockGuard<CRecursiveLock> guard(&lock);
  uint32_t first = pageCount;
  if (usedPages + pages <= pageCount) first = FindFreeRun(pages);

  auto* frame = new SFrame{this, first, pages, nullptr, nullptr, nullptr, false, false};
  if (first < pageCount) {
    std::memset(pageMap + first, 1, pages);
    frame->base = memory + static_cast<size_t>(first) * kPageSize;
    usedPages += pages;
    if (usedPages > peakPages) peakPages = usedPages;
  } else {
    // Too full or too fragmented: the frame takes its memory from the system.
    frame->base = TakeSystemMemory(pages);
    if (!frame->base) {
      delete frame;
      return nullptr;
    }
    frame->firstPage = 0;
    frame->ownMemory = true;
  }
  frame->next = frames;
  if (frames) frames->prev = frame;
  frames = frame;
  return frame;
}

// ---------------------------------------------------------------------------
// System memory
// ---------------------------------------------------------------------------

void* CMemMgr::_heap::TakeSystemMemory(uint32_t pages) {
  for (SSpare** link = &spares; *link; link = &(*link)->next) {
    SSpare* spare = *link;
    if (spare->pages != pages) continue;
    *link = spare->next;
    spareBytes -= static_cast<uint64_t>(pages) * kPageSize;
    return spare;
  }
  // Page-aligned, as the heap's own pages are: elements of a power-of-two
  // size then never straddle a cache line.
  return std::aligned_alloc(kPageSize, static_cast<size_t>(pages) * kPageSize);
}

void CMemMgr::_heap::GiveSystemMemory(void* block, uint32_t pages) {
  const uint64_t bytes = static_cast<uint64_t>(pages) * kPageSize;
  if (spareBytes + bytes > kSpareBytesMax) {
    std::free(block);
    return;
  }
  spares = new (block) SSpare{spares, pages};
  spareBytes += bytes;
}

void CMemMgr::_heap::FreeSpares() {
  while (spares) {
    SSpare* spare = spares;
    spares = spare->next;
    std::free(spare);
  }
  spareBytes = 0;
}

bool CMemMgr::_heap::HasFrame(const SFrame* frame) {
  CLockGuard<CRecursiveLock> guard(&lock);
  for (SFrame* f = frames; f; f = f->next)
    if (f == frame) return true;
  return false;
}

bool CMemMgr::_heap::DestroyFrame(SFrame* frame) {
  if (!frame || frame->heap != this) return false;

  CLockGuard<CRecursiveLock> guard(&lock);
  if (!HasFrame(frame)) {
    TAM_REPORT("CMemMgr::_heap::DestroyFrame()", "unreachable code reached", "tamMemoryHeap", 371);
    return false;
  }
  if (frame->prev) frame->prev->next = frame->next;
  else frames = frame->next;
  if (frame->next) frame->next->prev = frame->prev;
  frame->prev = frame->next = nullptr;

  if (frame->ownMemory) {
    GiveSystemMemory(frame->base, frame->pageCount);
  } else {
    usedPages -= frame->pageCount;
    std::memset(pageMap + frame->firstPage, 0, frame->pageCount);
  }
  frame->base = nullptr;
  frame->released = true;
  return true;
}

}  // namespace tam
