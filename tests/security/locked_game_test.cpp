// locked_game_test.cpp: a locked game in the lobby's list shows neither its
// host's address nor its room's port; a join with its password gets them.
#include <gtest/gtest.h>

#include "lobby_probe.h"
#include "lobbyd/server_process.h"
#include "../lobbyd/lobbyd_temp.h"

namespace lobbyd {
namespace {

using probe::CProbe;

TEST(LockedGameProbe, TheListHidesWhereALockedGameRuns) {
  CTempFolder folder;
  CServerProcess server;
  std::string error;
  ASSERT_TRUE(server.Start(probe::ServerProgram(), folder.File("lobby.db"), {"--hash-cost", "minimum"}, 10000,
                           &error))
      << error;
  CProbe host, other;
  for (auto [p, id] : {std::pair{&host, "Falcon"}, std::pair{&other, "Raven"}}) {
    ASSERT_TRUE(p->Connect(server.Port()));
    ASSERT_TRUE(p->Send(EMsg::kNewIdPw, {id, "secret-1", "secret-1", "850307", "p@example.org"}));
    ASSERT_EQ(p->Result(EMsg::kNewIdPw), ECode::kOk);
    ASSERT_TRUE(p->Send(EMsg::kIdPw, {id, "secret-1"}));
    ASSERT_EQ(p->Result(EMsg::kIdPw), ECode::kOk);
  }
  ASSERT_TRUE(host.Send(EMsg::kCreateGame, {"Duel", "pw", "map01.gnd"}, {8, 2, 7000}));
  ASSERT_EQ(host.Result(EMsg::kCreateGame), ECode::kOk);
  other.received.clear();
  ASSERT_TRUE(other.Send(EMsg::kSessionList, {}));
  ASSERT_EQ(other.Result(EMsg::kSessionList), ECode::kOk);
  ASSERT_EQ(other.received.size(), 1u);
  const SMessage& entry = other.received[0];
  std::printf("a locked game listed with address %u and port %u\n", entry.Number(1), entry.Number(2));
  EXPECT_EQ(entry.Number(1), 0u);
  EXPECT_EQ(entry.Number(2), 0u);
  EXPECT_EQ(entry.Number(5), 1u);
  // A wrong password learns nothing; the right one the address and port.
  other.received.clear();
  ASSERT_TRUE(other.Send(EMsg::kJoinGame, {"Duel", "wrong", "0.0.0.0"}));
  EXPECT_EQ(other.Result(EMsg::kJoinGame), ECode::kWrongGamePassword);
  EXPECT_TRUE(other.received.empty());
  ASSERT_TRUE(other.Send(EMsg::kJoinGame, {"Duel", "pw", "0.0.0.0"}));
  ASSERT_EQ(other.Result(EMsg::kJoinGame), ECode::kOk);
  ASSERT_EQ(other.received.size(), 1u);
  EXPECT_EQ(other.received[0].type, EMsg::kJoinGranted);
  EXPECT_EQ(other.received[0].Number(0), 0x7f000001u);
  EXPECT_EQ(other.received[0].Number(1), 7000u);
}

}  // namespace
}  // namespace lobbyd
