// list_slider_test.cpp: list rows, selection, scrolling, mouse and keys; the
// slider's range, thumb offset and value on release.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "runtime/list.h"
#include "runtime/slider.h"
#include "runtime_support.h"

namespace {

// A list that records selection changes and drawn rows.
class ProbeList : public CGUI_List {
 public:
  bool OnSelChange() override {
    ++selChanges;
    return true;
  }
  bool DrawItem(int index, float rect[4], bool selected, bool hovered) override {
    drawn.push_back({index, rect[1], selected, hovered});
    return index != failAt;
  }
  struct Row {
    int index;
    float y;
    bool selected;
    bool hovered;
  };
  int selChanges = 0;
  int failAt = -2;
  std::vector<Row> drawn;
};

// A list 0.4 high with `rows` rows and `visible` visible rows.
void Fill(CGUI_List& list, int rows, int visible) {
  SetRegion(&list, 0.1f, 0.1f, 0.3f, 0.4f);
  list.SetVisibleRows(visible);
  for (int i = 0; i < rows; ++i) list.AddString("row " + std::to_string(i));
}

}  // namespace

// ---- Rows ------------------------------------------------------------------------------

TEST(ListRows, AddAppendsOrInsertsBeforeSelectionAndResetClears) {
  CGUI_List list;
  std::string s = "keep";
  EXPECT_FALSE(list.GetText(-1, s));   // no rows: not even the last one
  EXPECT_FALSE(list.GetText(0, s));
  Fill(list, 4, 4);
  EXPECT_FALSE(list.GetText(4, s));
  EXPECT_FALSE(list.GetText(-2, s));
  EXPECT_EQ(s, "keep");
  EXPECT_EQ(list.AddString("end"), 4);
  EXPECT_TRUE(list.GetText(-1, s));
  EXPECT_EQ(s, "end");
  list.SetCurSel(2);
  list.SetItemData(2, 77);
  EXPECT_EQ(list.AddString("new"), 2);
  EXPECT_EQ(list.GetCurSel(), 2);   // the number stays, the row moved down
  list.GetText(2, s);
  EXPECT_EQ(s, "new");
  list.GetText(3, s);
  EXPECT_EQ(s, "row 2");
  uint32_t data = 1;
  EXPECT_TRUE(list.GetItemData(2, data));
  EXPECT_EQ(data, 0u);
  EXPECT_TRUE(list.GetItemData(3, data));
  EXPECT_EQ(data, 77u);
  EXPECT_EQ(list.GetCount(), 6);

  list.SetTopIndex(2);
  list.SetHover(1);
  EXPECT_TRUE(list.ResetContent());
  EXPECT_EQ(list.GetCount(), 0);
  EXPECT_EQ(list.GetCurSel(), -1);
  EXPECT_EQ(list.GetHover(), -1);
  EXPECT_EQ(list.GetTopIndex(), 0);
}

TEST(ListRows, DeleteMovesTheSelection) {
  ProbeList list;
  Fill(list, 6, 4);
  list.SetCurSel(3);
  EXPECT_TRUE(list.DeleteString(3));
  EXPECT_EQ(list.GetCurSel(), 2);
  std::string s;
  list.GetText(3, s);
  EXPECT_EQ(s, "row 4");
  EXPECT_TRUE(list.DeleteString(4));   // below the selection: it stays
  EXPECT_EQ(list.GetCurSel(), 2);
  EXPECT_FALSE(list.DeleteString(4));
  EXPECT_FALSE(list.DeleteString(-1));
  EXPECT_EQ(list.GetCount(), 4);
  list.SetCurSel(0);
  EXPECT_TRUE(list.DeleteString(0));
  EXPECT_EQ(list.GetCurSel(), -1);
}

// ---- Geometry and scrolling ---------------------------------------------------------------

