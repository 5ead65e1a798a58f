// Reference host 2D drawing: textures from the game file system, blending,
// clipping, placeholders, animations, the draw list and PNG output.
#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>

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

// One channel of a source-over blend.
int Over(int s, int a, int d) { return int(std::lround((s * a + d * (255 - a)) / 255.0)); }

}  // namespace

// ---- Textures ---------------------------------------------------------------------------

TEST_F(RefhostGraphics, ColourModulatesTheTextureAndUvScaleRepeatsIt) {
  TEXTURE white = LoadOverlaid("menu/white.tga", Tga(1, 1, {0xFFFFFFFF}));
  DrawFrameBitmap(white, 0, 2, 0.01f, 4, 4, 5, 6, 0xFF804020, 0, 1, 1);
  EXPECT_EQ(GetPixel(2, 4), 0xFF804020u);
  TEXTURE t = LoadOverlaid("menu/rg.tga", Tga(2, 1, {0xFFFF0000, 0xFF00FF00}));
  DrawFrameBitmap(t, 0, 0, 0.01f, 8, 1, 5, 6, 0xFFFFFFFF, 0, 2.0f, 1.0f);
  const uint32_t r = 0xFFFF0000, g = 0xFF00FF00;
  const uint32_t expected[8] = {r, r, g, g, r, r, g, g};
  for (int x = 0; x < 8; ++x) EXPECT_EQ(GetPixel(x, 0), expected[x]) << "x " << x;
}

TEST_F(RefhostGraphics, MissingAndBrokenTexturesDrawThePlaceholderAndAreCounted) {
  TEXTURE missing = nullptr, broken = nullptr;
  OverlayFile("menu/broken.tga", "not an image");
  RegisterNewTexture(&InterfaceTexture, "menu/none.tga", &missing, 0);
  RegisterNewTexture(&InterfaceTexture, "menu/broken.tga", &broken, 0);
  EXPECT_FALSE(LoadTexture(&InterfaceTexture, 0));
  EXPECT_EQ(MissingTextureCount(), 2);
  EXPECT_EQ(MissingTextures(), (std::vector<std::string>{"menu/none.tga", "menu/broken.tga"}));
  DrawFrameBitmap(missing, 0, 0, 0.01f, 32, 32, 5, 6, 0xFFFFFFFF, 0, 1, 1);
  EXPECT_EQ(GetPixel(2, 5), 0xFFFF00FFu);    // a magenta square
  EXPECT_EQ(GetPixel(10, 2), 0xFF000000u);   // a black one beside it
  EXPECT_EQ(GetPixel(12, 12), 0xFFFFFFFFu);  // on the cross
  ASSERT_EQ(DrawList().size(), 1u);
  EXPECT_TRUE(DrawList()[0].placeholder);
  EXPECT_EQ(DrawList()[0].texture, "menu/none.tga");

  // A dialog with a missing image opened again and again: the miss is listed once and not looked
  // for again until the files change.
  for (int open = 0; open < 3; ++open) {
    TEXTURE t = nullptr;
    RegisterNewTexture(&InterfaceTexture, "menu/later.tga", &t, 0);
    EXPECT_FALSE(LoadTexture(&InterfaceTexture, 0)) << open;
    ReleaseTexture(t, 0);
  }
  const std::vector<std::string> missed{"menu/none.tga", "menu/broken.tga", "menu/later.tga"};
  EXPECT_EQ(MissingTextures(), missed);
  TEXTURE t = LoadOverlaid("menu/later.tga", Tga(1, 1, {0xFF00FF00}));
  DrawFrameBitmap(t, 0, 0, 0, 2, 2, 5, 6, 0xFFFFFFFF, 0, 1, 1);
  EXPECT_FALSE(DrawList().back().placeholder);
  ReleaseTexture(t, 0);
  ASSERT_TRUE(RemoveOverlayFile("menu/later.tga"));
  RegisterNewTexture(&InterfaceTexture, "menu/later.tga", &t, 0);
  EXPECT_FALSE(LoadTexture(&InterfaceTexture, 0));   // gone again, still listed once
  ReleaseTexture(t, 0);
  EXPECT_EQ(MissingTextures(), missed);
}

