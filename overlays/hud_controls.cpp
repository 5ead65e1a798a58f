// hud_controls.cpp: the readouts of the heads-up display, polled every frame
// from the controlled character and the network client tables.
#include "overlays/hud_controls.h"

#include <strings.h>

#include <cmath>
#include <cstring>
#include <string>

#include "host/host_characters.h"
#include "host/host_graphics.h"
#include "host/host_services.h"
#include "host/netkorvo.h"
#include "korvogui/korvogui.h"
#include "korvogui/room.h"
#include "menus/registration.h"
#include "overlays/gauge_bitmap.h"
#include "overlays/overlay_lookup.h"
#include "overlays/overlay_state.h"
#include "runtime/game_static.h"
#include "runtime/simple_controls.h"
#include "runtime/sound_ids.h"

constexpr int kCentred = Y3DALIGN_HCENTER | Y3DALIGN_VCENTER;

// ---- Radar ------------------------------------------------------------------------------------

class CGUI_Radar : public CGUI_Custom {
 public:
  ~CGUI_Radar() override { Release(); }
  bool OnCreate() override {
    ModulePart<SOverlayState>().radar = this;
    Init2DAnimate(Y3DANIM_BAR, &blip_, 0, 0, 0.05f);
    Init2DAnimate(Y3DANIM_NOISE, &noise_, region_[0], region_[1], 0.05f);
    Release();
    RegisterNewTexture(&InterfaceTexture, GUI_GetTexPath("radar01.tga"), &disc_, 0);
    RegisterNewTexture(&InterfaceTexture, GUI_GetTexPath("radar02.tga"), &sweep_, 0);
    LoadTexture(&InterfaceTexture, 0);
    return CGUI_Custom::OnCreate();
  }
  bool OnDestroy() override {
    Release();
    return CGUI_Custom::OnDestroy();
  }
  bool OnDraw() override;

  float range = 400.0f;
  uint32_t flags = 0;
  uint8_t hidden[64] = {};

 private:
  void Release() {
    if (disc_) ReleaseTexture(disc_, 0);
    if (sweep_) ReleaseTexture(sweep_, 0);
    disc_ = sweep_ = nullptr;
  }
  TEXTURE disc_ = nullptr;
  TEXTURE sweep_ = nullptr;
  _ANIMATEEX blip_;
  _ANIMATEEX noise_;
  int noiseLength_ = -1;      // length of the noise sound; -1 until asked
  uint32_t noiseStart_ = 0;
};

bool CGUI_Radar::OnDraw() {
  CHARACTER* self = pControlCharacter;
  if (!self) return true;
  // The disc is centred on the control's position (its anchor); the noise
  // covers the control's rectangle, which a centred alignment lays round
  // that same point.
  float corner[2];
  GetAlignedPos(corner, true);
  const float size = region_[2] * float(SCREEN_X);
  const float px = (region_[0] + origin_[0]) * float(SCREEN_X);
  const float py = (region_[1] + origin_[1]) * float(SCREEN_Y);
  const int view = ViewP & 4095;
  const float c = cos_ptr[view];
  const float s = sin_ptr[view];
  DrawFrameBitmap(disc_, int(px), int(py), 0.05f, int(size), int(size), Y3DBLEND_SRCALPHA,
                  Y3DBLEND_INVSRCALPHA, 0xFFFFBD1E, kCentred, 1.0f, 1.0f);
  ShowFrameBitmapTransformed(sweep_, px, py, size, size, std::atan2(s, c), 0xFFFFBD1E);
  const uint32_t now = dwY3DCurrentFrameTick;
  if (flags & 1) {
    Process2DAnimate(&noise_, 1);
    noise_.x = corner[0];
    noise_.y = corner[1];
    noise_.width = region_[2];
    noise_.height = region_[3];
    DrawFrameBitmap(&noise_, 0xFFFFFF, 0);
    if (noiseLength_ < 0) {
      noiseLength_ = GetPlayTime(kSoundRadarNoise);
      noiseStart_ = now - uint32_t(noiseLength_) - 20;   // the last start counts as long past
    }
    if (int64_t(now) - int64_t(noiseStart_) + 20 > noiseLength_) {
      PlaySoundA(kSoundRadarNoise);
      noiseStart_ = now;
    }
    return true;
  }
  const float k = 0.4f * size / range;
  // Drawing does not change the player list: its count is asked once.
  for (int i = 0, count = PlayerList.Count(); i < count; ++i) {
    CHARACTER* other = PlayerList.At(i);
    if (!other || other == self || other->radarShow == 0 || other->radarHide != 0) continue;
    if (hidden[other->radarIndex & 63]) continue;
    const float dx = other->x - self->x;
    const float dz = other->z - self->z;
    if (fastsqrt(dx * dx + dz * dz) >= range) continue;
    const float rx = k * dx, ry = -k * dz;
    blip_.x = (px + rx * c - ry * s) / float(SCREEN_X);
    blip_.y = (py + rx * s + ry * c) / float(SCREEN_Y);
    blip_.width = 0.006f;
    blip_.height = 0.006f;
    DrawFrameBitmap(&blip_, other->team == self->team ? 0xFFFFB94B : 0xFFFF4B54, kCentred);
  }
  return true;
}

