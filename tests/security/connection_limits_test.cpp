// connection_limits_test.cpp: probes of korvo-lobbyd's connections over
// 127.0.0.1: connections per address, the login and idle timeouts (a silent
// connection does not keep its account logged in), and a server out of file
// descriptors that must not spin.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <thread>

#include "lobby_probe.h"
#include "lobbyd/server.h"
#include "lobbyd/server_process.h"
#include "../lobbyd/lobbyd_temp.h"

namespace lobbyd {
namespace {

using probe::CProbe;

// CPU seconds (user and system) a process has used so far.
double CpuSeconds(pid_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
  std::istringstream rest(text.substr(text.rfind(')') + 2));
  std::string field;
  long long utime = 0, stime = 0;
  for (int i = 3; i <= 15 && rest >> field; ++i) {
    if (i == 14) utime = std::stoll(field);
    if (i == 15) stime = std::stoll(field);
  }
  return static_cast<double>(utime + stime) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

struct ConnectionProbe : ::testing::Test {
  void Start(const std::vector<std::string>& extra = {}) {
    std::vector<std::string> args = {"--hash-cost", "minimum"};
    args.insert(args.end(), extra.begin(), extra.end());
    std::string error;
    ASSERT_TRUE(server.Start(probe::ServerProgram(), folder.File("lobby.db"), args, 10000, &error)) << error;
  }
  void Account(CProbe& p, const std::string& id) {
    ASSERT_TRUE(p.Send(EMsg::kNewIdPw, {id, "secret-1", "secret-1", "850307", "p@example.org"}));
    ASSERT_EQ(p.Result(EMsg::kNewIdPw), ECode::kOk);
  }
  CTempFolder folder;
  CServerProcess server;
};

TEST_F(ConnectionProbe, OneAddressHoldsABoundedNumberOfConnections) {
  Start();
  const size_t limit = SServerOptions().connectionsPerAddress;
  std::vector<std::unique_ptr<CProbe>> probes;
  for (size_t i = 0; i < limit + 8; ++i) {
    probes.push_back(std::make_unique<CProbe>());
    ASSERT_TRUE(probes.back()->Connect(server.Port(), "127.0.0.5"));
  }
  size_t closed = 0;
  for (auto& p : probes) closed += p->ClosedWithin(100);
  std::printf("connections held from one address: %zu of %zu\n", probes.size() - closed, probes.size());
  EXPECT_EQ(probes.size() - closed, limit);
  // Another address is served.
  CProbe other;
  ASSERT_TRUE(other.Connect(server.Port(), "127.0.0.6"));
  Account(other, "Falcon");
}

TEST_F(ConnectionProbe, NoLoginInTimeAndSilenceEndTheConnection) {
  Start({"--login-timeout-ms", "400", "--idle-timeout-ms", "1200"});
  CProbe idle;
  ASSERT_TRUE(idle.Connect(server.Port()));
  const auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(idle.ClosedWithin(3000));
  std::printf("a connection without a login closed after %.0f ms\n",
              std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  // A logged-in connection that falls silent (a half-open link looks the
  // same) does not keep its account logged in.
  CProbe first;
  ASSERT_TRUE(first.Connect(server.Port()));
  Account(first, "Falcon");
  ASSERT_TRUE(first.Send(EMsg::kIdPw, {"Falcon", "secret-1"}));
  ASSERT_EQ(first.Result(EMsg::kIdPw), ECode::kOk);
  CProbe second;
  ASSERT_TRUE(second.Connect(server.Port(), "127.0.0.7"));
  ASSERT_TRUE(second.Send(EMsg::kIdPw, {"Falcon", "secret-1"}));
  EXPECT_EQ(second.Result(EMsg::kIdPw), ECode::kAlreadyLoggedIn);
  EXPECT_TRUE(first.ClosedWithin(4000));
  CProbe third;
  ASSERT_TRUE(third.Connect(server.Port(), "127.0.0.7"));
  ASSERT_TRUE(third.Send(EMsg::kIdPw, {"Falcon", "secret-1"}));
  EXPECT_EQ(third.Result(EMsg::kIdPw), ECode::kOk);
}

TEST_F(ConnectionProbe, OutOfDescriptorsTheServerRestsAndRecovers) {
  Start();
  const rlimit few{24, 24};
  ASSERT_EQ(prlimit(server.Pid(), RLIMIT_NOFILE, &few, nullptr), 0);
  // More connections than descriptors, from several addresses.
  std::vector<std::unique_ptr<CProbe>> probes;
  for (int i = 0; i < 40; ++i) {
    probes.push_back(std::make_unique<CProbe>());
    ASSERT_TRUE(probes.back()->Connect(server.Port(), "127.0.1." + std::to_string(1 + i % 8)));
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(200));   // the backlog fills
  const double before = CpuSeconds(server.Pid());
  std::this_thread::sleep_for(std::chrono::milliseconds(1000));
  const double used = CpuSeconds(server.Pid()) - before;
  std::printf("server CPU over 1 s with descriptors exhausted: %.0f%%\n", used * 100);
  EXPECT_LT(used, 0.2);
  // Descriptors free again: a new connection is served.
  probes.clear();
  CProbe late;
  ASSERT_TRUE(late.Connect(server.Port(), "127.0.2.1"));
  Account(late, "Falcon");
}

}  // namespace
}  // namespace lobbyd
