// game_list.cpp: CGUI_GameList: list parameters, default rows, layout and
// row drawing.
#include "runtime/game_list.h"

#include <climits>

#include "korvogui/korvogui.h"
#include "runtime/error_text.h"
#include "runtime/param_shapes.h"

CGUI_GameList::CGUI_GameList()
    : frame_(Own(new CGUI_GameBitmap)), rowStatic_(Own(new CGUI_GameStatic)) {}

// ---- Creation ----------------------------------------------------------------------------

bool CGUI_GameList::ReadListParams() {
  const char* id = id_.c_str();
  const int count = GetParamListCount();
  int32_t rgba[4] = {255, 255, 255, 255};
  int32_t rows = 0;
  void* const dest[5] = {&rgba[0], &rgba[1], &rgba[2], &rgba[3], &rows};
  if (ReadShape(GetParamList(2), kListRowsList, dest) < kListRowsList.required) {
    GUI_ReportError("error at LIST '%s' : invalid list parameters", id);
    return false;
  }
  if (rows < 1) {
    GUI_ReportError("error at LIST '%s' : invalid num rows(out of range)", id);
    return false;
  }
  std::vector<std::string> defaults;
  for (int i = 3; i < count; ++i) {
    const SParamValue* first = GetParamList(i)->value;
    if (!first || first->type != ShapeKind(kDefaultRowList, 0)) {
      SetErrorText("type mismatch : param %d", 1);
      GUI_ReportError("error at LIST '%s' : invalid %dth default string", id, i);
      return false;
    }
    defaults.push_back(first->s);
  }
  for (int i = 0; i < 4; ++i) selectedColor_[i] = rgba[i];
  rowsToShow_ = rows;
  defaultRows_.swap(defaults);
  rowStatic_->AddParamList(GetParamList(0));
  frame_->AddParamList(GetParamList(1));
  return true;
}

bool CGUI_GameList::OnCreate() {
  const SClassParams& shapes = *FindClassParams("LIST");
  if (!CreateMembers("LIST ", shapes.least, shapes.most, [this] { return ReadListParams(); }))
    return false;
  rowStatic_->SetHitTest(false);
  rowStatic_->SetAlign(ALIGN_VCENTER);
  rowStatic_->SetAutoSize(true);
  if (!CGUI_List::OnCreate()) return false;
  // The row static draws only through DrawItem, never by itself.
  rowStatic_->Show(false, false);
  ResetContent();
  rowStatic_->SetCaption(" ");
  SetVisibleRows(rowsToShow_);
  const int* c = rowStatic_->TextColor();
  for (int i = 0; i < 4; ++i) normalColor_[i] = c[i];
  for (const std::string& row : defaultRows_) AddString(row);
  return true;
}

// ---- Layout --------------------------------------------------------------------------------

bool CGUI_GameList::SetRegion(const float region[4]) {
  const float frame[4] = {0, 0, region[2], region[3]};
  frame_->SetRegion(frame);
  return CGUI_List::SetRegion(region);
}

bool CGUI_GameList::SetAlign(int flags) {
  CGUI_List::SetAlign(flags);
  return frame_->SetAlign(flags);
}

// ---- Rows --------------------------------------------------------------------------------------

bool CGUI_GameList::DrawItem(int index, float rect[4], bool selected, bool /*hovered*/) {
  if (index < 0 || index >= static_cast<int>(rows_.size())) return true;
  const float place[4] = {rect[0] - region_[0], rect[1] - region_[1] + rect[3] * 0.5f, rect[2],
                          rect[3]};
  // Each visible row keeps its text in the row static between frames.
  const int slot = index - topIndex_;
  return rowStatic_->DrawCaption(slot < visibleRows_ ? slot : -1, rows_[size_t(index)], place,
                                 selected ? selectedColor_ : normalColor_, RowKey(index));
}
