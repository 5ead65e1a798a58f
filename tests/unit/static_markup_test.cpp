// static_markup_test.cpp: colour markup of static texts.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "runtime/static.h"

namespace {

std::vector<std::pair<int, int>> Runs(const CGUI_Static& s) {
  std::vector<std::pair<int, int>> runs;
  for (int i = 0; i < s.RunCount(); ++i) runs.emplace_back(s.Run(i)->color, s.Run(i)->start);
  return runs;
}

using RunList = std::vector<std::pair<int, int>>;

}  // namespace

TEST(StaticMarkup, ColourAndResetEscapes) {
  CGUI_Static s;
  s.SetCaption("#c 02 Hello#r x");
  EXPECT_EQ(s.Caption(), "Hello x");
  EXPECT_EQ(Runs(s), (RunList{{0, 0}, {2, 0}, {0, 5}}));
  EXPECT_EQ(s.Run(3), nullptr);
  EXPECT_EQ(s.Run(-1), nullptr);
}

TEST(StaticMarkup, PlainTextHasOneRun) {
  CGUI_Static s;
  s.SetCaption("Ready");
  EXPECT_EQ(s.Caption(), "Ready");
  EXPECT_EQ(Runs(s), (RunList{{0, 0}}));
  s.SetCaption("");   // each caption starts its runs afresh
  EXPECT_EQ(Runs(s), (RunList{{0, 0}}));
}

TEST(StaticMarkup, IncompleteEscapesAreKept) {
  CGUI_Static s;
  s.SetCaption("#c 2 x");   // one digit only
  EXPECT_EQ(s.Caption(), "#c 2 x");
  EXPECT_EQ(s.RunCount(), 1);
  s.SetCaption("a#c 12x");   // no blank after the digits
  EXPECT_EQ(s.Caption(), "a#c 12x");
  s.SetCaption("#rx");
  EXPECT_EQ(s.Caption(), "#rx");
  s.SetCaption("#c 1");   // cut off at the end
  EXPECT_EQ(s.Caption(), "#c 1");
}

TEST(StaticMarkup, DoubleHash) {
  CGUI_Static s;
  s.SetCaption("100##");   // a final "##" is one hash
  EXPECT_EQ(s.Caption(), "100#");
  s.SetCaption("a##b");    // elsewhere both stay
  EXPECT_EQ(s.Caption(), "a##b");
  s.SetCaption("##");
  EXPECT_EQ(s.Caption(), "#");
  s.SetCaption("#");
  EXPECT_EQ(s.Caption(), "#");
}

TEST(StaticMarkup, EscapeAfterAKeptHash) {
  CGUI_Static s;
  s.SetCaption("##c 03 z");   // the first hash is kept, the second starts an escape
  EXPECT_EQ(s.Caption(), "#z");
  EXPECT_EQ(Runs(s), (RunList{{0, 0}, {3, 1}}));
}

TEST(StaticMarkup, AtMostEightRuns) {
  CGUI_Static s;
  std::string text;
  for (int i = 1; i <= 8; ++i) text += "#c 1" + std::to_string(i) + " " + char('a' + i - 1);
  s.SetCaption(text);
  EXPECT_EQ(s.Caption(), "abcdefgh");   // the ignored escape is still stripped
  ASSERT_EQ(s.RunCount(), 8);
  EXPECT_EQ(s.Run(7)->color, 17);
  EXPECT_EQ(s.Run(7)->start, 6);
}

TEST(StaticMarkup, StrippedCaptionIsCutAt1023) {
  CGUI_Static s;
  s.SetCaption(std::string(1100, 'x') + "#c 05 ");
  EXPECT_EQ(s.Caption().size(), 1023u);
  ASSERT_EQ(s.RunCount(), 2);
  EXPECT_EQ(s.Run(1)->start, 1023);
}

TEST(StaticMarkup, ResetKeepsItsBlank) {
  CGUI_Static s;
  s.SetCaption("a#c 07 b#r c");
  EXPECT_EQ(s.Caption(), "ab c");
  EXPECT_EQ(Runs(s), (RunList{{0, 0}, {7, 1}, {0, 2}}));
}
