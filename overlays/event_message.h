// event_message.h: CGUI_EventMessage, a timed message line: shown by
// SetMessage, fading out over 500 ms once its time has passed, then hidden.
#pragma once
#include <cstdint>

#include "runtime/game_static.h"

class CGUI_EventMessage : public CGUI_GameStatic {
 public:
  // The game static's creation; timing cleared, the line hidden.
  bool OnCreate() override;
  // Starts the fade when the expiry has passed, fades, then draws the text.
  bool OnDraw() override;

  // Caption, duration in ms (0: never expires) and 0xAARRGGBB colour.
  void SetMessage(const char* text, uint32_t durationMs, uint32_t argb);

  uint32_t Expiry() const { return expiry_; }
  bool Fading() const { return fading_; }

 private:
  uint32_t expiry_ = 0;
  bool fading_ = false;
  int fadeAlpha_ = 0;
  uint32_t fadeStart_ = 0;
};
