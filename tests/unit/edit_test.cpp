// edit_test.cpp: the edit control's text model: typing, keys, double-byte
// text, composition, limits and number mode.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "runtime/edit.h"
#include "runtime/simple_controls.h"
#include "runtime_support.h"

namespace {

// Two-byte characters of the double-byte code page (lead and trail bytes both
// have the high bit here).
const std::string kWide1 = "\xB0\xA1";
const std::string kWide2 = "\xB0\xA2";

std::string Text(CGUI_Edit& e) {
  std::string s;
  e.GetText(s);
  return s;
}

void Type(CGUI_Edit& e, const std::string& s) {
  for (char c : s) e.OnChar(c);
}

// Records every text passed to OnTextChanged.
class WatchedEdit : public CGUI_Edit {
 public:
  bool OnTextChanged(const std::string& text) override {
    seen.push_back(text);
    CGUI_Edit::OnTextChanged(text);
    return result;
  }
  std::vector<std::string> seen;
  bool result = true;
};

}  // namespace

// ---- Keys, typing, limits and composition ----------------------------------------------------

// Runs `ops` on an edit: bytes are typed; <L> <R> <H> <E> <B> <D> are Left,
// Right, Home, End, Backspace and Delete; <1> <2> compose a wide character,
// <0> ends the composition; <K> takes the focus away.
void Press(CGUI_Edit& e, const std::string& ops) {
  for (size_t i = 0; i < ops.size(); ++i) {
    if (ops[i] != '<') {
      e.OnChar(ops[i]);
      continue;
    }
    const char op = ops[i + 1];
    i += 2;
    switch (op) {
      case 'L': e.OnKeyDown(37); break;
      case 'R': e.OnKeyDown(39); break;
      case 'H': e.OnKeyDown(36); break;
      case 'E': e.OnKeyDown(35); break;
      case 'B': e.OnKeyDown(8); break;
      case 'D': e.OnKeyDown(46); break;
      case '1': e.OnCompositionChar(kWide1[0], kWide1[1]); break;
      case '2': e.OnCompositionChar(kWide2[0], kWide2[1]); break;
      case '0': e.OnCompositionChar(0, 0); break;
      case 'K': e.OnKillFocus(); break;
    }
  }
}

struct EditCase {
  const char* name;
  std::string caption;   // set before the keys
  int maxChars;          // -1: no limit set
  bool number;           // number mode with the value range 1 to 8
  std::string ops;
  std::string text;
  int caret;             // -1: not checked
};

void PrintTo(const EditCase& c, std::ostream* os) { *os << c.name; }

class EditKeys : public ::testing::TestWithParam<EditCase> {};

TEST_P(EditKeys, TextAndCaret) {
  const EditCase& c = GetParam();
  CGUI_Edit e;
  if (c.number) {
    e.SetNumber(true);
    e.SetMinValue(1);
    e.SetMaxValue(8);
  }
  if (c.maxChars >= 0) e.SetMaxNumChar(c.maxChars);
  if (!c.caption.empty()) e.SetCaption(c.caption);
  Press(e, c.ops);
  EXPECT_EQ(Text(e), c.text);
  if (c.caret >= 0) {
    EXPECT_EQ(e.GetCursor(), c.caret);
  }
}

