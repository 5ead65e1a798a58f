// list.cpp: CGUI_List: rows, selection and scrolling rules, mouse and keys.
#include "runtime/list.h"

#include <algorithm>
#include <climits>

#include "runtime/key_codes.h"

namespace {
// Row arithmetic is done in 64 bits (visible rows may be anything up to the
// int range) and saturated back to int.
int Saturated(long long v) { return static_cast<int>(std::clamp<long long>(v, INT_MIN, INT_MAX)); }
}  // namespace

CGUI_List::CGUI_List() : CGUI_Control("LIST") {}

int CGUI_List::RowIndex(int i) const {
  const int count = static_cast<int>(rows_.size());
  if (i == -1) i = count - 1;
  return i >= 0 && i < count ? i : -1;
}

// ---- Selection and hover -------------------------------------------------------------

int CGUI_List::GetCurSel() { return selection_; }

bool CGUI_List::SetCurSel(int i) {
  const int count = GetCount();
  if (i != -1 && (i < 0 || i >= count)) return false;
  const int old = selection_;
  selection_ = i;
  if (i == -1) SetTopIndex(count - 1);   // no selection: show the end
  else if (i < topIndex_) SetTopIndex(Saturated(static_cast<long long>(i) - visibleRows_ + 1));
  else if (i >= static_cast<long long>(topIndex_) + visibleRows_) SetTopIndex(i);
  if (selection_ != old) OnSelChange();
  return true;
}

int CGUI_List::GetHover() { return hover_; }
bool CGUI_List::SetHover(int row) { hover_ = row; return true; }

// ---- Rows ------------------------------------------------------------------------------

int CGUI_List::GetCount() { return static_cast<int>(rows_.size()); }

int CGUI_List::AddString(const std::string& text) {
  ++rowsVersion_;
  if (selection_ == -1) {
    rows_.push_back(text);
    itemData_.push_back(0);
    return GetCount() - 1;
  }
  // The selected row moves down; the selection number stays.
  rows_.insert(rows_.begin() + selection_, text);
  itemData_.insert(itemData_.begin() + selection_, 0);
  return selection_;
}

bool CGUI_List::DeleteString(int i) {
  if (i < 0 || i >= GetCount()) return false;
  ++rowsVersion_;
  rows_.erase(rows_.begin() + i);
  itemData_.erase(itemData_.begin() + i);
  if (selection_ != -1 && selection_ >= i) SetCurSel(i - 1);
  return true;
}

bool CGUI_List::ResetContent() {
  ++rowsVersion_;
  rows_.clear();
  itemData_.clear();
  topIndex_ = 0;
  selection_ = -1;
  hover_ = -1;
  return true;
}

bool CGUI_List::GetText(int i, std::string& out) {
  const int row = RowIndex(i);
  if (row < 0) return false;
  out = rows_[row];
  return true;
}

bool CGUI_List::SetItemData(int i, uint32_t data) {
  const int row = RowIndex(i);
  if (row < 0) return false;
  itemData_[row] = data;
  return true;
}

bool CGUI_List::GetItemData(int i, uint32_t& out) {
  const int row = RowIndex(i);
  if (row < 0) return false;
  out = itemData_[row];
  return true;
}

// ---- Geometry and scrolling ----------------------------------------------------------------

bool CGUI_List::SetRowHeight(float h) {
  rowHeight_ = h;
  visibleRows_ = h > 0 ? static_cast<int>(region_[3] / h) : 0;
  return true;
}

float CGUI_List::GetRowHeight() { return rowHeight_; }

bool CGUI_List::SetVisibleRows(int n) {
  visibleRows_ = n;
  rowHeight_ = n > 0 ? region_[3] / n : 0;
  return true;
}

int CGUI_List::GetVisibleRows() { return visibleRows_; }

bool CGUI_List::SetTopIndex(int t) {
  t = std::max(t, 0);
  const int count = GetCount();
  topIndex_ = static_cast<long long>(visibleRows_) + t < count
                  ? t
                  : Saturated(std::max(static_cast<long long>(count) - visibleRows_, 0LL));
  return true;
}

int CGUI_List::GetTopIndex() { return topIndex_; }

bool CGUI_List::DrawItem(int, float[4], bool, bool) { return true; }
bool CGUI_List::OnSelChange() { return true; }

// ---- Events -------------------------------------------------------------------------------------

bool CGUI_List::OnKeyDown(int key) {
  switch (key) {
    case VK_PRIOR:
      SetTopIndex(Saturated(static_cast<long long>(topIndex_) - visibleRows_));
      SetCurSel(topIndex_);
      break;
    case VK_NEXT: {
      const long long t = static_cast<long long>(topIndex_) + visibleRows_;
      SetTopIndex(Saturated(t));
      SetCurSel(t >= GetCount() ? GetCount() - 1 : Saturated(t));
      break;
    }
    case VK_UP:
      if (selection_ > 0) SetCurSel(selection_ - 1);
      break;
    case VK_DOWN:
      if (selection_ != -1) SetCurSel(selection_ + 1);   // refused past the last row
      break;
    default:
      break;
  }
  return true;
}

bool CGUI_List::OnMouseLeave() {
  SetHover(-1);
  return CGUI_Control::OnMouseLeave();
}

bool CGUI_List::OnMouseMove(const float pt[2]) {
  CGUI_Control::OnMouseMove(pt);
  if (rowHeight_ == 0) return true;
  float corner[2];
  GetAlignedPos(corner, true);
  // Rows far outside the int range (a tiny row height) are outside the list.
  const float at = (pt[1] - corner[1]) / rowHeight_;
  if (!(at >= -2147483648.0f && at < 2147483648.0f)) return true;
  const int row = static_cast<int>(at);
  if (row >= 0 && row <= visibleRows_) SetHover(row);
  return true;
}

bool CGUI_List::OnLButtonDown() {
  if (hover_ != -1) SetCurSel(Saturated(static_cast<long long>(topIndex_) + hover_));
  return CGUI_Control::OnLButtonDown();
}

bool CGUI_List::OnDraw() {
  if (rowHeight_ == 0) return true;
  float rect[4];
  GetAlignedPos(rect, false);
  rect[2] = region_[2];
  rect[3] = rowHeight_;
  // The rows of the visible window that exist: the window may be far taller
  // than the list.
  const long long top = topIndex_;
  const long long first = std::max(top, 0LL);
  const long long end = std::min<long long>(GetCount(), top + std::max(visibleRows_, 0));
  for (long long index = first; index < end; ++index) {
    if (!DrawItem(static_cast<int>(index), rect, index == selection_, index - top == hover_)) return false;
    rect[1] += rowHeight_;
  }
  return true;
}
