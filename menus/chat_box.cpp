// chat_box.cpp: drawing a chat row in its own colour.
#include "menus/chat_box.h"

bool CGUI_ChatBox::DrawItem(int index, float rect[4], bool /*selected*/, bool hovered) {
  uint32_t argb = 0;
  if (!GetItemData(index, argb) || argb == 0)
    return CGUI_GameList::DrawItem(index, rect, false, hovered);
  const int color[4] = {int(argb >> 16 & 255), int(argb >> 8 & 255), int(argb & 255),
                        int(argb >> 24 & 255)};
  const float place[4] = {rect[0] - region_[0], rect[1] - region_[1] + rect[3] * 0.5f, rect[2],
                          rect[3]};
  const int slot = index - topIndex_;
  return RowStatic()->DrawCaption(slot < visibleRows_ ? slot : -1, rows_[size_t(index)], place,
                                  color, RowKey(index));
}
