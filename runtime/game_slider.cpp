// game_slider.cpp: CGUI_GameSlider: slider parameters and the thumb.
#include "runtime/game_slider.h"

#include "korvogui/korvogui.h"
#include "runtime/error_text.h"
#include "runtime/param_shapes.h"

CGUI_GameSlider::CGUI_GameSlider() : thumb_(Own(new CGUI_GameBitmap)) {}

bool CGUI_GameSlider::ReadSliderParams() {
  const char* id = id_.c_str();
  int32_t horizontal = 0, min = 0, max = 0;
  float size = 0;
  void* const dest[4] = {&horizontal, &min, &max, &size};
  if (ReadShape(GetParamList(0), kSliderList, dest) < kSliderList.required) {
    GUI_ReportError("error at SLIDER '%s', PARAM 7: '%s'", id, GetErrorText());
    return false;
  }
  if (max <= min) {
    GUI_ReportError("error at SLIDER '%s', max value must be larger than min value", id);
    return false;
  }
  thumb_->AddParamList(GetParamList(1));
  thumbSize_ = size;
  SetHorizontal(horizontal != 0);
  SetMin(min);
  SetMax(max);
  return true;
}

bool CGUI_GameSlider::OnCreate() {
  const SClassParams& shapes = *FindClassParams("SLIDER");
  if (!CreateMembers("SLIDER", shapes.least, shapes.most, [this] { return ReadSliderParams(); }))
    return false;
  thumb_->SetHitTest(false);
  if (!CGUI_Slider::OnCreate()) return false;
  SetHitTest(true);
  thumb_->SetAlign(IsHorizontal() ? ALIGN_HCENTER | ALIGN_TOP : ALIGN_LEFT | ALIGN_VCENTER);
  return true;
}

bool CGUI_GameSlider::SetRegion(const float region[4]) {
  CGUI_Slider::SetRegion(region);
  // The value's place along the axis scales with the new size.
  // In 64 bits: a slider over the whole int range has 2^32 cells.
  const long long cells = static_cast<long long>(max_) - min_ + 1;
  const long long cell = static_cast<long long>(value_) - min_;
  thumbOffset_ = cells > 0 ? AxisSize() * (static_cast<float>(cell) + 0.5f) / static_cast<float>(cells) : 0;
  PlaceThumb();
  return true;
}

bool CGUI_GameSlider::OnValueChanged() {
  PlaceThumb();
  return true;
}

void CGUI_GameSlider::PlaceThumb() {
  // Offsets are measured from the slider's aligned corner.
  float corner[2];
  GetAlignedPos(corner, false);
  const float dx = corner[0] - region_[0], dy = corner[1] - region_[1];
  float r[4];
  if (IsHorizontal()) {
    r[0] = dx + thumbOffset_;
    r[1] = dy;
    r[2] = thumbSize_;
    r[3] = region_[3];
  } else {
    r[0] = dx;
    r[1] = dy + thumbOffset_;
    r[2] = region_[2];
    r[3] = thumbSize_;
  }
  thumb_->SetRegion(r);
}
