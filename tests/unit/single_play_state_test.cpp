// Tests of what the single-player screens share: the clear-time text and the
// windows they remember, which a freed table must take with it.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "korvogui/korvogui.h"
#include "menus/typewriter_list.h"
#include "refhost/korvohost.h"
#include "runtime/module_state.h"
#include "runtime/registry.h"
#include "runtime/simple_controls.h"
#include "runtime/window_manager.h"
#include "screens/single_play_state.h"
#include "tests/unit/fresh_module.h"

namespace {

TEST(ClearTimeTextTest, HoursMinutesSecondsWithLeadingZeros) {
  EXPECT_EQ(ClearTimeText(0), "00:00:00");
  EXPECT_EQ(ClearTimeText(59), "00:00:59");
  EXPECT_EQ(ClearTimeText(60), "00:01:00");
  EXPECT_EQ(ClearTimeText(3600), "01:00:00");
  EXPECT_EQ(ClearTimeText(3725), "01:02:05");
  EXPECT_EQ(ClearTimeText(359999), "99:59:59");
}

TEST(ClearTimeTextTest, HundredHoursAndMoreKeepEveryDigit) {
  EXPECT_EQ(ClearTimeText(360000), "100:00:00");
  EXPECT_EQ(ClearTimeText(UINT_MAX), "1193046:28:15");
}

TEST(SinglePlayStateTest, FreeingTheTableForgetsEveryWindow) {
  korvohost::Reset();
  std::string error;
  ASSERT_TRUE(korvohost::Mount(KORVO_ASSET_ROOT, &error)) << error;
  RestartModule();
  ASSERT_TRUE(GUI_Compile()) << GUI_GetLastError();

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
  EXPECT_EQ(state.pilotList, nullptr);
  EXPECT_EQ(state.missionText, nullptr);
  EXPECT_EQ(state.heldBox, nullptr);
  EXPECT_EQ(state.briefingText, nullptr);
  EXPECT_EQ(state.chosenLeft, nullptr);
  EXPECT_EQ(state.chosenRight, nullptr);
  // The carousel's start is a number, not a window: it stays.
  EXPECT_EQ(state.optionStart, 3);
  GUI_Release();
  korvohost::Reset();
}

}  // namespace