TEST_F(RefhostGraphics, TexturesAreSharedByPathAndCounted) {
  OverlayFile("menu/a.tga", Tga(1, 1, {0xFF00FF00}));
  TEXTURE first = nullptr, second = nullptr;
  RegisterNewTexture(&InterfaceTexture, "menu/a.tga", &first, 0);
  RegisterNewTexture(&InterfaceTexture, "menu\\a.tga", &second, 0);
  EXPECT_EQ(first, second);
  EXPECT_EQ(LiveTextureCount(), 1);
  // Not loaded yet: drawn as the placeholder.
  DrawFrameBitmap(first, 0, 0, 0, 2, 2, 5, 6, 0xFFFFFFFF, 0, 1, 1);
  EXPECT_TRUE(DrawList().back().placeholder);
  EXPECT_TRUE(LoadTexture(&InterfaceTexture, 0));
  ReleaseTexture(first, 0);
  DrawFrameBitmap(second, 0, 0, 0, 2, 2, 5, 6, 0xFFFFFFFF, 0, 1, 1);
  EXPECT_FALSE(DrawList().back().placeholder);
  EXPECT_EQ(GetPixel(1, 1), 0xFF00FF00u);
  ReleaseTexture(second, 0);
  EXPECT_EQ(LiveTextureCount(), 0);
  // Released before the load: the package loads clean.
  RegisterNewTexture(&InterfaceTexture, "menu/gone.tga", &first, 0);
  ReleaseTexture(first, 0);
  EXPECT_TRUE(LoadTexture(&InterfaceTexture, 0));
  EXPECT_EQ(MissingTextureCount(), 0);
}

// ---- Blending and clipping ----------------------------------------------------------------

// Each row draws over the clear colour 0x204060 with its blend factors, its
// colour and, where given, a texture of half-transparent white texels.
TEST_F(RefhostGraphics, BlendFactorsMixTheDrawWithTheFrame) {
  TEXTURE half = LoadOverlaid("menu/half.tga", Tga(1, 1, {0x80FFFFFF}));
  const int overR = Over(0xFF, 0x80, 0x20), overG = Over(0x80, 0x80, 0x40), overB = Over(0x10, 0x80, 0x60);
  const struct {
    TEXTURE texture;
    int src, dst;
    uint32_t argb;
    int r, g, b, tolerance;
  } cases[] = {
      {nullptr, 5, 6, 0x80FF8010, overR, overG, overB, 1},   // source alpha over
      {half, 5, 6, 0xFFFF8010, overR, overG, overB, 1},      // texel alpha blends alike
      {nullptr, 2, 2, 0x0030F010, 0x50, 0xFF, 0x70, 0},      // ONE, ONE: no alpha, saturated
      {nullptr, 5, 2, 0x80FF0000, 0x20 + 128, 0x40, 0x60, 1},   // source alpha, ONE
      {nullptr, 1, 2, 0xFFFFFFFF, 0x20, 0x40, 0x60, 0},      // ZERO, ONE: the frame alone
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.src << "," << c.dst << " " << std::hex << c.argb);
    BeginFrame(0x204060);
    DrawFrameBitmap(c.texture, 0, 0, 0, 4, 4, c.src, c.dst, c.argb, 0, 1, 1);
    const uint32_t p = GetPixel(3, 3);
    EXPECT_NEAR(int(p >> 16 & 255), c.r, c.tolerance);
    EXPECT_NEAR(int(p >> 8 & 255), c.g, c.tolerance);
    EXPECT_NEAR(int(p & 255), c.b, c.tolerance);
    EXPECT_EQ(p >> 24, 255u);
  }
}

