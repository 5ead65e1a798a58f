// The reference host's simulated match and mission: a script line or the
// network library starts them; they load and run on the frame clock the same
// however it is split, and end at their limits: the match with its winners
// and score rows, served to a room's players; the mission with an outcome, a
// result screen and the clear time recorded in the pilot's campaign.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "host/host_characters.h"
#include "host/host_services.h"
#include "host/netkorvo.h"
#include "netkorvo/netkorvo.h"
#include "refhost/campaign.h"
#include "refhost/game_setup.h"
#include "refhost/game_state.h"
#include "refhost/host_script.h"
#include "refhost/korvohost.h"
#include "refhost/script_player.h"
#include "refhost/sim_match.h"
#include "refhost/sim_mission.h"
#include "tests/expected/expected_text.h"

using namespace korvohost;

namespace {

using K = SSimMatchEvent::EKind;

constexpr char kScript[] = "data/script/mission/01/mission.txt";

void NoLines(char*, unsigned long) {}

// The shipped script of story mission `n` (1-12).
std::string MissionScript(int n) {
  char path[64];
  std::snprintf(path, sizeof path, "data/script/mission/%02d/mission.txt", n);
  return path;
}

// The shipped game data mounted, the script player on, the clock at 0.
class Sim : public ::testing::Test {
 protected:
  void SetUp() override {
    Reset();
    netkorvo::Reset();
    std::string error;
    ASSERT_TRUE(Mount(KORVO_ASSET_ROOT, &error)) << error;
    std::vector<std::string> errors;
    ASSERT_TRUE(LoadGameDataIntoGame(&errors));
    EnableScriptPlayer(true);
    SetNextStringSink(&NoLines);
    SetTick(0);
  }
  void TearDown() override {
    NET_Release();
    SetMatchStarter(nullptr);
    Reset();
    netkorvo::Reset();
  }

  static SSimMatchSetup Setup(uint32_t seed, int frags, int minutes) {
    SSimMatchSetup setup;
    setup.seed = seed;
    setup.bots = 5;
    setup.fragLimit = frags;
    setup.timeLimitMin = minutes;
    setup.loadMs = 1000;
    return setup;
  }

  // One line per event, as the HUD gets it: "KIND SLOT>OTHER on TEXT".
  static std::string Events(const std::vector<SSimMatchEvent>& events) {
    static const char* const kNames[] = {"loaded", "frag", "overheat", "chat", "item",
                                         "jam",    "hide", "lead",     "notice", "over"};
    std::string out;
    for (const SSimMatchEvent& e : events)
      out += std::string("  ") + kNames[int(e.kind)] + " " + std::to_string(e.slot) + ">" +
             std::to_string(e.other) + (e.on ? " on" : "") + (e.item ? " item" : "") +
             (e.text.empty() ? "" : " " + e.text) + "\n";
    return out;
  }
  // The match as the score table and the game-over screen show it.
  static std::string Standings() {
    const SSimMatchStatus s = SimMatchStatus();
    std::string out = "phase " + std::to_string(int(s.phase)) + " end " + std::to_string(int(s.end)) +
                      " after " + std::to_string(s.elapsedMs) + " ms\n";
    for (int slot : SimMatchStandings()) {
      const SSimMatchPlayer& p = s.players[size_t(slot)];
      char line[160];
      std::snprintf(line, sizeof line, "  %d %s team %d frags %d deaths %d rank %d%s\n", slot, p.name.c_str(),
                    p.team, p.frags, p.deaths, SimMatchRank(slot), SimMatchWinner(slot) ? " winner" : "");
      out += line;
    }
    return out;
  }
  // Runs the clock in steps of `by` until the match is over; its events.
  static std::string RunUntilOver(uint32_t by, uint32_t from = 0) {
    std::string events;
    for (uint32_t t = from + by; t <= 600000 && SimMatchStatus().phase != EMatchPhase::kOver; t += by) {
      SetTick(t);
      events += Events(TakeSimMatchEvents());
    }
    return events;
  }

