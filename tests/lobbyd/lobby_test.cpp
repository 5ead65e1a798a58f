// lobby_test.cpp: the lobby's rules without sockets: a sink collects what
// each connection is sent, the throttle's clock is stepped by hand, and the
// password jobs run inline and are counted. Each test's log (lobby_log.h) is
// compared whole with lobbyd/expected/lobby_NAME.expected.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <sstream>

#include "expected_text.h"
#include "lobby_log.h"
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

struct LobbyTest : ::testing::Test, SLoggedLobby {
  void SetUp() override {
    ASSERT_TRUE(CPasswordHasher::Initialize());
    std::string error;
    store = CStore::Open(folder.File("lobby.db"), &error);
    ASSERT_TRUE(store) << error;
    Make(*store, passwords, &now, &out);
  }
  void TearDown() override {
    lobby.reset();   // before the store it uses
    const std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    if (!HasFatalFailure()) {
      EXPECT_MATCHES_EXPECTED("lobbyd/expected/lobby_" + test + ".expected", out.str());
    }
  }
  void Later(int64_t ms) {
    out << ms << " ms later\n";
    now += ms;
  }

  CTempFolder folder;
  std::unique_ptr<CStore> store;
  CCountingWork passwords{MinimumCost()};
  int64_t now = 5'000'000;
  std::ostringstream out;
};

// Registration refusals name the field, and a taken id costs a hash like a
// new one; a password change needs the old password; registrations from one
// address are throttled, another address registers still.
TEST_F(LobbyTest, AccountsRegisterAndChangeTheirPasswordWithinTheirRules) {
  Connect(1);
  Ask(1, EMsg::kNewIdPw, {"ab", "secret1", "secret1", "850307", "a@b.org"});
  Ask(1, EMsg::kNewIdPw, {"Falcon", "short", "short", "850307", "a@b.org"});
  Ask(1, EMsg::kNewIdPw, {"Falcon", "secret1", "secret2", "850307", "a@b.org"});
  Ask(1, EMsg::kNewIdPw, {"Falcon", "secret1", "secret1", "851307", "a@b.org"});
  Ask(1, EMsg::kNewIdPw, {"Falcon", "secret1", "secret1", "850307", "a@b"});
  const int before = passwords.hashes;
  Ask(1, EMsg::kNewIdPw, {"Falcon", "secret1", "secret1", "850307", "a@b.org"});
  const int forNew = passwords.hashes - before;
  Ask(1, EMsg::kNewIdPw, {"falcon", "secret1", "secret1", "850307", "a@b.org"});
  EXPECT_EQ(passwords.hashes - before - forNew, forNew);
  Ask(1, EMsg::kChgPw, {"Falcon", "wrong-old", "newsecret", "newsecret"});
  Ask(1, EMsg::kChgPw, {"Falcon", "secret1", "newsecret", "other"});
  Ask(1, EMsg::kChgPw, {"Falcon", "secret1", "tiny", "tiny"});
  Ask(1, EMsg::kChgPw, {"Falcon", "secret1", "newsecret", "newsecret"});
  Ask(1, EMsg::kIdPw, {"Falcon", "secret1"});
  Ask(1, EMsg::kIdPw, {"Falcon", "newsecret"});

  Connect(2, kLoopback + 1);
  for (int i = 0; i <= SLobbyLimits().registrations.maxFailures; ++i) Register(2, "Pilot" + std::to_string(i));
  Connect(3, kLoopback + 2);
  Register(3, "Elsewhere");
}