TEST_F(RefhostGraphics, AlphaTestLeavesOutTheTexelsThatFailIt) {
  // Texel alphas 15 and 16, white, over black: a drawn texel leaves a grey pixel.
  TEXTURE t = LoadOverlaid("menu/edge.tga", Tga(2, 1, {0x0FFFFFFF, 0x10FFFFFF}));
  struct Case {
    uint32_t enable, func, ref;
    bool first, second;   // whether each texel is drawn
  };
  const Case cases[] = {
      {0, Y3DCMP_GREATER, 15, true, true},    // off: everything is drawn
      {1, Y3DCMP_GREATER, 15, false, true},   // the gauge bitmap's test
      {1, Y3DCMP_LESSEQUAL, 15, true, false},
      {1, Y3DCMP_EQUAL, 16, false, true},
      {1, Y3DCMP_NEVER, 0, false, false},
      {1, Y3DCMP_ALWAYS, 0, true, true},
  };
  for (const Case& c : cases) {
    BeginFrame(0x000000);
    SetRenderState(Y3DRS_ALPHATESTENABLE, c.enable);
    SetRenderState(Y3DRS_ALPHAFUNC, c.func);
    SetRenderState(Y3DRS_ALPHAREF, c.ref);
    DrawFrameBitmap(t, 0, 0, 0, 2, 1, 5, 6, 0xFFFFFFFF, 0, 1, 1);
    EXPECT_EQ(GetPixel(0, 0) != 0xFF000000u, c.first) << c.enable << " " << c.func << " " << c.ref;
    EXPECT_EQ(GetPixel(1, 0) != 0xFF000000u, c.second) << c.enable << " " << c.func << " " << c.ref;
  }
  // A solid rectangle is tested with its colour's alpha, and so is a rotated draw.
  BeginFrame(0x000000);
  SetRenderState(Y3DRS_ALPHATESTENABLE, 1);
  SetRenderState(Y3DRS_ALPHAFUNC, Y3DCMP_GREATER);
  SetRenderState(Y3DRS_ALPHAREF, 15);
  DrawFrameBitmap(nullptr, 0, 0, 0, 4, 4, 5, 6, 0x0FFFFFFF, 0, 1, 1);
  ShowFrameBitmapTransformed(t, 20, 20, 8, 8, 0, 0xFFFFFFFF);
  EXPECT_EQ(CountNot(0xFF000000, 0, 0, 4, 4), 0);
  EXPECT_EQ(CountNot(0xFF000000, 16, 16, 24, 24), 32);   // the right half only
  // Switched off again, the same draws show.
  SetRenderState(Y3DRS_ALPHATESTENABLE, 0);
  DrawFrameBitmap(nullptr, 0, 0, 0, 4, 4, 5, 6, 0x0FFFFFFF, 0, 1, 1);
  EXPECT_EQ(CountNot(0xFF000000, 0, 0, 4, 4), 16);
}

TEST_F(RefhostGraphics, DrawsAreClippedAtTheFrameEdgesAndMovedByAlignment) {
  DrawFrameBitmap(nullptr, -5, -5, 0, 10, 10, 5, 6, 0xFFFFFFFF, 0, 1, 1);
  DrawFrameBitmap(nullptr, 60, 44, 0, 10, 10, 5, 6, 0xFFFFFFFF, 0, 1, 1);
  DrawFrameBitmap(nullptr, 100, 100, 0, 10, 10, 5, 6, 0xFFFFFFFF, 0, 1, 1);
  DrawFrameBitmap(nullptr, -2000000000, 0, 0, 2000000000, 10, 5, 6, 0xFFFFFFFF, 0, 1, 1);
  EXPECT_EQ(CountNot(0xFF000000, 0, 0, 64, 48), 25 + 16);
  EXPECT_EQ(GetPixel(4, 4), 0xFFFFFFFFu);
  EXPECT_EQ(GetPixel(5, 5), 0xFF000000u);
  EXPECT_EQ(GetPixel(63, 47), 0xFFFFFFFFu);
  EXPECT_EQ(GetPixel(64, 47), 0u);   // outside the frame

  // Alignment bits move the rectangle.
  BeginFrame(0);
  DrawFrameBitmap(nullptr, 32, 24, 0, 10, 6, 5, 6, 0xFFFFFFFF, 36, 1, 1);
  DrawFrameBitmap(nullptr, 64, 48, 0, 4, 4, 5, 6, 0xFFFFFFFF, 2 | 16, 1, 1);
  ASSERT_EQ(DrawList().size(), 2u);
  EXPECT_EQ(DrawList()[0].x, 27);
  EXPECT_EQ(DrawList()[0].y, 21);
  EXPECT_EQ(DrawList()[1].x, 60);
  EXPECT_EQ(DrawList()[1].y, 44);
  EXPECT_EQ(CountNot(0xFF000000, 27, 21, 37, 27), 60);
  EXPECT_EQ(CountNot(0xFF000000, 0, 0, 64, 48), 60 + 16);
}

// ---- Plain and rotated bitmaps --------------------------------------------------------------

