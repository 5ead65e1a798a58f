// rotate_text_button.cpp: CGUI_RotateTextButton: state table, caption layout
// and stepping.
#include "runtime/rotate_text_button.h"

#include <climits>

#include "host/host_services.h"
#include "korvogui/korvogui.h"
#include "runtime/error_text.h"
#include "runtime/sound_ids.h"
#include "runtime/param_shapes.h"

CGUI_RotateTextButton::CGUI_RotateTextButton() : captionStatic_(Own(new CGUI_GameStatic)) {
  className_ = "ROTATETEXTBUTTON";
}

// ---- Creation -------------------------------------------------------------------------------

bool CGUI_RotateTextButton::ReadStates() {
  const char* id = id_.c_str();
  const int count = GetParamListCount();
  const int states = count - 1;
  std::vector<std::string> captions;
  std::vector<uint32_t> colors;
  std::vector<int> transitions;
  for (int i = 1; i < count; ++i) {
    const SParamList* list = GetParamList(i);
    const char* caption = nullptr;
    int32_t rgba[4] = {255, 255, 255, 255};
    int32_t next = i < states ? i : 0;   // the following state, 0 after the last
    void* const dest[6] = {&caption, &rgba[0], &rgba[1], &rgba[2], &rgba[3], &next};
    if (!list->value || list->value->type != ShapeKind(kTextStateList, 0)) {
      SetErrorText("type mismatch : param %d", 1);
      GUI_ReportError("error at ROTATETEXTBUTTON '%s' : invalid param at paramlist%d", id, i);
      return false;
    }
    if (ReadShape(list, kTextStateList, dest) < kTextStateList.required || !caption) {
      GUI_ReportError("error at ROTATETEXTBUTTON '%s' : invalid param at paramlist%d", id, i);
      return false;
    }
    // -1 stands for the first state.
    if (next < -1 || next >= states) {
      GUI_ReportError("error at ROTATETEXTBUTTON '%s' : invalid trans id at paramlist%d", id, i);
      return false;
    }
    captions.push_back(caption);
    colors.push_back(uint32_t(rgba[3] & 255) << 24 | uint32_t(rgba[0] & 255) << 16 |
                     uint32_t(rgba[1] & 255) << 8 | uint32_t(rgba[2] & 255));
    transitions.push_back(next);
  }
  captionStatic_->AddParamList(GetParamList(0));
  captions_.swap(captions);
  colors_.swap(colors);
  transitions_.swap(transitions);
  return true;
}

bool CGUI_RotateTextButton::OnCreate() {
  const SClassParams& shapes = *FindClassParams("ROTATETEXTBUTTON");
  if (!CreateMembers("ROTATETEXTBUTTON ", shapes.least, shapes.most, [this] { return ReadStates(); }))
    return false;
  SetUpCaption(captionStatic_);
  if (!CGUI_Button::OnCreate()) return false;
  if (autoSize_) {
    const float region[4] = {region_[0], region_[1], region_[2], region_[3]};
    SetRegion(region);
  }
  ShowState(0);
  return OnStateChanged();
}

// ---- States -----------------------------------------------------------------------------------------

void CGUI_RotateTextButton::ShowState(int state) {
  state_ = state;
  if (state < 0 || state >= StateCount()) return;
  SetCaption(captions_[size_t(state)]);
  const uint32_t c = colors_[size_t(state)];
  captionStatic_->SetTextColor(int((c >> 16) & 255), int((c >> 8) & 255), int(c & 255),
                               int(c >> 24));
}

bool CGUI_RotateTextButton::SelectState(int state) {
  if (state < 0 || state >= StateCount()) return false;
  ShowState(state);
  return true;
}

bool CGUI_RotateTextButton::ReplaceStates(const std::vector<std::string>& captions) {
  if (captions.empty() || colors_.empty()) return false;
  const uint32_t color = colors_.front();
  const int count = int(captions.size());
  captions_ = captions;
  colors_.assign(captions.size(), color);
  transitions_.resize(captions.size());
  for (int i = 0; i < count; ++i) transitions_[size_t(i)] = (i + 1) % count;
  ShowState(0);
  return true;
}

bool CGUI_RotateTextButton::OnLButtonUp() {
  const int count = StateCount();
  if (count > 0) {
    int next = state_ >= 0 && state_ < count ? transitions_[size_t(state_)] : 0;
    if (next == -1) next = 0;
    ShowState(next % count);
    OnStateChanged();
  }
  PlaySoundA(kSoundClick);
  return CGUI_Button::OnLButtonUp();
}

bool CGUI_RotateTextButton::OnStateChanged() { return true; }

// ---- Caption and layout ------------------------------------------------------------------------------

bool CGUI_RotateTextButton::SetCaption(const std::string& caption) {
  captionStatic_->SetCaption(caption);
  CGUI_Button::SetCaption(caption);
  if (autoSize_) {
    const float region[4] = {region_[0], region_[1], region_[2], region_[3]};
    SetRegion(region);
  }
  return true;
}

bool CGUI_RotateTextButton::SetRegion(const float region[4]) {
  float r[4] = {region[0], region[1], region[2], region[3]};
  if (autoSize_) {
    r[2] = captionStatic_->Region()[2];
    r[3] = captionStatic_->Region()[3];
  }
  CGUI_Button::SetRegion(r);
  CentreMember(captionStatic_);
  return true;
}

bool CGUI_RotateTextButton::Show(bool show, bool recursive) {
  CGUI_Button::Show(show, recursive);
  return captionStatic_->Show(show, false);
}
