// rotate_buttons_test.cpp: the bitmap and caption rotate buttons: state
// tables, cycling on clicks, sounds, reopening at state 0, states set by code.
// Their parameter errors are rows of the game controls' error table.
#include <gtest/gtest.h>

#include "runtime/rotate_button.h"
#include "runtime/rotate_text_button.h"
#include "tests/unit/game_controls_support.h"

namespace {

using korvohost::TakeSounds;
using Strings = std::vector<std::string>;

// Counts the state changes it is told about.
template <class Base>
class Counting : public Base {
 public:
  bool OnStateChanged() override {
    ++changes;
    return true;
  }
  int changes = 0;
};

class RotateButtonTest : public GameControlsTest {
 protected:
  // A counting button of the dialog "DLG" over (0.1, 0.1, 0.2, 0.1) with `lists`.
  template <class T>
  Counting<T>* Add(const char* id, const std::string& lists) {
    auto* b = new Counting<T>;
    b->SetId(id);
    SetRegion(b, 0.1f, 0.1f, 0.2f, 0.1f);
    AddDialog("DLG")->AddChild(b);
    AddLists(b, lists);
    return b;
  }
};

// ---- Bitmap states --------------------------------------------------------------------------

TEST_F(RotateButtonTest, DefaultTransitionsCycleAndReopeningStartsAtStateZero) {
  auto* b = Add<CGUI_RotateButton>("IDC_R", "'s0.tga' / 's1.tga' / 's2.tga'");
  ASSERT_TRUE(Open("DLG")) << LastError();
  EXPECT_EQ(b->GetState(), 0);
  EXPECT_EQ(Textures(Frame()), Strings{"menu/s0.tga"});
  TakeSounds();
  std::vector<int> states;
  for (int i = 0; i < 4; ++i) {
    Click(0.15f, 0.15f);
    states.push_back(b->GetState());
  }
  EXPECT_EQ(states, (std::vector<int>{1, 2, 0, 1}));
  EXPECT_EQ(TakeSounds(), (std::vector<int>{40040, 40040, 40040, 40040}));
  EXPECT_EQ(Textures(Frame()), Strings{"menu/s1.tga"});
  EXPECT_EQ(b->changes, 5);   // creation and four clicks
  GUI_DestroyDialog("DLG");
  ASSERT_TRUE(Open("DLG")) << LastError();
  EXPECT_EQ(b->GetState(), 0);
  EXPECT_EQ(Textures(Frame()), Strings{"menu/s0.tga"});
}

TEST_F(RotateButtonTest, ExplicitTransitionsAndColours) {
  auto* b = Add<CGUI_RotateButton>("IDC_R", "'a.tga' 255 0 0 255 2 / 'b.tga' / 'c.tga' 0 255 0 128 0");
  ASSERT_TRUE(Open("DLG")) << LastError();
  EXPECT_EQ(Frame()[0].argb, 0xFFFF0000u);
  Click(0.15f, 0.15f);
  EXPECT_EQ(b->GetState(), 2);
  EXPECT_EQ(Frame()[0].argb, 0x8000FF00u);
  Click(0.15f, 0.15f);
  EXPECT_EQ(b->GetState(), 0);
}

// SetState shows a state's frame without a state change or sound; a hidden
// button shows none, and shown again only its current state.
TEST_F(RotateButtonTest, SetStateShowsAFrameWithoutAStateChange) {
  auto* b = Add<CGUI_RotateButton>("IDC_R",
                                   "'a.tga' 255 255 255 255 2 / 'b.tga' / 'c.tga' 0 0 255 255 1");
  ASSERT_TRUE(Open("DLG")) << LastError();
  TakeSounds();
  b->SetState(1);
  EXPECT_EQ(b->GetState(), 1);
  EXPECT_EQ(Textures(Frame()), Strings{"menu/b.tga"});
  b->SetState(-1);   // the table's next state of 1 (the default, 2)
  EXPECT_EQ(b->GetState(), 2);
  b->SetState(-1);   // c.tga names 1 as its next state
  EXPECT_EQ(b->GetState(), 1);
  EXPECT_EQ(b->changes, 1);   // creation only
  EXPECT_TRUE(TakeSounds().empty());
  EXPECT_EQ(b->StateBitmap(2)->Color(), 0xFF0000FFu);
  EXPECT_EQ(b->StateBitmap(3), nullptr);
  b->Show(false, true);
  b->SetState(0);
  EXPECT_TRUE(Frame().empty());
  b->Show(true, true);
  EXPECT_EQ(Textures(Frame()), Strings{"menu/a.tga"});
}

// ---- Caption states -------------------------------------------------------------------------------

TEST_F(RotateButtonTest, TextStatesCycleCaptionsAndColours) {
  // "Normal" is white, opaque, then the next state; -1 leads back to the first.
  auto* b = Add<CGUI_RotateTextButton>("IDC_T",
                                       "font / 'Easy' 0 255 0 255 / 'Normal' / 'Hard' 255 0 0 200 -1");
  ASSERT_TRUE(Open("DLG")) << LastError();
  EXPECT_EQ(b->StateCount(), 3);
  EXPECT_EQ(b->StateColor(1), 0xFFFFFFFFu);
  auto shown = [this]() {
    const auto frame = Frame();
    return frame.empty() ? std::make_pair(std::string(), 0u)
                         : std::make_pair(frame[0].text, frame[0].argb);
  };
  EXPECT_EQ(shown(), std::make_pair(std::string("Easy"), 0xFF00FF00u));
  TakeSounds();
  Click(0.2f, 0.15f);
  EXPECT_EQ(shown(), std::make_pair(std::string("Normal"), 0xFFFFFFFFu));
  Click(0.2f, 0.15f);
  EXPECT_EQ(shown(), std::make_pair(std::string("Hard"), 0xC8FF0000u));
  Click(0.2f, 0.15f);
  EXPECT_EQ(b->GetState(), 0);
  EXPECT_EQ(TakeSounds(), (std::vector<int>{40010, 40010, 40010}));
}

TEST_F(RotateButtonTest, AutoSizedTextButtonTakesItsCaptionsSize) {
  auto* b = Add<CGUI_RotateTextButton>("IDC_T", "font / 'A' / 'Longer'");
  b->SetAutoSize(true);
  ASSERT_TRUE(Open("DLG")) << LastError();
  const float narrow = b->Region()[2];
  EXPECT_FLOAT_EQ(narrow, b->CaptionStatic()->Region()[2]);
  Click(0.1f + narrow * 0.5f, 0.1f + b->Region()[3] * 0.5f);
  ASSERT_EQ(b->GetState(), 1);
  EXPECT_GT(b->Region()[2], narrow);
}

TEST_F(RotateButtonTest, CodeSelectsAndReplacesTextStatesWithoutAChange) {
  auto* b = Add<CGUI_RotateTextButton>("IDC_T", "font / 'Off' 255 0 0 255 / 'On' 0 255 0 255 0");
  // Before the first creation there are no states to replace.
  EXPECT_FALSE(b->ReplaceStates({"A", "B"}));
  ASSERT_TRUE(Open("DLG")) << LastError();
  const int created = b->changes;

  // A chosen state shows its caption; states outside the table change nothing.
  EXPECT_TRUE(b->SelectState(1));
  EXPECT_EQ(b->Caption(), "On");
  EXPECT_FALSE(b->SelectState(2));
  EXPECT_FALSE(b->SelectState(-1));
  EXPECT_EQ(b->GetState(), 1);
  EXPECT_EQ(b->changes, created);

  // New captions take the first state's colour and cycle in order.
  EXPECT_FALSE(b->ReplaceStates({}));
  EXPECT_EQ(b->StateCount(), 2);
  ASSERT_TRUE(b->ReplaceStates({"640 X 480", "800 X 600", "1024 X 768"}));
  EXPECT_EQ(b->StateCount(), 3);
  EXPECT_EQ(b->GetState(), 0);
  EXPECT_EQ(b->Caption(), "640 X 480");
  EXPECT_EQ(b->StateColor(2), 0xFFFF0000u);
  EXPECT_EQ(b->changes, created);
  std::vector<std::string> captions;
  for (int i = 0; i < 3; ++i) {
    Click(0.2f, 0.15f);
    captions.push_back(b->Caption());
  }
  EXPECT_EQ(captions, (Strings{"800 X 600", "1024 X 768", "640 X 480"}));
  EXPECT_EQ(b->changes, created + 3);
}

}  // namespace
