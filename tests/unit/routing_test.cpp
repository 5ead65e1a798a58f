// Routing: hit-test search, hover and focus changes, Tab navigation, tree rules.
#include "tests/unit/runtime_fixture.h"

using Log = std::vector<std::string>;

class RoutingTest : public RuntimeTest {
 protected:
  CGUI_Window* HoverAt(float x, float y) {
    GUI_MouseMove(x, y);
    return Routing().hover;
  }
};

// The hit test includes the right and bottom edges and finds hidden
// windows; a parent without hit test lets its children be found outside it
// but is never the result itself; a hit-testable parent hides children
// outside it.
TEST_F(RoutingTest, HitTestSearch) {
  CGUI_Dialog* d = AddDialog("D", 0, 0, 0.5f, 0.5f);
  d->SetHitTest(false);
  RecordingWindow* w = AddWindow(d, "W", 0.25f, 0.25f, 0.125f, 0.125f);
  RecordingWindow* hidden = AddWindow(d, "H", 0.0f, 0.0f, 0.1f, 0.1f);
  hidden->Show(false, false);
  RecordingWindow* outside = AddWindow(d, "OUT", 0.6f, 0.6f, 0.2f, 0.2f);
  ASSERT_TRUE(GUI_CreateDialog("D"));
  ASSERT_TRUE(hidden->IsHidden());
  const struct {
    float x, y;
    CGUI_Window* hover;
  } points[] = {
      {0.375f, 0.375f, w},  {0.25f, 0.25f, w},      {0.3751f, 0.3f, nullptr}, {0.3f, 0.2499f, nullptr},
      {0.05f, 0.05f, hidden}, {0.7f, 0.7f, outside}, {0.45f, 0.45f, nullptr},
  };
  for (const auto& p : points) EXPECT_EQ(HoverAt(p.x, p.y), p.hover) << p.x << "," << p.y;
  d->SetHitTest(true);
  EXPECT_EQ(HoverAt(0.71f, 0.7f), nullptr);
  EXPECT_EQ(HoverAt(0.45f, 0.45f), d);
}

// The earliest sibling wins; a foreground dialog opened later lies on top for
// the mouse; an exclusive dialog does not change the search.
TEST_F(RoutingTest, EarliestSiblingWinsAndForegroundIsSearchedFirst) {
  CGUI_Dialog* d = AddDialog("D");
  d->SetHitTest(false);
  RecordingWindow* first = AddWindow(d, "FIRST", 0.1f, 0.1f, 0.4f, 0.4f);
  AddWindow(d, "SECOND", 0.2f, 0.2f, 0.4f, 0.4f);
  ASSERT_TRUE(GUI_CreateDialog("D"));
  EXPECT_EQ(HoverAt(0.3f, 0.3f), first);
  CGUI_Dialog* top = AddDialog("TOP");
  top->SetHitTest(false);
  RecordingWindow* over = AddWindow(top, "OVER", 0.25f, 0.25f, 0.1f, 0.1f);
  top->SetForeground(1);
  ASSERT_TRUE(GUI_CreateDialog("TOP"));
  EXPECT_EQ(HoverAt(0.3f, 0.3f), over);
  top->SetForeground(0);
  top->SetExclusive(true);
  EXPECT_EQ(HoverAt(0.3f, 0.31f), first);
}

// A move within the hover window sends no enter; moving to another window
// leaves the first before entering the second.
TEST_F(RoutingTest, EnterAndLeaveFollowTheMouse) {
  CGUI_Dialog* d = AddDialog("D");
  d->SetHitTest(false);
  AddWindow(d, "A", 0.0f, 0.0f, 0.2f, 0.2f);
  AddWindow(d, "B", 0.5f, 0.5f, 0.2f, 0.2f);
  ASSERT_TRUE(GUI_CreateDialog("D"));
  TakeLog();
  for (float at : {0.1f, 0.15f, 0.6f, 0.9f}) GUI_MouseMove(at, at);
  EXPECT_EQ(TakeLog(), Log({"A:Enter", "A:Leave", "B:Enter", "B:Leave"}));
}

// Focus changes send kill, then set; destroying the focus window kills its
// focus, destroying the hover window sends no leave.
TEST_F(RoutingTest, FocusAndHoverChanges) {
  CGUI_Dialog* d = AddDialog("D");
  RecordingWindow* a = AddWindow(d, "A", 0, 0, 0.1f, 0.1f);
  RecordingWindow* b = AddWindow(d, "B", 0.1f, 0.1f, 0.2f, 0.2f);
  ASSERT_TRUE(GUI_CreateDialog("D"));
  TakeLog();
  SetFocusWindow(a);
  SetFocusWindow(a);   // no change, no events
  SetFocusWindow(b);
  SetFocusWindow(nullptr);
  EXPECT_EQ(TakeLog(), Log({"A:SetFocus", "A:KillFocus", "B:SetFocus", "B:KillFocus"}));
  SetFocusWindow(a);
  GUI_MouseMove(0.2f, 0.2f);
  TakeLog();
  ASSERT_TRUE(GUI_DestroyDialog("D"));
  EXPECT_EQ(TakeLog(), Log({"A:KillFocus"}));
  EXPECT_EQ(Routing().focus, nullptr);
  EXPECT_EQ(Routing().hover, nullptr);
  GUI_MouseMove(0.25f, 0.25f);   // nothing is under the mouse now
  EXPECT_EQ(TakeLog(), Log());
}

