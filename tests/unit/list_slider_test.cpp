// list_slider_test.cpp: list rows, selection, scrolling, mouse and keys; the
// slider's range, thumb offset and value on release.
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <string>
#include <vector>

#include "runtime/list.h"
#include "runtime/slider.h"
#include "runtime_support.h"
#include "tests/expected/expected_text.h"

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
  // The rows drawn since the last call: index, top edge, selected or hovered.
  std::string Drawn() {
    std::string out;
    for (const Row& r : drawn) {
      char line[64];
      std::snprintf(line, sizeof line, "%s%d at %.3g%s%s", out.empty() ? "" : ", ", r.index,
                    r.y, r.selected ? " selected" : "", r.hovered ? " hovered" : "");
      out += line;
    }
    drawn.clear();
    return out;
  }
  int selChanges = 0;
  int failAt = -2;

 private:
  struct Row {
    int index;
    float y;
    bool selected;
    bool hovered;
  };
  std::vector<Row> drawn;
};

// A list 0.4 high with `rows` rows and `visible` visible rows.
void Fill(CGUI_List& list, int rows, int visible) {
  SetRegion(&list, 0.1f, 0.1f, 0.3f, 0.4f);
  list.SetVisibleRows(visible);
  for (int i = 0; i < rows; ++i) list.AddString("row " + std::to_string(i));
}

// A walk over a list for an expected text: each line is a call, what it
// returned and the list afterwards (selection, top, hover, selection changes,
// rows with their item data).
class ListWalk {
 public:
  explicit ListWalk(ProbeList& list) : list_(list) {}
  void operator()(const std::string& call, long long result) {
    log_ += call + " -> " + std::to_string(result) + ": sel " + std::to_string(list_.GetCurSel()) +
            " top " + std::to_string(list_.GetTopIndex()) + " hover " +
            std::to_string(list_.GetHover()) + " changes " + std::to_string(list_.selChanges);
    std::string text;
    uint32_t data = 0;
    for (int i = 0; i < list_.GetCount() && list_.GetText(i, text) && list_.GetItemData(i, data); ++i)
      log_ += (i ? ", " : " | ") + text + (data ? " [" + std::to_string(data) + "]" : "");
    log_ += "\n";
  }
  const std::string& log() const { return log_; }

 private:
  ProbeList& list_;
  std::string log_;
};

}  // namespace

// ---- Rows and scrolling ----------------------------------------------------------------

// Adding appends, or inserts at the selection number (the selected row moves
// down); deleting at or above the selection moves it up; reset clears it all.
// Text and data lookups take -1 for the last row and fail outside the rows.
TEST(ListRows, AddDeleteResetAndLookups) {
  ProbeList list;
  ListWalk walk(list);
  std::string s = "kept";
  walk("GetText(-1) of no rows", list.GetText(-1, s));
  Fill(list, 4, 4);
  walk("GetText(4)", list.GetText(4, s));
  walk("GetText(-2)", list.GetText(-2, s));
  walk("text still " + s + ", AddString(end)", list.AddString("end"));
  walk("GetText(-1)", list.GetText(-1, s));
  walk("got " + s + ", SetCurSel(2)", list.SetCurSel(2));
  walk("SetItemData(2, 77)", list.SetItemData(2, 77));
  walk("AddString(new)", list.AddString("new"));
  walk("DeleteString(2), the selected row", list.DeleteString(2));
  walk("DeleteString(3), below the selection", list.DeleteString(3));
  walk("DeleteString(4)", list.DeleteString(4));
  walk("DeleteString(-1)", list.DeleteString(-1));
  walk("SetVisibleRows(2)", list.SetVisibleRows(2));
  walk("SetTopIndex(2)", list.SetTopIndex(2));
  walk("SetHover(1)", list.SetHover(1));
  walk("ResetContent()", list.ResetContent());
  Fill(list, 2, 4);
  walk("SetCurSel(0)", list.SetCurSel(0));
  walk("DeleteString(0)", list.DeleteString(0));
  EXPECT_MATCHES_EXPECTED("unit/expected/list_rows.expected", walk.log());
}