void SetRadarState(CGUI_Radar* radar, uint32_t what, uintptr_t value, float f) {
  switch (what) {
    case 1: radar->flags = value ? radar->flags | 1u : radar->flags & ~1u; break;
    case 2: radar->range = f * 400.0f; break;
    case 3:
    case 4:
      if (auto* character = reinterpret_cast<CHARACTER*>(value))
        radar->hidden[character->radarIndex & 63] = what == 3 ? 1 : 0;
      break;
    default: break;
  }
}

namespace {

// ---- Heat -----------------------------------------------------------------------------------

int HeatValue(const CHARACTER* c) { return int(c->heat.GetGauge()); }

uint32_t HeatColor(const CHARACTER* c) {
  if (c->heatFlag) return 0xFF52D8DE;
  if (!c->heat.overheated) return float(HeatValue(c)) >= c->heat.threshold ? 0xFFFFB94B : 0xFFFFFA9D;
  return 0xFFFF1E1E;
}

void SetArgb(CGUI_GameStatic* text, uint32_t argb) {
  text->SetTextColor(int(argb >> 16 & 255), int(argb >> 8 & 255), int(argb & 255), int(argb >> 24));
}

// Sets the caption only when it changed (keeps the text object's measure).
void SetText(CGUI_GameStatic* text, const std::string& caption) {
  const std::string* now = nullptr;
  if (text->GetCaptionRef(&now) && now && *now == caption) return;
  text->SetCaption(caption);
}

class CGUI_OverheatGauge : public CGUI_GaugeBitmap {
 public:
  bool OnDraw() override {
    const CHARACTER* c = pControlCharacter;
    if (!c) return true;
    const int value = HeatValue(c);
    SetFill(value <= 1000 ? float(value) * 0.001f : 1.0f);
    SetBlend(Y3DBLEND_ZERO, Y3DBLEND_ONE);
    SetBarColor(HeatColor(c));
    return CGUI_GaugeBitmap::OnDraw();
  }
};

class CGUI_OverheatText : public CGUI_GameStatic {
 public:
  bool OnDraw() override {
    if (const CHARACTER* c = pControlCharacter) {
      SetText(this, Decimal(HeatValue(c)));
      SetArgb(this, HeatColor(c));
    }
    return CGUI_GameStatic::OnDraw();
  }
};

// ---- Armor and shield ------------------------------------------------------------------------

void SetBytes(CGUI_GameStatic* text, const uint8_t c[4]) { text->SetTextColor(c[0], c[1], c[2], c[3]); }

// Advances the warning blink of the shared armor warning.
void BlinkWarning(SArmorWarning& w, int armor) {
  const uint32_t now = dwY3DCurrentFrameTick;
  if (armor >= 30) {
    w.active = false;
    return;
  }
  if (!w.active) {
    w.active = true;
    w.start = now;
  }
  double phase = double(now - w.start) * 0.001 / w.period;
  if (w.period <= 0.001f || phase > 1.0) {
    phase -= double(int64_t(phase));
    w.start = now;
    w.direction = !w.direction;
  }
  const uint8_t* from = w.direction ? w.one : w.two;
  const uint8_t* to = w.direction ? w.two : w.one;
  // The sum is truncated, not the step: 255 - 63.5 gives 191.
  for (int i = 0; i < 4; ++i) w.current[i] = uint8_t(int(from[i] + (to[i] - from[i]) * phase));
}

template <bool Shield>
class TGUI_PointText : public CGUI_GameStatic {
 public:
  bool OnCreate() override {
    if (!CGUI_GameStatic::OnCreate()) return false;
    SArmorWarning& w = ModulePart<SOverlayState>().warning;
    bool& have = Shield ? w.haveShieldColor : w.haveArmorColor;
    uint8_t* normal = Shield ? w.shieldNormal : w.armorNormal;
    if (!have) {
      have = true;
      for (int i = 0; i < 4; ++i) normal[i] = uint8_t(TextColor()[i]);
    }
    const bool show = GUI_GetServerInfo()->type != 7;
    if (CGUI_Window* label = FindAs<CGUI_Window>(GetParent(), Shield ? "IDC_STATIC_SHIELD" : "IDC_STATIC_ARMOR"))
      label->Show(show, false);
    Show(show, false);
    return true;
  }
  bool OnDraw() override {
    if (const CHARACTER* c = pControlCharacter) {
      SArmorWarning& w = ModulePart<SOverlayState>().warning;
      SetText(this, Decimal(Shield ? c->shield : c->armor));
      if (!Shield) BlinkWarning(w, c->armor);
      SetBytes(this, w.active ? w.current : (Shield ? w.shieldNormal : w.armorNormal));
    }
    return CGUI_GameStatic::OnDraw();
  }
};

// The armor value and the shield value that follows the armor warning: one body.
using CGUI_ArmorPoint = TGUI_PointText<false>;
using CGUI_ShieldPoint = TGUI_PointText<true>;

// ---- Weapon and option parts -----------------------------------------------------------------

class CGUI_WeaponName : public CGUI_GameStatic {
 public:
  bool OnDraw() override {
    if (const CHARACTER* c = pControlCharacter) {
      if (c->heat.overheated) SetText(this, "OVERHEAT");
      else if (c->weapon) SetText(this, std::string(c->weapon->name, strnlen(c->weapon->name, sizeof c->weapon->name)));
      else SetText(this, "NONE");
    }
    return CGUI_GameStatic::OnDraw();
  }
};

class CGUI_OptionIcon : public CGUI_GaugeBitmap {
 public:
  bool OnDraw() override {
    if (!option) return true;
    char icon[sizeof option->icon + 1] = {};
    std::memcpy(icon, option->icon, sizeof option->icon);
    if (strcasecmp(icon, "null") == 0) icon[0] = '\0';
    if (std::strcmp(icon, TextureName()) != 0) SetTexture(icon);
    const unsigned char* b = option->color;
    SetBarColor(uint32_t(b[3]) << 24 | uint32_t(b[0]) << 16 | uint32_t(b[1]) << 8 | b[2]);
    SetFill(option->charge);
    return CGUI_GaugeBitmap::OnDraw();
  }
  COPT_Option* option = nullptr;
};

class CGUI_OptionName : public CGUI_GameStatic {
 public:
  bool OnDraw() override {
    if (option) {
      const unsigned char* b = option->textColor;
      SetTextColor(b[0], b[1], b[2], b[3]);
      SetText(this, std::string(option->name, strnlen(option->name, sizeof option->name)));
    }
    return CGUI_GameStatic::OnDraw();
  }
  COPT_Option* option = nullptr;
};

// ---- Frags and clock ------------------------------------------------------------------------------

class CGUI_FirstPlayerFrag : public CGUI_GameStatic {
 public:
  bool OnDraw() override {
    if (!NET_bInitialized) {
      SetText(this, "");
      return CGUI_GameStatic::OnDraw();
    }
    int best = -9999;
    const SClientInfo* leader = nullptr;
    for (int slot = 0; slot < 8; ++slot) {
      const SClientInfo* info = CC_Manager::GetClientInfo(slot);
      if (info && info->frags > best) {
        best = info->frags;
        leader = info;
      }
    }
    SetText(this, Decimal(best));
    if (leader) SetArgb(this, uint32_t(GUI_GetTeamColorByID(leader->team)));
    return CGUI_GameStatic::OnDraw();
  }
};

class CGUI_PlayerFragLimit : public CGUI_GameStatic {
 public:
  bool OnDraw() override {
    const SClientInfo* own = NET_bInitialized ? CC_Manager::GetClientInfo(my_client) : nullptr;
    if (!NET_bInitialized) SetText(this, "");
    if (own) {
      char text[32];
      char* end = WriteDecimal(text, own->frags);
      if (CC_Manager::FragLimit != 0) {
        *end++ = '/';
        end = WriteDecimal(end, int(CC_Manager::FragLimit));
      }
      SetText(this, std::string(text, end));
      SetArgb(this, uint32_t(GUI_GetTeamColorByID(own->team)));
    }
    return CGUI_GameStatic::OnDraw();
  }
};

class CGUI_PlayTimeLimit : public CGUI_GameStatic {
 public:
  bool OnUpdate() override {
    if (NET_bInitialized) {
      const int limit = CC_Manager::TimeLimit * 60;
      const int remainder = limit - CC_Manager::ElapsedTime / 1000;
      ShowClock(this, limit == 0 ? 1 : remainder < 0 ? 2 : 3, remainder);
    }
    return CGUI_GameStatic::OnUpdate();
  }
};

}  // namespace

