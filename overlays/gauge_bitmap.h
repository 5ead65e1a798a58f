// gauge_bitmap.h: CGUI_GaugeBitmap, a game bitmap with a fill bar drawn over
// it (item gauges, the heat bar, option icons, the loading gauge).
#pragma once
#include <cstdint>

#include "host/host_graphics.h"
#include "runtime/game_bitmap.h"

class CGUI_GaugeBitmap : public CGUI_GameBitmap {
 public:
  // Sets up the bar animation, then the game bitmap's creation.
  bool OnCreate() override;
  // The texture as the game bitmap draws it, then the bar over the control.
  bool OnDraw() override;

  void SetFill(float ratio) { fill_ = ratio; }
  float Fill() const { return fill_; }
  void SetBarColor(uint32_t argb) { barColor_ = argb; }
  uint32_t BarColor() const { return barColor_; }
  // 0: vertical, growing from the bottom; otherwise horizontal from the left.
  void SetOrientation(int orientation) { orientation_ = orientation; }

 private:
  _ANIMATEEX bar_;
  float fill_ = 0.0f;
  uint32_t barColor_ = 0xFFFFFFFF;
  int orientation_ = 0;
};