// The top row is clamped to the last page; a selection is scrolled into view
// (no selection shows the end) and only a change is told.
TEST(ListScroll, RowHeightVisibleRowsClampedTopAndSelection) {
  ProbeList list;
  SetRegion(&list, 0, 0, 0.3f, 0.4f);
  list.SetRowHeight(0.1f);
  EXPECT_EQ(list.GetVisibleRows(), 4);
  list.SetRowHeight(0.15f);   // partial rows are not shown
  EXPECT_EQ(list.GetVisibleRows(), 2);
  list.SetVisibleRows(8);
  EXPECT_FLOAT_EQ(list.GetRowHeight(), 0.05f);

  ListWalk walk(list);
  Fill(list, 2, 4);
  walk("2 rows of 4, SetTopIndex(1)", list.SetTopIndex(1));
  list.ResetContent();
  Fill(list, 10, 4);
  for (int top : {8, -3, 5}) walk("SetTopIndex(" + std::to_string(top) + ")", list.SetTopIndex(top));
  const std::pair<int, int> tops_and_selections[] = {{5, -1}, {0, 5},  {6, 2}, {1, 3},
                                                     {1, 3},  {1, 10}, {1, -2}};
  for (const auto& [top, sel] : tops_and_selections) {
    list.SetTopIndex(top);
    walk("top " + std::to_string(top) + ", SetCurSel(" + std::to_string(sel) + ")",
         list.SetCurSel(sel));
  }
  EXPECT_MATCHES_EXPECTED("unit/expected/list_scroll.expected", walk.log());
}

// ---- Keys ------------------------------------------------------------------------------------

// Keys on ten rows, four of them shown: Down and Up move the selection and
// stop at the ends (without a selection Down does nothing); PgDn and PgUp move
// a page and select the top row; the top stops at the last page.
TEST(ListKeys, SelectionAndTopAfterKeys) {
  ProbeList list;
  ListWalk walk(list);
  Fill(list, 10, 4);
  const std::pair<const char*, int> keys[] = {{"Down", 40}, {"PgDn", 34}, {"PgDn", 34},
                                              {"PgDn", 34}, {"Down", 40}, {"Up", 38},
                                              {"PgUp", 33}, {"PgUp", 33}, {"Up", 38}};
  for (const auto& [name, key] : keys) walk(name, list.OnKeyDown(key));
  list.SetCurSel(1);
  walk("row 1 selected, Up", list.OnKeyDown(38));
  EXPECT_MATCHES_EXPECTED("unit/expected/list_keys.expected", walk.log());
}

// As many visible rows as an int holds: scrolling, paging and selecting stay
// in range; a negative count pages the other way.
TEST(ListKeys, TheLargestVisibleRowCountScrollsAndPages) {
  ProbeList list;
  ListWalk walk(list);
  Fill(list, 10, INT_MAX);
  walk("SetTopIndex(5), every row fits", list.SetTopIndex(5));
  walk("SetTopIndex(INT_MAX)", list.SetTopIndex(INT_MAX));
  walk("PgDn", list.OnKeyDown(34));
  walk("PgUp", list.OnKeyDown(33));
  walk("SetCurSel(7)", list.SetCurSel(7));
  ProbeList inverted;
  ListWalk invertedWalk(inverted);
  Fill(inverted, 10, INT_MIN);
  invertedWalk("INT_MIN visible rows, PgUp", inverted.OnKeyDown(33));
  invertedWalk("SetCurSel(3)", inverted.SetCurSel(3));
  EXPECT_MATCHES_EXPECTED("unit/expected/list_largest_counts.expected",
                          walk.log() + invertedWalk.log());
}

// The row under the mouse counts from the top row; a click selects it, leaving
// clears the hover. (A click routed to a list is the gallery session's list.)
TEST(ListMouse, HoverRowAndClickSelect) {
  ProbeList list;
  Fill(list, 10, 4);   // rows 0.1 high from y 0.1
  list.SetTopIndex(3);
  const float at[2] = {0.2f, 0.35f};
  list.OnMouseMove(at);
  EXPECT_EQ(list.GetHover(), 2);
  list.OnLButtonDown();
  EXPECT_EQ(list.GetCurSel(), 5);
  EXPECT_EQ(list.selChanges, 1);
  list.OnMouseLeave();
  EXPECT_EQ(list.GetHover(), -1);

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
  flat.OnMouseMove(at);
  EXPECT_EQ(flat.GetHover(), -1);
  float mouse[2];
  flat.GetMousePos(mouse);
  EXPECT_FLOAT_EQ(mouse[1], 0.35f);
}

// A list class that places its top row itself, past the rows the base class
// would allow.
class PlacedList : public ProbeList {
 public:
  void PlaceTop(int top) { topIndex_ = top; }
};

