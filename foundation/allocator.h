// allocator.h (foundation): named fixed-size allocators. An allocator takes
// frames from a named heap and hands out runs of elements by index; each
// frame is a chunk with an index list of free runs and a slot table that
// records the run starting at each element. CAllocatorBase does the work on
// raw elements; CAllocator<_D> types it and constructs and destroys elements
// when built with the construct mark. The element size may exceed sizeof(_D)
// (an element with trailing storage).
#pragma once
#include <cstdint>
#include <new>
#include <type_traits>

#include "foundation/index_list.h"
#include "foundation/lifecycle.h"
#include "foundation/lock.h"

namespace tam {

// One frame of an allocator.
struct SAllocChunk {
  SFrame* frame;
  uint8_t* base;
  uint32_t capacity;     // elements
  CIndexList list;
  SIndexEntry** slots;   // per element: the run starting there, or null
  SFrame* slotFrame;     // the slot table's memory, a frame of the heap "default"
  SAllocChunk* next;
};

class CAllocatorBase {
 public:
  // heapName null means "default"; names are cut to kHeapNameMax characters.
  // Capacity per chunk is frameSize / elementSize, at most kIndexListMax.
  CAllocatorBase(const char* heapName, const char* name, uint32_t frameSize, uint32_t elementSize,
                 bool returnsFrames, bool construct, bool lock);
  // Frees the chunks (handing their frames back when returnsFrames is set).
  // Elements still in use are not destroyed: call DeleteAll first.
  virtual ~CAllocatorBase();
  CAllocatorBase(const CAllocatorBase&) = delete;
  CAllocatorBase& operator=(const CAllocatorBase&) = delete;

  const char* HeapName() const { return m_heapName; }
  const char* Name() const { return m_name; }
  uint32_t FrameSize() const { return m_frameSize; }
  uint32_t ElementSize() const { return m_elementSize; }
  const SAllocChunk* Chunks() const { return m_chunks; }

 protected:
  // count consecutive elements (0 counts as 1), or null after a report.
  void* NewElements(uint32_t count) {
    // One element of an allocator without lock and construction: the
    // newest chunk answers unless it is full.
    if (count <= 1 && m_plain && m_chunks) {
      SAllocChunk* chunk = m_chunks;
      if (SIndexEntry* run = chunk->list.Alloc(1)) {
        const uint32_t index = chunk->list.IndexOf(run);
        chunk->slots[index] = run;
        return chunk->base + static_cast<size_t>(index) * m_elementSize;
      }
    }
    return NewElementsSearching(count);
  }
  // False for null or a foreign address; an address that does not start a
  // run is reported as an invalid deletion.
  bool DeleteElements(void*& pointer) {
    // A single element of the newest chunk of an allocator without lock
    // and construction.
    if (m_plain && m_chunks && pointer) {
      SAllocChunk* chunk = m_chunks;
      const auto* address = static_cast<uint8_t*>(pointer);
      const size_t offset = address >= chunk->base ? static_cast<size_t>(address - chunk->base) : SIZE_MAX;
      if (offset < static_cast<size_t>(chunk->capacity) * m_elementSize && offset % m_elementSize == 0) {
        const uint32_t index = static_cast<uint32_t>(offset / m_elementSize);
        if (SIndexEntry* run = chunk->slots[index]) {
          chunk->list.Free(run);
          chunk->slots[index] = nullptr;
          pointer = nullptr;
          return true;
        }
      }
    }
    return DeleteElementsSearching(pointer);
  }
  void DeleteAllElements();

  virtual void ConstructElement(void* element) = 0;
  virtual void DestroyElement(void* element) = 0;

 private:
  void* NewElementsSearching(uint32_t count);
  bool DeleteElementsSearching(void*& pointer);
  SAllocChunk* AddChunk(uint32_t frameBytes);
  void* TakeRun(SAllocChunk* chunk, uint32_t count);
  void FreeRun(SAllocChunk* chunk, uint32_t index);

  char m_heapName[kHeapNameMax + 1];
  char m_name[kHeapNameMax + 1];
  uint32_t m_frameSize;
  uint32_t m_elementSize;
  bool m_construct;
  bool m_returnsFrames;
  bool m_plain = false;  // neither a lock nor construction: the inline paths apply
  SAllocChunk* m_chunks = nullptr;
  CRecursiveLock* m_lock = nullptr;
};

template <class _D>
class CAllocator : public CAllocatorBase {
 public:
  // construct applies to default-constructible element types only.
  CAllocator(const char* heapName, const char* name, uint32_t frameSize,
             uint32_t elementSize = sizeof(_D), bool returnsFrames = true, bool construct = true,
             bool lock = false)
      : CAllocatorBase(heapName, name, frameSize, elementSize, returnsFrames,
                       construct && std::is_default_constructible_v<_D>, lock) {}

  // The address of count consecutive elements, elementSize bytes apart.
  virtual _D* New(uint32_t count = 1) { return static_cast<_D*>(NewElements(count)); }
  // True when the run at pointer was one of this allocator's; sets it null.
  virtual bool Delete(_D*& pointer) {
    void* raw = pointer;
    const bool deleted = DeleteElements(raw);
    pointer = static_cast<_D*>(raw);
    return deleted;
  }
  virtual void DeleteAll() { DeleteAllElements(); }

 protected:
  void ConstructElement(void* element) override {
    if constexpr (std::is_default_constructible_v<_D>) new (element) _D();
  }
  void DestroyElement(void* element) override { static_cast<_D*>(element)->~_D(); }
};

}  // namespace tam
