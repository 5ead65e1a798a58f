// typewriter_list.cpp: the typewriter reveal of a list's rows.
#include "menus/typewriter_list.h"

#include <cstring>
#include <string>
#include <vector>

#include "host/host_services.h"
#include "menus/line_wrapper.h"

namespace {

void Unpack(uint32_t argb, int out[4]) {
  out[0] = int(argb >> 16 & 255);
  out[1] = int(argb >> 8 & 255);
  out[2] = int(argb & 255);
  out[3] = int(argb >> 24 & 255);
}

}  // namespace

// ---- Reveal -----------------------------------------------------------------------------------

void CGUI_TypewriterList::Start(const SReveal& reveal) {
  reveal_ = reveal;
  Restart();
}

void CGUI_TypewriterList::Restart() {
  playing_ = true;
  line_ = 0;
  chars_ = 0;
  lastTick_ = dwY3DCurrentFrameTick;
}

void CGUI_TypewriterList::ShowTextFile(const char* path) {
  ResetContent();
  void* image = nullptr;
  uint32_t size = 0;
  if (!path || !GetFileImageInCFS(path, &image, &size)) return;
  std::vector<char> text(size + 1, '\0');
  if (image && size) std::memcpy(text.data(), image, size);
  ReleaseFileImage(image);
  WrapIntoList(this, nullptr, text.data(), 0);
  SetTopIndex(0);
  Start(SReveal());
}

bool CGUI_TypewriterList::OnUpdate() {
  if (playing_) SetTopIndex(line_ - GetVisibleRows() + 1);
  return true;
}

void CGUI_TypewriterList::Step(const std::string& text) {
  const int length = int(text.size());
  const uint32_t elapsed = dwY3DCurrentFrameTick - lastTick_;
  if (chars_ >= length) {
    if (elapsed > reveal_.pause) {
      lastTick_ = dwY3DCurrentFrameTick;
      chars_ = 0;
      ++line_;
    }
    return;
  }
  const int cps = reveal_.charsPerSecond > 0 ? reveal_.charsPerSecond : 1;
  if (elapsed <= uint32_t(1000 / cps)) return;
  lastTick_ = dwY3DCurrentFrameTick;
  chars_ += (static_cast<unsigned char>(text[size_t(chars_)]) & 0x80) ? 2 : 1;
  if (chars_ > length) chars_ = length;
  int sound;
  if (chars_ >= length) sound = reveal_.lineSound;
  else if (text[size_t(chars_)] == ' ') sound = reveal_.blankSound;
  else sound = reveal_.charSound;
  if (sound) PlaySoundA(sound);
}

bool CGUI_TypewriterList::DrawItem(int index, float rect[4], bool selected, bool /*hovered*/) {
  if (!playing_ || index > line_ || index < 0 || index >= GetCount()) return true;
  // The row being typed shows its first chars_ bytes; the buffer keeps its
  // capacity, so a frame copies without allocating.
  const std::string* text = &rows_[size_t(index)];
  if (index == line_) {
    Step(*text);
    if (index == line_) {
      typed_.assign(*text, 0, size_t(chars_));
      text = &typed_;
    }
  }
  if (text->empty()) return true;
  int color[4];
  uint32_t data = itemData_[size_t(index)];
  if (selected) std::memcpy(color, SelectedColor(), sizeof color);
  else if (data) Unpack(data, color);
  else std::memcpy(color, NormalColor(), sizeof color);
  const float place[4] = {rect[0] - region_[0], rect[1] - region_[1] + rect[3] * 0.5f, rect[2],
                          rect[3]};
  const int slot = index - topIndex_;
  return RowStatic()->DrawCaption(slot < visibleRows_ ? slot : -1, *text, place, color);
}
