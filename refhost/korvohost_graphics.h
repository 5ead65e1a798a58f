// korvohost_graphics.h: the reference host's control API for its textures, its
// software frame, its draw list and its text, for tools and tests only. The module
// never calls it: it draws through host/host_graphics.h.
#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "refhost/korvohost.h"

namespace korvohost {

// ---- Frame -------------------------------------------------------------------------------
// Raster: draw calls are recorded and drawn into the frame. RecordOnly: recorded
// only (the frame keeps its clear colour). Off: neither, for benchmarks.
enum class RenderMode { Raster, RecordOnly, Off };
KORVOHOST_API void SetRenderMode(RenderMode mode);
KORVOHOST_API RenderMode GetRenderMode();

// Starts a frame: sizes it to SCREEN_X by SCREEN_Y, fills it with the 0xRRGGBB
// colour and empties the draw list. The frame is opaque: its alpha is always 255.
// Draws made before the first BeginFrame go to a black frame of the screen size.
KORVOHOST_API void BeginFrame(uint32_t clearRgb);
KORVOHOST_API int FrameWidth();
KORVOHOST_API int FrameHeight();
// The pixel at (x, y) as 0xAARRGGBB; 0 outside the frame.
KORVOHOST_API uint32_t GetPixel(int x, int y);
// The frame's RGBA bytes, row after row; *stride gets the bytes of one row.
KORVOHOST_API const uint8_t* FramePixels(int* stride);
// The frame as a PNG file (RGBA). False with a reason in *error on failure.
KORVOHOST_API bool WriteFramePng(const std::string& path, std::string* error = nullptr);

// ---- Draw list -----------------------------------------------------------------------
enum class DrawKind {
  Bitmap,        // DrawFrameBitmap with a texture or a solid rectangle
  Transformed,   // ShowFrameBitmapTransformed (rect: the unrotated rectangle)
  Animation,     // DrawFrameBitmap of an _ANIMATEEX
  Text           // CY3DText::Draw (its glow is a record of its own) and ShowText
};

struct DrawRecord {
  DrawKind kind = DrawKind::Bitmap;
  std::string texture;       // texture path; empty for solid rectangles and text
  bool placeholder = false;  // drawn as the missing-texture checker
  int x = 0, y = 0, w = 0, h = 0;   // pixel rectangle after alignment
  uint32_t argb = 0;         // colour (the first colour of a coloured text)
  int srcBlend = 0, dstBlend = 0;
  float angle = 0;           // Transformed: radians
  int animKind = 0;          // Animation: its kind
  bool visible = true;       // Animation: false in the caret's off phase
  std::string font;          // Text: the face's file name
  std::string text;          // Text: the bytes drawn
};

// The draws since BeginFrame, in order; valid until the next draw or BeginFrame.
KORVOHOST_API std::span<const DrawRecord> DrawList();
KORVOHOST_API const char* DrawKindName(DrawKind kind);

// ---- Textures ---------------------------------------------------------------------------
// Loads that found no file or could not decode it, in order (a path once per load).
KORVOHOST_API int MissingTextureCount();
KORVOHOST_API std::vector<std::string> MissingTextures();
// Textures registered and not yet released.
KORVOHOST_API int LiveTextureCount();

// ---- Text -----------------------------------------------------------------------------
// Font file of each role. The defaults are DejaVu Sans (system, normal, blur),
// DejaVu Sans Mono (digit) and NanumGothic (fallback for characters the first face
// lacks, such as Hangul); the environment variables KORVOHOST_FONT_SYSTEM,
// KORVOHOST_FONT_NORMAL, KORVOHOST_FONT_DIGIT, KORVOHOST_FONT_BLUR and
// KORVOHOST_FONT_FALLBACK override them. Without a usable file a role draws boxes.
enum class FontRole { System, Normal, Digit, Blur, Fallback };
KORVOHOST_API void SetFontFile(FontRole role, const std::string& path);
KORVOHOST_API std::string FontFile(FontRole role);
// System-font text is read in the code page KORVOHOST_CODEPAGE names (an iconv
// name), else "CP949".

// Frees every texture and cached glyph, forgets the missing list, the font and
// code-page choices (back to the defaults) and the frame; mode back to Raster.
KORVOHOST_API void ResetGraphics();

}  // namespace korvohost
