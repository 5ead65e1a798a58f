// index_list.cpp: first-fit runs and merging release over the entry array.
#include "foundation/index_list.h"

#include <bit>

namespace tam {

// ---------------------------------------------------------------------------
// Life of the list
// ---------------------------------------------------------------------------

bool CIndexList::Create(uint32_t capacity) {
  Destroy();
  if (capacity == 0 || capacity > kIndexListMax) return false;
  m_frame = MemMgr().CreateFrame("default", capacity * static_cast<uint32_t>(sizeof(SIndexEntry)));
  if (!m_frame) return false;
  m_entries = static_cast<SIndexEntry*>(MemMgr().FrameBase(m_frame));
  m_capacity = capacity;
  for (uint32_t i = 0; i < capacity; ++i) m_entries[i] = SIndexEntry{this, kNoIndex, kNoIndex, 0};
  m_entries[0].length = static_cast<uint16_t>(capacity);
  m_head = 0;
  m_freeCount = capacity;
  const size_t words = (capacity + 63) / 64;
  m_starts.assign(words, 0);
  m_summary.assign((words + 63) / 64, 0);
  MarkRunStart(0);
  return true;
}

void CIndexList::Destroy() {
  if (m_frame) MemMgr().ReleaseFrame(m_frame);
  m_frame = nullptr;
  m_entries = nullptr;
  m_capacity = 0;
  m_freeCount = 0;
  m_head = kNoIndex;
  m_lastFreed = kNoIndex;
  m_starts.clear();
  m_summary.clear();
}

void CIndexList::Clear(uint16_t index) {
  m_entries[index].prev = m_entries[index].next = kNoIndex;
  m_entries[index].length = 0;
}

// ---------------------------------------------------------------------------
// Free-run starts
// ---------------------------------------------------------------------------

void CIndexList::MarkRunStart(uint16_t index) {
  m_starts[index / 64] |= uint64_t{1} << (index % 64);
  m_summary[index / 4096] |= uint64_t{1} << (index / 64 % 64);
}

void CIndexList::UnmarkRunStart(uint16_t index) {
  uint64_t& word = m_starts[index / 64];
  word &= ~(uint64_t{1} << (index % 64));
  if (word == 0) m_summary[index / 4096] &= ~(uint64_t{1} << (index / 64 % 64));
}

void CIndexList::MoveRunStart(uint16_t from, uint16_t to) {
  // Within one word the word stays non-zero and the summary as it is.
  if (from / 64 == to / 64) {
    m_starts[from / 64] ^= uint64_t{1} << (from % 64) | uint64_t{1} << (to % 64);
    return;
  }
  UnmarkRunStart(from);
  MarkRunStart(to);
}

uint16_t CIndexList::RunStartBefore(uint16_t index) const {
  const auto highest = [](uint64_t bits) { return static_cast<uint32_t>(std::bit_width(bits)) - 1; };
  const uint32_t word = index / 64;
  if (const uint64_t below = m_starts[word] & ((uint64_t{1} << (index % 64)) - 1))
    return static_cast<uint16_t>(word * 64 + highest(below));
  // The nearest non-empty word before this one, through the summary.
  uint32_t group = word / 64;
  uint64_t words = m_summary[group] & ((uint64_t{1} << (word % 64)) - 1);
  while (words == 0) {
    if (group == 0) return kNoIndex;
    words = m_summary[--group];
  }
  const uint32_t found = group * 64 + highest(words);
  return static_cast<uint16_t>(found * 64 + highest(m_starts[found]));
}

// ---------------------------------------------------------------------------
// Runs
// ---------------------------------------------------------------------------

SIndexEntry* CIndexList::AllocFirstFit(uint32_t count) {
  if (count == 0) count = 1;
  for (uint16_t i = m_head; i != kNoIndex; i = m_entries[i].next) {
    SIndexEntry& run = m_entries[i];
    if (run.length < count) continue;

    // The rest of a longer run takes the run's place in the free list.
    const uint16_t prev = run.prev, next = run.next;
    uint16_t replacement = next;
    if (run.length > count) {
      replacement = static_cast<uint16_t>(i + count);
      SIndexEntry& rest = m_entries[replacement];
      rest.length = static_cast<uint16_t>(run.length - count);
      rest.prev = prev;
      rest.next = next;
      if (next != kNoIndex) m_entries[next].prev = replacement;
      MoveRunStart(i, replacement);
    } else {
      if (next != kNoIndex) m_entries[next].prev = prev;
      UnmarkRunStart(i);
    }
    if (prev != kNoIndex) m_entries[prev].next = replacement;
    else m_head = replacement;

    run.length = static_cast<uint16_t>(count);
    run.prev = run.next = kNoIndex;
    m_freeCount -= count;
    return &run;
  }
  return nullptr;
}

void CIndexList::FreeRun(SIndexEntry* entry) {
  const uint16_t index = IndexOf(entry);
  m_freeCount += entry->length;
  // The free runs around this one. The head is the lowest free run: a run
  // given back below it has none before it. Other runs ask the bitmap.
  const uint16_t before = m_head == kNoIndex || m_head > index ? kNoIndex : RunStartBefore(index);
  uint16_t after = before != kNoIndex ? m_entries[before].next : m_head;

  // Absorb the following free run when this run ends where it starts.
  if (after != kNoIndex && index + entry->length == after) {
    entry->length = static_cast<uint16_t>(entry->length + m_entries[after].length);
    const uint16_t next = m_entries[after].next;
    UnmarkRunStart(after);
    Clear(after);
    after = next;
  }

  // The preceding free run absorbs this one when it ends where this begins.
  if (before != kNoIndex && before + m_entries[before].length == index) {
    m_entries[before].length = static_cast<uint16_t>(m_entries[before].length + entry->length);
    m_entries[before].next = after;
    if (after != kNoIndex) m_entries[after].prev = before;
    Clear(index);
    m_lastFreed = before;
    return;
  }
  m_lastFreed = index;
  MarkRunStart(index);
  entry->prev = before;
  entry->next = after;
  if (before != kNoIndex) m_entries[before].next = index;
  else m_head = index;
  if (after != kNoIndex) m_entries[after].prev = index;
}

}  // namespace tam
