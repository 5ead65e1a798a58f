// frame.h: the reference host's software back buffer, its blending and the draw
// list of the current frame (internal to the host).
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "host/host_graphics.h"
#include "host/host_services.h"
#include "refhost/korvohost_graphics.h"

namespace korvohost::gfx {

// The render states that SetRenderState sets. The frame has no depth buffer, so
// the depth states are kept but change nothing; the alpha test applies to the
// bitmap draws.
struct RenderStates {
  uint32_t zWrite = 0;
  uint32_t zFunc = Y3DCMP_LESSEQUAL;
  uint32_t alphaTest = 0;
  uint32_t alphaRef = 0;
  uint32_t alphaFunc = Y3DCMP_ALWAYS;
};

// Where the strings of a record slot were copied from. A slot given the same
// source in the next frame keeps its copy: a steady frame copies no string.
struct RecordKeys {
  const std::string* texture = nullptr;   // interned (InternText); null: empty
  const std::string* font = nullptr;      // likewise
  uint64_t textVersion = 0;               // of the text copied; 0: unknown or empty
};

struct Frame {
  int width = 0, height = 0;
  std::vector<uint8_t> pixels;   // RGBA, alpha always 255
  // BeginFrame's fill waits until the pixels are drawn or read: a frame that is
  // only recorded never touches them.
  bool clearPending = false;
  uint32_t clearRgb = 0;
  // The draw list is records[0 .. recordCount). The records past it are kept
  // from earlier frames so that their strings' storage is reused.
  std::vector<DrawRecord> records;
  std::vector<RecordKeys> keys;   // one per record
  size_t slotCount = 0;           // records.size(), kept for the per-draw test
  size_t recordCount = 0;
  RenderMode mode = RenderMode::Raster;
  RenderStates states;
};

extern constinit Frame gFrame;
inline Frame& TheFrame() { return gFrame; }
// Sizes the frame to SCREEN_X by SCREEN_Y (black).
void ResizeFrame();
// Does the pending fill of BeginFrame.
void SettleFrame();
// Before a draw: sizes the frame to SCREEN_X by SCREEN_Y (black) when it
// differs; when the draw rasterises, the pending fill is done first.
inline void EnsureFrame() {
  if (gFrame.width != SCREEN_X || gFrame.height != SCREEN_Y) ResizeFrame();
  else if (gFrame.clearPending && gFrame.mode == RenderMode::Raster) SettleFrame();
}
inline bool Recording() { return TheFrame().mode != RenderMode::Off; }
inline bool Rasterising() { return TheFrame().mode == RenderMode::Raster; }
// The strings a new record gets. texture and font are interned (InternText);
// a text version names the text's bytes exactly (NewTextVersion), 0 when the
// caller cannot tell.
struct RecordStrings {
  const std::string* texture = nullptr;
  const std::string* font = nullptr;
  const char* text = nullptr;
  size_t textLength = 0;
  uint64_t textVersion = 0;
};
// Adds a record slot at the end of the kept ones.
void GrowRecords();
// The copies NewRecord makes when a slot's source changed.
void CopyInterned(std::string& out, const std::string*& key, const std::string* source);
void CopyText(std::string& out, uint64_t& key, const RecordStrings& strings);

// Appends a record of the kind with these strings, every other field at its
// default, to the draw list. Field by field, as DrawRecord() would set them,
// but keeping the strings' storage, and their bytes when the source is the
// same as the slot's in the last frame.
inline DrawRecord& NewRecord(DrawKind kind, const RecordStrings& strings = {}) {
  Frame& f = gFrame;
  if (f.recordCount == f.slotCount) GrowRecords();
  RecordKeys& k = f.keys[f.recordCount];
  DrawRecord& r = f.records[f.recordCount++];
  r.kind = kind;
  r.placeholder = false;
  r.x = r.y = r.w = r.h = 0;
  r.argb = 0;
  r.srcBlend = r.dstBlend = 0;
  r.angle = 0;
  r.animKind = 0;
  r.visible = true;
  if (k.texture != strings.texture) CopyInterned(r.texture, k.texture, strings.texture);
  if (k.font != strings.font) CopyInterned(r.font, k.font, strings.font);
  if (!strings.text) {
    r.text.clear();
    k.textVersion = 0;
  } else if (strings.textVersion == 0 || strings.textVersion != k.textVersion) {
    CopyText(r.text, k.textVersion, strings);
  }
  return r;
}
// The one copy of the text that lives until the process ends: equal texts
// give the same pointer.
const std::string* InternText(std::string_view text);
// A number no text version had before (never 0).
uint64_t NewTextVersion();

// Moves (x, y) from the point that align names to the rectangle's top-left.
inline void AlignRect(int align, int w, int h, int* x, int* y) {
  if (align & Y3DALIGN_RIGHT) *x -= w;
  else if (align & Y3DALIGN_HCENTER) *x -= w / 2;
  if (align & Y3DALIGN_BOTTOM) *y -= h;
  else if (align & Y3DALIGN_VCENTER) *y -= h / 2;
}

// A colour with straight (not premultiplied) alpha, channels 0-255.
struct Color {
  int r, g, b, a;
};

// The alpha test of the render states, taken when a draw starts.
class AlphaTest {
 public:
  AlphaTest()
      : on_(gFrame.states.alphaTest != 0), ref_(int(gFrame.states.alphaRef)),
        func_(int(gFrame.states.alphaFunc)) {}
  // Whether a pixel of alpha a is drawn.
  bool Passes(int a) const {
    if (!on_) return true;
    switch (func_) {
      case Y3DCMP_NEVER: return false;
      case Y3DCMP_LESS: return a < ref_;
      case Y3DCMP_EQUAL: return a == ref_;
      case Y3DCMP_LESSEQUAL: return a <= ref_;
      case Y3DCMP_GREATER: return a > ref_;
      case Y3DCMP_NOTEQUAL: return a != ref_;
      case Y3DCMP_GREATEREQUAL: return a >= ref_;
      default: return true;
    }
  }

