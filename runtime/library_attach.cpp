// library_attach.cpp: the module's attach hook. When the library is loaded it
// hands the profiling library the process handle, once.
#include <unistd.h>

#include <cstdint>

#include "host/yprofile.h"

namespace {
bool g_attached = false;

__attribute__((constructor)) void OnLibraryAttach() {
  if (g_attached) return;
  g_attached = true;
  QBN_Initialize(reinterpret_cast<void*>(static_cast<intptr_t>(getpid())));
}
}  // namespace
