// host_graphics.h: the host's textures, 2D drawing and text objects. Positions
// given to the 2D calls are pixels of SCREEN_X by SCREEN_Y unless noted.
#pragma once
#include <cstdint>

// ---- Textures ------------------------------------------------------------------
struct Y3DTexture;                 // a texture owned by the host
typedef Y3DTexture* TEXTURE;

// A set of textures registered together and loaded with one LoadTexture call.
struct TEXTUREPACKAGE {
  void* impl = nullptr;
};
extern TEXTUREPACKAGE InterfaceTexture;   // the package of every menu texture

// Registers path (a file of the game file system) in the package and stores the
// texture handle in *out. The texture is usable after LoadTexture.
bool RegisterNewTexture(TEXTUREPACKAGE* package, const char* path, TEXTURE* out, int flags);
bool LoadTexture(TEXTUREPACKAGE* package, int flags);
void ReleaseTexture(TEXTURE texture, int flags);

// ---- 2D drawing --------------------------------------------------------------------
// Blend factors (as Direct3D numbers them) accepted by DrawFrameBitmap.
enum {
  Y3DBLEND_ZERO = 1, Y3DBLEND_ONE = 2, Y3DBLEND_SRCALPHA = 5, Y3DBLEND_INVSRCALPHA = 6
};

// Draws the texture stretched over the pixel rectangle (x, y, w, h), modulated by
// the 0xAARRGGBB colour, blended with (src, dst). u and v scale the texture
// coordinates (1, 1 draws the whole texture once). align 0: (x, y) is the top-left.
void DrawFrameBitmap(TEXTURE texture, int x, int y, float z, int w, int h,
                     int srcBlend, int dstBlend, uint32_t argb, int align, float u, float v);

// A small host animation (caret, gauge bar, ...). Positions are screen fractions.
struct _ANIMATEEX {
  int kind = 0;             // which animation of the host's table
  float x = 0, y = 0, z = 0;
  float width = 0, height = 0;
  int frame = 0;            // current frame of the animation
  uint32_t startTick = 0;   // dwY3DCurrentFrameTick at Init2DAnimate
  uint32_t lastTick = 0;    // tick of the last Process2DAnimate
};
void Init2DAnimate(int kind, _ANIMATEEX* anim, float x, float y, float z);
void Process2DAnimate(_ANIMATEEX* anim, int steps);
// Draws the animation's current frame at its position in the 0xRRGGBB colour.
void DrawFrameBitmap(_ANIMATEEX* anim, uint32_t rgb, int align);

// Draws a texture at pixel (x, y) in its own size, or stretched to (w, h) when
// they are positive, in the 0xAARRGGBB colour with source-alpha blending.
void ShowFrameBitmap(TEXTURE texture, int x, int y, int w, int h, uint32_t argb);
// Draws a texture centred on pixel (cx, cy), scaled to (w, h) and rotated by
// angle radians, in the 0xAARRGGBB colour with source-alpha blending.
void ShowFrameBitmapTransformed(TEXTURE texture, float cx, float cy, float w, float h,
                                float angle, uint32_t argb);

// ---- Text ------------------------------------------------------------------------
// 0: the system font (double-byte text and IME composition can be shown);
// 1: a game font (single-byte text only).
enum _Y3DFONTTYPE { Y3DFONT_SYSTEM = 0, Y3DFONT_GAME = 1 };

struct Y3DFont;
extern Y3DFont* GFontNormal;   // menu text
extern Y3DFont* GFontDigit;    // digits of the gauges
extern Y3DFont* GFontBlur;     // the blurred glow behind hovered menu text

struct Y3DColorRun {
  uint32_t argb;   // colour from this character on
  int start;       // character position in the text
};

// A line of text drawn at a pixel position. metric1 and metric2 are the glyph
// height and the spacing scale of the host's fonts; stroke is the outline width
// of the system font.
class CY3DText {
 public:
  CY3DText(int type, Y3DFont* font, float x, float y, int align,
           float metric1, float metric2, int stroke);
  ~CY3DText();
  CY3DText(const CY3DText&) = delete;
  CY3DText& operator=(const CY3DText&) = delete;

  void SetText(const char* text);
  void SetColor(int r, int g, int b, int a);
  void SetColorArray(const Y3DColorRun* runs, int count);   // count 0: one colour
  void SetScreenPosition(float x, float y);
  // Draws the text; glow (may be null) is drawn first, behind it, at the same place.
  bool Draw(CY3DText* glow);
  // Pixel size of the first len bytes of text (len < 0: all of it) in this
  // object's font; text null measures the object's own text.
  void GetTextMetric(const char* text, int len, float* width, float* height);

  struct Impl;
 private:
  Impl* impl_;
};

// Draws one line of text at pixel (x, y) in the system font.
void ShowText(int x, int y, uint32_t argb, const char* text);
