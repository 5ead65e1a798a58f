// rotate_buttons_test.cpp: the bitmap and caption rotate buttons: state
// tables, cycling on clicks, sounds, reopening at state 0, states set by code.
// Their parameter errors are rows of the game controls' error table.
#include <gtest/gtest.h>

#include "runtime/rotate_button.h"
#include "runtime/rotate_text_button.h"
#include "tests/unit/game_controls_support.h"

namespace {

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
  // A counting button of a new dialog "DLG" over (0.1, 0.1, 0.2, 0.1) with `lists`.
  template <class T>
  Counting<T>* Add(const std::string& lists) {
    DestroyAllDialogs();
    auto* b = new Counting<T>;
    b->SetId("IDC_R");
    SetRegion(b, 0.1f, 0.1f, 0.2f, 0.1f);
    AddDialog("DLG")->AddChild(b);
    AddLists(b, lists);
    return b;
  }
  // A step of a walk (see Step) that also gives the state and the changes told.
  template <class T>
  static void Note(std::string& log, const Counting<T>* b, const std::string& label) {
    Step(log, label + ": state " + std::to_string(b->GetState()) + ", changes " +
                  std::to_string(b->changes));
  }
};

// A transition written in a list leads to its state; without one a state leads
// to the next, the last to the first; a state without colour is white. Clicks
// cycle, each with a sound. SetState shows a state's frame without a
// state change or sound (-1: the table's next state); a hidden button shows
// none, and shown again its current one. Reopening starts at state 0.
TEST_F(RotateButtonTest, BitmapStatesCycleOnClicksOrAreSetByCode) {
  auto* b = Add<CGUI_RotateButton>("'a.tga' 255 0 0 255 2 / 'b.tga' / 'c.tga' 0 255 0 128");
  ASSERT_TRUE(Open("DLG")) << LastError();
  std::string log;
  Note(log, b, "a goes to c, b to c, c to a");
  for (int i = 0; i < 2; ++i) {
    Click(0.15f, 0.15f);
    Note(log, b, "click");
  }
  b->SetState(1);
  Note(log, b, "SetState(1)");
  b->SetState(-1);
  Note(log, b, "SetState(-1)");
  EXPECT_EQ(b->StateBitmap(2)->Color(), 0x8000FF00u);
  EXPECT_EQ(b->StateBitmap(3), nullptr);
  b->Show(false, true);
  b->SetState(0);
  Note(log, b, "hidden, SetState(0)");
  b->Show(true, true);
  Note(log, b, "shown");
  Click(0.15f, 0.15f);
  GUI_DestroyDialog("DLG");
  ASSERT_TRUE(Open("DLG")) << LastError();
  Note(log, b, "clicked, reopened");
  EXPECT_MATCHES_EXPECTED("unit/expected/rotate_button.expected", log);
}

// ---- Caption states -------------------------------------------------------------------------------

// A state without colour is white, opaque, and leads to the next state; -1
// leads back to the first. Code selects a state or replaces the captions
// (which take the first state's colour) without a state change; before the
// first creation there are no states to replace.
TEST_F(RotateButtonTest, TextStatesCycleOrAreSelectedAndReplacedByCode) {
  auto* b = Add<CGUI_RotateTextButton>("font / 'Easy' 0 255 0 255 / 'Normal' / 'Hard' 255 0 0 200 -1");
  EXPECT_FALSE(b->ReplaceStates({"A", "B"}));
  ASSERT_TRUE(Open("DLG")) << LastError();
  std::string log;
  Note(log, b, "open");
  for (int i = 0; i < 3; ++i) {
    Click(0.2f, 0.15f);
    Note(log, b, "click");
  }
  EXPECT_TRUE(b->SelectState(1));
  EXPECT_FALSE(b->SelectState(3));
  EXPECT_FALSE(b->SelectState(-1));
  Note(log, b, "SelectState(1), then 3 and -1 refused");
  EXPECT_FALSE(b->ReplaceStates({}));
  EXPECT_EQ(b->StateCount(), 3);
  ASSERT_TRUE(b->ReplaceStates({"640 X 480", "800 X 600", "1024 X 768", "1280 X 1024"}));
  EXPECT_EQ(b->StateCount(), 4);
  Note(log, b, "four resolutions");
  for (int i = 0; i < 4; ++i) {
    Click(0.2f, 0.15f);
    Note(log, b, "click");
  }
  EXPECT_MATCHES_EXPECTED("unit/expected/rotate_text_button.expected", log);
}

TEST_F(RotateButtonTest, AutoSizedTextButtonTakesItsCaptionsSize) {
  auto* b = Add<CGUI_RotateTextButton>("font / 'A' / 'Longer'");
  b->SetAutoSize(true);
  ASSERT_TRUE(Open("DLG")) << LastError();
  const float narrow = b->Region()[2];
  EXPECT_FLOAT_EQ(narrow, b->CaptionStatic()->Region()[2]);
  Click(0.1f + narrow * 0.5f, 0.1f + b->Region()[3] * 0.5f);
  ASSERT_EQ(b->GetState(), 1);
  EXPECT_GT(b->Region()[2], narrow);
}

}  // namespace
