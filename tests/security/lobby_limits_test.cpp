// lobby_limits_test.cpp: probes of korvo-lobbyd over 127.0.0.1 pushed past
// its limits: connections per address, the login and idle timeouts, a server
// out of file descriptors that must not spin, login guesses side by side, a
// database another process holds locked, and the starts it refuses. The
// chat rate and the registrations per address are LobbyTest's.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>

#include <fstream>
#include <thread>

#include "lobby_probe.h"
#include "lobbyd/lobby.h"
#include "lobbyd/server.h"

namespace lobbyd {
namespace {

using probe::CProbe;
using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// CPU seconds (user and system) a process has used so far.
double CpuSeconds(pid_t pid) {
  clockid_t clock{};
  timespec used{};
  EXPECT_EQ(clock_getcpuclockid(pid, &clock), 0);
  EXPECT_EQ(clock_gettime(clock, &used), 0);
  return static_cast<double>(used.tv_sec) + static_cast<double>(used.tv_nsec) / 1e9;
}

struct LobbyProbe : ::testing::Test {
  void Start(const std::vector<std::string>& extra = {}) { ASSERT_TRUE(server.Start(probe::ServerProgram(), extra)); }
  SLobbyServer server;
};

TEST_F(LobbyProbe, OneAddressHoldsABoundedNumberOfConnections) {
  Start();
  const size_t limit = SServerOptions().connectionsPerAddress;
  std::vector<CProbe> probes(limit + 8);
  for (CProbe& p : probes) EXPECT_TRUE(p.Connect(server.Port(), "127.0.0.5"));
  size_t closed = 0;
  for (CProbe& p : probes) closed += p.ClosedWithin(100);
  EXPECT_EQ(probes.size() - closed, limit);
  // Another address is served.
  SPilot other;
  ASSERT_TRUE(other.Connect(server.Port()));
  EXPECT_EQ(other.Register("Falcon"), ECode::kOk);
}

TEST_F(LobbyProbe, NoLoginInTimeAndSilenceEndTheConnection) {
  Start({"--login-timeout-ms", "400", "--idle-timeout-ms", "1200"});
  CProbe idle;
  ASSERT_TRUE(idle.Connect(server.Port()));
  const auto start = Clock::now();
  EXPECT_TRUE(idle.ClosedWithin(3000));
  std::printf("a connection without a login closed after %.0f ms\n", MsSince(start));
  // A logged-in connection that falls silent (a half-open link looks the
  // same) does not keep its account logged in.
  SPilot first, second, third;
  ASSERT_TRUE(first.Connect(server.Port()) && second.Connect(server.Port()));
  ASSERT_EQ(first.Register("Falcon"), ECode::kOk);
  ASSERT_EQ(first.Login("Falcon"), ECode::kOk);
  EXPECT_EQ(second.Login("Falcon"), ECode::kAlreadyLoggedIn);
  EXPECT_TRUE(first.Await<SDisconnectedEvent>());
  ASSERT_TRUE(third.Connect(server.Port()));
  EXPECT_EQ(third.Login("Falcon"), ECode::kOk);
}

TEST_F(LobbyProbe, OutOfDescriptorsTheServerRestsAndRecovers) {
  Start();
  const rlimit few{24, 24};
  ASSERT_EQ(prlimit(server.process.Pid(), RLIMIT_NOFILE, &few, nullptr), 0);
  // More connections than descriptors, from several addresses.
  std::vector<CProbe> probes(40);
  for (size_t i = 0; i < probes.size(); ++i)
    EXPECT_TRUE(probes[i].Connect(server.Port(), "127.0.1." + std::to_string(1 + i % 8))) << i;
  std::this_thread::sleep_for(std::chrono::milliseconds(200));   // the backlog fills
  const double before = CpuSeconds(server.process.Pid());
  std::this_thread::sleep_for(std::chrono::milliseconds(1000));
  const double used = CpuSeconds(server.process.Pid()) - before;
  std::printf("server CPU over 1 s with descriptors exhausted: %.0f%%\n", used * 100);
  EXPECT_LT(used, 0.2);
  // Descriptors free again: a new connection is served.
  probes.clear();
  SPilot late;
  ASSERT_TRUE(late.Connect(server.Port()));
  EXPECT_EQ(late.Register("Falcon"), ECode::kOk);
}

TEST_F(LobbyProbe, GuessesOnParallelConnectionsMeetTheSameLimit) {
  // Every guess from one address, on more connections than it may hold by default.
  Start({"--connections-per-address", "64"});
  std::vector<SPilot> pilots(40);
  for (SPilot& pilot : pilots) ASSERT_TRUE(pilot.Connect(server.Port()));
  ASSERT_EQ(pilots[0].Register("Falcon"), ECode::kOk);
  // Every guess is on the wire before the first answer can come back.
  constexpr int kConnections = 39;
  for (int i = 1; i <= kConnections; ++i)
    ASSERT_TRUE(pilots[i].client.SendIdPw("Falcon", "wrong-" + std::to_string(i)));
  int checked = 0, throttled = 0;
  for (int i = 1; i <= kConnections; ++i) {
    const ECode code = pilots[i].Result(EMsg::kIdPw);
    checked += code == ECode::kWrongLogin;
    throttled += code == ECode::kThrottled;
  }
  EXPECT_LE(checked, CLoginThrottle::kPairRule.maxFailures);
  EXPECT_EQ(checked + throttled, kConnections);
}

// A database another process holds locked is a server error answered soon
// (the poll thread waits briefly); the file is readable by its owner only.
TEST_F(LobbyProbe, ALockedDatabaseIsAServerErrorAnsweredSoonAndTheFileIsPrivate) {
  Start();
  const std::string database = server.folder.File("lobby.db");
  struct stat file {};
  ASSERT_EQ(stat(database.c_str(), &file), 0);
  EXPECT_EQ(file.st_mode & 0777, 0600u);
  SPilot p;
  ASSERT_TRUE(p.Connect(server.Port()));
  ASSERT_EQ(p.Register("Falcon"), ECode::kOk);
  // Another process takes the database for writing and keeps it.
  sqlite3* holder = nullptr;
  ASSERT_EQ(sqlite3_open(database.c_str(), &holder), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(holder, "BEGIN IMMEDIATE; INSERT INTO channels (name) VALUES ('held');", nullptr, nullptr,
                         nullptr),
            SQLITE_OK)
      << sqlite3_errmsg(holder);
  const auto start = Clock::now();
  const ECode code = p.Register("Raven");
  const double ms = MsSince(start);
  std::printf("a registration on a locked database: %s after %.0f ms\n", CodeName(code), ms);
  EXPECT_EQ(code, ECode::kServerError);
  EXPECT_LT(ms, 1000);   // an answer, not the pilot's wait running out
  // Reading goes on meanwhile: the login is checked as usual.
  EXPECT_EQ(p.Login("Falcon"), ECode::kOk);
  sqlite3_exec(holder, "ROLLBACK;", nullptr, nullptr, nullptr);
  sqlite3_close(holder);
  // Released: the registration goes through.
  EXPECT_EQ(p.Register("Raven"), ECode::kOk);
}

// Plain TCP and the minimum hash cost are served on the loopback only, and a
// certificate needs its key: the program says why and exits non-zero
// (timeout 10: a server that would serve stops).
TEST(LobbyStartProbe, WhatIsServedOnTheLoopbackOnlyIsRefusedElsewhere) {
  CTempFolder folder;
  const struct {
    std::string args;
    const char* why;
  } cases[] = {
      {"--bind 0.0.0.0", "plain TCP is served on 127.0.0.0/8 only"},
      {"--hash-cost minimum --bind 0.0.0.0", "--hash-cost minimum is for tests on 127.0.0.0/8"},
      {"--tls-cert " + folder.File("some.pem"), "both a certificate and a key"},
  };
  for (const auto& c : cases) {
    const std::string log = folder.File("refused.log");
    const int status = std::system(("timeout 10 " + probe::ServerProgram() + " --db " + folder.File("lobby.db") +
                                    " --port 0 " + c.args + " >" + log + " 2>&1")
                                       .c_str());
    std::ifstream in(log);
    const std::string said((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) != 0 && WEXITSTATUS(status) != 124) << c.args;
    EXPECT_NE(said.find(c.why), std::string::npos) << c.args << ": " << said;
  }
}

}  // namespace
}  // namespace lobbyd
