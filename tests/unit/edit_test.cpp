// edit_test.cpp: the edit control's text model: typing, keys, double-byte
// text, composition, limits and number mode.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
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
// sets the caption.
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
      case 'C': e.SetCursor(std::stoi(arg)); break;
      case 'M': e.SetMaxNumChar(std::stoi(arg)); break;
      case 'S': e.SplitAtCaret(); break;
      case 'P': e.SetCaption(arg); break;
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

// Each row sets up an edit (a caption, a character limit if not -1, number
// mode with the value range 1 to 8), presses its keys; the expected text gives
// the text and the caret after them.
TEST(EditKeys, TextAndCaret) {
  const std::string ab = "a" + kWide1 + "b";
  const std::string axy = "a" + kWide1 + kWide2;
  const struct {
    const char* name;
    std::string caption;
    int maxChars;
    bool number;
    std::string ops;
  } cases[] = {
      {"MaxCharsDropsOverflow", "", 3, false, "abcd"},
      {"ControlBytesAreIgnored", "", -1, false, "a\tb\x1F"},
      {"InsertsAtTheCaret", "ac", -1, false, "<L>b<H>[<E>]"},
      {"CaptionPutsTheCaretAtTheEnd", "abc", -1, false, "d"},
      {"LeftStepsOverWideCharacters", ab, -1, false, "<L><L>"},
      {"LeftStopsAtTheStart", ab, -1, false, "<L><L><L><L>"},
      {"RightStepsOverWideCharacters", ab, -1, false, "<H><R><R>"},
      {"RightStopsAtTheEnd", ab, -1, false, "<H><R><R><R><R>"},
      {"BackspaceRemovesAWideCharacter", "x" + kWide1, -1, false, "<B>"},
      {"BackspaceOnNothingKeepsNothing", "x" + kWide1, -1, false, "<B><B><B>"},
      {"WideCharacterTypedByteByByte", "", -1, false, "a" + kWide1 + "<B>"},
      {"DeleteRemovesRightOfTheCaret", kWide1 + "yz", -1, false, "<H><D><D>"},
      {"DeleteAtTheEndKeepsTheText", "z", -1, false, "<E><D>"},
      {"CutNeverSplitsAWideCharacter", axy, 2, false, ""},
      {"CutToOneByte", axy, 1, false, ""},
      {"CutAtThreeKeepsTheWholeWideCharacter", axy, 3, false, ""},
      {"CutToNothing", axy, 0, false, ""},
      {"CompositionShownAtTheCaret", "ab", -1, false, "<L><1>"},
      {"CompositionReplacedNotAdded", "ab", -1, false, "<L><1><2>"},
      {"CompositionDroppedOnZero", "ab", -1, false, "<L><1><2><0>"},
      {"CompositionNotKeptWhenItOverflows", "ab", 3, false, "<1>"},
      {"CompositionShownOnceThereIsRoom", "ab", 3, false, "<1><M4>"},
      {"CaptionEndsTheComposition", "ab", -1, false, "<L><1><Pnew>"},
      {"CaretOnNoTextStaysAtZero", "", -1, false, "<C100>"},
      {"CaretMinusOneOnNoTextIsZero", "", -1, false, "<C-1>"},
      {"CaretClampedToTheEnd", "hello", -1, false, "<C100>"},
      {"CaretMinusOneIsTheEnd", "hello", -1, false, "<C2><C-1>"},
      {"SplitTextAfterTheCaretIsCutToTheRoomLeft", "abcdef", -1, false, "<C2><S><M4>"},
      {"NumberDigitsOnlyLeadingZeroDropped", "", 2, true, "a0-75"},
      {"NumberClampedToMaxOnKillFocus", "", 2, true, "12<K>"},
      {"NumberEmptyClampedToMinOnKillFocus", "", 2, true, "<K>"},
      {"NumberInRangeKeptOnKillFocus", "5", 2, true, "<K>"},
  };
  std::string out;
  for (const auto& c : cases) {
    CGUI_Edit e;
    if (c.number) {
      e.SetNumber(true);
      e.SetMinValue(1);
      e.SetMaxValue(8);
    }
    if (c.maxChars >= 0) e.SetMaxNumChar(c.maxChars);
    if (!c.caption.empty()) e.SetCaption(c.caption);
    Press(e, c.ops);
    out += std::string(c.name) + ": '" + Shown(c.caption) + "' max " + std::to_string(c.maxChars) +
           (c.number ? " number" : "") + ", " + Shown(c.ops) + " -> '" + Shown(Text(e)) +
           "' caret " + std::to_string(e.GetCursor()) + "\n";
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
