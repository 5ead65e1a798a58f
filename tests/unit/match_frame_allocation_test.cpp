// match_frame_allocation_test.cpp: a frame of a team match over the shipped
// UI script (HUD, radar with 16 mechs, 4 timed messages, chat with 12 lines,
// score table of 8 rows; match_scene.h) allocates nothing after the first,
// also when the clock goes back and forth, and it draws the whole match.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "refhost/korvohost_graphics.h"
#include "tests/unit/allocation_counter.h"
#include "tests/unit/match_scene.h"

namespace {

class MatchFrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(matchscene::Open(&error)) << error;
  }
  void TearDown() override { matchscene::Close(); }

  static std::vector<std::string> DrawnTexts() {
    std::vector<std::string> texts;
    for (const korvohost::DrawRecord& r : korvohost::DrawList())
      if (r.kind == korvohost::DrawKind::Text) texts.push_back(r.text);
    return texts;
  }

  // Radar blips: the small animation records in the team colours of the radar.
  static int DrawnBlips() {
    int blips = 0;
    for (const korvohost::DrawRecord& r : korvohost::DrawList())
      if (r.kind == korvohost::DrawKind::Animation && r.w == 11 && r.h == 6 &&
          (r.argb == 0xFFFFB94B || r.argb == 0xFFFF4B54))
        ++blips;
    return blips;
  }
};

TEST_F(MatchFrameTest, TheFrameDrawsEveryOverlayAndLaterFramesAllocateNothing) {
  matchscene::Frame();
  EXPECT_EQ(DrawnBlips(), 16);
  const std::vector<std::string> texts = DrawnTexts();
  auto drawn = [&](const std::string& text) {
    return std::find(texts.begin(), texts.end(), text) != texts.end();
  };
  for (const char* message : {"PILOT-3 DESTROYED PILOT-6", "RED TEAM LEADS BY 4", "ARMOR RESTORED",
                              "PILOT-1: regroup at the north gate"})
    EXPECT_TRUE(drawn(message)) << message;
  for (int i = 0; i < 8; ++i) EXPECT_TRUE(drawn("PILOT-" + std::to_string(i))) << "score row " << i + 1;
  // The chat box holds the 12 lines and shows as many as its 6 visible rows.
  EXPECT_EQ(std::count_if(texts.begin(), texts.end(),
                          [](const std::string& t) { return t.find("of the match chat") != std::string::npos; }),
            6);
  EXPECT_TRUE(drawn("00:12:55"));   // 20 minutes, 425 s gone
  EXPECT_GT(matchscene::OpenWindows(), 100);
  alloccount::Start();
  // 600 frames: the scene's clock goes back to its start twice on the way.
  for (int i = 0; i < 600; ++i) matchscene::Frame();
  EXPECT_EQ(alloccount::Stop(), 0);
}

}  // namespace
