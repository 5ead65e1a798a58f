// allocator.cpp: chunks, runs and the critical errors of the allocators.
#include "foundation/allocator.h"

#include <cstring>

#include "foundation/report.h"

namespace tam {

namespace {
void CopyName(char* to, const char* from) {
  std::strncpy(to, from, kHeapNameMax);
  to[kHeapNameMax] = '\0';
}
}  // namespace

// ---------------------------------------------------------------------------
// Life of the allocator
// ---------------------------------------------------------------------------

CAllocatorBase::CAllocatorBase(const char* heapName, const char* name, uint32_t frameSize,
                               uint32_t elementSize, bool returnsFrames, bool construct, bool lock)
    : m_frameSize(frameSize),
      m_elementSize(elementSize ? elementSize : 1),
      m_construct(construct),
      m_returnsFrames(returnsFrames) {
  CopyName(m_heapName, heapName ? heapName : "default");
  CopyName(m_name, name ? name : "");
  if (!AddChunk(frameSize)) {
    TAM_REPORT("CAllocator::CAllocator()",
               "critical error occured. there are some errorneous situations.\n\n"
               "\t1) there is no heap with given name\n"
               "\t2) allocator with the same name already exists\n"
               "\t3) frame (or page) size is too large",
               "tamAllocator", 146);
  }
  if (lock) m_lock = new CRecursiveLock;
  m_plain = !m_lock && !m_construct;
}

CAllocatorBase::~CAllocatorBase() {
  while (m_chunks) {
    SAllocChunk* chunk = m_chunks;
    m_chunks = chunk->next;
    if (m_returnsFrames) MemMgr().ReleaseFrame(chunk->frame);
    chunk->list.Destroy();
    MemMgr().ReleaseFrame(chunk->slotFrame);
    delete chunk;
  }
  delete m_lock;
}

// A chunk over a new frame of frameBytes, chained in front; null when the
// heap gives no frame or the chunk's bookkeeping cannot be made.
SAllocChunk* CAllocatorBase::AddChunk(uint32_t frameBytes) {
  SFrame* frame = MemMgr().CreateFrame(m_heapName, frameBytes);
  if (!frame) return nullptr;
  uint32_t capacity = frameBytes / m_elementSize;
  if (capacity > kIndexListMax) capacity = kIndexListMax;

  auto* chunk = new SAllocChunk{frame, static_cast<uint8_t*>(MemMgr().FrameBase(frame)), capacity,
                                {}, nullptr, nullptr, m_chunks};
  // The slot table is bookkeeping of the same lifetime as the index list and
  // comes from the same heap: a released one is kept by the heap for the next
  // allocator rather than going back through the general-purpose heap.
  const uint32_t slotBytes = (capacity ? capacity : 1) * static_cast<uint32_t>(sizeof(SIndexEntry*));
  chunk->slotFrame = MemMgr().CreateFrame("default", slotBytes);
  if (chunk->slotFrame) {
    chunk->slots = static_cast<SIndexEntry**>(MemMgr().FrameBase(chunk->slotFrame));
    std::memset(chunk->slots, 0, slotBytes);
  }
  if (!chunk->slots || !chunk->list.Create(capacity)) {
    MemMgr().ReleaseFrame(frame);
    if (chunk->slotFrame) MemMgr().ReleaseFrame(chunk->slotFrame);
    delete chunk;
    return nullptr;
  }
  m_chunks = chunk;
  return chunk;
}

// ---------------------------------------------------------------------------
// Runs
// ---------------------------------------------------------------------------

void* CAllocatorBase::TakeRun(SAllocChunk* chunk, uint32_t count) {
  SIndexEntry* run = chunk->list.Alloc(count);
  if (!run) return nullptr;
  const uint32_t index = chunk->list.IndexOf(run);
  chunk->slots[index] = run;
  uint8_t* address = chunk->base + static_cast<size_t>(index) * m_elementSize;
  if (m_construct)
    for (uint32_t i = 0; i < count; ++i) ConstructElement(address + static_cast<size_t>(i) * m_elementSize);
  return address;
}

void CAllocatorBase::FreeRun(SAllocChunk* chunk, uint32_t index) {
  SIndexEntry* run = chunk->slots[index];
  uint8_t* address = chunk->base + static_cast<size_t>(index) * m_elementSize;
  if (m_construct)
    for (uint32_t i = 0; i < run->length; ++i) DestroyElement(address + static_cast<size_t>(i) * m_elementSize);
  chunk->list.Free(run);
  chunk->slots[index] = nullptr;
}

void* CAllocatorBase::NewElementsSearching(uint32_t count) {
  if (count == 0) count = 1;
  CLockGuard<CRecursiveLock> guard(m_lock);
  for (SAllocChunk* chunk = m_chunks; chunk; chunk = chunk->next)
    if (void* elements = TakeRun(chunk, count)) return elements;

  const uint64_t wanted = static_cast<uint64_t>(m_elementSize) * count;
  const uint32_t frameBytes = wanted > m_frameSize ? static_cast<uint32_t>(wanted) : m_frameSize;
  SAllocChunk* chunk = wanted > UINT32_MAX ? nullptr : AddChunk(frameBytes);
  if (!chunk) {
    TAM_REPORT("CStringAlloc::Alloc()", "out of memory", "tamAllocator", 284);
    return nullptr;
  }
  void* elements = TakeRun(chunk, count);
  if (!elements) TAM_REPORT("CAllocator<_D>::New()", "critical error occured", "tamAllocator", 326);
  return elements;
}

bool CAllocatorBase::DeleteElementsSearching(void*& pointer) {
  if (!pointer) return false;
  CLockGuard<CRecursiveLock> guard(m_lock);
  auto* address = static_cast<uint8_t*>(pointer);
  for (SAllocChunk* chunk = m_chunks; chunk; chunk = chunk->next) {
    if (address < chunk->base || address >= chunk->base + static_cast<size_t>(chunk->capacity) * m_elementSize)
      continue;
    const size_t offset = static_cast<size_t>(address - chunk->base);
    const uint32_t index = static_cast<uint32_t>(offset / m_elementSize);
    if (offset % m_elementSize != 0 || chunk->slots[index] == nullptr) {
      TAM_REPORT(nullptr,
                 "(\"CAllocator<_D>::Delete() : invalid deletion\", pList->pAlloc[dwIndex] != TAM_NULL)",
                 "tamAllocator", 365);
      return false;
    }
    FreeRun(chunk, index);
    pointer = nullptr;
    return true;
  }
  return false;
}

void CAllocatorBase::DeleteAllElements() {
  CLockGuard<CRecursiveLock> guard(m_lock);
  for (SAllocChunk* chunk = m_chunks; chunk; chunk = chunk->next)
    for (uint32_t index = 0; index < chunk->capacity; ++index)
      if (chunk->slots[index]) FreeRun(chunk, index);
}

}  // namespace tam
