// edit_test.cpp: the edit control's text model: typing, keys, double-byte
// text, composition, limits and number mode.
#include <gtest/gtest.h>

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

// ---- Typing and limits -------------------------------------------------------------

TEST(EditTyping, MaxCharsDropsOverflow) {
  CGUI_Edit e;
  e.SetMaxNumChar(3);
  Type(e, "abcd");
  EXPECT_EQ(Text(e), "abc");
  EXPECT_EQ(e.GetCursor(), 3);
}

TEST(EditTyping, ControlBytesAreIgnored) {
  CGUI_Edit e;
  Type(e, "a\tb\x1F");
  EXPECT_EQ(Text(e), "ab");
}

TEST(EditTyping, InsertsAtTheCaret) {
  CGUI_Edit e;
  e.SetCaption("ac");
  e.OnKeyDown(37);   // Left
  e.OnChar('b');
  EXPECT_EQ(Text(e), "abc");
  EXPECT_EQ(e.GetCursor(), 2);
  e.OnKeyDown(36);   // Home
  e.OnChar('>');
  EXPECT_EQ(Text(e), ">abc");
  e.OnKeyDown(35);   // End
  e.OnChar('<');
  EXPECT_EQ(Text(e), ">abc<");
}

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

TEST(EditTyping, CharactersThroughTheInputQueue) {
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
}

// ---- Caret --------------------------------------------------------------------------------

TEST(EditCaret, SetCursorClamps) {
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
}

TEST(EditCaret, SetCaptionPutsCaretAtTheEnd) {
  CGUI_Edit e;
  e.SetCaption("abc");
  EXPECT_EQ(e.GetCursor(), 3);
  e.OnChar('d');
  EXPECT_EQ(Text(e), "abcd");
}

TEST(EditCaret, LeftAndRightStepOverTwoByteCharacters) {
  CGUI_Edit e;
  e.SetCaption("a" + kWide1 + "b");
  EXPECT_EQ(e.GetCursor(), 4);
  e.OnKeyDown(37);
  EXPECT_EQ(e.GetCursor(), 3);
  e.OnKeyDown(37);
  EXPECT_EQ(e.GetCursor(), 1);
  e.OnKeyDown(37);
  EXPECT_EQ(e.GetCursor(), 0);
  e.OnKeyDown(37);
  EXPECT_EQ(e.GetCursor(), 0);
  e.OnKeyDown(39);
  EXPECT_EQ(e.GetCursor(), 1);
  e.OnKeyDown(39);
  EXPECT_EQ(e.GetCursor(), 3);
  e.OnKeyDown(39);
  EXPECT_EQ(e.GetCursor(), 4);
  e.OnKeyDown(39);
  EXPECT_EQ(e.GetCursor(), 4);
}

// ---- Deleting -------------------------------------------------------------------------------

TEST(EditDelete, BackspaceRemovesATwoByteCharacter) {
  CGUI_Edit e;
  e.SetCaption("x" + kWide1);
  e.OnKeyDown(8);
  EXPECT_EQ(Text(e), "x");
  EXPECT_EQ(e.GetCursor(), 1);
  e.OnKeyDown(8);
  EXPECT_EQ(Text(e), "");
  EXPECT_EQ(e.GetCursor(), 0);
  EXPECT_TRUE(e.OnKeyDown(8));   // nothing left
  EXPECT_EQ(Text(e), "");
}

TEST(EditDelete, TwoByteCharacterTypedByteByByte) {
  CGUI_Edit e;
  Type(e, "a" + kWide1);
  EXPECT_EQ(e.GetCursor(), 3);
  e.OnKeyDown(8);
  EXPECT_EQ(Text(e), "a");
}

TEST(EditDelete, DeleteRemovesRightOfTheCaret) {
  CGUI_Edit e;
  e.SetCaption(kWide1 + "yz");
  e.OnKeyDown(36);
  e.OnKeyDown(46);
  EXPECT_EQ(Text(e), "yz");
  EXPECT_EQ(e.GetCursor(), 0);
  e.OnKeyDown(46);
  EXPECT_EQ(Text(e), "z");
  e.OnKeyDown(35);
  EXPECT_TRUE(e.OnKeyDown(46));   // nothing right of the caret
  EXPECT_EQ(Text(e), "z");
}

// ---- Cutting to max chars -----------------------------------------------------------------------

