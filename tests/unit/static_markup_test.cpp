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

// A caption, the text shown and the colour runs (colour, first character);
// the reset keeps its blank.
TEST(StaticMarkup, CaptionsAndTheirRuns) {
  const struct {
    const char* caption;
    const char* shown;
    RunList runs;
  } cases[] = {
      {"#c 02 Hello#r x", "Hello x", {{0, 0}, {2, 0}, {0, 5}}},
      {"Ready", "Ready", {{0, 0}}},
      {"#c 2 x", "#c 2 x", {{0, 0}}},                       // incomplete escapes are kept:
      {"a#c 12x", "a#c 12x", {{0, 0}}},                     //   no blank after the digits,
      {"#rx", "#rx", {{0, 0}}},
      {"#c 1", "#c 1", {{0, 0}}},                           //   cut off at the end
      {"100##", "100#", {{0, 0}}},                          // a final "##" is one hash,
      {"a##b", "a##b", {{0, 0}}},                           //   elsewhere both stay
      {"#", "#", {{0, 0}}},
      {"##c 03 z", "#z", {{0, 0}, {3, 1}}},                 // a kept hash, then an escape
  };
  CGUI_Static s;
  for (const auto& c : cases) {
    s.SetCaption(c.caption);   // each caption starts its runs afresh
    EXPECT_EQ(s.Caption(), c.shown) << c.caption;
    EXPECT_EQ(Runs(s), c.runs) << c.caption;
  }
  s.SetCaption("#c 02 Hello#r x");
  EXPECT_EQ(s.Run(3), nullptr);
  EXPECT_EQ(s.Run(-1), nullptr);
}

TEST(StaticMarkup, AtMostEightRunsAnd1023Bytes) {
  CGUI_Static s;
  std::string text;
  for (int i = 1; i <= 8; ++i) text += "#c 1" + std::to_string(i) + " " + char('a' + i - 1);
  s.SetCaption(text);
  EXPECT_EQ(s.Caption(), "abcdefgh");   // the ignored escape is still stripped
  ASSERT_EQ(s.RunCount(), 8);
  EXPECT_EQ(s.Run(7)->color, 17);
  EXPECT_EQ(s.Run(7)->start, 6);
  // The stripped caption is cut at 1023 bytes.
  s.SetCaption(std::string(1100, 'x') + "#c 05 ");
  EXPECT_EQ(s.Caption().size(), 1023u);
  ASSERT_EQ(s.RunCount(), 2);
  EXPECT_EQ(s.Run(1)->start, 1023);
}
