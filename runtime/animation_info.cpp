// animation_info.cpp: reading an AnimationInfo from a PARAM list and the
// per-frame colour pulse.
#include "runtime/animation_info.h"

#include <cstdio>

#include "host/host_services.h"
#include "runtime/error_text.h"
#include "runtime/param_shapes.h"

namespace {

// Wraps the runtime error text left by ReadParams.
bool Fail() {
  char reason[512];
  std::snprintf(reason, sizeof reason, "%s", GetErrorText());
  SetErrorText("invalid animation info : %s", reason);
  return false;
}

}  // namespace

bool ReadAnimationInfo(const SParamList* list, AnimationInfo& out) {
  // The first value is checked on its own; the other eight follow as 2..9.
  const SParamValue* first = list ? list->value : nullptr;
  if (!first) {
    SetErrorText("additional %d param(s) needed", kPulseList.required);
    return Fail();
  }
  if (first->type != ShapeKind(kPulseList, 0)) {
    SetErrorText("type mismatch : param %d", 1);
    return Fail();
  }
  int32_t v[7];
  float period = 0;
  void* const dest[8] = {&v[0], &v[1], &v[2], &v[3], &v[4], &v[5], &v[6], &period};
  if (ReadShape(list->next, kPulseList, dest, 2) < kPulseList.required) return Fail();
  out.from[0] = uint8_t(first->i);
  for (int i = 0; i < 3; ++i) out.from[i + 1] = uint8_t(v[i]);
  for (int i = 0; i < 4; ++i) out.to[i] = uint8_t(v[i + 3]);
  for (int i = 0; i < 4; ++i) out.current[i] = out.from[i];
  out.period = period;
  return true;
}

void RestartAnimation(AnimationInfo& anim) { anim.lastSwitch = dwY3DCurrentFrameTick; }

void PulseAnimation(AnimationInfo& anim) {
  const uint32_t now = dwY3DCurrentFrameTick;
  float t = 1.01f;
  if (anim.period > 0.001f) t = float(now - anim.lastSwitch) * 0.001f / anim.period;
  if (t > 1.0f) {
    t -= float(int(t));
    anim.lastSwitch = now;
    anim.direction = !anim.direction;
  }
  for (int i = 0; i < 4; ++i) {
    const float from = anim.from[i], to = anim.to[i];
    const float c = anim.direction ? from + (to - from) * t : to + (from - to) * t;
    anim.current[i] = uint8_t(int(c));
  }
}

uint32_t PackedColor(const AnimationInfo& anim) {
  const uint8_t* c = anim.current;
  return uint32_t(c[3]) << 24 | uint32_t(c[0]) << 16 | uint32_t(c[1]) << 8 | c[2];
}