// Wrong logins with many ids lock the address (the right password is refused
// too, without a check), and wrong passwords of one id lock that pair; both
// hold for their address only and end with their lock time. The lock's length
// and its doubling are ThrottleTest's.
TEST_F(LobbyTest, ThrottlesLockAnAddressAndAnAccountAtAnAddress) {
  Connect(1);
  Register(1, "Falcon");
  for (int i = 0; i < CLoginThrottle::kAddressRule.maxFailures; ++i)
    Ask(1, EMsg::kIdPw, {"Guess" + std::to_string(i), "whatever"});
  Login(1, "Falcon");
  Connect(2, 0x7f000002);
  Login(2, "Falcon");
  Ask(2, EMsg::kLogOut, {});
  Later(CLoginThrottle::kAddressRule.lockMs);
  Login(1, "Falcon");
  Login(1, "Falcon");
  Ask(1, EMsg::kLogOut, {});

  for (int i = 0; i <= CLoginThrottle::kPairRule.maxFailures; ++i) Ask(2, EMsg::kIdPw, {"Falcon", "guess"});
  Connect(3, 0x7f000003);
  Login(3, "Falcon");
  Ask(3, EMsg::kLogOut, {});
  Login(2, "Falcon");
  Later(CLoginThrottle::kPairRule.lockMs);
  Login(2, "Falcon");
}

TEST_F(LobbyTest, AHashAtAnOlderCostIsMadeAgainAtTheNextLogin) {
  Connect(1);
  Register(1, "Falcon");
  const std::string old = store->FindAccount("Falcon")->passwordHash;
  const SHashCost current{MinimumCost().ops + 1, MinimumCost().memory};
  CCountingWork slower(current);
  ASSERT_TRUE(slower.NeedsRehash(old));
  Make(*store, slower, &now, &out);
  Connect(1);
  Login(1, "Falcon");
  const std::string stored = store->FindAccount("Falcon")->passwordHash;
  EXPECT_NE(stored, old);
  EXPECT_FALSE(slower.NeedsRehash(stored));
  EXPECT_TRUE(CPasswordHasher(current).Verify(stored, "secret-Falcon"));
}

// More tries than the throttle allows while the account table cannot be read:
// each is a server error, none is counted against the player.
TEST_F(LobbyTest, AnUnreadableAccountTableIsAServerErrorNotAWrongPassword) {
  Connect(1);
  Register(1, "Falcon");
  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open(folder.File("lobby.db").c_str(), &other), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(other, "ALTER TABLE accounts RENAME TO gone;", nullptr, nullptr, nullptr), SQLITE_OK);
  for (int i = 0; i < CLoginThrottle::kPairRule.maxFailures + 2; ++i) Login(1, "Falcon");
  ASSERT_EQ(sqlite3_exec(other, "ALTER TABLE gone RENAME TO accounts;", nullptr, nullptr, nullptr), SQLITE_OK);
  sqlite3_close(other);
  Login(1, "Falcon");
}

// Channels list their members and keep chat inside (the sender hears its own
// line); a player who leaves is no longer listed.
TEST_F(LobbyTest, ChannelsListMembersAndKeepChatInside) {
  Enter(1, "Falcon");
  Enter(2, "Raven");
  Enter(3, "Hawk");
  Ask(1, EMsg::kPlayerList, {});
  Ask(3, EMsg::kChgChannel, {"Arena"});
  Ask(3, EMsg::kChgChannel, {"bad\tname"});
  Ask(1, EMsg::kChannelList, {});
  Ask(1, EMsg::kChatMsg, {"hello"});
  Ask(1, EMsg::kChatMsg, {"bell\a"});
  Disconnect(2);
  Ask(1, EMsg::kPlayerList, {});
}

// Falcon makes channels and moves on while another player stays in each: a
// channel it leaves empty goes at once, and it may not make more than its
// limit; one empties, goes (from the database too), and Falcon makes another.
TEST_F(LobbyTest, EmptyPlayerChannelsGoAndAnAccountMakesFewAtOnce) {
  Enter(1, "Falcon");
  std::vector<std::string> kept = {kDefaultChannel};
  for (size_t i = 0; i < SLobbyLimits().channelsPerAccount; ++i) {
    const ConnId other = 2 + i;
    kept.push_back("Kept" + std::to_string(i));
    Enter(other, "Other" + std::to_string(i), kLoopback + 1 + i);
    Ask(1, EMsg::kChgChannel, {kept.back()});
    Ask(other, EMsg::kChgChannel, {kept.back()});
  }
  Ask(1, EMsg::kChgChannel, {kDefaultChannel});
  Ask(1, EMsg::kChgChannel, {"Passing"});
  Ask(1, EMsg::kChannelList, {});
  Disconnect(2);
  Ask(1, EMsg::kChannelList, {});
  kept.erase(kept.begin() + 1);
  EXPECT_EQ(store->Channels(), kept);
  Ask(1, EMsg::kChgChannel, {"Passing"});
  Ask(1, EMsg::kChgChannel, {kDefaultChannel});
  Ask(1, EMsg::kChannelList, {});
}