const EditCase kEditCases[] = {
    {"MaxCharsDropsOverflow", "", 3, false, "abcd", "abc", 3},
    {"ControlBytesAreIgnored", "", -1, false, "a\tb\x1F", "ab", 2},
    {"InsertsAtTheCaret", "ac", -1, false, "<L>b<H>[<E>]", "[abc]", 5},
    {"CaptionPutsTheCaretAtTheEnd", "abc", -1, false, "d", "abcd", 4},
    {"LeftStepsOverWideCharacters", "a" + kWide1 + "b", -1, false, "<L><L>", "a" + kWide1 + "b", 1},
    {"LeftStopsAtTheStart", "a" + kWide1 + "b", -1, false, "<L><L><L><L>", "a" + kWide1 + "b", 0},
    {"RightStepsOverWideCharacters", "a" + kWide1 + "b", -1, false, "<H><R><R>", "a" + kWide1 + "b", 3},
    {"RightStopsAtTheEnd", "a" + kWide1 + "b", -1, false, "<H><R><R><R><R>", "a" + kWide1 + "b", 4},
    {"BackspaceRemovesAWideCharacter", "x" + kWide1, -1, false, "<B>", "x", 1},
    {"BackspaceOnNothingKeepsNothing", "x" + kWide1, -1, false, "<B><B><B>", "", 0},
    {"WideCharacterTypedByteByByte", "", -1, false, "a" + kWide1 + "<B>", "a", 1},
    {"DeleteRemovesRightOfTheCaret", kWide1 + "yz", -1, false, "<H><D><D>", "z", 0},
    {"DeleteAtTheEndKeepsTheText", "z", -1, false, "<E><D>", "z", 1},
    {"CutNeverSplitsAWideCharacter", "a" + kWide1 + kWide2, 2, false, "", "a" + kWide1, -1},
    {"CutToOneByte", "a" + kWide1 + kWide2, 1, false, "", "a", -1},
    {"CutAtThreeKeepsTheWholeWideCharacter", "a" + kWide1 + kWide2, 3, false, "", "a" + kWide1, -1},
    {"CutToNothing", "a" + kWide1 + kWide2, 0, false, "", "", -1},
    {"CompositionShownAtTheCaret", "ab", -1, false, "<L><1>", "a" + kWide1 + "b", -1},
    {"CompositionReplacedNotAdded", "ab", -1, false, "<L><1><2>", "a" + kWide2 + "b", -1},
    {"CompositionDroppedOnZero", "ab", -1, false, "<L><1><2><0>", "ab", 1},
    {"CompositionNotKeptWhenItOverflows", "ab", 3, false, "<1>", "ab", -1},
    {"NumberDigitsOnlyLeadingZeroDropped", "", 2, true, "a0-75", "75", 2},
    {"NumberClampedToMaxOnKillFocus", "", 2, true, "12<K>", "8", -1},
    {"NumberEmptyClampedToMinOnKillFocus", "", 2, true, "<K>", "1", -1},
    {"NumberInRangeKeptOnKillFocus", "5", 2, true, "<K>", "5", -1},
};

