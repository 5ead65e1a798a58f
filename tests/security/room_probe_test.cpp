// room_probe_test.cpp: probes of a room's server over 127.0.0.1: a locked
// room and its password, links that never say hello, the room's limits
// (full, another protocol version, garbage, a chat flood, a silent player),
// and choices out of the game data's ranges or after the start.
#include <gtest/gtest.h>

#include <memory>

#include "netkorvo/room_client.h"
#include "netkorvo/room_server.h"
#include "room_probe.h"

namespace netkorvo {
namespace {

using probe::CRawLinks;
using probe::Until;

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
  // Joins with a raw link that says hello with this password.
  void JoinRaw(CRawLinks& link, const std::string& password) {
    ASSERT_TRUE(link.Open("127.0.0.1", 1, server.Port()));
    ASSERT_TRUE(Until([&] { return link.Connected() == 1; }, [&] { Step(link); }, 3000));
    link.Send(0, wire::SHello{"PROBE", password});
  }
  void Step(CRawLinks& link) {
    server.Service();
    link.Service(2);
  }
  // The event a room client reports, waited on for at most waitMs, while
  // the server, the client and `also` are serviced.
  std::optional<CRoomClient::SEvent> ClientEvent(CRoomClient& client, int waitMs, CRawLinks* also = nullptr) {
    std::optional<CRoomClient::SEvent> got;
    Until([&] { return got.has_value(); }, [&] { got = Serve(client, also); }, waitMs);
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
  struct SCase {
    const char* password;
    bool joins;
  };
  for (const SCase& c : {SCase{"", false}, SCase{"Zq7-pasS", false}, SCase{"Zq7-pass-longer", false},
                         SCase{kSecret, true}}) {
    CRoomClient client;
    client.SetPassword(c.password);
    std::string error;
    ASSERT_TRUE(client.Connect("127.0.0.1", server.Port(), "ACE", 3000, &error)) << error;
    const auto event = ClientEvent(client, 3000);
    ASSERT_TRUE(event) << c.password;
    if (c.joins) {
      EXPECT_EQ(event->kind, CRoomClient::EEvent::kJoined) << c.password;
    } else {
      EXPECT_EQ(event->kind, CRoomClient::EEvent::kRefused) << c.password;
      EXPECT_EQ(event->text, kWrongPasswordText);
    }
    client.Leave();
  }
  // A joiner with the password receives every message of the room: none holds it.
  CRawLinks joiner;
  JoinRaw(joiner, kSecret);
  ASSERT_TRUE(Until([&] { return joiner.received.size() >= 8; }, [&] { Step(joiner); }, 3000));
  EXPECT_FALSE(joiner.Received(kSecret));
}

TEST_F(RoomProbe, SilentLinksNeitherFillTheRoomNorStay) {
  Open();
  CRawLinks silent;
  ASSERT_TRUE(silent.Open("127.0.0.2", 16, server.Port()));
  Until([] { return false; }, [&] { Step(silent); }, 500);
  EXPECT_LE(server.Links(), config.waitingLinksPerAddress);
  // A real player joins at once.
  CRoomClient client;
  std::string error;
  ASSERT_TRUE(client.Connect("127.0.0.1", server.Port(), "ACE", 5000, &error)) << error;
  const auto start = probe::Clock::now();
  const std::optional<CRoomClient::SEvent> joined = ClientEvent(client, 3000, &silent);
  ASSERT_TRUE(joined);
  EXPECT_EQ(joined->kind, CRoomClient::EEvent::kJoined);
  std::printf("a real player joined after %.0f ms\n", probe::MsSince(start));
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
  std::string error;
  CRoomClient old;
  ASSERT_TRUE(old.Connect("127.0.0.1", server.Port(), "OLD", 3000, &error, wire::kProtocolVersion + 1)) << error;
  const auto refusedOld = ClientEvent(old, 3000);
  ASSERT_TRUE(refusedOld);
  EXPECT_NE(refusedOld->text.find("PROTOCOL VERSION"), std::string::npos) << refusedOld->text;

  CRawLinks junk;
  ASSERT_TRUE(junk.Open("127.0.0.4", 1, server.Port()));
  ASSERT_TRUE(Until([&] { return junk.Connected() == 1; }, [&] { Step(junk); }, 3000));
  for (int i = 0; i < 20; ++i) junk.SendBytes(0, {0xFF, 0x00, 0x01, uint8_t(i)});
  EXPECT_TRUE(Until([&] { return junk.Connected() == 0; }, [&] { Step(junk); }, 3000)) << "a sender of garbage";

  auto players = std::make_unique<CRawLinks>();
  ASSERT_TRUE(players->Open("127.0.0.3", 7, server.Port()));
  ASSERT_TRUE(Until([&] { return players->Connected() == 7; }, [&] { Step(*players); }, 3000));
  for (size_t i = 0; i < 7; ++i) players->Send(i, wire::SHello{"P" + std::to_string(i + 1), ""});
  ASSERT_TRUE(Until([&] { return server.Room().Players() == 8; }, [&] { Step(*players); }, 3000));
  CRoomClient ninth;
  ASSERT_TRUE(ninth.Connect("127.0.0.1", server.Port(), "NINTH", 3000, &error)) << error;
  const auto refusedNinth = ClientEvent(ninth, 3000, players.get());
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
                    },
                    3000));
  EXPECT_EQ(said, size_t(CRoomServer::kChatLinesPerSecond));

  // Gone without a word: the links are reset, the server hears nothing more.
  players.reset();
  const auto silent = probe::Clock::now();
  EXPECT_TRUE(Until([&] { return server.Room().Players() == 1; }, [&] { server.Service(); },
                    int(config.timeoutMs) + 2000));
  std::printf("silent players' slots free after %.0f ms (timeout %u ms)\n", probe::MsSince(silent),
              config.timeoutMs);
  EXPECT_LE(probe::MsSince(silent), config.timeoutMs + 250);
  EXPECT_EQ(server.Room().Slot(4).name, "");
}