// A burst of lines, then one per interval; the bucket holds no more than the
// burst. It is the account's at its address: a new connection from there
// finds it empty; the same account from another address has its own.
TEST_F(LobbyTest, ChatLinesRefillAtTheRate) {
  Enter(1, "Falcon");
  const SLobbyLimits limits;
  for (int i = 0; i <= limits.chatBurst; ++i) Ask(1, EMsg::kChatMsg, {"hi"});
  Later(limits.chatIntervalMs);
  Ask(1, EMsg::kChatMsg, {"hi"});
  Ask(1, EMsg::kChatMsg, {"hi"});
  Later(100 * limits.chatIntervalMs);
  for (int i = 0; i <= limits.chatBurst; ++i) Ask(1, EMsg::kChatMsg, {"hi"});
  Disconnect(1);
  Connect(9);
  Login(9, "Falcon");
  Ask(9, EMsg::kChatMsg, {"hi"});
  Disconnect(9);
  Connect(10, 0x7f000063);
  Login(10, "Falcon");
  Ask(10, EMsg::kChatMsg, {"hi"});
}

// A locked game is listed without its address and port, which come with a
// granted join (a join naming another address than the host's is stale);
// the game closes with its host, in the database too.
TEST_F(LobbyTest, GamesAreListedJoinedAndClosedWithTheirHost) {
  Enter(1, "Falcon", 0x7f000005);
  Enter(2, "Raven");
  Enter(3, "Hawk");
  Ask(1, EMsg::kCreateGame, {"Duel", "pw", "map01.gnd"}, {1, 2, 7000});
  Ask(1, EMsg::kCreateGame, {"Duel", "pw", "map01.gnd"}, {2, 2, 7000});
  Ask(2, EMsg::kCreateGame, {"Duel", "", "map01.gnd"}, {8, 0, 0});
  Ask(2, EMsg::kSessionList, {});
  Ask(2, EMsg::kJoinGame, {"Duel", "pw", "127.0.0.1"});
  Ask(2, EMsg::kJoinGame, {"Duel", "pw", "0.0.0.0"});
  Ask(3, EMsg::kJoinGame, {"Duel", "pw", ""});
  Ask(3, EMsg::kSessionInfo, {"Duel"});
  Disconnect(1);
  Ask(3, EMsg::kSessionInfo, {"Duel"});
  Ask(3, EMsg::kSessionList, {});
  EXPECT_TRUE(store->Games().empty());
  // An answer type sent as a request breaks the protocol.
  EXPECT_FALSE(lobby->Handle(3, MakeMessage(EMsg::kResult, {}, {1, 0})));
}

// Leaving a game's room (a joined player's leave freeing its place is
// TwoNodesTest's): the host's leave closes the game at once, and every player
// logged in (not the ones still logging in) is told its name. The joined
// player is free again: it may host a game of the same name.
TEST_F(LobbyTest, TheHostLeavingTheRoomClosesTheGame) {
  Enter(1, "Falcon");
  Enter(2, "Raven");
  Enter(3, "Hawk");
  Connect(4);
  Ask(4, EMsg::kLeaveGame, {});
  Ask(2, EMsg::kLeaveGame, {});
  Ask(1, EMsg::kCreateGame, {"Duel", "", "map01.gnd"}, {2, 0, 7000});
  Ask(2, EMsg::kJoinGame, {"Duel", "", ""});
  Ask(1, EMsg::kLeaveGame, {});
  EXPECT_TRUE(store->Games().empty());
  Ask(2, EMsg::kSessionList, {});
  Ask(2, EMsg::kCreateGame, {"Duel", "", "map01.gnd"}, {2, 0, 7001});
}

}  // namespace
}  // namespace lobbyd