TEST_F(RefhostGraphics, PlainBitmapsTakeTheTextureSizeAndTransformedOnesTurn) {
  TEXTURE t = LoadOverlaid("menu/three.tga", Tga(3, 2, std::vector<uint32_t>(6, 0xFF0000FF)));
  ShowFrameBitmap(t, 5, 5, 0, 0, 0xFFFFFFFF);
  EXPECT_EQ(CountNot(0xFF000000, 0, 0, 64, 48), 6);
  EXPECT_EQ(GetPixel(7, 6), 0xFF0000FFu);
  ShowFrameBitmap(t, 20, 20, 10, 4, 0xFFFFFFFF);
  EXPECT_EQ(CountNot(0xFF000000, 0, 0, 64, 48), 6 + 40);

  // A transformed bitmap turns clockwise about its centre.
  t = LoadOverlaid("menu/rg.tga", Tga(2, 1, {0xFFFF0000, 0xFF00FF00}));
  ShowFrameBitmapTransformed(t, 32, 24, 20, 10, 0.0f, 0xFFFFFFFF);
  EXPECT_EQ(GetPixel(25, 24), 0xFFFF0000u);
  EXPECT_EQ(GetPixel(38, 24), 0xFF00FF00u);
  BeginFrame(0);
  ShowFrameBitmapTransformed(t, 32, 24, 20, 10, float(M_PI / 2), 0xFFFFFFFF);
  EXPECT_EQ(GetPixel(32, 17), 0xFFFF0000u);   // the left half now points up
  EXPECT_EQ(GetPixel(32, 31), 0xFF00FF00u);
  EXPECT_EQ(GetPixel(25, 24), 0xFF000000u);   // only 10 wide now
  EXPECT_EQ(CountNot(0xFF000000, 0, 0, 64, 48), 200);
  EXPECT_EQ(DrawList().back().kind, DrawKind::Transformed);
  EXPECT_FLOAT_EQ(DrawList().back().angle, float(M_PI / 2));
}

// ---- Animations ---------------------------------------------------------------------------

TEST_F(RefhostGraphics, CaretBlinksWithTheClock) {
  _ANIMATEEX caret;
  SetTick(1000);
  Init2DAnimate(Y3DANIM_CARET, &caret, 0, 0, 0.01f);
  caret.x = 10.0f / 64;
  caret.y = 12.0f / 48;
  caret.height = 12.0f / 48;
  struct Step {
    uint32_t tick;
    bool visible;
  };
  for (const Step& step : {Step{1200, true}, Step{1700, false}, Step{2100, true}, Step{2999, false}}) {
    SetTick(step.tick);
    Process2DAnimate(&caret, 1);
    BeginFrame(0);
    DrawFrameBitmap(&caret, 0xFFFFFF, 0);
    EXPECT_EQ(GetPixel(10, 12) == 0xFFFFFFFFu, step.visible) << "tick " << step.tick;
    ASSERT_EQ(DrawList().size(), 1u);
    EXPECT_EQ(DrawList()[0].visible, step.visible);
    if (step.visible) {
      EXPECT_EQ(CountNot(0xFF000000, 0, 0, 64, 48), 2 * 12);
      EXPECT_EQ(CountNot(0xFF000000, 10, 12, 12, 24), 2 * 12);
    }
  }
}

TEST_F(RefhostGraphics, BarAndNoiseAnimations) {
  _ANIMATEEX bar;
  Init2DAnimate(Y3DANIM_BAR, &bar, 0.25f, 0.5f, 0.01f);
  bar.width = 0.5f;
  bar.height = 0.25f;
  Process2DAnimate(&bar, 1);
  DrawFrameBitmap(&bar, 0x00FF00, 0);
  EXPECT_EQ(CountNot(0xFF000000, 0, 0, 64, 48), 32 * 12);
  EXPECT_EQ(GetPixel(16, 24), 0xFF00FF00u);
  BeginFrame(0);
  DrawFrameBitmap(&bar, 0x8000FF00, 0);   // a top byte is the alpha
  EXPECT_NEAR(int(GetPixel(16, 24) >> 8 & 255), 128, 1);

  // A noise animation changes with its frames.
  _ANIMATEEX noise;
  noise.width = noise.height = 0.5f;
  SetTick(0);
  Init2DAnimate(Y3DANIM_NOISE, &noise, 0, 0, 0);
  Process2DAnimate(&noise, 1);
  DrawFrameBitmap(&noise, 0xFFFFFF, 0);
  const std::string first(reinterpret_cast<const char*>(FramePixels(nullptr)), 64 * 48 * 4);
  SetTick(60);
  Process2DAnimate(&noise, 1);
  EXPECT_EQ(noise.frame, 1);
  BeginFrame(0);
  DrawFrameBitmap(&noise, 0xFFFFFF, 0);
  const std::string second(reinterpret_cast<const char*>(FramePixels(nullptr)), 64 * 48 * 4);
  EXPECT_NE(first, second);
  EXPECT_EQ(CountNot(0xFF000000, 32, 0, 64, 48), 0);
}

// ---- Draw list, modes, pixels and PNG ---------------------------------------------------------

