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
  SIndexEntry* Alloc(uint32_t count);
  // Gives back the run that starts at entry.
  void Free(SIndexEntry* entry);

  uint32_t Capacity() const { return m_capacity; }
  // Entries in free runs.
  uint32_t FreeCount() const { return m_freeCount; }
  uint16_t Head() const { return m_head; }
  uint16_t IndexOf(const SIndexEntry* entry) const { return static_cast<uint16_t>(entry - m_entries); }
  const SIndexEntry& Entry(uint32_t index) const { return m_entries[index]; }

 private:
  void Clear(uint16_t index);
  // The bitmap of free-run starts.
  void MarkRunStart(uint16_t index);
  void UnmarkRunStart(uint16_t index);
  // The last free run that starts before index, or kNoIndex.
  uint16_t RunStartBefore(uint16_t index) const;

  SFrame* m_frame = nullptr;
  SIndexEntry* m_entries = nullptr;
  uint32_t m_capacity = 0;
  uint32_t m_freeCount = 0;
  uint16_t m_head = kNoIndex;
  std::vector<uint64_t> m_starts;    // bit i: a free run starts at entry i
  std::vector<uint64_t> m_summary;   // bit w: word w of m_starts is not zero
};

}  // namespace tam
