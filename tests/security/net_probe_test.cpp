// net_probe_test.cpp: probes of a room's server over 127.0.0.1, with raw ENet
// links from chosen loopback source addresses that say hello (or nothing) and
// keep what they receive: a locked room and its password, links that never
// say hello, the room's limits (full, another protocol version, garbage, a
// chat flood, a silent player), and choices out of the game data's ranges or
// after the start; and of the local game list: answers nobody asked for, a
// flood of games, and games that go quiet. Every wait is bounded.
#include <arpa/inet.h>
#include <enet/enet.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <memory>

#include "netkorvo/discovery.h"
#include "netkorvo/enet_link.h"
#include "netkorvo/room_client.h"
#include "netkorvo/room_server.h"

namespace netkorvo {
namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Runs `step` until `done` or waitMs are over; true when done.
bool Until(const std::function<bool()>& done, const std::function<void()>& step, int waitMs = 3000) {
  const auto start = Clock::now();
  while (MsSince(start) < waitMs) {
    step();
    if (done()) return true;
  }
  return done();
}

class CRawLinks {
 public:
  CRawLinks() = default;
  CRawLinks(const CRawLinks&) = delete;
  CRawLinks& operator=(const CRawLinks&) = delete;
  ~CRawLinks() {
    if (host_) enet_host_destroy(host_);
  }

  // `count` links from `source` towards 127.0.0.1:port.
  bool Open(const std::string& source, size_t count, uint16_t port) {
    ENetAddress from;
    if (!StartENet() || !MakeAddress(source, 0, &from)) return false;
    host_ = enet_host_create(&from, count, 1, 0, 0);
    if (!host_) return false;
    ENetAddress to;
    MakeAddress("127.0.0.1", port, &to);
    for (size_t i = 0; i < count; ++i) {
      ENetPeer* peer = enet_host_connect(host_, &to, 1, 0);
      if (!peer) return false;
      // Silent links keep answering ENet's pings: only the hello is missing.
      enet_peer_timeout(peer, 0, 60000, 60000);
      peers_.push_back(peer);
    }
    return true;
  }
  // Services the links once, waiting at most waitMs.
  void Service(uint32_t waitMs = 1) {
    ENetEvent event;
    while (host_ && enet_host_service(host_, &event, waitMs) > 0) {
      waitMs = 0;
      if (event.type == ENET_EVENT_TYPE_RECEIVE) {
        received.append(reinterpret_cast<const char*>(event.packet->data), event.packet->dataLength);
        ++packets;
        enet_packet_destroy(event.packet);
      }
    }
  }
  size_t Connected() const {
    size_t n = 0;
    for (const ENetPeer* peer : peers_) n += peer->state == ENET_PEER_STATE_CONNECTED;
    return n;
  }
  void Send(size_t link, const wire::SMessage& message) {
    SendMessage(peers_[link], message);
    enet_host_flush(host_);
  }
  void SendBytes(size_t link, const std::vector<uint8_t>& bytes) {
    enet_peer_send(peers_[link], 0, enet_packet_create(bytes.data(), bytes.size(), ENET_PACKET_FLAG_RELIABLE));
    enet_host_flush(host_);
  }

  std::string received;   // every packet's bytes, one after the other
  size_t packets = 0;

