// lifecycle.h (foundation): the static life cycle of the foundation library.
// Every unit that includes this header holds one count for its lifetime
// (nifty counter): the first count builds the memory manager, its heap
// "default" of 0x80000 bytes and the string storage allocator; the last one
// takes them down in reverse order.
#pragma once

namespace tam {

class CFoundationUser {
 public:
  CFoundationUser();
  ~CFoundationUser();
  CFoundationUser(const CFoundationUser&) = delete;
  CFoundationUser& operator=(const CFoundationUser&) = delete;
};

// One count per including unit, constructed before the unit's own statics.
static CFoundationUser s_foundationUser;

}  // namespace tam
