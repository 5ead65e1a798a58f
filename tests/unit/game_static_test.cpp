// game_static_test.cpp: the game's static text (font names, colour runs
// reaching the text object, the glow while hovered, auto size) and the
// AnimationInfo colour pulse.
#include <gtest/gtest.h>

#include "host/host_services.h"
#include "runtime/animation_info.h"
#include "runtime/game_static.h"
#include "runtime/window_manager.h"
#include "tests/unit/game_controls_support.h"

namespace {

class GameStaticTest : public GameControlsTest {
 protected:
  CGUI_GameStatic* AddStatic(const char* caption = "Hi") {
    CGUI_Dialog* d = AddDialog("DLG");
    auto* s = Make<CGUI_GameStatic>(d, "STATIC", "IDC_S", 0.1f, 0.1f, 0.3f, 0.1f);
    s->SetCaption(caption);
    return s;
  }
};

TEST_F(GameStaticTest, FontNamesIgnoreCaseAndPickTheFontType) {
  const std::pair<const char*, int> fonts[] = {{"menu", 1}, {"Digit", 1}, {"system", 0}, {"NORMAL", 1}};
  for (const auto& [name, type] : fonts) {
    DestroyAllDialogs();
    CGUI_GameStatic* s = AddStatic();
    s->AddParamList(Chain().S(name).F(12).F(1).get());   // three values are enough
    ASSERT_TRUE(Open("DLG")) << name << ": " << LastError();
    ASSERT_NE(s->Text(), nullptr);
    EXPECT_EQ(s->FontType(), type) << name;
  }
}

// ---- What reaches the text object ------------------------------------------------------------

// A plain caption draws in the static's colour at its place; colour markup
// runs reach the text object and survive reopening.
TEST_F(GameStaticTest, CaptionsDrawInTheStaticsColourOrTheirMarkupRuns) {
  CGUI_GameStatic* s = AddStatic("Plain");
  AddFont(s, "SYSTEM", 10, 20, 30, 255);
  ASSERT_TRUE(Open("DLG")) << LastError();
  auto frame = Frame();
  ASSERT_EQ(Texts(frame), std::vector<std::string>{"Plain"});
  EXPECT_EQ(frame[0].argb, 0xFF0A141Eu);
  EXPECT_EQ(frame[0].x, 32);   // 0.1 of 320
  EXPECT_EQ(frame[0].y, 24);   // 0.1 of 240
  GUI_DestroyDialog("DLG");
  SetColor(2, 0xFFFF0000);
  s->SetCaption("#c 02 Red#r rest");
  for (int round = 0; round < 2; ++round) {
    ASSERT_TRUE(Open("DLG")) << LastError();
    frame = Frame();
    ASSERT_EQ(Texts(frame), std::vector<std::string>{"Red rest"}) << round;
    EXPECT_EQ(frame[0].argb, 0xFFFF0000u) << "the first run is colour 2";
    GUI_DestroyDialog("DLG");
  }
}

// An empty caption draws nothing and does not stop the frame (password stars:
// GameControlsTest.GameFontsTakeSingleByteTextAndPasswordsShowStars).
TEST_F(GameStaticTest, EmptyCaptionDrawsNothing) {
  CGUI_Dialog* d = AddDialog("DLG");
  AddFont(Make<CGUI_GameStatic>(d, "STATIC", "IDC_EMPTY", 0, 0, 0.1f, 0.1f));
  auto* after = Make<CGUI_GameStatic>(d, "STATIC", "IDC_AFTER", 0, 0.5f, 0.1f, 0.1f);
  AddFont(after);
  after->SetCaption("after");
  ASSERT_TRUE(Open("DLG")) << LastError();
  EXPECT_EQ(Texts(Frame()), std::vector<std::string>{"after"});
}

TEST_F(GameStaticTest, GlowWhileHoveredAndAutoSize) {
  CGUI_GameStatic* s = AddStatic("Glow");
  AddFont(s, "NORMAL");
  ASSERT_TRUE(Open("DLG")) << LastError();
  EXPECT_EQ(Texts(Frame()).size(), 1u);
  GUI_MouseMove(0.12f, 0.12f);
  ASSERT_EQ(Routing().hover, s);
  EXPECT_EQ(Texts(Frame()), (std::vector<std::string>{"Glow", "Glow"}));
  GUI_MouseMove(0.9f, 0.9f);
  EXPECT_EQ(Texts(Frame()).size(), 1u);

  // Auto size takes the measured text size.
  s = AddStatic("Wide text");
  AddFont(s);
  s->SetAutoSize(true);
  ASSERT_TRUE(Open("DLG")) << LastError();
  const auto frame = Frame();
  ASSERT_EQ(frame.size(), 1u);
  EXPECT_NEAR(s->Region()[2] * SCREEN_X, frame[0].w, 1.0);
  EXPECT_NEAR(s->Region()[3] * SCREEN_Y, frame[0].h, 1.0);
  const float before = s->Region()[2];
  s->SetCaption("Much wider text than before");
  EXPECT_GT(s->Region()[2], before);
}

// ---- AnimationInfo --------------------------------------------------------------------------------

// A pulse sweeps from `to` back to `from`, then starts a new sweep from `from`;
// a tiny period flips the direction every frame.
TEST(AnimationInfo, PulseSweepsBackAndForth) {
  AnimationInfo a;
  ASSERT_TRUE(
      ReadAnimationInfo(Chain().I(0).I(0).I(0).I(0).I(200).I(100).I(50).I(255).F(1).get(), a));
  dwY3DCurrentFrameTick = 1000;
  RestartAnimation(a);
  dwY3DCurrentFrameTick = 1500;   // half way back
  PulseAnimation(a);
  EXPECT_EQ(PackedColor(a), 0x7F643219u);
  dwY3DCurrentFrameTick = 2250;   // t = 1.25: a new sweep, a quarter of the way from `from`
  PulseAnimation(a);
  EXPECT_TRUE(a.direction);
  EXPECT_EQ(a.lastSwitch, 2250u);
  EXPECT_EQ(PackedColor(a), 0x3F32190Cu);
  dwY3DCurrentFrameTick = 0;
  a.period = 0.0f;
  const bool start = a.direction;
  PulseAnimation(a);
  EXPECT_NE(a.direction, start);
  PulseAnimation(a);
  EXPECT_EQ(a.direction, start);
}

}  // namespace
