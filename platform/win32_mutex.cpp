// win32_mutex.cpp: Win32-style mutex objects over the standard library's
// recursive timed mutex, and thread ids from the kernel.
#include "platform/win32_mutex.h"

#include <sys/syscall.h>
#include <unistd.h>

#include <chrono>
#include <mutex>

namespace win32 {

namespace {
std::recursive_timed_mutex* AsMutex(HANDLE handle) {
  return static_cast<std::recursive_timed_mutex*>(handle);
}
}  // namespace

HANDLE CreateMutex(bool initialOwner) {
  auto* mutex = new std::recursive_timed_mutex;
  if (initialOwner) mutex->lock();
  return mutex;
}

uint32_t WaitForSingleObject(HANDLE handle, uint32_t milliseconds) {
  if (!handle) return WAIT_FAILED;
  if (milliseconds == INFINITE) {
    AsMutex(handle)->lock();
    return WAIT_OBJECT_0;
  }
  return AsMutex(handle)->try_lock_for(std::chrono::milliseconds(milliseconds)) ? WAIT_OBJECT_0
                                                                                : WAIT_TIMEOUT;
}

bool ReleaseMutex(HANDLE handle) {
  if (!handle) return false;
  AsMutex(handle)->unlock();
  return true;
}

bool CloseHandle(HANDLE handle) {
  if (!handle) return false;
  delete AsMutex(handle);
  return true;
}

uint32_t GetCurrentThreadId() { return static_cast<uint32_t>(syscall(SYS_gettid)); }

}  // namespace win32
