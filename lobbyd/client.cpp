// client.cpp: the client library's socket, requests and event assembly.
#include "lobbyd/client.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <openssl/err.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>

#include "lobbyd/encoder.h"

namespace lobbyd {

namespace {

SPlayer ToPlayer(const SMessage& m) {
  SPlayer p;
  p.id = m.Text(0);
  p.wins = static_cast<uint16_t>(m.Number(0));
  p.losses = static_cast<uint16_t>(m.Number(1));
  p.score = m.Number(2);
  p.ranking = static_cast<uint16_t>(m.Number(3));
  p.grade = static_cast<uint8_t>(m.Number(4));
  return p;
}

std::string Dotted(uint32_t a) {
  return std::to_string(a >> 24) + "." + std::to_string((a >> 16) & 255) + "." + std::to_string((a >> 8) & 255) +
         "." + std::to_string(a & 255);
}

SSession ToSession(const SMessage& m) {
  SSession s;
  s.name = m.Text(0);
  s.map = m.Text(1);
  s.type = static_cast<uint8_t>(m.Number(0));
  const uint32_t address = m.Number(1);
  for (int i = 0; i < 4; ++i) s.address[i] = static_cast<uint8_t>(address >> (24 - 8 * i));
  s.port = static_cast<uint16_t>(m.Number(2));
  s.players = static_cast<uint8_t>(m.Number(3));
  s.maxPlayers = static_cast<uint8_t>(m.Number(4));
  s.locked = m.Number(5) != 0;
  return s;
}

}  // namespace

CLobbyClient::~CLobbyClient() { Close(); }

bool CLobbyClient::Connect(const std::string& address, uint16_t port, int timeoutMs, std::string* error,
                           const STlsTrust& trust) {
  Close();
  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_port = htons(port);
  if (inet_pton(AF_INET, address.c_str(), &to.sin_addr) != 1) {
    if (error) *error = "not an IPv4 address: " + address;
    return false;
  }
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd < 0) {
    if (error) *error = std::strerror(errno);
    return false;
  }
  if (connect(fd, reinterpret_cast<sockaddr*>(&to), sizeof to) != 0 && errno != EINPROGRESS) {
    if (error) *error = std::strerror(errno);
    close(fd);
    return false;
  }
  pollfd waiting{fd, POLLOUT, 0};
  int status = 0;
  socklen_t length = sizeof status;
  if (poll(&waiting, 1, timeoutMs) != 1 || getsockopt(fd, SOL_SOCKET, SO_ERROR, &status, &length) != 0 ||
      status != 0) {
    if (error) *error = status ? std::strerror(status) : "connection timed out";
    close(fd);
    return false;
  }
  const int yes = 1;
  setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
  fd_ = fd;
  if (trust.Enabled() && !Handshake(address, trust, timeoutMs, error)) {
    Close();
    return false;
  }
  reader_ = CFrameReader();
  out_.clear();
  outStart_ = 0;
  dropReason_.clear();
  players_.clear();
  channels_.clear();
  sessions_.clear();
  sessionPlayers_.clear();
  sessionNames_.clear();
  return true;
}

bool CLobbyClient::ParseEndpoints(const std::string& list, uint16_t defaultPort, std::vector<SEndpoint>* out,
                                  std::string* error) {
  out->clear();
  size_t start = 0;
  while (start <= list.size()) {
    size_t end = list.find(',', start);
    if (end == std::string::npos) end = list.size();
    std::string item = list.substr(start, end - start);
    item.erase(0, item.find_first_not_of(" \t"));
    item.erase(item.find_last_not_of(" \t") + 1);
    start = end + 1;
    if (item.empty()) continue;
    if (out->size() == kMaxEndpoints) {
      *error = "more than " + std::to_string(kMaxEndpoints) + " lobby servers";
      return false;
    }
    SEndpoint endpoint{item, defaultPort};
    const size_t colon = item.find(':');
    if (colon != std::string::npos) {
      endpoint.address = item.substr(0, colon);
      const std::string port = item.substr(colon + 1);
      char* last = nullptr;
      const long n = std::strtol(port.c_str(), &last, 10);
      if (port.empty() || *last || n <= 0 || n > 65535) {
        *error = "not a port: " + item;
        return false;
      }
      endpoint.port = static_cast<uint16_t>(n);
    }
    in_addr parsed{};
    if (inet_pton(AF_INET, endpoint.address.c_str(), &parsed) != 1) {
      *error = "not an IPv4 address: " + endpoint.address;
      return false;
    }
    out->push_back(endpoint);
  }
  if (out->empty()) *error = "no lobby server named";
  return !out->empty();
}

