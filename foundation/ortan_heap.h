// ortan_heap.h (foundation): the heap "Ortan" of the script parser's node
// allocators. Every unit that includes this header holds one count (nifty
// counter, like the foundation's own): the first count creates the heap of
// 0x80000 bytes, the last one destroys it. A COrtanHeapUser object may also
// hold a count for a scope.
#pragma once
#include "foundation/lifecycle.h"

namespace tam {

constexpr const char* kOrtanHeap = "Ortan";

class COrtanHeapUser {
 public:
  COrtanHeapUser();
  ~COrtanHeapUser();
  COrtanHeapUser(const COrtanHeapUser&) = delete;
  COrtanHeapUser& operator=(const COrtanHeapUser&) = delete;
};

static COrtanHeapUser s_ortanHeapUser;

}  // namespace tam
