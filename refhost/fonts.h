// fonts.h: the reference host's font faces (FreeType), code-page decoding, glyph
// cache and line layout (internal to the host).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "refhost/korvohost_graphics.h"

namespace korvohost::gfx {

// A glyph's coverage bitmap (0-255) and where it sits from the pen on the baseline.
struct Glyph {
  int left = 0, top = 0;          // bitmap's top-left: pen x + left, baseline - top
  int width = 0, height = 0;
  int advance = 0;                // 26.6 fixed point pixels
  std::vector<uint8_t> coverage;
};

struct TextStyle {
  FontRole role = FontRole::System;
  bool codePage = true;    // bytes in the host code page; false: one character per byte
  int pixelsHigh = 14;     // em size in pixels
  int pixelsWide = 14;     // em width in pixels (horizontal scale)
  int stroke = 0;          // outline line width in pixels
  bool blur = false;       // a soft glow instead of crisp glyphs

  bool operator==(const TextStyle&) const = default;
};

struct PlacedGlyph {
  const Glyph* fill;       // the glyph, blurred for a blur style
  const Glyph* outline;    // null without stroke
  int x, y;                // the bitmaps' origin: pen position on the baseline
  int byte;                // byte position of the character in the text
};

// The box of a line of text, whose top-left is (0, 0), and the face it is set in.
struct LineBox {
  int width = 0, height = 0;
  const std::string* font = nullptr;   // file name of the style's face ("" when none opens), interned
};

// A line of text laid out in its box, glyph by glyph.
struct TextLayout {
  LineBox box;
  std::vector<PlacedGlyph> glyphs;
};

// Lays out the first len bytes of text into *out, reusing its storage.
void LayoutText(const TextStyle& style, const char* text, size_t len, TextLayout* out);

// The box of the first len bytes of text, as LayoutText would give it, from
// glyph advances only (nothing is rasterised). Boxes are remembered by style and
// text, so measuring a line drawn before costs a lookup.
LineBox MeasureText(const TextStyle& style, const char* text, size_t len);

// Changes whenever the font files or the code page change (boxes measured
// before then are stale). Never 0.
extern uint32_t gFontGeneration;
inline uint32_t FontGeneration() { return gFontGeneration; }

// Frees faces, glyphs and converters; the font and code-page choices go back to
// their defaults.
void ResetFonts();

}  // namespace korvohost::gfx
