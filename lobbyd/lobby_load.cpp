// lobby_load.cpp: load runs against korvo-lobbyd processes it starts on fresh
// stores and free loopback ports, in one go: one node on SQLite, then two
// nodes sharing one PostgreSQL (started in a temporary folder), the clients
// split between them (PostgreSQL syncs its writes, as SQLite does). N
// clients register, log in, enter one of C channels, open games (one client
// in 8) and see every game listed, then send L chat
// lines each, one round at a time. With two nodes, node 1 is killed after
// half the rounds: its clients connect to the next address of their list,
// log in again (the account is what node 1 had written) and go on. Each run
// reports logins per second, the time until every client lists every game,
// chat latency from sender to every receiver (p50, p99; also over deliveries
// that crossed nodes), chat throughput, lines lost and duplicated, and the
// nodes' peak memory. The nodes' registration and chat limits are lifted
// (all clients share one address).
//   lobbyd_load [--clients 200] [--channels 5] [--lines 20] [--hash-cost interactive|minimum]
//               [--runs sqlite,postgresql]
// Exit status 0 when every run lost and duplicated nothing; 77 when a
// PostgreSQL run was asked for and PostgreSQL is not installed.
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "lobbyd/client.h"
#include "lobbyd/pg_instance.h"
#include "lobbyd/server_process.h"

namespace {

using namespace lobbyd;
using Clock = std::chrono::steady_clock;

constexpr int kPhaseMs = 300000;
constexpr int kRoundMs = 10000;
constexpr int kGameEvery = 8;       // one client in 8 opens a game
constexpr int kNodeExpiryMs = 2000; // a killed node's players go this soon

int64_t NowNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch()).count();
}

struct SLoadClient {
  CLobbyClient client;
  std::string id;
  int channel = 0;
  size_t node = 0;          // index of the node connected to
  int results = 0;          // results received in the current phase
  int failures = 0;
  ECode lastCode = ECode::kOk;
  size_t sessionsSeen = 0;  // games in the last session list
  bool lost = false;        // its node went away
  bool loggedIn = false;
};

struct SLoad {
  std::vector<std::unique_ptr<SLoadClient>> clients;
  std::vector<int64_t> latenciesNs, crossNs;
  std::vector<std::vector<int>> received;   // [receiver][sender * lines + line] count
  int lines = 0;
  bool broken = false;
};

// Polls every client until `done` holds or the time is up; false on time-out.
template <typename Done>
bool PumpUntil(SLoad& load, int timeoutMs, Done done) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  std::vector<pollfd> fds(load.clients.size());
  std::vector<SLobbyEvent> events;
  while (!done()) {
    if (Clock::now() > deadline) return false;
    for (size_t i = 0; i < fds.size(); ++i) {
      CLobbyClient& c = load.clients[i]->client;
      fds[i] = {c.Fd(), static_cast<short>(POLLIN | (c.PendingOutput() ? POLLOUT : 0)), 0};
    }
    if (poll(fds.data(), fds.size(), 50) < 0) return false;
    for (size_t i = 0; i < fds.size(); ++i) {
      if (!fds[i].revents) continue;
      SLoadClient& lc = *load.clients[i];
      events.clear();
      if (!lc.client.Poll(0, &events)) lc.lost = true;
      const int64_t now = NowNs();
      for (const SLobbyEvent& event : events) {
        if (const auto* result = std::get_if<SResultEvent>(&event)) {
          ++lc.results;
          lc.lastCode = result->code;
          if (result->code != ECode::kOk) ++lc.failures;
        } else if (const auto* list = std::get_if<SSessionListEvent>(&event)) {
          lc.sessionsSeen = list->sessions.size();
        } else if (const auto* chat = std::get_if<SChatEvent>(&event)) {
          // "sender line sent-ns"
          int sender = 0, line = 0;
          long long sent = 0;
          if (std::sscanf(chat->text.c_str(), "%d %d %lld", &sender, &line, &sent) == 3 && sender >= 0 &&
              sender < static_cast<int>(load.clients.size()) && line >= 0 && line < load.lines) {
            ++load.received[i][static_cast<size_t>(sender * load.lines + line)];
            load.latenciesNs.push_back(now - sent);
            if (load.clients[static_cast<size_t>(sender)]->node != lc.node) load.crossNs.push_back(now - sent);
          }
        }
      }
    }
  }
  return true;
}

