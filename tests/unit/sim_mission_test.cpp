// The simulated mission: a shipped mission script's `mission` line starts it
// outside sessions; after loading, the frame clock moves the actors and
// changes armor, shield and heat (overheat included) and counts play time,
// the same however the clock is split; the pilot fires while the trigger is
// held and the enemies engage once fired upon; the time limit and the armor
// lose it; s_terminate, ReleaseScene and Reset end it. Winning records the
// clear time in the pilot's account and opens what the campaign table says.
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
#include "host/session_state.h"
#include "refhost/sim_mission.h"
#include "refhost/campaign.h"

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
  SetSimMissionTrigger(true);
  SetTick(1000);
  ExecuteCommand((std::string("s_exe ") + kScript).c_str());
  SetTick(1000);
  EXPECT_TRUE(TakeScriptErrors().empty());
  ASSERT_EQ(SimMissionStatus().outcome, ESimOutcome::kRunning);
  EXPECT_TRUE(SimMissionStatus().loading);
  EXPECT_EQ(SimMissionStatus().loaders, 5);
  EXPECT_EQ(SimMissionStatus().pendingLoaders, 5);
  EXPECT_EQ(SimMissionStatus().timeLimitMs, 8u * 60000);
  SetTick(2000);   // half loaded
  EXPECT_EQ(SimMissionStatus().pendingLoaders, 3);
  EXPECT_TRUE(TakeSimMissionEvents().empty());
  SetTick(3000);   // loaded: the fight starts
  EXPECT_FALSE(SimMissionStatus().loading);
  std::vector<SSimMissionEvent> events = TakeSimMissionEvents();
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].kind, SSimMissionEvent::EKind::kLoaded);
  EXPECT_EQ(SimMissionStatus().playTimeMs, 0u);
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

  SetTick(4000);   // one second: 20 steps of firing
  EXPECT_EQ(SimMissionStatus().playTimeMs, 1000u);
  EXPECT_NE(pControlCharacter->x, start.x);
  EXPECT_GT(pControlCharacter->heat.GetGauge(), start.heat.GetGauge());
  EXPECT_LT(PlayerList.At(1)->shield + PlayerList.At(2)->shield + PlayerList.At(3)->shield +
                PlayerList.At(4)->shield,
            4 * enemy.shield);
  EXPECT_NE(PlayerList.At(1)->x, enemy.x);   // closing in

  // The burst goes on past the heat limit: overheated, then cooling back.
  bool overheated = false;
  for (uint32_t t = 4050; t <= 8000; t += 50) {
    SetTick(t);
    overheated = overheated || pControlCharacter->heat.overheated;
  }
  EXPECT_TRUE(overheated);
  EXPECT_GE(SimMissionStatus().overheats, 1);
  events = TakeSimMissionEvents();
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events[0].kind, SSimMissionEvent::EKind::kOverheat);
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
  SetSimMissionTrigger(true);
  SSimMissionSetup setup;
  setup.loadMs = 0;
  setup.enemies = 3;
  setup.seed = 42;
  std::string error;
  ASSERT_TRUE(StartSimMission(setup, &error)) << error;
  for (uint32_t t = 0; t <= 10000; t += 17) SetTick(t);
  SetTick(10000);
  const std::string fine = Snapshot();
  EndSimMission();
  SetTick(0);
  ASSERT_TRUE(StartSimMission(setup, &error)) << error;
  for (uint32_t t = 0; t <= 10000; t += 1000) SetTick(t);
  EXPECT_EQ(Snapshot(), fine);
  EXPECT_NE(fine.find("time=10000"), std::string::npos) << fine;
  setup.seed = 43;   // another seed starts the enemies elsewhere
  SetTick(0);
  ASSERT_TRUE(StartSimMission(setup, &error)) << error;
  for (uint32_t t = 0; t <= 10000; t += 1000) SetTick(t);
  EXPECT_NE(Snapshot(), fine);
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
  uint32_t t = 0;
  while (SimMissionStatus().outcome == ESimOutcome::kRunning && t < 600000) SetTick(t += 1000);
  const SSimMissionStatus done = SimMissionStatus();
  EXPECT_EQ(done.outcome, ESimOutcome::kWon);
  EXPECT_EQ(done.end, ESimMissionEnd::kEnemies);
  EXPECT_EQ(done.enemiesLeft, 0);
  EXPECT_EQ(PlayerList.Count(), 1);   // destroyed enemies leave the list
  SetTick(t + 5000);
  EXPECT_EQ(SimMissionStatus().playTimeMs, done.playTimeMs);
  EXPECT_EQ(bSceneActive, 1);
  ReleaseScene();
  EXPECT_EQ(SimMissionStatus().outcome, ESimOutcome::kNone);
  EXPECT_EQ(bSceneActive, 0);

  TakeSimMissionEvents();
  setup.enemies = 16;
  setup.loadMs = 0;
  SetTick(0);
  ASSERT_TRUE(StartSimMission(setup, &error)) << error;
  SetTick(t = 1000);
  SetSimMissionTrigger(false);
  while (SimMissionStatus().outcome == ESimOutcome::kRunning && t < 600000) SetTick(t += 1000);
  EXPECT_EQ(SimMissionStatus().outcome, ESimOutcome::kLost);
  EXPECT_EQ(SimMissionStatus().end, ESimMissionEnd::kArmor);
  EXPECT_EQ(pControlCharacter->armor, 0);
  const std::vector<SSimMissionEvent> events = TakeSimMissionEvents();
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events.front().kind, SSimMissionEvent::EKind::kLoaded);
  EXPECT_EQ(events.back().kind, SSimMissionEvent::EKind::kOver);

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
  errors.clear();
  EXPECT_TRUE(ParseHostScript("mission time=60\n", "m", &steps, &errors));
  EXPECT_EQ(steps[0].timeLimitMin, 60);
  EXPECT_FALSE(ParseHostScript("mission time=61\nmission time=-1\n", "m", &steps, &errors));
  EXPECT_EQ(errors, (std::vector<std::string>{"m:1: bad time '61' (0-60)", "m:2: bad time '-1' (0-60)"}));

  korvostate::SetRecording(true);   // under `korvoui run` s_exe stays a record
  ExecuteCommand((std::string("s_exe ") + kScript).c_str());
  SetTick(100);
  EXPECT_EQ(SimMissionStatus().outcome, ESimOutcome::kNone);
  EXPECT_EQ(bSceneActive, 0);
}

