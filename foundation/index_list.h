// index_list.h (foundation): the index list of an allocator chunk or a string
// pool chunk: one entry per element, the free runs linked in index order
// through 16-bit indexes (kNoIndex = none). Runs are taken first fit and
// merged with both neighbours when given back. The entries live in one frame
// of the heap "default".
//
// Beside the entries a two-level bitmap marks the first entry of every free
// run, so that a release finds the free run before it with a few word
// operations instead of walking the free list from its head: releases in any
// order cost the same however fragmented the list is.
#pragma once
#include <cstdint>
#include <vector>

#include "foundation/mem_mgr.h"

namespace tam {

constexpr uint16_t kNoIndex = 65535;
constexpr uint32_t kIndexListMax = 65534;  // capacities stay below kNoIndex

class CIndexList;

struct SIndexEntry {
  CIndexList* owner;
  uint16_t prev;    // previous free run
  uint16_t next;    // next free run
  uint16_t length;  // run length at the first entry of a run, else 0
};

class CIndexList {
 public:
  CIndexList() = default;
  ~CIndexList() { Destroy(); }
  CIndexList(const CIndexList&) = delete;
  CIndexList& operator=(const CIndexList&) = delete;

  // Takes the entries from the heap "default" and makes one free run of the
  // whole capacity; false when the capacity is 0 or too large, or there is no
  // memory.
  bool Create(uint32_t capacity);
  // Gives the entries back.
  void Destroy();

  // The first entry of a run of count free entries (first fit), or null.
  SIndexEntry* Alloc(uint32_t count) {
    // A single entry is the first of the head run. When the head run is
    // longer, its rest becomes the head and the start bit moves by one
    // within its word.
    const uint16_t i = m_head;
    if (count <= 1 && i != kNoIndex && m_entries[i].length > 1 && i % 64 != 63) {
      SIndexEntry& run = m_entries[i];
      SIndexEntry& rest = m_entries[i + 1];
      rest.length = static_cast<uint16_t>(run.length - 1);
      rest.prev = kNoIndex;
      rest.next = run.next;
      if (run.next != kNoIndex) m_entries[run.next].prev = static_cast<uint16_t>(i + 1);
      m_starts[i / 64] ^= uint64_t{3} << (i % 64);
      m_head = static_cast<uint16_t>(i + 1);
      run.length = 1;
      run.next = kNoIndex;   // the head has no previous run
      --m_freeCount;
      return &run;
    }
    return AllocFirstFit(count);
  }
  // Gives back the run that starts at entry.
  void Free(SIndexEntry* entry) {
    // Two common cases: the run ends where the head starts (the head joins
    // it and it becomes the head: releases in reverse order), or the free
    // run that the last release made or grew ends where this run starts and
    // its successor does not follow on (it takes this run: releases in
    // order). A free run that ends where this one starts is the last free
    // run before it.
    const uint16_t index = IndexOf(entry);
    const uint16_t head = m_head;
    if (head != kNoIndex && index + entry->length == head && index / 64 == head / 64) {
      SIndexEntry& h = m_entries[head];
      m_freeCount += entry->length;
      entry->length = static_cast<uint16_t>(entry->length + h.length);
      entry->next = h.next;
      if (h.next != kNoIndex) m_entries[h.next].prev = index;
      h.prev = h.next = kNoIndex;
      h.length = 0;
      m_starts[index / 64] ^= uint64_t{1} << (index % 64) | uint64_t{1} << (head % 64);
      m_head = index;
      m_lastFreed = index;
      return;
    }
    const uint16_t last = m_lastFreed;
    if (last < index && (m_starts[last / 64] >> (last % 64) & 1u)) {
      SIndexEntry& run = m_entries[last];
      if (last + run.length == index && (run.next == kNoIndex || index + entry->length != run.next)) {
        m_freeCount += entry->length;
        run.length = static_cast<uint16_t>(run.length + entry->length);
        entry->length = 0;
        return;
      }
    }
    FreeRun(entry);
  }

  uint32_t Capacity() const { return m_capacity; }
  // Entries in free runs.
  uint32_t FreeCount() const { return m_freeCount; }
  uint16_t Head() const { return m_head; }
  uint16_t IndexOf(const SIndexEntry* entry) const { return static_cast<uint16_t>(entry - m_entries); }
  const SIndexEntry& Entry(uint32_t index) const { return m_entries[index]; }

 private:
  SIndexEntry* AllocFirstFit(uint32_t count);
  void FreeRun(SIndexEntry* entry);
  void Clear(uint16_t index);
  // The bitmap of free-run starts.
  void MarkRunStart(uint16_t index);
  void UnmarkRunStart(uint16_t index);
  // A free run that started at from starts at to (from is marked, to is not).
  void MoveRunStart(uint16_t from, uint16_t to);
  // The last free run that starts before index, or kNoIndex.
  uint16_t RunStartBefore(uint16_t index) const;

  SFrame* m_frame = nullptr;
  SIndexEntry* m_entries = nullptr;
  uint32_t m_capacity = 0;
  uint32_t m_freeCount = 0;
  uint16_t m_head = kNoIndex;
  uint16_t m_lastFreed = kNoIndex;   // the free run the last release made or grew
  std::vector<uint64_t> m_starts;    // bit i: a free run starts at entry i
  std::vector<uint64_t> m_summary;   // bit w: word w of m_starts is not zero
};

}  // namespace tam