bool AllResults(const SLoad& load, int expected) {
  return std::all_of(load.clients.begin(), load.clients.end(),
                     [&](const auto& c) { return c->results >= expected; });
}

int Failures(const SLoad& load) {
  int failures = 0;
  for (const auto& c : load.clients) failures += c->failures;
  return failures;
}

void ResetResults(SLoad& load) {
  for (auto& c : load.clients) c->results = c->failures = 0;
}

double Percentile(std::vector<int64_t> values, double p) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const size_t index = std::min(values.size() - 1, static_cast<size_t>(p * static_cast<double>(values.size())));
  return static_cast<double>(values[index]) / 1e6;
}

struct SOptions {
  int clients = 200, channels = 5, lines = 20;
  std::string cost = "interactive";
};

// One run: `nodes` servers on `database`; false when anything failed or was lost.
bool Run(const char* label, const std::string& database, int nodes, const SOptions& o) {
  std::printf("== %s: %d node%s, %d clients, %d channels, %d lines per client, hash cost %s\n", label, nodes,
              nodes > 1 ? "s" : "", o.clients, o.channels, o.lines, o.cost.c_str());
  std::vector<std::unique_ptr<CServerProcess>> servers;
  std::vector<SEndpoint> endpoints;
  std::string error;
  for (int n = 0; n < nodes; ++n) {
    servers.push_back(std::make_unique<CServerProcess>());
    if (!servers.back()->Start(KORVO_LOBBYD, database,
                               {"--hash-cost", o.cost, "--registrations-per-hour", "1000000", "--chat-burst",
                                "1000000", "--address-logins-per-minute", "1000000", "--connections-per-address",
                                "100000", "--node-expiry-ms", std::to_string(kNodeExpiryMs)},
                               10000, &error)) {
      std::fprintf(stderr, "lobbyd_load: %s\n", error.c_str());
      return false;
    }
    endpoints.push_back({"127.0.0.1", servers.back()->Port()});
  }
  SLoad load;
  load.lines = o.lines;
  load.received.assign(static_cast<size_t>(o.clients),
                       std::vector<int>(static_cast<size_t>(o.clients * o.lines), 0));
  for (int i = 0; i < o.clients; ++i) {
    auto c = std::make_unique<SLoadClient>();
    c->id = "pilot" + std::to_string(i);
    c->channel = i % o.channels;
    // Half on each node; every client knows every node.
    if (!c->client.ConnectAny(endpoints, static_cast<size_t>(i % nodes), 5000, &error, {}, &c->node)) {
      std::fprintf(stderr, "lobbyd_load: connect: %s\n", error.c_str());
      return false;
    }
    load.clients.push_back(std::move(c));
  }
  bool ok = true;
  auto phase = [&](const char* name, auto send) {
    ResetResults(load);
    const auto start = Clock::now();
    for (auto& c : load.clients) send(*c);
    const bool done = PumpUntil(load, kPhaseMs, [&] { return AllResults(load, 1); });
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    if (!done || Failures(load)) {
      std::fprintf(stderr, "lobbyd_load: %s: %s, %d refused\n", name, done ? "done" : "timed out", Failures(load));
      ok = false;
    }
    return seconds;
  };
  const auto channelName = [](const SLoadClient& c) { return "load-" + std::to_string(c.channel); };

  const double registerSeconds = phase("register", [](SLoadClient& c) {
    c.client.SendNewIdPw(c.id, "secret-" + c.id, "secret-" + c.id, "850307", c.id + "@example.org");
  });
  const double loginSeconds = phase("login", [](SLoadClient& c) { c.client.SendIdPw(c.id, "secret-" + c.id); });
  for (auto& c : load.clients) c->loggedIn = c->failures == 0;
  phase("channel", [&](SLoadClient& c) { c.client.SendChgChannel(channelName(c)); });

  // Games: one client in 8 opens one; then every client asks for the list
  // until it holds them all (the other node's too).
  size_t games = 0;
  phase("create games", [&](SLoadClient& c) {
    const int i = std::atoi(c.id.c_str() + 5);
    if (i % kGameEvery == 0) {
      c.client.SendCreateGame("game" + std::to_string(i), "", 8, 0, "UNKNOWN.gnd", static_cast<uint16_t>(7000 + i));
      ++games;
    } else {
      c.client.SendSessionList();   // a result to wait for, like the others
    }
  });
  // A game's session entry counts as its creator's list: ask everyone.
  const auto gamesStart = Clock::now();
  bool listed = false;
  while (!listed && Clock::now() - gamesStart < std::chrono::milliseconds(kRoundMs)) {
    ResetResults(load);
    for (auto& c : load.clients) c->client.SendSessionList();
    PumpUntil(load, kRoundMs, [&] { return AllResults(load, 1); });
    listed = std::all_of(load.clients.begin(), load.clients.end(), [&](const auto& c) { return c->sessionsSeen == games; });
  }
  const double gamesSeconds = std::chrono::duration<double>(Clock::now() - gamesStart).count();
  if (!listed) {
    std::fprintf(stderr, "lobbyd_load: not every client lists the %zu games\n", games);
    ok = false;
  }

  // Chat rounds: every client sends one line, then all its deliveries are
  // awaited. With two nodes, node 1 dies after half of them.
  const auto deliveriesPerRound = [&] {
    size_t deliveries = 0;
    for (int i = 0; i < o.clients; ++i)
      deliveries += static_cast<size_t>((o.clients - 1 - i % o.channels) / o.channels + 1);
    return deliveries;
  }();
  double chatSeconds = 0, failoverSeconds = 0;
  size_t moved = 0;
  for (int line = 0; line < o.lines && ok; ++line) {
    if (nodes > 1 && line == o.lines / 2) {
      const auto killed = Clock::now();
      servers[0]->Kill();
      // Its clients hear the connection close, connect to the next node and
      // log in again once the dead node's logins have expired.
      PumpUntil(load, kRoundMs, [&] {
        return std::all_of(load.clients.begin(), load.clients.end(),
                           [](const auto& c) { return c->node != 0 || c->lost; });
      });
      for (auto& c : load.clients) {
        if (c->node != 0) continue;
        ++moved;
        c->lost = c->loggedIn = false;
        if (!c->client.ConnectAny(endpoints, 1, 5000, &error, {}, &c->node))
          std::fprintf(stderr, "lobbyd_load: failover: %s\n", error.c_str());
      }
      // Refused as still logged in on the dead node until its heartbeat
      // expires: asked again every 200 ms, at most 100 times.
      for (int attempt = 0; attempt < 100; ++attempt) {
        ResetResults(load);
        std::vector<SLoadClient*> asked;
        for (auto& c : load.clients) {
          if (c->loggedIn) {
            ++c->results;
            continue;
          }
          c->client.SendIdPw(c->id, "secret-" + c->id);
          asked.push_back(c.get());
        }
        if (asked.empty()) break;
        PumpUntil(load, kRoundMs, [&] { return AllResults(load, 1); });
        for (SLoadClient* c : asked) c->loggedIn = c->lastCode == ECode::kOk;
        PumpUntil(load, 200, [] { return false; });
      }
      phase("channel after failover", [&](SLoadClient& c) { c.client.SendChgChannel(channelName(c)); });
      failoverSeconds = std::chrono::duration<double>(Clock::now() - killed).count();
    }
    ResetResults(load);
    const int64_t roundStart = NowNs();
    for (int i = 0; i < o.clients; ++i)
      load.clients[static_cast<size_t>(i)]->client.SendChatMsg(std::to_string(i) + " " + std::to_string(line) + " " +
                                                              std::to_string(NowNs()));
    const size_t expected = load.latenciesNs.size() + deliveriesPerRound;
    PumpUntil(load, kRoundMs, [&] { return AllResults(load, 1) && load.latenciesNs.size() >= expected; });
    chatSeconds += static_cast<double>(NowNs() - roundStart) / 1e9;
    if (Failures(load)) ok = false;
  }
  // Late or duplicate deliveries get a short last chance to show up.
  PumpUntil(load, 200, [] { return false; });

  long lost = 0, duplicated = 0, expectedDeliveries = 0;
  for (int r = 0; r < o.clients; ++r)
    for (int s = 0; s < o.clients; ++s)
      for (int l = 0; l < o.lines; ++l) {
        const int got = load.received[static_cast<size_t>(r)][static_cast<size_t>(s * o.lines + l)];
        const bool expected = load.clients[static_cast<size_t>(r)]->channel == load.clients[static_cast<size_t>(s)]->channel;
        expectedDeliveries += expected;
        if (expected && got == 0) ++lost;
        if (got > (expected ? 1 : 0)) duplicated += got - (expected ? 1 : 0);
      }
  std::vector<long> peaks;
  for (auto& s : servers) peaks.push_back(s->PeakMemoryKiB());
  for (auto& s : servers) s->Stop(5000);
  std::printf("register: %.3f s (%.1f accounts/s)\n", registerSeconds, o.clients / registerSeconds);
  std::printf("login: %.3f s (%.1f logins/s)\n", loginSeconds, o.clients / loginSeconds);
  std::printf("games: %zu opened, listed by every client after %.3f s\n", games, gamesSeconds);
  std::printf("chat: %d lines sent, %ld deliveries expected, %zu received in %.3f s (%.0f deliveries/s)\n",
              o.clients * o.lines, expectedDeliveries, load.latenciesNs.size(), chatSeconds,
              static_cast<double>(load.latenciesNs.size()) / std::max(chatSeconds, 1e-9));
  std::printf("chat latency: p50 %.3f ms, p99 %.3f ms\n", Percentile(load.latenciesNs, 0.50),
              Percentile(load.latenciesNs, 0.99));
  if (nodes > 1) {
    std::printf("chat latency across nodes: p50 %.3f ms, p99 %.3f ms (%zu deliveries)\n",
                Percentile(load.crossNs, 0.50), Percentile(load.crossNs, 0.99), load.crossNs.size());
    std::printf("node 1 killed after %d rounds: %zu clients logged in again on node 2 within %.3f s\n", o.lines / 2,
                moved, failoverSeconds);
  }
  std::printf("lines lost: %ld, duplicated: %ld\n", lost, duplicated);
  for (size_t n = 0; n < peaks.size(); ++n)
    if (peaks[n] > 0) std::printf("node %zu peak memory: %ld KiB\n", n + 1, peaks[n]);
  return ok && lost == 0 && duplicated == 0;
}

}  // namespace

