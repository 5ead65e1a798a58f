// rotate_buttons_test.cpp: the bitmap and caption rotate buttons: state
// tables and their errors, cycling on clicks, sounds, reopening at state 0.
#include <gtest/gtest.h>

#include "runtime/rotate_button.h"
#include "runtime/rotate_text_button.h"
#include "tests/unit/game_controls_support.h"

namespace {

using korvohost::TakeSounds;
using Strings = std::vector<std::string>;

// Counts the state changes it is told about.
class CountingRotateButton : public CGUI_RotateButton {
 public:
  bool OnStateChanged() override {
    ++changes;
    return true;
  }
  int changes = 0;
};

class CountingRotateTextButton : public CGUI_RotateTextButton {
 public:
  bool OnStateChanged() override {
    ++changes;
    return true;
  }
  int changes = 0;
};

class RotateButtonTest : public GameControlsTest {
 protected:
  CGUI_RotateButton* AddRotate(int states) {
    CGUI_Dialog* d = AddDialog("DLG");
    auto* b = Make<CGUI_RotateButton>(d, "ROTATEBUTTON", "IDC_R", 0.1f, 0.1f, 0.2f, 0.1f);
    for (int i = 0; i < states; ++i) AddBitmap(b, ("s" + std::to_string(i) + ".tga").c_str());
    return b;
  }
  CGUI_RotateTextButton* AddRotateText() {
    CGUI_Dialog* d = AddDialog("DLG");
    auto* b =
        Make<CGUI_RotateTextButton>(d, "ROTATETEXTBUTTON", "IDC_T", 0.1f, 0.1f, 0.2f, 0.1f);
    AddFont(b);
    return b;
  }
};

// ---- Bitmap states --------------------------------------------------------------------------

TEST_F(RotateButtonTest, DefaultTransitionsCycleThroughTheStates) {
  CGUI_RotateButton* b = AddRotate(3);
  ASSERT_TRUE(Open("DLG")) << LastError();
  EXPECT_EQ(b->GetState(), 0);
  EXPECT_EQ(Textures(Frame()), Strings{"menu/s0.tga"});
  TakeSounds();
  std::vector<int> states;
  for (int i = 0; i < 3; ++i) {
    Click(0.15f, 0.15f);
    states.push_back(b->GetState());
  }
  EXPECT_EQ(states, (std::vector<int>{1, 2, 0}));
  EXPECT_EQ(TakeSounds(), (std::vector<int>{40040, 40040, 40040}));
  Click(0.15f, 0.15f);
  EXPECT_EQ(Textures(Frame()), Strings{"menu/s1.tga"});
}

TEST_F(RotateButtonTest, ExplicitTransitionsAndColours) {
  CGUI_Dialog* d = AddDialog("DLG");
  auto* b = Make<CGUI_RotateButton>(d, "ROTATEBUTTON", "IDC_R", 0.1f, 0.1f, 0.2f, 0.1f);
  b->AddParamList(Chain().S("a.tga").I(255).I(0).I(0).I(255).I(2).get());
  b->AddParamList(Chain().S("b.tga").get());
  b->AddParamList(Chain().S("c.tga").I(0).I(255).I(0).I(128).I(0).get());
  ASSERT_TRUE(Open("DLG")) << LastError();
  EXPECT_EQ(Frame()[0].argb, 0xFFFF0000u);
  Click(0.15f, 0.15f);
  EXPECT_EQ(b->GetState(), 2);
  EXPECT_EQ(Frame()[0].argb, 0x8000FF00u);
  Click(0.15f, 0.15f);
  EXPECT_EQ(b->GetState(), 0);
}

TEST_F(RotateButtonTest, ParameterErrorsNameTheList) {
  AddRotate(0);
  EXPECT_FALSE(Open("DLG"));
  EXPECT_EQ(LastError(), "error at ROTATEBUTTON 'IDC_R' : invalid num of param lists");

  CGUI_RotateButton* b = AddRotate(1);
  b->AddParamList(Chain().I(3).get());
  EXPECT_FALSE(Open("DLG"));
  EXPECT_EQ(LastError(), "error at ROTATEBUTTON 'IDC_R' : invalid param at paramlist2");

  b = AddRotate(1);
  b->AddParamList(Chain().S("b.tga").I(255).I(255).I(255).I(255).I(5).get());
  AddBitmap(b, "c.tga");
  EXPECT_FALSE(Open("DLG"));
  EXPECT_EQ(LastError(), "error at ROTATEBUTTON 'IDC_R' : invalid trans id at paramlist2");
}

TEST_F(RotateButtonTest, ReopeningStartsAtStateZero) {
  CGUI_Dialog* d = AddDialog("DLG");
  auto* b = new CountingRotateButton;
  b->SetId("IDC_R");
  SetRegion(b, 0.1f, 0.1f, 0.2f, 0.1f);
  d->AddChild(b);
  for (const char* name : {"a.tga", "b.tga", "c.tga"}) AddBitmap(b, name);
  ASSERT_TRUE(Open("DLG")) << LastError();
  Click(0.15f, 0.15f);
  Click(0.15f, 0.15f);
  EXPECT_EQ(b->GetState(), 2);
  EXPECT_EQ(b->changes, 3);   // creation and two clicks
  GUI_DestroyDialog("DLG");
  ASSERT_TRUE(Open("DLG")) << LastError();
  EXPECT_EQ(b->GetState(), 0);
  EXPECT_EQ(Textures(Frame()), Strings{"menu/a.tga"});
}

TEST_F(RotateButtonTest, HiddenButtonShowsNoStateUntilShown) {
  CGUI_RotateButton* b = AddRotate(2);
  ASSERT_TRUE(Open("DLG")) << LastError();
  b->Show(false, true);
  EXPECT_TRUE(Frame().empty());
  b->Show(true, true);
  EXPECT_EQ(Textures(Frame()), Strings{"menu/s0.tga"});   // the other state stays hidden
}

TEST_F(RotateButtonTest, SetStateShowsAFrameWithoutAStateChange) {
  CGUI_Dialog* d = AddDialog("DLG");
  auto* b = new CountingRotateButton;
  b->SetId("IDC_R");
  SetRegion(b, 0.1f, 0.1f, 0.2f, 0.1f);
  d->AddChild(b);
  b->AddParamList(Chain().S("a.tga").I(255).I(255).I(255).I(255).I(2).get());
  b->AddParamList(Chain().S("b.tga").get());
  b->AddParamList(Chain().S("c.tga").I(0).I(0).I(255).I(255).I(1).get());
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
  EXPECT_TRUE(Frame().empty());   // a hidden button shows no frame
  b->Show(true, true);
  EXPECT_EQ(Textures(Frame()), Strings{"menu/a.tga"});
}

// ---- Caption states -------------------------------------------------------------------------------

TEST_F(RotateButtonTest, TextStatesCycleCaptionsAndColours) {
  CGUI_RotateTextButton* b = AddRotateText();
  b->AddParamList(Chain().S("Easy").I(0).I(255).I(0).I(255).get());
  b->AddParamList(Chain().S("Normal").get());   // white, opaque, then the next state
  b->AddParamList(Chain().S("Hard").I(255).I(0).I(0).I(200).I(-1).get());
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
  EXPECT_EQ(b->GetState(), 0);   // -1 leads back to the first state
  EXPECT_EQ(TakeSounds(), (std::vector<int>{40010, 40010, 40010}));
}

TEST_F(RotateButtonTest, TextButtonParameterErrors) {
  AddRotateText();
  EXPECT_FALSE(Open("DLG"));
  EXPECT_EQ(LastError(), "error at ROTATETEXTBUTTON 'IDC_T' : invalid num of param lists");

  CGUI_RotateTextButton* b = AddRotateText();
  b->AddParamList(Chain().S("On").get());
  b->AddParamList(Chain().I(1).get());
  EXPECT_FALSE(Open("DLG"));
  EXPECT_EQ(LastError(), "error at ROTATETEXTBUTTON 'IDC_T' : invalid param at paramlist2");
  EXPECT_STREQ(GetErrorText(), "type mismatch : param 1");

  b = AddRotateText();
  b->AddParamList(Chain().S("On").I(1).I(1).I(1).I(1).I(2).get());
  b->AddParamList(Chain().S("Off").get());
  EXPECT_FALSE(Open("DLG"));
  EXPECT_EQ(LastError(), "error at ROTATETEXTBUTTON 'IDC_T' : invalid trans id at paramlist1");
}

TEST_F(RotateButtonTest, AutoSizedTextButtonTakesItsCaptionsSize) {
  CGUI_RotateTextButton* b = AddRotateText();
  b->AddParamList(Chain().S("A").get());
  b->AddParamList(Chain().S("A much longer caption").get());
  b->SetAutoSize(true);
  ASSERT_TRUE(Open("DLG")) << LastError();
  const float narrow = b->Region()[2];
  EXPECT_FLOAT_EQ(narrow, b->CaptionStatic()->Region()[2]);
  Click(0.1f + narrow * 0.5f, 0.1f + b->Region()[3] * 0.5f);
  ASSERT_EQ(b->GetState(), 1);
  EXPECT_GT(b->Region()[2], narrow);
}

TEST_F(RotateButtonTest, CodeSelectsAndReplacesTextStatesWithoutAChange) {
  CGUI_Dialog* d = AddDialog("DLG");
  auto* b = new CountingRotateTextButton;
  b->SetId("IDC_T");
  SetRegion(b, 0.1f, 0.1f, 0.2f, 0.1f);
  d->AddChild(b);
  AddFont(b);
  b->AddParamList(Chain().S("Off").I(255).I(0).I(0).I(255).get());
  b->AddParamList(Chain().S("On").I(0).I(255).I(0).I(255).I(0).get());
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
