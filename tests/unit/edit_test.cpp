// edit_test.cpp: the edit control's text model: typing, keys, double-byte
// text, composition, limits and number mode.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/edit.h"
#include "tests/expected/expected_text.h"

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
// <0> ends the composition; <K> takes the focus away; <Cn> sets the caret to n,
// <Mn> the character limit to n; <S> splits the text at the caret; <Ptext>
// sets the caption; <N> sets number mode with the value range 1 to 8.
void Press(CGUI_Edit& e, const std::string& ops) {
  for (size_t i = 0; i < ops.size(); ++i) {
    if (ops[i] != '<') {
      e.OnChar(ops[i]);
      continue;
    }
    const size_t close = ops.find('>', i);
    const char op = ops[i + 1];
    const std::string arg = ops.substr(i + 2, close - i - 2);
    i = close;
    static constexpr int kKeys[] = {37, 39, 36, 35, 8, 46};   // in the order of "LRHEBD"
    const size_t key = std::string_view("LRHEBD").find(op);
    if (key != std::string_view::npos) e.OnKeyDown(kKeys[key]);
    switch (op) {
      case '1': e.OnCompositionChar(kWide1[0], kWide1[1]); break;
      case '2': e.OnCompositionChar(kWide2[0], kWide2[1]); break;
      case '0': e.OnCompositionChar(0, 0); break;
      case 'K': e.OnKillFocus(); break;
      case 'C': e.SetCursor(std::stoi(arg)); break;
      case 'M': e.SetMaxNumChar(std::stoi(arg)); break;
      case 'S': e.SplitAtCaret(); break;
      case 'P': e.SetCaption(arg); break;
      case 'N':
        e.SetNumber(true);
        e.SetMinValue(1);
        e.SetMaxValue(8);
        break;
    }
  }
}

// The text with control bytes and the bytes of wide characters written as \xNN.
std::string Shown(const std::string& text) {
  std::string out;
  for (unsigned char c : text) {
    char hex[8];
    std::snprintf(hex, sizeof hex, "\\x%02X", c);
    out += c >= 0x20 && c < 0x80 ? std::string(1, char(c)) : std::string(hex);
  }
  return out;
}

// Each row's keys on a new edit; the expected text gives the text and the
// caret after them. \xB0\xA1 and \xB0\xA2 are wide characters.
TEST(EditKeys, TextAndCaret) {
  const std::pair<const char*, std::string> cases[] = {
      {"MaxCharsDropsOverflow", "<M3>abcd"},
      {"ControlBytesAreIgnored", "a\tb\x1F"},
      {"InsertsAtTheCaret", "<Pac><L>b<H>[<E>]"},
      {"CaptionPutsTheCaretAtTheEnd", "<Pabc>d"},
      {"LeftStepsOverWideCharacters", "<Pa\xB0\xA1" "b><L><L>"},
      {"LeftStopsAtTheStart", "<Pa\xB0\xA1" "b><L><L><L><L>"},
      {"RightStepsOverWideCharacters", "<Pa\xB0\xA1" "b><H><R><R>"},
      {"RightStopsAtTheEnd", "<Pa\xB0\xA1" "b><H><R><R><R><R>"},
      {"BackspaceRemovesAWideCharacter", "<Px\xB0\xA1><B>"},
      {"BackspaceOnNothingKeepsNothing", "<Px\xB0\xA1><B><B><B>"},
      {"WideCharacterTypedByteByByte", "a\xB0\xA1<B>"},
      {"DeleteRemovesRightOfTheCaret", "<P\xB0\xA1yz><H><D><D>"},
      {"DeleteAtTheEndKeepsTheText", "<Pz><E><D>"},
      {"CutNeverSplitsAWideCharacter", "<M2><Pa\xB0\xA1\xB0\xA2>"},
      {"CutAtThreeKeepsTheWholeWideCharacter", "<M3><Pa\xB0\xA1\xB0\xA2>"},
      {"CutToNothing", "<M0><Pa\xB0\xA1\xB0\xA2>"},
      {"CompositionShownAtTheCaret", "<Pab><L><1>"},
      {"CompositionReplacedNotAdded", "<Pab><L><1><2>"},
      {"CompositionDroppedOnZero", "<Pab><L><1><2><0>"},
      {"CompositionNotKeptWhenItOverflows", "<M3><Pab><1>"},
      {"CompositionShownOnceThereIsRoom", "<M3><Pab><1><M4>"},
      {"CaptionEndsTheComposition", "<Pab><L><1><Pnew>"},
      {"CaretClampedToTheEnd", "<Phello><C100>"},
      {"CaretMinusOneIsTheEnd", "<Phello><C2><C-1>"},
      {"SplitTextAfterTheCaretIsCutToTheRoomLeft", "<Pabcdef><C2><S><M4>"},
      {"NumberDigitsOnlyLeadingZeroDropped", "<N><M2>a0-75"},
      {"NumberClampedToMaxOnKillFocus", "<N><M2>12<K>"},
      {"NumberEmptyClampedToMinOnKillFocus", "<N><M2><K>"},
      {"NumberInRangeKeptOnKillFocus", "<N><M2><P5><K>"},
  };
  std::string out;
  for (const auto& [name, ops] : cases) {
    CGUI_Edit e;
    Press(e, ops);
    out += std::string(name) + ": " + Shown(ops) + " -> '" + Shown(Text(e)) + "' caret " +
           std::to_string(e.GetCursor()) + "\n";
  }
  EXPECT_MATCHES_EXPECTED("unit/expected/edit_keys.expected", out);
}

// Every edit reports the new text, and its result is the edit's; GetCaption
// stores the whole text as the caption.
TEST(EditTyping, EveryEditReportsTheNewText) {
  WatchedEdit e;
  for (char c : std::string("ab")) e.OnChar(c);
  e.OnKeyDown(8);
  EXPECT_EQ(e.seen, (std::vector<std::string>{"a", "ab", "a"}));
  std::string caption;
  e.GetCaption(caption);
  EXPECT_EQ(e.Caption(), "a");
  e.result = false;
  EXPECT_FALSE(e.OnChar('c'));
  EXPECT_FALSE(e.OnKeyDown(8));
  EXPECT_TRUE(e.OnKeyDown(36));   // moving the caret changes no text
}

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
  // The maximum value sets the character limit (2000000000 is the arrow
  // buttons' maximum in PushButtonTest.ArrowButtons...).
  for (const auto& [max, chars] : {std::pair{0, 1}, std::pair{10, 2}, std::pair{-250, 3}}) {
    e.SetMaxValue(max);
    EXPECT_EQ(e.GetMaxNumChar(), chars) << max;
  }
}
