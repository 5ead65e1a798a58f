// lifecycle.cpp: the counted construction and destruction of the memory
// manager, the heap "default" and the string allocator. Their storage is
// static and raw, so no unit's static initialisation order matters.
#include "foundation/lifecycle.h"

#include <new>

#include "foundation/mem_mgr.h"
#include "foundation/string_alloc.h"

namespace tam {

namespace {
int g_users = 0;
alignas(CMemMgr) unsigned char g_memMgrStorage[sizeof(CMemMgr)];
alignas(CStringAlloc) unsigned char g_stringAllocStorage[sizeof(CStringAlloc)];
}  // namespace

CMemMgr& MemMgr() { return *std::launder(reinterpret_cast<CMemMgr*>(g_memMgrStorage)); }

CStringAlloc& StringAlloc() {
  return *std::launder(reinterpret_cast<CStringAlloc*>(g_stringAllocStorage));
}

CFoundationUser::CFoundationUser() {
  if (g_users++ != 0) return;
  new (g_memMgrStorage) CMemMgr();
  MemMgr().CreateHeap("default", 0x80000);
  new (g_stringAllocStorage) CStringAlloc(MemMgr());
}

CFoundationUser::~CFoundationUser() {
  if (--g_users != 0) return;
  StringAlloc().~CStringAlloc();
  MemMgr().DestroyHeap("default");
  MemMgr().~CMemMgr();
}

}  // namespace tam
