// rotate_button.cpp: CGUI_RotateButton: state table, state bitmaps and
// stepping.
#include "runtime/rotate_button.h"

#include <climits>

#include "host/host_services.h"
#include "korvogui/korvogui.h"
#include "runtime/sound_ids.h"
#include "runtime/param_shapes.h"

namespace {
// A chain (name, red, green, blue, alpha) for one state bitmap.
SParamList* BitmapList(const char* name, const int32_t rgba[4]) {
  SParamList* head = new SParamList;
  head->value = NewStringParam(name);
  SParamList* tail = head;
  for (int i = 0; i < 4; ++i) {
    tail->next = new SParamList;
    tail = tail->next;
    tail->value = NewIntParam(rgba[i]);
  }
  return head;
}
}  // namespace

CGUI_RotateButton::CGUI_RotateButton() { className_ = "ROTATEBUTTON"; }

// ---- Creation --------------------------------------------------------------------------------

bool CGUI_RotateButton::BuildStates() {
  const char* id = id_.c_str();
  const int count = GetParamListCount();
  struct State {
    const char* name;
    int32_t rgba[4];
    int32_t next;
  };
  std::vector<State> states(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) {
    State& s = states[size_t(i)];
    s = State{nullptr, {255, 255, 255, 255}, i + 1 < count ? i + 1 : 0};
    void* const dest[6] = {&s.name, &s.rgba[0], &s.rgba[1], &s.rgba[2], &s.rgba[3], &s.next};
    if (ReadShape(GetParamList(i), kRotateStateList, dest) < kRotateStateList.required || !s.name) {
      GUI_ReportError("error at ROTATEBUTTON '%s' : invalid param at paramlist%d", id, i + 1);
      return false;
    }
    if (s.next < 0 || s.next >= count) {
      GUI_ReportError("error at ROTATEBUTTON '%s' : invalid trans id at paramlist%d", id, i + 1);
      return false;
    }
  }
  for (const State& s : states) {
    auto* bitmap = Own(new CGUI_GameBitmap);
    SParamList* list = BitmapList(s.name, s.rgba);
    bitmap->AddParamList(list);
    FreeParamList(list);
    bitmap->SetAlign(align_);
    bitmap->Show(false, false);
    stateBitmaps_.push_back(bitmap);
    transitions_.push_back(s.next);
  }
  return true;
}

bool CGUI_RotateButton::OnCreate() {
  const SClassParams& shapes = *FindClassParams("ROTATEBUTTON");
  if (!CreateMembers("ROTATEBUTTON ", shapes.least, shapes.most, [this] { return BuildStates(); }))
    return false;
  if (!CGUI_PushButton::OnCreate()) return false;
  ShowState(0);
  return OnStateChanged();
}

// ---- States ---------------------------------------------------------------------------------------

void CGUI_RotateButton::ShowState(int state) {
  if (current_) current_->Show(false, false);
  state_ = state;
  current_ = state >= 0 && state < StateCount() ? stateBitmaps_[size_t(state)] : nullptr;
  if (current_ && visible_) {
    current_->Show(true, false);
    current_->RestartClock();
  }
}

bool CGUI_RotateButton::OnLButtonUp() {
  const bool known = state_ >= 0 && state_ < int(transitions_.size());
  ShowState(known ? transitions_[size_t(state_)] : 0);
  OnStateChanged();
  PlaySoundA(kSoundRotate);
  return CGUI_PushButton::OnLButtonUp();
}

bool CGUI_RotateButton::SetState(int state) {
  if (state < 0) {
    const bool known = state_ >= 0 && state_ < int(transitions_.size());
    state = known ? transitions_[size_t(state_)] : 0;
  }
  ShowState(state);
  return true;
}

bool CGUI_RotateButton::OnStateChanged() { return true; }

// ---- Members follow the button ----------------------------------------------------------------------

// Only the current state's bitmap follows; the others stay hidden.
bool CGUI_RotateButton::Show(bool show, bool /*recursive*/) {
  if (current_) {
    current_->Show(show, false);
    if (show) current_->RestartClock();
  }
  return CGUI_PushButton::Show(show, false);
}

bool CGUI_RotateButton::SetRegion(const float region[4]) {
  const float frame[4] = {0, 0, region[2], region[3]};
  for (CGUI_GameBitmap* b : stateBitmaps_) b->SetRegion(frame);
  return CGUI_PushButton::SetRegion(region);
}

bool CGUI_RotateButton::SetAlign(int flags) {
  for (CGUI_GameBitmap* b : stateBitmaps_) b->SetAlign(flags);
  return CGUI_PushButton::SetAlign(flags);
}
