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
};

struct PlacedGlyph {
  const Glyph* fill;       // the glyph, blurred for a blur style
  const Glyph* outline;    // null without stroke
  int x, y;                // the bitmaps' origin: pen position on the baseline
  int byte;                // byte position of the character in the text
};

// A line of text laid out in its box, whose top-left is (0, 0).
struct TextLayout {
  int width = 0, height = 0;
  std::vector<PlacedGlyph> glyphs;
  std::string font;        // file name of the style's face
};

// Lays out the first len bytes of text. Without bitmaps only the box is measured
// (the glyph list stays empty).
TextLayout LayoutText(const TextStyle& style, const char* text, size_t len, bool bitmaps);

// Frees faces, glyphs and converters; the font and code-page choices go back to
// their defaults.
void ResetFonts();

}  // namespace korvohost::gfx