  // What the loading screen and the HUD read of the mission, and its events.
  static std::string MissionStatus() {
    static const char* const kEvents[] = {"loaded", "destroyed", "overheat", "over"};
    const SSimMissionStatus s = SimMissionStatus();
    std::string out = "outcome " + std::to_string(int(s.outcome)) + " end " + std::to_string(int(s.end));
    if (s.loading) out += " loading " + std::to_string(s.pendingLoaders) + "/" + std::to_string(s.loaders);
    out += " time " + std::to_string(s.playTimeMs) + " left " + std::to_string(s.enemiesLeft) + " on the field " +
           std::to_string(PlayerList.Count()) + " scene " + std::to_string(bSceneActive) + " loop " +
           std::to_string(IsInGameLoop()) + "\n";
    for (const SSimMissionEvent& e : TakeSimMissionEvents())
      out += std::string("  ") + kEvents[int(e.kind)] + " " + std::to_string(e.left) + "\n";
    return out;
  }
  // Runs the clock in steps of `by` from `from` to `to` or the outcome.
  static std::string RunMission(uint32_t from, uint32_t to, uint32_t by) {
    std::string out;
    for (uint32_t t = from + by; t <= to && SimMissionStatus().outcome == ESimOutcome::kRunning; t += by) {
      SetTick(t);
      out += MissionStatus();
    }
    return out;
  }
};

using SimMatch = Sim;
using SimMission = Sim;

// ---- The match ------------------------------------------------------------------------------

// Each match loads, runs and ends as its log shows; the same match on a
// coarser clock gives the same log.
TEST_F(SimMatch, MatchesLoadRunAndEndAtTheirLimit) {
  struct Row {
    const char* name;
    uint32_t seed;
    int frags, minutes;
    bool teams;
  };
  const Row rows[] = {{"alone to 3 frags", 7, 3, 5, false},
                      {"alone for 2 minutes", 7, 0, 2, false},
                      {"two teams to 6 frags", 9, 6, 5, true}};
  std::string text;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    SSimMatchSetup setup = Setup(row.seed, row.frags, row.minutes);
    setup.teams = row.teams;
    std::string runs[2];
    for (int run = 0; run < 2; ++run) {
      SetTick(0);
      std::string error;
      ASSERT_TRUE(StartSimMatch(setup, &error)) << error;
      SSimMatchStatus s = SimMatchStatus();
      runs[run] = "loading " + std::to_string(s.pendingLoaders) + "/" + std::to_string(s.loaders) +
                  ", on the field " + std::to_string(PlayerList.Count()) + ", scene " +
                  std::to_string(bSceneActive) + (pControlCharacter ? ", control" : "") + "\n";
      for (uint32_t t : {500, 1000}) {
        SetTick(t);
        runs[run] += "at " + std::to_string(t) + " ms loading " + std::to_string(SimMatchStatus().pendingLoaders) +
                     ", on the field " + std::to_string(PlayerList.Count()) + "\n" + Events(TakeSimMatchEvents());
      }
      runs[run] += RunUntilOver(run == 0 ? 50 : 1000, 1000);
      runs[run] += Standings();
      const uint32_t over = SimMatchStatus().elapsedMs;
      SetTick(700000);   // over: the clock no longer counts
      EXPECT_EQ(SimMatchStatus().elapsedMs, over);
    }
    EXPECT_EQ(runs[1], runs[0]);
    text += std::string(row.name) + ": " + runs[0];
    EndSimMatch();
  }
  EXPECT_MATCHES_EXPECTED("unit/expected/sim_match_runs.expected", text);
  EXPECT_EQ(SimMatchStatus().phase, EMatchPhase::kNone);
  EXPECT_EQ(pControlCharacter, nullptr);
  EXPECT_EQ(bSceneActive, 0);
  EXPECT_TRUE(Game().objects.empty());
}