TEST(ListScroll, RowHeightVisibleRowsAndTheClampedTop) {
  CGUI_List list;
  SetRegion(&list, 0, 0, 0.3f, 0.4f);
  list.SetRowHeight(0.1f);
  EXPECT_EQ(list.GetVisibleRows(), 4);
  list.SetRowHeight(0.15f);   // partial rows are not shown
  EXPECT_EQ(list.GetVisibleRows(), 2);
  list.SetVisibleRows(8);
  EXPECT_FLOAT_EQ(list.GetRowHeight(), 0.05f);

  Fill(list, 10, 4);
  for (const auto& [top, want] : {std::pair{8, 6}, std::pair{-3, 0}, std::pair{5, 5}}) {
    EXPECT_TRUE(list.SetTopIndex(top));
    EXPECT_EQ(list.GetTopIndex(), want) << top;
  }
  CGUI_List shortList;
  Fill(shortList, 2, 4);
  shortList.SetTopIndex(1);
  EXPECT_EQ(shortList.GetTopIndex(), 0);
}

TEST(ListScroll, SelectionIsKeptVisible) {
  ProbeList list;
  Fill(list, 10, 4);
  EXPECT_TRUE(list.SetCurSel(-1));
  EXPECT_EQ(list.GetTopIndex(), 6);
  EXPECT_EQ(list.selChanges, 0);   // it was -1 already

  list.SetTopIndex(0);
  EXPECT_TRUE(list.SetCurSel(5));
  EXPECT_EQ(list.GetTopIndex(), 5);
  EXPECT_EQ(list.selChanges, 1);
  list.SetTopIndex(6);
  EXPECT_TRUE(list.SetCurSel(2));
  EXPECT_EQ(list.GetTopIndex(), 0);
  list.SetTopIndex(1);
  list.SetCurSel(3);   // visible already: no scrolling
  EXPECT_EQ(list.GetTopIndex(), 1);
  EXPECT_EQ(list.selChanges, 3);
  list.SetCurSel(3);
  EXPECT_EQ(list.selChanges, 3);

  EXPECT_FALSE(list.SetCurSel(10));
  EXPECT_FALSE(list.SetCurSel(-2));
  EXPECT_EQ(list.GetCurSel(), 3);
}

// ---- Keys ------------------------------------------------------------------------------------

// A list of `rows` rows, `visible` of them shown, with the selection and top
// row set, then the keys (PgUp 33, PgDn 34, Up 38, Down 40) pressed in turn.
struct ListKeyCase {
  int rows, visible, sel, top;
  std::vector<int> keys;
  int wantSel, wantTop;
};

TEST(ListKeys, SelectionAndTopAfterKeys) {
  const ListKeyCase cases[] = {
      {10, 4, -1, 0, {40}, -1, 0},                // no selection: Down does nothing
      {10, 4, 9, 6, {40}, 9, 6},                  // Down stops at the last row
      {10, 4, 9, 6, {38}, 8, 6},
      {10, 4, 1, 0, {38}, 0, 0},                  // Up reaches the first row ...
      {10, 4, 0, 0, {38}, 0, 0},                  // ... and stops there
      {10, 4, -1, 0, {34}, 4, 4},                 // PgDn: a page down, the top row selected
      {10, 4, -1, 0, {34, 34}, 8, 6},             // the top stops at the last page
      {10, 4, -1, 0, {34, 34, 34}, 9, 6},         // past the end: the last row
      {10, 4, -1, 0, {34, 34, 34, 33}, 2, 2},     // PgUp: a page up
      {10, 4, -1, 0, {34, 34, 34, 33, 33}, 0, 0},
  };
  for (const ListKeyCase& c : cases) {
    CGUI_List list;
    Fill(list, c.rows, c.visible);
    if (c.sel >= 0) list.SetCurSel(c.sel);
    list.SetTopIndex(c.top);
    for (int key : c.keys) list.OnKeyDown(key);
    EXPECT_EQ(list.GetCurSel(), c.wantSel) << "from " << c.sel << " after " << c.keys.size() << " keys";
    EXPECT_EQ(list.GetTopIndex(), c.wantTop) << "from " << c.sel << " after " << c.keys.size() << " keys";
  }
}

