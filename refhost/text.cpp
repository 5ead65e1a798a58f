// text.cpp: the host's text objects (CY3DText), its fonts and ShowText: lines laid
// out by the font cache, coloured by runs, outlined or blurred, drawn into the frame.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "host/host_graphics.h"
#include "host/host_services.h"
#include "refhost/fonts.h"
#include "refhost/frame.h"

using namespace korvohost;
using namespace korvohost::gfx;

// ---- Fonts -----------------------------------------------------------------------------

struct Y3DFont {
  FontRole role;
};

static Y3DFont gNormal{FontRole::Normal}, gDigit{FontRole::Digit}, gBlur{FontRole::Blur};
Y3DFont* GFontNormal = &gNormal;
Y3DFont* GFontDigit = &gDigit;
Y3DFont* GFontBlur = &gBlur;

// ---- Drawing a line ---------------------------------------------------------------------

namespace {

struct Coloring {
  uint32_t base;
  const std::vector<Y3DColorRun>* runs;

  // The colour of the character at byte position: the last run started at or
  // before it, else the base colour.
  uint32_t At(int byte) const {
    uint32_t argb = base;
    if (runs)
      for (const Y3DColorRun& run : *runs)
        if (run.start <= byte) argb = run.argb;
    return argb;
  }
};

void BlendCoverage(const Glyph& g, int ox, int oy, Color color, const Blender& blender) {
  const Frame& f = TheFrame();
  const int left = ox + g.left, top = oy - g.top;
  const int x0 = std::max(0, -left), x1 = std::min(g.width, f.width - left);
  const int y0 = std::max(0, -top), y1 = std::min(g.height, f.height - top);
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) {
      const int coverage = g.coverage[size_t(y * g.width + x)];
      if (coverage == 0) continue;
      Color c = color;
      c.a = (color.a * coverage + 127) / 255;
      blender.Blend(left + x, top + y, c);
    }
  }
}

TextLayout gLayout;   // of the line being drawn, its storage kept for the next

// Appends the record of the first len bytes of text set in box, its top-left
// at (x, y). version names the text's bytes for the draw list (0: unknown).
// Inlined: every text drawn passes through here.
[[gnu::always_inline]] inline void RecordLine(const LineBox& box, const char* text, size_t len,
                                              uint64_t version, int x, int y, uint32_t argb,
                                              int srcBlend, int dstBlend) {
  RecordStrings strings;
  strings.font = box.font;
  strings.text = text;
  strings.textLength = len;
  strings.textVersion = version;
  DrawRecord& r = NewRecord(DrawKind::Text, strings);
  r.x = x, r.y = y, r.w = box.width, r.h = box.height;
  r.argb = argb;
  r.srcBlend = srcBlend;
  r.dstBlend = dstBlend;
}

// Records and draws the first len bytes of text with its box's align point at
// (x, y).
bool DrawLine(const TextStyle& style, const char* text, size_t len, uint64_t version, int x, int y,
              int align, const Coloring& coloring, int srcBlend, int dstBlend) {
  if (len == 0) return false;
  if (!Recording()) return true;
  EnsureFrame();
  // Recording alone needs the box only; drawing lays the glyphs out.
  TextLayout& layout = gLayout;
  const bool raster = Rasterising();
  if (raster) LayoutText(style, text, len, &layout);
  const LineBox box = raster ? layout.box : MeasureText(style, text, len);
  AlignRect(align, box.width, box.height, &x, &y);
  RecordLine(box, text, len, version, x, y, coloring.At(0), srcBlend, dstBlend);
  if (!raster) return true;
  const Blender blender(srcBlend, dstBlend);
  // Every outline first, so that no outline covers a neighbour's glyph.
  for (const PlacedGlyph& p : layout.glyphs)
    if (p.outline) BlendCoverage(*p.outline, x + p.x, y + p.y, {0, 0, 0, Unpack(coloring.At(p.byte)).a}, blender);
  for (const PlacedGlyph& p : layout.glyphs)
    BlendCoverage(*p.fill, x + p.x, y + p.y, Unpack(coloring.At(p.byte)), blender);
  return true;
}

// std::lround of a pixel position without the library call; values far
// outside the screen go to the library.
int RoundPixel(float v) {
  if (!(v > -1e9f && v < 1e9f)) return int(std::lround(v));
  const int i = int(v);            // toward zero
  const float rest = v - float(i);   // exact: the fraction of v
  return rest >= 0.5f ? i + 1 : rest <= -0.5f ? i - 1 : i;
}

// Text sizes are given for a screen 768 pixels high: the layouts are fractions
// of the screen, so the texts in them stretch with it as well.
constexpr float kDesignScreenHigh = 768.0f;

TextStyle StyleOf(int type, const Y3DFont* font, float metric1, float metric2, int stroke) {
  TextStyle s;
  const bool system = type == Y3DFONT_SYSTEM;
  s.role = system ? FontRole::System : (font ? font->role : FontRole::Normal);
  s.codePage = system;
  const float screen = SCREEN_Y > 0 ? float(SCREEN_Y) / kDesignScreenHigh : 1.0f;
  const float high = (metric1 > 0 ? metric1 : 14.0f) * screen;
  const float scale = metric2 > 0 ? metric2 : 1.0f;
  s.pixelsHigh = std::max(1, int(std::lround(high)));
  s.pixelsWide = std::max(1, int(std::lround(high * scale)));
  s.stroke = system ? std::clamp(stroke, 0, 9) : 0;
  s.blur = font == GFontBlur;
  return s;
}

}  // namespace

