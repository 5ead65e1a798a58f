// nodes_test.cpp: two lobbies (nodes) on one PostgreSQL started by the test,
// driven without sockets as LobbyTest drives one: players, channels, chat and
// games crossing nodes, one login per account, notices that break the rules,
// and a node that stops (its players and games leave the other's lists) and
// goes on under a new number, logged against lobbyd/expected/two_nodes.expected.
// Two processes, one killed, are lobbyd_load_short's; what the stores share
// (throttles, chat buckets) is StoreTest's. Every wait is bounded.
#include <gtest/gtest.h>
#include <libpq-fe.h>
#include <poll.h>

#include <chrono>
#include <sstream>
#include <thread>

#include "expected_text.h"
#include "lobby_log.h"
#include "lobbyd/pg_instance.h"
#include "lobbyd/store_pg.h"

namespace lobbyd {
namespace {

struct TwoNodesTest : ::testing::Test {
  void SetUp() override {
    ASSERT_TRUE(CPasswordHasher::Initialize());
    std::string error;
    if (!pg.Start(&error)) GTEST_SKIP() << "PostgreSQL tests skipped: " << error;
    SLobbyLimits limits;
    limits.nodeExpiryMs = 200;
    for (SLoggedLobby* node : {&one, &two}) {
      stores.push_back(CStore::Open(pg.Url(), &error));
      ASSERT_TRUE(stores.back()) << error;
      node->Make(*stores.back(), passwords, &now, &out, node == &one ? "A" : "B", limits);
    }
  }
  void TearDown() override {
    one.lobby.reset();
    two.lobby.reset();
  }
  // Lets each node take the other's notices until neither has heard one for
  // 100 ms (at most 10 s), then logs what they sent meanwhile.
  void Settle() {
    out << "(the nodes settle)\n";
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    for (int quiet = 0; quiet < 2 && std::chrono::steady_clock::now() < end;) {
      one.lobby->NodesTick();
      two.lobby->NodesTick();
      pollfd notices[2] = {{one.lobby->NoticeFd(), POLLIN, 0}, {two.lobby->NoticeFd(), POLLIN, 0}};
      quiet = poll(notices, 2, 50) == 0 ? quiet + 1 : 0;
    }
    one.Sent();
    two.Sent();
  }

  CPgInstance pg;
  std::vector<std::unique_ptr<CStore>> stores;
  CInlinePasswordWork passwords{CPasswordHasher(MinimumCost())};
  int64_t now = 5'000'000;
  std::ostringstream out;
  SLoggedLobby one, two;
};

TEST_F(TwoNodesTest, PlayersChannelsChatAndGamesCrossNodesAndLeaveWithAStoppedNode) {
  Settle();
  // The account made on node A logs in on node B; one login per account,
  // whichever node the second try lands on.
  one.Connect(1);
  one.Register(1, "Falcon");
  two.Connect(2);
  two.Login(2, "Falcon");
  two.Ask(2, EMsg::kLogOut, {});
  two.Register(2, "Raven");
  one.Login(1, "Falcon");
  two.Login(2, "Raven");
  two.Connect(3);
  two.Ask(3, EMsg::kIdPw, {"FALCON", "secret-Falcon"});
  Settle();
  // A channel made on A shows, with its member, on B, and is entered there.
  one.Ask(1, EMsg::kChgChannel, {"Arena"});
  Settle();
  // A's claim of its own player's row holds (a row a logout could not clear);
  // B refuses quietly to remove a channel a player of A is in.
  CPgStore* a = static_cast<CPgStore*>(stores[0].get());
  CPgStore* b = static_cast<CPgStore*>(stores[1].get());
  EXPECT_EQ(a->Claim(*a->FindAccount("Falcon"), "Arena"), CPgStore::EClaim::kClaimed);
  EXPECT_TRUE(b->RemoveChannel("Arena"));
  EXPECT_EQ(b->Channels(), (std::vector<std::string>{kDefaultChannel, "Arena"}));
  two.Ask(2, EMsg::kChannelList, {});
  two.Ask(2, EMsg::kChgChannel, {"Arena"});
  Settle();
  one.Ask(1, EMsg::kPlayerList, {});
  two.Ask(2, EMsg::kPlayerList, {});

  // Notices that are not this version's, or do not parse, are dropped.
  PGconn* outsider = PQconnectdb(pg.Url().c_str());
  for (const char* payload : {"garbage", "2\tchat\t999\tArena\tMallory\thi", "1\tchat\t999\tArena\tMallory",
                              "1\tchat\t999\tArena\tMallory\thi\x01", "1\tchat\t999\tArena\tMallory\thi\textra"}) {
    const char* values[] = {"korvo_lobby", payload};
    PQclear(PQexecParams(outsider, "SELECT pg_notify($1, $2)", 2, nullptr, values, nullptr, nullptr, 0));
  }
  PQfinish(outsider);
  Settle();
  // Chat crosses both ways, once.
  one.Ask(1, EMsg::kChatMsg, {"over to node B"});
  Settle();
  two.Ask(2, EMsg::kChatMsg, {"and back"});
  Settle();

  // A locked game of two on A: listed on B without its address, joined
  // there with its password, full wherever the next join lands, its players
  // counted on both nodes, a place again when a player leaves.
  one.Ask(1, EMsg::kCreateGame, {"Duel", "pw", "map01.gnd"}, {2, 2, 7000});
  Settle();
  two.Ask(2, EMsg::kSessionList, {});
  two.Ask(2, EMsg::kCreateGame, {"Duel", "", "map01.gnd"}, {4, 0, 7001});
  two.Ask(2, EMsg::kJoinGame, {"Duel", "wrong", "0.0.0.0"});
  two.Ask(2, EMsg::kJoinGame, {"Duel", "pw", "0.0.0.0"});
  two.Register(3, "Crane");
  two.Login(3, "Crane");
  two.Ask(3, EMsg::kJoinGame, {"Duel", "pw", ""});
  Settle();
  one.Ask(1, EMsg::kSessionList, {});
  two.Ask(2, EMsg::kLeaveGame, {});
  Settle();
  one.Ask(1, EMsg::kSessionList, {});
  two.Ask(3, EMsg::kJoinGame, {"Duel", "pw", ""});
  Settle();
  two.Ask(2, EMsg::kSessionList, {});

  // Node A stops: B, beating, takes it for dead after the expiry, and its
  // player and game leave B's lists.
  out << "(node A stops)\n";
  const int64_t oldNumber = a->Node();
  std::vector<SOnlinePlayer> others = {{}};
  for (int i = 0; i < 100 && !others.empty(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    now += SLobbyLimits().heartbeatMs;
    two.lobby->NodesTick();
    others.clear();
    ASSERT_TRUE(b->OtherPlayers(&others));
  }
  two.Sent();
  two.Ask(2, EMsg::kPlayerList, {});
  two.Ask(2, EMsg::kSessionList, {});
  // Beating again, A enters under a new number and claims its player again.
  out << "(node A goes on)\n";
  Settle();
  EXPECT_NE(a->Node(), oldNumber);
  two.Ask(2, EMsg::kPlayerList, {});
  EXPECT_MATCHES_EXPECTED("lobbyd/expected/two_nodes.expected", out.str());
}

}  // namespace
}  // namespace lobbyd
