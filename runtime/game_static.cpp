// game_static.cpp: CGUI_GameStatic: font parameters, text objects, the glow
// pulse and drawing.
#include "runtime/game_static.h"

#include <strings.h>

#include "host/host_services.h"
#include "korvogui/korvogui.h"
#include "runtime/error_text.h"
#include "runtime/param_shapes.h"
#include "runtime/window_manager.h"

CGUI_GameStatic::CGUI_GameStatic() = default;

CGUI_GameStatic::~CGUI_GameStatic() { ReleaseText(); }

void CGUI_GameStatic::ReleaseText() {
  delete text_;
  delete glow_;
  text_ = nullptr;
  glow_ = nullptr;
  textState_ = TextState();
  glowState_ = TextState();
  textValid_ = false;
  slots_.clear();
}

// ---- Creation ----------------------------------------------------------------------------

bool CGUI_GameStatic::OnCreate() {
  const char* id = id_.c_str();
  SParamList* list = GetParamList(0);
  if (!list) {
    GUI_ReportError("error at STATIC '%s' : param list not found", id);
    return false;
  }
  const char* fontName = nullptr;
  float m1 = 0, m2 = 0;
  int32_t stroke = 4;
  int32_t rgba[4] = {255, 255, 255, 255};
  void* const dest[8] = {&fontName, &m1, &m2, &stroke, &rgba[0], &rgba[1], &rgba[2], &rgba[3]};
  if (ReadShape(list, kTextList, dest) < kTextList.required || !fontName) {
    GUI_ReportError("error at STATIC '%s' : %s", id, GetErrorText());
    return false;
  }

  ReleaseText();
  bool glow = false;
  if (strcasecmp(fontName, "SYSTEM") == 0) {
    if (stroke < 0 || stroke > 9) {
      GUI_ReportError("error at STATIC '%s' : stroke is out of range", id);
      return false;
    }
    font_ = nullptr;
    fontType_ = Y3DFONT_SYSTEM;
  } else if (strcasecmp(fontName, "MENU") == 0) {
    font_ = GFontNormal;
    fontType_ = Y3DFONT_GAME;
  } else if (strcasecmp(fontName, "NORMAL") == 0) {
    font_ = GFontNormal;
    fontType_ = Y3DFONT_GAME;
    glow = true;
  } else if (strcasecmp(fontName, "DIGIT") == 0) {
    font_ = GFontDigit;
    fontType_ = Y3DFONT_GAME;
  } else {
    GUI_ReportError("error at STATIC '%s' : unknown font type '%s'", id, fontName);
    return false;
  }
  metric1_ = m1;
  metric2_ = m2;
  stroke_ = stroke;
  for (int i = 0; i < 4; ++i) color_[i] = rgba[i];

  if (glow) {
    glowAnim_ = AnimationInfo();
    if (SParamList* pulse = GetParamList(1); pulse && !ReadAnimationInfo(pulse, glowAnim_)) {
      GUI_ReportError("error at STATIC '%s' : %s", id, GetErrorText());
      return false;
    }
    RestartAnimation(glowAnim_);
    glow_ = new CY3DText(Y3DFONT_GAME, GFontBlur, 0, 0, 0, metric1_, metric2_, stroke_);
  }
  text_ = new CY3DText(fontType_, font_, 0, 0, 0, metric1_, metric2_, stroke_);
  hovered_ = false;
  // The stored caption is stripped: hand the base the marked-up text so that
  // the colour runs survive re-creation.
  caption_ = markup_;
  return CGUI_Static::OnCreate();
}

bool CGUI_GameStatic::OnDestroy() {
  const bool done = CGUI_Static::OnDestroy();
  ReleaseText();
  return done;
}

// ---- Caption and layout ----------------------------------------------------------------------

bool CGUI_GameStatic::SetCaption(const std::string& caption) {
  if (TakeCaption(caption) && autoSize_) {
    const float region[4] = {region_[0], region_[1], region_[2], region_[3]};
    SetRegion(region);
  }
  return true;
}

bool CGUI_GameStatic::TakeCaption(const std::string& caption) {
  // Lists set the same row text every frame: only a change reaches the host.
  if (textValid_ && caption == markup_) return false;
  markup_ = caption;
  CGUI_Static::SetCaption(caption);
  UpdateText();
  return true;
}

bool CGUI_GameStatic::DrawCaption(int slot, const std::string& caption, const float region[4],
                                  const int color[4], uint64_t key) {
  if (slot < 0 || !text_) {
    // The region set next places (and with auto size measures) the new text,
    // as SetCaption would have before it.
    TakeCaption(caption);
    SetRegion(region);
    SetTextColor(color[0], color[1], color[2], color[3]);
    return OnDraw();
  }
  CaptionSlot& s = Slot(slot, caption, key);
  float r[4] = {region[0], region[1], region[2], region[3]};
  if (autoSize_ && SCREEN_X > 0 && SCREEN_Y > 0) {
    if (s.sizeScreen[0] != SCREEN_X || s.sizeScreen[1] != SCREEN_Y) {
      s.size[0] = s.measured[0] / float(SCREEN_X);
      s.size[1] = s.measured[1] / float(SCREEN_Y);
      s.sizeScreen[0] = SCREEN_X;
      s.sizeScreen[1] = SCREEN_Y;
    }
    r[2] = s.size[0];
    r[3] = s.size[1];
  }
  CGUI_Static::SetRegion(r);
  SetTextColor(color[0], color[1], color[2], color[3]);
  return DrawText(s.text.get(), s.state);
}

