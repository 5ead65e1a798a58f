// frame.h: the reference host's software back buffer, its blending and the draw
// list of the current frame (internal to the host).
#pragma once
#include <cstdint>
#include <vector>

#include "refhost/korvohost_graphics.h"

namespace korvohost::gfx {

struct Frame {
  int width = 0, height = 0;
  std::vector<uint8_t> pixels;   // RGBA, alpha always 255
  std::vector<DrawRecord> records;
  RenderMode mode = RenderMode::Raster;
};

Frame& TheFrame();
// Sizes the frame to SCREEN_X by SCREEN_Y (black) when it differs.
void EnsureFrame();
inline bool Recording() { return TheFrame().mode != RenderMode::Off; }
inline bool Rasterising() { return TheFrame().mode == RenderMode::Raster; }
void Record(DrawRecord record);

// Moves (x, y) from the point that align names to the rectangle's top-left.
void AlignRect(int align, int w, int h, int* x, int* y);

// A colour with straight (not premultiplied) alpha, channels 0-255.
struct Color {
  int r, g, b, a;
};
Color Unpack(uint32_t argb);
// c modulated by m, channel by channel.
Color Modulate(Color c, Color m);

// Blends source colours into the frame with a pair of blend factors. Unknown
// factors count as ONE for the source and ZERO for the destination.
class Blender {
 public:
  Blender(int srcFactor, int dstFactor) : src_(srcFactor), dst_(dstFactor) {}
  // Pixel (x, y) must lie inside the frame.
  void Blend(int x, int y, Color s) const;
  // A source-over draw that leaves the frame untouched at alpha 0.
  bool SkipsTransparent() const;

 private:
  int src_, dst_;
};

}  // namespace korvohost::gfx
