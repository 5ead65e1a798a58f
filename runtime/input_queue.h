// input_queue.h: CGUI_InputQueue, the fixed ring of 32-bit event words that the
// input calls append to and GUI_Update drains. Bits 0-15 hold the type, 16-31
// the payload. At most capacity - 1 events are pending; appending to a full
// queue discards everything pending and keeps only the new event.
#pragma once
#include <cstdint>

enum : uint32_t {
  GUI_EVENT_COMPOSITION = 1,   // bits 24-31 lead byte, 16-23 trail byte
  GUI_EVENT_KEYDOWN = 2,       // bits 16-31 virtual-key code
  GUI_EVENT_CHAR = 3,          // bits 16-23 the character byte
  GUI_EVENT_MOUSEBUTTON = 4,   // bit 16 left pressed, bit 17 left released
};

class CGUI_InputQueue {
 public:
  static constexpr int kCapacity = 1024;

  constexpr CGUI_InputQueue() = default;
  CGUI_InputQueue(const CGUI_InputQueue&) = delete;
  CGUI_InputQueue& operator=(const CGUI_InputQueue&) = delete;

  void Append(uint32_t word);
  bool IsEmpty() const { return (read_ + 1) % capacity_ == write_; }
  // Takes the next pending word; false when the queue is empty.
  bool Take(uint32_t& word);
  void Flush();

  int PendingCount() const { return (write_ - read_ - 1 + capacity_) % capacity_; }
  int WriteIndex() const { return write_; }
  int ReadIndex() const { return read_; }

 private:
  int capacity_ = kCapacity;
  uint32_t buffer_[kCapacity] = {};
  int write_ = 0;                  // slot of the next event
  int read_ = kCapacity - 1;       // slot of the event consumed last
};

// The module's queue: it lives from load to unload, a restart of the module
// (GUI_Release, GUI_Initialize) keeps what is pending.
CGUI_InputQueue& InputQueue();

inline uint32_t MakeCompositionWord(char lead, char trail) {
  return GUI_EVENT_COMPOSITION | (uint32_t(uint8_t(lead)) << 24) | (uint32_t(uint8_t(trail)) << 16);
}
inline uint32_t MakeKeyWord(int key) { return GUI_EVENT_KEYDOWN | (uint32_t(key) << 16); }
inline uint32_t MakeCharWord(char ch) {
  // The byte is sign-extended into bits 24-31, which the reader ignores.
  return GUI_EVENT_CHAR | (uint32_t(int32_t(int8_t(ch))) << 16);
}
constexpr uint32_t kLButtonDownWord = 0x00010004;
constexpr uint32_t kLButtonUpWord = 0x00020004;
