// main.cpp: korvo-lobbyd, the online lobby server.
//   korvo-lobbyd --db PATH|postgresql://... --port N [--bind ADDRESS] [--hash-cost interactive|minimum]
//                [--registrations-per-hour N] [--chat-burst N] [--address-logins-per-minute N]
//                [--connections-per-address N] [--login-timeout-ms N] [--idle-timeout-ms N]
//                [--tls-cert FILE --tls-key FILE] [--handshake-timeout-ms N] [--login-max-age S]
//                [--node-expiry-ms N]
// Prints "korvo-lobbyd listening on ADDRESS:PORT" once it accepts connections
// (port 0 picks a free one), and stops on SIGINT or SIGTERM.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <cstring>
#include <string>

#include "lobbyd/server.h"

namespace {

volatile std::sig_atomic_t g_stop = 0;
void OnSignal(int) { g_stop = 1; }

constexpr char kUsage[] =
    "usage: korvo-lobbyd --db PATH --port N [--bind ADDRESS] [--tls-cert FILE --tls-key FILE]\n"
    "                    [--hash-cost interactive|minimum] [options below]\n"
    "  --db PATH        the SQLite database (created when missing), for a single node\n"
    "  --db postgresql://USER@HOST:PORT/DB\n"
    "                   a PostgreSQL database that several nodes share (libpq URL)\n"
    "  --port N         the TCP port; 0 picks a free one\n"
    "  --bind ADDRESS   the address to listen on (default 127.0.0.1); without TLS only an\n"
    "                   address in 127.0.0.0/8 is allowed, with a warning\n"
    "  --tls-cert FILE  serve TLS (1.2 and up) with this PEM certificate (chain)\n"
    "  --tls-key FILE   and this PEM private key\n"
    "  --hash-cost C    Argon2id cost of passwords: interactive (default) or minimum (tests,\n"
    "                   on 127.0.0.0/8 only)\n"
    "  --registrations-per-hour N     registrations per address (default 20)\n"
    "  --chat-burst N                 chat lines at once per connection, then 1 a second (default 5)\n"
    "  --address-logins-per-minute N  login tries per address (default 20)\n"
    "  --connections-per-address N    connections per address (default 16)\n"
    "  --login-timeout-ms N           time to log in after connecting (default 30000)\n"
    "  --idle-timeout-ms N            silence before a connection is closed (default 1800000)\n"
    "  --handshake-timeout-ms N       time to finish the TLS handshake (default 10000)\n"
    "  --login-max-age S              seconds a login lasts; then the player is logged out\n"
    "                                 (default 43200, 12 hours)\n"
    "  --node-expiry-ms N             on PostgreSQL: a node silent this long is taken for dead\n"
    "                                 and its players leave the lists (default 5000, 1000-600000)\n"
    "  --help           this text\n"
    "Prints \"korvo-lobbyd listening on ADDRESS:PORT\" when ready; stops on SIGINT or SIGTERM.\n";

// The usage on standard error with status 2 (wrong arguments), or on
// standard output with status 0 (asked for).
int Usage(std::FILE* out = stderr, int status = 2) {
  std::fputs(kUsage, out);
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  lobbyd::SServerOptions options;
  bool havePort = false, minimumCost = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") return Usage(stdout, 0);
    if (i + 1 >= argc) return Usage();
    const char* value = argv[++i];
    if (arg == "--db") {
      options.database = value;
    } else if (arg == "--port") {
      char* end = nullptr;
      const long port = std::strtol(value, &end, 10);
      if (*value == '\0' || *end != '\0' || port < 0 || port > 65535) return Usage();
      options.port = static_cast<uint16_t>(port);
      havePort = true;
    } else if (arg == "--connections-per-address" || arg == "--login-timeout-ms" || arg == "--idle-timeout-ms" ||
               arg == "--handshake-timeout-ms") {
      char* end = nullptr;
      const long long n = std::strtoll(value, &end, 10);
      if (*value == '\0' || *end != '\0' || n < 1 || n > 24LL * 3'600'000) return Usage();
      if (arg == "--connections-per-address") options.connectionsPerAddress = static_cast<size_t>(n);
      else if (arg == "--login-timeout-ms") options.loginTimeoutMs = n;
      else if (arg == "--handshake-timeout-ms") options.handshakeTimeoutMs = n;
      else options.idleTimeoutMs = n;
    } else if (arg == "--registrations-per-hour" || arg == "--chat-burst" || arg == "--address-logins-per-minute") {
      char* end = nullptr;
      const long n = std::strtol(value, &end, 10);
      if (*value == '\0' || *end != '\0' || n < 1 || n > 1'000'000) return Usage();
      if (arg == "--chat-burst") options.limits.chatBurst = static_cast<int>(n);
      else if (arg == "--address-logins-per-minute") options.limits.addressLogins.maxFailures = static_cast<int>(n);
      else options.limits.registrations.maxFailures = static_cast<int>(n);
    } else if (arg == "--login-max-age") {
      char* end = nullptr;
      const long long n = std::strtoll(value, &end, 10);
      if (*value == '\0' || *end != '\0' || n < 1 || n > 30LL * 24 * 3600) return Usage();
      options.loginMaxAgeMs = n * 1000;
    } else if (arg == "--node-expiry-ms") {
      char* end = nullptr;
      const long long n = std::strtoll(value, &end, 10);
      if (*value == '\0' || *end != '\0' || n < 1000 || n > 600'000) return Usage();
      options.limits.nodeExpiryMs = n;
      options.limits.heartbeatMs = std::min<long long>(1000, n / 3);
    } else if (arg == "--tls-cert") {
      options.tlsCert = value;
    } else if (arg == "--tls-key") {
      options.tlsKey = value;
    } else if (arg == "--bind") {
      options.bind = value;
    } else if (arg == "--hash-cost") {
      if (std::strcmp(value, "interactive") == 0) options.hashCost = lobbyd::InteractiveCost();
      else if (std::strcmp(value, "minimum") == 0) options.hashCost = lobbyd::MinimumCost(), minimumCost = true;
      else return Usage();
    } else {
      return Usage();
    }
  }
  if (options.database.empty() || !havePort) return Usage();
  // The minimum cost makes hashes cheap to guess: tests and the load program
  // use it, on the loopback only.
  if (minimumCost && options.bind.rfind("127.", 0) != 0) {
    std::fprintf(stderr, "korvo-lobbyd: --hash-cost minimum is for tests on 127.0.0.0/8, not on %s\n",
                 options.bind.c_str());
    return 2;
  }

  std::signal(SIGPIPE, SIG_IGN);
  std::signal(SIGINT, OnSignal);
  std::signal(SIGTERM, OnSignal);
  std::string error;
  auto server = lobbyd::CServer::Create(options, lobbyd::SteadyClock(), &error);
  if (!server) {
    std::fprintf(stderr, "korvo-lobbyd: %s\n", error.c_str());
    return 1;
  }
  if (!server->Tls())
    std::fprintf(stderr, "korvo-lobbyd: warning: plain TCP without TLS: passwords cross the loopback readable "
                         "(give --tls-cert and --tls-key to serve TLS)\n");
  std::printf("korvo-lobbyd listening on %s:%u\n", options.bind.c_str(), static_cast<unsigned>(server->Port()));
  std::fflush(stdout);
  server->Run(&g_stop);
  return 0;
}