// As many visible rows as an int holds: scrolling, paging and selecting stay
// in range, and the rows shown are the rows that exist.
TEST(ListKeys, TheLargestVisibleRowCountScrollsAndPages) {
  CGUI_List list;
  Fill(list, 10, INT_MAX);
  list.SetTopIndex(5);
  EXPECT_EQ(list.GetTopIndex(), 0);   // every row fits
  list.SetTopIndex(INT_MAX);
  EXPECT_EQ(list.GetTopIndex(), 0);
  list.OnKeyDown(34);
  EXPECT_EQ(list.GetTopIndex(), 0);
  EXPECT_EQ(list.GetCurSel(), 9);
  list.OnKeyDown(33);
  EXPECT_EQ(list.GetTopIndex(), 0);
  EXPECT_EQ(list.GetCurSel(), 0);
  EXPECT_TRUE(list.SetCurSel(7));
  EXPECT_EQ(list.GetTopIndex(), 0);

  CGUI_List inverted;   // a negative count pages the other way
  Fill(inverted, 10, INT_MIN);
  inverted.OnKeyDown(33);
  EXPECT_EQ(inverted.GetTopIndex(), INT_MAX);
  EXPECT_TRUE(inverted.SetCurSel(3));
  EXPECT_EQ(inverted.GetTopIndex(), INT_MAX);
}

// ---- Mouse ------------------------------------------------------------------------------------

TEST(ListMouse, HoverRowAndClickSelect) {
  ScopedDialog dialog;
  auto* list = new ProbeList;
  dialog->AddChild(list);
  Fill(*list, 10, 4);   // rows 0.1 high from y 0.1
  list->SetTopIndex(3);
  ASSERT_TRUE(dialog->Create());
  GUI_MouseMove(0.2f, 0.35f);
  EXPECT_EQ(list->GetHover(), 2);
  GUI_LButtonDown();
  GUI_Update();
  EXPECT_EQ(list->GetCurSel(), 5);
  EXPECT_EQ(list->selChanges, 1);
  GUI_MouseMove(0.45f, 0.35f);   // out of the list
  EXPECT_EQ(list->GetHover(), -1);

  // A click on a row that does not exist selects nothing.
  CGUI_List two;
  Fill(two, 2, 4);
  const float pt[2] = {0.2f, 0.45f};
  two.OnMouseMove(pt);
  EXPECT_EQ(two.GetHover(), 3);
  two.OnLButtonDown();
  EXPECT_EQ(two.GetCurSel(), -1);

  // Without a row height nothing is hovered; the mouse is kept all the same.
  CGUI_List flat;
  SetRegion(&flat, 0, 0, 0.3f, 0.4f);
  const float at[2] = {0.1f, 0.1f};
  flat.OnMouseMove(at);
  EXPECT_EQ(flat.GetHover(), -1);
  float mouse[2];
  flat.GetMousePos(mouse);
  EXPECT_FLOAT_EQ(mouse[1], 0.1f);
}

// ---- Drawing ------------------------------------------------------------------------------------

TEST(ListDraw, VisibleRowsFromTheTop) {
  ProbeList list;
  Fill(list, 10, 4);
  const float origin[2] = {0.5f, 0.5f};
  list.SetOrigin(origin);   // not part of the row rectangles
  list.SetTopIndex(3);
  list.SetCurSel(4);
  list.SetHover(2);
  EXPECT_TRUE(list.OnDraw());
  ASSERT_EQ(list.drawn.size(), 4u);   // rows 3 to 6
  EXPECT_EQ(list.drawn[0].index, 3);
  EXPECT_EQ(list.drawn[3].index, 6);
  EXPECT_FLOAT_EQ(list.drawn[0].y, 0.1f);
  EXPECT_FLOAT_EQ(list.drawn[1].y, 0.2f);
  EXPECT_TRUE(list.drawn[1].selected);
  EXPECT_TRUE(list.drawn[2].hovered);
  EXPECT_FALSE(list.drawn[0].selected || list.drawn[0].hovered);

  list.drawn.clear();
  list.failAt = 4;
  EXPECT_FALSE(list.OnDraw());
  EXPECT_EQ(list.drawn.size(), 2u);
}

// A list class that places its top row itself, past the rows the base class
// would allow.
class PlacedList : public ProbeList {
 public:
  void PlaceTop(int top) { topIndex_ = top; }
};

