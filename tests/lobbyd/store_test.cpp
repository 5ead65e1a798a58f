// store_test.cpp: accounts, channels and games in the SQLite store, across reopening.
#include <gtest/gtest.h>
#include <poll.h>

#include <thread>

#include "lobbyd/password_work.h"
#include "lobbyd/store.h"
#include "lobbyd_temp.h"

namespace lobbyd {
namespace {

TEST(LobbyStore, AccountsAreUniqueWithoutCaseAndSurviveReopening) {
  CTempFolder folder;
  ASSERT_TRUE(folder.Ok());
  std::string error;
  {
    auto store = CStore::Open(folder.File("lobby.db"), &error);
    ASSERT_TRUE(store) << error;
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
  }
  auto store = CStore::Open(folder.File("lobby.db"), &error);
  ASSERT_TRUE(store) << error;
  const auto found = store->FindAccount("fAlCoN");
  ASSERT_TRUE(found);
  EXPECT_EQ(found->id, "Falcon");
  EXPECT_EQ(found->passwordHash, "$argon2id$new");
  EXPECT_EQ(found->birthday, "850307");
  EXPECT_EQ(found->email, "falcon@example.org");
  EXPECT_EQ(found->wins, 3u);
  EXPECT_EQ(found->losses, 2u);
  EXPECT_EQ(found->score, 450u);
  EXPECT_FALSE(store->FindAccount("Nobody"));
  EXPECT_EQ(store->Channels(), (std::vector<std::string>{"Free", "Arena"}));
  EXPECT_TRUE(store->Games().empty());   // their hosts left with the old server
}

TEST(LobbyStore, OpenFailsClearly) {
  std::string error;
  EXPECT_FALSE(CStore::Open("/nonexistent-folder/lobby.db", &error));
  EXPECT_FALSE(error.empty());
}

TEST(LobbyPasswords, Argon2idHashesVerifyOnlyTheirPassword) {
  ASSERT_TRUE(CPasswordHasher::Initialize());
  CPasswordHasher hasher(MinimumCost());
  const auto hash = hasher.Hash("secret-pw");
  ASSERT_TRUE(hash);
  EXPECT_EQ(hash->rfind("$argon2id$", 0), 0u);
  EXPECT_EQ(hash->find("secret-pw"), std::string::npos);
  EXPECT_TRUE(hasher.Verify(*hash, "secret-pw"));
  EXPECT_FALSE(hasher.Verify(*hash, "secret-pX"));
  EXPECT_FALSE(hasher.Verify("not a hash", "secret-pw"));
  EXPECT_NE(*hasher.Hash("secret-pw"), *hash);   // salted
}

}  // namespace
}  // namespace lobbyd

namespace lobbyd {
namespace {

TEST(LobbyPasswords, WorkerThreadsHandOutcomesBackOnTheCallersThread) {
  ASSERT_TRUE(CPasswordHasher::Initialize());
  CThreadedPasswordWork work(CPasswordHasher(MinimumCost()), 2);
  ASSERT_TRUE(work.Ok());
  const std::thread::id caller = std::this_thread::get_id();
  std::string hash;
  int done = 0;
  work.Hash("secret-pw", [&](bool ok, const std::string& h) {
    EXPECT_TRUE(ok);
    EXPECT_EQ(std::this_thread::get_id(), caller);
    hash = h;
    ++done;
  });
  for (int i = 0; i < 500 && done < 1; ++i) {
    pollfd wake{work.WakeFd(), POLLIN, 0};
    if (poll(&wake, 1, 20) == 1) work.RunCompleted();
  }
  ASSERT_EQ(done, 1);
  std::vector<bool> outcomes;
  work.Verify(hash, "secret-pw", [&](bool ok, const std::string&) { outcomes.push_back(ok); });
  work.Verify(hash, "wrong-pw", [&](bool ok, const std::string&) { outcomes.push_back(!ok); });
  for (int i = 0; i < 500 && outcomes.size() < 2; ++i) {
    pollfd wake{work.WakeFd(), POLLIN, 0};
    if (poll(&wake, 1, 20) == 1) work.RunCompleted();
  }
  EXPECT_EQ(outcomes, (std::vector<bool>{true, true}));
}

}  // namespace
}  // namespace lobbyd
