// lobby_test.cpp: the lobby's rules without sockets: a sink collects what
// each connection is sent, and the throttle's clock is stepped by hand.
#include <gtest/gtest.h>

#include <map>

#include "lobbyd/encoder.h"
#include "lobbyd/lobby.h"
#include "lobbyd_temp.h"

namespace lobbyd {
namespace {

constexpr uint32_t kLoopback = 0x7f000001;

struct LobbyTest : ::testing::Test {
  void SetUp() override {
    ASSERT_TRUE(CPasswordHasher::Initialize());
    std::string error;
    store = CStore::Open(folder.File("lobby.db"), &error);
    ASSERT_TRUE(store) << error;
    lobby = std::make_unique<CLobby>(*store, passwords, [this] { return now; },
                                     [this](ConnId c, const SMessage& m) { sent[c].push_back(m); });
  }

  // Sends a request and returns the code of its result (the last message sent back).
  ECode Ask(ConnId conn, EMsg type, std::vector<std::string> texts, std::vector<uint32_t> numbers = {}) {
    sent[conn].clear();
    EXPECT_TRUE(lobby->Handle(conn, MakeMessage(type, std::move(texts), std::move(numbers))));
    const std::vector<SMessage>& got = sent[conn];
    if (got.empty() || got.back().type != EMsg::kResult || got.back().Number(0) != static_cast<uint32_t>(type))
      return ECode::kServerError;
    return static_cast<ECode>(got.back().Number(1));
  }
  void Register(ConnId conn, const std::string& id) {
    ASSERT_EQ(Ask(conn, EMsg::kNewIdPw, {id, "secret-" + id, "secret-" + id, "850307", id + "@example.org"}),
              ECode::kOk);
  }
  void Enter(ConnId conn, const std::string& id, uint32_t address = kLoopback) {
    lobby->Connected(conn, address);
    Register(conn, id);
    ASSERT_EQ(Ask(conn, EMsg::kIdPw, {id, "secret-" + id}), ECode::kOk);
  }
  std::vector<std::string> Texts(ConnId conn, EMsg type, size_t field) {
    std::vector<std::string> out;
    for (const SMessage& m : sent[conn])
      if (m.type == type) out.push_back(m.Text(field));
    return out;
  }

