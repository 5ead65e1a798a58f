// fonts.cpp: font files by role, FreeType faces, decoding of code-page text with
// iconv, the glyph cache (plain, outlined and blurred glyphs) and line layout.
#include "refhost/fonts.h"
#include "refhost/frame.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_GLYPH_H
#include FT_STROKER_H
#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <map>
#include <tuple>

namespace korvohost::gfx {

uint32_t gFontGeneration = 1;

namespace {

constexpr int kRoles = 5;
constexpr int kBlurPad = 4;   // the blur spreads this many pixels beyond the glyph
constexpr char32_t kReplacement = 0xFFFD;

const char* DefaultFile(FontRole role) {
  switch (role) {
    case FontRole::Digit: return "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf";
    case FontRole::Fallback: return "/usr/share/fonts/truetype/nanum/NanumGothic.ttf";
    default: return "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
  }
}

const char* EnvName(FontRole role) {
  switch (role) {
    case FontRole::System: return "KORVOHOST_FONT_SYSTEM";
    case FontRole::Normal: return "KORVOHOST_FONT_NORMAL";
    case FontRole::Digit: return "KORVOHOST_FONT_DIGIT";
    case FontRole::Blur: return "KORVOHOST_FONT_BLUR";
    case FontRole::Fallback: return "KORVOHOST_FONT_FALLBACK";
  }
  return "";
}

using GlyphKey = std::tuple<FT_Face, FT_UInt, int, int, int>;   // face, index, wide, high, mode
using AdvanceKey = std::tuple<FT_Face, FT_UInt, int, int>;       // face, index, wide, high

struct Char {
  char32_t code;
  int byte;
};

// The font file of a role as last resolved, its face and the file's base name.
struct RoleFace {
  bool resolved = false;
  std::string file;
  const std::string* base = nullptr;   // interned
  FT_Face face = nullptr;
};

// A measured line, found by the hash of its style and text.
struct LineEntry {
  uint64_t hash = 0;
  uint32_t generation = 0;   // 0: empty
  TextStyle style;
  std::string text;
  LineBox box;
};

constexpr size_t kLineSlots = 1024;   // a power of two

struct Library {
  FT_Library ft = nullptr;
  bool ftFailed = false;
  std::string files[kRoles];                  // chosen through the control API
  RoleFace roles[kRoles];                     // resolved for the current generation
  bool converterResolved = false;
  iconv_t converter = iconv_t(-1);            // of the current code page
  std::map<std::string, FT_Face> faces;       // by file; null when it would not open
  std::map<std::string, iconv_t> converters;  // by code page; (iconv_t)-1 when unknown
  std::map<GlyphKey, Glyph> glyphs;
  std::map<AdvanceKey, int> advances;         // 26.6 pixels
  std::vector<LineEntry> lines;               // kLineSlots once used
  std::vector<Char> chars;                    // scratch of Decode

  ~Library() { Clear(); }

  // The resolved roles, converter and measured lines no longer hold.
  void Invalidate() {
    if (++gFontGeneration == 0) gFontGeneration = 1;
    for (RoleFace& role : roles) role.resolved = false;
    converterResolved = false;
  }