TEST_F(RoomProbe, ChoicesOutOfRangeOrAfterTheStartAreNotTaken) {
  Open();
  CRawLinks joiner;
  JoinRaw(joiner, "");
  ASSERT_TRUE(Until([&] { return server.Room().Players() == 2; }, [&] { Step(joiner); }, 3000));
  wire::SChoice good;
  good.character = 11;
  good.left = 5;
  good.right = 0;
  good.team = 3;
  good.classIndex = kClassCount - 1;
  good.ready = 1;
  joiner.Send(0, good);
  ASSERT_TRUE(Until([&] { return server.Room().Slot(1).choice == good; }, [&] { Step(joiner); }, 3000));
  // Each field out of its range in turn.
  std::vector<wire::SChoice> bad(7, good);
  bad[0].character = 999999;
  bad[1].character = 13;
  bad[2].left = 6;
  bad[3].right = -2;
  bad[4].team = 4;
  bad[5].team = -1;
  bad[6].classIndex = kClassCount;
  const int droppedBefore = server.DroppedMessages();
  for (const wire::SChoice& c : bad) joiner.Send(0, c);
  ASSERT_TRUE(Until([&] { return server.DroppedMessages() == droppedBefore + int(bad.size()); },
                    [&] { Step(joiner); }, 3000));
  EXPECT_EQ(server.Room().Slot(1).choice, good);
  // After the start nothing changes.
  ASSERT_TRUE(server.Start());
  wire::SChoice later = good;
  later.character = 10;
  joiner.Send(0, later);
  ASSERT_TRUE(Until([&] { return server.DroppedMessages() == droppedBefore + int(bad.size()) + 1; },
                    [&] { Step(joiner); }, 3000));
  EXPECT_EQ(server.Room().Slot(1).choice, good);
}

}  // namespace
}  // namespace netkorvo