// Bad match and mission setups; a match ends the mission that runs, and
// the other way round.
TEST_F(SimMatch, BadSetupsAreRefusedAndOneRunsAtATime) {
  std::string error;
  SSimMatchSetup setup = Setup(1, 0, 0);
  EXPECT_FALSE(StartSimMatch(setup, &error));
  EXPECT_EQ(error, "a match needs a frag or a time limit");
  setup = Setup(1, 5, 0);
  setup.bots = 8;
  EXPECT_FALSE(StartSimMatch(setup, &error));
  EXPECT_EQ(error, "bots must be 1-7");
  EXPECT_EQ(SimMatchStatus().phase, EMatchPhase::kNone);
  SSimMissionSetup mission;
  ASSERT_TRUE(StartSimMission(mission, &error)) << error;
  ASSERT_TRUE(StartSimMatch(Setup(1, 5, 0), &error)) << error;
  EXPECT_EQ(SimMissionStatus().outcome, ESimOutcome::kNone);
  ASSERT_TRUE(StartSimMission(mission, &error)) << error;
  EXPECT_EQ(SimMatchStatus().phase, EMatchPhase::kNone);
  mission.enemies = 0;
  EXPECT_FALSE(StartSimMission(mission, &error));
  EXPECT_EQ(error, "enemies must be 1-16");
  EXPECT_EQ(SimMissionStatus().outcome, ESimOutcome::kRunning);   // the running one stays
  Game().characters.clear();
  mission.enemies = 2;
  EXPECT_FALSE(StartSimMission(mission, &error));
  EXPECT_EQ(error, "no characters in the game data");
  EndSimMission();
  EXPECT_TRUE(Game().objects.empty());
}

// What the room and match screens read of the library: the server's rule,
// limits and map, the client records, and at the end the score rows.
TEST_F(SimMatch, TheNetworkLibraryServesItsRecordsAndScoreRows) {
  SSimMatchRequest request;
  request.rule = "deathmatch";
  request.setup = Setup(5, 4, 5);
  std::string error;
  ASSERT_TRUE(netkorvo::StartSimMatch(request, &error)) << error;
  const SGUI_ServerInfo& info = *GUI_GetServerInfo();
  std::string text = "init " + std::to_string(NET_bInitialized) + " type " + std::to_string(info.type) +
                     " frag " + std::to_string(info.frag) + " time " + std::to_string(info.time) + " map " +
                     info.map + " fraglimit " + std::to_string(CC_Manager::FragLimit) + " teams " +
                     std::to_string(NET_GR_client::IsTeamGame()) + " loaders " +
                     std::to_string(NET_GetNumLoaders()) + "/" + std::to_string(NET_GetTotalNumLoaders()) + "\n";
  for (int slot = 0; slot < 8; ++slot)
    text += "slot " + std::to_string(slot) + " state " + std::to_string(GUI_GetClientInfo(slot)->state) +
            (CC_Manager::GetClientInfo(slot) ? " client" : "") + "\n";

  for (uint32_t t = 100; SimMatchStatus().phase != EMatchPhase::kOver && t < 600000; t += 100) {
    SetTick(t);
    netkorvo::ServiceSimMatch();
  }
  const SSimMatchStatus s = SimMatchStatus();
  ASSERT_EQ(s.phase, EMatchPhase::kOver);
  EXPECT_EQ(CC_Manager::ElapsedTime, int(s.elapsedMs));
  SScoreBoard board;
  NET_GR_client::FillScoreBoard(&board);
  text += std::string("board ") + board.fragTitle + " " + board.slotTitle + "\n";
  for (int i = 0; i < board.rowCount; ++i) {
    const SScoreRow& row = board.rows[i];
    const SSimMatchPlayer& p = s.players[size_t(row.key)];
    text += std::string("  ") + row.name + " " + row.frag + " " + row.slot + " team " + std::to_string(row.team) +
            " rank " + std::to_string(NET_GR_client::GetRankNumber(row.key)) +
            (NET_GR_client::IsWinner(row.key) ? " winner" : "") + (row.highlight ? " highlight" : "") +
            ", client " + std::to_string(CC_Manager::GetClientInfo(row.key)->frags) + ", match " + p.name + " " +
            std::to_string(p.frags) + "/" + std::to_string(p.deaths) + "\n";
  }
  EXPECT_MATCHES_EXPECTED("unit/expected/sim_match_library.expected", text);

  // Leaving ends the match and hands the library back.
  NET_Release();
  EXPECT_EQ(SimMatchStatus().phase, EMatchPhase::kNone);
  EXPECT_EQ(NET_bInitialized, 0);
  EXPECT_EQ(CC_Manager::GetClientInfo(0), nullptr);

  request.rule = "TEAM DEATH MATCH";
  ASSERT_TRUE(netkorvo::StartSimMatch(request, &error)) << error;
  EXPECT_TRUE(NET_GR_client::IsTeamGame());
  EXPECT_EQ(GUI_GetServerInfo()->type, 1);
  EndSimMatch();   // the host's match ends: the library leaves at its next frame
  netkorvo::ServiceSimMatch();
  EXPECT_EQ(NET_bInitialized, 0);
}

