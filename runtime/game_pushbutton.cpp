// game_pushbutton.cpp: CGUI_GamePushButton: parameter distribution, member
// layout, looks, sounds and the linked number edit.
#include "runtime/game_pushbutton.h"

#include <algorithm>
#include <climits>

#include "host/host_services.h"
#include "korvogui/korvogui.h"
#include "runtime/dialog.h"
#include "runtime/edit.h"
#include "runtime/error_text.h"
#include "runtime/param_shapes.h"
#include "runtime/sound_ids.h"

namespace {
// value + step, saturated to int: a step past the int range lands on its end,
// which the edit's clamp then brings to its limit.
int SteppedValue(int value, int step) {
  return static_cast<int>(std::clamp<long long>(static_cast<long long>(value) + step, INT_MIN, INT_MAX));
}
}  // namespace

CGUI_GamePushButton::CGUI_GamePushButton()
    : base_(Own(new CGUI_GameBitmap)),
      second_(Own(new CGUI_GameBitmap)),
      hover_(Own(new CGUI_GameBitmap)),
      pressed_(Own(new CGUI_GameBitmap)),
      captionStatic_(Own(new CGUI_GameStatic)) {}

// ---- Creation ------------------------------------------------------------------------------

bool CGUI_GamePushButton::DistributeParams() {
  const char* id = id_.c_str();
  if (GetParamListCount() == 8) {
    const char* editId = nullptr;
    int32_t step = 0, limit = 0;
    void* const dest[3] = {&editId, &step, &limit};
    if (ReadShape(GetParamList(7), kArrowLinkList, dest) < kArrowLinkList.required || !editId) {
      GUI_ReportError("error at PUSHBUTTON '%s', PARAM 7: '%s'", id, GetErrorText());
      return false;
    }
    CGUI_Edit* edit = nullptr;
    if (auto* dialog = dynamic_cast<CGUI_Dialog*>(parent_))
      edit = dynamic_cast<CGUI_Edit*>(dialog->FindControl(editId));
    if (!edit) {
      GUI_ReportError("error at PUSHBUTTON '%s' : invalid id%s", id, editId);
      return false;
    }
    linked_ = edit;
    step_ = step;
    if (step > 0) edit->SetMaxValue(limit);
    else edit->SetMinValue(limit);
  }
  captionStatic_->AddParamList(GetParamList(0));
  base_->AddParamList(GetParamList(1));
  second_->AddParamList(GetParamList(2));
  hover_->AddParamList(GetParamList(3));
  hover_->AddParamList(GetParamList(4));
  pressed_->AddParamList(GetParamList(5));
  pressed_->AddParamList(GetParamList(6));
  return true;
}

bool CGUI_GamePushButton::OnCreate() {
  const SClassParams& shapes = *FindClassParams("PUSHBUTTON");
  if (!CreateMembers("PUSHBUTTON ", shapes.least, shapes.most, [this] { return DistributeParams(); }))
    return false;
  SetUpCaption(captionStatic_);
  for (CGUI_GameBitmap* b : {base_, second_, hover_, pressed_}) b->Show(false, false);
  slots_[0] = slots_[1] = nullptr;
  hovered_ = false;
  ApplyLook(RestingLook());
  return CGUI_PushButton::OnCreate();
}

// ---- Looks ------------------------------------------------------------------------------------

CGUI_GamePushButton::Look CGUI_GamePushButton::RestingLook() const {
  if (disabled_) return kDisabled;
  return hovered_ ? kHovered : kNormal;
}

void CGUI_GamePushButton::ApplyLook(Look look) {
  CGUI_GameBitmap* next[2] = {nullptr, base_};
  if (look == kHovered) next[0] = hover_;
  else if (look == kPressed || look == kDisabled) next[0] = pressed_;

  captionStatic_->Show(false, false);
  for (CGUI_GameBitmap* b : slots_)
    if (b) b->Show(false, false);
  slots_[0] = next[0];
  slots_[1] = next[1];
  if (!visible_) return;
  for (CGUI_GameBitmap* b : slots_) {
    if (!b) continue;
    b->Show(true, false);
    b->RestartClock();
  }
  captionStatic_->Show(true, false);
}

void CGUI_GamePushButton::ClearStates() {
  hovered_ = false;
  disabled_ = false;
  ApplyLook(RestingLook());
}

bool CGUI_GamePushButton::SetDisabled(bool on) {
  disabled_ = on;
  ApplyLook(RestingLook());
  return true;
}

// ---- Members follow the button -----------------------------------------------------------------

bool CGUI_GamePushButton::SetCaption(const std::string& caption) {
  CGUI_PushButton::SetCaption(caption);
  return captionStatic_->SetCaption(caption);
}

bool CGUI_GamePushButton::SetRegion(const float region[4]) {
  CGUI_PushButton::SetRegion(region);
  const float frame[4] = {0, 0, region_[2], region_[3]};
  for (CGUI_GameBitmap* b : {base_, second_, hover_, pressed_}) b->SetRegion(frame);
  CentreMember(captionStatic_);
  return true;
}

bool CGUI_GamePushButton::SetAlign(int flags) {
  CGUI_PushButton::SetAlign(flags);
  for (CGUI_GameBitmap* b : {base_, second_, hover_, pressed_}) b->SetAlign(flags);
  const float region[4] = {region_[0], region_[1], region_[2], region_[3]};
  return SetRegion(region);
}

// The members' visibility follows the look, so the call never recurses.
bool CGUI_GamePushButton::Show(bool show, bool /*recursive*/) {
  CGUI_PushButton::Show(show, false);
  if (show) {
    ApplyLook(RestingLook());
  } else {
    captionStatic_->Show(false, false);
    for (CGUI_GameBitmap* b : {base_, second_, hover_, pressed_}) b->Show(false, false);
  }
  return true;
}

bool CGUI_GamePushButton::SetHitTest(bool hitTest) {
  CGUI_PushButton::SetHitTest(hitTest);
  return captionStatic_->SetHitTest(hitTest);
}

// ---- Mouse -------------------------------------------------------------------------------------

bool CGUI_GamePushButton::OnMouseEnter() {
  hovered_ = true;
  if (!disabled_) ApplyLook(kHovered);
  PlaySoundA(caption_.empty() ? kSoundEnterPlain : kSoundEnterCaption);
  return CGUI_PushButton::OnMouseEnter();
}

bool CGUI_GamePushButton::OnMouseLeave() {
  hovered_ = false;
  if (!disabled_) ApplyLook(kNormal);
  return CGUI_PushButton::OnMouseLeave();
}

bool CGUI_GamePushButton::OnLButtonDown() {
  if (!disabled_) ApplyLook(kPressed);
  if (!caption_.empty()) PlaySoundA(kSoundPress);
  return CGUI_PushButton::OnLButtonDown();
}

bool CGUI_GamePushButton::OnLButtonUp() {
  if (!disabled_) ApplyLook(hovered_ ? kHovered : kNormal);
  if (linked_) {
    int value = 0;
    if (!linked_->ClampValue(value)) return false;
    linked_->SetValue(SteppedValue(value, step_));
    linked_->ClampValue(value);
    PlaySoundA(kSoundClick);
  } else if (caption_.empty()) {
    PlaySoundA(kSoundClick);
  }
  return CGUI_PushButton::OnLButtonUp();
}
