// event_message.cpp: CGUI_EventMessage: the life of a timed message line.
#include "overlays/event_message.h"

#include "host/host_services.h"

bool CGUI_EventMessage::OnCreate() {
  if (!CGUI_GameStatic::OnCreate()) return false;
  expiry_ = 0;
  fading_ = false;
  fadeAlpha_ = 0;
  fadeStart_ = 0;
  Show(false, false);
  return true;
}

void CGUI_EventMessage::SetMessage(const char* text, uint32_t durationMs, uint32_t argb) {
  SetCaption(text ? text : "");
  expiry_ = durationMs ? dwY3DCurrentFrameTick + durationMs : 0;
  fading_ = false;
  Show(true, false);
  SetTextColor(int(argb >> 16 & 255), int(argb >> 8 & 255), int(argb & 255), int(argb >> 24 & 255));
}

bool CGUI_EventMessage::OnDraw() {
  const uint32_t now = dwY3DCurrentFrameTick;
  if (!fading_ && expiry_ != 0 && now >= expiry_) {
    fading_ = true;
    fadeStart_ = now;
    fadeAlpha_ = TextColor()[3];
  }
  if (fading_) {
    const double alpha = (1.0 - 0.002 * double(now - fadeStart_)) * fadeAlpha_;
    if (alpha < 0) {
      Show(false, false);
      return true;
    }
    const int* c = TextColor();
    SetTextColor(c[0], c[1], c[2], int(alpha));
  }
  return CGUI_GameStatic::OnDraw();
}
