// raster.cpp: nearest-texel drawing of stretched and rotated images into the frame.
#include "refhost/raster.h"

#include <algorithm>
#include <cmath>

namespace korvohost::gfx {

namespace {

// Texel index of texture coordinate t (1.0 = the whole texture), wrapped.
int Wrap(double t, int size) {
  const long long i = static_cast<long long>(std::floor(t * size));
  const long long m = i % size;
  return int(m < 0 ? m + size : m);
}

Color Texel(const Y3DTexture& image, int tx, int ty) {
  const uint8_t* p = &image.rgba[(size_t(ty) * size_t(image.width) + size_t(tx)) * 4];
  return {p[0], p[1], p[2], p[3]};
}

}  // namespace

void DrawImage(const Y3DTexture* image, int x, int y, int w, int h, float u, float v,
               Color tint, const Blender& blender) {
  const Frame& f = TheFrame();
  if (w <= 0 || h <= 0) return;
  if (image && (image->width <= 0 || image->height <= 0)) return;
  const int x0 = std::max(x, 0), x1 = int(std::min<long long>((long long)x + w, f.width));
  const int y0 = std::max(y, 0), y1 = int(std::min<long long>((long long)y + h, f.height));
  if (x0 >= x1 || y0 >= y1) return;
  const AlphaTest test;
  if (!image) {
    if ((tint.a == 0 && blender.SkipsTransparent()) || !test.Passes(tint.a)) return;
    for (int py = y0; py < y1; ++py)
      for (int px = x0; px < x1; ++px) blender.Blend(px, py, tint);
    return;
  }
  // The texel column of each frame column, in a buffer kept for the next draw.
  static std::vector<int> columns;
  columns.resize(size_t(x1 - x0));
  for (int px = x0; px < x1; ++px)
    columns[size_t(px - x0)] = Wrap((px - x + 0.5) / w * u, image->width);
  const bool skip = blender.SkipsTransparent();
  const bool white = tint.r == 255 && tint.g == 255 && tint.b == 255 && tint.a == 255;
  for (int py = y0; py < y1; ++py) {
    const int ty = Wrap((py - y + 0.5) / h * v, image->height);
    for (int px = x0; px < x1; ++px) {
      const Color texel = Texel(*image, columns[size_t(px - x0)], ty);
      const Color c = white ? texel : Modulate(texel, tint);
      if ((skip && c.a == 0) || !test.Passes(c.a)) continue;
      blender.Blend(px, py, c);
    }
  }
}

void DrawImageRotated(const Y3DTexture* image, float cx, float cy, float w, float h,
                      float angle, Color tint, const Blender& blender) {
  const Frame& f = TheFrame();
  if (!(w > 0) || !(h > 0)) return;
  if (image && (image->width <= 0 || image->height <= 0)) return;
  const double c = std::cos(angle), s = std::sin(angle);
  // Half extents of the rotated rectangle's bounding box.
  const double ex = (std::fabs(w * c) + std::fabs(h * s)) / 2;
  const double ey = (std::fabs(w * s) + std::fabs(h * c)) / 2;
  const int x0 = int(std::max(0.0, std::floor(cx - ex)));
  const int x1 = int(std::min<double>(f.width, std::ceil(cx + ex)));
  const int y0 = int(std::max(0.0, std::floor(cy - ey)));
  const int y1 = int(std::min<double>(f.height, std::ceil(cy + ey)));
  const bool skip = blender.SkipsTransparent();
  const AlphaTest test;
  for (int py = y0; py < y1; ++py) {
    for (int px = x0; px < x1; ++px) {
      const double dx = px + 0.5 - cx, dy = py + 0.5 - cy;
      // Back into the rectangle's own axes, origin at its top-left.
      const double lx = dx * c + dy * s + w / 2.0;
      const double ly = -dx * s + dy * c + h / 2.0;
      if (lx < 0 || ly < 0 || lx >= w || ly >= h) continue;
      Color color = tint;
      if (image) color = Modulate(Texel(*image, Wrap(lx / w, image->width), Wrap(ly / h, image->height)), tint);
      if ((skip && color.a == 0) || !test.Passes(color.a)) continue;
      blender.Blend(px, py, color);
    }
  }
}

}  // namespace korvohost::gfx
