// input_queue.cpp: the ring buffer's append, take and flush.
#include "runtime/input_queue.h"

void CGUI_InputQueue::Append(uint32_t word) {
  if (write_ == read_) {
    // Full: drop every pending event, keep only this one.
    write_ = 0;
    read_ = capacity_ - 1;
  }
  buffer_[write_] = word;
  write_ = (write_ + 1) % capacity_;
}

bool CGUI_InputQueue::Take(uint32_t& word) {
  if (IsEmpty()) return false;
  read_ = (read_ + 1) % capacity_;
  word = buffer_[read_];
  return true;
}

void CGUI_InputQueue::Flush() {
  write_ = 0;
  read_ = capacity_ - 1;
}
