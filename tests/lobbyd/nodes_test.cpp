// nodes_test.cpp: two korvo-lobbyd nodes on one PostgreSQL (started by the
// test in a temporary folder), clients on each: what only two nodes show —
// players, channels, chat and a game's players crossing nodes, one login per
// account, and a killed node whose players and games leave the other's lists
// (its clients going on to the other node: lobbyd_load_short). What the nodes
// share through the store (throttles, chat buckets) is StoreTest's, on both
// back ends. Every wait is bounded.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <type_traits>

#include <libpq-fe.h>

#include "lobby_pilot.h"
#include "lobbyd/pg_instance.h"
#include "lobbyd/server_process.h"

namespace lobbyd {
namespace {

using SteadyClock = std::chrono::steady_clock;

// What another node's change may take to show here: a notice is applied at
// once; a dead node is noticed after its expiry (2 s here) and a beat.
constexpr int kShowMs = 3000;
constexpr int kDeadNodeGoneMs = 8000;

struct TwoNodesTest : ::testing::Test {
  void SetUp() override {
    std::string error;
    if (!pg.Start(&error)) GTEST_SKIP() << "PostgreSQL tests skipped: " << error;
    for (CServerProcess* node : {&node1, &node2})
      ASSERT_TRUE(node->Start(KORVO_LOBBYD, pg.Url(), {"--hash-cost", "minimum", "--node-expiry-ms", "2000"}, kWaitMs,
                              &error))
          << error;
  }
  // Asks for the list of this kind again and again until `holds` is true of
  // it, within `withinMs`; the time it took, or -1.
  template <typename Event>
  int64_t Until(SPilot& pilot, const std::function<bool(const Event&)>& holds, int withinMs = kShowMs) {
    const auto start = SteadyClock::now();
    while (SteadyClock::now() - start < std::chrono::milliseconds(withinMs)) {
      const bool asked = std::is_same_v<Event, SPlayerListEvent>    ? pilot.client.SendPlayerList()
                         : std::is_same_v<Event, SChannelListEvent> ? pilot.client.SendChannelList()
                                                                    : pilot.client.SendSessionList();
      if (!asked) return -1;
      const auto event = pilot.template Await<Event>();
      if (event && holds(*event))
        return std::chrono::duration_cast<std::chrono::milliseconds>(SteadyClock::now() - start).count();
      pilot.client.Poll(50, &pilot.events);
    }
    return -1;
  }
  static bool HasPlayer(const SPlayerListEvent& list, const std::string& id) {
    return std::any_of(list.players.begin(), list.players.end(), [&](const SPlayer& p) { return p.id == id; });
  }

