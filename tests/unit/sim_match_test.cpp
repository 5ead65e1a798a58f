// The simulated match: it loads, then the frame clock moves the players and
// counts frags and time, the same however the clock is split; it ends at its
// frag or time limit with its winners; the network library serves it (client
// records, score rows, ranks, winners) until NET_Release; a host script's
// match line asks for one.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "host/host_characters.h"
#include "host/host_services.h"
#include "host/netkorvo.h"
#include "korvogui/room.h"
#include "netkorvo/netkorvo.h"
#include "refhost/game_setup.h"
#include "refhost/game_state.h"
#include "refhost/host_script.h"
#include "refhost/korvohost.h"
#include "refhost/script_player.h"
#include "refhost/sim_match.h"
#include "refhost/sim_mission.h"

using namespace korvohost;

namespace {

void NoLines(char*, unsigned long) {}

class SimMatch : public ::testing::Test {
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

  // Everything the HUD and the tables can read of the match, and its events.
  static std::string Snapshot(std::string* events) {
    const SSimMatchStatus s = SimMatchStatus();
    std::string out = "phase=" + std::to_string(int(s.phase)) + " end=" + std::to_string(int(s.end)) +
                      " time=" + std::to_string(s.elapsedMs) + " overheats=" + std::to_string(s.overheats);
    for (const SSimMatchPlayer& p : s.players) {
      char line[200];
      std::snprintf(line, sizeof line, "\n%s f=%d d=%d a=%d s=%d h=%.1f x=%.3f z=%.3f", p.name.c_str(), p.frags,
                    p.deaths, p.character->armor, p.character->shield, p.character->heat.GetGauge(),
                    p.character->x, p.character->z);
      out += line;
    }
    TakeEvents(events);
    return out;
  }
  // The events since the last call, as "KIND:SLOT:OTHER:ON:TEXT" lines.
  static void TakeEvents(std::string* events) {
    for (const SSimMatchEvent& e : TakeSimMatchEvents())
      *events += std::to_string(int(e.kind)) + ":" + std::to_string(e.slot) + ":" + std::to_string(e.other) + ":" +
                 std::to_string(e.on) + ":" + e.text + "\n";
  }

