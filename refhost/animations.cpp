// animations.cpp: the host's small animation table (bar, caret, static noise) for
// _ANIMATEEX records: their clock, frames and drawing.
#include <array>

#include "host/host_graphics.h"
#include "host/host_services.h"
#include "refhost/raster.h"

using namespace korvohost;
using namespace korvohost::gfx;

namespace {

struct AnimKind {
  int frames;
  uint32_t frameMs;
};

AnimKind KindOf(int kind) {
  switch (kind) {
    case Y3DANIM_CARET: return {2, 500};
    case Y3DANIM_NOISE: return {8, 50};
    default: return {1, 1};   // bars and kinds the table lacks: one still frame
  }
}

constexpr int kNoiseSize = 64;

// Grey noise of one frame, from a small integer hash so that frames repeat exactly.
const Y3DTexture& NoiseFrame(int frame) {
  static std::array<Y3DTexture, 8> frames;
  Y3DTexture& t = frames[size_t(frame) % frames.size()];
  if (t.rgba.empty()) {
    t.width = t.height = kNoiseSize;
    t.rgba.resize(kNoiseSize * kNoiseSize * 4);
    uint32_t h = 2166136261u ^ uint32_t(frame);
    for (size_t i = 0; i < t.rgba.size(); i += 4) {
      h = h * 1664525u + 1013904223u;
      const uint8_t grey = uint8_t(h >> 24);
      t.rgba[i] = t.rgba[i + 1] = t.rgba[i + 2] = grey;
      t.rgba[i + 3] = 255;
    }
  }
  return t;
}

}  // namespace

void Init2DAnimate(int kind, _ANIMATEEX* anim, float x, float y, float z) {
  if (!anim) return;
  anim->kind = kind;
  anim->x = x;
  anim->y = y;
  anim->z = z;
  anim->frame = 0;
  anim->startTick = anim->lastTick = dwY3DCurrentFrameTick;
}

void Process2DAnimate(_ANIMATEEX* anim, int steps) {
  if (!anim) return;
  const AnimKind k = KindOf(anim->kind);
  if (steps > 0) {
    const uint64_t elapsed = uint32_t(dwY3DCurrentFrameTick - anim->startTick);
    anim->frame = int(elapsed * uint64_t(steps) / k.frameMs % uint64_t(k.frames));
  }
  anim->lastTick = dwY3DCurrentFrameTick;
}

void DrawFrameBitmap(_ANIMATEEX* anim, uint32_t rgb, int align) {
  if (!anim || !Recording()) return;
  EnsureFrame();
  const uint32_t argb = (rgb >> 24) ? rgb : (rgb | 0xFF000000u);
  int x = int(anim->x * SCREEN_X), y = int(anim->y * SCREEN_Y);
  int w = anim->kind == Y3DANIM_CARET ? 2 : int(anim->width * SCREEN_X);
  int h = int(anim->height * SCREEN_Y);
  AlignRect(align, w, h, &x, &y);
  DrawRecord& r = NewRecord(DrawKind::Animation);
  r.animKind = anim->kind;
  r.x = x, r.y = y, r.w = w, r.h = h;
  r.argb = argb;
  r.srcBlend = Y3DBLEND_SRCALPHA;
  r.dstBlend = Y3DBLEND_INVSRCALPHA;
  r.visible = !(anim->kind == Y3DANIM_CARET && anim->frame != 0);
  const bool visible = r.visible;
  if (!Rasterising() || !visible) return;
  const Blender over(Y3DBLEND_SRCALPHA, Y3DBLEND_INVSRCALPHA);
  if (anim->kind == Y3DANIM_NOISE)
    DrawImage(&NoiseFrame(anim->frame), x, y, w, h, float(w) / kNoiseSize, float(h) / kNoiseSize,
              Unpack(argb), over);
  else
    DrawImage(nullptr, x, y, w, h, 1, 1, Unpack(argb), over);
}
