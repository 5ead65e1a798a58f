// slider.h: CGUI_Slider (script class "SLIDER"), an integer between min and
// max chosen with the mouse along a horizontal or vertical axis.
//
// The value changes when the button is released, from the last mouse point.
// The thumb offset is the centre of the value's cell along the axis, for
// derived classes that draw a thumb (OnValueChanged).
#pragma once
#include <cstdint>

#include "runtime/control.h"

class CGUI_Slider : public CGUI_Control {
 public:
  CGUI_Slider();

  // Starts at the minimum.
  bool OnCreate() override;
  // Takes the value under the recorded mouse point.
  bool OnLButtonUp() override;

  // ---- Appended operations --------------------------------------------------------
  virtual bool IsHorizontal();
  virtual bool SetHorizontal(bool on);
  virtual int GetMin();
  virtual int GetMax();
  virtual bool SetMax(int v);
  virtual bool SetMin(int v);
  // Clamps v to min .. max, places the thumb, then OnValueChanged.
  virtual bool SetValue(int v);
  virtual int GetValue();
  // The thumb offset along the axis (a screen fraction from the corner).
  virtual float GetThumbPos();
  virtual bool OnValueChanged();

 protected:
  // The region's extent along the axis.
  float AxisSize() const { return horizontal_ ? region_[2] : region_[3]; }

  int32_t horizontal_ = 0;
  int min_ = 0;
  int max_ = 0;
  int value_ = 0;
  float thumbOffset_ = 0;
};