  // Runs the clock in steps of `by` until the match is over or `until`.
  static void RunUntilOver(uint32_t by, uint32_t until, std::string* events) {
    for (uint32_t t = by; t <= until && SimMatchStatus().phase != EMatchPhase::kOver; t += by) {
      SetTick(t);
      TakeEvents(events);
    }
  }
};

TEST_F(SimMatch, ItLoadsThenThePlayersFightOnTheFrameClock) {
  std::string error;
  ASSERT_TRUE(StartSimMatch(Setup(1, 0, 5), &error)) << error;
  SSimMatchStatus s = SimMatchStatus();
  EXPECT_EQ(s.phase, EMatchPhase::kLoading);
  EXPECT_EQ(s.loaders, 6);
  EXPECT_EQ(s.pendingLoaders, 6);
  EXPECT_EQ(PlayerList.Count(), 0);   // nobody on the field while it loads
  ASSERT_NE(pControlCharacter, nullptr);
  EXPECT_EQ(bSceneActive, 1);
  SetTick(500);
  EXPECT_EQ(SimMatchStatus().pendingLoaders, 3);
  EXPECT_TRUE(TakeSimMatchEvents().empty());
  SetTick(1000);
  s = SimMatchStatus();
  EXPECT_EQ(s.phase, EMatchPhase::kRunning);
  EXPECT_EQ(s.elapsedMs, 0u);
  EXPECT_EQ(PlayerList.Count(), 6);
  const std::vector<SSimMatchEvent> loaded = TakeSimMatchEvents();
  ASSERT_EQ(loaded.size(), 1u);
  EXPECT_EQ(loaded[0].kind, SSimMatchEvent::EKind::kLoaded);
  // Everybody on his own: no two teams alike.
  for (size_t i = 0; i < s.players.size(); ++i)
    for (size_t j = i + 1; j < s.players.size(); ++j) EXPECT_NE(s.players[i].team, s.players[j].team);

  const CHARACTER start = *pControlCharacter;
  using K = SSimMatchEvent::EKind;
  std::map<K, int> count, on;   // events of each kind; those that switch something on
  bool heated = false;
  for (uint32_t t = 1050; t <= 61000; t += 50) {
    SetTick(t);
    heated = heated || pControlCharacter->heat.GetGauge() > 0;
    for (const SSimMatchEvent& e : TakeSimMatchEvents()) {
      ++count[e.kind];
      on[e.kind] += e.on;
      EXPECT_TRUE(e.kind != K::kChat || !e.text.empty());
      EXPECT_TRUE(e.kind != K::kItem || e.item != nullptr);
    }
  }
  s = SimMatchStatus();
  EXPECT_EQ(s.elapsedMs, 60000u);
  EXPECT_NE(pControlCharacter->x, start.x);
  EXPECT_TRUE(heated);
  int total = 0, deaths = 0;
  for (const SSimMatchPlayer& p : s.players) total += p.frags, deaths += p.deaths;
  EXPECT_GT(count[K::kFrag], 0);
  EXPECT_EQ(total, count[K::kFrag]);   // one event per frag
  EXPECT_EQ(deaths, count[K::kFrag]);
  EXPECT_EQ(count[K::kOverheat], s.overheats);
  EXPECT_GE(count[K::kChat], 4);
  EXPECT_GE(on[K::kItem], 3);
  EXPECT_EQ(on[K::kJam], 2);   // at 20 and 45 seconds
  EXPECT_GE(on[K::kHide], 1);

  EndSimMatch();
  EXPECT_EQ(SimMatchStatus().phase, EMatchPhase::kNone);
  EXPECT_EQ(pControlCharacter, nullptr);
  EXPECT_EQ(bSceneActive, 0);
  EXPECT_TRUE(Game().objects.empty());
}

TEST_F(SimMatch, TheSameSeedAndClockGiveTheSameMatchHoweverTheClockIsSplit) {
  std::string error, fineEvents, coarseEvents;
  ASSERT_TRUE(StartSimMatch(Setup(42, 0, 5), &error)) << error;
  for (uint32_t t = 0; t <= 30000; t += 17) SetTick(t);
  SetTick(30000);
  const std::string fine = Snapshot(&fineEvents);
  SetTick(0);
  ASSERT_TRUE(StartSimMatch(Setup(42, 0, 5), &error)) << error;
  for (uint32_t t = 0; t <= 30000; t += 1000) SetTick(t);
  EXPECT_EQ(Snapshot(&coarseEvents), fine);
  EXPECT_EQ(coarseEvents, fineEvents);
  EXPECT_NE(fine.find("time=29000"), std::string::npos) << fine;   // one second of loading
}

TEST_F(SimMatch, ItEndsAtTheFragLimitOrTheTimeLimit) {
  std::string error, events;
  ASSERT_TRUE(StartSimMatch(Setup(7, 3, 5), &error)) << error;
  RunUntilOver(100, 300000, &events);
  SSimMatchStatus s = SimMatchStatus();
  ASSERT_EQ(s.phase, EMatchPhase::kOver);
  EXPECT_EQ(s.end, EMatchEnd::kFrags);
  int best = 0, winners = 0;
  for (const SSimMatchPlayer& p : s.players) best = std::max(best, p.frags);
  EXPECT_EQ(best, 3);
  for (size_t i = 0; i < s.players.size(); ++i) {
    EXPECT_EQ(SimMatchWinner(int(i)), s.players[i].frags == best);
    winners += SimMatchWinner(int(i));
    EXPECT_EQ(SimMatchRank(int(i)) == 1, s.players[i].frags == best);
  }
  EXPECT_GE(winners, 1);
  EXPECT_NE(events.find(std::to_string(int(SSimMatchEvent::EKind::kOver)) + ":-1:-1:"), std::string::npos);
  const uint32_t over = s.elapsedMs;
  SetTick(400000);   // over: the clock no longer counts
  EXPECT_EQ(SimMatchStatus().elapsedMs, over);
  EXPECT_EQ(SimMatchStatus().phase, EMatchPhase::kOver);

  events.clear();
  SetTick(0);
  ASSERT_TRUE(StartSimMatch(Setup(7, 0, 2), &error)) << error;
  RunUntilOver(250, 600000, &events);
  s = SimMatchStatus();
  EXPECT_EQ(s.end, EMatchEnd::kTime);
  EXPECT_EQ(s.elapsedMs, 120000u);
  EXPECT_NE(events.find("ONE MINUTE LEFT"), std::string::npos);
  EXPECT_EQ(events.find("ONE MINUTE LEFT"), events.rfind("ONE MINUTE LEFT"));

  // A team game ends when a team reaches the limit; the team wins together.
  SSimMatchSetup teams = Setup(9, 6, 5);
  teams.teams = true;
  SetTick(0);
  ASSERT_TRUE(StartSimMatch(teams, &error)) << error;
  RunUntilOver(100, 600000, &events);
  s = SimMatchStatus();
  ASSERT_EQ(s.end, EMatchEnd::kFrags);
  int teamFrags[2] = {};
  for (const SSimMatchPlayer& p : s.players) {
    ASSERT_TRUE(p.team == 0 || p.team == 1);
    teamFrags[p.team] += p.frags;
  }
  const int winner = teamFrags[0] >= 6 ? 0 : 1;
  EXPECT_GE(teamFrags[winner], 6);
  for (size_t i = 0; i < s.players.size(); ++i) EXPECT_EQ(SimMatchWinner(int(i)), s.players[i].team == winner);
}

TEST_F(SimMatch, BadSetupsAreRefused) {
  std::string error;
  SSimMatchSetup setup = Setup(1, 0, 0);
  EXPECT_FALSE(StartSimMatch(setup, &error));
  EXPECT_EQ(error, "a match needs a frag or a time limit");
  setup = Setup(1, 5, 0);
  setup.bots = 8;
  EXPECT_FALSE(StartSimMatch(setup, &error));
  EXPECT_EQ(error, "bots must be 1-7");
  EXPECT_EQ(SimMatchStatus().phase, EMatchPhase::kNone);
  // A match ends the mission that runs, and the other way round.
  SSimMissionSetup mission;
  ASSERT_TRUE(StartSimMission(mission, &error)) << error;
  ASSERT_TRUE(StartSimMatch(Setup(1, 5, 0), &error)) << error;
  EXPECT_EQ(SimMissionStatus().outcome, ESimOutcome::kNone);
  ASSERT_TRUE(StartSimMission(mission, &error)) << error;
  EXPECT_EQ(SimMatchStatus().phase, EMatchPhase::kNone);
  EndSimMission();
  EXPECT_TRUE(Game().objects.empty());
}

TEST_F(SimMatch, TheNetworkLibraryServesItsRecordsAndScoreRows) {
  SSimMatchRequest request;
  request.rule = "deathmatch";
  request.setup = Setup(5, 4, 5);
  std::string error;
  ASSERT_TRUE(netkorvo::StartSimMatch(request, &error)) << error;
  EXPECT_EQ(NET_bInitialized, 1);
  EXPECT_EQ(GUI_GetServerInfo()->type, 0);
  EXPECT_EQ(GUI_GetServerInfo()->frag, 4);
  EXPECT_EQ(GUI_GetServerInfo()->time, 5);
  EXPECT_STREQ(GUI_GetServerInfo()->map, "canyon.gnd-DE-TE");   // a map of the rule
  EXPECT_EQ(CC_Manager::FragLimit, 4);
  EXPECT_FALSE(NET_GR_client::IsTeamGame());
  EXPECT_EQ(NET_GetTotalNumLoaders(), 6);
  EXPECT_EQ(NET_GetNumLoaders(), 6);
  ASSERT_NE(CC_Manager::GetClientInfo(5), nullptr);
  EXPECT_EQ(CC_Manager::GetClientInfo(6), nullptr);
  EXPECT_EQ(GUI_GetClientInfo(1)->state, 1);   // a bot's slot
  EXPECT_EQ(GUI_GetClientInfo(6)->state, 0);

  for (uint32_t t = 100; SimMatchStatus().phase != EMatchPhase::kOver && t < 600000; t += 100) {
    SetTick(t);
    netkorvo::ServiceSimMatch();
  }
  const SSimMatchStatus s = SimMatchStatus();
  ASSERT_EQ(s.phase, EMatchPhase::kOver);
  EXPECT_EQ(CC_Manager::ElapsedTime, int(s.elapsedMs));
  SScoreBoard board;
  NET_GR_client::FillScoreBoard(&board);
  ASSERT_EQ(board.rowCount, 6);
  EXPECT_STREQ(board.fragTitle, "FRAGS");
  EXPECT_STREQ(board.slotTitle, "DEATHS");
  int highlighted = 0;
  for (int i = 0; i < board.rowCount; ++i) {
    const SScoreRow& row = board.rows[i];
    const SSimMatchPlayer& p = s.players[size_t(row.key)];
    EXPECT_STREQ(row.name, p.name.c_str());
    EXPECT_EQ(std::atoi(row.frag), p.frags);
    EXPECT_EQ(std::atoi(row.slot), p.deaths);
    EXPECT_EQ(CC_Manager::GetClientInfo(row.key)->frags, p.frags);
    EXPECT_EQ(row.team, p.team);
    highlighted += row.highlight;
    if (i > 0) {
      const int before = std::atoi(board.rows[i - 1].frag), now = std::atoi(row.frag);
      EXPECT_GE(before, now);
      EXPECT_EQ(NET_GR_client::GetRankNumber(row.key) == NET_GR_client::GetRankNumber(board.rows[i - 1].key),
                before == now);
    }
  }
  EXPECT_EQ(highlighted, 1);
  EXPECT_EQ(NET_GR_client::GetRankNumber(board.rows[0].key), 1);
  EXPECT_TRUE(NET_GR_client::IsWinner(board.rows[0].key));
  EXPECT_EQ(std::atoi(board.rows[0].frag), 4);


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
  int frags = 0, sharedFrags = 0;
  for (uint32_t t = 50; t <= 600000 && SimMatchStatus().phase != EMatchPhase::kOver; t += 50) {
    SetTick(t);
    for (const SSimMatchEvent& e : TakeSimMatchEvents()) frags += e.kind == SSimMatchEvent::EKind::kFrag;
    for (const SSimMatchEvent& e : TakeSimMatchSharedEvents()) {
      EXPECT_TRUE(e.kind == SSimMatchEvent::EKind::kFrag || e.kind == SSimMatchEvent::EKind::kChat ||
                  e.kind == SSimMatchEvent::EKind::kLead || e.kind == SSimMatchEvent::EKind::kNotice)
          << int(e.kind);
      EXPECT_TRUE(e.kind != SSimMatchEvent::EKind::kChat || e.slot == 2) << "only the bot chats: " << e.slot;
      sharedFrags += e.kind == SSimMatchEvent::EKind::kFrag;
    }
  }
  ASSERT_EQ(SimMatchStatus().phase, EMatchPhase::kOver);
  EXPECT_GT(frags, 0);
  EXPECT_EQ(sharedFrags, frags) << "every frag is shared";

  setup.control = 1;
  setup.role = ERoomRole::kFollows;
  setup.seed = 6;
  ASSERT_TRUE(StartSimMatch(setup, &error)) << error;
  SSimMatchStatus s = SimMatchStatus();
  EXPECT_EQ(s.control, 1);
  EXPECT_EQ(pControlCharacter, s.players[1].character) << "the control character is slot 1";
  EXPECT_FALSE(s.players[1].bot);
  std::string events;
  RunUntilOver(50, 300000, &events);
  s = SimMatchStatus();
  EXPECT_EQ(s.phase, EMatchPhase::kRunning) << "no end of its own";
  for (const SSimMatchPlayer& p : s.players) EXPECT_EQ(p.frags + p.deaths, 0) << p.name;
  for (const char* kind : {"1:", "3:", "7:", "9:"})   // frag, chat, lead, over
    EXPECT_EQ(("\n" + events).find(std::string("\n") + kind), std::string::npos) << kind << "\n" << events;
  EXPECT_TRUE(TakeSimMatchSharedEvents().empty());

  SSimMatchEvent frag;
  frag.kind = SSimMatchEvent::EKind::kFrag;
  frag.slot = 0;
  frag.other = 1;
  FollowSimMatchEvent(frag);
  frag.other = 3;                                   // nobody
  FollowSimMatchEvent(frag);
  SSimMatchEvent item;
  item.kind = SSimMatchEvent::EKind::kItem;         // not the server's to tell
  FollowSimMatchEvent(item);
  const std::vector<SSimMatchEvent> taken = TakeSimMatchEvents();
  ASSERT_EQ(taken.size(), 1u);
  EXPECT_EQ(taken[0].kind, SSimMatchEvent::EKind::kFrag);
  EXPECT_EQ(taken[0].other, 1);

  FollowSimMatchScores({{3, 0}, {1, 3}, {2, 1}}, 42000);
  s = SimMatchStatus();
  EXPECT_EQ(s.elapsedMs, 42000u);
  EXPECT_EQ(s.players[0].frags, 3);
  EXPECT_EQ(s.players[1].deaths, 3);
  EXPECT_EQ(SimMatchStandings(), (std::vector<int>{0, 2, 1}));
  FollowSimMatchEnd(EMatchEnd::kFrags, {2, 7});
  s = SimMatchStatus();
  EXPECT_EQ(s.phase, EMatchPhase::kOver);
  EXPECT_EQ(s.end, EMatchEnd::kFrags);
  EXPECT_TRUE(SimMatchWinner(2));
  EXPECT_FALSE(SimMatchWinner(0)) << "the server's winners, not this side's ranks";
  const std::vector<SSimMatchEvent> over = TakeSimMatchEvents();
  ASSERT_FALSE(over.empty());
  EXPECT_EQ(over.back().kind, SSimMatchEvent::EKind::kOver);
}

TEST_F(SimMatch, AHostScriptsMatchLineAsksForOne) {
  std::vector<SScriptStep> steps;
  std::vector<std::string> errors;
  ASSERT_TRUE(ParseHostScript("match\nmatch rule=team-death-match bots=7 frags=0 time=2 seed=9 map=arena.gnd\n",
                              "s", &steps, &errors));
  ASSERT_EQ(steps.size(), 2u);
  EXPECT_EQ(steps[0].kind, SScriptStep::EKind::kMatch);
  EXPECT_EQ(steps[0].match.rule, "deathmatch");
  EXPECT_EQ(steps[1].match.rule, "team-death-match");
  EXPECT_EQ(steps[1].match.setup.bots, 7);
  EXPECT_EQ(steps[1].match.setup.fragLimit, 0);
  EXPECT_EQ(steps[1].match.setup.timeLimitMin, 2);
  EXPECT_EQ(steps[1].match.setup.seed, 9u);
  EXPECT_EQ(steps[1].match.setup.map, "arena.gnd");
  EXPECT_FALSE(ParseHostScript("match bots=8\nmatch frags=0 time=0\nmatch rule\nmatch team=1\n", "s", &steps, &errors));
  EXPECT_EQ(errors, (std::vector<std::string>{"s:1: bad bots '8' (1-7)", "s:2: a match needs a frag or a time limit",
                                              "s:3: bad match field 'rule' (NAME=VALUE)",
                                              "s:4: unknown match field 'team'"}));

  // The shipped match script asks for one.
  std::string bytes;
  ASSERT_TRUE(ReadFile("data/script/match/deathmatch.txt", &bytes));
  ASSERT_TRUE(ParseHostScript(bytes, "deathmatch", &steps, &errors));
  ASSERT_EQ(steps.size(), 1u);
  EXPECT_EQ(steps[0].kind, SScriptStep::EKind::kMatch);

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

}  // namespace
