// win32_mutex.h (platform): unnamed mutex objects with Win32 semantics for the
// foundation library's locks. Like a Win32 mutex, the owning thread may wait on
// it again; every successful wait needs its own release.
#pragma once
#include <cstdint>

namespace win32 {

using HANDLE = void*;

constexpr uint32_t INFINITE = 0xFFFFFFFFu;
constexpr uint32_t WAIT_OBJECT_0 = 0x000u;
constexpr uint32_t WAIT_TIMEOUT = 0x102u;
constexpr uint32_t WAIT_FAILED = 0xFFFFFFFFu;

// A new unnamed mutex, owned by the calling thread when initialOwner is set.
HANDLE CreateMutex(bool initialOwner);
// Waits for the mutex at most milliseconds (INFINITE: no limit); gives
// WAIT_OBJECT_0 once it is owned, WAIT_TIMEOUT, or WAIT_FAILED for no handle.
uint32_t WaitForSingleObject(HANDLE mutex, uint32_t milliseconds);
// Gives up one level of ownership.
bool ReleaseMutex(HANDLE mutex);
// Destroys the mutex; it must not be owned.
bool CloseHandle(HANDLE mutex);

// The calling thread's system id, never 0.
uint32_t GetCurrentThreadId();

}  // namespace win32
