// lock.cpp: the foundation locks over the platform's mutex objects.
#include "foundation/lock.h"

#include "platform/win32_mutex.h"

namespace tam {

CMutex::CMutex() : m_handle(win32::CreateMutex(false)) {}
CMutex::~CMutex() { win32::CloseHandle(m_handle); }
void CMutex::Lock() { win32::WaitForSingleObject(m_handle, win32::INFINITE); }
void CMutex::Unlock() { win32::ReleaseMutex(m_handle); }

void CRecursiveLock::Lock() {
  const uint32_t self = win32::GetCurrentThreadId();
  if (m_owner.load(std::memory_order_relaxed) == self) {
    ++m_depth;
    return;
  }
  m_mutex.Lock();
  m_owner.store(self, std::memory_order_relaxed);
  m_depth = 1;
}

void CRecursiveLock::Unlock() {
  if (--m_depth != 0) return;
  m_owner.store(0, std::memory_order_relaxed);
  m_mutex.Unlock();
}

}  // namespace tam
