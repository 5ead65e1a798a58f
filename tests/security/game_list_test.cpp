// game_list_test.cpp: probes of the local game list over 127.0.0.1: answers
// nobody asked for, a flood of games, and games that go quiet.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <unistd.h>

#include "netkorvo/discovery.h"

namespace netkorvo {
namespace {

struct GameListProbe : ::testing::Test {
  void SetUp() override {
    std::string error;
    // The spoofer sits where announcements come from: the discovery port.
    ASSERT_TRUE(spoofer.Open("127.0.0.1", 0, false, &error)) << error;
    CGameFinder::SConfig config;
    config.port = spoofer.Port();
    config.intervalMs = 100;
    ASSERT_TRUE(finder.Open(config, &error)) << error;
    host = htonl(INADDR_LOOPBACK);
  }
  // Sends `count` announcements of distinct games with this nonce to the finder.
  void Flood(int count, uint64_t nonce) {
    for (int i = 0; i < count; ++i) {
      wire::SAnnounce game;
      game.nonce = nonce;
      game.serverId = uint32_t(1000 + i);
      game.maxPlayers = 8;
      game.name = "FAKE " + std::to_string(i);
      spoofer.SendTo(host, finder.Port(), wire::Encode(game));
    }
  }
  // The nonce of the finder's query, as the spoofer receives it.
  uint64_t QueryNonce(uint64_t nowMs) {
    finder.Service(nowMs);
    std::vector<uint8_t> bytes;
    uint32_t from;
    uint16_t port;
    for (int i = 0; i < 200; ++i) {
      if (spoofer.Receive(&bytes, &from, &port)) {
        wire::SMessage message;
        if (wire::Decode(bytes.data(), bytes.size(), &message) == wire::EDecode::kOk)
          if (const auto* q = std::get_if<wire::SQuery>(&message)) return q->nonce;
      }
      usleep(1000);
    }
    return 0;
  }
  size_t Collect(uint64_t nowMs) {
    size_t taken = 0;
    for (int i = 0; i < 50; ++i) {
      finder.Service(nowMs);
      taken += finder.TakeNew().size();
      usleep(1000);
    }
    return taken;
  }

  CUdpSocket spoofer;
  CGameFinder finder;
  uint32_t host = 0;
};

TEST_F(GameListProbe, OnlyAnswersToOurQueryCountAndTheListIsBounded) {
  const uint64_t nonce = QueryNonce(1);
  ASSERT_NE(nonce, 0u);
  // Unsolicited: a nonce of nobody's query.
  Flood(300, nonce + 1);
  EXPECT_EQ(Collect(2), 0u);
  // With the right nonce (a sender that saw the query): never more than the bound.
  Flood(300, nonce);
  EXPECT_EQ(Collect(3), CGameFinder::kMaxGames);
  // Nobody answers any more: the games are forgotten.
  finder.Service(3 + 100 * CGameFinder::kForgetIntervals + 1);
  EXPECT_EQ(finder.Listed(), 0u);
}

}  // namespace
}  // namespace netkorvo
