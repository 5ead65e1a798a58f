// lobby_test.cpp: the lobby's rules without sockets: a sink collects what
// each connection is sent, the throttle's clock is stepped by hand, and the
// password jobs run inline and are counted.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <map>

#include "lobbyd/encoder.h"
#include "lobbyd/lobby.h"
#include "lobbyd_temp.h"

namespace lobbyd {
namespace {

constexpr uint32_t kLoopback = 0x7f000001;

// Runs jobs inline and counts the hashes.
class CCountingWork : public CPasswordWork {
 public:
  explicit CCountingWork(SHashCost cost) : inner_{CPasswordHasher(cost)} {}
  void Hash(const std::string& password, Done done) override {
    ++hashes;
    inner_.Hash(password, std::move(done));
  }
  void Verify(const std::string& hash, const std::string& password, Done done) override {
    inner_.Verify(hash, password, std::move(done));
  }
  bool NeedsRehash(const std::string& hash) const override { return inner_.NeedsRehash(hash); }
  int hashes = 0;

 private:
  CInlinePasswordWork inner_;
};

struct LobbyTest : ::testing::Test {
  void SetUp() override {
    ASSERT_TRUE(CPasswordHasher::Initialize());
    std::string error;
    store = CStore::Open(folder.File("lobby.db"), &error);
    ASSERT_TRUE(store) << error;
    MakeLobby(passwords);
  }
  void MakeLobby(CPasswordWork& work) {
    lobby = std::make_unique<CLobby>(*store, work, [this] { return now; },
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
  ECode Register(ConnId conn, const std::string& id) {
    return Ask(conn, EMsg::kNewIdPw, {id, "secret-" + id, "secret-" + id, "850307", id + "@example.org"});
  }
  void Enter(ConnId conn, const std::string& id, uint32_t address = kLoopback) {
    lobby->Connected(conn, address);
    ASSERT_EQ(Register(conn, id), ECode::kOk);
    ASSERT_EQ(Ask(conn, EMsg::kIdPw, {id, "secret-" + id}), ECode::kOk);
  }
  std::vector<std::string> Texts(ConnId conn, EMsg type, size_t field) {
    std::vector<std::string> out;
    for (const SMessage& m : sent[conn])
      if (m.type == type) out.push_back(m.Text(field));
    return out;
  }
  std::vector<std::string> Channels(ConnId conn) {
    EXPECT_EQ(Ask(conn, EMsg::kChannelList, {}), ECode::kOk);
    return Texts(conn, EMsg::kChannelEntry, 0);
  }

  CTempFolder folder;
  std::unique_ptr<CStore> store;
  CCountingWork passwords{MinimumCost()};
  int64_t now = 5'000'000;
  std::map<ConnId, std::vector<SMessage>> sent;
  std::unique_ptr<CLobby> lobby;
};

TEST_F(LobbyTest, RegistrationRefusalsNameTheFieldAndATakenIdCostsAHash) {
  lobby->Connected(1, kLoopback);
  EXPECT_EQ(Ask(1, EMsg::kNewIdPw, {"ab", "secret1", "secret1", "850307", "a@b.org"}), ECode::kBadId);
  EXPECT_EQ(Ask(1, EMsg::kNewIdPw, {"Falcon", "short", "short", "850307", "a@b.org"}), ECode::kBadPassword);
  EXPECT_EQ(Ask(1, EMsg::kNewIdPw, {"Falcon", "secret1", "secret2", "850307", "a@b.org"}), ECode::kVerifyMismatch);
  EXPECT_EQ(Ask(1, EMsg::kNewIdPw, {"Falcon", "secret1", "secret1", "851307", "a@b.org"}), ECode::kBadBirthday);
  EXPECT_EQ(Ask(1, EMsg::kNewIdPw, {"Falcon", "secret1", "secret1", "850307", "a@b"}), ECode::kBadEmail);
  const int before = passwords.hashes;
  EXPECT_EQ(Ask(1, EMsg::kNewIdPw, {"Falcon", "secret1", "secret1", "850307", "a@b.org"}), ECode::kOk);
  const int forNew = passwords.hashes - before;
  EXPECT_EQ(Ask(1, EMsg::kNewIdPw, {"falcon", "secret1", "secret1", "850307", "a@b.org"}), ECode::kIdTaken);
  // A taken id is not told by a faster answer.
  EXPECT_EQ(passwords.hashes - before - forNew, forNew);
  EXPECT_EQ(Ask(1, EMsg::kPrivateInfo, {}), ECode::kNotLoggedIn);
}

TEST_F(LobbyTest, RegistrationsFromOneAddressAreThrottled) {
  const int limit = SLobbyLimits().registrations.maxFailures;
  lobby->Connected(1, kLoopback);
  for (int i = 0; i < limit; ++i) EXPECT_EQ(Register(1, "Pilot" + std::to_string(i)), ECode::kOk) << i;
  EXPECT_EQ(Register(1, "OneMore"), ECode::kThrottled);
  // Another address registers still.
  lobby->Connected(2, kLoopback + 1);
  EXPECT_EQ(Register(2, "Elsewhere"), ECode::kOk);
}

TEST_F(LobbyTest, ThrottleLocksAnAddressTriedWithManyIds) {
  lobby->Connected(1, kLoopback);
  ASSERT_EQ(Register(1, "Falcon"), ECode::kOk);
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

TEST_F(LobbyTest, AccountLocksHoldPerAddressAndEnd) {
  lobby->Connected(1, 0x7f000002);   // the attacker
  lobby->Connected(2, 0x7f000003);   // the owner
  ASSERT_EQ(Register(2, "Falcon"), ECode::kOk);
  const auto guessUntilLocked = [&] {
    int wrong = 0;
    while (wrong < 10 && Ask(1, EMsg::kIdPw, {"Falcon", "guess"}) == ECode::kWrongLogin) ++wrong;
    return wrong;
  };
  EXPECT_EQ(guessUntilLocked(), CLoginThrottle::kPairRule.maxFailures);
  EXPECT_EQ(Ask(2, EMsg::kIdPw, {"Falcon", "secret-Falcon"}), ECode::kOk);
  EXPECT_EQ(Ask(2, EMsg::kLogOut, {}), ECode::kOk);
  // The lock's length and its doubling are ThrottleTest's.
  EXPECT_EQ(Ask(1, EMsg::kIdPw, {"Falcon", "secret-Falcon"}), ECode::kThrottled);
  now += CLoginThrottle::kPairRule.lockMs;
  EXPECT_EQ(Ask(1, EMsg::kIdPw, {"Falcon", "secret-Falcon"}), ECode::kOk);
}

TEST_F(LobbyTest, PasswordChangeNeedsTheOldOne) {
  lobby->Connected(1, kLoopback);
  ASSERT_EQ(Register(1, "Falcon"), ECode::kOk);
  EXPECT_EQ(Ask(1, EMsg::kChgPw, {"Falcon", "wrong-old", "newsecret", "newsecret"}), ECode::kWrongLogin);
  EXPECT_EQ(Ask(1, EMsg::kChgPw, {"Falcon", "secret-Falcon", "newsecret", "other"}), ECode::kVerifyMismatch);
  EXPECT_EQ(Ask(1, EMsg::kChgPw, {"Falcon", "secret-Falcon", "tiny", "tiny"}), ECode::kBadPassword);
  EXPECT_EQ(Ask(1, EMsg::kChgPw, {"Falcon", "secret-Falcon", "newsecret", "newsecret"}), ECode::kOk);
  EXPECT_EQ(Ask(1, EMsg::kIdPw, {"Falcon", "secret-Falcon"}), ECode::kWrongLogin);
  EXPECT_EQ(Ask(1, EMsg::kIdPw, {"Falcon", "newsecret"}), ECode::kOk);
}

// A hash made at an older cost is made again at the next login.
TEST_F(LobbyTest, AHashAtAnOlderCostIsMadeAgainAtTheNextLogin) {
  lobby->Connected(1, kLoopback);
  ASSERT_EQ(Register(1, "Falcon"), ECode::kOk);
  const std::string old = store->FindAccount("Falcon")->passwordHash;
  const SHashCost current{MinimumCost().ops + 1, MinimumCost().memory};
  CCountingWork slower(current);
  ASSERT_TRUE(slower.NeedsRehash(old));
  MakeLobby(slower);
  lobby->Connected(1, kLoopback);
  EXPECT_EQ(Ask(1, EMsg::kIdPw, {"Falcon", "secret-Falcon"}), ECode::kOk);
  const std::string stored = store->FindAccount("Falcon")->passwordHash;
  EXPECT_NE(stored, old);
  EXPECT_FALSE(slower.NeedsRehash(stored));
  EXPECT_TRUE(CPasswordHasher(current).Verify(stored, "secret-Falcon"));
}

TEST_F(LobbyTest, AnUnreadableAccountTableIsAServerErrorNotAWrongPassword) {
  lobby->Connected(1, kLoopback);
  ASSERT_EQ(Register(1, "Falcon"), ECode::kOk);
  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open(folder.File("lobby.db").c_str(), &other), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(other, "ALTER TABLE accounts RENAME TO gone;", nullptr, nullptr, nullptr), SQLITE_OK);
  // More tries than the throttle allows: none is counted against the player.
  for (int i = 0; i < CLoginThrottle::kPairRule.maxFailures + 2; ++i)
    EXPECT_EQ(Ask(1, EMsg::kIdPw, {"Falcon", "secret-Falcon"}), ECode::kServerError) << i;
  ASSERT_EQ(sqlite3_exec(other, "ALTER TABLE gone RENAME TO accounts;", nullptr, nullptr, nullptr), SQLITE_OK);
  sqlite3_close(other);
  EXPECT_EQ(Ask(1, EMsg::kIdPw, {"Falcon", "secret-Falcon"}), ECode::kOk);
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
  EXPECT_EQ(Channels(1), (std::vector<std::string>{kDefaultChannel, "Arena"}));
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

TEST_F(LobbyTest, EmptyPlayerChannelsGoAndAnAccountMakesFewAtOnce) {
  const size_t limit = SLobbyLimits().channelsPerAccount;
  Enter(1, "Falcon");
  // Falcon makes channels and moves on; another player stays in each.
  std::vector<std::string> expected = {kDefaultChannel};
  for (size_t i = 0; i < limit; ++i) {
    const ConnId other = 2 + i;
    const std::string name = "Kept" + std::to_string(i);
    Enter(other, "Other" + std::to_string(i), kLoopback + 1 + i);
    ASSERT_EQ(Ask(1, EMsg::kChgChannel, {name}), ECode::kOk);
    ASSERT_EQ(Ask(other, EMsg::kChgChannel, {name}), ECode::kOk);
    expected.push_back(name);
  }
  // A channel Falcon leaves empty goes at once.
  ASSERT_EQ(Ask(1, EMsg::kChgChannel, {kDefaultChannel}), ECode::kOk);
  ASSERT_EQ(Ask(1, EMsg::kChgChannel, {"Passing"}), ECode::kChannelLimit);
  EXPECT_EQ(Channels(1), expected);
  // One of them empties: it goes, from the database too, and Falcon may make another.
  lobby->Disconnected(2);
  expected.erase(expected.begin() + 1);
  EXPECT_EQ(Channels(1), expected);
  EXPECT_EQ(store->Channels(), expected);
  ASSERT_EQ(Ask(1, EMsg::kChgChannel, {"Passing"}), ECode::kOk);
  ASSERT_EQ(Ask(1, EMsg::kChgChannel, {kDefaultChannel}), ECode::kOk);
  EXPECT_EQ(Channels(1), expected);
}

TEST_F(LobbyTest, ChatLinesRefillAtTheRate) {
  Enter(1, "Falcon");
  const SLobbyLimits limits;
  const auto burst = [&](ConnId conn) {
    for (int i = 0; i < limits.chatBurst; ++i) EXPECT_EQ(Ask(conn, EMsg::kChatMsg, {"hi"}), ECode::kOk) << i;
    EXPECT_EQ(Ask(conn, EMsg::kChatMsg, {"hi"}), ECode::kThrottled);
  };
  burst(1);
  now += limits.chatIntervalMs;
  EXPECT_EQ(Ask(1, EMsg::kChatMsg, {"hi"}), ECode::kOk);
  EXPECT_EQ(Ask(1, EMsg::kChatMsg, {"hi"}), ECode::kThrottled);
  now += 100 * limits.chatIntervalMs;   // the bucket holds no more than the burst
  burst(1);
  // The bucket is the account's at its address: a new connection from there
  // finds it empty; the same account from another address has its own.
  lobby->Disconnected(1);
  lobby->Connected(9, kLoopback);
  ASSERT_EQ(Ask(9, EMsg::kIdPw, {"Falcon", "secret-Falcon"}), ECode::kOk);
  EXPECT_EQ(Ask(9, EMsg::kChatMsg, {"hi"}), ECode::kThrottled);
  lobby->Disconnected(9);
  lobby->Connected(10, 0x7f000063);
  ASSERT_EQ(Ask(10, EMsg::kIdPw, {"Falcon", "secret-Falcon"}), ECode::kOk);
  EXPECT_EQ(Ask(10, EMsg::kChatMsg, {"hi"}), ECode::kOk);
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
