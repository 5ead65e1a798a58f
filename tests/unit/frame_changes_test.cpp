// frame_changes_test.cpp: a frame draws what changed since the last one —
// colours, places, texts, textures and the screen size — although the
// controls and the reference host keep what they gave and recorded before.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "host/host_graphics.h"
#include "host/host_services.h"
#include "runtime/game_bitmap.h"
#include "runtime/game_static.h"
#include "tests/unit/game_controls_support.h"

namespace {

using korvohost::DrawKind;
using korvohost::DrawRecord;

// One line per record: kind, texture, font given or not, text, colour, place.
std::string Describe(std::span<const DrawRecord> frame) {
  std::string out;
  for (const DrawRecord& r : frame) {
    char line[160];
    std::snprintf(line, sizeof line, "%s '%s' %s '%s' %08X %d,%d,%d,%d\n", korvohost::DrawKindName(r.kind),
                  r.texture.c_str(), r.font.empty() ? "-" : "font", r.text.c_str(), r.argb, r.x, r.y, r.w,
                  r.h);
    out += line;
  }
  return out;
}

// A dialog with a static text and a bitmap.
struct Controls {
  CGUI_Dialog* dialog;
  CGUI_GameStatic* text;
  CGUI_GameBitmap* bitmap;
};

class FrameChangesTest : public GameControlsTest {
 protected:
  void SetUp() override {
    GameControlsTest::SetUp();
    korvohost::OverlayFile("menu/a.tga", SolidTga(2, 2, 0xFFFFFFFF));
    korvohost::OverlayFile("menu/b.tga", SolidTga(2, 2, 0xFFFFFFFF));
  }
  Controls Build(const char* id) {
    Controls c;
    c.dialog = AddDialog(id);
    c.text = Make<CGUI_GameStatic>(c.dialog, "STATIC", "IDC_S", 0.1f, 0.1f, 0.3f, 0.1f);
    AddFont(c.text, "SYSTEM", 10, 20, 30, 255);
    c.text->SetCaption("Text");
    c.bitmap = Make<CGUI_GameBitmap>(c.dialog, "BITMAP", "IDC_B", 0.5f, 0.5f, 0.25f, 0.25f);
    AddBitmap(c.bitmap, "a.tga");
    return c;
  }
};

// A change made between two frames of a dialog draws as it does when made
// before the first frame of a dialog built the same way.
TEST_F(FrameChangesTest, EachChangeBetweenTwoFramesReachesTheSecond) {
  struct Case {
    const char* what;
    std::function<void(const Controls&)> change;
  } cases[] = {
      {"colour", [](const Controls& c) { c.text->SetTextColor(200, 100, 50, 128); }},
      {"caption", [](const Controls& c) { c.text->SetCaption("Other"); }},
      {"caption emptied", [](const Controls& c) { c.text->SetCaption(""); }},
      {"text hidden", [](const Controls& c) { c.text->Show(false, false); }},
      {"dialog moved",
       [](const Controls& c) {
         const float by[2] = {0.1f, 0.2f};
         c.dialog->Move(by);
       }},
      {"bitmap aligned", [](const Controls& c) { c.bitmap->SetAlign(ALIGN_RIGHT | ALIGN_BOTTOM); }},
      {"texture", [](const Controls& c) { c.bitmap->SetTexture("b.tga"); }},
      {"texture dropped", [](const Controls& c) { c.bitmap->SetTexture("null"); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const Controls shown = Build("SHOWN"), fresh = Build("FRESH");
    ASSERT_TRUE(Open("SHOWN")) << LastError();
    const std::string before = Describe(Frame());
    ASSERT_EQ(Describe(Frame()), before) << "an unchanged frame draws the same";
    c.change(shown);
    const std::string after = Describe(Frame());
    EXPECT_NE(after, before);
    GUI_DestroyDialog("SHOWN");
    ASSERT_TRUE(Open("FRESH")) << LastError();
    c.change(fresh);
    EXPECT_EQ(Describe(Frame()), after);
    GUI_DestroyDialog("FRESH");
  }
}

TEST_F(FrameChangesTest, ABitmapFollowsTheScreenSize) {
  Build("DLG");
  ASSERT_TRUE(Open("DLG")) << LastError();
  Frame();
  korvohost::SetScreen(640, 480);
  const auto frame = Frame();
  ASSERT_EQ(Textures(frame), std::vector<std::string>{"menu/a.tga"});
  for (const DrawRecord& r : frame) {
    if (r.kind == DrawKind::Bitmap) {
      EXPECT_EQ(Describe({&r, 1}), "bitmap 'menu/a.tga' - '' FFFFFFFF 320,240,160,120\n");
    }
  }
}

// A record slot keeps strings from the frame before; each draw replaces them.
TEST_F(FrameChangesTest, ARecordSlotTakesTheNewDrawsStrings) {
  using korvohost::BeginFrame;
  korvohost::OverlayFile("menu/a.tga", SolidTga(2, 2, 0xFFFFFFFF));
  TEXTURE a = nullptr;
  ASSERT_TRUE(RegisterNewTexture(&InterfaceTexture, "menu/a.tga", &a, 0));
  LoadTexture(&InterfaceTexture, 0);
  CY3DText text(Y3DFONT_SYSTEM, nullptr, 0, 0, 0, 12, 1, 0);
  text.SetText("one");

  BeginFrame(0);
  text.Draw(nullptr);
  DrawFrameBitmap(a, 0, 0, 0, 4, 4, 5, 6, 0xFFFFFFFF, 0, 1, 1);
  BeginFrame(0);
  DrawFrameBitmap(a, 0, 0, 0, 4, 4, 5, 6, 0xFFFFFFFF, 0, 1, 1);   // where the text was
  text.SetText("two");
  text.Draw(nullptr);                                              // where the bitmap was
  DrawFrameBitmap(nullptr, 0, 0, 0, 4, 4, 5, 6, 0xFFFFFFFF, 0, 1, 1);
  ReleaseTexture(a, 0);
  DrawFrameBitmap(a, 0, 0, 0, 4, 4, 5, 6, 0xFFFFFFFF, 0, 1, 1);
  EXPECT_EQ(Describe(korvohost::DrawList()),
            "bitmap 'menu/a.tga' - '' FFFFFFFF 0,0,4,4\n"
            "text '' font 'two' FFFFFFFF 0,0,7,5\n"
            "bitmap '' - '' FFFFFFFF 0,0,4,4\n"
            "bitmap '<released>' - '' FFFFFFFF 0,0,4,4\n");
  EXPECT_TRUE(korvohost::DrawList()[3].placeholder);
}

}  // namespace
