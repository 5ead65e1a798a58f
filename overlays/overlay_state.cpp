// overlay_state.cpp: the overlays' state instance.
#include "overlays/overlay_state.h"

SOverlayState& OverlayState() {
  static SOverlayState* state = [] {
    static SOverlayState instance;
    AddModulePart(&instance);
    return &instance;
  }();
  return *state;
}
