// server_process_test.cpp: korvo-lobbyd run as a process on a temporary
// database and a free loopback port, driven through the client library.
// Every wait is bounded in time.
#include <gtest/gtest.h>
#include <sys/socket.h>

#include "expected_text.h"
#include "lobby_pilot.h"

namespace lobbyd {
namespace {

struct LobbyServerTest : ::testing::Test {
  void SetUp() override { ASSERT_TRUE(server.Start(KORVO_LOBBYD)); }
  SLobbyServer server;
};

TEST_F(LobbyServerTest, RequestsSentBehindALoginWaitForIt) {
  SPilot falcon;
  ASSERT_TRUE(falcon.Connect(server.Port()));
  ASSERT_EQ(falcon.Register("Falcon"), ECode::kOk);
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

TEST_F(LobbyServerTest, KilledServerKeepsEveryAnsweredAccount) {
  {
    SPilot pilot;
    ASSERT_TRUE(pilot.Connect(server.Port()));
    for (int i = 0; i < 10; ++i) ASSERT_EQ(pilot.Register("Pilot" + std::to_string(i)), ECode::kOk);
  }
  server.process.Kill();   // SIGKILL right after the last answer
  ASSERT_TRUE(server.Start(KORVO_LOBBYD));
  SPilot pilot;
  ASSERT_TRUE(pilot.Connect(server.Port()));
  for (int i = 0; i < 10; ++i) {
    ASSERT_EQ(pilot.Login("Pilot" + std::to_string(i)), ECode::kOk) << i;
    ASSERT_EQ(pilot.Ask(pilot.client.SendLogOut(), EMsg::kLogOut), ECode::kOk);
  }
  EXPECT_EQ(pilot.Register("Pilot3"), ECode::kIdTaken);
}

TEST_F(LobbyServerTest, MalformedInputClosesThatConnectionOnly) {
  SPilot good;
  ASSERT_TRUE(good.Connect(server.Port()));
  ASSERT_EQ(good.Register("Falcon"), ECode::kOk);
  ASSERT_EQ(good.Login("Falcon"), ECode::kOk);
  const std::vector<std::vector<uint8_t>> attacks = {
      {0xff, 0xff, 1, 1},          // frame longer than allowed
      {0x00, 0x04, kProtocolVersion, 64, 0, 0},   // an answer sent as a request
  };
  for (const auto& bytes : attacks) {
    SPilot bad;
    ASSERT_TRUE(bad.Connect(server.Port()));
    ASSERT_EQ(send(bad.client.Fd(), bytes.data(), bytes.size(), MSG_NOSIGNAL), static_cast<ssize_t>(bytes.size()));
    EXPECT_TRUE(bad.Await<SDisconnectedEvent>());
  }
  // The well-behaved client is still served.
  EXPECT_EQ(good.Ask(good.client.SendPrivateInfo(), EMsg::kPrivateInfo), ECode::kOk);
}

// ---- The client's address list --------------------------------------------------------------

// One line per list: what it parses to ("address:port" each) or why it is refused.
TEST(LobbyAddressList, ItemsParseOrAreRefusedWithTheReason) {
  std::string text;
  for (const char* list : {"127.0.0.1", " 10.0.0.1:7000 , 10.0.0.2 ", "10.0.0.1,,10.0.0.2", " , ",
                           "lobby.example.org", "10.0.0.1:0", "10.0.0.1:65536", "10.0.0.1:80x",
                           "1.1.1.1,1.1.1.2,1.1.1.3,1.1.1.4,1.1.1.5,1.1.1.6,1.1.1.7,1.1.1.8,1.1.1.9"}) {
    std::vector<SEndpoint> endpoints;
    std::string error;
    text += "[" + std::string(list) + "] ->";
    if (!CLobbyClient::ParseEndpoints(list, 24162, &endpoints, &error)) endpoints = {{"refused: " + error, 0}};
    for (const SEndpoint& e : endpoints) text += " " + e.address + (e.port ? ":" + std::to_string(e.port) : "");
    text += "\n";
  }
  EXPECT_MATCHES_EXPECTED("lobbyd/expected/address_lists.expected", text);
}

// Port 1 of the loopback: nobody listens there (it takes root to).
TEST_F(LobbyServerTest, TheClientGoesOnToTheNextAddressWhenOneFails) {
  const std::vector<SEndpoint> nodes = {{"127.0.0.1", 1}, {"127.0.0.1", server.Port()}};
  SPilot pilot;
  std::string error;
  size_t reached = 9;
  ASSERT_TRUE(pilot.client.ConnectAny(nodes, 0, kWaitMs, &error, {}, &reached)) << error;
  EXPECT_EQ(reached, 1u);
  ASSERT_EQ(pilot.Register("Falcon"), ECode::kOk);
  // Started at the live one, it stays there.
  ASSERT_TRUE(pilot.client.ConnectAny(nodes, 1, kWaitMs, &error, {}, &reached));
  EXPECT_EQ(reached, 1u);
  // None answers: each is named with its reason.
  EXPECT_FALSE(pilot.client.ConnectAny({nodes[0], nodes[0]}, 0, kWaitMs, &error, {}, &reached));
  EXPECT_NE(error.find("127.0.0.1:1: "), error.rfind("127.0.0.1:1: ")) << error;
}

}  // namespace
}  // namespace lobbyd
