// string_alloc.cpp: units, chunks and system storage of the strings.
#include "foundation/string_alloc.h"

#include <cstdlib>
#include <cstring>

#include "foundation/report.h"
#include "foundation/string.h"

namespace tam {

CStringAlloc::CStringAlloc(CMemMgr& mgr) : m_mgr(mgr) {
  if (!AddChunk())
    TAM_REPORT("CStringAlloc::CStringAlloc()", "unknown error occured (overflow?)", "tamString", 43);
}

CStringAlloc::~CStringAlloc() {
  CLockGuard<CMutex> guard(&m_mutex);
  while (m_chunks) {
    SChunk* chunk = m_chunks;
    m_chunks = chunk->next;
    chunk->Destroy();
    m_mgr.ReleaseFrame(chunk->frame);
    delete chunk;
  }
  m_open = nullptr;
}

// A chunk over a new frame of the heap "default", chained in front.
CStringAlloc::SChunk* CStringAlloc::AddChunk() {
  SFrame* frame = m_mgr.CreateFrame("default", kStringChunkBytes);
  if (!frame) return nullptr;
  auto* chunk = new SChunk{{}, this, ++m_ages, frame, static_cast<char*>(m_mgr.FrameBase(frame)), m_chunks};
  if (!chunk->Create(kStringChunkUnits)) {
    m_mgr.ReleaseFrame(frame);
    delete chunk;
    return nullptr;
  }
  m_chunks = chunk;
  m_open = chunk;
  return chunk;
}

void CStringAlloc::NoteTaken(SChunk* chunk) {
  if (chunk != m_open) return;
  while (m_open && m_open->FreeCount() == 0) m_open = m_open->next;
}

void CStringAlloc::NoteFreed(SChunk* chunk) {
  if (!m_open || chunk->age > m_open->age) m_open = chunk;
}

uint32_t CStringAlloc::ChunkCount() const {
  uint32_t count = 0;
  for (SChunk* chunk = m_chunks; chunk; chunk = chunk->next) ++count;
  return count;
}

void CStringAlloc::Alloc(CString& string, uint32_t needed) {
  if (string.m_capacity != 0 && string.m_capacity >= needed) return;
  Free(string);

  if (needed > kStringChunkBytes) {
    string.m_data = static_cast<char*>(std::calloc(needed, 1));
    if (!string.m_data) {
      TAM_REPORT("CStringAlloc::Alloc()", "out of memory", "tamString", 169);
      return;
    }
    string.m_capacity = needed;
    CLockGuard<CMutex> guard(MutexToTake());
    m_bytesTaken.store(m_bytesTaken.load(std::memory_order_relaxed) + needed, std::memory_order_relaxed);
    return;
  }

  uint32_t units = (needed + kStringUnit - 1) / kStringUnit;
  if (units == 0) units = 1;
  CLockGuard<CMutex> guard(MutexToTake());
  SChunk* chunk = m_open;
  SIndexEntry* run = nullptr;
  while (chunk && !(run = chunk->Alloc(units))) chunk = chunk->next;
  if (!run) {
    chunk = AddChunk();
    if (!chunk) {
      TAM_REPORT("CStringAlloc::Alloc()", "out of memory", "tamString", 169);
      return;
    }
    run = chunk->Alloc(units);
    if (!run) return;
  }
  NoteTaken(chunk);
  string.m_handle = run;
  string.m_data = chunk->base + static_cast<size_t>(chunk->IndexOf(run)) * kStringUnit;
  string.m_capacity = units * kStringUnit;
  if (units == 1) std::memset(string.m_data, 0, kStringUnit);   // the common case, inline
  else std::memset(string.m_data, 0, string.m_capacity);
  // Under the mutex (or this thread's hold): no other writer.
  m_bytesTaken.store(m_bytesTaken.load(std::memory_order_relaxed) + string.m_capacity,
                     std::memory_order_relaxed);
}

void CStringAlloc::Free(CString& string) {
  if (!string.m_data) return;
  string.m_capacity = 0;
  string.m_length = 0;
  if (string.OwnsSystemMemory()) {
    std::free(string.m_data);
  } else {
    // Given back to the pool that owns the chunk.
    auto* chunk = static_cast<SChunk*>(string.m_handle->owner);
    CStringAlloc& pool = *chunk->pool;
    CLockGuard<CMutex> guard(pool.MutexToTake());
    chunk->Free(string.m_handle);
    pool.NoteFreed(chunk);
    string.m_handle = nullptr;
  }
  string.m_data = nullptr;
}

// ---------------------------------------------------------------------------
// Holds
// ---------------------------------------------------------------------------

CStringHold::CStringHold(CStringAlloc& pool) : m_pool(pool) {
  if (!pool.MutexToTake()) {
    ++pool.m_holdDepth;
    return;
  }
  pool.m_mutex.Lock();
  pool.m_holder.store(std::this_thread::get_id(), std::memory_order_relaxed);
  pool.m_holdDepth = 1;
}

CStringHold::~CStringHold() {
  if (--m_pool.m_holdDepth != 0) return;
  m_pool.m_holder.store(std::thread::id(), std::memory_order_relaxed);
  m_pool.m_mutex.Unlock();
}

}  // namespace tam