int main(int argc, char** argv) {
  SOptions o;
  std::string runs = "sqlite,postgresql";
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string arg = argv[i];
    if (arg == "--clients") o.clients = std::atoi(argv[i + 1]);
    else if (arg == "--channels") o.channels = std::atoi(argv[i + 1]);
    else if (arg == "--lines") o.lines = std::atoi(argv[i + 1]);
    else if (arg == "--hash-cost") o.cost = argv[i + 1];
    else if (arg == "--runs") runs = argv[i + 1];
  }
  const bool sqlite = runs.find("sqlite") != std::string::npos;
  const bool postgres = runs.find("postgresql") != std::string::npos;
  if (o.clients < 2 || o.clients > 1000 || o.channels < 1 || o.channels > 50 || o.lines < 2 || o.lines > 1000 ||
      (!sqlite && !postgres)) {
    std::fprintf(stderr, "usage: lobbyd_load [--clients 2-1000] [--channels 1-50] [--lines 2-1000] "
                         "[--hash-cost interactive|minimum] [--runs sqlite,postgresql]\n");
    return 2;
  }
  bool ok = true;
  if (sqlite) {
    char folder[] = "/tmp/lobbyd_load_XXXXXX";
    if (!mkdtemp(folder)) return 1;
    ok = Run("one node on SQLite", std::string(folder) + "/lobby.db", 1, o) && ok;
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
  }
  if (postgres) {
    CPgInstance pg;
    std::string error;
    if (!pg.Start(&error, /*durable=*/true)) {
      std::printf("== two nodes on PostgreSQL: skipped: %s\n", error.c_str());
      return ok ? 77 : 1;
    }
    ok = Run("two nodes on one PostgreSQL", pg.Url(), 2, o) && ok;
  }
  return ok ? 0 : 1;
}