TEST_F(RefhostGraphics, DrawListRecordsEachCall) {
  TEXTURE t = LoadOverlaid("menu/a.tga", Tga(1, 1, {0xFFFFFFFF}));
  DrawFrameBitmap(t, 1, 2, 0.01f, 3, 4, 5, 6, 0x11223344, 0, 1, 1);
  DrawFrameBitmap(nullptr, 5, 6, 0.01f, 7, 8, 2, 2, 0xFF000000, 0, 1, 1);
  _ANIMATEEX caret;
  Init2DAnimate(Y3DANIM_CARET, &caret, 0.5f, 0.5f, 0);
  DrawFrameBitmap(&caret, 0xFFFFFF, 0);
  const auto& list = DrawList();
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(list[0].kind, DrawKind::Bitmap);
  EXPECT_EQ(list[0].texture, "menu/a.tga");
  EXPECT_EQ(std::vector<int>({list[0].x, list[0].y, list[0].w, list[0].h, list[0].srcBlend, list[0].dstBlend}),
            std::vector<int>({1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(list[0].argb, 0x11223344u);
  EXPECT_EQ(list[1].texture, "");
  EXPECT_EQ(list[1].srcBlend, 2);
  EXPECT_EQ(list[2].kind, DrawKind::Animation);
  EXPECT_EQ(list[2].animKind, Y3DANIM_CARET);
  EXPECT_EQ(list[2].x, 32);
  EXPECT_EQ(list[2].w, 2);
  EXPECT_STREQ(DrawKindName(list[2].kind), "animation");
  BeginFrame(0);
  EXPECT_TRUE(DrawList().empty());
}

// Recording only, draws are listed and the frame keeps its clear colour.
TEST_F(RefhostGraphics, ClearColourHoldsInEveryModeAndUnderLaterRasterDraws) {
  SetRenderMode(RenderMode::RecordOnly);
  BeginFrame(0x204060);
  DrawFrameBitmap(nullptr, 0, 0, 0, 8, 8, 5, 6, 0xFFFFFFFF, 0, 1, 1);
  EXPECT_EQ(DrawList().size(), 1u);
  EXPECT_EQ(GetPixel(0, 0), 0xFF204060u);
  EXPECT_EQ(CountNot(0xFF204060, 0, 0, 64, 48), 0);
  // A frame begun while recording only, then drawn into: the clear colour lies under the draw.
  BeginFrame(0x102030);
  SetRenderMode(RenderMode::Raster);
  DrawFrameBitmap(nullptr, 0, 0, 0, 8, 8, Y3DBLEND_SRCALPHA, Y3DBLEND_INVSRCALPHA, 0xFFFFFFFF, 0, 1, 1);
  EXPECT_EQ(GetPixel(0, 0), 0xFFFFFFFFu);
  EXPECT_EQ(GetPixel(8, 8), 0xFF102030u);
  EXPECT_EQ(CountNot(0xFF102030, 0, 0, 64, 48), 64);
  int stride = 0;
  const uint8_t* p = FramePixels(&stride);
  EXPECT_EQ(p[stride * 47 + 4 * 63], 0x10);
  // Off: nothing drawn, nothing recorded.
  SetRenderMode(RenderMode::Off);
  DrawFrameBitmap(nullptr, 0, 0, 0, 8, 8, 5, 6, 0xFF000000, 0, 1, 1);
  EXPECT_EQ(DrawList().size(), 1u);
  EXPECT_EQ(GetPixel(0, 0), 0xFFFFFFFFu);
  EXPECT_EQ(GetRenderMode(), RenderMode::Off);
}

TEST_F(RefhostGraphics, PngWrittenAndReadBackHasTheSamePixels) {
  BeginFrame(0x102030);
  DrawFrameBitmap(nullptr, 3, 4, 0, 30, 20, 5, 6, 0x80C0FF00, 0, 1, 1);
  DrawFrameBitmap(nullptr, 10, 10, 0, 30, 30, 2, 2, 0xFF402000, 0, 1, 1);
  const std::vector<uint8_t> before(FramePixels(nullptr), FramePixels(nullptr) + 64 * 48 * 4);
  const std::string path = ::testing::TempDir() + "refhost_frame.png";
  std::string error;
  ASSERT_TRUE(WriteFramePng(path, &error)) << error;
  std::ifstream in(path, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  std::remove(path.c_str());
  EXPECT_EQ(bytes.str(), EncodeFramePng());
  TEXTURE t = LoadOverlaid("shots/frame.png", bytes.str());
  BeginFrame(0);
  ShowFrameBitmap(t, 0, 0, 0, 0, 0xFFFFFFFF);
  const std::vector<uint8_t> after(FramePixels(nullptr), FramePixels(nullptr) + 64 * 48 * 4);
  EXPECT_EQ(before, after);
  EXPECT_FALSE(WriteFramePng("/nonexistent-dir/x.png", &error));
}
