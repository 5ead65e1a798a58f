// overlay_state.h: the overlays' module-wide references: the live play
// interface, the live radar and the six item gauges, and the armor warning.
// Window pointers are dropped when the compiled table is freed.
#pragma once
#include <cstdint>

#include "runtime/module_state.h"

class CGUI_Window;
class CGUI_GaugeBitmap;
class CGUI_Radar;

// Item gauge slots, in this order.
enum { kItemReinforcedDamage, kItemInvincible, kItemInsulation, kItemArmorRestoration,
       kItemFullShieldCondition, kItemCoolingDuration, kItemCount };

struct SArmorWarning {
  bool haveArmorColor = false;
  bool haveShieldColor = false;
  uint8_t armorNormal[4] = {255, 255, 255, 255};    // R, G, B, A
  uint8_t shieldNormal[4] = {255, 255, 255, 255};
  uint8_t one[4] = {255, 30, 30, 255};
  uint8_t two[4] = {255, 30, 30, 128};
  float period = 1.0f;
  uint8_t current[4] = {255, 30, 30, 255};
  uint32_t start = 0;
  int direction = 0;
  bool active = false;
};

struct SOverlayState final : CModulePart {
  CGUI_Window* playInterface = nullptr;
  CGUI_Radar* radar = nullptr;
  CGUI_GaugeBitmap* items[kItemCount] = {};
  SArmorWarning warning;   // no window pointers: kept across compiles

  void OnTableReleased() override {
    playInterface = nullptr;
    radar = nullptr;
    for (CGUI_GaugeBitmap*& item : items) item = nullptr;
  }
};
