// game_slider.h: CGUI_GameSlider, the game's slider (script class "SLIDER"):
// the runtime slider with a member game bitmap as its thumb.
#pragma once
#include "runtime/composite.h"
#include "runtime/game_bitmap.h"
#include "runtime/slider.h"

class CGUI_GameSlider : public CGUI_Composite<CGUI_Slider> {
 public:
  CGUI_GameSlider();

  // Reads (horizontal, min, max, thumb size) from list 0 and hands list 1 to
  // the thumb (first creation), then sets the thumb up.
  bool OnCreate() override;
  // The thumb spans the slider across the axis and `thumb size` along it.
  bool SetRegion(const float region[4]) override;
  // Moves the thumb to the value's place.
  bool OnValueChanged() override;

  CGUI_GameBitmap* Thumb() const { return thumb_; }

 private:
  bool ReadSliderParams();
  void PlaceThumb();

  CGUI_GameBitmap* thumb_;   // member; a child once created
  float thumbSize_ = 0;
};