const SAchievementRecord* Record(const std::string& key) {
  for (const SAchievementRecord& r : Game().current->record.achievements)
    if (r.key == key) return &r;
  return nullptr;
}

// A slow MISSION 04 opens the southern route; its boxes carry the times of
// their mission and lead on along the route; a fast win later opens the
// northern route too, leaving the southern one as it was.
TEST_F(SimMission, TheBranchOfMissionsFiveToSevenFollowsTheClearTimeOfFour) {
  ASSERT_TRUE(CreateAccount("SOUTH"));
  ASSERT_TRUE(SetAccount("SOUTH"));
  RecordMissionWin(MissionScript(4), 46);
  EXPECT_NE(Record("MISSION 05C"), nullptr);
  EXPECT_NE(Record("MISSION 05D"), nullptr);
  EXPECT_EQ(Record("MISSION 05A"), nullptr);
  RecordMissionWin(MissionScript(5), 30);
  EXPECT_EQ(Record("MISSION 05C")->count, 1);
  EXPECT_EQ(Record("MISSION 05D")->latest, 30);
  EXPECT_NE(Record("MISSION 06C"), nullptr);
  EXPECT_EQ(Record("MISSION 06A"), nullptr);
  RecordMissionWin(MissionScript(4), 45);
  EXPECT_NE(Record("MISSION 05A"), nullptr);
  EXPECT_NE(Record("MISSION 05B"), nullptr);
  EXPECT_EQ(Record("MISSION 05A")->count, 0);
  EXPECT_EQ(Record("MISSION 05C")->count, 1);
  const SAchievementRecord* four = Record("MISSION 04");
  ASSERT_NE(four, nullptr);   // a mission won without a box gets one
  EXPECT_EQ(four->count, 2);
  EXPECT_EQ(four->latest, 45);
  EXPECT_EQ(four->best, 45);
  RecordMissionWin(MissionScript(4), 50);   // a slower win counts and keeps the best
  EXPECT_EQ(Record("MISSION 04")->count, 3);
  EXPECT_EQ(Record("MISSION 04")->best, 45);
  EXPECT_EQ(GetCurAccount()->GetTotalClearTime(), 46 + 30 + 45 + 50);
  // Without a pilot, or for a script of no mission, nothing happens.
  RecordMissionWin("data/script/ending/credit.txt", 10);
  EXPECT_EQ(GetCurAccount()->GetTotalClearTime(), 46 + 30 + 45 + 50);
  SetAccount(nullptr);
  RecordMissionWin(MissionScript(1), 10);
  EXPECT_TRUE(SetAccount("SOUTH"));
  EXPECT_EQ(GetCurAccount()->GetTotalClearTime(), 46 + 30 + 45 + 50);
}

}  // namespace