TEST(EditGetText, CutNeverSplitsATwoByteCharacter) {
  CGUI_Edit e;
  e.SetCaption("a" + kWide1 + kWide2);
  e.SetMaxNumChar(2);   // the cut at 2 would split the first wide character
  EXPECT_EQ(Text(e), "a" + kWide1);
  e.SetMaxNumChar(3);
  EXPECT_EQ(Text(e), "a" + kWide1);
  e.SetMaxNumChar(1);
  EXPECT_EQ(Text(e), "a");
  e.SetMaxNumChar(0);
  EXPECT_EQ(Text(e), "");
}

TEST(EditGetText, AfterIsCutToTheRoomLeft) {
  CGUI_Edit e;
  e.SetCaption("abcdef");
  e.SetCursor(2);
  e.SplitAtCaret();
  e.SetMaxNumChar(4);
  EXPECT_EQ(Text(e), "abcd");
}

// ---- Composition ----------------------------------------------------------------------------------

TEST(EditComposition, ShownAtTheCaretAndDroppedOnZero) {
  CGUI_Edit e;
  e.SetCaption("ab");
  e.OnKeyDown(37);
  e.OnCompositionChar(kWide1[0], kWide1[1]);
  EXPECT_EQ(Text(e), "a" + kWide1 + "b");
  e.OnCompositionChar(kWide2[0], kWide2[1]);   // replaced, not added
  EXPECT_EQ(Text(e), "a" + kWide2 + "b");
  e.OnCompositionChar(0, 0);
  EXPECT_EQ(Text(e), "ab");
  EXPECT_EQ(e.GetCursor(), 1);
}

TEST(EditComposition, NotKeptWhenTheTextOverflows) {
  CGUI_Edit e;
  e.SetMaxNumChar(3);
  e.SetCaption("ab");
  e.OnCompositionChar(kWide1[0], kWide1[1]);
  EXPECT_EQ(Text(e), "ab");   // before alone when the composition does not fit
  e.SetMaxNumChar(4);
  EXPECT_EQ(Text(e), "ab" + kWide1);
}

TEST(EditComposition, SetCaptionEndsIt) {
  CGUI_Edit e;
  e.OnCompositionChar(kWide1[0], kWide1[1]);
  e.SetCaption("new");
  EXPECT_EQ(Text(e), "new");
}

TEST(EditComposition, ThroughTheInputQueue) {
  ScopedDialog dialog;
  auto* e = new CGUI_Edit;
  dialog->AddChild(e);
  ASSERT_TRUE(dialog->Create());
  SetFocusWindow(e);
  GUI_Char('k');
  GUI_CompositionChar(kWide1[0], kWide1[1]);
  GUI_Update();
  EXPECT_EQ(Text(*e), "k" + kWide1);
  GUI_CompositionChar(0, 0);
  GUI_Update();
  EXPECT_EQ(Text(*e), "k");
}

// ---- Number mode ---------------------------------------------------------------------------------------

TEST(EditNumber, MaxValueSetsMaxChars) {
  CGUI_Edit e;
  e.SetMaxValue(9999);
  EXPECT_EQ(e.GetMaxNumChar(), 4);
  e.SetMaxValue(0);
  EXPECT_EQ(e.GetMaxNumChar(), 1);
  e.SetMaxValue(10);
  EXPECT_EQ(e.GetMaxNumChar(), 2);
  e.SetMaxValue(-250);
  EXPECT_EQ(e.GetMaxNumChar(), 3);
}

TEST(EditNumber, DigitsOnlyAndLeadingZeroDropped) {
  CGUI_Edit e;
  e.SetNumber(true);
  Type(e, "a0");
  EXPECT_EQ(Text(e), "0");
  Type(e, "-7");
  EXPECT_EQ(Text(e), "7");
  EXPECT_EQ(e.GetCursor(), 1);
  Type(e, "5");
  EXPECT_EQ(Text(e), "75");
}

TEST(EditNumber, ClampOnKillFocus) {
  CGUI_Edit e;
  e.SetNumber(true);
  e.SetMinValue(1);
  e.SetMaxValue(8);
  e.SetMaxNumChar(2);
  Type(e, "12");
  e.OnKillFocus();
  EXPECT_EQ(Text(e), "8");
  e.SetCaption("");
  e.OnKillFocus();
  EXPECT_EQ(Text(e), "1");
  e.SetCaption("5");
  e.OnKillFocus();
  EXPECT_EQ(Text(e), "5");
}

TEST(EditNumber, ClampValueReports) {
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
