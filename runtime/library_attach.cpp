// library_attach.cpp: the module's attach hook. When the library is loaded it
// hands the profiling library the process handle, once.
#include <unistd.h>

#include <cstdint>

#include "host/yprofile.h"

namespace {
// A constructor runs once per load of the library.
__attribute__((constructor)) void OnLibraryAttach() {
  QBN_Initialize(reinterpret_cast<void*>(static_cast<intptr_t>(getpid())));
}
}  // namespace
