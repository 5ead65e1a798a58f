// dialog.cpp: dialogs attach to the root window while created, and cycle the
// focus through their tab stops.
#include "runtime/dialog.h"

#include <algorithm>

#include "runtime/window_manager.h"

CGUI_Dialog::CGUI_Dialog() : CGUI_Window("DIALOG") {}

bool CGUI_Dialog::OnCreate() {
  SetParent(GetRootWindow());
  return CGUI_Window::OnCreate();
}

bool CGUI_Dialog::OnDestroy() {
  SetParent(nullptr);
  return CGUI_Window::OnDestroy();
}

CGUI_Window* CGUI_Dialog::FindControl(const std::string& id) { return FindChild(id); }

bool CGUI_Dialog::AddTabStop(CGUI_Window* w) {
  if (std::find(tabStops_.begin(), tabStops_.end(), w) != tabStops_.end()) return false;
  tabStops_.push_back(w);
  return true;
}

bool CGUI_Dialog::RemoveTabStop(CGUI_Window* w) {
  auto it = std::find(tabStops_.begin(), tabStops_.end(), w);
  if (it == tabStops_.end()) return false;
  tabStops_.erase(it);
  return true;
}

CGUI_Window* CGUI_Dialog::NextTabStop(CGUI_Window* after) {
  if (tabStops_.empty()) return after;
  for (size_t i = 0; i < tabStops_.size(); ++i) {
    if (tabStops_[i] == after && after->IsCreated())
      return tabStops_[(i + 1) % tabStops_.size()];
  }
  return tabStops_.front();
}
