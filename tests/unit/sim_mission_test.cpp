// The simulated mission: a shipped mission script's `mission` line starts it
// outside sessions; it loads, then the frame clock runs it, the same however
// the clock is split; the pilot fires while the trigger is held and the
// enemies engage once fired upon; the enemies or the armor end it, and
// s_terminate and ReleaseScene clear it. Winning records the clear time in
// the pilot's account and opens what the campaign table says.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/host_characters.h"
#include "host/host_services.h"
#include "host/session_state.h"
#include "refhost/campaign.h"
#include "refhost/game_setup.h"
#include "refhost/game_state.h"
#include "refhost/host_script.h"
#include "refhost/korvohost.h"
#include "refhost/script_player.h"
#include "refhost/sim_mission.h"
#include "tests/expected/expected_text.h"

using namespace korvohost;

namespace {

constexpr char kScript[] = "data/script/mission/01/mission.txt";

void NoLines(char*, unsigned long) {}

// The shipped script of story mission `n` (1-12).
std::string MissionScript(int n) {
  char path[64];
  std::snprintf(path, sizeof path, "data/script/mission/%02d/mission.txt", n);
  return path;
}

class SimMission : public ::testing::Test {
 protected:
  void SetUp() override {
    Reset();
    std::string error;
    ASSERT_TRUE(Mount(KORVO_ASSET_ROOT, &error)) << error;
    std::vector<std::string> errors;
    ASSERT_TRUE(LoadGameDataIntoGame(&errors));
    EnableScriptPlayer(true);
    SetNextStringSink(&NoLines);
  }
  void TearDown() override {
    korvostate::SetRecording(false);
    Reset();
  }

