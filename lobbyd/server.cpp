// server.cpp: sockets, TLS and the poll loop.
#include "lobbyd/server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <openssl/err.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "lobbyd/encoder.h"

namespace lobbyd {

namespace {

constexpr int64_t kAcceptPauseMs = 250;
// The listener, the password workers' wake-up and the other nodes' notices
// come before the connections in the poll set.
constexpr size_t kFixedFds = 3;

bool SetNonBlocking(int fd) {
  const int flags = fcntl(fd, F_GETFL, 0);
  return flags >= 0 && fcntl(fd, F_SETFL, flags | O_NONBLOCK) == 0;
}

}  // namespace

CServer::~CServer() {
  for (auto& [id, conn] : conns_) close(conn.fd);
  if (listener_ >= 0) close(listener_);
}

std::unique_ptr<CServer> CServer::Create(const SServerOptions& options, Clock clock, std::string* error) {
  std::unique_ptr<CServer> server(new CServer());
  server->options_ = options;
  server->clock_ = clock;
  const bool loopback = options.bind.rfind("127.", 0) == 0;
  if (options.tlsCert.empty() != options.tlsKey.empty()) {
    *error = "TLS needs both a certificate and a key";
    return nullptr;
  }
  if (!options.tlsCert.empty()) {
    server->tls_ = NewServerContext(options.tlsCert, options.tlsKey, error);
    if (!server->tls_) return nullptr;
  } else if (!loopback) {
    *error = "plain TCP is served on 127.0.0.0/8 only (passwords would cross the network readable); "
             "give --tls-cert and --tls-key to listen on " + options.bind;
    return nullptr;
  }
  if (!CPasswordHasher::Initialize()) {
    *error = "libsodium cannot start";
    return nullptr;
  }
  server->store_ = CStore::Open(options.database, error);
  if (!server->store_) return nullptr;
  server->passwords_ = std::make_unique<CThreadedPasswordWork>(CPasswordHasher(options.hashCost),
                                                                std::max(1, options.hashThreads));
  if (!server->passwords_->Ok()) {
    *error = "cannot start the password workers";
    return nullptr;
  }
  CServer* self = server.get();
  server->lobby_ = std::make_unique<CLobby>(*server->store_, *server->passwords_, std::move(clock),
                                            [self](ConnId id, const SMessage& m) { self->Queue(id, m); },
                                            options.limits);

  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(options.port);
  if (inet_pton(AF_INET, options.bind.c_str(), &address.sin_addr) != 1) {
    *error = "not an IPv4 address: " + options.bind;
    return nullptr;
  }
  server->listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  const int yes = 1;
  if (server->listener_ < 0 || setsockopt(server->listener_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes) != 0 ||
      bind(server->listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      listen(server->listener_, 128) != 0 || !SetNonBlocking(server->listener_)) {
    *error = std::string("cannot listen: ") + std::strerror(errno);
    return nullptr;
  }
  socklen_t length = sizeof address;
  getsockname(server->listener_, reinterpret_cast<sockaddr*>(&address), &length);
  server->port_ = ntohs(address.sin_port);
  return server;
}

void CServer::Run(const volatile std::sig_atomic_t* stop) {
  std::vector<pollfd> fds;
  std::vector<ConnId> ids;
  while (!*stop) {
    fds.clear();
    ids.clear();
    const int64_t now = clock_();
    fds.push_back({listener_, static_cast<short>(now >= acceptPausedUntil_ ? POLLIN : 0), 0});
    fds.push_back({passwords_->WakeFd(), POLLIN, 0});
    fds.push_back({lobby_->NoticeFd(), POLLIN, 0});   // -1 (ignored by poll) on a single node
    bool decrypted = false;   // bytes TLS holds already: no waiting
    for (auto& [id, conn] : conns_) {
      fds.push_back({conn.fd, Events(id, conn), 0});
      ids.push_back(id);
      decrypted = decrypted || (conn.ssl && !conn.handshaking && !lobby_->Busy(id) && SSL_pending(conn.ssl.get()));
    }
    // A bounded wait so that a stop request is seen without a wake-up.
    const int ready = poll(fds.data(), fds.size(), decrypted ? 0 : 200);
    if (ready < 0) {
      if (errno == EINTR) continue;
      std::perror("korvo-lobbyd: poll");
      return;
    }
    if (fds[0].revents & POLLIN) Accept();
    if (fds[1].revents & POLLIN) {
      passwords_->RunCompleted();
      // Requests that waited behind a password job go on.
      for (auto& [id, conn] : conns_)
        if (!conn.closing && conn.reader.Pending() && !lobby_->Busy(id)) Process(id, conn);
    }
    for (size_t i = kFixedFds; i < fds.size(); ++i) {
      auto it = conns_.find(ids[i - kFixedFds]);
      if (it == conns_.end()) continue;
      SConnection& conn = it->second;
      const short revents = fds[i].revents;
      if (conn.handshaking) {
        if (revents) Handshake(it->first, conn);
        continue;
      }
      const bool tlsReady = conn.ssl && ((conn.tlsWants == POLLOUT && (revents & POLLOUT)) ||
                                         (!lobby_->Busy(it->first) && SSL_pending(conn.ssl.get()) > 0));
      if ((revents & (POLLIN | POLLHUP | POLLERR)) || tlsReady) Read(it->first, conn);
    }
    // The other nodes' notices in, this node's changes out.
    lobby_->NodesTick();
    // Answers and relayed chat go out at once where the socket takes them.
    std::vector<ConnId> closing;
    for (auto& [id, conn] : conns_) {
      if (!conn.closing) Flush(conn);
      if (conn.closing) closing.push_back(id);
    }
    for (ConnId id : closing) Close(id);
    CloseExpired(clock_());
  }
}

// What one connection waits for in the poll.
short CServer::Events(ConnId id, const SConnection& conn) const {
  if (conn.handshaking) return conn.tlsWants;
  // A client whose password job runs is not read: TCP holds its next requests.
  const short in = lobby_->Busy(id) ? 0 : POLLIN;
  const bool out = conn.out.size() > conn.outStart || (conn.ssl && conn.tlsWants == POLLOUT);
  return static_cast<short>(in | (out ? POLLOUT : 0));
}

// Connections past their handshake, login or idle timeout, and logins past
// their max age (the player is logged out with the connection).
void CServer::CloseExpired(int64_t now) {
  std::vector<std::pair<ConnId, const char*>> expired;
  for (auto& [id, conn] : conns_) {
    const bool loggedIn = lobby_->LoggedIn(id);
    if (loggedIn && !conn.loggedIn) conn.loggedInAt = now;
    conn.loggedIn = loggedIn;
    const char* reason = nullptr;
    if (conn.handshaking && now - conn.connectedAt >= options_.handshakeTimeoutMs) reason = "no TLS handshake in time";
    else if (!loggedIn && now - conn.connectedAt >= options_.loginTimeoutMs) reason = "no login in time";
    else if (loggedIn && now - conn.loggedInAt >= options_.loginMaxAgeMs) reason = "login expired";
    else if (now - conn.lastHeard >= options_.idleTimeoutMs) reason = "idle";
    if (reason && !lobby_->Busy(id)) expired.emplace_back(id, reason);
  }
  for (const auto& [id, reason] : expired) {
    std::fprintf(stderr, "korvo-lobbyd: connection %llu closed: %s\n", static_cast<unsigned long long>(id), reason);
    Close(id);
  }
}

void CServer::Accept() {
  for (int i = 0; i < 64; ++i) {
    sockaddr_in peer{};
    socklen_t length = sizeof peer;
    const int fd = accept4(listener_, reinterpret_cast<sockaddr*>(&peer), &length, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0) {
      // No descriptor left: the pending connection stays queued, and polling
      // the listener again at once would spin. Rest it a while.
      if (errno == EMFILE || errno == ENFILE || errno == ENOBUFS || errno == ENOMEM) {
        if (clock_() >= acceptPausedUntil_)
          std::fprintf(stderr, "korvo-lobbyd: accept: %s; pausing accepts\n", std::strerror(errno));
        acceptPausedUntil_ = clock_() + kAcceptPauseMs;
      }
      return;
    }
    const uint32_t address = ntohl(peer.sin_addr.s_addr);
    const size_t fromAddress = static_cast<size_t>(std::count_if(
        conns_.begin(), conns_.end(), [address](const auto& c) { return c.second.address == address; }));
    if (conns_.size() >= options_.maxConnections || peer.sin_family != AF_INET ||
        fromAddress >= options_.connectionsPerAddress) {
      close(fd);
      continue;
    }
    const int yes = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
    setsockopt(fd, SOL_SOCKET, SO_KEEPALIVE, &yes, sizeof yes);
    const int probes = 3;
    setsockopt(fd, IPPROTO_TCP, TCP_KEEPIDLE, &options_.keepAliveIdleS, sizeof options_.keepAliveIdleS);
    setsockopt(fd, IPPROTO_TCP, TCP_KEEPINTVL, &options_.keepAliveIntervalS, sizeof options_.keepAliveIntervalS);
    setsockopt(fd, IPPROTO_TCP, TCP_KEEPCNT, &probes, sizeof probes);
    SslPtr ssl;
    if (tls_) {
      ssl.reset(SSL_new(tls_.get()));
      if (!ssl || SSL_set_fd(ssl.get(), fd) != 1) {
        std::fprintf(stderr, "korvo-lobbyd: TLS: %s\n", TlsError().c_str());
        close(fd);
        continue;
      }
      SSL_set_accept_state(ssl.get());
    }
    const ConnId id = nextId_++;
    SConnection& conn = conns_[id];
    conn.fd = fd;
    conn.handshaking = ssl != nullptr;
    conn.ssl = std::move(ssl);
    conn.address = address;
    conn.connectedAt = conn.lastHeard = clock_();
    lobby_->Connected(id, address);
  }
}

// One step of a TLS handshake; a failed one closes this connection only.
void CServer::Handshake(ConnId id, SConnection& conn) {
  const ETlsStep step = Step(conn.ssl.get(), SSL_do_handshake(conn.ssl.get()));
  if (step == ETlsStep::kWantRead || step == ETlsStep::kWantWrite) {
    conn.tlsWants = step == ETlsStep::kWantRead ? POLLIN : POLLOUT;
    return;
  }
  if (step != ETlsStep::kDone) {
    std::fprintf(stderr, "korvo-lobbyd: connection %llu closed: TLS handshake failed: %s\n",
                 static_cast<unsigned long long>(id), TlsError().c_str());
    conn.closing = true;
    return;
  }
  conn.handshaking = false;
  conn.tlsWants = POLLIN;
}

void CServer::Read(ConnId id, SConnection& conn) {
  uint8_t buffer[16384];
  ssize_t got = 0;
  if (conn.ssl) {
    const int n = SSL_read(conn.ssl.get(), buffer, sizeof buffer);
    conn.tlsWants = POLLIN;
    if (n <= 0) {
      const ETlsStep step = Step(conn.ssl.get(), n);
      if (step == ETlsStep::kWantWrite) conn.tlsWants = POLLOUT;
      else if (step != ETlsStep::kWantRead) conn.closing = true;
      if (step == ETlsStep::kFailed) TlsError();
      return;
    }
    got = n;
  } else {
    got = recv(conn.fd, buffer, sizeof buffer, 0);
    if (got == 0 || (got < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)) {
      conn.closing = true;
      return;
    }
    if (got < 0) return;
  }
  conn.lastHeard = clock_();
  conn.reader.Feed(buffer, static_cast<size_t>(got));
  Process(id, conn);
}

void CServer::Process(ConnId id, SConnection& conn) {
  SMessage message;
  std::string error;
  while (!lobby_->Busy(id)) {
    const CFrameReader::EStatus status = conn.reader.Next(&message, &error);
    if (status == CFrameReader::EStatus::kNeedMore) return;
    if (status == CFrameReader::EStatus::kMalformed || !lobby_->Handle(id, message)) {
      std::fprintf(stderr, "korvo-lobbyd: connection %llu closed: %s\n", static_cast<unsigned long long>(id),
                   status == CFrameReader::EStatus::kMalformed ? error.c_str() : "an answer sent as a request");
      conn.closing = true;
      return;
    }
    if (conn.closing) return;
  }
}

void CServer::Queue(ConnId id, const SMessage& message) {
  auto it = conns_.find(id);
  if (it == conns_.end() || it->second.closing) return;
  SConnection& conn = it->second;
  if (!EncodeFrame(message, &conn.out)) {
    std::fprintf(stderr, "korvo-lobbyd: an answer does not fit the protocol (type %d)\n",
                 static_cast<int>(message.type));
    return;
  }
  if (conn.out.size() - conn.outStart > options_.maxPendingOutput) {
    std::fprintf(stderr, "korvo-lobbyd: connection %llu closed: does not read its answers\n",
                 static_cast<unsigned long long>(id));
    conn.closing = true;
  }
}

void CServer::Flush(SConnection& conn) {
  if (conn.handshaking) return;
  while (conn.outStart < conn.out.size()) {
    if (conn.ssl) {
      const size_t size = std::min<size_t>(conn.out.size() - conn.outStart, 1 << 30);
      const int sent = SSL_write(conn.ssl.get(), conn.out.data() + conn.outStart, static_cast<int>(size));
      if (sent <= 0) {
        const ETlsStep step = Step(conn.ssl.get(), sent);
        if (step == ETlsStep::kWantWrite) conn.tlsWants = POLLOUT;
        else if (step != ETlsStep::kWantRead) conn.closing = true, TlsError();
        return;
      }
      conn.outStart += static_cast<size_t>(sent);
      continue;
    }
    const ssize_t sent = send(conn.fd, conn.out.data() + conn.outStart, conn.out.size() - conn.outStart, MSG_NOSIGNAL);
    if (sent < 0) {
      if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) conn.closing = true;
      return;
    }
    conn.outStart += static_cast<size_t>(sent);
  }
  conn.out.clear();
  conn.outStart = 0;
}

void CServer::Close(ConnId id) {
  auto it = conns_.find(id);
  if (it == conns_.end()) return;
  // A TLS goodbye, best effort: the client then reads a clean close.
  if (it->second.ssl && !it->second.handshaking) {
    SSL_shutdown(it->second.ssl.get());
    ERR_clear_error();
  }
  close(it->second.fd);
  conns_.erase(it);
  lobby_->Disconnected(id);
}

}  // namespace lobbyd
