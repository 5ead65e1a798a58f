// Reference host 2D drawing: textures from the game file system, blending,
// clipping, placeholders, animations and the draw list. The frames
// are printed (changed pixels, probed pixels, draw records) and compared with
// expected texts.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>

#include "expected_text.h"
#include "host/host_graphics.h"
#include "host/host_services.h"
#include "refhost_graphics_fixture.h"

using namespace korvohost;

namespace {

TEXTURE LoadOverlaid(const std::string& path, const std::string& bytes) {
  OverlayFile(path, bytes);
  TEXTURE t = nullptr;
  EXPECT_TRUE(RegisterNewTexture(&InterfaceTexture, path.c_str(), &t, 0));
  LoadTexture(&InterfaceTexture, 0);
  return t;
}

std::string Describe(const DrawRecord& r) {
  char line[160];
  std::snprintf(line, sizeof line, "%s '%s'%s %d,%d %dx%d argb=%08X blend=%d,%d", DrawKindName(r.kind),
                r.texture.c_str(), r.placeholder ? " placeholder" : "", r.x, r.y, r.w, r.h, r.argb, r.srcBlend,
                r.dstBlend);
  std::string text = line;
  if (r.kind == DrawKind::Transformed) text += " angle=" + std::to_string(r.angle);
  if (r.kind == DrawKind::Animation)
    text += " anim=" + std::to_string(r.animKind) + (r.visible ? "" : " hidden");
  return text;
}

class RefhostDraws : public RefhostGraphics {
 protected:
  void Frame(uint32_t rgb) {
    clear_ = 0xFF000000u | rgb;
    BeginFrame(rgb);
  }
  // One line for the frame so far: how many pixels differ from the clear colour
  // and their bounding box, the probed pixels; then each draw record.
  void Shot(const std::string& what, std::initializer_list<std::pair<int, int>> probes = {}) {
    int n = 0, x0 = 64, y0 = 48, x1 = -1, y1 = -1;
    for (int y = 0; y < 48; ++y)
      for (int x = 0; x < 64; ++x)
        if (GetPixel(x, y) != clear_) {
          ++n;
          x0 = std::min(x0, x), y0 = std::min(y0, y), x1 = std::max(x1, x), y1 = std::max(y1, y);
        }
    char line[80];
    std::snprintf(line, sizeof line, ": %d px in %d,%d-%d,%d", n, x0, y0, x1, y1);
    text_ += what + (n ? line : ": 0 px");
    for (const auto& [x, y] : probes) {
      std::snprintf(line, sizeof line, " %d,%d=%08X", x, y, GetPixel(x, y));
      text_ += line;
    }
    text_ += "\n";
    for (const DrawRecord& r : DrawList()) text_ += "  " + Describe(r) + "\n";
  }

  uint32_t clear_ = 0xFF000000u;
  std::string text_;
};

}  // namespace

TEST_F(RefhostDraws, BitmapsAreTintedBlendedAndAlphaTested) {
  TEXTURE white = LoadOverlaid("menu/white.tga", Tga(1, 1, {0xFFFFFFFF}));
  DrawFrameBitmap(white, 0, 2, 0.01f, 4, 4, 5, 6, 0xFF804020, 0, 1, 1);
  Shot("the colour modulates the texture", {{2, 4}});
  Frame(0);
  TEXTURE rg = LoadOverlaid("menu/rg.tga", Tga(2, 1, {0xFFFF0000, 0xFF00FF00}));
  DrawFrameBitmap(rg, 0, 0, 0.01f, 8, 1, 5, 6, 0xFFFFFFFF, 0, 2.0f, 1.0f);
  Shot("uv scale 2 repeats it", {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}, {6, 0}, {7, 0}});

  // Over the clear colour 0x204060; half: a texture of half-transparent white.
  TEXTURE half = LoadOverlaid("menu/half.tga", Tga(1, 1, {0x80FFFFFF}));
  const struct {
    const char* what;
    TEXTURE texture;
    int src, dst;
    uint32_t argb;
  } blends[] = {
      {"source alpha over", nullptr, 5, 6, 0x80FF8010},
      {"texel alpha blends alike", half, 5, 6, 0xFFFF8010},
      {"source alpha, one", nullptr, 5, 2, 0x80FF0000},
      {"zero, one: the frame alone", nullptr, 1, 2, 0xFFFFFFFF},
      {"source colour, inverse source colour", nullptr, 3, 4, 0xFF8040C0},
      {"destination alpha, inverse destination alpha", nullptr, 7, 8, 0xFF8040C0},
      {"destination colour, inverse destination colour", nullptr, 9, 10, 0xFF8040C0},
      {"unknown factors: source one, destination zero", nullptr, 0, 0, 0xFF8040C0},
  };
  for (const auto& c : blends) {
    Frame(0x204060);
    DrawFrameBitmap(c.texture, 0, 0, 0, 4, 4, c.src, c.dst, c.argb, 0, 1, 1);
    Shot(c.what, {{3, 3}});
  }

  // Texel alphas 15 and 16, white, over black; a solid rectangle is tested
  // with its colour's alpha (15), and a turned bitmap like a plain one. Off,
  // then the gauge bitmap's test (the only one the module sets).
  TEXTURE edge = LoadOverlaid("menu/edge.tga", Tga(2, 1, {0x0FFFFFFF, 0x10FFFFFF}));
  const uint32_t tests[][3] = {{0, Y3DCMP_GREATER, 15}, {1, Y3DCMP_GREATER, 15}};
  for (const auto& [enable, func, ref] : tests) {
    Frame(0);
    SetRenderState(Y3DRS_ALPHATESTENABLE, enable);
    SetRenderState(Y3DRS_ALPHAFUNC, func);
    SetRenderState(Y3DRS_ALPHAREF, ref);
    DrawFrameBitmap(edge, 0, 0, 0, 2, 1, 5, 6, 0xFFFFFFFF, 0, 1, 1);
    DrawFrameBitmap(nullptr, 0, 4, 0, 4, 4, 5, 6, 0x0FFFFFFF, 0, 1, 1);
    ShowFrameBitmapTransformed(edge, 20, 20, 8, 8, 0, 0xFFFFFFFF);
    const std::string row = std::to_string(enable) + " func " + std::to_string(func) + " ref " + std::to_string(ref);
    Shot("alpha test " + row, {{0, 0}, {1, 0}, {0, 4}, {16, 16}, {20, 16}});
  }
  EXPECT_MATCHES_EXPECTED("unit/expected/refhost_blend.expected", text_);
}