bool CLobbyClient::ConnectAny(const std::vector<SEndpoint>& endpoints, size_t first, int timeoutMs,
                              std::string* error, const STlsTrust& trust, size_t* reached) {
  std::string failures;
  for (size_t i = 0; i < endpoints.size(); ++i) {
    const size_t index = (first + i) % endpoints.size();
    const SEndpoint& e = endpoints[index];
    std::string why;
    if (Connect(e.address, e.port, timeoutMs, &why, trust)) {
      if (reached) *reached = index;
      return true;
    }
    failures += (failures.empty() ? "" : "; ") + e.address + ":" + std::to_string(e.port) + ": " + why;
  }
  if (error) *error = endpoints.empty() ? "no lobby server named" : failures;
  return false;
}

// The TLS handshake on the connected socket, then the check of the server.
bool CLobbyClient::Handshake(const std::string& address, const STlsTrust& trust, int timeoutMs,
                             std::string* error) {
  std::string why;
  tlsContext_ = NewClientContext(trust, &why);
  if (tlsContext_) tls_.reset(SSL_new(tlsContext_.get()));
  if (!tls_ || SSL_set_fd(tls_.get(), fd_) != 1) {
    if (error) *error = why.empty() ? "TLS: " + TlsError() : why;
    return false;
  }
  // A CA-signed certificate must name the address connected to.
  if (!trust.caFile.empty()) X509_VERIFY_PARAM_set1_ip_asc(SSL_get0_param(tls_.get()), address.c_str());
  SSL_set_connect_state(tls_.get());
  const CNoSigPipe quiet;
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    const int ret = SSL_do_handshake(tls_.get());
    const ETlsStep step = Step(tls_.get(), ret);
    if (step == ETlsStep::kDone) break;
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
    if (step != ETlsStep::kWantRead && step != ETlsStep::kWantWrite) {
      const long verified = SSL_get_verify_result(tls_.get());
      if (error)
        *error = verified != X509_V_OK ? std::string("certificate verification failed: ") +
                                             X509_verify_cert_error_string(verified)
                                       : "TLS handshake failed: " + TlsError();
      return false;
    }
    pollfd waiting{fd_, static_cast<short>(step == ETlsStep::kWantRead ? POLLIN : POLLOUT), 0};
    if (left.count() <= 0 || poll(&waiting, 1, static_cast<int>(left.count())) == 0) {
      if (error) *error = "TLS handshake timed out";
      return false;
    }
  }
  const std::string refused = CheckPeer(tls_.get(), trust);
  if (!refused.empty()) {
    if (error) *error = refused;
    return false;
  }
  return true;
}

void CLobbyClient::Close() {
  if (tls_ && fd_ >= 0 && SSL_is_init_finished(tls_.get())) {
    const CNoSigPipe quiet;
    SSL_shutdown(tls_.get());
    ERR_clear_error();
  }
  tls_.reset();
  tlsContext_.reset();
  if (fd_ >= 0) close(fd_);
  fd_ = -1;
}

ssize_t CLobbyClient::Receive(uint8_t* buffer, size_t size) {
  if (!tls_) return recv(fd_, buffer, size, 0);
  const CNoSigPipe quiet;   // a read may answer the server (a key update)
  const int got = SSL_read(tls_.get(), buffer, static_cast<int>(size));
  if (got > 0) return got;
  switch (Step(tls_.get(), got)) {
    case ETlsStep::kWantRead:
    case ETlsStep::kWantWrite: errno = EAGAIN; return -1;
    case ETlsStep::kClosed: return 0;
    default:
      // A peer gone without a TLS goodbye reads as a close; anything else is an error.
      if (ERR_peek_error() == 0 || ERR_GET_REASON(ERR_peek_error()) == SSL_R_UNEXPECTED_EOF_WHILE_READING) {
        ERR_clear_error();
        return 0;
      }
      TlsError();
      errno = EPROTO;
      return -1;
  }
}