// ---- CY3DText -----------------------------------------------------------------------------

struct CY3DText::Impl {
  TextStyle style;   // from the type, font and metrics, fixed at construction
  float x = 0, y = 0;
  int align = 0;
  std::string text;
  uint64_t textVersion = NewTextVersion();   // changes with the text
  uint32_t argb = 0xFFFFFFFF;
  std::vector<Y3DColorRun> runs;
  // The box of the whole text in the object's own style, valid while the font
  // generation is boxGeneration (0: not measured since the text changed).
  uint32_t boxGeneration = 0;
  LineBox box;
  // The record's top-left: the position rounded and moved by the alignment in
  // box; valid while placed (cleared by a new position or box).
  bool placed = false;
  int left = 0, top = 0;

  const LineBox& Box() {
    if (boxGeneration != FontGeneration()) {
      box = MeasureText(style, text.data(), text.size());
      boxGeneration = FontGeneration();
      placed = false;
    }
    return box;
  }
};

CY3DText::CY3DText(int type, Y3DFont* font, float x, float y, int align,
                   float metric1, float metric2, int stroke)
    : impl_(new Impl) {
  impl_->style = StyleOf(type, font, metric1, metric2, stroke);
  impl_->x = x;
  impl_->y = y;
  impl_->align = align;
}

CY3DText::~CY3DText() { delete impl_; }

void CY3DText::SetText(const char* text) {
  if (!text) text = "";
  if (impl_->text == text) return;
  impl_->text = text;
  impl_->textVersion = NewTextVersion();
  impl_->boxGeneration = 0;
}

void CY3DText::SetColor(int r, int g, int b, int a) {
  auto c = [](int v) { return uint32_t(std::clamp(v, 0, 255)); };
  impl_->argb = c(a) << 24 | c(r) << 16 | c(g) << 8 | c(b);
}

void CY3DText::SetColorArray(const Y3DColorRun* runs, int count) {
  impl_->runs.clear();
  if (runs && count > 0) impl_->runs.assign(runs, runs + count);
}

void CY3DText::SetScreenPosition(float x, float y) {
  impl_->x = x;
  impl_->y = y;
  impl_->placed = false;
}

bool CY3DText::Draw(CY3DText* glow) {
  Impl& m = *impl_;
  if (m.text.empty()) return false;
  const int dstBlend = m.style.blur ? Y3DBLEND_ONE : Y3DBLEND_INVSRCALPHA;
  const bool recordOnly = TheFrame().mode == RenderMode::RecordOnly;
  if (glow || !recordOnly) {
    const int x = RoundPixel(m.x), y = RoundPixel(m.y);
    if (glow) {
      // The glow adds light rather than covering what lies behind it.
      const Impl& g = *glow->impl_;
      DrawLine(g.style, m.text.data(), m.text.size(), m.textVersion, x, y, m.align, {g.argb, nullptr},
               Y3DBLEND_SRCALPHA, g.style.blur ? Y3DBLEND_ONE : Y3DBLEND_INVSRCALPHA);
    }
    if (!recordOnly)
      return DrawLine(m.style, m.text.data(), m.text.size(), m.textVersion, x, y, m.align, {m.argb, &m.runs},
                      Y3DBLEND_SRCALPHA, dstBlend);
  }
  // Recorded only: the box kept with the text, and the corner it puts the
  // text at, are all the record needs.
  EnsureFrame();
  const LineBox& box = m.Box();
  if (!m.placed) {
    m.left = RoundPixel(m.x);
    m.top = RoundPixel(m.y);
    AlignRect(m.align, box.width, box.height, &m.left, &m.top);
    m.placed = true;
  }
  RecordLine(box, m.text.data(), m.text.size(), m.textVersion, m.left, m.top,
             Coloring{m.argb, &m.runs}.At(0), Y3DBLEND_SRCALPHA, dstBlend);
  return true;
}

void CY3DText::GetTextMetric(const char* text, int len, float* width, float* height) {
  Impl& m = *impl_;
  LineBox box;
  if (!text && (len < 0 || size_t(len) >= m.text.size())) {
    box = m.Box();
  } else {
    // Only the bytes asked for are read: a caller that measures growing
    // prefixes of a long text must not pay for the whole text each time.
    const char* t = text ? text : m.text.c_str();
    size_t n;
    if (!text) n = std::min(m.text.size(), size_t(len));
    else if (len < 0) n = std::strlen(text);
    else n = ::strnlen(text, size_t(len));
    box = MeasureText(m.style, t, n);
  }
  if (width) *width = float(box.width);
  if (height) *height = float(box.height);
}

// ---- ShowText -----------------------------------------------------------------------------

void ShowText(int x, int y, uint32_t argb, const char* text) {
  if (!text) return;
  DrawLine(TextStyle{}, text, std::strlen(text), 0, x, y, 0, {argb, nullptr},
           Y3DBLEND_SRCALPHA, Y3DBLEND_INVSRCALPHA);
}
