// ortan_heap.cpp: the counted creation and destruction of the heap "Ortan".
#include "foundation/ortan_heap.h"

#include "foundation/mem_mgr.h"

namespace tam {

namespace {
int g_ortanUsers = 0;
}  // namespace

COrtanHeapUser::COrtanHeapUser() {
  if (g_ortanUsers++ == 0) MemMgr().CreateHeap(kOrtanHeap, 0x80000);
}

COrtanHeapUser::~COrtanHeapUser() {
  if (--g_ortanUsers == 0) MemMgr().DestroyHeap(kOrtanHeap);
}

}  // namespace tam