ssize_t CLobbyClient::Transmit(const uint8_t* data, size_t size) {
  if (!tls_) return send(fd_, data, size, MSG_NOSIGNAL);
  const CNoSigPipe quiet;
  const int sent = SSL_write(tls_.get(), data, static_cast<int>(std::min<size_t>(size, 1 << 30)));
  if (sent > 0) return sent;
  const ETlsStep step = Step(tls_.get(), sent);
  if (step == ETlsStep::kWantRead || step == ETlsStep::kWantWrite) {
    errno = EAGAIN;
  } else {
    TlsError();
    errno = EPIPE;
  }
  return -1;
}

// ---- Requests ------------------------------------------------------------------------------

bool CLobbyClient::Send(const SMessage& message) {
  if (fd_ < 0 || !EncodeFrame(message, &out_)) return false;
  Flush();
  return true;
}

bool CLobbyClient::SendIdPw(const std::string& id, const std::string& password) {
  return Send(MakeMessage(EMsg::kIdPw, {id, password}));
}
bool CLobbyClient::SendLogOut() { return Send(MakeMessage(EMsg::kLogOut, {})); }
bool CLobbyClient::SendPrivateInfo() { return Send(MakeMessage(EMsg::kPrivateInfo, {})); }
bool CLobbyClient::SendNewIdPw(const std::string& id, const std::string& password, const std::string& verify,
                               const std::string& birthday, const std::string& email) {
  return Send(MakeMessage(EMsg::kNewIdPw, {id, password, verify, birthday, email}));
}
bool CLobbyClient::SendChgPw(const std::string& id, const std::string& password, const std::string& newPassword,
                             const std::string& verify) {
  return Send(MakeMessage(EMsg::kChgPw, {id, password, newPassword, verify}));
}
bool CLobbyClient::SendChannelList() { return Send(MakeMessage(EMsg::kChannelList, {})); }
bool CLobbyClient::SendChgChannel(const std::string& name) { return Send(MakeMessage(EMsg::kChgChannel, {name})); }
bool CLobbyClient::SendPlayerList() { return Send(MakeMessage(EMsg::kPlayerList, {})); }
bool CLobbyClient::SendSessionList() { return Send(MakeMessage(EMsg::kSessionList, {})); }
bool CLobbyClient::SendSessionInfo(const std::string& name) {
  if (!Send(MakeMessage(EMsg::kSessionInfo, {name}))) return false;
  sessionNames_.push_back(name);
  return true;
}
bool CLobbyClient::SendJoinGame(const std::string& name, const std::string& password, const std::string& address) {
  return Send(MakeMessage(EMsg::kJoinGame, {name, password, address}));
}
bool CLobbyClient::SendCreateGame(const std::string& name, const std::string& password, int players, int type,
                                  const std::string& map, uint16_t port) {
  if (players < 0 || players > 255 || type < 0 || type > 255) return false;
  return Send(MakeMessage(EMsg::kCreateGame, {name, password, map},
                          {static_cast<uint32_t>(players), static_cast<uint32_t>(type), port}));
}
bool CLobbyClient::SendChatMsg(const std::string& text) { return Send(MakeMessage(EMsg::kChatMsg, {text})); }
bool CLobbyClient::SendLeaveGame() { return Send(MakeMessage(EMsg::kLeaveGame, {})); }

// ---- Receiving -----------------------------------------------------------------------------

bool CLobbyClient::Flush() {
  while (fd_ >= 0 && outStart_ < out_.size()) {
    const ssize_t sent = Transmit(out_.data() + outStart_, out_.size() - outStart_);
    if (sent < 0) {
      if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) return true;
      dropReason_ = std::strerror(errno);
      return false;
    }
    outStart_ += static_cast<size_t>(sent);
  }
  out_.clear();
  outStart_ = 0;
  return true;
}

void CLobbyClient::Drop(const std::string& reason, std::vector<SLobbyEvent>* events) {
  Close();
  events->push_back(SDisconnectedEvent{reason});
}

