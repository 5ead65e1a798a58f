// play_interface.cpp: the heads-up display PLAYINTERFACE: the dialog with the
// play mark and the item gauges, and the exports that push events into it.
#include <strings.h>

#include <cmath>
#include <cstdio>
#include <cstring>

#include "host/host_characters.h"
#include "host/host_graphics.h"
#include "host/host_services.h"
#include "korvogui/korvogui.h"
#include "korvogui/overlays.h"
#include "menus/registration.h"
#include "overlays/event_message.h"
#include "overlays/gauge_bitmap.h"
#include "overlays/hud_controls.h"
#include "overlays/overlay_lookup.h"
#include "overlays/overlay_registrations.h"
#include "overlays/overlay_state.h"
#include "runtime/sound_ids.h"

namespace {

constexpr const char* kItemIds[kItemCount] = {
    "IDC_BITMAP_PLAYITEMREINFORCEDDAMAGE",   "IDC_BITMAP_PLAYITEMINVINCIBLE",
    "IDC_BITMAP_PLAYITEMINSULATION",         "IDC_BITMAP_PLAYITEMARMORRESTORATION",
    "IDC_BITMAP_PLAYITEMFULLSHIELDCONDITION", "IDC_BITMAP_PLAYITEMCOOLINGDURATION",
};

class CGUI_PlayInterface : public CGUI_Dialog {
 public:
  bool OnCreate() override {
    if (CHARACTER* character = pControlCharacter) {
      BindOption(this, "IDC_STATIC_LOPTION", "IDC_BITMAP_PLAYLOPTIONICON", GetOptionWeapon(character, true));
      BindOption(this, "IDC_STATIC_ROPTION", "IDC_BITMAP_PLAYROPTIONICON", GetOptionWeapon(character, false));
      CGUI_Window* arrow = FindChild("IDC_BITMAP_OVERHEATARROW");
      CGUI_Window* front = FindChild("IDC_BITMAP_OVERHEATFRONT");
      if (arrow && front) {
        float a[4], f[4];
        arrow->GetRegion(a);
        front->GetRegion(f);
        a[1] = f[1] + f[3] * (1000.0f - character->heat.threshold) * 0.001f;
        arrow->SetRegion(a);
      }
    }
    if (!CGUI_Dialog::OnCreate()) return false;
    mark_ = dynamic_cast<CGUI_GameBitmap*>(FindControl("IDC_BITMAP_PLAYMARK"));
    SOverlayState& state = ModulePart<SOverlayState>();
    state.playInterface = this;
    for (int i = 0; i < kItemCount; ++i) {
      state.items[i] = dynamic_cast<CGUI_GaugeBitmap*>(FindControl(kItemIds[i]));
      if (state.items[i]) state.items[i]->Show(false, false);
    }
    return true;
  }

  bool OnUpdate() override {
    if (mark_) {
      if (std::strcmp(mark_->TextureName(), markName_) != 0) mark_->SetTexture(markName_);
      mark_->SetColor(markColor_);
    }
    return CGUI_Dialog::OnUpdate();
  }

  void SetPlayMark(const char* name, uint32_t argb) {
    std::snprintf(markName_, sizeof markName_, "%s", name ? name : "");
    if (strcasecmp(markName_, "null") == 0) markName_[0] = '\0';
    markColor_ = argb;
  }

 private:
  CGUI_GameBitmap* mark_ = nullptr;
  char markName_[256] = {};
  uint32_t markColor_ = 0;
};

// Sets message line `id` of the open dialog `dialog`; plays `sound` for a text.
void EventMessage(const char* dialog, const char* id, int sound, char* text, uint32_t durationMs,
                  uint32_t argb) {
  auto* line = FindOpenAs<CGUI_EventMessage>(dialog, id);
  if (!line) return;
  line->SetMessage(text, durationMs, argb);
  if (text && text[0]) PlaySoundA(sound);
}

float FloatBits(uintptr_t value) {
  const uint32_t bits = uint32_t(value);
  float f;
  std::memcpy(&f, &bits, sizeof f);
  return f;
}

}  // namespace

// ---- Exports -------------------------------------------------------------------------------

extern "C" KORVO_API void GUI_EventMessage1(char* text, uint32_t durationMs, uint32_t argb) {
  EventMessage("PLAYINTERFACE", "IDC_STATIC_PLAYMESSAGE1", kSoundEventMessage1, text, durationMs, argb);
}
extern "C" KORVO_API void GUI_EventMessage2(char* text, uint32_t durationMs, uint32_t argb) {
  EventMessage("PLAYINTERFACE", "IDC_STATIC_PLAYMESSAGE2", kSoundEventMessage2, text, durationMs, argb);
}
extern "C" KORVO_API void GUI_EventMessage3(char* text, uint32_t durationMs, uint32_t argb) {
  EventMessage("PLAYINTERFACE", "IDC_STATIC_PLAYMESSAGE3", kSoundEventMessage3, text, durationMs, argb);
}
extern "C" KORVO_API void GUI_EventMessage4(char* text, uint32_t durationMs, uint32_t argb) {
  EventMessage("PLAYCHAT", "IDC_STATIC_PLAYMESSAGE4", kSoundEventMessage4, text, durationMs, argb);
}
extern "C" KORVO_API void GUI_EventMessage5(char* text, uint32_t durationMs, uint32_t argb) {
  EventMessage("MULTIPLAYGAMEOVER", "IDC_STATIC_MULTIPLAYGAMEOVERMESSAGE", kSoundEventMessage5, text, durationMs, argb);
}

extern "C" KORVO_API void GUI_TimerMessage(int mode, int seconds) {
  auto* clock = FindOpenAs<CGUI_GameStatic>("PLAYINTERFACE", "IDC_STATIC_PLAYTIMELIMIT");
  if (clock) ShowClock(clock, mode, seconds);
}

extern "C" KORVO_API void GUI_SetItemState(COH_Item* item, uint32_t what, uintptr_t value) {
  if (!item) return;
  int slot;
  switch (item->type) {
    case 27: slot = kItemFullShieldCondition; break;
    case 28: slot = kItemArmorRestoration; break;
    case 29: slot = kItemCoolingDuration; break;
    case 30: slot = kItemInsulation; break;
    case 31: slot = kItemReinforcedDamage; break;
    case 33: slot = kItemInvincible; break;
    default: return;
  }
  CGUI_GaugeBitmap* gauge = ModulePart<SOverlayState>().items[slot];
  if (!gauge) return;
  switch (what) {
    case 1:
      if (value) {
        gauge->Show(true, false);
        gauge->RestartClock();
        gauge->SetBlend(Y3DBLEND_ZERO, Y3DBLEND_ONE);
      } else {
        gauge->Show(false, false);
      }
      break;
    case 2: gauge->SetFill(1.0f - FloatBits(value)); break;
    case 3: gauge->SetBarColor(uint32_t(value)); break;
    default: break;
  }
}

extern "C" KORVO_API void GUI_SetPlayMark(char* texture, uint32_t argb) {
  if (auto* hud = dynamic_cast<CGUI_PlayInterface*>(ModulePart<SOverlayState>().playInterface))
    hud->SetPlayMark(texture, argb);
}

extern "C" KORVO_API void GUI_SetRadarState(uint32_t what, uintptr_t value) {
  if (CGUI_Radar* radar = ModulePart<SOverlayState>().radar)
    SetRadarState(radar, what, value, FloatBits(value));
}

void RegisterPlayInterface(CGUI_ClassRegistry* r) {
  RegisterIdClass<CGUI_PlayInterface>(r, "PLAYINTERFACE");
  RegisterHudControls(r);
}
