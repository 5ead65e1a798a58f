// parse_stack.h: the chunked stacks of the parser. A chunk holds 1024 entries;
// a push onto a full chunk links a new chunk in front, a pop of a chunk's last
// entry returns the chunk when it has a predecessor. Chunks come from a named
// allocator, never from the general-purpose heap.
#pragma once
#include <cstdint>

#include "foundation/allocator.h"

template <class Entry>
class TParseStack {
 public:
  static constexpr uint32_t kChunkEntries = 1024;
  struct SChunk {
    Entry entries[kChunkEntries];
    uint32_t fill;
    SChunk* previous;
  };

  TParseStack()
      : allocator_("default", "Stack Allocator", 0x20000, sizeof(SChunk), true, false, false) {}
  ~TParseStack() { Release(); }
  TParseStack(const TParseStack&) = delete;
  TParseStack& operator=(const TParseStack&) = delete;

  void Push(Entry e) {
    if (!top_ || top_->fill == kChunkEntries) {
      SChunk* chunk = allocator_.New(1);
      chunk->fill = 0;
      chunk->previous = top_;
      top_ = chunk;
    }
    top_->entries[top_->fill++] = e;
  }

  // False on an empty stack.
  bool Pop(Entry* e) {
    if (!top_ || top_->fill == 0) return false;
    *e = top_->entries[--top_->fill];
    if (top_->fill == 0 && top_->previous) {
      SChunk* empty = top_;
      top_ = top_->previous;
      allocator_.Delete(empty);
    }
    return true;
  }

  // n calls of Pop, storing the entries from out[n - 1] down to out[0], so
  // that out holds them in the order they were pushed: within one chunk a
  // block copy. An entry the stack does not have leaves its slot as it was.
  void PopInto(uint32_t n, Entry* out) {
    if (top_ && top_->fill > n) {
      top_->fill -= n;
      const Entry* from = top_->entries + top_->fill;
      for (uint32_t i = 0; i < n; ++i) out[i] = from[i];
      return;
    }
    for (uint32_t i = n; i > 0; --i) Pop(&out[i - 1]);
  }

  // n calls of Pop into *last: it ends with the deepest entry popped.
  void PopN(uint32_t n, Entry* last) {
    if (n != 0 && top_ && top_->fill > n) {
      top_->fill -= n;
      *last = top_->entries[top_->fill];
      return;
    }
    for (uint32_t i = 0; i < n; ++i) Pop(last);
  }

  bool Empty() const { return !top_ || top_->fill == 0; }

  // Drops every chunk but the first and empties it.
  void Clear() {
    while (top_ && top_->previous) {
      SChunk* chunk = top_;
      top_ = top_->previous;
      allocator_.Delete(chunk);
    }
    if (top_) top_->fill = 0;
  }

  // Returns every chunk.
  void Release() {
    while (top_) {
      SChunk* chunk = top_;
      top_ = top_->previous;
      allocator_.Delete(chunk);
    }
  }

  // Visits every entry (bottom chunks last).
  template <class F>
  void ForEach(F f) const {
    for (SChunk* c = top_; c; c = c->previous)
      for (uint32_t i = 0; i < c->fill; ++i) f(c->entries[i]);
  }

  int ChunkCount() const {
    int n = 0;
    for (SChunk* c = top_; c; c = c->previous) ++n;
    return n;
  }

 private:
  tam::CAllocator<SChunk> allocator_;
  SChunk* top_ = nullptr;
};
