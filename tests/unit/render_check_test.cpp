// render_check_test.cpp: a dialog of game controls drawn into the reference
// host's frame, checked by pixel facts rather than a stored image.
#include <gtest/gtest.h>

#include "runtime/game_bitmap.h"
#include "runtime/game_static.h"
#include "tests/unit/game_controls_support.h"

namespace {

class RenderCheckTest : public GameControlsTest {
 protected:
  void SetUp() override {
    GameControlsTest::SetUp();
    korvohost::SetRenderMode(korvohost::RenderMode::Raster);
    korvohost::OverlayFile("menu/red.tga", SolidTga(4, 4, 0xFFFF0000));
  }
  // Pixels of the rectangle [x0, x1) x [y0, y1) that are not black.
  static int Lit(int x0, int y0, int x1, int y1) {
    int n = 0;
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) n += (korvohost::GetPixel(x, y) & 0xFFFFFF) != 0;
    return n;
  }
  static void Draw() {
    korvohost::BeginFrame(0x000000);
    GUI_Draw();
  }
};

// A bitmap fills its rectangle with its texture; hidden controls draw nothing.
TEST_F(RenderCheckTest, BitmapFillsItsRectangleWithItsTextureWhenShown) {
  CGUI_Dialog* d = AddDialog("DLG");
  auto* b = Make<CGUI_GameBitmap>(d, "BITMAP", "IDC_B", 0.25f, 0.25f, 0.25f, 0.25f);
  AddBitmap(b, "red.tga");
  auto* s = Make<CGUI_GameStatic>(d, "STATIC", "IDC_S", 0.5f, 0.5f, 0.1f, 0.1f);
  AddFont(s);
  s->SetCaption("HELLO");
  b->Show(false, false);
  s->Show(false, false);
  ASSERT_TRUE(Open("DLG")) << LastError();
  Draw();
  EXPECT_EQ(Lit(0, 0, 320, 240), 0);
  b->Show(true, false);
  Draw();
  // 80 x 60 pixels from (80, 60).
  EXPECT_EQ(korvohost::GetPixel(80, 60), 0xFFFF0000u);
  EXPECT_EQ(korvohost::GetPixel(159, 119), 0xFFFF0000u);
  EXPECT_EQ(korvohost::GetPixel(120, 90), 0xFFFF0000u);
  EXPECT_EQ(korvohost::GetPixel(79, 60), 0xFF000000u);
  EXPECT_EQ(korvohost::GetPixel(160, 119), 0xFF000000u);
  EXPECT_EQ(korvohost::GetPixel(120, 120), 0xFF000000u);
  EXPECT_EQ(Lit(0, 0, 320, 240), 80 * 60);
  EXPECT_EQ(korvohost::MissingTextureCount(), 0);
}

TEST_F(RenderCheckTest, StaticTextLightsPixelsInsideItsRectangleOnly) {
  CGUI_Dialog* d = AddDialog("DLG");
  auto* s = Make<CGUI_GameStatic>(d, "STATIC", "IDC_S", 0.5f, 0.5f, 0.1f, 0.1f);
  AddFont(s, "SYSTEM", 255, 255, 255, 255, 20);
  s->SetAutoSize(true);
  s->SetCaption("HELLO");
  ASSERT_TRUE(Open("DLG")) << LastError();
  Draw();
  const int x0 = int(s->Region()[0] * 320), y0 = int(s->Region()[1] * 240);
  const int x1 = x0 + int(s->Region()[2] * 320 + 1), y1 = y0 + int(s->Region()[3] * 240 + 1);
  EXPECT_GT(Lit(x0, y0, x1, y1), 40);
  EXPECT_EQ(Lit(0, 0, 320, 240), Lit(x0, y0, x1, y1));
}

}  // namespace
