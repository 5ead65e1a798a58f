// game_edit.cpp: CGUI_GameEdit: members, layout, game-font input filter and
// the caret.
#include "runtime/game_edit.h"
#include "runtime/param_shapes.h"

#include "host/host_services.h"
#include "korvogui/korvogui.h"

CGUI_GameEdit::CGUI_GameEdit()
    : frame_(Own(new CGUI_GameBitmap)), textStatic_(Own(new CGUI_GameStatic)) {}

// ---- Creation and layout ----------------------------------------------------------------

bool CGUI_GameEdit::OnCreate() {
  const SClassParams& shapes = *FindClassParams("EDIT");
  const bool distributed = CreateMembers("EDIT", shapes.least, shapes.most, [this] {
    textStatic_->AddParamList(GetParamList(0));
    frame_->AddParamList(GetParamList(1));
    return true;
  });
  if (!distributed) return false;
  textStatic_->SetHitTest(false);
  textStatic_->SetAlign(ALIGN_VCENTER);
  textStatic_->SetAutoSize(true);
  Init2DAnimate(Y3DANIM_CARET, &caretAnim_, 0, 0, 0.01f);
  return CGUI_Edit::OnCreate();
}

bool CGUI_GameEdit::SetCaption(const std::string& caption) {
  textStatic_->SetCaption(caption);
  return CGUI_Edit::SetCaption(textStatic_->Caption());
}

bool CGUI_GameEdit::SetRegion(const float region[4]) {
  const float frame[4] = {0, 0, region[2], region[3]};
  frame_->SetRegion(frame);
  CGUI_Edit::SetRegion(region);
  // The text starts at the left edge of the aligned rectangle, centred vertically.
  float corner[2];
  GetAlignedPos(corner, false);
  const float* size = textStatic_->Region();
  const float text[4] = {corner[0] - region_[0], corner[1] - region_[1] + region_[3] * 0.5f,
                         size[2], size[3]};
  textStatic_->SetRegion(text);
  return true;
}

bool CGUI_GameEdit::SetAlign(int flags) {
  CGUI_Edit::SetAlign(flags);
  frame_->SetAlign(flags);
  const float region[4] = {region_[0], region_[1], region_[2], region_[3]};
  return SetRegion(region);
}

bool CGUI_GameEdit::SetPassword(bool on) {
  CGUI_Edit::SetPassword(on);
  return textStatic_->SetPassword(on);
}

bool CGUI_GameEdit::OnTextChanged(const std::string& text) {
  textStatic_->SetCaption(text);
  if (textStatic_->Caption() != text) {
    const std::string stripped = textStatic_->Caption();
    SetCaption(stripped);
    return CGUI_Edit::OnTextChanged(stripped);
  }
  return CGUI_Edit::OnTextChanged(text);
}

// ---- Input ------------------------------------------------------------------------------------

bool CGUI_GameEdit::OnSetFocus() {
  focused_ = true;
  return CGUI_Edit::OnSetFocus();
}

bool CGUI_GameEdit::OnKillFocus() {
  focused_ = false;
  return CGUI_Edit::OnKillFocus();
}

bool CGUI_GameEdit::OnChar(char ch) {
  if (GameFont() && (static_cast<unsigned char>(ch) & 0x80)) return true;
  return CGUI_Edit::OnChar(ch);
}

bool CGUI_GameEdit::OnCompositionChar(char lead, char trail) {
  if (GameFont()) return true;
  return CGUI_Edit::OnCompositionChar(lead, trail);
}

// ---- Caret ------------------------------------------------------------------------------------

bool CGUI_GameEdit::OnDraw() {
  CY3DText* text = textStatic_->Text();
  if (!focused_ || !text || SCREEN_X <= 0 || SCREEN_Y <= 0) return true;
  Process2DAnimate(&caretAnim_, 1);
  if (caretGeneration_ != textStatic_->TextGeneration() || caretMeasuredAt_ != caret_) {
    // At the start there is nothing to measure: the height comes from "a".
    if (caret_ > 0) {
      text->GetTextMetric(nullptr, caret_, &caretSize_[0], &caretSize_[1]);
    } else {
      float unused = 0;
      text->GetTextMetric("a", 1, &unused, &caretSize_[1]);
      caretSize_[0] = 0;
    }
    caretGeneration_ = textStatic_->TextGeneration();
    caretMeasuredAt_ = caret_;
  }
  const float width = caretSize_[0], height = caretSize_[1];
  float pos[2];
  textStatic_->TextPosition(pos);
  caretAnim_.x = (width + pos[0]) / float(SCREEN_X);
  caretAnim_.y = pos[1] / float(SCREEN_Y);
  caretAnim_.height = height / float(SCREEN_Y);
  DrawFrameBitmap(&caretAnim_, 0xFFFFFF, 0);
  return true;
}

float CGUI_GameEdit::TextWidth(const char* text, int len) {
  CY3DText* object = textStatic_->Text();
  if (!object || SCREEN_X <= 0) return 0;
  float width = 0, height = 0;
  object->GetTextMetric(text, len, &width, &height);
  return width / float(SCREEN_X);
}

CGUI_GameStatic* CGUI_GameEdit::GetTextStatic() { return textStatic_; }