// Tab moves the focus to the next tab stop of the nearest dialog, from the
// focused window's child of it, and is not delivered as a key.
TEST_F(RoutingTest, TabActsInTheNearestDialogRelativeToItsChildOnly) {
  CGUI_Dialog* d = AddDialog("D");
  RecordingWindow* a = AddWindow(d, "A", 0, 0, 0.1f, 0.1f);
  RecordingWindow* b = AddWindow(d, "B", 0, 0, 0.1f, 0.1f);
  RecordingWindow* inner = AddWindow(a, "INNER", 0, 0, 0.05f, 0.05f);
  d->AddTabStop(a);
  d->AddTabStop(b);
  ASSERT_TRUE(GUI_CreateDialog("D"));
  SetFocusWindow(inner);   // a member of A: Tab goes from A to B
  TakeLog();
  GUI_KeyDown(9);
  GUI_Update();
  EXPECT_EQ(Routing().focus, b);
  for (const std::string& line : TakeLog())   // Tab itself is never delivered
    EXPECT_EQ(line.find(":Key"), std::string::npos) << line;
  GUI_KeyDown(9);          // wraps
  GUI_Update();
  EXPECT_EQ(Routing().focus, a);
  SetFocusWindow(d);       // on the dialog itself: its first tab stop
  GUI_KeyDown(9);
  GUI_Update();
  EXPECT_EQ(Routing().focus, a);
  RecordingWindow loose(&log_, "LOOSE");   // outside any dialog: nothing changes
  SetFocusWindow(&loose);
  GUI_KeyDown(9);
  GUI_Update();
  EXPECT_EQ(Routing().focus, &loose);
  SetFocusWindow(nullptr);
}

// The next tab stop wraps (TabActs... walks them); without tab stops it is the
// argument, before creation or from a window that is none, the first one.
TEST_F(RoutingTest, NextTabStopRules) {
  CGUI_Dialog* d = AddDialog("D");
  EXPECT_EQ(d->NextTabStop(nullptr), nullptr);
  RecordingWindow* a = AddWindow(d, "A", 0, 0, 0.1f, 0.1f);
  RecordingWindow* b = AddWindow(d, "B", 0, 0, 0.1f, 0.1f);
  RecordingWindow* c = AddWindow(d, "C", 0, 0, 0.1f, 0.1f);
  EXPECT_TRUE(d->AddTabStop(a));
  EXPECT_FALSE(d->AddTabStop(a));
  EXPECT_TRUE(d->AddTabStop(b));
  EXPECT_EQ(d->NextTabStop(a), a);   // not created
  ASSERT_TRUE(GUI_CreateDialog("D"));
  EXPECT_EQ(d->NextTabStop(c), a);
  EXPECT_TRUE(d->RemoveTabStop(a));
  EXPECT_FALSE(d->RemoveTabStop(a));
  EXPECT_EQ(d->NextTabStop(b), b);
}

TEST_F(RoutingTest, MoveRebasesDirectChildrenOnly) {
  CGUI_Dialog* d = AddDialog("D", 0.1f, 0.1f, 0.5f, 0.5f);
  RecordingWindow* child = AddWindow(d, "C", 0.1f, 0.1f, 0.2f, 0.2f);
  RecordingWindow* grandchild = AddWindow(child, "G", 0.05f, 0.05f, 0.1f, 0.1f);
  float o[2];
  grandchild->GetOrigin(o);
  EXPECT_FLOAT_EQ(o[0], 0.2f);
  const float delta[2] = {0.2f, 0.3f};
  d->Move(delta);
  child->GetOrigin(o);
  EXPECT_FLOAT_EQ(o[0], 0.3f);
  EXPECT_FLOAT_EQ(o[1], 0.4f);
  grandchild->GetOrigin(o);
  EXPECT_FLOAT_EQ(o[0], 0.2f);   // untouched until the child's SetRegion runs
  SetRegion(child, 0.1f, 0.1f, 0.2f, 0.2f);
  grandchild->GetOrigin(o);
  EXPECT_FLOAT_EQ(o[0], 0.4f);
  EXPECT_FLOAT_EQ(o[1], 0.5f);
}

TEST_F(RoutingTest, TreeOperationsKeepOneEntryPerChild) {
  CGUI_Dialog* d = AddDialog("D");
  RecordingWindow* c = AddWindow(d, "C", 0, 0, 0.1f, 0.1f);
  AddWindow(c, "G", 0, 0, 0.1f, 0.1f);
  EXPECT_FALSE(d->AddChild(c));
  EXPECT_EQ(d->ChildCount(), 1);
  EXPECT_EQ(d->FindChild("C"), c);
  EXPECT_EQ(d->FindChild("G"), nullptr);   // not recursive
  EXPECT_EQ(d->FindChild("c"), nullptr);   // case-sensitive
  RecordingWindow stranger(nullptr, "S");
  EXPECT_FALSE(d->RemoveChild(&stranger));
  // Re-parenting moves the child between lists.
  CGUI_Dialog* e = AddDialog("E");
  c->SetParent(e);
  EXPECT_EQ(d->ChildCount(), 0);
  EXPECT_EQ(e->FindChild("C"), c);
  EXPECT_EQ(c->GetParent(), e);
}
