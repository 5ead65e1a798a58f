// store_test.cpp: accounts, channels, games, schema versions, throttles and rates in
// both stores (SQLite and PostgreSQL, the latter started by the test), a lost
// database, and the password hashes and their worker.
#include <gtest/gtest.h>
#include <libpq-fe.h>
#include <poll.h>
#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <tuple>
#include <thread>

#include "lobbyd/password_work.h"
#include "lobbyd/pg_instance.h"
#include "lobbyd/store.h"
#include "lobbyd_temp.h"

namespace lobbyd {
namespace {

// One PostgreSQL server for the whole run (stopped and removed at exit),
// emptied before each test.
CPgInstance* SharedPostgres(std::string* why) {
  static std::unique_ptr<CPgInstance> instance;
  static std::string failure;
  if (!instance && failure.empty()) {
    auto started = std::make_unique<CPgInstance>();
    if (started->Start(&failure)) instance = std::move(started);
  }
  *why = failure;
  return instance.get();
}

// The parameter: PostgreSQL, where throttles and players online hold across
// stores on one database; else SQLite.
class StoreTest : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder.Ok());
    if (!GetParam()) {
      target = folder.File("lobby.db");
      return;
    }
    std::string why;
    CPgInstance* pg = SharedPostgres(&why);
    if (!pg) GTEST_SKIP() << "PostgreSQL tests skipped: " << why;
    target = pg->Url();
    ASSERT_TRUE(Sql("SET client_min_messages = warning; DROP SCHEMA public CASCADE; CREATE SCHEMA public;"));
  }
  std::unique_ptr<CStore> Open() {
    std::string error;
    auto store = CStore::Open(target, &error);
    EXPECT_TRUE(store) << error;
    return store;
  }
  // A statement run beside the store (as another program would).
  bool Sql(const std::string& sql) {
    if (!GetParam()) {
      sqlite3* db = nullptr;
      const bool ok = sqlite3_open(target.c_str(), &db) == SQLITE_OK &&
                      sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
      sqlite3_close(db);
      return ok;
    }
    PGconn* conn = PQconnectdb(target.c_str());
    PGresult* result = PQexec(conn, sql.c_str());
    const bool ok = PQresultStatus(result) == PGRES_COMMAND_OK || PQresultStatus(result) == PGRES_TUPLES_OK;
    PQclear(result);
    PQfinish(conn);
    return ok;
  }

  CTempFolder folder;
  std::string target;
};