bool CLobbyClient::Poll(int timeoutMs, std::vector<SLobbyEvent>* events) {
  if (fd_ < 0) return false;
  if (!Flush()) {
    Drop(dropReason_, events);
    return false;
  }
  // Bytes TLS already decrypted wait in the library, not in the socket.
  const bool buffered = tls_ && SSL_pending(tls_.get()) > 0;
  pollfd waiting{fd_, static_cast<short>(POLLIN | (PendingOutput() ? POLLOUT : 0)), 0};
  if (poll(&waiting, 1, buffered ? 0 : timeoutMs) < 0 && errno != EINTR) {
    Drop(std::strerror(errno), events);
    return false;
  }
  if (waiting.revents & POLLOUT && !Flush()) {
    Drop(dropReason_, events);
    return false;
  }
  if (!buffered && !(waiting.revents & (POLLIN | POLLHUP | POLLERR))) return true;
  // Drain what the socket holds now, up to the bound of one call.
  uint8_t buffer[16384];
  for (size_t total = 0; total < kMaxReadPerPoll;) {
    const ssize_t got = Receive(buffer, sizeof buffer);
    if (got == 0) {
      Drop("closed by the server", events);
      return false;
    }
    if (got < 0) {
      if (errno == EAGAIN || errno == EWOULDBLOCK) break;
      if (errno == EINTR) continue;
      Drop(std::strerror(errno), events);
      return false;
    }
    total += static_cast<size_t>(got);
    reader_.Feed(buffer, static_cast<size_t>(got));
    SMessage message;
    std::string error;
    for (;;) {
      const CFrameReader::EStatus status = reader_.Next(&message, &error);
      if (status == CFrameReader::EStatus::kNeedMore) break;
      if (status == CFrameReader::EStatus::kMalformed) {
        Drop("malformed answer: " + error, events);
        return false;
      }
      Dispatch(message, events);
    }
  }
  return true;
}

void CLobbyClient::Dispatch(const SMessage& m, std::vector<SLobbyEvent>* events) {
  const bool full = std::max({players_.size(), channels_.size(), sessions_.size(), sessionPlayers_.size()}) >=
                    kMaxListEntries;
  const bool entry = m.type == EMsg::kPlayerEntry || m.type == EMsg::kChannelEntry ||
                     m.type == EMsg::kSessionEntry || m.type == EMsg::kSessionPlayer;
  if (entry && full) return;   // past any list the server may send
  switch (m.type) {
    case EMsg::kPlayerEntry: players_.push_back(ToPlayer(m)); return;
    case EMsg::kChannelEntry: channels_.push_back({m.Text(0), static_cast<uint16_t>(m.Number(0))}); return;
    case EMsg::kSessionEntry: sessions_.push_back(ToSession(m)); return;
    case EMsg::kSessionPlayer:
      sessionPlayers_.push_back({m.Text(1), static_cast<uint16_t>(m.Number(0)), static_cast<uint16_t>(m.Number(1)),
                                 static_cast<uint16_t>(m.Number(2)), static_cast<uint8_t>(m.Number(3))});
      return;
    case EMsg::kChat: events->push_back(SChatEvent{m.Text(0), m.Text(1)}); return;
    case EMsg::kJoinGranted:
      events->push_back(SJoinGrantedEvent{m.Text(0), Dotted(m.Number(0)), static_cast<uint16_t>(m.Number(1))});
      return;
    case EMsg::kSessionClosed: events->push_back(SSessionClosedEvent{m.Text(0)}); return;
    case EMsg::kResult: break;
    default: return;   // a request type from the server: nothing to do with it
  }
  const auto request = static_cast<EMsg>(m.Number(0));
  const auto code = static_cast<ECode>(m.Number(1));
  const bool ok = code == ECode::kOk;
  switch (request) {
    case EMsg::kPrivateInfo:
      if (ok && !players_.empty()) events->push_back(SPrivateInfoEvent{players_.front()});
      break;
    case EMsg::kPlayerList:
      if (ok) events->push_back(SPlayerListEvent{players_});
      break;
    case EMsg::kChannelList:
      if (ok) events->push_back(SChannelListEvent{channels_});
      break;
    case EMsg::kChgChannel:
      if (ok && !channels_.empty()) events->push_back(SChannelChangedEvent{channels_.front()});
      break;
    case EMsg::kSessionList:
      if (ok) events->push_back(SSessionListEvent{sessions_});
      break;
    case EMsg::kCreateGame:
      if (ok && !sessions_.empty()) events->push_back(SGameCreatedEvent{sessions_.front()});
      break;
    case EMsg::kSessionInfo: {
      std::string name = sessionNames_.empty() ? std::string() : sessionNames_.front();
      if (!sessionNames_.empty()) sessionNames_.pop_front();
      if (ok) events->push_back(SSessionInfoEvent{name, sessionPlayers_});
      break;
    }
    default: break;
  }
  players_.clear();
  channels_.clear();
  sessions_.clear();
  sessionPlayers_.clear();
  events->push_back(SResultEvent{request, code});
}

}  // namespace lobbyd
