// server_process_test.cpp: korvo-lobbyd run as a process on a temporary
// database and a free loopback port, driven through the client library.
// Every wait is bounded in time.
#include <gtest/gtest.h>
#include <sys/socket.h>

#include <chrono>
#include <functional>

#include "lobby_pilot.h"
#include "lobbyd/server_process.h"
#include "lobbyd_temp.h"

namespace lobbyd {
namespace {

struct LobbyServerTest : ::testing::Test {
  void Start() {
    std::string error;
    ASSERT_TRUE(server.Start(KORVO_LOBBYD, folder.File("lobby.db"), {"--hash-cost", "minimum"}, kWaitMs, &error))
        << error;
  }
  void Register(SPilot& pilot, const std::string& id) {
    ASSERT_TRUE(pilot.client.SendNewIdPw(id, "secret-" + id, "secret-" + id, "850307", id + "@example.org"));
    ASSERT_EQ(pilot.Result(EMsg::kNewIdPw), ECode::kOk) << id;
  }
  void Login(SPilot& pilot, const std::string& id) {
    ASSERT_TRUE(pilot.client.SendIdPw(id, "secret-" + id));
    ASSERT_EQ(pilot.Result(EMsg::kIdPw), ECode::kOk) << id;
  }

  CTempFolder folder;
  CServerProcess server;
};

TEST_F(LobbyServerTest, TwoPilotsMeetChatAndSeeEachOthersGame) {
  Start();
  SPilot falcon, raven;
  ASSERT_TRUE(falcon.Connect(server.Port()));
  ASSERT_TRUE(raven.Connect(server.Port()));
  Register(falcon, "Falcon");
  Register(raven, "Raven");
  // A wrong password is refused; the right one logs in.
  ASSERT_TRUE(falcon.client.SendIdPw("Falcon", "not-the-password"));
  EXPECT_EQ(falcon.Result(EMsg::kIdPw), ECode::kWrongLogin);
  Login(falcon, "Falcon");
  Login(raven, "Raven");

  ASSERT_TRUE(falcon.client.SendPrivateInfo());
  const auto own = falcon.Await<SPrivateInfoEvent>();
  ASSERT_TRUE(own);
  EXPECT_EQ(own->own.id, "Falcon");

  for (SPilot* pilot : {&falcon, &raven}) {
    ASSERT_TRUE(pilot->client.SendChgChannel("Arena"));
    const auto changed = pilot->Await<SChannelChangedEvent>();
    ASSERT_TRUE(changed);
    EXPECT_EQ(changed->channel.name, "Arena");
  }
  ASSERT_TRUE(raven.client.SendPlayerList());
  const auto players = raven.Await<SPlayerListEvent>();
  ASSERT_TRUE(players);
  ASSERT_EQ(players->players.size(), 2u);
  EXPECT_EQ(players->players[0].id, "Falcon");
  EXPECT_EQ(players->players[1].id, "Raven");
  ASSERT_TRUE(raven.client.SendChannelList());
  const auto channels = raven.Await<SChannelListEvent>();
  ASSERT_TRUE(channels);
  ASSERT_EQ(channels->channels.size(), 2u);
  EXPECT_EQ(channels->channels[1].name, "Arena");
  EXPECT_EQ(channels->channels[1].members, 2);

  // Chat reaches the other pilot exactly once.
  ASSERT_TRUE(falcon.client.SendChatMsg("ready when you are"));
  EXPECT_EQ(falcon.Result(EMsg::kChatMsg), ECode::kOk);
  const auto line = raven.Await<SChatEvent>();
  ASSERT_TRUE(line);
  EXPECT_EQ(line->from, "Falcon");
  EXPECT_EQ(line->text, "ready when you are");
  EXPECT_EQ(raven.CountChat("ready when you are", 300), 0);   // no second copy

  // A game created online is in the other's list with its host's address.
  ASSERT_TRUE(falcon.client.SendCreateGame("Duel", "pw", 8, 2, "map01.gnd", 7000));
  ASSERT_TRUE(falcon.Await<SGameCreatedEvent>());
  ASSERT_TRUE(raven.client.SendSessionList());
  const auto sessions = raven.Await<SSessionListEvent>();
  ASSERT_TRUE(sessions);
  ASSERT_EQ(sessions->sessions.size(), 1u);
  const SSession& duel = sessions->sessions[0];
  EXPECT_EQ(duel.name, "Duel");
  EXPECT_EQ(duel.map, "map01.gnd");
  EXPECT_EQ(duel.type, 2);
  // Locked: its address and port come with a granted join only.
  EXPECT_EQ((std::vector<int>{duel.address[0], duel.address[1], duel.address[2], duel.address[3], duel.port}),
            (std::vector<int>{0, 0, 0, 0, 0}));
  EXPECT_TRUE(duel.locked);
  ASSERT_TRUE(raven.client.SendJoinGame("Duel", "pw", "0.0.0.0"));
  const auto granted = raven.Await<SJoinGrantedEvent>();
  ASSERT_TRUE(granted);
  EXPECT_EQ(granted->address, "127.0.0.1");
  EXPECT_EQ(granted->port, 7000);
  ASSERT_TRUE(falcon.client.SendSessionInfo("Duel"));
  const auto info = falcon.Await<SSessionInfoEvent>();
  ASSERT_TRUE(info);
  EXPECT_EQ(info->name, "Duel");
  ASSERT_EQ(info->players.size(), 2u);
  EXPECT_EQ(info->players[1].id, "Raven");
  EXPECT_EQ(info->players[1].slot, 2);
}

TEST_F(LobbyServerTest, RequestsSentBehindALoginWaitForIt) {
  Start();
  SPilot falcon;
  ASSERT_TRUE(falcon.Connect(server.Port()));
  Register(falcon, "Falcon");
  // Sent at once: the login's password check runs on a worker, the next
  // requests are answered after it and in their order.
  ASSERT_TRUE(falcon.client.SendIdPw("Falcon", "secret-Falcon"));
  ASSERT_TRUE(falcon.client.SendPrivateInfo());
  ASSERT_TRUE(falcon.client.SendChatMsg("first line"));
  std::vector<EMsg> order;
  for (int i = 0; i < 3; ++i) {
    const auto result = falcon.Await<SResultEvent>();
    ASSERT_TRUE(result);
    EXPECT_EQ(result->code, ECode::kOk) << static_cast<int>(result->request);
    order.push_back(result->request);
  }
  EXPECT_EQ(order, (std::vector<EMsg>{EMsg::kIdPw, EMsg::kPrivateInfo, EMsg::kChatMsg}));
}

TEST_F(LobbyServerTest, ThrottlingEngagesAfterFiveFailures) {
  Start();
  SPilot falcon;
  ASSERT_TRUE(falcon.Connect(server.Port()));
  Register(falcon, "Falcon");
  for (int i = 0; i < 5; ++i) {
    ASSERT_TRUE(falcon.client.SendIdPw("Falcon", "wrong-" + std::to_string(i)));
    EXPECT_EQ(falcon.Result(EMsg::kIdPw), ECode::kWrongLogin) << i;
  }
  ASSERT_TRUE(falcon.client.SendIdPw("Falcon", "secret-Falcon"));
  EXPECT_EQ(falcon.Result(EMsg::kIdPw), ECode::kThrottled);
}

TEST_F(LobbyServerTest, KilledServerKeepsEveryAnsweredAccount) {
  Start();
  {
    SPilot pilot;
    ASSERT_TRUE(pilot.Connect(server.Port()));
    for (int i = 0; i < 10; ++i) Register(pilot, "Pilot" + std::to_string(i));
  }
  server.Kill();   // SIGKILL right after the last answer
  Start();
  SPilot pilot;
  ASSERT_TRUE(pilot.Connect(server.Port()));
  for (int i = 0; i < 10; ++i) {
    ASSERT_TRUE(pilot.client.SendIdPw("Pilot" + std::to_string(i), "secret-Pilot" + std::to_string(i)));
    ASSERT_EQ(pilot.Result(EMsg::kIdPw), ECode::kOk) << i;
    ASSERT_TRUE(pilot.client.SendLogOut());
    ASSERT_EQ(pilot.Result(EMsg::kLogOut), ECode::kOk);
  }
  ASSERT_TRUE(pilot.client.SendNewIdPw("Pilot3", "another1", "another1", "850307", "p@example.org"));
  EXPECT_EQ(pilot.Result(EMsg::kNewIdPw), ECode::kIdTaken);
}

TEST_F(LobbyServerTest, MalformedInputClosesThatConnectionOnly) {
  Start();
  SPilot good;
  ASSERT_TRUE(good.Connect(server.Port()));
  Register(good, "Falcon");
  Login(good, "Falcon");
  const std::vector<std::vector<uint8_t>> attacks = {
      {0xff, 0xff, 1, 1},                 // frame longer than allowed
      {0x00, 0x03, 9, 13, 0},             // unknown version
      {0x00, 0x04, 1, 13, 1, 0},          // NUL in a text
      {0x00, 0x04, 1, 64, 0, 0},          // an answer sent as a request
  };
  for (const auto& bytes : attacks) {
    SPilot bad;
    ASSERT_TRUE(bad.Connect(server.Port()));
    ASSERT_EQ(send(bad.client.Fd(), bytes.data(), bytes.size(), MSG_NOSIGNAL), static_cast<ssize_t>(bytes.size()));
    EXPECT_TRUE(bad.Await<SDisconnectedEvent>());
  }
  // The well-behaved client is still served.
  ASSERT_TRUE(good.client.SendPrivateInfo());
  EXPECT_EQ(good.Result(EMsg::kPrivateInfo), ECode::kOk);
}

}  // namespace
}  // namespace lobbyd