// One table of store operations run on both back ends.
TEST_P(StoreTest, AccountsChannelsGamesThrottlesChatAndTheSchemaVersion) {
  {
    auto store = Open();
    ASSERT_TRUE(store);
    SAccount account{"Falcon", "$argon2id$stand", "850307", "falcon@example.org", 3, 2, 450, 0};
    bool failed = true;
    EXPECT_TRUE(store->CreateAccount(account, &failed));
    EXPECT_FALSE(failed);
    account.id = "FALCON";
    EXPECT_FALSE(store->CreateAccount(account, &failed));
    EXPECT_FALSE(failed);
    EXPECT_TRUE(store->SetPasswordHash("falcon", "$argon2id$new"));
    EXPECT_FALSE(store->SetPasswordHash("nobody", "$argon2id$new"));
    EXPECT_TRUE(store->AddChannel("Free"));
    EXPECT_TRUE(store->AddChannel("Arena"));
    EXPECT_TRUE(store->AddChannel("Free"));
    EXPECT_TRUE(store->AddGame({"Duel", "Falcon", "map.gnd", 1, 0x7f000001, 7000, 8}));
    EXPECT_FALSE(store->AddGame({"Duel", "Falcon", "map.gnd", 1, 0x7f000001, 7000, 8}));
    ASSERT_EQ(store->Games().size(), 1u);
    EXPECT_EQ(store->Games()[0].address, 0x7f000001u);
    EXPECT_EQ(store->Games()[0].port, 7000u);
  }
  auto store = Open();
  ASSERT_TRUE(store);
  EXPECT_EQ(store->SchemaVersion(), CStore::kSchemaVersion);
  const auto found = store->FindAccount("fAlCoN");
  ASSERT_TRUE(found);
  EXPECT_EQ(std::tie(found->id, found->passwordHash, found->birthday, found->email, found->wins, found->losses,
                     found->score),
            std::make_tuple("Falcon", "$argon2id$new", "850307", "falcon@example.org", 3u, 2u, 450u));
  bool failed = true;
  EXPECT_FALSE(store->FindAccount("Nobody", &failed));
  EXPECT_FALSE(failed);
  EXPECT_EQ(store->Channels(), (std::vector<std::string>{"Free", "Arena"}));
  EXPECT_TRUE(store->RemoveChannel("Free"));
  EXPECT_EQ(store->Channels(), (std::vector<std::string>{"Arena"}));
  // One node: its games left with the old server. Shared: they go with their
  // node's heartbeat row (see TwoNodesTest).
  EXPECT_EQ(store->Games().size(), GetParam() ? 1u : 0u);

  // Two stores (two nodes) on one database: five failed tries of one key lock
  // it, chat lines come out of one bucket (a burst, then one per interval), on
  // a shared database whichever store counts them; on SQLite each process
  // counts its own. The channels one account has made count in the store on
  // both; the leftovers of a start go in one statement.
  auto first = std::move(store), second = Open();
  ASSERT_TRUE(second);
  ASSERT_TRUE(first->RemoveChannel("Arena"));
  const bool shared = GetParam();
  int64_t now = 1000;
  const SThrottleRule rule{5, 60'000, 30'000, 60'000, 60'000};
  auto a = first->NewThrottle("login-pair", [&] { return now; }, rule);
  auto b = second->NewThrottle("login-pair", [&] { return now; }, rule);
  for (int i = 0; i < 3; ++i) a->Fail("127.0.0.1/falcon");
  a->Refund("127.0.0.1/falcon");   // a good try taken back
  b->Fail("127.0.0.1/falcon");
  b->Fail("127.0.0.1/falcon");
  EXPECT_FALSE(a->Locked("127.0.0.1/falcon"));   // 4 tries on a shared database
  a->Fail("127.0.0.1/falcon");
  EXPECT_EQ(a->Locked("127.0.0.1/falcon"), shared);
  EXPECT_EQ(b->Locked("127.0.0.1/falcon"), shared);
  EXPECT_FALSE(b->Locked("127.0.0.1/raven"));
  a->Clear("127.0.0.1/falcon");
  b->Clear("127.0.0.1/falcon");
  EXPECT_FALSE(a->Locked("127.0.0.1/falcon"));
  EXPECT_FALSE(b->Locked("127.0.0.1/falcon"));

  const SRateRule chat{3, 300};
  auto ra = first->NewRateLimit("chat", [&] { return now; }, chat);
  auto rb = second->NewRateLimit("chat", [&] { return now; }, chat);
  const std::string key = "127.0.0.1/falcon";
  const struct {
    IRateLimit* limit;
    bool sharedTakes, ownTakes;
  } lines[] = {{ra.get(), true, true},   {ra.get(), true, true},  {rb.get(), true, true},
               {rb.get(), false, true},  {ra.get(), false, true}, {ra.get(), false, false},
               {rb.get(), false, true},  {rb.get(), false, false}};
  for (size_t i = 0; i < std::size(lines); ++i)
    EXPECT_EQ(lines[i].limit->Take(key), shared ? lines[i].sharedTakes : lines[i].ownTakes) << "line " << i;
  EXPECT_TRUE(rb->Take("127.0.0.1/raven"));   // another key, its own bucket
  // One interval on: one more line (the database's clock runs by itself).
  now += chat.intervalMs;
  const auto start = std::chrono::steady_clock::now();
  bool refilled = ra->Take(key);
  while (!refilled && std::chrono::steady_clock::now() - start < std::chrono::seconds(3)) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    refilled = ra->Take(key);
  }
  EXPECT_TRUE(refilled);
  EXPECT_FALSE(ra->Take(key));

  using EAdd = CStore::EAdd;
  const struct {
    CStore* store;
    const char *name, *creator;
    EAdd expected;
  } adds[] = {
      {first.get(), "Arena", "falcon", EAdd::kAdded},  {second.get(), "Dock", "falcon", EAdd::kAdded},
      {first.get(), "Third", "falcon", EAdd::kLimit},  {second.get(), "Arena", "falcon", EAdd::kAdded},
      {second.get(), "Third", "raven", EAdd::kAdded},  {first.get(), "Fourth", "raven", EAdd::kAdded},
      {second.get(), "Fifth", "raven", EAdd::kLimit},
  };
  for (const auto& add : adds)
    EXPECT_EQ(add.store->AddOwnedChannel(add.name, add.creator, 2), add.expected) << add.name;
  EXPECT_TRUE(first->RemoveChannel("Arena"));
  EXPECT_EQ(second->AddOwnedChannel("Fifth", "falcon", 2), EAdd::kAdded);
  EXPECT_TRUE(first->AddChannel("Lobby"));
  EXPECT_TRUE(second->RemoveChannelsBut("Lobby"));
  EXPECT_EQ(first->Channels(), (std::vector<std::string>{"Lobby"}));
  first.reset();
  second.reset();
  ASSERT_TRUE(Sql(GetParam() ? "UPDATE schema_version SET version = 99" : "PRAGMA user_version = 99"));
  std::string error;
  EXPECT_FALSE(CStore::Open(target, &error));
  EXPECT_NE(error.find("schema version 99"), std::string::npos) << error;
}

INSTANTIATE_TEST_SUITE_P(BackEnds, StoreTest, ::testing::Bool(), [](const auto& info) {
  return std::string(info.param ? "postgresql" : "sqlite");
});

