// server.h: korvo-lobbyd's network side: one thread, one poll loop over the
// listening socket and the clients' TCP connections. Bytes in go through the
// frame reader to the lobby; a malformed stream, an overlong frame or a
// client that does not read its answers closes that connection only.
// Password hashing runs on worker threads (see password_work.h); a client's
// requests wait while its own password job runs. A connection that does not
// log in within the login timeout, or stays silent past the idle timeout, is
// closed; TCP keepalive finds peers that vanished; one address holds a
// bounded number of connections; when no descriptor is left, accepting
// pauses instead of spinning. With a certificate and key the connections are
// TLS: the handshake runs in the same loop, bounded by its own timeout, and
// one that fails closes that connection only. Without them the server binds
// the loopback only. A login lasts at most the login max age; then the
// server ends the connection and the player logs in again.
#pragma once
#include <poll.h>

#include <csignal>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "lobbyd/decoder.h"
#include "lobbyd/lobby.h"
#include "lobbyd/tls.h"

namespace lobbyd {

struct SServerOptions {
  std::string database;
  std::string bind = "127.0.0.1";
  uint16_t port = 0;                 // 0: any free port (see Port())
  SHashCost hashCost = InteractiveCost();
  int hashThreads = 2;
  size_t maxConnections = 1024;
  size_t maxPendingOutput = 1 << 20; // bytes queued for one client
  size_t connectionsPerAddress = 16;
  int64_t loginTimeoutMs = 30'000;   // from the connection to a good login
  int64_t idleTimeoutMs = 30 * 60'000; // nothing received for this long
  int64_t handshakeTimeoutMs = 10'000;     // from the connection to a finished TLS handshake
  int64_t loginMaxAgeMs = 12 * 3'600'000;  // from a good login to its end
  std::string tlsCert, tlsKey;       // PEM files; both empty: plain TCP on the loopback only
  int keepAliveIdleS = 60;           // TCP keepalive: first probe after this silence
  int keepAliveIntervalS = 10;       // then one probe per interval, 3 unanswered: gone
  SLobbyLimits limits;
};

class CServer {
 public:
  ~CServer();
  // Opens the database and binds; null with *error on failure.
  static std::unique_ptr<CServer> Create(const SServerOptions& options, Clock clock, std::string* error);
  uint16_t Port() const { return port_; }
  bool Tls() const { return tls_ != nullptr; }
  // Serves until *stop becomes non-zero (a signal handler sets it).
  void Run(const volatile std::sig_atomic_t* stop);

 private:
  struct SConnection {
    int fd = -1;
    uint32_t address = 0;
    int64_t connectedAt = 0, lastHeard = 0;
    bool loggedIn = false;             // as last seen by CloseExpired
    int64_t loggedInAt = 0;            // since then
    SslPtr ssl;                        // null: plain TCP
    bool handshaking = false;
    short tlsWants = POLLIN;           // what the TLS layer waits for
    CFrameReader reader;
    std::vector<uint8_t> out;
    size_t outStart = 0;
    bool closing = false;
  };

  CServer() = default;
  void Accept();
  void Read(ConnId id, SConnection& conn);
  void Process(ConnId id, SConnection& conn);
  void Flush(SConnection& conn);
  void Handshake(ConnId id, SConnection& conn);
  short Events(ConnId id, const SConnection& conn) const;
  void Queue(ConnId id, const SMessage& message);
  void Close(ConnId id);
  void CloseExpired(int64_t now);

  SServerOptions options_;
  std::unique_ptr<CStore> store_;
  std::unique_ptr<CThreadedPasswordWork> passwords_;
  std::unique_ptr<CLobby> lobby_;
  SslContext tls_;
  int listener_ = -1;
  uint16_t port_ = 0;
  ConnId nextId_ = 1;
  Clock clock_;
  int64_t acceptPausedUntil_ = 0;   // out of descriptors: the listener rests
  std::unordered_map<ConnId, SConnection> conns_;
};

}  // namespace lobbyd
