// frame.cpp: the software back buffer, blending, the draw list and PNG output.
#include "refhost/frame.h"

#include <stb_image_write.h>

#include <algorithm>
#include <unordered_set>

#include "host/host_graphics.h"
#include "host/host_services.h"
#include "refhost/scene_view.h"
#include "host/session_state.h"

namespace korvohost::gfx {

// ---- Frame and records ---------------------------------------------------------------

constinit Frame gFrame;

static void SetSize(Frame& f) {
  f.width = std::max(SCREEN_X, 0);
  f.height = std::max(SCREEN_Y, 0);
  f.pixels.resize(size_t(f.width) * size_t(f.height) * 4);
}

static void Fill(Frame& f, uint32_t rgb) {
  f.clearPending = false;
  if (f.pixels.empty()) return;
  const uint8_t c[4] = {uint8_t(rgb >> 16), uint8_t(rgb >> 8), uint8_t(rgb), 255};
  // One row by hand, then row copies.
  const size_t row = size_t(f.width) * 4;
  for (size_t i = 0; i < row; i += 4) std::copy(c, c + 4, &f.pixels[i]);
  for (size_t i = row; i < f.pixels.size(); i += row) std::copy_n(f.pixels.begin(), row, f.pixels.begin() + long(i));
}

void ResizeFrame() {
  SetSize(gFrame);
  Fill(gFrame, 0);
}

void SettleFrame() {
  if (gFrame.clearPending) Fill(gFrame, gFrame.clearRgb);
}

void GrowRecords() {
  Frame& f = TheFrame();
  f.records.emplace_back();
  f.keys.emplace_back();
  ++f.slotCount;
}

void CopyInterned(std::string& out, const std::string*& key, const std::string* source) {
  if (source) out = *source;
  else out.clear();
  key = source;
}

void CopyText(std::string& out, uint64_t& key, const RecordStrings& strings) {
  out.assign(strings.text, strings.textLength);
  key = strings.textVersion;
}

const std::string* InternText(std::string_view text) {
  // Node-based: an element keeps its address while others are added.
  static std::unordered_set<std::string> texts;
  return &*texts.emplace(text).first;
}

uint64_t NewTextVersion() {
  static uint64_t last = 0;
  return ++last;
}

// ---- Colours and blending ------------------------------------------------------------

// The factor (0-255) for one channel: s and d are the channel's source and
// destination values, sa the source alpha. The frame's own alpha reads as 255.
static int Factor(int factor, int s, int d, int sa, bool isSource) {
  switch (factor) {
    case Y3DBLEND_ZERO: return 0;
    case Y3DBLEND_ONE: return 255;
    case Y3DBLEND_SRCCOLOR: return s;
    case Y3DBLEND_INVSRCCOLOR: return 255 - s;
    case Y3DBLEND_SRCALPHA: return sa;
    case Y3DBLEND_INVSRCALPHA: return 255 - sa;
    case Y3DBLEND_DESTALPHA: return 255;
    case Y3DBLEND_INVDESTALPHA: return 0;
    case Y3DBLEND_DESTCOLOR: return d;
    case Y3DBLEND_INVDESTCOLOR: return 255 - d;
    default: return isSource ? 255 : 0;
  }
}

Blender::Blender(int srcFactor, int dstFactor)
    : src_(srcFactor), dst_(dstFactor),
      over_(srcFactor == Y3DBLEND_SRCALPHA && dstFactor == Y3DBLEND_INVSRCALPHA),
      pixels_((SettleFrame(), TheFrame().pixels.data())), width_(TheFrame().width) {}

void Blender::BlendFactors(uint8_t* p, Color s) const {
  const int src[3] = {s.r, s.g, s.b};
  // Additive glow without the general factor lookup.
  if (src_ == Y3DBLEND_SRCALPHA && dst_ == Y3DBLEND_ONE) {
    for (int i = 0; i < 3; ++i) p[i] = uint8_t(std::min(255, p[i] + (src[i] * s.a + 127) / 255));
    return;
  }
  for (int i = 0; i < 3; ++i) {
    const int d = p[i];
    const int v = src[i] * Factor(src_, src[i], d, s.a, true) + d * Factor(dst_, src[i], d, s.a, false);
    p[i] = uint8_t(std::min(255, (v + 127) / 255));
  }
}

bool Blender::SkipsTransparent() const {
  return src_ == Y3DBLEND_SRCALPHA && (dst_ == Y3DBLEND_INVSRCALPHA || dst_ == Y3DBLEND_ONE);
}

}  // namespace korvohost::gfx

// ---- Control API -----------------------------------------------------------------------

namespace korvohost {

using gfx::TheFrame;

void SetRenderMode(RenderMode mode) { TheFrame().mode = mode; }
RenderMode GetRenderMode() { return TheFrame().mode; }

void BeginFrame(uint32_t clearRgb) {
  gfx::Frame& f = TheFrame();
  if (f.width != std::max(SCREEN_X, 0) || f.height != std::max(SCREEN_Y, 0)) gfx::SetSize(f);
  f.clearRgb = clearRgb;
  f.clearPending = true;
  f.recordCount = 0;
  // Outside sessions a loaded scene lies behind the menus.
  if (!korvostate::Recording()) DrawSceneBackdrop();
}

int FrameWidth() { return TheFrame().width; }
int FrameHeight() { return TheFrame().height; }

uint32_t GetPixel(int x, int y) {
  gfx::SettleFrame();
  const gfx::Frame& f = TheFrame();
  if (x < 0 || y < 0 || x >= f.width || y >= f.height) return 0;
  const uint8_t* p = &f.pixels[(size_t(y) * size_t(f.width) + size_t(x)) * 4];
  return uint32_t(p[3]) << 24 | uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2];
}

const uint8_t* FramePixels(int* stride) {
  gfx::SettleFrame();
  if (stride) *stride = TheFrame().width * 4;
  return TheFrame().pixels.data();
}

bool WriteFramePng(const std::string& path, std::string* error) {
  gfx::SettleFrame();
  const gfx::Frame& f = TheFrame();
  if (f.width <= 0 || f.height <= 0) {
    if (error) *error = "the frame is empty";
    return false;
  }
  if (!stbi_write_png(path.c_str(), f.width, f.height, 4, f.pixels.data(), f.width * 4)) {
    if (error) *error = "cannot write " + path;
    return false;
  }
  return true;
}

std::span<const DrawRecord> DrawList() {
  const gfx::Frame& f = TheFrame();
  return {f.records.data(), f.recordCount};
}

const char* DrawKindName(DrawKind kind) {
  switch (kind) {
    case DrawKind::Bitmap: return "bitmap";
    case DrawKind::Transformed: return "transformed";
    case DrawKind::Animation: return "animation";
    case DrawKind::Text: return "text";
  }
  return "?";
}

}  // namespace korvohost