  // What the loading screen and the HUD read of the mission, and its events.
  static std::string Status() {
    static const char* const kEvents[] = {"loaded", "destroyed", "overheat", "over"};
    const SSimMissionStatus s = SimMissionStatus();
    std::string out = "outcome " + std::to_string(int(s.outcome)) + " end " + std::to_string(int(s.end));
    if (s.loading) out += " loading " + std::to_string(s.pendingLoaders) + "/" + std::to_string(s.loaders);
    out += " time " + std::to_string(s.playTimeMs) + " left " + std::to_string(s.enemiesLeft) +
                      " on the field " + std::to_string(PlayerList.Count()) + " scene " +
                      std::to_string(bSceneActive) + " loop " + std::to_string(IsInGameLoop()) + "\n";
    for (const SSimMissionEvent& e : TakeSimMissionEvents())
      out += std::string("  ") + kEvents[int(e.kind)] + " " + std::to_string(e.left) + "\n";
    return out;
  }
  // Runs the clock in steps of `by` from `from` to `to` or the outcome.
  static std::string Run(uint32_t from, uint32_t to, uint32_t by) {
    std::string out;
    for (uint32_t t = from + by; t <= to && SimMissionStatus().outcome == ESimOutcome::kRunning; t += by) {
      SetTick(t);
      out += Status();
    }
    return out;
  }
};

// Loading for two seconds, then the pilot fires a burst past the heat limit;
// every second of it is logged.
TEST_F(SimMission, TheMissionScriptStartsItAndTheClockRunsIt) {
  std::string runs[2];
  for (int run = 0; run < 2; ++run) {
    SetSimMissionTrigger(true);
    SetTick(1000);
    ExecuteCommand((std::string("s_exe ") + kScript).c_str());
    SetTick(1000);
    EXPECT_TRUE(TakeScriptErrors().empty());
    EXPECT_EQ(SimMissionStatus().timeLimitMs, 8u * 60000);
    runs[run] = Status();
    for (uint32_t t = 2000; t <= 8000; t += 1000) {
      for (uint32_t fine = t - 950; run == 0 && fine < t; fine += 50) SetTick(fine);
      SetTick(t);
      runs[run] += "at " + std::to_string(t) + ": " + Status();
    }
    EXPECT_EQ(SimMissionStatus().script, kScript);
    EXPECT_EQ(Game().scene.ground, "arena.gnd");
    ASSERT_NE(pControlCharacter, nullptr);
    EXPECT_EQ(PlayerList.At(0), pControlCharacter);
    EXPECT_NE(pControlCharacter->weapon, nullptr);
    EXPECT_NE(PlayerList.At(1)->team, pControlCharacter->team);
    EXPECT_LT(pControlCharacter->shield, 100) << "the enemies hit back";
    if (run == 0) ExecuteCommand((std::string("s_terminate ") + kScript).c_str());
  }
  EXPECT_EQ(runs[1], runs[0]);
  EXPECT_MATCHES_EXPECTED("unit/expected/sim_mission_start.expected", runs[0]);

  ExecuteCommand((std::string("s_terminate ") + kScript).c_str());
  EXPECT_EQ(Status(), "outcome 0 end 0 time 0 left 0 on the field 0 scene 0 loop 0\n");
  EXPECT_EQ(pControlCharacter, nullptr);
  EXPECT_TRUE(Game().scene.ground.empty());
  EXPECT_TRUE(Game().objects.empty());
}

// Won once the enemies are gone: the play time stops and the scene stays
// until released. Enemies that were fired upon fight on when the pilot stops
// firing: all armor lost.
TEST_F(SimMission, ItEndsWithAnOutcomeAndThePlayTimeStops) {
  SetSimMissionTrigger(true);
  SSimMissionSetup setup;
  setup.enemies = 1;
  std::string error;
  ASSERT_TRUE(StartSimMission(setup, &error)) << error;
  const std::string won = Run(0, 600000, 1000);
  std::string text = won.substr(won.rfind("outcome"));
  SetTick(SimMissionStatus().playTimeMs + 60000);
  text += "a minute later: " + Status();
  ReleaseScene();
  text += "released: " + Status();

  setup.enemies = 16;
  setup.loadMs = 0;
  SetTick(0);
  ASSERT_TRUE(StartSimMission(setup, &error)) << error;
  SetTick(1000);
  SetSimMissionTrigger(false);
  const std::string lost = Run(1000, 600000, 1000);
  text += lost.substr(lost.rfind("outcome"));
  EXPECT_EQ(pControlCharacter->armor, 0);
  EXPECT_MATCHES_EXPECTED("unit/expected/sim_mission_ends.expected", text);

  // The screen after each end: the twelfth mission's win opens the ending, a
  // win of no script the statistics.
  SSimMissionStatus end = SimMissionStatus();
  EXPECT_STREQ(MissionResultScreen(end), "MISSIONFAILEDMENU");
  end.outcome = ESimOutcome::kWon;
  end.script = "";
  EXPECT_STREQ(MissionResultScreen(end), "STATISTICSMENU");
  end.script = MissionScript(12);
  EXPECT_STREQ(MissionResultScreen(end), "MISSIONENDINGMENU");
  end.script = MissionScript(11);
  EXPECT_STREQ(MissionResultScreen(end), "STATISTICSMENU");
}

TEST_F(SimMission, ThePilotsChoicesAndBadSetups) {
  ASSERT_TRUE(CreateAccount("ALPHA"));
  ASSERT_TRUE(SetAccount("ALPHA"));
  GetCurAccount()->character = 5;
  GetCurAccount()->left = 1;
  SSimMissionSetup setup;
  std::string error;
  ASSERT_TRUE(StartSimMission(setup, &error)) << error;
  const ObjectEntry* me = FindObjectOf(pControlCharacter);
  ASSERT_NE(me, nullptr);
  EXPECT_EQ(me->characterId, GetCharacterID(5));
  COPT_Option* left = GetOptionWeapon(pControlCharacter, true);
  ASSERT_NE(left, nullptr);
  EXPECT_STREQ(left->name, Game().optionParts[0].name.c_str());
  EXPECT_EQ(GetOptionWeapon(pControlCharacter, false), nullptr);

  setup.enemies = 0;
  EXPECT_FALSE(StartSimMission(setup, &error));
  EXPECT_EQ(error, "enemies must be 1-16");
  EXPECT_EQ(SimMissionStatus().outcome, ESimOutcome::kRunning);   // the running one stays
  Game().characters.clear();
  setup.enemies = 2;
  EXPECT_FALSE(StartSimMission(setup, &error));
  EXPECT_EQ(error, "no characters in the game data");
}

// The pilot's achievement boxes and total clear time, as the records screen
// lists them.
std::string Records() {
  std::string out;
  for (const SAchievementRecord& r : Game().current->record.achievements)
    out += "  " + r.key + " count " + std::to_string(r.count) + " latest " + std::to_string(r.latest) + " best " +
           std::to_string(r.best) + "\n";
  return out + "  total " + std::to_string(GetCurAccount()->GetTotalClearTime()) + "\n";
}

// A slow MISSION 04 opens the southern route; its boxes carry the times of
// their mission and lead on along the route; a fast win later opens the
// northern route too, leaving the southern one as it was. A mission won
// without a box gets one; a slower win counts and keeps the best.
TEST_F(SimMission, TheBranchOfMissionsFiveToSevenFollowsTheClearTimeOfFour) {
  ASSERT_TRUE(CreateAccount("SOUTH"));
  ASSERT_TRUE(SetAccount("SOUTH"));
  std::string text;
  for (const auto& [mission, seconds] : {std::pair{4, 46}, {5, 30}, {4, 45}, {4, 50}}) {
    RecordMissionWin(MissionScript(mission), seconds);
    text += "mission " + std::to_string(mission) + " in " + std::to_string(seconds) + " s:\n" + Records();
  }
  EXPECT_MATCHES_EXPECTED("unit/expected/sim_mission_branch.expected", text);
  // Without a pilot, or for a script of no mission, nothing happens.
  RecordMissionWin("data/script/ending/credit.txt", 10);
  SetAccount(nullptr);
  RecordMissionWin(MissionScript(1), 10);
  EXPECT_TRUE(SetAccount("SOUTH"));
  EXPECT_EQ(GetCurAccount()->GetTotalClearTime(), 46 + 30 + 45 + 50);
}

}  // namespace
