// raster.h: stretched and rotated image drawing into the frame (internal to the host).
#pragma once
#include "refhost/frame.h"
#include "refhost/texture_store.h"

namespace korvohost::gfx {

// Draws image (null: a solid rectangle) over the pixel rectangle (x, y, w, h),
// sampling the nearest texel; u and v scale the texture coordinates and the
// texture repeats beyond 1. Each texel is modulated by tint. Clipped to the frame.
void DrawImage(const Y3DTexture* image, int x, int y, int w, int h, float u, float v,
               Color tint, const Blender& blender);
// Draws image (null: solid) as a w by h rectangle centred on (cx, cy), its x axis
// along (cos angle, sin angle).
void DrawImageRotated(const Y3DTexture* image, float cx, float cy, float w, float h,
                      float angle, Color tint, const Blender& blender);

}  // namespace korvohost::gfx
