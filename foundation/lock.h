// lock.h (foundation): the locks of the foundation library. CMutex is a plain
// mutex object with waits without time limit; CRecursiveLock counts the depth
// of its owner thread over it, so the owner may take it again and only the
// last release gives the mutex up.
#pragma once
#include <atomic>
#include <cstdint>

namespace tam {

class CMutex {
 public:
  CMutex();
  ~CMutex();
  CMutex(const CMutex&) = delete;
  CMutex& operator=(const CMutex&) = delete;

  void Lock();
  void Unlock();

 private:
  void* m_handle;
};

class CRecursiveLock {
 public:
  CRecursiveLock() = default;
  CRecursiveLock(const CRecursiveLock&) = delete;
  CRecursiveLock& operator=(const CRecursiveLock&) = delete;

  void Lock();
  void Unlock();

  uint32_t Owner() const { return m_owner.load(std::memory_order_relaxed); }  // 0: none
  uint32_t Depth() const { return m_depth; }

 private:
  CMutex m_mutex;
  std::atomic<uint32_t> m_owner{0};
  uint32_t m_depth = 0;
};

// Holds a lock for a scope; a null lock is not taken.
template <class Lock>
class CLockGuard {
 public:
  explicit CLockGuard(Lock* lock) : m_lock(lock) {
    if (m_lock) m_lock->Lock();
  }
  ~CLockGuard() {
    if (m_lock) m_lock->Unlock();
  }
  CLockGuard(const CLockGuard&) = delete;
  CLockGuard& operator=(const CLockGuard&) = delete;

 private:
  Lock* m_lock;
};

}  // namespace tam