// A room's match: the server's leads and keeps what its players are told;
// a player's follows, its control character any slot, and counts nothing
// itself.
TEST_F(SimMatch, TheRoomServersMatchLeadsAndAPlayersFollows) {
  SSimMatchSetup setup = Setup(5, 3, 0);
  for (const char* name : {"HOST", "ACE", "BOT 2"}) {
    SSimMatchPlayer p;
    p.name = name;
    p.bot = name[0] == 'B';
    setup.roster.push_back(p);
  }
  setup.role = ERoomRole::kLeads;
  std::string error;
  ASSERT_TRUE(StartSimMatch(setup, &error)) << error;
  std::string shared;
  int frags = 0, sharedFrags = 0;
  for (uint32_t t = 50; t <= 600000 && SimMatchStatus().phase != EMatchPhase::kOver; t += 50) {
    SetTick(t);
    for (const SSimMatchEvent& e : TakeSimMatchEvents()) frags += e.kind == K::kFrag;
    const std::vector<SSimMatchEvent> events = TakeSimMatchSharedEvents();
    for (const SSimMatchEvent& e : events) sharedFrags += e.kind == K::kFrag;
    shared += Events(events);
  }
  ASSERT_EQ(SimMatchStatus().phase, EMatchPhase::kOver);
  EXPECT_GT(frags, 0);
  EXPECT_EQ(sharedFrags, frags) << "every frag is shared";

  // A player's match: its own fight, but no frag, chat, lead or end of its
  // own; then what the server tells it (an event of a slot out of range or
  // of a kind not the server's to tell is dropped), the server's scores and
  // its winners, not this side's ranks.
  setup.control = 1;
  setup.role = ERoomRole::kFollows;
  setup.seed = 6;
  ASSERT_TRUE(StartSimMatch(setup, &error)) << error;
  SSimMatchStatus s = SimMatchStatus();
  EXPECT_EQ(pControlCharacter, s.players[1].character) << "the control character is slot 1";
  EXPECT_FALSE(s.players[1].bot);
  std::string text = "shared by the server:\n" + shared + "the player's own:\n" + RunUntilOver(50, 0);
  text += Standings();
  EXPECT_TRUE(TakeSimMatchSharedEvents().empty());
  for (const auto& [kind, other] : {std::pair{K::kFrag, 1}, {K::kFrag, 3}, {K::kItem, -1}}) {
    SSimMatchEvent e;
    e.kind = kind;
    e.slot = 0;
    e.other = other;
    FollowSimMatchEvent(e);
  }
  text += "told:\n" + Events(TakeSimMatchEvents());
  FollowSimMatchScores({{3, 0}, {1, 3}, {2, 1}}, 42000);
  FollowSimMatchEnd(EMatchEnd::kFrags, {2, 7});
  text += Standings() + Events(TakeSimMatchEvents());
  EXPECT_MATCHES_EXPECTED("unit/expected/sim_match_room.expected", text);
}

