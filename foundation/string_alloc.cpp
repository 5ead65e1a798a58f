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
    chunk->list.Destroy();
    m_mgr.ReleaseFrame(chunk->frame);
    delete chunk;
  }
}

// A chunk over a new frame of the heap "default", chained in front.
CStringAlloc::SChunk* CStringAlloc::AddChunk() {
  SFrame* frame = m_mgr.CreateFrame("default", kStringChunkBytes);
  if (!frame) return nullptr;
  auto* chunk = new SChunk{{}, frame, static_cast<char*>(m_mgr.FrameBase(frame)), m_chunks};
  if (!chunk->list.Create(kStringChunkUnits)) {
    m_mgr.ReleaseFrame(frame);
    delete chunk;
    return nullptr;
  }
  m_chunks = chunk;
  return chunk;
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
    string.m_ownsSystemMemory = true;
    return;
  }

  uint32_t units = (needed + kStringUnit - 1) / kStringUnit;
  if (units == 0) units = 1;
  CLockGuard<CMutex> guard(&m_mutex);
  SChunk* chunk = m_chunks;
  SIndexEntry* run = nullptr;
  while (chunk && !(run = chunk->list.Alloc(units))) chunk = chunk->next;
  if (!run) {
    chunk = AddChunk();
    if (!chunk) {
      TAM_REPORT("CStringAlloc::Alloc()", "out of memory", "tamString", 169);
      return;
    }
    run = chunk->list.Alloc(units);
    if (!run) return;
  }
  string.m_handle = run;
  string.m_data = chunk->base + static_cast<size_t>(chunk->list.IndexOf(run)) * kStringUnit;
  string.m_capacity = units * kStringUnit;
  std::memset(string.m_data, 0, string.m_capacity);
}

void CStringAlloc::Free(CString& string) {
  if (!string.m_data) return;
  string.m_capacity = 0;
  string.m_length = 0;
  if (string.m_ownsSystemMemory) {
    std::free(string.m_data);
    string.m_ownsSystemMemory = false;
  } else {
    CLockGuard<CMutex> guard(&m_mutex);
    string.m_handle->owner->Free(string.m_handle);
    string.m_handle = nullptr;
  }
  string.m_data = nullptr;
}

}  // namespace tam
