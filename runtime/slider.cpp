// slider.cpp: CGUI_Slider: value range, thumb placement, value on release.
#include "runtime/slider.h"

CGUI_Slider::CGUI_Slider() : CGUI_Control("SLIDER") {}

bool CGUI_Slider::OnCreate() {
  SetValue(min_);
  return CGUI_Control::OnCreate();
}

bool CGUI_Slider::OnLButtonUp() {
  float corner[2];
  GetAlignedPos(corner, true);
  const int axis = horizontal_ ? 0 : 1;
  const float d = mousePos_[axis] - corner[axis];
  const float size = AxisSize();
  if (size > 0) SetValue(static_cast<int>((max_ - min_ + 1) * d / size + min_));
  return CGUI_Control::OnLButtonUp();
}

bool CGUI_Slider::IsHorizontal() { return horizontal_ > 0; }
bool CGUI_Slider::SetHorizontal(bool on) { horizontal_ = on ? 1 : 0; return true; }
int CGUI_Slider::GetMin() { return min_; }
int CGUI_Slider::GetMax() { return max_; }
bool CGUI_Slider::SetMax(int v) { max_ = v; return true; }
bool CGUI_Slider::SetMin(int v) { min_ = v; return true; }

bool CGUI_Slider::SetValue(int v) {
  if (v < min_) v = min_;
  if (v > max_) v = max_;
  value_ = v;
  const int cells = max_ - min_ + 1;
  thumbOffset_ = cells > 0 ? AxisSize() * ((v - min_) + 0.5f) / cells : 0;
  return OnValueChanged();
}

int CGUI_Slider::GetValue() { return value_; }
float CGUI_Slider::GetThumbPos() { return thumbOffset_; }
bool CGUI_Slider::OnValueChanged() { return true; }
