// slider.cpp: CGUI_Slider: value range, thumb placement, value on release.
#include "runtime/slider.h"

#include <climits>

namespace {

// The cells of min .. max; 64-bit, since the full int range has 2^32 of them.
long long CellCount(int min, int max) { return static_cast<long long>(max) - min + 1; }

// A point on the axis as an int, saturated to the int range (fallback for NaN).
int SaturatedInt(float v, int fallback) {
  if (v != v) return fallback;
  if (v >= 2147483648.0f) return INT_MAX;
  if (v < -2147483648.0f) return INT_MIN;
  return static_cast<int>(v);
}

}  // namespace

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
  if (size > 0)
    SetValue(SaturatedInt(static_cast<float>(CellCount(min_, max_)) * d / size + static_cast<float>(min_), min_));
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
  const long long cells = CellCount(min_, max_);
  thumbOffset_ = cells > 0 ? AxisSize() * (static_cast<float>(static_cast<long long>(v) - min_) + 0.5f) /
                                 static_cast<float>(cells)
                           : 0;
  return OnValueChanged();
}

int CGUI_Slider::GetValue() { return value_; }
float CGUI_Slider::GetThumbPos() { return thumbOffset_; }
bool CGUI_Slider::OnValueChanged() { return true; }
