// lobby_load.cpp: a load run against a korvo-lobbyd it starts on a fresh
// database and a free loopback port. N clients register, log in, enter one of
// C channels and send L chat lines each, one round at a time; it reports
// logins per second, chat latency (p50, p99) over every delivery, lines lost
// and duplicated, and the server's peak memory. The server's registration and
// chat limits are lifted for the run (all clients share one address).
//   lobbyd_load [--clients 200] [--channels 5] [--lines 20] [--hash-cost interactive|minimum]
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
#include "lobbyd/server_process.h"

namespace {

using namespace lobbyd;
using Clock = std::chrono::steady_clock;

int64_t NowNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch()).count();
}

struct SLoadClient {
  CLobbyClient client;
  std::string id;
  int channel = 0;
  int results = 0;        // results received in the current phase
  int failures = 0;
};

struct SLoad {
  std::vector<std::unique_ptr<SLoadClient>> clients;
  std::vector<int64_t> latenciesNs;
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
      if (!lc.client.Poll(0, &events)) load.broken = true;
      const int64_t now = NowNs();
      for (const SLobbyEvent& event : events) {
        if (const auto* result = std::get_if<SResultEvent>(&event)) {
          ++lc.results;
          if (result->code != ECode::kOk) ++lc.failures;
        } else if (const auto* chat = std::get_if<SChatEvent>(&event)) {
          // "sender line sent-ns"
          int sender = 0, line = 0;
          long long sent = 0;
          if (std::sscanf(chat->text.c_str(), "%d %d %lld", &sender, &line, &sent) == 3 && sender >= 0 &&
              sender < static_cast<int>(load.clients.size()) && line >= 0 && line < load.lines) {
            ++load.received[i][static_cast<size_t>(sender * load.lines + line)];
            load.latenciesNs.push_back(now - sent);
          }
        } else if (std::holds_alternative<SDisconnectedEvent>(event)) {
          load.broken = true;
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

}  // namespace

int main(int argc, char** argv) {
  int clients = 200, channels = 5, lines = 20;
  std::string cost = "interactive";
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string arg = argv[i];
    if (arg == "--clients") clients = std::atoi(argv[i + 1]);
    else if (arg == "--channels") channels = std::atoi(argv[i + 1]);
    else if (arg == "--lines") lines = std::atoi(argv[i + 1]);
    else if (arg == "--hash-cost") cost = argv[i + 1];
  }
  if (clients < 1 || clients > 1000 || channels < 1 || channels > 50 || lines < 1 || lines > 1000) {
    std::fprintf(stderr, "usage: lobbyd_load [--clients 1-1000] [--channels 1-50] [--lines 1-1000] "
                         "[--hash-cost interactive|minimum]\n");
    return 2;
  }
  char folder[] = "/tmp/lobbyd_load_XXXXXX";
  if (!mkdtemp(folder)) return 1;
  const std::string database = std::string(folder) + "/lobby.db";
  CServerProcess server;
  std::string error;
  if (!server.Start(KORVO_LOBBYD, database, {"--hash-cost", cost, "--registrations-per-hour", "1000000", "--chat-burst", "1000000",
                                                  "--address-logins-per-minute", "1000000", "--connections-per-address", "100000"}, 10000, &error)) {
    std::fprintf(stderr, "lobbyd_load: %s\n", error.c_str());
    return 1;
  }
  SLoad load;
  load.lines = lines;
  load.received.assign(static_cast<size_t>(clients), std::vector<int>(static_cast<size_t>(clients * lines), 0));
  for (int i = 0; i < clients; ++i) {
    auto c = std::make_unique<SLoadClient>();
    c->id = "pilot" + std::to_string(i);
    c->channel = i % channels;
    if (!c->client.Connect("127.0.0.1", server.Port(), 5000, &error)) {
      std::fprintf(stderr, "lobbyd_load: connect: %s\n", error.c_str());
      return 1;
    }
    load.clients.push_back(std::move(c));
  }
  const int kPhaseMs = 300000;
  int status = 0;
  auto phase = [&](const char* name, auto send) {
    ResetResults(load);
    const auto start = Clock::now();
    for (auto& c : load.clients) send(*c);
    const bool done = PumpUntil(load, kPhaseMs, [&] { return AllResults(load, 1); });
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    if (!done || Failures(load) || load.broken) {
      std::fprintf(stderr, "lobbyd_load: %s: %s, %d refused\n", name, done ? "done" : "timed out", Failures(load));
      status = 1;
    }
    return seconds;
  };

  const double registerSeconds = phase("register", [](SLoadClient& c) {
    c.client.SendNewIdPw(c.id, "secret-" + c.id, "secret-" + c.id, "850307", c.id + "@example.org");
  });
  const double loginSeconds = phase("login", [](SLoadClient& c) { c.client.SendIdPw(c.id, "secret-" + c.id); });
  phase("channel", [](SLoadClient& c) { c.client.SendChgChannel("load-" + std::to_string(c.channel)); });

  // Chat rounds: every client sends one line, then all its deliveries are awaited.
  const double chatStart = NowNs();
  for (int line = 0; line < lines && status == 0; ++line) {
    ResetResults(load);
    for (int i = 0; i < clients; ++i)
      load.clients[static_cast<size_t>(i)]->client.SendChatMsg(std::to_string(i) + " " + std::to_string(line) + " " +
                                                              std::to_string(NowNs()));
    const size_t expected = load.latenciesNs.size() + [&] {
      size_t deliveries = 0;
      for (int i = 0; i < clients; ++i) deliveries += static_cast<size_t>((clients - 1 - i % channels) / channels + 1);
      return deliveries;
    }();
    PumpUntil(load, 10000, [&] { return AllResults(load, 1) && load.latenciesNs.size() >= expected; });
    if (Failures(load)) status = 1;
  }
  const double chatSeconds = (NowNs() - chatStart) / 1e9;
  // Late or duplicate deliveries get a short last chance to show up.
  PumpUntil(load, 200, [] { return false; });

  long lost = 0, duplicated = 0, expectedDeliveries = 0;
  for (int r = 0; r < clients; ++r)
    for (int s = 0; s < clients; ++s)
      for (int l = 0; l < lines; ++l) {
        const int got = load.received[static_cast<size_t>(r)][static_cast<size_t>(s * lines + l)];
        const bool expected = load.clients[static_cast<size_t>(r)]->channel == load.clients[static_cast<size_t>(s)]->channel;
        expectedDeliveries += expected;
        if (expected && got == 0) ++lost;
        if (got > (expected ? 1 : 0)) duplicated += got - (expected ? 1 : 0);
      }
  const long peak = server.PeakMemoryKiB();
  server.Stop(5000);
  std::printf("clients %d, channels %d, lines per client %d, hash cost %s\n", clients, channels, lines, cost.c_str());
  std::printf("register: %.3f s (%.1f accounts/s)\n", registerSeconds, clients / registerSeconds);
  std::printf("login: %.3f s (%.1f logins/s)\n", loginSeconds, clients / loginSeconds);
  std::printf("chat: %d lines sent, %ld deliveries expected, %zu received in %.3f s\n", clients * lines,
              expectedDeliveries, load.latenciesNs.size(), chatSeconds);
  std::printf("chat latency: p50 %.3f ms, p99 %.3f ms\n", Percentile(load.latenciesNs, 0.50),
              Percentile(load.latenciesNs, 0.99));
  std::printf("lines lost: %ld, duplicated: %ld\n", lost, duplicated);
  std::printf("server peak memory: %ld KiB\n", peak);
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
  return status == 0 && lost == 0 && duplicated == 0 ? 0 : 1;
}
