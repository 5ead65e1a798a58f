// draw2d.cpp: the host's 2D drawing services: stretched, plain and rotated
// bitmaps, each recorded in the draw list and drawn into the frame, and the
// render states they are drawn with.
#include <cmath>
#include <string>

#include "host/host_graphics.h"
#include "host/session_state.h"
#include "refhost/korvohost.h"
#include "refhost/raster.h"

using namespace korvohost;
using namespace korvohost::gfx;

namespace {

// Appends the record of a bitmap draw and returns the image to draw (null: a
// solid rectangle). Inlined: every bitmap drawn passes through here.
[[gnu::always_inline]] inline const Y3DTexture* RecordBitmap(DrawKind kind, TEXTURE texture, uint32_t argb,
                                                             int src, int dst, DrawRecord** out) {
  TextureToDraw t{nullptr, nullptr, false};
  if (texture) t = TextureForDraw(texture);
  RecordStrings strings;
  strings.texture = t.path;
  DrawRecord& r = NewRecord(kind, strings);
  r.placeholder = t.placeholder;
  r.argb = argb;
  r.srcBlend = src;
  r.dstBlend = dst;
  *out = &r;
  return t.image;
}

}  // namespace

void DrawFrameBitmap(TEXTURE texture, int x, int y, float, int w, int h,
                     int srcBlend, int dstBlend, uint32_t argb, int align, float u, float v) {
  if (!Recording()) return;
  EnsureFrame();
  AlignRect(align, w, h, &x, &y);
  DrawRecord* r;
  const Y3DTexture* image = RecordBitmap(DrawKind::Bitmap, texture, argb, srcBlend, dstBlend, &r);
  r->x = x, r->y = y, r->w = w, r->h = h;
  if (Rasterising()) DrawImage(image, x, y, w, h, u, v, Unpack(argb), Blender(srcBlend, dstBlend));
}

void ShowFrameBitmap(TEXTURE texture, int x, int y, int w, int h, uint32_t argb) {
  if (!Recording()) return;
  EnsureFrame();
  DrawRecord* r;
  const Y3DTexture* image =
      RecordBitmap(DrawKind::Bitmap, texture, argb, Y3DBLEND_SRCALPHA, Y3DBLEND_INVSRCALPHA, &r);
  if (w <= 0 || h <= 0) {
    w = image ? image->width : 0;
    h = image ? image->height : 0;
  }
  r->x = x, r->y = y, r->w = w, r->h = h;
  if (Rasterising())
    DrawImage(image, x, y, w, h, 1, 1, Unpack(argb), Blender(Y3DBLEND_SRCALPHA, Y3DBLEND_INVSRCALPHA));
}

void ShowFrameBitmapTransformed(TEXTURE texture, float cx, float cy, float w, float h,
                                float angle, uint32_t argb) {
  if (!Recording()) return;
  EnsureFrame();
  DrawRecord* r;
  const Y3DTexture* image =
      RecordBitmap(DrawKind::Transformed, texture, argb, Y3DBLEND_SRCALPHA, Y3DBLEND_INVSRCALPHA, &r);
  r->x = int(std::lround(cx - w / 2)), r->y = int(std::lround(cy - h / 2));
  r->w = int(std::lround(w)), r->h = int(std::lround(h));
  r->angle = angle;
  if (Rasterising())
    DrawImageRotated(image, cx, cy, w, h, angle, Unpack(argb),
                     Blender(Y3DBLEND_SRCALPHA, Y3DBLEND_INVSRCALPHA));
}

void SetRenderState(int state, uint32_t value) {
  if (korvostate::Recording()) korvohost::RecordRenderState(state, value);
  RenderStates& states = TheFrame().states;
  switch (state) {
    case Y3DRS_ZWRITEENABLE: states.zWrite = value; break;
    case Y3DRS_ALPHATESTENABLE: states.alphaTest = value; break;
    case Y3DRS_ZFUNC: states.zFunc = value; break;
    case Y3DRS_ALPHAREF: states.alphaRef = value; break;
    case Y3DRS_ALPHAFUNC: states.alphaFunc = value; break;
    default: break;   // states the 2D renderer has no use for
  }
}