  void Clear() {
    Invalidate();
    glyphs.clear();
    advances.clear();
    for (auto& entry : converters)
      if (entry.second != iconv_t(-1)) iconv_close(entry.second);
    converters.clear();
    for (auto& entry : faces)
      if (entry.second) FT_Done_Face(entry.second);
    faces.clear();
    if (ft) FT_Done_FreeType(ft);
    ft = nullptr;
    ftFailed = false;
  }
};

Library& L() {
  static Library library;
  return library;
}

// ---- Faces ------------------------------------------------------------------------------

// The file chosen for the role, else the environment's, else the default.
std::string FileOf(FontRole role) {
  const std::string& chosen = L().files[int(role)];
  if (!chosen.empty()) return chosen;
  const char* env = std::getenv(EnvName(role));
  return env && *env ? env : DefaultFile(role);
}

// The role's file, face and base name, resolved once per font generation (so
// the environment is read again only after the fonts change).
const RoleFace& RoleOf(FontRole role) {
  Library& lib = L();
  RoleFace& r = lib.roles[int(role)];
  if (r.resolved) return r;
  r.resolved = true;
  r.file = FileOf(role);
  const size_t slash = r.file.find_last_of('/');
  r.base = InternText(slash == std::string::npos ? std::string_view(r.file)
                                                 : std::string_view(r.file).substr(slash + 1));
  r.face = nullptr;
  if (!lib.ft && !lib.ftFailed) lib.ftFailed = FT_Init_FreeType(&lib.ft) != 0;
  if (!lib.ft) return r;
  auto it = lib.faces.find(r.file);
  if (it == lib.faces.end()) {
    FT_Face face = nullptr;
    if (FT_New_Face(lib.ft, r.file.c_str(), 0, &face) != 0) face = nullptr;
    it = lib.faces.emplace(r.file, face).first;
  }
  r.face = it->second;
  return r;
}

// ---- Decoding --------------------------------------------------------------------------

// The converter of the code page, resolved once per font generation.
iconv_t Converter() {
  Library& lib = L();
  if (lib.converterResolved) return lib.converter;
  const char* env = std::getenv("KORVOHOST_CODEPAGE");
  const std::string codePage = env && *env ? env : "CP949";
  auto it = lib.converters.find(codePage);
  if (it == lib.converters.end()) it = lib.converters.emplace(codePage, iconv_open("UTF-32LE", codePage.c_str())).first;
  lib.converter = it->second;
  lib.converterResolved = true;
  return lib.converter;
}

// Converts count bytes to one character; false when they are not a whole one
// (*incomplete tells whether more bytes could make one).
bool ConvertOne(iconv_t cd, const char* bytes, size_t count, char32_t* out, bool* incomplete) {
  char in[4] = {};
  std::copy(bytes, bytes + count, in);
  unsigned char result[8];
  char* inPtr = in;
  char* outPtr = reinterpret_cast<char*>(result);
  size_t inLeft = count, outLeft = sizeof(result);
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  const size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
  *incomplete = rc == size_t(-1) && errno == EINVAL;
  if (rc == size_t(-1) || outLeft != sizeof(result) - 4) return false;
  *out = char32_t(result[0] | result[1] << 8 | result[2] << 16 | uint32_t(result[3]) << 24);
  return true;
}

// The characters of the first len bytes, in a buffer reused by the next call.
const std::vector<Char>& Decode(const TextStyle& style, const char* text, size_t len) {
  std::vector<Char>& chars = L().chars;
  chars.clear();
  const iconv_t cd = style.codePage ? Converter() : iconv_t(-1);
  for (size_t i = 0; i < len;) {
    const unsigned char b = static_cast<unsigned char>(text[i]);
    if (b < 0x80 || cd == iconv_t(-1)) {
      chars.push_back({char32_t(b), int(i)});
      ++i;
      continue;
    }
    // One byte, else a lead byte and its trail byte; anything else is one bad byte.
    char32_t code = kReplacement;
    size_t used = 1;
    bool incomplete = false;
    if (!ConvertOne(cd, text + i, 1, &code, &incomplete) && incomplete) {
      if (i + 1 >= len) break;   // a lead byte cut off at the end
      if (ConvertOne(cd, text + i, 2, &code, &incomplete)) used = 2;
    }
    chars.push_back({code, int(i)});
    i += used;
  }
  return chars;
}

// ---- Glyphs ------------------------------------------------------------------------------

Glyph FromBitmap(const FT_Bitmap& bitmap, int left, int top, int advance) {
  Glyph g;
  g.left = left;
  g.top = top;
  g.width = int(bitmap.width);
  g.height = int(bitmap.rows);
  g.advance = advance;
  g.coverage.resize(size_t(g.width) * size_t(g.height));
  for (int y = 0; y < g.height; ++y)
    for (int x = 0; x < g.width; ++x)
      g.coverage[size_t(y * g.width + x)] = bitmap.buffer[y * bitmap.pitch + x];
  return g;
}

// A hollow box for characters no face can show.
Glyph BoxGlyph(int wide, int high) {
  Glyph g;
  g.width = std::max(3, wide / 2);
  g.height = std::max(3, high * 7 / 10);
  g.left = std::max(1, wide / 10);
  g.top = g.height;
  g.advance = (g.width + 2 * g.left) * 64;
  g.coverage.resize(size_t(g.width) * size_t(g.height));
  for (int y = 0; y < g.height; ++y)
    for (int x = 0; x < g.width; ++x)
      if (x == 0 || y == 0 || x == g.width - 1 || y == g.height - 1) g.coverage[size_t(y * g.width + x)] = 255;
  return g;
}

// Two passes of a 5-wide box blur in each direction over the glyph padded by kBlurPad.
Glyph Blurred(const Glyph& src) {
  Glyph g;
  g.left = src.left - kBlurPad;
  g.top = src.top + kBlurPad;
  g.width = src.width + 2 * kBlurPad;
  g.height = src.height + 2 * kBlurPad;
  g.advance = src.advance;
  std::vector<int> a(size_t(g.width) * size_t(g.height)), b(a.size());
  for (int y = 0; y < src.height; ++y)
    for (int x = 0; x < src.width; ++x)
      a[size_t((y + kBlurPad) * g.width + x + kBlurPad)] = src.coverage[size_t(y * src.width + x)];
  auto pass = [&](const std::vector<int>& in, std::vector<int>& out, int dx, int dy) {
    for (int y = 0; y < g.height; ++y)
      for (int x = 0; x < g.width; ++x) {
        int sum = 0;
        for (int k = -2; k <= 2; ++k) {
          const int sx = x + k * dx, sy = y + k * dy;
          if (sx >= 0 && sy >= 0 && sx < g.width && sy < g.height) sum += in[size_t(sy * g.width + sx)];
        }
        out[size_t(y * g.width + x)] = sum / 5;
      }
  };
  for (int i = 0; i < 2; ++i) {
    pass(a, b, 1, 0);
    pass(b, a, 0, 1);
  }
  g.coverage.resize(a.size());
  for (size_t i = 0; i < a.size(); ++i) g.coverage[i] = uint8_t(std::min(255, a[i] * 3 / 2));
  return g;
}

// mode 0: the plain glyph; 1: blurred; 2 + n: the outside border of an n-pixel outline.
const Glyph* GlyphOf(FT_Face face, FT_UInt index, int wide, int high, int mode) {
  Library& lib = L();
  const GlyphKey key{face, index, wide, high, mode};
  auto it = lib.glyphs.find(key);
  if (it != lib.glyphs.end()) return &it->second;
  Glyph g;
  if (!face) {
    g = BoxGlyph(wide, high);
    if (mode == 1) g = Blurred(g);
    if (mode >= 2) g.coverage.assign(g.coverage.size(), 0);
  } else if (mode == 1) {
    g = Blurred(*GlyphOf(face, index, wide, high, 0));
  } else {
    FT_Set_Pixel_Sizes(face, FT_UInt(wide), FT_UInt(high));
    if (FT_Load_Glyph(face, index, mode == 0 ? FT_LOAD_RENDER : FT_LOAD_NO_BITMAP) == 0) {
      const int advance = int(face->glyph->advance.x);
      if (mode == 0) {
        g = FromBitmap(face->glyph->bitmap, face->glyph->bitmap_left, face->glyph->bitmap_top, advance);
      } else {
        FT_Glyph glyph = nullptr;
        FT_Stroker stroker = nullptr;
        if (FT_Get_Glyph(face->glyph, &glyph) == 0 && FT_Stroker_New(lib.ft, &stroker) == 0) {
          // The radius is half the line width, in 26.6.
          FT_Stroker_Set(stroker, (mode - 2) * 32, FT_STROKER_LINECAP_ROUND, FT_STROKER_LINEJOIN_ROUND, 0);
          if (FT_Glyph_StrokeBorder(&glyph, stroker, 0, 1) == 0 &&
              FT_Glyph_To_Bitmap(&glyph, FT_RENDER_MODE_NORMAL, nullptr, 1) == 0) {
            const FT_BitmapGlyph bg = reinterpret_cast<FT_BitmapGlyph>(glyph);
            g = FromBitmap(bg->bitmap, bg->left, bg->top, advance);
          }
        }
        if (stroker) FT_Stroker_Done(stroker);
        if (glyph) FT_Done_Glyph(glyph);
      }
    }
  }
  return &lib.glyphs.emplace(key, std::move(g)).first->second;
}

// The face that shows code, the style's own before the fallback; null when neither.
FT_Face FaceFor(FT_Face primary, FT_Face fallback, char32_t code, FT_UInt* index) {
  *index = primary ? FT_Get_Char_Index(primary, FT_ULong(code)) : 0;
  if (*index || !fallback) return primary;
  const FT_UInt other = FT_Get_Char_Index(fallback, FT_ULong(code));
  if (other || !primary) {
    *index = other;
    return fallback;
  }
  return primary;
}

// The advance of a glyph in 26.6 pixels: the plain glyph's when it is cached,
// else loaded without rendering.
int AdvanceOf(FT_Face face, FT_UInt index, int wide, int high) {
  Library& lib = L();
  const AdvanceKey key{face, index, wide, high};
  auto it = lib.advances.find(key);
  if (it != lib.advances.end()) return it->second;
  int advance = 0;
  if (auto plain = lib.glyphs.find(GlyphKey{face, index, wide, high, 0}); plain != lib.glyphs.end()) {
    advance = plain->second.advance;
  } else if (!face) {
    advance = BoxGlyph(wide, high).advance;
  } else {
    FT_Set_Pixel_Sizes(face, FT_UInt(wide), FT_UInt(high));
    if (FT_Load_Glyph(face, index, FT_LOAD_DEFAULT) == 0) advance = int(face->glyph->advance.x);
  }
  lib.advances.emplace(key, advance);
  return advance;
}

int CeilDiv(long long a, long long b) { return int((a + b - 1) / b); }

const std::string* NoFont() {
  static const std::string* const none = InternText("");
  return none;
}

// Lays the line out; glyphs (null: measure only) gets the placed bitmaps.
LineBox Layout(const TextStyle& style, const char* text, size_t len, std::vector<PlacedGlyph>* glyphs) {
  const RoleFace& primaryRole = RoleOf(style.role);
  const RoleFace& fallbackRole = RoleOf(FontRole::Fallback);
  const FT_Face primary = primaryRole.face, fallback = fallbackRole.face;
  const FT_Face lineFace = primary ? primary : fallback;
  LineBox box;
  box.font = lineFace ? (primary ? primaryRole : fallbackRole).base : NoFont();
  const int wide = std::max(1, style.pixelsWide), high = std::max(1, style.pixelsHigh);
  int ascent = CeilDiv(high * 8LL, 10), descent = CeilDiv(high * 2LL, 10);
  if (lineFace && lineFace->units_per_EM > 0) {
    ascent = CeilDiv(lineFace->ascender * (long long)high, lineFace->units_per_EM);
    descent = CeilDiv(-lineFace->descender * (long long)high, lineFace->units_per_EM);
  }
  const int pad = (style.stroke + 1) / 2;
  const int baseline = pad + ascent;
  long long pen = pad * 64LL;
  for (const Char& c : Decode(style, text, len)) {
    FT_UInt index = 0;
    const FT_Face face = FaceFor(primary, fallback, c.code, &index);
    if (glyphs) {
      PlacedGlyph placed{GlyphOf(face, index, wide, high, 0), nullptr, int((pen + 32) >> 6), baseline, c.byte};
      if (style.blur) placed.fill = GlyphOf(face, index, wide, high, 1);
      if (style.stroke > 0) placed.outline = GlyphOf(face, index, wide, high, 2 + style.stroke);
      glyphs->push_back(placed);
    }
    pen += AdvanceOf(face, index, wide, high);
  }
  box.width = CeilDiv(pen, 64) + pad;
  box.height = ascent + descent + 2 * pad;
  return box;
}

uint64_t HashLine(const TextStyle& style, const char* text, size_t len) {
  uint64_t h = 14695981039346656037ull;   // FNV-1a
  auto mix = [&h](uint64_t v) { h = (h ^ v) * 1099511628211ull; };
  mix(uint64_t(style.role) | uint64_t(style.codePage) << 8 | uint64_t(style.blur) << 9 |
      uint64_t(uint32_t(style.stroke)) << 16);
  mix(uint64_t(uint32_t(style.pixelsHigh)) | uint64_t(uint32_t(style.pixelsWide)) << 32);
  for (size_t i = 0; i < len; ++i) mix(static_cast<unsigned char>(text[i]));
  return h;
}

}  // namespace

// ---- Layout ------------------------------------------------------------------------------

void LayoutText(const TextStyle& style, const char* text, size_t len, TextLayout* out) {
  out->glyphs.clear();
  out->box = Layout(style, text, len, &out->glyphs);
}

LineBox MeasureText(const TextStyle& style, const char* text, size_t len) {
  Library& lib = L();
  if (lib.lines.empty()) lib.lines.resize(kLineSlots);
  const uint64_t hash = HashLine(style, text, len);
  LineEntry& e = lib.lines[hash & (kLineSlots - 1)];
  if (e.generation == gFontGeneration && e.hash == hash && e.style == style &&
      e.text.size() == len && std::equal(text, text + len, e.text.data()))
    return e.box;
  // A miss replaces the slot; its string keeps its storage for the next line.
  e.box = Layout(style, text, len, nullptr);
  e.hash = hash;
  e.generation = gFontGeneration;
  e.style = style;
  e.text.assign(text, len);
  return e.box;
}

void ResetFonts() {
  Library& lib = L();
  lib.Clear();
  for (std::string& file : lib.files) file.clear();
}

}  // namespace korvohost::gfx

// ---- Control API ----------------------------------------------------------------------------

namespace korvohost {

void SetFontFile(FontRole role, const std::string& path) {
  gfx::L().files[int(role)] = path;
  gfx::L().Invalidate();
}

std::string FontFile(FontRole role) { return gfx::FileOf(role); }

}  // namespace korvohost