TEST(LobbyStore, OpenFailsClearly) {
  std::string error;
  EXPECT_FALSE(CStore::Open("/nonexistent-folder/lobby.db", &error));
  EXPECT_FALSE(error.empty());
  // Port 1 of the loopback: nobody listens there.
  EXPECT_FALSE(CStore::Open("postgresql://korvo@127.0.0.1:1/postgres", &error));
  EXPECT_NE(error.find("cannot connect to the database"), std::string::npos) << error;
}

// Its own server: the test stops it.
TEST(LobbyStore, ALostDatabaseIsAnErrorNotAnAbsentAccount) {
  CPgInstance pg;
  std::string error;
  if (!pg.Start(&error)) GTEST_SKIP() << "PostgreSQL tests skipped: " << error;
  auto a = CStore::Open(pg.Url(), &error);
  ASSERT_TRUE(a) << error;
  SAccount raven{"Raven", "$argon2id$h", "850307", "r@example.org"};
  bool failed = false;
  ASSERT_TRUE(a->CreateAccount(raven, &failed));
  // Every connection of the store's database is ended from outside.
  PGconn* conn = PQconnectdb(pg.Url().c_str());
  PQclear(PQexec(conn, "SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE application_name = 'korvo-lobbyd'"));
  PQfinish(conn);
  // The next call connects again (once) and answers.
  EXPECT_TRUE(a->FindAccount("raven", &failed));
  EXPECT_FALSE(failed);
  // A database that stays away: an error, never "no such account".
  pg.Stop();
  EXPECT_FALSE(a->FindAccount("raven", &failed));
  EXPECT_TRUE(failed);
  EXPECT_FALSE(a->LastError().empty());
  // Chat lines meanwhile: the node's own buckets count them.
  auto lines = a->NewRateLimit("chat", [] { return int64_t{5000}; }, {2, 1000});
  EXPECT_TRUE(lines->Take("127.0.0.1/raven"));
  EXPECT_TRUE(lines->Take("127.0.0.1/raven"));
  EXPECT_FALSE(lines->Take("127.0.0.1/raven"));
}

// Right and wrong passwords against a hash are LobbyTest's logins.
TEST(LobbyPasswords, Argon2idHashesAreSaltedAndHideThePassword) {
  ASSERT_TRUE(CPasswordHasher::Initialize());
  CPasswordHasher hasher(MinimumCost());
  const auto hash = hasher.Hash("secret-pw");
  ASSERT_TRUE(hash);
  EXPECT_EQ(hash->rfind("$argon2id$", 0), 0u);
  EXPECT_EQ(hash->find("secret-pw"), std::string::npos);
  EXPECT_FALSE(hasher.Verify("not a hash", "secret-pw"));
  EXPECT_NE(*hasher.Hash("secret-pw"), *hash);   // salted
}

// The worker hands every outcome back on the caller's thread, and a login
// queued behind registrations is checked before them: at most the job
// already running goes first.
TEST(LobbyPasswords, WorkerOutcomesComeBackOnTheCallersThreadLoginsFirst) {
  ASSERT_TRUE(CPasswordHasher::Initialize());
  CThreadedPasswordWork work(CPasswordHasher(MinimumCost()), 1);
  ASSERT_TRUE(work.Ok());
  const std::optional<std::string> hash = CPasswordHasher(MinimumCost()).Hash("secret-pw");
  ASSERT_TRUE(hash);
  const std::thread::id caller = std::this_thread::get_id();
  std::vector<std::string> order;
  const auto note = [&](const std::string& what) {
    return [&, what](bool ok, const std::string&) {
      EXPECT_EQ(std::this_thread::get_id(), caller) << what;
      order.push_back(what + (ok ? " ok" : " refused"));
    };
  };
  // The first registration's password is long enough (its pre-hash reads every
  // byte) to keep the worker busy while the others and the logins are queued.
  work.Hash(std::string(32 << 20, 'p'), note("hash"));
  for (int i = 1; i < 30; ++i) work.Hash("new-" + std::to_string(i), note("hash"));
  work.Verify(*hash, "secret-pw", note("login"));
  work.Verify(*hash, "wrong-pw", note("login"));
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (order.size() < 32 && std::chrono::steady_clock::now() < end) {
    pollfd wake{work.WakeFd(), POLLIN, 0};
    if (poll(&wake, 1, 50) == 1) work.RunCompleted();
  }
  ASSERT_EQ(order.size(), 32u);
  EXPECT_EQ(std::count(order.begin(), order.end(), "hash ok"), 30);
  EXPECT_LE(std::find(order.begin(), order.end(), "login ok") - order.begin(), 1);
  EXPECT_LE(std::find(order.begin(), order.end(), "login refused") - order.begin(), 2);
}

}  // namespace
}  // namespace lobbyd
