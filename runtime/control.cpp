// control.cpp: CGUI_Control: tab stops, alignment, notify-parent forwarding and
// parameter lists.
#include "runtime/control.h"

#include "runtime/dialog.h"

CGUI_Control::CGUI_Control(const char* className) : CGUI_Window(className) {}

CGUI_Control::~CGUI_Control() { DropParamLists(); }

bool CGUI_Control::OnCreate() {
  // Flags are applied while the template is built, before the control has a
  // parent; the tab stop can only be registered now.
  SetTabStop(tabStop_);
  return CGUI_Window::OnCreate();
}

// ---- Mouse events: forwarded to the parent when asked ------------------------------

bool CGUI_Control::OnMouseEnter() {
  if (notifyParent_ && parent_) return parent_->OnMouseEnter();
  return true;
}

bool CGUI_Control::OnMouseLeave() {
  if (notifyParent_ && parent_) return parent_->OnMouseLeave();
  return true;
}

bool CGUI_Control::OnLButtonDown() {
  if (notifyParent_ && parent_) return parent_->OnLButtonDown();
  return true;
}

bool CGUI_Control::OnLButtonUp() {
  if (notifyParent_ && parent_) return parent_->OnLButtonUp();
  return true;
}

bool CGUI_Control::HitTest(const float pt[2]) {
  float corner[2];
  GetAlignedPos(corner, true);
  return corner[0] <= pt[0] && pt[0] <= corner[0] + region_[2] &&
         corner[1] <= pt[1] && pt[1] <= corner[1] + region_[3];
}

// ---- Flags ---------------------------------------------------------------------------

bool CGUI_Control::IsTabStop() { return tabStop_; }

bool CGUI_Control::SetTabStop(bool on) {
  if (parent_ && parent_->ClassName() == "DIALOG") {
    if (auto* dialog = dynamic_cast<CGUI_Dialog*>(parent_)) {
      if (on) dialog->AddTabStop(this);
      else dialog->RemoveTabStop(this);
    }
  }
  tabStop_ = on;
  return true;
}

bool CGUI_Control::IsAutoSize() { return autoSize_; }
bool CGUI_Control::SetAutoSize(bool on) { autoSize_ = on; return true; }

// ---- Alignment -----------------------------------------------------------------------

int CGUI_Control::GetAlign() { return align_; }

bool CGUI_Control::SetAlign(int flags) {
  if (flags & ALIGN_HMASK) align_ &= ~ALIGN_HMASK;
  if (flags & ALIGN_VMASK) align_ &= ~ALIGN_VMASK;
  align_ |= flags;
  ++placement_;
  return true;
}

bool CGUI_Control::IsNotifyParent() { return notifyParent_; }
bool CGUI_Control::SetNotifyParent(bool on) { notifyParent_ = on; return true; }

// ---- Parameter lists -------------------------------------------------------------------

int CGUI_Control::GetParamListCount() { return static_cast<int>(paramLists_.size()); }

bool CGUI_Control::AddParamList(const SParamList* list) {
  paramLists_.push_back(CopyParamListPacked(list));
  return true;
}

void CGUI_Control::DropParamLists() {
  for (SParamList* list : paramLists_) FreePackedParamList(list);
  paramLists_.clear();
}

SParamList* CGUI_Control::GetParamList(int index) {
  if (index < 0 || index >= GetParamListCount()) return nullptr;
  return paramLists_[index];
}