 private:
  ENetHost* host_ = nullptr;
  std::vector<ENetPeer*> peers_;
};

constexpr const char* kSecret = "Zq7-pass";

struct RoomProbe : ::testing::Test {
  void Open(const std::string& password = "") {
    config.hostName = "HOST";
    config.settings.room = "LOCKED";
    config.password = password;
    config.choices.characters = {10, 11, 12};
    config.choices.options = 5;
    config.choices.teams = 4;
    std::string error;
    ASSERT_TRUE(server.Open(config, &error)) << error;
  }
  // `count` raw links from `source`, connected (not joined).
  void Links(CRawLinks& links, const std::string& source, size_t count) {
    ASSERT_TRUE(links.Open(source, count, server.Port()));
    ASSERT_TRUE(Until([&] { return links.Connected() == count; }, [&] { Step(links); }));
  }
  void Step(CRawLinks& links) {
    server.Service();
    links.Service(2);
  }
  // A room client's first event after it connects (at most 3 s), while
  // the server, the client and `also` are serviced.
  std::optional<CRoomClient::SEvent> Join(CRoomClient& client, const std::string& name, CRawLinks* also = nullptr,
                                          uint8_t version = wire::kProtocolVersion) {
    std::string error;
    EXPECT_TRUE(client.Connect("127.0.0.1", server.Port(), name, 3000, &error, version)) << error;
    std::optional<CRoomClient::SEvent> got;
    Until([&] { return got.has_value(); }, [&] { got = Serve(client, also); });
    return got;
  }
  std::optional<CRoomClient::SEvent> Serve(CRoomClient& client, CRawLinks* also) {
    if (also) also->Service();
    server.Service();
    client.Service();
    std::optional<CRoomClient::SEvent> last;
    for (const auto& e : client.TakeEvents()) last = e;
    return last;
  }