TEST_F(RefhostDraws, DrawsAreClippedAlignedSizedAndTurned) {
  DrawFrameBitmap(nullptr, -5, -5, 0, 10, 10, 5, 6, 0xFFFFFFFF, 0, 1, 1);
  DrawFrameBitmap(nullptr, 60, 44, 0, 10, 10, 5, 6, 0xFFFFFFFF, 0, 1, 1);
  DrawFrameBitmap(nullptr, 100, 100, 0, 10, 10, 5, 6, 0xFFFFFFFF, 0, 1, 1);
  DrawFrameBitmap(nullptr, -2000000000, 0, 0, 2000000000, 10, 5, 6, 0xFFFFFFFF, 0, 1, 1);
  Shot("clipped at the edges", {{4, 4}, {5, 5}, {63, 47}, {64, 47}});
  Frame(0);
  DrawFrameBitmap(nullptr, 32, 24, 0, 10, 6, 5, 6, 0xFFFFFFFF, 36, 1, 1);
  DrawFrameBitmap(nullptr, 64, 48, 0, 4, 4, 5, 6, 0xFFFFFFFF, 2 | 16, 1, 1);
  Shot("alignment bits 36, then 18", {{27, 21}, {36, 26}});

  Frame(0);
  TEXTURE three = LoadOverlaid("menu/three.tga", Tga(3, 2, std::vector<uint32_t>(6, 0xFF0000FF)));
  ShowFrameBitmap(three, 5, 5, 0, 0, 0xFFFFFFFF);
  Shot("a plain bitmap takes the texture's size", {{7, 6}});
  ShowFrameBitmap(three, 20, 20, 10, 4, 0xFFFFFFFF);
  Shot("or the given one");
  // A transformed bitmap turns clockwise about its centre.
  TEXTURE rg = LoadOverlaid("menu/rg.tga", Tga(2, 1, {0xFFFF0000, 0xFF00FF00}));
  for (float angle : {0.0f, float(M_PI / 2)}) {
    Frame(0);
    ShowFrameBitmapTransformed(rg, 32, 24, 20, 10, angle, 0xFFFFFFFF);
    Shot("turned " + std::to_string(angle), {{25, 24}, {38, 24}, {32, 17}, {32, 31}});
  }
  EXPECT_MATCHES_EXPECTED("unit/expected/refhost_geometry.expected", text_);
}