  CTempFolder folder;
  std::unique_ptr<CStore> store;
  CInlinePasswordWork passwords{CPasswordHasher(MinimumCost())};
  int64_t now = 5'000'000;
  std::map<ConnId, std::vector<SMessage>> sent;
  std::unique_ptr<CLobby> lobby;
};

TEST_F(LobbyTest, RegistrationRefusalsNameTheField) {
  lobby->Connected(1, kLoopback);
  EXPECT_EQ(Ask(1, EMsg::kNewIdPw, {"ab", "secret1", "secret1", "850307", "a@b.org"}), ECode::kBadId);
  EXPECT_EQ(Ask(1, EMsg::kNewIdPw, {"Falcon", "short", "short", "850307", "a@b.org"}), ECode::kBadPassword);
  EXPECT_EQ(Ask(1, EMsg::kNewIdPw, {"Falcon", "secret1", "secret2", "850307", "a@b.org"}), ECode::kVerifyMismatch);
  EXPECT_EQ(Ask(1, EMsg::kNewIdPw, {"Falcon", "secret1", "secret1", "851307", "a@b.org"}), ECode::kBadBirthday);
  EXPECT_EQ(Ask(1, EMsg::kNewIdPw, {"Falcon", "secret1", "secret1", "850307", "a@b"}), ECode::kBadEmail);
  EXPECT_EQ(Ask(1, EMsg::kNewIdPw, {"Falcon", "secret1", "secret1", "850307", "a@b.org"}), ECode::kOk);
  EXPECT_EQ(Ask(1, EMsg::kNewIdPw, {"falcon", "secret1", "secret1", "850307", "a@b.org"}), ECode::kIdTaken);
  EXPECT_EQ(Ask(1, EMsg::kPrivateInfo, {}), ECode::kNotLoggedIn);
}

TEST_F(LobbyTest, ThrottleLocksAnAddressTriedWithManyIds) {
  lobby->Connected(1, kLoopback);
  Register(1, "Falcon");
  for (int i = 0; i < CLoginThrottle::kAddressRule.maxFailures; ++i)
    EXPECT_EQ(Ask(1, EMsg::kIdPw, {"Guess" + std::to_string(i), "whatever"}), ECode::kWrongLogin);
  // Locked by address: the right password is refused too, without a check.
  EXPECT_EQ(Ask(1, EMsg::kIdPw, {"Falcon", "secret-Falcon"}), ECode::kThrottled);
  // Another address is not locked.
  lobby->Connected(2, 0x7f000002);
  EXPECT_EQ(Ask(2, EMsg::kIdPw, {"Falcon", "secret-Falcon"}), ECode::kOk);
  EXPECT_EQ(Ask(2, EMsg::kLogOut, {}), ECode::kOk);
  now += CLoginThrottle::kAddressRule.lockMs;
  EXPECT_EQ(Ask(1, EMsg::kIdPw, {"Falcon", "secret-Falcon"}), ECode::kOk);
  EXPECT_EQ(Ask(1, EMsg::kIdPw, {"Falcon", "secret-Falcon"}), ECode::kAlreadyLoggedIn);
}

TEST_F(LobbyTest, AccountLocksHoldPerAddressAndDoubleInARow) {
  lobby->Connected(1, 0x7f000002);   // the attacker
  lobby->Connected(2, 0x7f000003);   // the owner
  Register(2, "Falcon");
  const auto guessUntilLocked = [&] {
    int wrong = 0;
    while (wrong < 10 && Ask(1, EMsg::kIdPw, {"Falcon", "guess"}) == ECode::kWrongLogin) ++wrong;
    return wrong;
  };
  EXPECT_EQ(guessUntilLocked(), CLoginThrottle::kPairRule.maxFailures);
  EXPECT_EQ(Ask(2, EMsg::kIdPw, {"Falcon", "secret-Falcon"}), ECode::kOk);
  EXPECT_EQ(Ask(2, EMsg::kLogOut, {}), ECode::kOk);
  // The second lock in a row lasts twice as long.
  now += CLoginThrottle::kPairRule.lockMs;
  EXPECT_EQ(guessUntilLocked(), CLoginThrottle::kPairRule.maxFailures);
  now += CLoginThrottle::kPairRule.lockMs;
  EXPECT_EQ(Ask(1, EMsg::kIdPw, {"Falcon", "secret-Falcon"}), ECode::kThrottled);
  now += CLoginThrottle::kPairRule.lockMs;
  EXPECT_EQ(Ask(1, EMsg::kIdPw, {"Falcon", "secret-Falcon"}), ECode::kOk);
}

TEST_F(LobbyTest, PasswordChangeNeedsTheOldOne) {
  lobby->Connected(1, kLoopback);
  Register(1, "Falcon");
  EXPECT_EQ(Ask(1, EMsg::kChgPw, {"Falcon", "wrong-old", "newsecret", "newsecret"}), ECode::kWrongLogin);
  EXPECT_EQ(Ask(1, EMsg::kChgPw, {"Falcon", "secret-Falcon", "newsecret", "other"}), ECode::kVerifyMismatch);
  EXPECT_EQ(Ask(1, EMsg::kChgPw, {"Falcon", "secret-Falcon", "tiny", "tiny"}), ECode::kBadPassword);
  EXPECT_EQ(Ask(1, EMsg::kChgPw, {"Falcon", "secret-Falcon", "newsecret", "newsecret"}), ECode::kOk);
  EXPECT_EQ(Ask(1, EMsg::kIdPw, {"Falcon", "secret-Falcon"}), ECode::kWrongLogin);
  EXPECT_EQ(Ask(1, EMsg::kIdPw, {"Falcon", "newsecret"}), ECode::kOk);
}

TEST_F(LobbyTest, ChannelsListMembersAndKeepChatInside) {
  Enter(1, "Falcon");
  Enter(2, "Raven");
  Enter(3, "Hawk");
  EXPECT_EQ(Ask(1, EMsg::kPlayerList, {}), ECode::kOk);
  EXPECT_EQ(Texts(1, EMsg::kPlayerEntry, 0), (std::vector<std::string>{"Falcon", "Raven", "Hawk"}));
  EXPECT_EQ(Ask(3, EMsg::kChgChannel, {"Arena"}), ECode::kOk);
  EXPECT_EQ(Texts(3, EMsg::kChannelEntry, 0), (std::vector<std::string>{"Arena"}));
  EXPECT_EQ(Ask(3, EMsg::kChgChannel, {"bad\tname"}), ECode::kBadChannelName);
  EXPECT_EQ(Ask(1, EMsg::kChannelList, {}), ECode::kOk);
  EXPECT_EQ(Texts(1, EMsg::kChannelEntry, 0), (std::vector<std::string>{kDefaultChannel, "Arena"}));
  sent.clear();
  EXPECT_TRUE(lobby->Handle(1, MakeMessage(EMsg::kChatMsg, {"hello"})));
  EXPECT_EQ(Texts(2, EMsg::kChat, 1), (std::vector<std::string>{"hello"}));
  EXPECT_EQ(Texts(1, EMsg::kChat, 1), (std::vector<std::string>{"hello"}));   // the sender's own line
  EXPECT_TRUE(Texts(3, EMsg::kChat, 1).empty());
  EXPECT_EQ(Ask(1, EMsg::kChatMsg, {"bell\a"}), ECode::kBadChat);
  // A player who leaves is no longer listed.
  lobby->Disconnected(2);
  EXPECT_EQ(Ask(1, EMsg::kPlayerList, {}), ECode::kOk);
  EXPECT_EQ(Texts(1, EMsg::kPlayerEntry, 0), (std::vector<std::string>{"Falcon"}));
}

TEST_F(LobbyTest, GamesAreListedJoinedAndClosedWithTheirHost) {
  Enter(1, "Falcon", 0x7f000005);
  Enter(2, "Raven");
  Enter(3, "Hawk");
  EXPECT_EQ(Ask(1, EMsg::kCreateGame, {"Duel", "pw", "map01.gnd"}, {1, 2, 7000}), ECode::kBadPlayers);
  EXPECT_EQ(Ask(1, EMsg::kCreateGame, {"Duel", "pw", "map01.gnd"}, {2, 2, 7000}), ECode::kOk);
  EXPECT_EQ(Ask(2, EMsg::kCreateGame, {"Duel", "", "map01.gnd"}, {8, 0, 0}), ECode::kGameNameTaken);
  EXPECT_EQ(Ask(2, EMsg::kSessionList, {}), ECode::kOk);
  ASSERT_EQ(Texts(2, EMsg::kSessionEntry, 0), (std::vector<std::string>{"Duel"}));
  const SMessage& entry = sent[2][0];
  EXPECT_EQ(entry.Text(1), "map01.gnd");
  // Locked: listed without its address and port.
  EXPECT_EQ(entry.numbers, (std::vector<uint32_t>{2, 0, 0, 1, 2, 1}));
  EXPECT_EQ(Ask(2, EMsg::kJoinGame, {"Duel", "wrong", ""}), ECode::kWrongGamePassword);
  EXPECT_EQ(Ask(2, EMsg::kJoinGame, {"Duel", "pw", "127.0.0.1"}), ECode::kNoSuchGame);   // stale address
  EXPECT_EQ(Ask(2, EMsg::kJoinGame, {"Duel", "pw", "0.0.0.0"}), ECode::kOk);
  ASSERT_EQ(sent[2].size(), 2u);
  EXPECT_EQ(sent[2][0].type, EMsg::kJoinGranted);
  EXPECT_EQ(sent[2][0].numbers, (std::vector<uint32_t>{0x7f000005, 7000}));
  EXPECT_EQ(Ask(3, EMsg::kJoinGame, {"Duel", "pw", ""}), ECode::kGameFull);
  EXPECT_EQ(Ask(3, EMsg::kSessionInfo, {"Duel"}), ECode::kOk);
  EXPECT_EQ(Texts(3, EMsg::kSessionPlayer, 1), (std::vector<std::string>{"Falcon", "Raven"}));
  EXPECT_EQ(sent[3][1].Number(3), 2u);   // Raven's slot
  // The host leaves: the game is gone.
  lobby->Disconnected(1);
  EXPECT_EQ(Ask(3, EMsg::kSessionInfo, {"Duel"}), ECode::kNoSuchGame);
  EXPECT_EQ(Ask(3, EMsg::kSessionList, {}), ECode::kOk);
  EXPECT_EQ(sent[3].size(), 1u);
  EXPECT_TRUE(store->Games().empty());
  // An answer type sent as a request breaks the protocol.
  EXPECT_FALSE(lobby->Handle(3, MakeMessage(EMsg::kResult, {}, {1, 0})));
}

// Leaving a game's room: a joined player's place frees, the game stays; the
// host's leave closes the game at once, and every player logged in (not the
// ones still logging in) is told its name.
TEST_F(LobbyTest, LeavingTheRoomFreesThePlaceOrClosesTheGame) {
  Enter(1, "Falcon");
  Enter(2, "Raven");
  Enter(3, "Hawk");
  lobby->Connected(4, kLoopback);
  EXPECT_EQ(Ask(4, EMsg::kLeaveGame, {}), ECode::kNotLoggedIn);
  EXPECT_EQ(Ask(2, EMsg::kLeaveGame, {}), ECode::kOk);   // in no game: nothing to leave
  EXPECT_EQ(Ask(1, EMsg::kCreateGame, {"Duel", "", "map01.gnd"}, {2, 0, 7000}), ECode::kOk);
  EXPECT_EQ(Ask(2, EMsg::kJoinGame, {"Duel", "", ""}), ECode::kOk);
  EXPECT_EQ(Ask(3, EMsg::kJoinGame, {"Duel", "", ""}), ECode::kGameFull);
  EXPECT_EQ(Ask(2, EMsg::kLeaveGame, {}), ECode::kOk);
  EXPECT_EQ(Ask(3, EMsg::kJoinGame, {"Duel", "", ""}), ECode::kOk);
  EXPECT_EQ(Ask(2, EMsg::kSessionList, {}), ECode::kOk);
  EXPECT_EQ(Texts(2, EMsg::kSessionEntry, 0), (std::vector<std::string>{"Duel"}));

  sent.clear();
  EXPECT_EQ(Ask(1, EMsg::kLeaveGame, {}), ECode::kOk);
  for (ConnId conn : {1, 2, 3})
    EXPECT_EQ(Texts(conn, EMsg::kSessionClosed, 0), (std::vector<std::string>{"Duel"})) << "connection " << conn;
  EXPECT_TRUE(sent[4].empty());
  EXPECT_TRUE(store->Games().empty());
  EXPECT_EQ(Ask(2, EMsg::kSessionList, {}), ECode::kOk);
  EXPECT_EQ(sent[2].size(), 1u);
  // The joined player is free again: it may host a game of the same name.
  EXPECT_EQ(Ask(3, EMsg::kCreateGame, {"Duel", "", "map01.gnd"}, {2, 0, 7001}), ECode::kOk);
}

}  // namespace
}  // namespace lobbyd