void ShowClock(CGUI_GameStatic* clock, int mode, int seconds) {
  switch (mode) {
    case 1: SetText(clock, "TIME UNLIMITED"); break;
    case 2: SetText(clock, "TIME OVER"); break;
    case 3: {
      if (seconds < 0) return;
      // hh:mm:ss, each part at least two digits.
      char text[40];
      char* end = WriteDecimal(text, seconds / 3600, 2);
      *end++ = ':';
      end = WriteDecimal(end, seconds / 60 % 60, 2);
      *end++ = ':';
      end = WriteDecimal(end, seconds % 60, 2);
      SetText(clock, std::string(text, end));
      const int gb = seconds < 61 ? 30 : 255;
      clock->SetTextColor(255, gb, gb, 255);
      break;
    }
    default: break;
  }
}

void BindOption(CGUI_Window* dialog, const char* nameId, const char* iconId, COPT_Option* option) {
  if (auto* name = FindAs<CGUI_OptionName>(dialog, nameId)) name->option = option;
  if (auto* icon = FindAs<CGUI_OptionIcon>(dialog, iconId)) icon->option = option;
}

void RegisterHudControls(CGUI_ClassRegistry* r) {
  RegisterIdClass<CGUI_OverheatGauge>(r, "IDC_BITMAP_OVERHEATFRONT");
  RegisterIdClass<CGUI_OverheatText>(r, "IDC_STATIC_OVERHEAT");
  RegisterIdClass<CGUI_ArmorPoint>(r, "IDC_STATIC_ARMORPOINT");
  RegisterIdClass<CGUI_ShieldPoint>(r, "IDC_STATIC_SHIELDPOINT");
  RegisterIdClass<CGUI_WeaponName>(r, "IDC_STATIC_WEAPONNAME");
  RegisterIdClass<CGUI_Radar>(r, "IDC_CUSTOM_RADAR");
  RegisterIdClass<CGUI_OptionIcon>(r, "IDC_BITMAP_PLAYLOPTIONICON");
  RegisterIdClass<CGUI_OptionIcon>(r, "IDC_BITMAP_PLAYROPTIONICON");
  for (const char* id : {"IDC_BITMAP_PLAYITEMREINFORCEDDAMAGE", "IDC_BITMAP_PLAYITEMINVINCIBLE",
                         "IDC_BITMAP_PLAYITEMINSULATION", "IDC_BITMAP_PLAYITEMARMORRESTORATION",
                         "IDC_BITMAP_PLAYITEMFULLSHIELDCONDITION", "IDC_BITMAP_PLAYITEMCOOLINGDURATION"})
    RegisterIdClass<CGUI_GaugeBitmap>(r, id);
  RegisterIdClass<CGUI_OptionName>(r, "IDC_STATIC_LOPTION");
  RegisterIdClass<CGUI_OptionName>(r, "IDC_STATIC_ROPTION");
  RegisterIdClass<CGUI_FirstPlayerFrag>(r, "IDC_STATIC_PLAYFIRSTPLAYERFRAG");
  RegisterIdClass<CGUI_PlayerFragLimit>(r, "IDC_STATIC_PLAYPLAYERFRAGLIMIT");
  RegisterIdClass<CGUI_PlayTimeLimit>(r, "IDC_STATIC_PLAYTIMELIMIT");
}