// Its fields and errors: HostScript.ReportsEveryBadLineAndReadsMissionAndMatchLines;
// the shipped match script: GameData.TheShippedDataLoadsCompletely.
TEST_F(SimMatch, AHostScriptsMatchLineAsksForOne) {
  OverlayFile("data/script/match.txt", "match rule=deathmatch frags=2 seed=3\n");
  ExecuteCommand("s_exe data/script/match.txt");
  SetTick(50);
  // Without the network library nobody starts it.
  EXPECT_EQ(TakeScriptErrors(),
            (std::vector<std::string>{"data/script/match.txt: match not started: no network library to start a match"}));
  netkorvo::ServeSimMatches();
  ExecuteCommand("s_exe data/script/match.txt");
  SetTick(100);
  EXPECT_TRUE(TakeScriptErrors().empty());
  EXPECT_EQ(SimMatchStatus().phase, EMatchPhase::kLoading);
  EXPECT_EQ(SimMatchStatus().script, "data/script/match.txt");
  EXPECT_EQ(NET_bInitialized, 1);
  ExecuteCommand("s_terminate data/script/match.txt");   // the match ends with its script
  EXPECT_EQ(SimMatchStatus().phase, EMatchPhase::kNone);
}

// ---- The mission ----------------------------------------------------------------------------

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
    runs[run] = MissionStatus();
    for (uint32_t t = 2000; t <= 8000; t += 1000) {
      for (uint32_t fine = t - 950; run == 0 && fine < t; fine += 50) SetTick(fine);
      SetTick(t);
      runs[run] += "at " + std::to_string(t) + ": " + MissionStatus();
    }
    EXPECT_EQ(SimMissionStatus().script, kScript);
    EXPECT_EQ(Game().scene.ground, "arena.gnd");
    ASSERT_NE(pControlCharacter, nullptr);
    EXPECT_EQ(PlayerList.At(0), pControlCharacter);
    EXPECT_NE(pControlCharacter->weapon, nullptr);
    EXPECT_NE(PlayerList.At(1)->team, pControlCharacter->team);
    if (run == 0) ExecuteCommand((std::string("s_terminate ") + kScript).c_str());
  }
  EXPECT_EQ(runs[1], runs[0]);
  EXPECT_MATCHES_EXPECTED("unit/expected/sim_mission_start.expected", runs[0]);

  ExecuteCommand((std::string("s_terminate ") + kScript).c_str());
  EXPECT_EQ(MissionStatus(), "outcome 0 end 0 time 0 left 0 on the field 0 scene 0 loop 0\n");
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
  const std::string won = RunMission(0, 600000, 1000);
  std::string text = won.substr(won.rfind("outcome"));
  SetTick(SimMissionStatus().playTimeMs + 60000);
  text += "a minute later: " + MissionStatus();
  ReleaseScene();
  text += "released: " + MissionStatus();

  setup.enemies = 16;
  setup.loadMs = 0;
  SetTick(0);
  ASSERT_TRUE(StartSimMission(setup, &error)) << error;
  SetTick(1000);
  SetSimMissionTrigger(false);
  const std::string lost = RunMission(1000, 600000, 1000);
  text += lost.substr(lost.rfind("outcome"));
  EXPECT_EQ(pControlCharacter->armor, 0);
  // The screen after each end: the twelfth mission's win opens the ending, a
  // win of no script the statistics.
  SSimMissionStatus end = SimMissionStatus();
  text += std::string("screen after the loss ") + MissionResultScreen(end) + "\n";
  end.outcome = ESimOutcome::kWon;
  for (const std::string& script : {std::string(), MissionScript(11), MissionScript(12)}) {
    end.script = script;
    text += "screen after a win of '" + script + "' " + MissionResultScreen(end) + "\n";
  }
  EXPECT_MATCHES_EXPECTED("unit/expected/sim_mission_ends.expected", text);
}

TEST_F(SimMission, ThePilotsCharacterAndOptionPartGoIntoIt) {
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
