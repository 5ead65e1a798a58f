// lobby_limits_test.cpp: probes of what one connection, address or account
// may ask of the lobby: registrations, chat lines, channels, and the order of
// the password jobs. Server probes over 127.0.0.1; units on a stepped clock.
#include <gtest/gtest.h>

#include <sqlite3.h>

#include <map>

#include "lobby_probe.h"
#include "lobbyd/lobby.h"
#include "lobbyd/server_process.h"
#include "../lobbyd/lobbyd_temp.h"

namespace lobbyd {
namespace {

using probe::CProbe;

struct LobbyLimitProbe : ::testing::Test {
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(server.Start(probe::ServerProgram(), folder.File("lobby.db"), {"--hash-cost", "minimum"}, 10000,
                             &error))
        << error;
  }
  CTempFolder folder;
  CServerProcess server;
};

TEST_F(LobbyLimitProbe, RegistrationsFromOneAddressAreThrottled) {
  constexpr int kTries = 25;
  CProbe p;
  ASSERT_TRUE(p.Connect(server.Port()));
  int created = 0, throttled = 0;
  for (int i = 0; i < kTries; ++i) {
    const std::string id = "Pilot" + std::to_string(i);
    ASSERT_TRUE(p.Send(EMsg::kNewIdPw, {id, "secret-1", "secret-1", "850307", "p@example.org"}));
    const std::optional<ECode> code = p.Result(EMsg::kNewIdPw);
    ASSERT_TRUE(code);
    created += *code == ECode::kOk;
    throttled += *code == ECode::kThrottled;
  }
  std::printf("registrations from one address: %d of %d created\n", created, kTries);
  EXPECT_EQ(created, SLobbyLimits().registrations.maxFailures);
  EXPECT_EQ(created + throttled, kTries);
  // Another address registers still.
  CProbe other;
  ASSERT_TRUE(other.Connect(server.Port(), "127.0.0.2"));
  ASSERT_TRUE(other.Send(EMsg::kNewIdPw, {"Elsewhere", "secret-1", "secret-1", "850307", "p@example.org"}));
  EXPECT_EQ(other.Result(EMsg::kNewIdPw), ECode::kOk);
}

TEST_F(LobbyLimitProbe, AChatFloodIsCutToTheRate) {
  constexpr int kLines = 1000;
  CProbe p, listener;
  for (auto [c, id, source] : {std::tuple{&p, "Falcon", "127.0.0.1"}, std::tuple{&listener, "Raven", "127.0.0.2"}}) {
    ASSERT_TRUE(c->Connect(server.Port(), source));
    ASSERT_TRUE(c->Send(EMsg::kNewIdPw, {id, "secret-1", "secret-1", "850307", "p@example.org"}));
    ASSERT_EQ(c->Result(EMsg::kNewIdPw), ECode::kOk);
    ASSERT_TRUE(c->Send(EMsg::kIdPw, {id, "secret-1"}));
    ASSERT_EQ(c->Result(EMsg::kIdPw), ECode::kOk);
  }
  std::vector<uint8_t> burst;
  for (int i = 0; i < kLines; ++i) EncodeFrame(MakeMessage(EMsg::kChatMsg, {"line " + std::to_string(i)}), &burst);
  const auto start = std::chrono::steady_clock::now();
  ASSERT_TRUE(p.SendBytes(burst));
  int sent = 0, throttled = 0;
  for (int i = 0; i < kLines; ++i) {
    const std::optional<ECode> code = p.Result(EMsg::kChatMsg);
    ASSERT_TRUE(code) << i;
    sent += *code == ECode::kOk;
    throttled += *code == ECode::kThrottled;
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const SLobbyLimits limits;
  std::printf("chat lines relayed: %d of %d in %.2f s\n", sent, kLines, seconds);
  EXPECT_LE(sent, limits.chatBurst + 1 + static_cast<int>(seconds * 1000 / limits.chatIntervalMs));
  EXPECT_EQ(sent + throttled, kLines);
}

// ---- Units on a stepped clock -------------------------------------------------------------------

// Runs jobs inline and counts the hashes.
class CCountingWork : public CPasswordWork {
 public:
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
  CInlinePasswordWork inner_{CPasswordHasher(MinimumCost())};
};

struct LobbyLimitUnit : ::testing::Test {
  void SetUp() override {
    ASSERT_TRUE(CPasswordHasher::Initialize());
    std::string error;
    store = CStore::Open(folder.File("lobby.db"), &error);
    ASSERT_TRUE(store) << error;
    lobby = std::make_unique<CLobby>(*store, work, [this] { return now; },
                                     [this](ConnId c, const SMessage& m) { sent[c].push_back(m); });
  }
  ECode Ask(ConnId conn, EMsg type, std::vector<std::string> texts) {
    sent[conn].clear();
    EXPECT_TRUE(lobby->Handle(conn, MakeMessage(type, std::move(texts))));
    const std::vector<SMessage>& got = sent[conn];
    if (got.empty() || got.back().type != EMsg::kResult) return ECode::kServerError;
    return static_cast<ECode>(got.back().Number(1));
  }
  void Enter(ConnId conn, const std::string& id) {
    lobby->Connected(conn, 0x7f000001 + static_cast<uint32_t>(conn));
    ASSERT_EQ(Ask(conn, EMsg::kNewIdPw, {id, "secret-1", "secret-1", "850307", "p@example.org"}), ECode::kOk);
    ASSERT_EQ(Ask(conn, EMsg::kIdPw, {id, "secret-1"}), ECode::kOk);
  }
  std::vector<std::string> Channels(ConnId conn) {
    EXPECT_EQ(Ask(conn, EMsg::kChannelList, {}), ECode::kOk);
    std::vector<std::string> names;
    for (const SMessage& m : sent[conn])
      if (m.type == EMsg::kChannelEntry) names.push_back(m.Text(0));
    return names;
  }

  CTempFolder folder;
  std::unique_ptr<CStore> store;
  CCountingWork work;
  int64_t now = 1'000'000;
  std::map<ConnId, std::vector<SMessage>> sent;
  std::unique_ptr<CLobby> lobby;
};

TEST_F(LobbyLimitUnit, ATakenIdCostsAHashAsANewOneDoes) {
  lobby->Connected(1, 0x7f000001);
  const int decoy = work.hashes;
  ASSERT_EQ(Ask(1, EMsg::kNewIdPw, {"Falcon", "secret-1", "secret-1", "850307", "p@example.org"}), ECode::kOk);
  const int forNew = work.hashes - decoy;
  ASSERT_EQ(Ask(1, EMsg::kNewIdPw, {"falcon", "secret-2", "secret-2", "850307", "p@example.org"}), ECode::kIdTaken);
  const int forTaken = work.hashes - decoy - forNew;
  std::printf("hashes for a new id: %d, for a taken id: %d\n", forNew, forTaken);
  EXPECT_EQ(forTaken, forNew);
}

TEST_F(LobbyLimitUnit, EmptyPlayerChannelsGoAndAnAccountMakesFewAtOnce) {
  const size_t limit = SLobbyLimits().channelsPerAccount;
  Enter(1, "Falcon");
  // Falcon makes channels and moves on; another player stays in each.
  std::vector<std::string> expected = {kDefaultChannel};
  for (size_t i = 0; i < limit; ++i) {
    const ConnId other = 2 + i;
    const std::string name = "Kept" + std::to_string(i);
    Enter(other, "Other" + std::to_string(i));
    ASSERT_EQ(Ask(1, EMsg::kChgChannel, {name}), ECode::kOk);
    ASSERT_EQ(Ask(other, EMsg::kChgChannel, {name}), ECode::kOk);
    expected.push_back(name);
  }
  // A channel Falcon leaves empty goes at once.
  ASSERT_EQ(Ask(1, EMsg::kChgChannel, {kDefaultChannel}), ECode::kOk);
  ASSERT_EQ(Ask(1, EMsg::kChgChannel, {"Passing"}), ECode::kChannelLimit);
  const std::vector<std::string> listed = Channels(1);
  std::printf("channels one account holds at once: %zu\n", listed.size() - 1);
  EXPECT_EQ(listed, expected);
  // One of them empties: it goes, from the database too, and Falcon may make another.
  lobby->Disconnected(2);
  expected.erase(expected.begin() + 1);
  EXPECT_EQ(Channels(1), expected);
  EXPECT_EQ(store->Channels(), expected);
  ASSERT_EQ(Ask(1, EMsg::kChgChannel, {"Passing"}), ECode::kOk);
  ASSERT_EQ(Ask(1, EMsg::kChgChannel, {kDefaultChannel}), ECode::kOk);
  EXPECT_EQ(Channels(1), expected);
}

TEST_F(LobbyLimitUnit, AnUnreadableAccountTableIsAServerErrorNotAWrongPassword) {
  lobby->Connected(1, 0x7f000001);
  ASSERT_EQ(Ask(1, EMsg::kNewIdPw, {"Falcon", "secret-1", "secret-1", "850307", "p@example.org"}), ECode::kOk);
  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open(folder.File("lobby.db").c_str(), &other), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(other, "ALTER TABLE accounts RENAME TO gone;", nullptr, nullptr, nullptr), SQLITE_OK);
  // More tries than the throttle allows: none is counted against the player.
  for (int i = 0; i < CLoginThrottle::kPairRule.maxFailures + 2; ++i)
    EXPECT_EQ(Ask(1, EMsg::kIdPw, {"Falcon", "secret-1"}), ECode::kServerError) << i;
  ASSERT_EQ(sqlite3_exec(other, "ALTER TABLE gone RENAME TO accounts;", nullptr, nullptr, nullptr), SQLITE_OK);
  sqlite3_close(other);
  EXPECT_EQ(Ask(1, EMsg::kIdPw, {"Falcon", "secret-1"}), ECode::kOk);
}

TEST_F(LobbyLimitUnit, ChatLinesRefillAtTheRate) {
  Enter(1, "Falcon");
  const SLobbyLimits limits;
  for (int i = 0; i < limits.chatBurst; ++i) EXPECT_EQ(Ask(1, EMsg::kChatMsg, {"hi"}), ECode::kOk) << i;
  EXPECT_EQ(Ask(1, EMsg::kChatMsg, {"hi"}), ECode::kThrottled);
  now += limits.chatIntervalMs;
  EXPECT_EQ(Ask(1, EMsg::kChatMsg, {"hi"}), ECode::kOk);
  EXPECT_EQ(Ask(1, EMsg::kChatMsg, {"hi"}), ECode::kThrottled);
  now += 100 * limits.chatIntervalMs;   // the bucket holds no more than the burst
  for (int i = 0; i < limits.chatBurst; ++i) EXPECT_EQ(Ask(1, EMsg::kChatMsg, {"hi"}), ECode::kOk) << i;
  EXPECT_EQ(Ask(1, EMsg::kChatMsg, {"hi"}), ECode::kThrottled);
  // The bucket is the account's at its address: a new connection from there
  // finds it empty; the same account from another address has its own.
  lobby->Disconnected(1);
  lobby->Connected(9, 0x7f000002);
  ASSERT_EQ(Ask(9, EMsg::kIdPw, {"Falcon", "secret-1"}), ECode::kOk);
  EXPECT_EQ(Ask(9, EMsg::kChatMsg, {"hi"}), ECode::kThrottled);
  lobby->Disconnected(9);
  lobby->Connected(10, 0x7f000063);
  ASSERT_EQ(Ask(10, EMsg::kIdPw, {"Falcon", "secret-1"}), ECode::kOk);
  EXPECT_EQ(Ask(10, EMsg::kChatMsg, {"hi"}), ECode::kOk);
}

TEST(PasswordCost, AHashAtAnOlderCostIsMadeAgainAtTheNextLogin) {
  ASSERT_TRUE(CPasswordHasher::Initialize());
  CTempFolder folder;
  std::string error;
  auto store = CStore::Open(folder.File("lobby.db"), &error);
  ASSERT_TRUE(store) << error;
  SAccount account;
  account.id = "Falcon";
  account.passwordHash = *CPasswordHasher(MinimumCost()).Hash("secret-1");
  bool failed = false;
  ASSERT_TRUE(store->CreateAccount(account, &failed));
  const SHashCost current{MinimumCost().ops + 1, MinimumCost().memory};
  CInlinePasswordWork work{CPasswordHasher(current)};
  ASSERT_TRUE(work.NeedsRehash(account.passwordHash));
  std::vector<SMessage> sent;
  CLobby lobby(*store, work, [] { return int64_t(1'000'000); }, [&](ConnId, const SMessage& m) { sent.push_back(m); });
  lobby.Connected(1, 0x7f000001);
  ASSERT_TRUE(lobby.Handle(1, MakeMessage(EMsg::kIdPw, {"Falcon", "secret-1"})));
  ASSERT_FALSE(sent.empty());
  EXPECT_EQ(sent.back().Number(1), static_cast<uint32_t>(ECode::kOk));
  const std::string stored = store->FindAccount("Falcon")->passwordHash;
  EXPECT_NE(stored, account.passwordHash);
  EXPECT_FALSE(work.NeedsRehash(stored));
  EXPECT_TRUE(CPasswordHasher(current).Verify(stored, "secret-1"));
}

TEST(PasswordCost, TheMinimumCostRunsOnTheLoopbackOnly) {
  CTempFolder folder;
  CServerProcess refused, loopback;
  std::string error;
  EXPECT_FALSE(refused.Start(probe::ServerProgram(), folder.File("a.db"),
                             {"--hash-cost", "minimum", "--bind", "0.0.0.0"}, 5000, &error));
  std::printf("--hash-cost minimum on 0.0.0.0: %s\n", error.empty() ? "runs" : error.c_str());
  EXPECT_TRUE(loopback.Start(probe::ServerProgram(), folder.File("b.db"), {"--hash-cost", "minimum"}, 5000, &error))
      << error;
}

TEST(PasswordQueue, ALoginIsCheckedBeforeQueuedRegistrations) {
  ASSERT_TRUE(CPasswordHasher::Initialize());
  CThreadedPasswordWork work(CPasswordHasher(MinimumCost()), 1);
  ASSERT_TRUE(work.Ok());
  const std::optional<std::string> hash = CPasswordHasher(MinimumCost()).Hash("secret-1");
  ASSERT_TRUE(hash);
  std::vector<std::string> order;
  for (int i = 0; i < 30; ++i) work.Hash("new-" + std::to_string(i), [&](bool, const std::string&) { order.push_back("hash"); });
  work.Verify(*hash, "secret-1", [&](bool ok, const std::string&) { order.push_back(ok ? "login" : "bad"); });
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (order.size() < 31 && std::chrono::steady_clock::now() < end) {
    pollfd p{work.WakeFd(), POLLIN, 0};
    poll(&p, 1, 50);
    work.RunCompleted();
  }
  ASSERT_EQ(order.size(), 31u);
  const size_t position = static_cast<size_t>(std::find(order.begin(), order.end(), "login") - order.begin());
  std::printf("the login finished as job %zu of 31\n", position + 1);
  EXPECT_LE(position, 1u);   // at most the job already running goes first
}

}  // namespace
}  // namespace lobbyd
