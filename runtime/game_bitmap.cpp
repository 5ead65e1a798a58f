// game_bitmap.cpp: CGUI_GameBitmap: bitmap parameters, texture lifetime and
// drawing.
#include "runtime/game_bitmap.h"

#include <strings.h>

#include <cstring>

#include "host/host_services.h"
#include "korvogui/korvogui.h"
#include "runtime/error_text.h"
#include "runtime/param_shapes.h"

namespace {
uint32_t Pack(const int c[4]) {
  return uint32_t(c[3] & 255) << 24 | uint32_t(c[0] & 255) << 16 | uint32_t(c[1] & 255) << 8 |
         uint32_t(c[2] & 255);
}
}  // namespace

CGUI_GameBitmap::CGUI_GameBitmap() = default;

CGUI_GameBitmap::~CGUI_GameBitmap() { ReleaseTextureNow(); }

void CGUI_GameBitmap::ReleaseTextureNow() {
  if (texture_) ReleaseTexture(texture_, 0);
  texture_ = nullptr;
}

bool CGUI_GameBitmap::OnCreate() {
  if (!CGUI_Bitmap::OnCreate()) return false;
  const char* id = id_.c_str();
  for (int& c : color_) c = 255;
  u_ = v_ = 1.0f;
  animated_ = false;
  const char* name = "";
  if (SParamList* list = GetParamList(0)) {
    void* const dest[7] = {&name, &color_[0], &color_[1], &color_[2], &color_[3], &u_, &v_};
    if (ReadShape(list, kBitmapList, dest) < kBitmapList.required || !name) {
      GUI_ReportError("error at BITMAP '%s' : invalid bitmap info : %s", id, GetErrorText());
      return false;
    }
    if (SParamList* pulse = GetParamList(1)) {
      anim_ = AnimationInfo();
      if (!ReadAnimationInfo(pulse, anim_)) {
        GUI_ReportError("error at BITMAP '%s' : '%s'", id, GetErrorText());
        return false;
      }
      animated_ = true;
      RestartAnimation(anim_);
    }
  }
  packed_ = Pack(color_);

  SetTexture(name);
  return true;
}

void CGUI_GameBitmap::SetTexture(const char* name) {
  ReleaseTextureNow();
  if (!name || name[0] == '\0' || strcasecmp(name, "null") == 0) {
    name_[0] = '\0';
    return;
  }
  const size_t length = ::strnlen(name, kMaxName);
  std::memcpy(name_, name, length);
  name_[length] = '\0';
  RegisterNewTexture(&InterfaceTexture, GUI_GetTexPath(name_), &texture_, 0);
  LoadTexture(&InterfaceTexture, 0);
}

bool CGUI_GameBitmap::OnDestroy() {
  const bool done = CGUI_Bitmap::OnDestroy();
  ReleaseTextureNow();
  name_[0] = '\0';
  return done;
}

bool CGUI_GameBitmap::OnDraw() {
  if (!texture_) return true;
  if (rectPlacement_ != placement_ || rectScreen_[0] != SCREEN_X || rectScreen_[1] != SCREEN_Y) {
    float corner[2];
    GetAlignedPos(corner, true);
    rect_[0] = int(float(SCREEN_X) * corner[0]);
    rect_[1] = int(float(SCREEN_Y) * corner[1]);
    rect_[2] = int(float(SCREEN_X) * region_[2]);
    rect_[3] = int(float(SCREEN_Y) * region_[3]);
    rectPlacement_ = placement_;
    rectScreen_[0] = SCREEN_X;
    rectScreen_[1] = SCREEN_Y;
  }
  if (animated_) {
    PulseAnimation(anim_);
    packed_ = PackedColor(anim_);
  }
  DrawFrameBitmap(texture_, rect_[0], rect_[1], 0.01f, rect_[2], rect_[3], srcBlend_, dstBlend_, packed_, 0, u_,
                  v_);
  return true;
}