// The visible rows are drawn from the top (the origin is not part of their
// rectangles) until one fails; with fewer rows than visible ones, only the
// rows that exist, however far the window runs past the int range.
TEST(ListDraw, VisibleRowsFromTheTop) {
  ProbeList list;
  Fill(list, 10, 4);
  const float origin[2] = {0.5f, 0.5f};
  list.SetOrigin(origin);
  list.SetTopIndex(3);
  list.SetCurSel(4);
  list.SetHover(2);
  EXPECT_TRUE(list.OnDraw());
  EXPECT_EQ(list.Drawn(), "3 at 0.1, 4 at 0.2 selected, 5 at 0.3 hovered, 6 at 0.4");
  list.failAt = 4;
  EXPECT_FALSE(list.OnDraw());
  EXPECT_EQ(list.Drawn(), "3 at 0.1, 4 at 0.2 selected");

  PlacedList few;
  Fill(few, 3, INT_MAX);
  few.PlaceTop(2);
  few.SetHover(0);
  EXPECT_TRUE(few.OnDraw());
  EXPECT_EQ(few.Drawn(), "2 at 0.1 hovered");
  few.PlaceTop(0);
  few.SetHover(1);
  EXPECT_TRUE(few.OnDraw());
  EXPECT_EQ(few.Drawn(), "0 at 0.1, 1 at 0.1 hovered, 2 at 0.1");
}

// ---- Slider ---------------------------------------------------------------------------------------

// The slider's value and thumb offset after a step, as a line.
std::string SliderLine(CGUI_Slider& s, const std::string& step) {
  char values[64];
  std::snprintf(values, sizeof values, ": value %d thumb %.6f\n", s.GetValue(), s.GetThumbPos());
  return step + values;
}

// The value is clamped to the range and starts at the minimum at creation; the
// thumb offset runs along the width or the height (half a cell into the
// value's cell); a bottom-aligned vertical slider reads the value under the
// mouse from its bottom.
TEST(Slider, ValueIsClampedPlacesTheThumbAndStartsAtTheMinimum) {
  CGUI_Slider s;
  SetRegion(&s, 0, 0, 0.5f, 0.1f);
  s.SetHorizontal(true);
  s.SetMin(0);
  s.SetMax(10);
  s.SetValue(99);
  std::string log = SliderLine(s, "horizontal 0..10 0.5 wide, SetValue(99)");
  s.SetValue(-4);
  log += SliderLine(s, "SetValue(-4)");
  s.SetHorizontal(false);
  s.SetValue(10);
  log += SliderLine(s, "vertical 0.1 high, SetValue(10)");
  s.SetMin(3);
  s.SetMax(7);
  s.SetValue(6);
  EXPECT_TRUE(s.Create());
  log += SliderLine(s, "3..7 at 6, created");
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
  log += SliderLine(v, "10..13 bottom-aligned, released 0.35 above the bottom");
  EXPECT_MATCHES_EXPECTED("unit/expected/slider.expected", log);
}

// The whole int range is 2^32 cells: the thumb and the value under the mouse
// come out of it without overflow; pressing changes nothing, releasing does.
TEST(Slider, TheFullIntRange) {
  ScopedDialog dialog;
  auto* s = new CGUI_Slider;
  SetRegion(s, 0.1f, 0.1f, 0.5f, 0.05f);
  s->SetHorizontal(true);
  s->SetMin(INT_MIN);
  s->SetMax(INT_MAX);
  dialog->AddChild(s);
  ASSERT_TRUE(dialog->Create());
  std::string log = SliderLine(*s, "created");
  for (int value : {INT_MAX, 0, INT_MIN}) {
    s->SetValue(value);
    log += SliderLine(*s, "SetValue(" + std::to_string(value) + ")");
  }
  GUI_MouseMove(0.35f, 0.12f);
  GUI_LButtonDown();
  GUI_Update();
  log += SliderLine(*s, "pressed in the middle");
  GUI_LButtonUp();
  GUI_Update();
  log += SliderLine(*s, "released");
  for (float x : {0.5999f, 0.7f, 0.0f}) {   // the far end, past it, before the start
    const float at[2] = {x, 0.12f};
    s->OnMouseMove(at);
    s->OnLButtonUp();
    log += SliderLine(*s, "released at " + std::to_string(x));
  }
  EXPECT_MATCHES_EXPECTED("unit/expected/slider_int_range.expected", log);
}
