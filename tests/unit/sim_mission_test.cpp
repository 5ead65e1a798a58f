// The simulated mission: a shipped mission script's `mission` line starts it
// outside sessions; the frame clock moves the actors and changes armor,
// shield and heat (overheat included) and counts play time, the same however
// the clock is split; s_terminate, ReleaseScene and Reset end it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/host_characters.h"
#include "host/host_services.h"
#include "refhost/game_setup.h"
#include "refhost/game_state.h"
#include "refhost/host_script.h"
#include "refhost/korvohost.h"
#include "refhost/script_player.h"
#include "refhost/session_state.h"
#include "refhost/sim_mission.h"
#include "tools/korvoui/game_flow.h"

using namespace korvohost;

namespace {

constexpr char kScript[] = "data/script/mission/01/mission.txt";

void NoLines(char*, unsigned long) {}

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

  // Everything a frame of the play interface can read, as one text.
  static std::string Snapshot() {
    std::string out = "scene=" + std::to_string(bSceneActive) + " loop=" + std::to_string(IsInGameLoop());
    const SSimMissionStatus s = SimMissionStatus();
    out += " time=" + std::to_string(s.playTimeMs) + " left=" + std::to_string(s.enemiesLeft) +
           " overheats=" + std::to_string(s.overheats);
    for (int i = 0; i < PlayerList.Count(); ++i) {
      const CHARACTER* c = PlayerList.At(i);
      char line[160];
      std::snprintf(line, sizeof line, "\n%s a=%d s=%d h=%.1f%s x=%.3f z=%.3f t=%d",
                    c == pControlCharacter ? "me" : "it", c->armor, c->shield, c->heat.GetGauge(),
                    c->heat.overheated ? "!" : "", c->x, c->z, c->team);
      out += line;
    }
    return out;
  }
};

TEST_F(SimMission, TheMissionScriptStartsItAndTheClockDrivesIt) {
  SetTick(1000);
  ExecuteCommand((std::string("s_exe ") + kScript).c_str());
  SetTick(1000);
  EXPECT_TRUE(TakeScriptErrors().empty());
  ASSERT_EQ(SimMissionStatus().outcome, ESimOutcome::kRunning);
  EXPECT_EQ(SimMissionStatus().script, kScript);
  EXPECT_EQ(bSceneActive, 1);
  EXPECT_TRUE(IsInGameLoop());
  ASSERT_NE(pControlCharacter, nullptr);
  ASSERT_EQ(PlayerList.Count(), 5);   // the pilot and the four drones of the script
  EXPECT_EQ(PlayerList.At(0), pControlCharacter);
  EXPECT_EQ(Game().scene.ground, "arena.gnd");
  ASSERT_NE(pControlCharacter->weapon, nullptr);
  const CHARACTER start = *pControlCharacter;
  const CHARACTER enemy = *PlayerList.At(1);
  EXPECT_NE(enemy.team, start.team);

  SetTick(2000);   // one second: 20 steps of firing
  EXPECT_EQ(SimMissionStatus().playTimeMs, 1000u);
  EXPECT_NE(pControlCharacter->x, start.x);
  EXPECT_GT(pControlCharacter->heat.GetGauge(), start.heat.GetGauge());
  EXPECT_LT(PlayerList.At(1)->shield + PlayerList.At(2)->shield + PlayerList.At(3)->shield +
                PlayerList.At(4)->shield,
            4 * enemy.shield);
  EXPECT_NE(PlayerList.At(1)->x, enemy.x);   // closing in

  // The burst goes on past the heat limit: overheated, then cooling back.
  bool overheated = false;
  for (uint32_t t = 2050; t <= 6000; t += 50) {
    SetTick(t);
    overheated = overheated || pControlCharacter->heat.overheated;
  }
  EXPECT_TRUE(overheated);
  EXPECT_GE(SimMissionStatus().overheats, 1);
  EXPECT_FALSE(pControlCharacter->heat.overheated);
  EXPECT_LT(pControlCharacter->shield, 100);   // the enemies hit back

  ExecuteCommand((std::string("s_terminate ") + kScript).c_str());
  EXPECT_EQ(SimMissionStatus().outcome, ESimOutcome::kNone);
  EXPECT_EQ(bSceneActive, 0);
  EXPECT_FALSE(IsInGameLoop());
  EXPECT_EQ(pControlCharacter, nullptr);
  EXPECT_EQ(PlayerList.Count(), 0);
  EXPECT_TRUE(Game().scene.ground.empty());
  EXPECT_TRUE(Game().objects.empty());
}

