// gauge_bitmap.cpp: CGUI_GaugeBitmap: creation and the bar over the texture.
#include "overlays/gauge_bitmap.h"

bool CGUI_GaugeBitmap::OnCreate() {
  Init2DAnimate(Y3DANIM_BAR, &bar_, region_[0], region_[1], 0.01f);
  return CGUI_GameBitmap::OnCreate();
}

bool CGUI_GaugeBitmap::OnDraw() {
  // The texture passes every depth test, writes depth and leaves out its
  // nearly transparent texels; the bar after it is drawn as usual.
  const bool textured = Texture() != nullptr;
  if (textured) {
    SetRenderState(Y3DRS_ZFUNC, Y3DCMP_ALWAYS);
    SetRenderState(Y3DRS_ZWRITEENABLE, 1);
    SetRenderState(Y3DRS_ALPHATESTENABLE, 1);
    SetRenderState(Y3DRS_ALPHAREF, 15);
    SetRenderState(Y3DRS_ALPHAFUNC, Y3DCMP_GREATER);
  }
  const bool drawn = CGUI_GameBitmap::OnDraw();
  if (textured) {
    SetRenderState(Y3DRS_ALPHATESTENABLE, 0);
    SetRenderState(Y3DRS_ZWRITEENABLE, 0);
  }
  if (!drawn) return false;
  float corner[2];
  GetAlignedPos(corner, true);
  const float w = region_[2];
  const float h = region_[3];
  Process2DAnimate(&bar_, 1);
  if (orientation_ == 0) {
    bar_.x = corner[0];
    bar_.y = corner[1] + h * (1.0f - fill_);
    bar_.width = w;
    bar_.height = h * fill_;
  } else {
    bar_.x = corner[0];
    bar_.y = corner[1];
    bar_.width = w * fill_;
    bar_.height = h;
  }
  DrawFrameBitmap(&bar_, barColor_, 0);
  return true;
}
