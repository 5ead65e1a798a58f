// Input queue: ring-buffer rules and dispatch by GUI_Update.
#include "tests/unit/runtime_fixture.h"

using Log = std::vector<std::string>;

class InputQueueTest : public RuntimeTest {
 protected:
  void SetUp() override {
    RuntimeTest::SetUp();
    dialog_ = AddDialog("DLG");
    target_ = AddWindow(dialog_, "W", 0.1f, 0.1f, 0.2f, 0.2f);
    ASSERT_TRUE(GUI_CreateDialog("DLG"));
    TakeLog();
  }
  // Events only: the update pass adds "Update" lines, which these tests drop.
  Log TakeEvents() {
    Log events;
    for (auto& line : TakeLog())
      if (line.find(":Update") == std::string::npos) events.push_back(line);
    return events;
  }
  CGUI_Dialog* dialog_ = nullptr;
  RecordingWindow* target_ = nullptr;
};

// The ring holds at most its capacity less one; on overflow only the newest
// event is kept; it wraps around without losing events.
TEST_F(InputQueueTest, HoldsCapacityLessOneKeepsTheNewestOnOverflowAndWraps) {
  SetFocusWindow(target_);
  TakeLog();
  for (int i = 0; i < 1023; ++i) GUI_KeyDown(100 + i);
  EXPECT_EQ(InputQueue().PendingCount(), 1023);
  GUI_KeyDown(77);
  GUI_Update();
  EXPECT_EQ(TakeEvents(), Log({"W:Key 77"}));
  for (int round = 0; round < 2; ++round) {
    for (int i = 0; i < 700; ++i) GUI_KeyDown(100 + i);   // clear of Tab (9)
    GUI_Update();
    Log events = TakeEvents();
    ASSERT_EQ(events.size(), 700u);
    EXPECT_EQ(events.front(), "W:Key 100");
    EXPECT_EQ(events.back(), "W:Key 799");
  }
  EXPECT_TRUE(InputQueue().IsEmpty());
}

TEST_F(InputQueueTest, FlushDiscardsEventsButUpdateStillRuns) {
  SetFocusWindow(target_);
  TakeLog();
  GUI_KeyDown(65);
  GUI_Char('a');
  GUI_FlushInput();
  GUI_Update();
  EXPECT_EQ(TakeLog(), Log({"W:Update"}));
}

// Keyboard events go to the focus window, or nowhere without one.
TEST_F(InputQueueTest, KeysCharactersAndCompositionGoToTheFocusWindow) {
  GUI_KeyDown(13);
  GUI_Char('x');
  GUI_CompositionChar(1, 2);
  GUI_KeyDown(9);
  GUI_Update();
  EXPECT_TRUE(TakeEvents().empty());
  EXPECT_EQ(Routing().focus, nullptr);

  SetFocusWindow(target_);
  TakeLog();
  GUI_KeyDown(37);
  GUI_Char(static_cast<char>(0xB0));   // high byte: sign-extended in the word
  GUI_Char('z');
  GUI_CompositionChar(static_cast<char>(0xB0), static_cast<char>(0xA1));
  InputQueue().Append(0x00410009);   // words of unknown type (9, 0) are skipped
  InputQueue().Append(0x00000000);
  GUI_Update();
  EXPECT_EQ(TakeEvents(), Log({"W:Key 37", "W:Char -80", "W:Char 122", "W:Comp 176,161"}));
}

// A press focuses the hover window, then presses it; over empty space it
// leaves the focus where it was.
TEST_F(InputQueueTest, ButtonPressFocusesTheHoverWindowThenPressesIt) {
  GUI_MouseMove(0.2f, 0.2f);
  EXPECT_EQ(Routing().hover, target_);
  TakeLog();
  GUI_LButtonDown();
  GUI_LButtonUp();
  GUI_Update();
  EXPECT_EQ(TakeEvents(), Log({"W:SetFocus", "W:Down", "W:Up"}));
  EXPECT_EQ(Routing().focus, target_);

  dialog_->SetHitTest(false);   // the dialog itself is not a hover target
  GUI_MouseMove(0.9f, 0.9f);
  EXPECT_EQ(Routing().hover, nullptr);
  TakeLog();
  GUI_LButtonDown();
  GUI_LButtonUp();
  GUI_Update();
  EXPECT_TRUE(TakeEvents().empty());
  EXPECT_EQ(Routing().focus, target_);
}

