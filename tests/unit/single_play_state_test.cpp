// Tests of what the single-player screens share: the clear-time text and the
// windows they remember, which a freed table must take with it.
#include <climits>
#include <string>

#include "menus/typewriter_list.h"
#include "runtime/simple_controls.h"
#include "screens/single_play_state.h"
#include "tests/unit/runtime_fixture.h"

namespace {

// Hours, minutes and seconds with leading zeros; a hundred hours and more
// keep every digit.
TEST(ClearTimeTextTest, HoursMinutesSecondsWithLeadingZeros) {
  const std::pair<unsigned, const char*> cases[] = {
      {0, "00:00:00"},      {59, "00:00:59"},         {60, "00:01:00"},           {3600, "01:00:00"},
      {3725, "01:02:05"},   {359999, "99:59:59"},     {360000, "100:00:00"},      {UINT_MAX, "1193046:28:15"}};
  for (const auto& [seconds, text] : cases) EXPECT_EQ(ClearTimeText(seconds), text) << seconds;
}

TEST_F(RuntimeTest, SinglePlayStateForgetsEveryWindowWithTheTable) {
  SSinglePlayState& state = ModulePart<SSinglePlayState>();
  CGUI_GameList pilots;
  CGUI_TypewriterList text;
  CGUI_GamePushButton box;
  CGUI_Custom option;
  state.pilotList = &pilots;
  state.missionText = &text;
  state.heldBox = &box;
  state.briefingText = &text;
  state.chosenLeft = &option;
  state.chosenRight = &option;
  state.optionStart = 3;
  InstallDialogTable(nullptr);
  const void* const kept[] = {state.pilotList,    state.missionText, state.heldBox,
                              state.briefingText, state.chosenLeft,  state.chosenRight};
  for (const void* window : kept) EXPECT_EQ(window, nullptr) << &window - kept;
  // The carousel's start is a number, not a window: it stays.
  EXPECT_EQ(state.optionStart, 3);
}

}  // namespace