TEST_F(RefhostDraws, AnimationsRecordsAndRenderModes) {
  _ANIMATEEX caret;
  SetTick(1000);
  Init2DAnimate(Y3DANIM_CARET, &caret, 0, 0, 0.01f);
  caret.x = 10.0f / 64;
  caret.y = 12.0f / 48;
  caret.height = 12.0f / 48;
  for (uint32_t tick : {1200, 1700, 2100, 2999}) {
    SetTick(tick);
    Process2DAnimate(&caret, 1);
    Frame(0);
    DrawFrameBitmap(&caret, 0xFFFFFF, 0);
    Shot("caret at tick " + std::to_string(tick), {{10, 12}});
  }
  _ANIMATEEX bar;
  Init2DAnimate(Y3DANIM_BAR, &bar, 0.25f, 0.5f, 0.01f);
  bar.width = 0.5f;
  bar.height = 0.25f;
  Process2DAnimate(&bar, 1);
  for (uint32_t colour : {0x00FF00u, 0x8000FF00u}) {   // a top byte is the alpha
    Frame(0);
    DrawFrameBitmap(&bar, colour, 0);
    Shot("bar", {{16, 24}});
  }


  // Recording only, draws are listed and the frame keeps its clear colour.
  SetRenderMode(RenderMode::RecordOnly);
  Frame(0x204060);
  DrawFrameBitmap(nullptr, 0, 0, 0, 8, 8, 5, 6, 0xFFFFFFFF, 0, 1, 1);
  Shot("recorded only");
  // A frame begun while recording only, then drawn into: the clear colour lies under the draw.
  Frame(0x102030);
  SetRenderMode(RenderMode::Raster);
  DrawFrameBitmap(nullptr, 0, 0, 0, 8, 8, Y3DBLEND_SRCALPHA, Y3DBLEND_INVSRCALPHA, 0xFFFFFFFF, 0, 1, 1);
  Shot("begun recording, drawn raster", {{0, 0}, {8, 8}, {63, 47}});
  SetRenderMode(RenderMode::Off);
  DrawFrameBitmap(nullptr, 0, 0, 0, 8, 8, 5, 6, 0xFF000000, 0, 1, 1);
  Shot("off: nothing drawn, nothing recorded");
  EXPECT_MATCHES_EXPECTED("unit/expected/refhost_animations.expected", text_);
  std::string error;
  EXPECT_FALSE(WriteFramePng("/nonexistent-dir/x.png", &error));   // written frames: korvoui_render_*
  EXPECT_NE(error.find("/nonexistent-dir/x.png"), std::string::npos) << error;
}

// ---- Textures ---------------------------------------------------------------------------

// Textures are shared by path and drawn as the placeholder until loaded; a
// missing or broken one stays the placeholder and is listed once, and not
// looked for again until the files change. The count of live textures is
// GameControlsTest.BitmapDrawsItsTextureInItsColourOverItsRectangle's.
TEST_F(RefhostDraws, TexturesAreSharedCountedAndMissedOnce) {
  OverlayFile("menu/broken.tga", "not an image");
  OverlayFile("menu/a.tga", Tga(1, 1, {0xFF00FF00}));
  TEXTURE missing = nullptr, broken = nullptr, a = nullptr, same = nullptr;
  RegisterNewTexture(&InterfaceTexture, "menu/none.tga", &missing, 0);
  RegisterNewTexture(&InterfaceTexture, "menu/broken.tga", &broken, 0);
  RegisterNewTexture(&InterfaceTexture, "menu/a.tga", &a, 0);
  RegisterNewTexture(&InterfaceTexture, "menu\\a.tga", &same, 0);
  EXPECT_EQ(a, same);
  DrawFrameBitmap(a, 40, 0, 0, 2, 2, 5, 6, 0xFFFFFFFF, 0, 1, 1);
  Shot("not loaded yet", {{40, 0}});
  EXPECT_FALSE(LoadTexture(&InterfaceTexture, 0));
  Frame(0);
  DrawFrameBitmap(missing, 0, 0, 0.01f, 32, 32, 5, 6, 0xFFFFFFFF, 0, 1, 1);
  ReleaseTexture(a, 0);
  DrawFrameBitmap(same, 40, 0, 0, 2, 2, 5, 6, 0xFFFFFFFF, 0, 1, 1);
  Shot("missing, and loaded", {{2, 5}, {10, 2}, {12, 12}, {40, 0}});   // magenta, black, the cross
  ReleaseTexture(same, 0);
  ReleaseTexture(missing, 0);
  ReleaseTexture(broken, 0);
  for (int open = 0; open < 3; ++open) {   // a dialog with a missing image opened again and again
    TEXTURE t = nullptr;
    RegisterNewTexture(&InterfaceTexture, "menu/later.tga", &t, 0);
    EXPECT_FALSE(LoadTexture(&InterfaceTexture, 0)) << open;
    ReleaseTexture(t, 0);
  }
  const std::vector<std::string> missed{"menu/none.tga", "menu/broken.tga", "menu/later.tga"};
  EXPECT_EQ(MissingTextures(), missed);
  Frame(0);
  TEXTURE t = LoadOverlaid("menu/later.tga", Tga(1, 1, {0xFF00FF00}));
  DrawFrameBitmap(t, 0, 0, 0, 2, 2, 5, 6, 0xFFFFFFFF, 0, 1, 1);
  Shot("found once it is there", {{0, 0}});
  ReleaseTexture(t, 0);
  ASSERT_TRUE(RemoveOverlayFile("menu/later.tga"));
  RegisterNewTexture(&InterfaceTexture, "menu/later.tga", &t, 0);
  EXPECT_FALSE(LoadTexture(&InterfaceTexture, 0));   // gone again, still listed once
  ReleaseTexture(t, 0);
  EXPECT_EQ(MissingTextures(), missed);
  // Released before the load: the package loads clean.
  RegisterNewTexture(&InterfaceTexture, "menu/gone.tga", &t, 0);
  ReleaseTexture(t, 0);
  EXPECT_TRUE(LoadTexture(&InterfaceTexture, 0));
  EXPECT_EQ(MissingTextureCount(), 3);
  EXPECT_MATCHES_EXPECTED("unit/expected/refhost_textures.expected", text_);
}