  CRoomServer::SConfig config;
  CRoomServer server;
};

TEST_F(RoomProbe, ALockedRoomTakesOnlyItsPasswordAndNeverSendsIt) {
  Open(kSecret);
  for (const char* wrong : {"", "Zq7-pasS", "Zq7-pass-longer"}) {
    CRoomClient client;
    client.SetPassword(wrong);
    const auto event = Join(client, "ACE");
    ASSERT_TRUE(event) << wrong;
    EXPECT_EQ(event->kind, CRoomClient::EEvent::kRefused) << wrong;
    EXPECT_EQ(event->text, kWrongPasswordText);
  }
  // A joiner with the password receives every message of the room: none holds it.
  CRawLinks joiner;
  Links(joiner, "127.0.0.1", 1);
  joiner.Send(0, wire::SHello{"PROBE", kSecret});
  ASSERT_TRUE(Until([&] { return joiner.packets >= 8; }, [&] { Step(joiner); }));
  EXPECT_EQ(server.Room().Players(), 2);
  EXPECT_EQ(joiner.received.find(kSecret), std::string::npos);
}

TEST_F(RoomProbe, SilentLinksNeitherFillTheRoomNorStay) {
  Open();
  CRawLinks silent;
  ASSERT_TRUE(silent.Open("127.0.0.2", 16, server.Port()));
  Until([] { return false; }, [&] { Step(silent); }, 500);
  EXPECT_LE(server.Links(), config.waitingLinksPerAddress);
  // A real player joins at once.
  CRoomClient client;
  const auto start = Clock::now();
  const std::optional<CRoomClient::SEvent> joined = Join(client, "ACE", &silent);
  ASSERT_TRUE(joined);
  EXPECT_EQ(joined->kind, CRoomClient::EEvent::kJoined);
  std::printf("a real player joined after %.0f ms\n", MsSince(start));
  // The silent links are let go after the hello timeout; the player stays.
  const bool dropped = Until([&] { return server.Links() == 1; }, [&] { Serve(client, &silent); },
                             int(config.helloTimeoutMs) + 2000);
  EXPECT_TRUE(dropped) << server.Links();
  EXPECT_TRUE(client.Joined());
}

// Another protocol version is refused with a text it reads; a sender of
// garbage is dropped; seven players fill the room and the ninth is refused;
// a player's chat lines pass kChatLinesPerSecond a second; players gone
// silent free their slots within the timeout.
TEST_F(RoomProbe, ARoomsLimitsHoldOverTheWire) {
  config.timeoutMs = 1000;
  config.waitingLinksPerAddress = 8;
  Open();
  CRoomClient old;
  const auto refusedOld = Join(old, "OLD", nullptr, wire::kProtocolVersion + 1);
  ASSERT_TRUE(refusedOld);
  EXPECT_NE(refusedOld->text.find("PROTOCOL VERSION"), std::string::npos) << refusedOld->text;

  CRawLinks junk;
  Links(junk, "127.0.0.4", 1);
  for (int i = 0; i < 20; ++i) junk.SendBytes(0, {0xFF, 0x00, 0x01, uint8_t(i)});
  EXPECT_TRUE(Until([&] { return junk.Connected() == 0; }, [&] { Step(junk); })) << "a sender of garbage";

  auto players = std::make_unique<CRawLinks>();
  Links(*players, "127.0.0.3", 7);
  for (size_t i = 0; i < 7; ++i) players->Send(i, wire::SHello{"P" + std::to_string(i + 1), ""});
  ASSERT_TRUE(Until([&] { return server.Room().Players() == 8; }, [&] { Step(*players); }));
  CRoomClient ninth;
  const auto refusedNinth = Join(ninth, "NINTH", players.get());
  ASSERT_TRUE(refusedNinth);
  EXPECT_EQ(refusedNinth->kind, CRoomClient::EEvent::kRefused);
  EXPECT_EQ(refusedNinth->text, "THE ROOM IS FULL");

  const int droppedBefore = server.DroppedMessages();
  for (int i = 0; i < 10; ++i) players->Send(0, wire::SSay{"FLOOD " + std::to_string(i)});
  size_t said = 0;
  ASSERT_TRUE(Until([&] { return server.DroppedMessages() == droppedBefore + 10 - CRoomServer::kChatLinesPerSecond; },
                    [&] {
                      Step(*players);
                      said += server.TakeSaid().size();
                    }));
  EXPECT_EQ(said, size_t(CRoomServer::kChatLinesPerSecond));

  // Gone without a word: the links are reset, the server hears nothing more.
  players.reset();
  const auto silent = Clock::now();
  EXPECT_TRUE(Until([&] { return server.Room().Players() == 1; }, [&] { server.Service(); },
                    int(config.timeoutMs) + 2000));
  std::printf("silent players' slots free after %.0f ms (timeout %u ms)\n", MsSince(silent), config.timeoutMs);
  EXPECT_LE(MsSince(silent), config.timeoutMs + 250);
  EXPECT_EQ(server.Room().Slot(4).name, "");
}

TEST_F(RoomProbe, ChoicesOutOfRangeOrAfterTheStartAreNotTaken) {
  Open();
  CRawLinks joiner;
  Links(joiner, "127.0.0.1", 1);
  joiner.Send(0, wire::SHello{"PROBE", ""});
  ASSERT_TRUE(Until([&] { return server.Room().Players() == 2; }, [&] { Step(joiner); }));
  wire::SChoice good;
  good.character = 11;
  good.left = 5;
  good.right = 0;
  good.team = 3;
  good.classIndex = kClassCount - 1;
  good.ready = 1;
  joiner.Send(0, good);
  ASSERT_TRUE(Until([&] { return server.Room().Slot(1).choice == good; }, [&] { Step(joiner); }));
  // Each field out of its range in turn, then a good one after the start.
  std::vector<wire::SChoice> bad(8, good);
  bad[0].character = 999999;
  bad[1].character = 13;
  bad[2].left = 6;
  bad[3].right = -2;
  bad[4].team = 4;
  bad[5].team = -1;
  bad[6].classIndex = kClassCount;
  bad[7].character = 10;
  const int droppedBefore = server.DroppedMessages();
  for (size_t i = 0; i < bad.size(); ++i) {
    if (i == 7) {
      ASSERT_TRUE(server.Start());
    }
    joiner.Send(0, bad[i]);
    ASSERT_TRUE(Until([&] { return server.DroppedMessages() == droppedBefore + int(i) + 1; }, [&] { Step(joiner); }))
        << i;
    EXPECT_EQ(server.Room().Slot(1).choice, good) << i;
  }
}

// ---- The local game list ----------------------------------------------------------------------

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
