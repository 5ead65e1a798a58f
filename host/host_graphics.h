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
// Blend factors (as Direct3D numbers them) accepted by DrawFrameBitmap. The back
// buffer has no alpha of its own: the destination alpha factors read as 1.
enum {
  Y3DBLEND_ZERO = 1, Y3DBLEND_ONE = 2, Y3DBLEND_SRCCOLOR = 3, Y3DBLEND_INVSRCCOLOR = 4,
  Y3DBLEND_SRCALPHA = 5, Y3DBLEND_INVSRCALPHA = 6, Y3DBLEND_DESTALPHA = 7,
  Y3DBLEND_INVDESTALPHA = 8, Y3DBLEND_DESTCOLOR = 9, Y3DBLEND_INVDESTCOLOR = 10
};

// Alignment bits of the align arguments (the same bits as the module's control
// alignment): which point of the drawn rectangle (x, y) names. 0 is the top-left;
// Y3DALIGN_HCENTER | Y3DALIGN_VCENTER (36) centres the rectangle on (x, y).
enum {
  Y3DALIGN_LEFT = 1, Y3DALIGN_RIGHT = 2, Y3DALIGN_HCENTER = 4,
  Y3DALIGN_TOP = 8, Y3DALIGN_BOTTOM = 16, Y3DALIGN_VCENTER = 32
};

// Draws the texture stretched over the pixel rectangle (x, y, w, h), modulated by
// the 0xAARRGGBB colour, blended with (src, dst). u and v scale the texture
// coordinates (1, 1 draws the whole texture once; 2 repeats it twice). A null
// texture draws a solid rectangle in the colour. z is the depth (unused in 2D).
void DrawFrameBitmap(TEXTURE texture, int x, int y, float z, int w, int h,
                     int srcBlend, int dstBlend, uint32_t argb, int align, float u, float v);

// Kinds of the host's animation table.
enum {
  Y3DANIM_BAR = 0,      // a solid bar over (x, y, width, height): gauge fills, blips
  Y3DANIM_CARET = 4,    // the text caret: 2 pixels wide, height high, on 500 ms, off 500 ms
  Y3DANIM_NOISE = 226   // grey static over (x, y, width, height), a new frame every 50 ms
};                      // other kinds draw as a bar

// A small host animation (caret, gauge bar, ...). Positions are screen fractions.
struct _ANIMATEEX {
  int kind = 0;             // which animation of the host's table
  float x = 0, y = 0, z = 0;
  float width = 0, height = 0;
  int frame = 0;            // current frame of the animation
  uint32_t startTick = 0;   // dwY3DCurrentFrameTick at Init2DAnimate
  uint32_t lastTick = 0;    // tick of the last Process2DAnimate
};
// Sets the kind and position and starts the animation's clock at the current tick.
void Init2DAnimate(int kind, _ANIMATEEX* anim, float x, float y, float z);
// Brings the frame up to the current tick; steps is the playback rate (1 normal).
void Process2DAnimate(_ANIMATEEX* anim, int steps);
// Draws the animation's current frame at its position in the 0xRRGGBB colour
// (a non-zero top byte is taken as the alpha, 0 as opaque); align as above.
void DrawFrameBitmap(_ANIMATEEX* anim, uint32_t rgb, int align);

// Draws a texture at pixel (x, y) in its own size, or stretched to (w, h) when
// they are positive, in the 0xAARRGGBB colour with source-alpha blending.
void ShowFrameBitmap(TEXTURE texture, int x, int y, int w, int h, uint32_t argb);
// Draws a texture centred on pixel (cx, cy), scaled to (w, h) and rotated by
// angle radians, in the 0xAARRGGBB colour with source-alpha blending. The
// texture's x axis runs along (cos angle, sin angle) in pixels (y grows down), so a
// positive angle turns it clockwise on the screen.
void ShowFrameBitmapTransformed(TEXTURE texture, float cx, float cy, float w, float h,
                                float angle, uint32_t argb);

// ---- Render states -------------------------------------------------------------------
// States of the host's renderer that the 2D draws after the call keep, named and
// valued as Direct3D names them.
enum {
  Y3DRS_ZWRITEENABLE = 14,      // 0 or 1: draws write the depth buffer
  Y3DRS_ALPHATESTENABLE = 15,   // 0 or 1: pixels failing the alpha test are not drawn
  Y3DRS_ZFUNC = 23,             // comparison of the depth test (Y3DCMP_*)
  Y3DRS_ALPHAREF = 24,          // reference alpha of the alpha test, 0-255
  Y3DRS_ALPHAFUNC = 25          // comparison of the alpha test (Y3DCMP_*)
};
enum {
  Y3DCMP_NEVER = 1, Y3DCMP_LESS = 2, Y3DCMP_EQUAL = 3, Y3DCMP_LESSEQUAL = 4,
  Y3DCMP_GREATER = 5, Y3DCMP_NOTEQUAL = 6, Y3DCMP_GREATEREQUAL = 7, Y3DCMP_ALWAYS = 8
};
// Sets one render state to value.
void SetRenderState(int state, uint32_t value);

// ---- Text ------------------------------------------------------------------------
// 0: the system font (double-byte text and IME composition can be shown);
// 1: a game font (single-byte text only).
enum _Y3DFONTTYPE { Y3DFONT_SYSTEM = 0, Y3DFONT_GAME = 1 };

struct Y3DFont;
extern Y3DFont* GFontNormal;   // menu text
extern Y3DFont* GFontDigit;    // digits of the gauges
extern Y3DFont* GFontBlur;     // the blurred glow behind hovered menu text

struct Y3DColorRun {
  uint32_t argb;   // 0xAARRGGBB from this character on
  int start;       // byte position in the text (a double-byte character counts two)
};

// A line of text drawn at a pixel position.
//  type     Y3DFONT_SYSTEM: the system font (font may be null); the text is in the
//           host code page (CP949 unless the host is told otherwise), so double-byte
//           characters show. Y3DFONT_GAME: font's face, one character per byte.
//  align    Y3DALIGN_* bits: which point of the text box (x, y) names; 0 top-left.
//  metric1  glyph height: the font's em size in pixels. The text box is one line
//           high (the face's ascender to descender at that size).
//  metric2  horizontal scale of the glyphs and their spacing (1.0 normal).
//  stroke   system font only: width in pixels of the dark outline line drawn
//           around the glyphs, 0-9 (0 none); it widens the box by half the width
//           on every side.
// Text drawn with GFontBlur is a soft glow: the glyph coverage blurred and added to
// the frame, spreading a few pixels beyond the box.
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
  // Draws the text; glow (may be null) is drawn first, behind it, at the same place:
  // this object's text at this object's position in the glow object's font, colour,
  // metrics and stroke. False when there is nothing to draw.
  bool Draw(CY3DText* glow);
  // Pixel size of the first len bytes of text (len < 0: all of it) in this
  // object's font; text null measures the object's own text.
  void GetTextMetric(const char* text, int len, float* width, float* height);

  struct Impl;
 private:
  Impl* impl_;
};

// Draws one line of text at pixel (x, y) (the top-left of its box) in the system
// font, 14 pixels high, without outline.
void ShowText(int x, int y, uint32_t argb, const char* text);