// Fewer rows than visible ones: only the rows that exist are drawn.
TEST(ListDraw, OnlyRowsThatExistAreVisitedHoweverManyAreVisible) {
  PlacedList list;
  Fill(list, 3, INT_MAX);
  list.PlaceTop(2);   // the window runs past the end of the int range
  list.SetHover(0);
  EXPECT_TRUE(list.OnDraw());
  ASSERT_EQ(list.drawn.size(), 1u);
  EXPECT_EQ(list.drawn[0].index, 2);
  EXPECT_TRUE(list.drawn[0].hovered);
  EXPECT_FLOAT_EQ(list.drawn[0].y, 0.1f);

  list.drawn.clear();
  list.PlaceTop(0);
  list.SetHover(1);
  EXPECT_TRUE(list.OnDraw());
  ASSERT_EQ(list.drawn.size(), 3u);
  EXPECT_TRUE(list.drawn[1].hovered);
  EXPECT_FLOAT_EQ(list.drawn[2].y, 0.1f + 2 * list.GetRowHeight());
}

// ---- Slider ---------------------------------------------------------------------------------------

TEST(Slider, ValueIsClampedPlacesTheThumbAndStartsAtTheMinimum) {
  CGUI_Slider s;
  SetRegion(&s, 0, 0, 0.5f, 0.1f);
  s.SetHorizontal(true);
  s.SetMin(0);
  s.SetMax(10);
  s.SetValue(99);
  EXPECT_EQ(s.GetValue(), 10);
  s.SetValue(-4);
  EXPECT_EQ(s.GetValue(), 0);
  EXPECT_FLOAT_EQ(s.GetThumbPos(), 0.5f * 0.5f / 11);
  s.SetHorizontal(false);   // the offset runs along the height
  s.SetValue(10);
  EXPECT_FLOAT_EQ(s.GetThumbPos(), 0.1f * 10.5f / 11);
  EXPECT_FALSE(s.IsHorizontal());
  s.SetMin(3);
  s.SetMax(7);
  s.SetValue(6);
  ASSERT_TRUE(s.Create());
  EXPECT_EQ(s.GetValue(), 3);
  s.Destroy();
  // Vertical and bottom-aligned: the region spans 0.2 .. 0.6 down the screen.
  CGUI_Slider v;
  SetRegion(&v, 0.2f, 0.6f, 0.05f, 0.4f);
  v.SetAlign(ALIGN_BOTTOM);
  v.SetMin(10);
  v.SetMax(13);
  const float pt[2] = {0.21f, 0.55f};
  v.OnMouseMove(pt);
  v.OnLButtonUp();
  EXPECT_EQ(v.GetValue(), 13);   // 4 * 0.35 / 0.4 + 10 = 13.5
}

// The whole int range is 2^32 cells: the thumb and the value under the mouse
// come out of it without overflow.
TEST(Slider, TheFullIntRange) {
  ScopedDialog dialog;
  auto* s = new CGUI_Slider;
  SetRegion(s, 0.1f, 0.1f, 0.5f, 0.05f);
  s->SetHorizontal(true);
  s->SetMin(INT_MIN);
  s->SetMax(INT_MAX);
  dialog->AddChild(s);
  ASSERT_TRUE(dialog->Create());
  EXPECT_EQ(s->GetValue(), INT_MIN);
  EXPECT_NEAR(s->GetThumbPos(), 0.0f, 1e-6f);
  s->SetValue(INT_MAX);
  EXPECT_NEAR(s->GetThumbPos(), 0.5f, 1e-6f);
  s->SetValue(0);
  EXPECT_NEAR(s->GetThumbPos(), 0.25f, 1e-6f);

  s->SetValue(INT_MIN);
  GUI_MouseMove(0.35f, 0.12f);   // the middle
  GUI_LButtonDown();
  GUI_Update();
  EXPECT_EQ(s->GetValue(), INT_MIN);   // pressing changes nothing
  GUI_LButtonUp();
  GUI_Update();
  EXPECT_NEAR(double(s->GetValue()), 0.0, 1024.0);
  const float end[2] = {0.5999f, 0.12f};   // the far end
  s->OnMouseMove(end);
  s->OnLButtonUp();
  EXPECT_GT(s->GetValue(), 2140000000);

  const float beyond[2] = {0.7f, 0.12f};   // past the far end: beyond the int range
  s->OnMouseMove(beyond);
  s->OnLButtonUp();
  EXPECT_EQ(s->GetValue(), INT_MAX);
  const float before[2] = {0.0f, 0.12f};
  s->OnMouseMove(before);
  s->OnLButtonUp();
  EXPECT_EQ(s->GetValue(), INT_MIN);
}