  CPgInstance pg;
  CServerProcess node1, node2;
};

TEST_F(TwoNodesTest, PlayersChannelsChatAndGamesCrossNodesAndLeaveWithADeadNode) {
  SPilot falcon, raven, twin;
  ASSERT_TRUE(falcon.Connect(node1.Port()));
  ASSERT_TRUE(raven.Connect(node2.Port()));
  ASSERT_TRUE(twin.Connect(node2.Port()));
  ASSERT_EQ(falcon.Register("Falcon"), ECode::kOk);
  // The account made on node 1 logs in on node 2.
  ASSERT_EQ(raven.Login("Falcon"), ECode::kOk);
  ASSERT_EQ(raven.Ask(raven.client.SendLogOut(), EMsg::kLogOut), ECode::kOk);
  ASSERT_EQ(raven.Register("Raven"), ECode::kOk);
  ASSERT_EQ(falcon.Login("Falcon"), ECode::kOk);
  ASSERT_EQ(raven.Login("Raven"), ECode::kOk);
  // One account, one login, whichever node the second try lands on.
  EXPECT_EQ(twin.Login("FALCON", "secret-Falcon"), ECode::kAlreadyLoggedIn);

  // A channel made on node 1 shows, with its member, on node 2, and can be entered there.
  ASSERT_EQ(falcon.Ask(falcon.client.SendChgChannel("Arena"), EMsg::kChgChannel), ECode::kOk);
  ASSERT_GE(Until<SChannelListEvent>(raven,
                                     [](const auto& l) {
                                       return std::any_of(l.channels.begin(), l.channels.end(), [](const SChannel& c) {
                                         return c.name == "Arena" && c.members == 1;
                                       });
                                     }),
            0);
  ASSERT_EQ(raven.Ask(raven.client.SendChgChannel("Arena"), EMsg::kChgChannel), ECode::kOk);
  // Both nodes list both players in it.
  const auto both = [](const SPlayerListEvent& l) {
    return l.players.size() == 2 && HasPlayer(l, "Raven") && HasPlayer(l, "Falcon");
  };
  ASSERT_GE(Until<SPlayerListEvent>(falcon, both), 0);
  ASSERT_GE(Until<SPlayerListEvent>(raven, both), 0);

  // Notices that are not this version's, or do not parse, are dropped.
  PGconn* outsider = PQconnectdb(pg.Url().c_str());
  for (const char* payload : {"garbage", "2\tchat\t999\tArena\tMallory\thi", "1\tchat\t999\tArena\tMallory",
                              "1\tchat\t999\tArena\tMallory\thi\x01", "1\tchat\t999\tArena\tMallory\thi\textra"}) {
    const char* values[] = {"korvo_lobby", payload};
    PQclear(PQexecParams(outsider, "SELECT pg_notify($1, $2)", 2, nullptr, values, nullptr, nullptr, 0));
  }
  PQfinish(outsider);

  // Chat crosses both ways, once.
  ASSERT_TRUE(falcon.client.SendChatMsg("over to node two"));
  ASSERT_TRUE(raven.Await<SChatEvent>([](const auto& c) { return c.text == "over to node two" && c.from == "Falcon"; }));
  ASSERT_TRUE(raven.client.SendChatMsg("and back"));
  ASSERT_TRUE(falcon.Await<SChatEvent>([](const auto& c) { return c.text == "and back" && c.from == "Raven"; }));
  EXPECT_EQ(raven.CountChat("over to node two", 300), 0);   // no second copy
  EXPECT_EQ(raven.CountChat("hi", 0) + raven.CountChat("hi\x01", 0), 0);

  // A locked game of two on node 1: listed on node 2 without its address,
  // joined there with its password, full wherever the next join lands, its
  // players counted on both nodes, a place again when a player leaves.
  ASSERT_TRUE(falcon.client.SendCreateGame("Duel", "pw", 2, 2, "map01.gnd", 7000));
  ASSERT_TRUE(falcon.Await<SGameCreatedEvent>());
  const auto players = [&](SPilot& pilot, int count) {
    return Until<SSessionListEvent>(pilot, [&](const auto& l) {
      return l.sessions.size() == 1 && l.sessions[0].name == "Duel" && l.sessions[0].locked &&
             l.sessions[0].port == 0 && l.sessions[0].players == count;
    });
  };
  ASSERT_GE(players(raven, 1), 0);
  EXPECT_EQ(raven.Ask(raven.client.SendCreateGame("Duel", "", 4), EMsg::kCreateGame), ECode::kGameNameTaken);
  EXPECT_EQ(raven.Ask(raven.client.SendJoinGame("Duel", "wrong", "0.0.0.0"), EMsg::kJoinGame),
            ECode::kWrongGamePassword);
  ASSERT_TRUE(raven.client.SendJoinGame("Duel", "pw", "0.0.0.0"));
  const auto granted = raven.Await<SJoinGrantedEvent>();
  ASSERT_TRUE(granted);
  EXPECT_EQ(granted->address, "127.0.0.1");
  EXPECT_EQ(granted->port, 7000);
  ASSERT_EQ(twin.Register("Crane"), ECode::kOk);
  ASSERT_EQ(twin.Login("Crane"), ECode::kOk);
  EXPECT_EQ(twin.Ask(twin.client.SendJoinGame("Duel", "pw", ""), EMsg::kJoinGame), ECode::kGameFull);
  EXPECT_GE(players(falcon, 2), 0);
  ASSERT_EQ(raven.Ask(raven.client.SendLeaveGame(), EMsg::kLeaveGame), ECode::kOk);
  EXPECT_GE(players(falcon, 1), 0);
  EXPECT_EQ(twin.Ask(twin.client.SendJoinGame("Duel", "pw", ""), EMsg::kJoinGame), ECode::kOk);
  EXPECT_GE(players(raven, 2), 0);

  // Node 1 dies: its player and game leave node 2's lists within a few seconds.
  node1.Kill();
  const int64_t gone =
      Until<SPlayerListEvent>(raven, [](const auto& l) { return !HasPlayer(l, "Falcon"); }, kDeadNodeGoneMs);
  std::printf("the player of the killed node left node 2's list after %lld ms\n", static_cast<long long>(gone));
  ASSERT_GE(gone, 0);
  ASSERT_GE(Until<SSessionListEvent>(raven, [](const auto& l) { return l.sessions.empty(); }), 0);
}

}  // namespace
}  // namespace lobbyd
