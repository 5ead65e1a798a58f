// game_bitmap.h: CGUI_GameBitmap, the game's bitmap (script class "BITMAP"):
// an interface texture stretched over the control's rectangle in a colour,
// optionally pulsing between two colours.
#pragma once
#include <cstdint>

#include "host/host_graphics.h"
#include "runtime/animation_info.h"
#include "runtime/simple_controls.h"

class CGUI_GameBitmap : public CGUI_Bitmap {
 public:
  static constexpr int kMaxName = 255;

  CGUI_GameBitmap();
  ~CGUI_GameBitmap() override;

  // Reads (name, red, green, blue, alpha, u, v) from list 0 and the pulse from
  // list 1, then loads the texture "menu/<name>" unless the name is "null".
  bool OnCreate() override;
  bool OnDestroy() override;
  bool OnDraw() override;

  // Swaps the texture for "menu/<name>"; none for an empty name or "null".
  void SetTexture(const char* name);
  // The colour the texture is drawn in until the next creation (0xAARRGGBB).
  void SetColor(uint32_t argb) { packed_ = argb; }
  // The blend pair the texture is drawn with until the next creation.
  void SetBlend(int src, int dst) {
    srcBlend_ = src;
    dstBlend_ = dst;
  }

  // Restarts the colour pulse (composites call it when they show the bitmap).
  void RestartClock() { RestartAnimation(anim_); }
  TEXTURE Texture() const { return texture_; }
  const char* TextureName() const { return name_; }
  uint32_t Color() const { return packed_; }

 private:
  void ReleaseTextureNow();

  TEXTURE texture_ = nullptr;   // owned
  char name_[kMaxName + 1] = {};
  float u_ = 1.0f;
  float v_ = 1.0f;
  int color_[4] = {255, 255, 255, 255};
  uint32_t packed_ = 0xFFFFFFFF;
  int srcBlend_ = Y3DBLEND_SRCALPHA;
  int dstBlend_ = Y3DBLEND_INVSRCALPHA;
  bool animated_ = false;
  AnimationInfo anim_;
  // The pixel rectangle of the last draw, and the placement and screen size
  // it was computed from.
  int rect_[4] = {0, 0, 0, 0};
  uint32_t rectPlacement_ = ~0u;
  int rectScreen_[2] = {0, 0};
};