 private:
  bool on_;
  int ref_;
  int func_;
};
inline Color Unpack(uint32_t argb) {
  return {int((argb >> 16) & 255), int((argb >> 8) & 255), int(argb & 255), int(argb >> 24)};
}
// c modulated by m, channel by channel, rounded.
inline Color Modulate(Color c, Color m) {
  auto mul = [](int a, int b) { return (a * b + 127) / 255; };
  return {mul(c.r, m.r), mul(c.g, m.g), mul(c.b, m.b), mul(c.a, m.a)};
}

// Blends source colours into the frame with a pair of blend factors. Unknown
// factors count as ONE for the source and ZERO for the destination.
// The frame must not change size while a Blender is in use.
class Blender {
 public:
  Blender(int srcFactor, int dstFactor);
  // Pixel (x, y) must lie inside the frame.
  void Blend(int x, int y, Color s) const {
    uint8_t* p = pixels_ + (size_t(y) * size_t(width_) + size_t(x)) * 4;
    if (over_) {   // source alpha, inverse source alpha: the common case, kept inline
      p[0] = uint8_t((s.r * s.a + p[0] * (255 - s.a) + 127) / 255);
      p[1] = uint8_t((s.g * s.a + p[1] * (255 - s.a) + 127) / 255);
      p[2] = uint8_t((s.b * s.a + p[2] * (255 - s.a) + 127) / 255);
    } else {
      BlendFactors(p, s);
    }
  }
  // A source-over draw that leaves the frame untouched at alpha 0.
  bool SkipsTransparent() const;

 private:
  void BlendFactors(uint8_t* p, Color s) const;

  int src_, dst_;
  bool over_;
  uint8_t* pixels_;
  int width_;
};

}  // namespace korvohost::gfx
