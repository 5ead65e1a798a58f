// Draw and update passes: order, layers, exclusive dialogs, failure rules.
#include <functional>

#include "tests/unit/runtime_fixture.h"

using Log = std::vector<std::string>;

namespace {
Log Only(const Log& log, const std::string& what) {
  Log out;
  for (const auto& line : log)
    if (line.size() > what.size() && line.compare(line.size() - what.size(), what.size(), what) == 0)
      out.push_back(line.substr(0, line.size() - what.size() - 1));
  return out;
}
}  // namespace

class FramePassTest : public RuntimeTest {
 protected:
  void SetUp() override {
    RuntimeTest::SetUp();
    a_ = AddDialog("A");
    a1_ = AddWindow(a_, "A1", 0, 0, 0.1f, 0.1f);
    a2_ = AddWindow(a_, "A2", 0, 0, 0.1f, 0.1f);
    a1x_ = AddWindow(a1_, "A1X", 0, 0, 0.1f, 0.1f);
    b_ = AddDialog("B");
    b1_ = AddWindow(b_, "B1", 0, 0, 0.1f, 0.1f);
    ASSERT_TRUE(GUI_CreateDialog("A"));
    ASSERT_TRUE(GUI_CreateDialog("B"));
    TakeLog();
  }
  CGUI_Dialog *a_, *b_;
  RecordingWindow *a1_, *a2_, *a1x_, *b1_;
};

// Each row changes the fixture's tree afresh and runs one pass: parents draw
// before their children, siblings in order, background before foreground.
TEST_F(FramePassTest, PassesVisitTheTreeInOrderUntilAFailure) {
  struct Case {
    const char* what;
    std::function<void()> change;
    const char* pass;
    Log visited;
  };
  const Case cases[] = {
      {"a foreground window draws last", [&] { a2_->SetForeground(1); }, "Draw", {"A1", "A1X", "B1", "A2"}},
      {"a hidden window's children draw", [&] { a1_->Show(false, false); }, "Draw", {"A1X", "A2", "B1"}},
      {"a failed draw ends the frame, layer 1 too", [&] {
         a1x_->failDraw = true;
         b1_->SetForeground(1);
       }, "Draw", {"A1", "A1X"}},
      {"an exclusive dialog draws alone", [&] { b_->SetExclusive(true); }, "Draw", {"B1"}},
      {"two exclusive dialogs both draw", [&] {
         b_->SetExclusive(true);
         a_->SetExclusive(true);
       }, "Draw", {"A1", "A1X", "A2", "B1"}},
      {"update visits the whole tree", [] {}, "Update", {"A1", "A1X", "A2", "B1"}},
      {"a failed update ends the pass", [&] { a1_->failUpdate = true; }, "Update", {"A1"}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    SetUp();
    k.change();
    k.pass == std::string("Draw") ? GUI_Draw() : GUI_Update();
    EXPECT_EQ(Only(TakeLog(), k.pass), k.visited);
  }
}

// A layer pass skips subtrees with no window of its layer; whatever the tree
// went through, each pass draws the windows of its layer and counts them all.
TEST_F(FramePassTest, LayerPassesFollowEveryChangeOfLayersAndChildren) {
  struct Case {
    const char* what;
    std::function<void()> change;
    Log layer0, layer1;
    int windows;
  };
  RecordingWindow* c = nullptr;
  const Case cases[] = {
      {"a grandchild turns foreground", [&] { a1x_->SetForeground(1); }, {"A1", "A2", "B1"}, {"A1X"}, 7},
      {"its dialog turns foreground", [&] { a_->SetForeground(1); }, {"B1"}, {"A1", "A1X", "A2"}, 7},
      {"the grandchild turns back", [&] { a1x_->SetForeground(0); }, {"A1X", "B1"}, {"A1", "A2"}, 7},
      {"a background window joins a foreground one",
       [&] { c = AddWindow(a2_, "C", 0, 0, 0.1f, 0.1f); }, {"A1X", "C", "B1"}, {"A1", "A2"}, 8},
      {"the dialog turns background", [&] { a_->SetForeground(0); }, {"A1", "A1X", "A2", "C", "B1"}, {}, 8},
      {"a foreground window leaves", [&] {
         c->SetForeground(1);
         a2_->RemoveChild(c);
       }, {"A1", "A1X", "A2", "B1"}, {}, 7},
      {"and joins another dialog", [&] { b1_->AddChild(c); }, {"A1", "A1X", "A2", "B1"}, {"C"}, 8},
  };
  for (const Case& k : cases) {
    k.change();
    TakeLog();
    EXPECT_EQ(DrawTree(GetRootWindow(), 0), k.windows) << k.what;
    EXPECT_EQ(Only(TakeLog(), "Draw"), k.layer0) << k.what;
    EXPECT_EQ(DrawTree(GetRootWindow(), 1), k.windows) << k.what;
    EXPECT_EQ(Only(TakeLog(), "Draw"), k.layer1) << k.what;
  }
}

// Windows whose class keeps the base OnUpdate are stepped over, alone or as
// a whole subtree; the others are updated in the same order, whatever joins
// or leaves.
TEST_F(FramePassTest, WindowsKeepingTheBaseUpdateAreSteppedOver) {
  static_assert(kKeepsBaseUpdate<CGUI_Window> && kKeepsBaseUpdate<CGUI_Dialog>);
  static_assert(!kKeepsBaseUpdate<RecordingWindow>);
  NoteUpdateOf(a_);
  NoteUpdateOf(b_);
  ASSERT_TRUE(b_->RemoveChild(b1_));
  EXPECT_FALSE(b_->SubtreeUpdates());
  CGUI_Window* quiet = NoteUpdateOf(new CGUI_Window("CONTROL"));
  ASSERT_TRUE(a2_->AddChild(quiet));
  ASSERT_TRUE(quiet->AddChild(b1_));   // an updating window below a quiet one
  GUI_Update();
  EXPECT_EQ(Only(TakeLog(), "Update"), Log({"A1", "A1X", "A2", "B1"}));
  ASSERT_TRUE(quiet->RemoveChild(b1_));
  EXPECT_FALSE(quiet->SubtreeUpdates());
  ASSERT_TRUE(b_->AddChild(b1_));
  GUI_Update();
  EXPECT_EQ(Only(TakeLog(), "Update"), Log({"A1", "A1X", "A2", "B1"}));
}

TEST_F(FramePassTest, AFailedCreateLeavesTheDialogNotCreated) {
  ASSERT_TRUE(GUI_DestroyDialog("A"));
  a2_->failCreate = true;
  EXPECT_FALSE(GUI_CreateDialog("A"));
  EXPECT_FALSE(a_->IsCreated());
  EXPECT_TRUE(a1_->IsCreated());    // created before the failure
  EXPECT_FALSE(a2_->IsCreated());
}
