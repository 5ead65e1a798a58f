// animation_info.h: AnimationInfo, a colour that pulses between two colours,
// used by static texts (the glow behind hovered text) and bitmaps.
#pragma once
#include <cstdint>

#include "runtime/params.h"

struct AnimationInfo {
  uint8_t from[4] = {255, 230, 167, 200};   // r, g, b, a
  uint8_t to[4] = {255, 230, 167, 100};
  uint8_t current[4] = {255, 230, 167, 200};
  float period = 1.0f;        // seconds for one sweep
  uint32_t lastSwitch = 0;    // dwY3DCurrentFrameTick of the last sweep start
  bool direction = false;     // true: from -> to; false: to -> from
};

// Reads (from r, g, b, a, to r, g, b, a: ints; period: float) from a PARAM
// list. False with "invalid animation info : %s" in the runtime error text.
bool ReadAnimationInfo(const SParamList* list, AnimationInfo& out);

// Restarts the sweep at the current frame tick.
void RestartAnimation(AnimationInfo& anim);

// Advances the pulse to the current frame tick and updates `current`.
void PulseAnimation(AnimationInfo& anim);

// The current colour packed as 0xAARRGGBB.
uint32_t PackedColor(const AnimationInfo& anim);
