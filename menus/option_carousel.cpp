// option_carousel.cpp: the shared window, boxes and arrows of the option carousel.
#include "menus/option_carousel.h"

#include <cstdio>

int CarouselStart(int start, int count) {
  return count > kOptionBoxes ? (start % count + count) % count : 0;
}

int CarouselEntry(int start, int box, int count) {
  if (count <= 0) return -1;
  const int at = start + box;
  if (count > kOptionBoxes) return (at % count + count) % count;
  return at < count ? at : -1;
}

// ---- Boxes ------------------------------------------------------------------------------------

bool CGUI_OptionBoxBase::OnCreate() {
  hovered_ = false;
  return CGUI_Custom::OnCreate();
}

bool CGUI_OptionBoxBase::OnDestroy() {
  hovered_ = false;
  return CGUI_Custom::OnDestroy();
}

bool CGUI_OptionBoxBase::OnMouseEnter() {
  hovered_ = true;
  Refresh();
  return CGUI_Custom::OnMouseEnter();
}

bool CGUI_OptionBoxBase::OnMouseLeave() {
  hovered_ = false;
  Refresh();
  return CGUI_Custom::OnMouseLeave();
}

CGUI_OptionBoxBase* OptionBoxOf(CGUI_Window* dialog, const char* format, int index) {
  if (!dialog) return nullptr;
  char id[48];
  std::snprintf(id, sizeof id, format, index + 1);
  return dynamic_cast<CGUI_OptionBoxBase*>(dialog->FindChild(id));
}

// ---- Arrows -------------------------------------------------------------------------------------

bool CGUI_OptionArrow::OnMouseEnter() {
  if (CGUI_OptionBoxBase* box = Box()) box->OnMouseEnter();
  return CGUI_GamePushButton::OnMouseEnter();
}

bool CGUI_OptionArrow::OnMouseLeave() {
  if (CGUI_OptionBoxBase* box = Box()) box->OnMouseLeave();
  return CGUI_GamePushButton::OnMouseLeave();
}