INSTANTIATE_TEST_SUITE_P(Edit, EditKeys, ::testing::ValuesIn(kEditCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(EditTyping, EveryEditReportsTheNewText) {
  WatchedEdit e;
  Type(e, "ab");
  e.OnKeyDown(8);
  ASSERT_EQ(e.seen.size(), 3u);
  EXPECT_EQ(e.seen[0], "a");
  EXPECT_EQ(e.seen[1], "ab");
  EXPECT_EQ(e.seen[2], "a");
  e.result = false;
  EXPECT_FALSE(e.OnChar('c'));
  EXPECT_FALSE(e.OnKeyDown(8));
  EXPECT_TRUE(e.OnKeyDown(36));   // moving the caret changes no text
}

// Typed characters and compositions reach the focused edit through the queue.
TEST(EditTyping, CharactersAndCompositionThroughTheInputQueue) {
  ScopedDialog dialog;
  auto* e = new CGUI_Edit;
  dialog->AddChild(e);
  ASSERT_TRUE(dialog->Create());
  SetFocusWindow(e);
  for (char c : std::string("pilot")) GUI_Char(c);
  GUI_KeyDown(8);
  GUI_Update();
  std::string caption;
  e->GetCaption(caption);
  EXPECT_EQ(caption, "pilo");
  EXPECT_EQ(e->Caption(), "pilo");   // GetCaption stored the whole text
  GUI_Char('k');
  GUI_CompositionChar(kWide1[0], kWide1[1]);
  GUI_Update();
  EXPECT_EQ(Text(*e), "pilok" + kWide1);
  GUI_CompositionChar(0, 0);
  GUI_Update();
  EXPECT_EQ(Text(*e), "pilok");
}

// ---- Caret and composition ------------------------------------------------------------------

TEST(EditCaret, SetCursorClampsAndTheTextAfterItIsCutToTheRoomLeft) {
  CGUI_Edit e;
  e.SetCursor(-1);
  EXPECT_EQ(e.GetCursor(), 0);
  e.SetCursor(100);
  EXPECT_EQ(e.GetCursor(), 0);
  e.SetCaption("hello");
  e.SetCursor(100);
  EXPECT_EQ(e.GetCursor(), 5);
  e.SetCursor(2);
  EXPECT_EQ(e.GetCursor(), 2);
  e.SetCursor(-1);
  EXPECT_EQ(e.GetCursor(), 5);
  e.SetCaption("abcdef");
  e.SetCursor(2);
  e.SplitAtCaret();
  e.SetMaxNumChar(4);
  EXPECT_EQ(Text(e), "abcd");
}

// A composition shows once there is room for it; a new caption ends it.
TEST(EditComposition, ShownOnceThereIsRoomAndEndedByACaption) {
  CGUI_Edit e;
  e.SetMaxNumChar(3);
  e.SetCaption("ab");
  e.OnCompositionChar(kWide1[0], kWide1[1]);
  EXPECT_EQ(Text(e), "ab");
  e.SetMaxNumChar(4);
  EXPECT_EQ(Text(e), "ab" + kWide1);
  e.SetCaption("new");
  EXPECT_EQ(Text(e), "new");
}

// ---- Number mode ---------------------------------------------------------------------------------------

TEST(EditNumber, ClampValueReportsAndMaxValueSetsMaxChars) {
  CGUI_Edit e;
  int v = -1;
  EXPECT_FALSE(e.ClampValue(v));   // only in number mode
  EXPECT_FALSE(e.SetValue(3));
  e.SetNumber(true);
  e.SetMinValue(-5);
  e.SetMaxValue(20);
  e.SetCaption("");
  EXPECT_TRUE(e.ClampValue(v));
  EXPECT_EQ(v, 0);
  EXPECT_EQ(Text(e), "0");
  e.SetCaption("-9");
  EXPECT_TRUE(e.ClampValue(v));
  EXPECT_EQ(v, -5);
  EXPECT_EQ(Text(e), "-5");
  EXPECT_TRUE(e.SetValue(17));
  EXPECT_TRUE(e.ClampValue(v));
  EXPECT_EQ(v, 17);
  // The maximum value sets the character limit.
  for (const auto& [max, chars] : {std::pair{9999, 4}, std::pair{0, 1}, std::pair{10, 2}, std::pair{-250, 3}}) {
    e.SetMaxValue(max);
    EXPECT_EQ(e.GetMaxNumChar(), chars) << max;
  }
}

TEST(EditNumber, FocusLeavingThroughAClickClamps) {
  ScopedDialog dialog;
  auto* e = new CGUI_Edit;
  SetRegion(e, 0.0f, 0.0f, 0.1f, 0.1f);
  auto* other = new CGUI_Button;
  SetRegion(other, 0.2f, 0.2f, 0.1f, 0.1f);
  dialog->AddChild(e);
  dialog->AddChild(other);
  e->SetNumber(true);
  e->SetMinValue(1);
  e->SetMaxValue(8);
  ASSERT_TRUE(dialog->Create());
  ClickAt(0.05f, 0.05f);
  ASSERT_EQ(GUI_GetFocusWindow(), e);
  GUI_Char('9');
  GUI_Update();
  EXPECT_EQ(Text(*e), "9");
  ClickAt(0.25f, 0.25f);
  EXPECT_EQ(GUI_GetFocusWindow(), other);
  EXPECT_EQ(Text(*e), "8");
}