CGUI_GameStatic::CaptionSlot& CGUI_GameStatic::Slot(int slot, const std::string& caption, uint64_t key) {
  if (size_t(slot) >= slots_.size()) slots_.resize(size_t(slot) + 1);
  CaptionSlot& s = slots_[size_t(slot)];
  if (!s.text) {
    s.text = std::make_unique<CY3DText>(fontType_, font_, 0, 0, 0, metric1_, metric2_, stroke_);
    s.state = TextState();
  }
  if (s.filled && ((key != 0 && s.key == key) || s.markup == caption)) {
    s.key = key;
    return s;
  }
  // The parse leaves the stripped caption and runs in the static; its own text
  // object no longer matches them.
  CGUI_Static::SetCaption(caption);
  textValid_ = false;
  FillText(s.text.get(), s.state);
  s.text->GetTextMetric(nullptr, -1, &s.measured[0], &s.measured[1]);
  s.sizeScreen[0] = s.sizeScreen[1] = 0;
  s.markup = caption;
  s.key = key;
  s.filled = true;
  return s;
}

void CGUI_GameStatic::UpdateText() {
  if (!text_) return;
  FillText(text_, textState_);
  textValid_ = true;
  ++textGeneration_;
}

void CGUI_GameStatic::FillText(CY3DText* target, TextState& state) {
  state.blank = caption_.empty();   // as many stars as characters
  if (password_) {
    stars_.assign(caption_.size(), '*');
    target->SetText(stars_.c_str());
    target->SetColorArray(nullptr, 0);
    return;
  }
  target->SetText(caption_.c_str());
  // A caption without colour changes keeps the static's own colour.
  for (int i = 0; i < runCount_; ++i) {
    colorRuns_[i].argb = GetColor(runs_[i].color);
    colorRuns_[i].start = runs_[i].start;
  }
  target->SetColorArray(colorRuns_, runCount_ > 1 ? runCount_ : 0);
}

bool CGUI_GameStatic::SetPassword(bool on) {
  CGUI_Static::SetPassword(on);
  UpdateText();
  for (CaptionSlot& s : slots_) s.filled = false;
  return true;
}

bool CGUI_GameStatic::SetRegion(const float region[4]) {
  const float* measured = nullptr;
  if (text_ && autoSize_ && SCREEN_X > 0 && SCREEN_Y > 0) {
    // Measure once per text: lists place their row static for every row drawn.
    if (measuredGeneration_ != textGeneration_) {
      text_->GetTextMetric(nullptr, -1, &measured_[0], &measured_[1]);
      measuredGeneration_ = textGeneration_;
    }
    measured = measured_;
  }
  Place(region, measured);
  if (text_) {
    float pos[2];
    TextPosition(pos);
    textState_.Position(text_, pos);
  }
  return true;
}

void CGUI_GameStatic::Place(const float region[4], const float measured[2]) {
  float r[4] = {region[0], region[1], region[2], region[3]};
  if (measured) {
    r[2] = measured[0] / float(SCREEN_X);
    r[3] = measured[1] / float(SCREEN_Y);
  }
  CGUI_Static::SetRegion(r);
}

void CGUI_GameStatic::TextPosition(float out[2]) {
  GetAlignedPos(out, true);
  out[0] *= float(SCREEN_X);
  out[1] *= float(SCREEN_Y);
}

void CGUI_GameStatic::SetTextColor(int r, int g, int b, int a) {
  color_[0] = r;
  color_[1] = g;
  color_[2] = b;
  color_[3] = a;
}

// ---- Mouse and drawing -------------------------------------------------------------------------

bool CGUI_GameStatic::OnMouseEnter() {
  hovered_ = true;
  return CGUI_Static::OnMouseEnter();
}

bool CGUI_GameStatic::OnMouseLeave() {
  hovered_ = false;
  return CGUI_Static::OnMouseLeave();
}

bool CGUI_GameStatic::OnDraw() { return text_ ? DrawText(text_, textState_) : true; }

bool CGUI_GameStatic::DrawText(CY3DText* text, TextState& state) {
  // The pulse runs on with every draw, shown or not.
  if (glow_) PulseAnimation(glowAnim_);
  // An empty text draws nothing; that is not a failure of the frame.
  if (state.blank) return true;
  state.Color(text, color_);
  if (glow_) {
    const uint8_t* c = glowAnim_.current;
    const int glow[4] = {c[0], c[1], c[2], c[3]};
    glowState_.Color(glow_, glow);
  }
  float pos[2];
  TextPosition(pos);
  state.Position(text, pos);
  text->Draw(hovered_ ? glow_ : nullptr);
  return true;
}

void CGUI_GameStatic::TextState::Color(CY3DText* text, const int rgba[4]) {
  if (colorGiven && color[0] == rgba[0] && color[1] == rgba[1] && color[2] == rgba[2] && color[3] == rgba[3])
    return;
  for (int i = 0; i < 4; ++i) color[i] = rgba[i];
  colorGiven = true;
  text->SetColor(rgba[0], rgba[1], rgba[2], rgba[3]);
}

void CGUI_GameStatic::TextState::Position(CY3DText* text, const float pos[2]) {
  if (positionGiven && position[0] == pos[0] && position[1] == pos[1]) return;
  position[0] = pos[0];
  position[1] = pos[1];
  positionGiven = true;
  text->SetScreenPosition(pos[0], pos[1]);
}