TEST_F(SimMission, TheSameClockGivesTheSameMissionHoweverItIsSplit) {
  SSimMissionSetup setup;
  setup.enemies = 3;
  setup.seed = 42;
  std::string error;
  ASSERT_TRUE(StartSimMission(setup, &error)) << error;
  for (uint32_t t = 0; t <= 20000; t += 17) SetTick(t);
  SetTick(20000);
  const std::string fine = Snapshot();
  EndSimMission();
  SetTick(0);
  ASSERT_TRUE(StartSimMission(setup, &error)) << error;
  for (uint32_t t = 0; t <= 20000; t += 1000) SetTick(t);
  EXPECT_EQ(Snapshot(), fine);
  EXPECT_NE(fine.find("time=20000"), std::string::npos) << fine;
  setup.seed = 43;   // another seed starts the enemies elsewhere
  SetTick(0);
  ASSERT_TRUE(StartSimMission(setup, &error)) << error;
  for (uint32_t t = 0; t <= 20000; t += 1000) SetTick(t);
  EXPECT_NE(Snapshot(), fine);
}

TEST_F(SimMission, ItEndsWithAnOutcomeAndThePlayTimeStops) {
  SSimMissionSetup setup;
  setup.enemies = 1;
  std::string error;
  ASSERT_TRUE(StartSimMission(setup, &error)) << error;
  uint32_t t = 0;
  while (SimMissionStatus().outcome == ESimOutcome::kRunning && t < 600000) SetTick(t += 1000);
  const SSimMissionStatus done = SimMissionStatus();
  EXPECT_EQ(done.outcome, ESimOutcome::kWon);
  EXPECT_EQ(done.enemiesLeft, 0);
  EXPECT_EQ(PlayerList.Count(), 1);   // destroyed enemies leave the list
  SetTick(t + 5000);
  EXPECT_EQ(SimMissionStatus().playTimeMs, done.playTimeMs);
  EXPECT_EQ(bSceneActive, 1);   // the scene stays until the mission ends
  ReleaseScene();
  EXPECT_EQ(SimMissionStatus().outcome, ESimOutcome::kNone);
  EXPECT_EQ(bSceneActive, 0);
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
  EXPECT_NE(error.find("enemies"), std::string::npos);
  EXPECT_EQ(SimMissionStatus().outcome, ESimOutcome::kRunning);   // the running one stays
  Game().characters.clear();
  setup.enemies = 2;
  EXPECT_FALSE(StartSimMission(setup, &error));
  EXPECT_NE(error.find("characters"), std::string::npos);
}

TEST_F(SimMission, ScriptLinesAndSessions) {
  std::vector<SScriptStep> steps;
  std::vector<std::string> errors;
  EXPECT_TRUE(ParseHostScript("mission\nmission enemies=16 map=arena.gnd seed=7\n", "m", &steps, &errors));
  ASSERT_EQ(steps.size(), 2u);
  EXPECT_EQ(steps[0].kind, SScriptStep::EKind::kMission);
  EXPECT_EQ(steps[0].number, kScriptDefaultEnemies);
  EXPECT_EQ(steps[1].number, 16u);
  EXPECT_EQ(steps[1].seed, 7u);
  EXPECT_EQ(steps[1].text, "arena.gnd");
  EXPECT_FALSE(ParseHostScript("mission enemies=17\nmission foe=1\nmission map\n> ok\n", "m", &steps, &errors));
  EXPECT_EQ(errors, (std::vector<std::string>{"m:1: bad enemies '17' (1-16)", "m:2: unknown mission field 'foe'",
                                              "m:3: bad mission field 'map' (NAME=VALUE)"}));
  // Every shipped mission script starts a mission.
  for (int n = 1; n <= 12; ++n) {
    char path[64];
    std::snprintf(path, sizeof path, "data/script/mission/%02d/mission.txt", n);
    std::string bytes;
    ASSERT_TRUE(ReadFile(path, &bytes)) << path;
    ASSERT_TRUE(ParseHostScript(bytes, path, &steps, &errors)) << path;
    ASSERT_FALSE(steps.empty());
    EXPECT_EQ(steps[0].kind, SScriptStep::EKind::kMission) << path;
  }

  korvostate::SetRecording(true);   // under `korvoui run` s_exe stays a record
  ExecuteCommand((std::string("s_exe ") + kScript).c_str());
  SetTick(100);
  EXPECT_EQ(SimMissionStatus().outcome, ESimOutcome::kNone);
  EXPECT_EQ(bSceneActive, 0);
}

// The host's result screen: the failure screen for a lost mission, the
// statistics for a won one, the final ending for the last story mission won.
TEST_F(SimMission, TheLastStoryMissionWonEndsTheStory) {
  SSimMissionStatus status;
  status.outcome = ESimOutcome::kWon;
  status.script = kScript;
  EXPECT_STREQ(MissionResultScreen(status), "STATISTICSMENU");
  status.script = "data/script/mission/12/mission.txt";
  EXPECT_STREQ(MissionResultScreen(status), "MISSIONENDINGMENU");
  status.outcome = ESimOutcome::kLost;
  EXPECT_STREQ(MissionResultScreen(status), "MISSIONFAILEDMENU");
  status.outcome = ESimOutcome::kWon;
  status.script = "";   // a mission no script started
  EXPECT_STREQ(MissionResultScreen(status), "STATISTICSMENU");
}

}  // namespace
