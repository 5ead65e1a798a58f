// login_throttle_test.cpp: probes of the login throttle over 127.0.0.1:
// guesses sent side by side on many connections, and an owner logging in
// from another address while an attacker keeps the account's lock.
#include <gtest/gtest.h>

#include <memory>

#include "lobby_probe.h"
#include "lobbyd/server_process.h"
#include "lobbyd/throttle.h"
#include "../lobbyd/lobbyd_temp.h"

namespace lobbyd {
namespace {

using probe::CProbe;

struct LoginThrottleProbe : ::testing::Test {
  void SetUp() override {
    std::string error;
    // Every guess from one address, on more connections than it may hold by default.
    ASSERT_TRUE(server.Start(probe::ServerProgram(), folder.File("lobby.db"),
                             {"--hash-cost", "minimum", "--connections-per-address", "64"}, 10000, &error))
        << error;
    CProbe owner;
    ASSERT_TRUE(owner.Connect(server.Port()));
    ASSERT_TRUE(owner.Send(EMsg::kNewIdPw, {"Falcon", "secret-F", "secret-F", "850307", "f@example.org"}));
    ASSERT_EQ(owner.Result(EMsg::kNewIdPw), ECode::kOk);
  }
  CTempFolder folder;
  CServerProcess server;
};

TEST_F(LoginThrottleProbe, GuessesOnParallelConnectionsMeetTheSameLimit) {
  constexpr int kConnections = 39;
  std::vector<std::unique_ptr<CProbe>> probes;
  for (int i = 0; i < kConnections; ++i) {
    probes.push_back(std::make_unique<CProbe>());
    ASSERT_TRUE(probes.back()->Connect(server.Port()));
  }
  // Every guess is on the wire before the first answer can come back.
  for (int i = 0; i < kConnections; ++i)
    ASSERT_TRUE(probes[i]->Send(EMsg::kIdPw, {"Falcon", "wrong-" + std::to_string(i)}));
  int checked = 0, throttled = 0;
  for (auto& p : probes) {
    const std::optional<ECode> code = p->Result(EMsg::kIdPw);
    ASSERT_TRUE(code);
    if (*code == ECode::kWrongLogin) ++checked;
    if (*code == ECode::kThrottled) ++throttled;
  }
  std::printf("parallel guesses checked: %d of %d\n", checked, kConnections);
  EXPECT_LE(checked, CLoginThrottle::kPairRule.maxFailures);
  EXPECT_EQ(checked + throttled, kConnections);
}

TEST_F(LoginThrottleProbe, AnAttackersLockDoesNotReachTheOwnerElsewhere) {
  CProbe attacker;
  ASSERT_TRUE(attacker.Connect(server.Port(), "127.0.0.2"));
  int refusedThrottled = 0;
  for (int i = 0; i < 10; ++i) {
    ASSERT_TRUE(attacker.Send(EMsg::kIdPw, {"Falcon", "guess-" + std::to_string(i)}));
    const std::optional<ECode> code = attacker.Result(EMsg::kIdPw);
    ASSERT_TRUE(code);
    refusedThrottled += *code == ECode::kThrottled;
  }
  EXPECT_EQ(refusedThrottled, 10 - CLoginThrottle::kPairRule.maxFailures);
  // The owner, at another address, logs in with the right password.
  CProbe owner;
  ASSERT_TRUE(owner.Connect(server.Port(), "127.0.0.3"));
  ASSERT_TRUE(owner.Send(EMsg::kIdPw, {"Falcon", "secret-F"}));
  const std::optional<ECode> code = owner.Result(EMsg::kIdPw);
  ASSERT_TRUE(code);
  std::printf("owner from another address: %s\n", CodeName(*code));
  EXPECT_EQ(*code, ECode::kOk);
  // The attacker stays locked out, even with the right password.
  ASSERT_TRUE(attacker.Send(EMsg::kIdPw, {"Falcon", "secret-F"}));
  EXPECT_EQ(attacker.Result(EMsg::kIdPw), ECode::kThrottled);
}

}  // namespace
}  // namespace lobbyd
