// string_alloc.h (foundation): the pooled storage of the foundation strings.
// Storage comes in 64-byte units from 1 MiB frames of the heap "default", one
// index list of 16384 units per frame; strings above 1 MiB take system memory.
// Chunks are tried from the newest; the pool remembers the newest chunk that
// has any free unit, so that a request skips the full chunks in front of it
// without touching them.
//
// Alloc and Free take the pool's mutex. A thread that has many strings to
// make or drop in a row holds the pool with a CStringHold: it takes the
// mutex once, and that thread's Alloc and Free inside the hold skip it
// (other threads still wait for the mutex).
#pragma once
#include <atomic>
#include <cstdint>
#include <thread>

#include "foundation/index_list.h"
#include "foundation/lifecycle.h"
#include "foundation/lock.h"

namespace tam {

class CString;

constexpr uint32_t kStringUnit = 64;
constexpr uint32_t kStringChunkBytes = 0x100000;
constexpr uint32_t kStringChunkUnits = kStringChunkBytes / kStringUnit;  // 16384

class CStringAlloc {
 public:
  // Takes the first chunk from the heap "default" of mgr.
  explicit CStringAlloc(CMemMgr& mgr);
  ~CStringAlloc();
  CStringAlloc(const CStringAlloc&) = delete;
  CStringAlloc& operator=(const CStringAlloc&) = delete;

  // Gives the string zero-filled storage of at least needed bytes; keeps the
  // storage it has when that is large enough, else its content is lost. After
  // an ignored out-of-memory report the string has no storage.
  void Alloc(CString& string, uint32_t needed);
  // Gives the string's storage back.
  void Free(CString& string);

  uint32_t ChunkCount() const;
  // Bytes of storage given to strings since the pool was built (each taking
  // zero-fills its bytes): a measure of the work strings cost.
  uint64_t BytesTaken() const { return m_bytesTaken.load(std::memory_order_relaxed); }

 private:
  friend class CStringHold;

  // A chunk is the index list of its units; a pooled string's handle leads
  // to its chunk through the entry's owner.
  struct SChunk : CIndexList {
    CStringAlloc* pool;
    uint32_t age;        // creation order: a newer chunk has a larger age
    SFrame* frame;
    char* base;
    SChunk* next;
  };
  SChunk* AddChunk();
  // After units were taken from or given back to chunk.
  void NoteTaken(SChunk* chunk);
  void NoteFreed(SChunk* chunk);
  // The mutex to take for an Alloc or Free: none inside this thread's hold.
  CMutex* MutexToTake() {
    return m_holder.load(std::memory_order_relaxed) == std::this_thread::get_id() ? nullptr : &m_mutex;
  }

  CMemMgr& m_mgr;
  SChunk* m_chunks = nullptr;   // newest first
  SChunk* m_open = nullptr;     // newest chunk with a free unit; newer ones have none
  uint32_t m_ages = 0;
  CMutex m_mutex;
  std::atomic<std::thread::id> m_holder{};   // the thread inside a hold, set under the mutex
  uint32_t m_holdDepth = 0;
  std::atomic<uint64_t> m_bytesTaken{0};   // written under the mutex only
};

// Holds a pool's mutex for its scope (nested holds of one thread count).
class CStringHold {
 public:
  explicit CStringHold(CStringAlloc& pool);
  ~CStringHold();
  CStringHold(const CStringHold&) = delete;
  CStringHold& operator=(const CStringHold&) = delete;

 private:
  CStringAlloc& m_pool;
};

// The module's string allocator, built by the first foundation user.
CStringAlloc& StringAlloc();

}  // namespace tam
